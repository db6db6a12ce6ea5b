#pragma once
// Normal-height datums PL-KRON86-NH, PL-KRON2006-NH, PL-EVRF2007-NH and the
// quasigeoid, all read from the correction grid (either computation method).
//
// B, L: decimal degrees, only locate the point in the grid (49°–55° N,
// 14°–24.2° E where layer 7 is nonzero). H: normal height, m. Results in m.
// With a nonzero status on entry the result is 0 and the grid is not read; a
// point refused by the grid raises the status and the result has no meaning.
#include "core/point_status.h"

namespace kolvedir {

// H(PL-KRON2006-NH) = H(PL-KRON86-NH) − 0.00495 + 0.00001·layer 2.
double Kron86ToKron2006(double B, double L, double H, PointStatus& status);
// H(PL-KRON86-NH) = H(PL-KRON2006-NH) + 0.00495 − 0.00001·layer 2.
double Kron2006ToKron86(double B, double L, double H, PointStatus& status);
// H(PL-EVRF2007-NH) = H(PL-KRON2006-NH) + 0.17084 + 0.00001·layer 3.
double Kron2006ToEvrf2007(double B, double L, double H, PointStatus& status);
// H(PL-KRON2006-NH) = H(PL-EVRF2007-NH) − 0.17084 − 0.00001·layer 3.
double Evrf2007ToKron2006(double B, double L, double H, PointStatus& status);

// Height anomaly ζ in PL-ETRF2000 (ellipsoidal height minus PL-KRON86-NH
// normal height), m: 0.0001·layer 1.
double QuasigeoidAnomaly(double B, double L, PointStatus& status);
// The anomaly in PL-ETRF89, m: the quasigeoid point (B, L, ζ) of PL-ETRF2000
// carried into PL-ETRF89 by the Cartesian similarity transformation; its new
// ellipsoidal height. May pass on a status of CartesianToGeodetic.
double QuasigeoidAnomalyEtrf89(double B, double L, PointStatus& status);

}  // namespace kolvedir
