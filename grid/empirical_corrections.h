#pragma once
// PL-ETRF89 (GRS80) ↔ Pulkovo'42 (Krassowsky) on geodetic coordinates.
//
// Theoretical method: the datum transformation alone. Empirical method: B and
// L from grid layers 7 and 8 (forward) or their inverse shift (back), h always
// from the datum transformation. A point refused by the grid is not passed to
// the datum transformation. With a nonzero status on entry nothing is written.
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

}  // namespace kolvedir
