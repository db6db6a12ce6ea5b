#pragma once
// Datum transformation between PL-ETRF89 (GRS80) and Pulkovo'42 (Krassowsky):
// a twelve-constant affine transformation of geocentric coordinates per direction.
#include <span>

#include "core/point_status.h"

namespace kolvedir {

// PL-ETRF89 Cartesian → Pulkovo'42 Cartesian. All coordinates in metres. Never fails.
void Etrf89ToPulkovoXyz(double X, double Y, double Z, double& XOut, double& YOut, double& ZOut,
                        PointStatus& status);
// Pulkovo'42 Cartesian → PL-ETRF89 Cartesian. All coordinates in metres. Never fails.
void PulkovoToEtrf89Xyz(double X, double Y, double Z, double& XOut, double& YOut, double& ZOut,
                        PointStatus& status);

inline constexpr int kEtrf89ToPulkovo = 1;
inline constexpr int kPulkovoToEtrf89 = 2;

// Geodetic coordinates through Cartesian space: B, L in arc-seconds, h in metres,
// in and out. direction 1: PL-ETRF89 (GRS80) → Pulkovo'42 (Krassowsky);
// direction 2: back. Another direction does nothing and sets no status.
// Passes on status 1 or 2 of CartesianToGeodetic; outputs are then untouched.
void TransformBlhDatum(double B, double L, double h, int direction, double& BOut, double& LOut,
                       double& hOut, PointStatus& status);
// TransformBlhDatum over arrays of points (spans of one length), their
// Cartesian → geodetic step several points at a time: points whose status is
// not zero are skipped, every other one gets exactly what TransformBlhDatum
// gives it.
void TransformBlhDatumPoints(std::span<const double> B, std::span<const double> L,
                             std::span<const double> h, int direction, std::span<double> BOut,
                             std::span<double> LOut, std::span<double> hOut,
                             std::span<PointStatus> status);

}  // namespace kolvedir
