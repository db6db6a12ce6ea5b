#pragma once
// The "1965" plane system (zones 1 to 5) and the TARVO80 grid (zone 0) on the
// Krassowsky ellipsoid. Zones 0 to 4 are quasi-stereographic: Gauss–Krüger with
// unit scale, then a conformal complex tangent series about the zone centre.
// Zone 5 is a plain Gauss–Krüger zone.
#include <array>
#include <complex>

#include "core/point_status.h"

namespace kolvedir {

// Nine coefficients c0..c8 of z¹..z⁹.
using ComplexSeriesRow = std::array<double, 9>;

// Taylor series of tan z and of arctan z to the ninth power.
inline constexpr ComplexSeriesRow kTangentSeries{1.0, 0.0, 1.0 / 3.0, 0.0, 2.0 / 15.0,
                                                 0.0, 17.0 / 315.0, 0.0, 62.0 / 2835.0};
inline constexpr ComplexSeriesRow kArctangentSeries{1.0, 0.0, -1.0 / 3.0, 0.0, 1.0 / 5.0,
                                                    0.0, -1.0 / 7.0, 0.0, 1.0 / 9.0};

// Σ_{k=0..8} c_k·z^{k+1}, powers by repeated complex multiplication.
std::complex<double> ComplexTanSeries(std::complex<double> z, const ComplexSeriesRow& c);

// Direction of System1965Transform; the values are its direction codes.
enum class Direction1965 : int {
  kForward = 1,  // B, L → x, y
  kInverse = 2,  // x, y → B, L
};

// kForward reads B, L (arc-seconds, Pulkovo'42) and writes x, y (m),
// distortion (cm/km) and convergence (grads); kInverse reads x, y and writes
// B, L. zone: 0 = TARVO80, 1..5 = the 1965 zones. Another zone or direction
// sets kStatusUndefinedZone and writes nothing.
void System1965Transform(Direction1965 direction, int zone, double& B, double& L, double& x,
                         double& y, double& distortion, double& convergence, PointStatus& status);

}  // namespace kolvedir
