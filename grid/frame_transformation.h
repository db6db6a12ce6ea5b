#pragma once
// PL-ETRF89 ↔ PL-ETRF2000 (both GRS80).
//
// Cartesian form: a linearised seven-parameter similarity transformation about
// a fixed centroid per direction. Geodetic form: theoretical method through
// Cartesian space, empirical method by grid layers 4, 5, 6 added to B, L, h.
// With a nonzero status on entry nothing is written.
#include <span>

#include "core/point_status.h"
#include "grid/computation_method.h"

namespace kolvedir {

// X, Y, Z geocentric, metres, any finite values; never fails.
void Etrf89ToEtrf2000Xyz(double X, double Y, double Z, double& XOut, double& YOut, double& ZOut,
                         PointStatus& status);
void Etrf2000ToEtrf89Xyz(double X, double Y, double Z, double& XOut, double& YOut, double& ZOut,
                         PointStatus& status);

// B, L: decimal degrees (B in [−90, 90]; empirical method: inside the grid);
// h: ellipsoidal height, m. BOut, LOut decimal degrees, hOut m.
// Theoretical method: may pass on a status of CartesianToGeodetic.
// Empirical method: a point refused by the grid raises the status and gives
// BOut, LOut, hOut equal to B, L, h.
void Etrf89ToEtrf2000Blh(double B, double L, double h, ComputationMethod method,
                         double& BOut, double& LOut, double& hOut, PointStatus& status);
// The reverse; the layers are read at the PL-ETRF2000 point itself.
void Etrf2000ToEtrf89Blh(double B, double L, double h, ComputationMethod method,
                         double& BOut, double& LOut, double& hOut, PointStatus& status);

// The two above over arrays of points (spans of one length), the theoretical
// method's Cartesian → geodetic step several points at a time: a point whose
// status is not zero is skipped, every other one gets exactly what the
// one-point function gives it (which is this over one point).
void Etrf89ToEtrf2000BlhPoints(std::span<const double> B, std::span<const double> L,
                               std::span<const double> h, ComputationMethod method,
                               std::span<double> BOut, std::span<double> LOut,
                               std::span<double> hOut, std::span<PointStatus> status);
void Etrf2000ToEtrf89BlhPoints(std::span<const double> B, std::span<const double> L,
                               std::span<const double> h, ComputationMethod method,
                               std::span<double> BOut, std::span<double> LOut,
                               std::span<double> hOut, std::span<PointStatus> status);

}  // namespace kolvedir
