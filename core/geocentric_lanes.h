#pragma once
// Cartesian → geodetic written once for a lane type V and its maths M
// (core/lane_maths.h), so that several points iterate at once.
#include <cstddef>
#include <numbers>

#include "core/ellipsoid.h"
#include "core/lane_kernels.h"
#include "core/lane_maths.h"
#include "core/point_status.h"

namespace kolvedir {
namespace {

constexpr int kIterationLimit = 20;  // the counter reaching 20 fails: 19 iterations at most
constexpr double kStepLimitMetres = 5e-6;
constexpr double kPolarAxisMetres = 1e-8;
constexpr double kLatitudeMargin = 1e-9;  // radians (2e-4″)

// The height rule at the final latitude; see EllipsoidalHeight in core/geocentric.h.
template <class V, class M>
V EllipsoidalHeightLanes(V p, V Z, V sinPhi, V cosPhi, V N, double e2) {
  return M::Select(M::Abs(cosPhi) > M::Abs(sinPhi), p / cosPhi - N, Z / sinPhi - N * (1.0 - e2));
}

template <class V>
struct GeodeticLanes {
  V B;        // latitude, arc-seconds
  V lambda0;  // arcsin(|Y|/p), radians (0 on the polar axis)
  V h;        // ellipsoidal height, m
  V failure;  // 0, or the status code of the lane's failure
};

// Newton iteration on F(φ) = Z·cos φ − p·sin φ + N·e²·sin φ·cos φ, started at
// the geocentric latitude. The derivative's bracket is divided by
// (1 − e²·sin²φ) as the program always did: this only changes the speed of
// convergence, not the root. Each lane stops at its own step: a lane done
// keeps its latitude while the others go on, so it ends as it would alone.
// a: semi-major axis, m; e2: squared first eccentricity.
template <class V, class M>
GeodeticLanes<V> GeodeticOfCartesianLanes(V X, V Y, V Z, double a, double e2) {
  const V p = M::Sqrt(X * X + Y * Y);
  const V r = M::Sqrt(X * X + Y * Y + Z * Z);
  const V phiStart = M::Acos(p / r);
  V phi = M::Select(Z < 0, -phiStart, phiStart);
  auto done = phi < phi;  // false in every lane
  for (int iteration = 1; iteration < kIterationLimit; ++iteration) {
    const V phi0 = phi;
    const V s = M::Sin(phi0), c = M::Cos(phi0);
    const V w = 1.0 - e2 * s * s;
    const V N = a / M::Sqrt(w);
    const V F = Z * c - p * s + N * e2 * s * c;
    const V D = -Z * s - p * c + N * e2 * (c * c - s * s + e2 * s * s * c * c) / w;
    const V next = phi0 - F / D;
    phi = M::Select(done, phi, next);
    // A NaN step compares false and keeps iterating until the limit.
    done = done || M::Abs(next - phi0) * N <= kStepLimitMetres;
    if (M::AllLanes(done)) break;
  }
  // Near the geocentre (inside the evolute of the meridian ellipse, tens of
  // kilometres across) the iteration can settle on a root far outside ±90°;
  // that is no latitude, and counts as not converged. A rounding step past the
  // pole stays well inside the margin.
  const auto inRange = M::Abs(phi) <= std::numbers::pi / 2 + kLatitudeMargin;
  const V s = M::Sin(phi), c = M::Cos(phi);
  const V N = a / M::Sqrt(1.0 - e2 * s * s);
  const V zero{}, noConvergence = zero + double(kStatusNoConvergence);
  return {phi * kRhoSeconds, M::Select(p > kPolarAxisMetres, M::Asin(M::Abs(Y) / p), zero),
          EllipsoidalHeightLanes<V, M>(p, Z, s, c, N, e2),
          M::Select(r == 0.0, zero + double(kStatusGeocentre),
                    M::Select(done && inRange, zero, noConvergence))};
}

// Points 0..n−1 of the arrays, as many at a time as V has lanes.
template <class V, class M>
void GeodeticPoints(const double* X, const double* Y, const double* Z, std::size_t n, double a,
                    double e2, double* B, double* lambda0, double* h, double* failure) {
  constexpr std::size_t W = kLaneCount<V>;
  for (std::size_t i = 0; i < n; i += W) {
    const std::size_t count = n - i < W ? n - i : W;
    const GeodeticLanes<V> r = GeodeticOfCartesianLanes<V, M>(
        LoadLanes<V>(X + i, count), LoadLanes<V>(Y + i, count), LoadLanes<V>(Z + i, count), a, e2);
    StoreLanes(r.B, B + i, count);
    StoreLanes(r.lambda0, lambda0 + i, count);
    StoreLanes(r.h, h + i, count);
    StoreLanes(r.failure, failure + i, count);
  }
}

}  // namespace
}  // namespace kolvedir
