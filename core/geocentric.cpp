#include "core/geocentric.h"

#include <cmath>
#include <numbers>

#include "core/ellipsoid.h"

namespace kolvedir {

// Standard closed form (e.g. Torge & Müller, Geodesy, 4th ed., eq. 4.8).
void GeodeticToCartesian(double a, double e2, double B, double L, double h,
                         double& X, double& Y, double& Z, PointStatus& status) {
  if (status != 0) return;
  const double phi = B * kSecondsToRadians;
  const double lambda = L * kSecondsToRadians;
  const double sinPhi = std::sin(phi);
  const double N = a / std::sqrt(1.0 - e2 * sinPhi * sinPhi);
  X = (N + h) * std::cos(phi) * std::cos(lambda);
  Y = (N + h) * std::cos(phi) * std::sin(lambda);
  Z = ((1.0 - e2) * N + h) * sinPhi;
}

namespace {

constexpr int kIterationLimit = 20;      // the counter reaching 20 fails: 19 iterations at most
constexpr double kStepLimitMetres = 5e-6;
constexpr double kPolarAxisMetres = 1e-8;
constexpr double kLatitudeMargin = 1e-9;  // radians (2e-4″)

// Longitude in [0, 2π] from the quadrant of (X, Y); λ0 = arcsin(|Y|/p).
double LongitudeFromQuadrant(double X, double Y, double p) {
  constexpr double pi = std::numbers::pi;
  const double lambda0 = p > kPolarAxisMetres ? std::asin(std::fabs(Y) / p) : 0.0;
  if (X <= 0 && Y > 0) return pi - lambda0;
  if (X < 0 && Y <= 0) return pi + lambda0;
  if (X >= 0 && Y < 0) return 2 * pi - lambda0;
  return lambda0;
}

}  // namespace

// Newton iteration on F(φ) = Z·cos φ − p·sin φ + N·e²·sin φ·cos φ, started at
// the geocentric latitude. The derivative's bracket is divided by
// (1 − e²·sin²φ) as the program always did: this only changes the speed of
// convergence, not the root.
void CartesianToGeodetic(double X, double Y, double Z, int ellipsoid,
                         double& B, double& L, double& h, PointStatus& status) {
  if (status != 0) return;
  double a = 0, f = 0;
  if (ellipsoid == kGrs80) {
    a = kGrs80Ellipsoid.a;
    f = kGrs80Ellipsoid.f;
  } else if (ellipsoid == kKrassowsky) {
    a = kKrassowskyEllipsoid.a;
    f = kKrassowskyEllipsoid.f;
  } else {
    status = kStatusBadEllipsoid;
    return;
  }
  const double e2 = 1.0 - (1.0 - f) * (1.0 - f);
  const double p = std::sqrt(X * X + Y * Y);
  const double r = std::sqrt(X * X + Y * Y + Z * Z);
  if (r == 0.0) {
    status = kStatusGeocentre;
    return;
  }
  double phi = std::acos(p / r);
  if (Z < 0) phi = -phi;

  for (int iteration = 1;; ++iteration) {
    if (iteration >= kIterationLimit) {
      status = kStatusNoConvergence;
      return;
    }
    const double phi0 = phi;
    const double s = std::sin(phi0), c = std::cos(phi0);
    const double w = 1.0 - e2 * s * s;
    const double N = a / std::sqrt(w);
    const double F = Z * c - p * s + N * e2 * s * c;
    const double D = -Z * s - p * c + N * e2 * (c * c - s * s + e2 * s * s * c * c) / w;
    phi = phi0 - F / D;
    // A NaN step compares false and keeps iterating until the limit.
    if (std::fabs(phi - phi0) * N <= kStepLimitMetres) break;
  }
  // Near the geocentre (inside the evolute of the meridian ellipse, tens of
  // kilometres across) the iteration can settle on a root far outside ±90°;
  // that is no latitude, and counts as not converged. A rounding step past the
  // pole stays well inside the margin.
  if (!(std::fabs(phi) <= std::numbers::pi / 2 + kLatitudeMargin)) {
    status = kStatusNoConvergence;
    return;
  }

  const double s = std::sin(phi), c = std::cos(phi);
  const double N = a / std::sqrt(1.0 - e2 * s * s);
  B = phi * kRhoSeconds;
  L = LongitudeFromQuadrant(X, Y, p) * kRhoSeconds;
  h = EllipsoidalHeight(p, Z, s, c, N, e2);
}

double EllipsoidalHeight(double p, double Z, double sinPhi, double cosPhi, double N, double e2) {
  return std::fabs(cosPhi) > std::fabs(sinPhi) ? p / cosPhi - N : Z / sinPhi - N * (1.0 - e2);
}

}  // namespace kolvedir
