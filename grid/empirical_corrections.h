#pragma once
// PL-ETRF89 (GRS80) ↔ Pulkovo'42 (Krassowsky) on geodetic coordinates.
//
// Theoretical method: the datum transformation alone. Empirical method: B and
// L from grid layers 7 and 8 (forward) or their inverse shift (back), h always
// from the datum transformation. A point refused by the grid is not passed to
// the datum transformation. With a nonzero status on entry nothing is written.
#include <span>

#include "core/point_status.h"
#include "grid/computation_method.h"

namespace kolvedir {

// B, L: PL-ETRF89 latitude and longitude, decimal degrees (empirical method:
// inside the grid, 49°–55° N, 14°–24.2° E where layer 7 is nonzero);
// h: ellipsoidal height, m. BOut, LOut: Pulkovo'42, decimal degrees; hOut, m.
void Etrf89ToPulkovoBlh(double B, double L, double h, ComputationMethod method,
                        double& BOut, double& LOut, double& hOut, PointStatus& status);

// The reverse: B, L in Pulkovo'42 (decimal degrees), h in m → PL-ETRF89.
void PulkovoToEtrf89Blh(double B, double L, double h, ComputationMethod method,
                        double& BOut, double& LOut, double& hOut, PointStatus& status);

// The two above over arrays of points (spans of one length), the datum
// transformation's Cartesian → geodetic step several points at a time: a
// point whose status is not zero is skipped, every other one gets exactly
// what the one-point function gives it (which is this over one point).
void Etrf89ToPulkovoBlhPoints(std::span<const double> B, std::span<const double> L,
                              std::span<const double> h, ComputationMethod method,
                              std::span<double> BOut, std::span<double> LOut,
                              std::span<double> hOut, std::span<PointStatus> status);
void PulkovoToEtrf89BlhPoints(std::span<const double> B, std::span<const double> L,
                              std::span<const double> h, ComputationMethod method,
                              std::span<double> BOut, std::span<double> LOut,
                              std::span<double> hOut, std::span<PointStatus> status);

}  // namespace kolvedir
