#pragma once
// Gauss–Krüger (transverse Mercator) projection in Krüger's series form, the
// one projection behind every plane grid of the program.
#include <optional>
#include <span>

#include "core/ellipsoid.h"
#include "core/point_status.h"

namespace kolvedir {

// Parameters of one Gauss–Krüger zone.
struct GaussKrugerZone {
  const Ellipsoid* ellipsoid;  // supplies e, a, R and the alpha, beta, delta sets
  double L0;                   // central meridian, degrees
  double m0;                   // scale factor on the central meridian
  double FE;                   // false easting added to y, m
  double FN;                   // northing offset subtracted from x, m
};

// Forward projection B, L → x, y.
//   B, L: arc-seconds; meant for |L − 3600·L0| well below 90°.
//   L0: degrees. alpha: Krüger forward set; R: rectifying radius, m; e: first
//   eccentricity; a: semi-major axis, m; m0: scale factor; FE, FN: metres.
//   x: northing, m; y: easting, m; distortion: (m − 1)·100000, cm/km;
//   convergence: grads (negative west of the central meridian).
// Sets kStatusNotFinite, writing nothing, when an input or result is not finite.
void GaussKrugerForward(double B, double L, double L0, const KrugerCoefficients& alpha,
                        double R, double e, double a, double m0, double FE, double FN,
                        double& x, double& y, double& distortion, double& convergence,
                        PointStatus& status);

// The unit-scale forward projection before its offsets, for callers that
// compose it with a further conformal mapping (the 1965 zones):
//   xi, eta: ξ, η of the Krüger series (x = R·ξ·m0 − FN, y = R·η·m0 + FE);
//   p, q: the series derivative (scale of the series √(p² + q²));
//   kSquared: square of the sphere-to-ellipsoid scale k (point scale
//   √((p² + q²)·k²)·m0);
//   convergence (radians) = arctan(convergenceNumerator / convergenceDenominator).
// Writes no status: callers check their results for finiteness.
struct GaussKrugerSeries {
  double xi, eta, p, q, kSquared;
  double convergenceNumerator, convergenceDenominator;
};
GaussKrugerSeries GaussKrugerForwardSeries(double B, double L, double L0,
                                           const KrugerCoefficients& alpha, double R, double e,
                                           double a);

// Inverse projection x, y → B, L.
//   x: northing, m; y: easting, m; L0: degrees; beta, delta: Krüger inverse and
//   latitude sets; R: rectifying radius, m; m0: scale factor; FE, FN: metres.
//   B, L: arc-seconds.
// Sets kStatusNotFinite, writing nothing, when an input or result is not
// finite, and kStatusBeyondPole when x + FN lies beyond the pole (more than
// m0·R·π/2 from the equator).
void GaussKrugerInverse(double x, double y, double L0, const KrugerCoefficients& beta,
                        const KrugerCoefficients& delta, double R, double m0, double FE,
                        double FN, double& B, double& L, PointStatus& status);

// The two operations above with the parameters of one zone of a grid table,
// computed as ZoneForwardPoints and ZoneInversePoints below compute them (the
// vector maths library, whose results may differ from <cmath>'s in the last
// place of a double); an empty zone (one the table does not define) sets
// kStatusUndefinedZone.
void ZoneForward(const std::optional<GaussKrugerZone>& zone, double B, double L, double& x,
                 double& y, double& distortion, double& convergence, PointStatus& status);
void ZoneInverse(const std::optional<GaussKrugerZone>& zone, double x, double y, double& B,
                 double& L, PointStatus& status);

// ZoneForward and ZoneInverse over arrays of points (spans of one length), the
// vector maths library computing several points at once. Points whose status
// is not zero are skipped, their outputs untouched; every other point gets
// exactly what the single-point function gives it (that function is this one
// over one point), whatever its neighbours. Units and statuses as there.
void ZoneForwardPoints(const GaussKrugerZone& zone, std::span<const double> B,
                       std::span<const double> L, std::span<double> x, std::span<double> y,
                       std::span<double> distortion, std::span<double> convergence,
                       std::span<PointStatus> status);
void ZoneInversePoints(const GaussKrugerZone& zone, std::span<const double> x,
                       std::span<const double> y, std::span<double> B, std::span<double> L,
                       std::span<PointStatus> status);

// The grids whose false easting carries the zone number in its millions
// (FE = zone digit·1e6 + 500 km) tell a point's zone from its easting alone.
// zoneOf: the grid's table, central meridian (degrees) → zone or nothing.
// y: easting, m. Gives the central meridian among 15, 18, 21, 24, 27 whose
// band FE − 500 km ≤ y < FE + 500 km holds y, or 0 when none does (also for
// a NaN).
template <class ZoneTable>
int ZoneOfEasting(ZoneTable zoneOf, double y) {
  for (const int centralMeridian : {15, 18, 21, 24, 27}) {
    const std::optional<GaussKrugerZone> zone = zoneOf(centralMeridian);
    if (zone && y >= zone->FE - 500000.0 && y < zone->FE + 500000.0) return centralMeridian;
  }
  return 0;
}

}  // namespace kolvedir
