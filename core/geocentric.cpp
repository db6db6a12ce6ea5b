#include "core/geocentric.h"

#include <cmath>
#include <numbers>

#include "core/ellipsoid.h"
#include "core/geocentric_lanes.h"
#include "core/lane_kernels.h"
#include "core/point_groups.h"

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

// Longitude in [0, 2π] from the quadrant of (X, Y); lambda0 = arcsin(|Y|/p).
double LongitudeFromQuadrant(double X, double Y, double lambda0) {
  constexpr double pi = std::numbers::pi;
  if (X <= 0 && Y > 0) return pi - lambda0;
  if (X < 0 && Y <= 0) return pi + lambda0;
  if (X >= 0 && Y < 0) return 2 * pi - lambda0;
  return lambda0;
}

}  // namespace

void CartesianToGeodeticPoints(std::span<const double> X, std::span<const double> Y,
                               std::span<const double> Z, int ellipsoid, std::span<double> B,
                               std::span<double> L, std::span<double> h,
                               std::span<PointStatus> status) {
  const Ellipsoid* el = ellipsoid == kGrs80        ? &kGrs80Ellipsoid
                        : ellipsoid == kKrassowsky ? &kKrassowskyEllipsoid
                                                   : nullptr;
  if (el == nullptr) {
    for (PointStatus& s : status)
      if (s == 0) s = kStatusBadEllipsoid;
    return;
  }
  const double e2 = 1.0 - (1.0 - el->f) * (1.0 - el->f);
  const auto geodetic = LaneKernelsOfThisProcessor().geodetic;
  ForEachActiveGroup(status, [&](const std::size_t* index, std::size_t n) {
    double xs[kPointsAtOnce], ys[kPointsAtOnce], zs[kPointsAtOnce], bs[kPointsAtOnce];
    double lambda0[kPointsAtOnce], hs[kPointsAtOnce], failure[kPointsAtOnce];
    for (std::size_t k = 0; k < n; ++k) {
      xs[k] = X[index[k]];
      ys[k] = Y[index[k]];
      zs[k] = Z[index[k]];
    }
    geodetic(xs, ys, zs, n, el->a, e2, bs, lambda0, hs, failure);
    for (std::size_t k = 0; k < n; ++k) {
      const std::size_t i = index[k];
      if (failure[k] != 0) {
        status[i] = static_cast<PointStatus>(failure[k]);
        continue;
      }
      B[i] = bs[k];
      L[i] = LongitudeFromQuadrant(xs[k], ys[k], lambda0[k]) * kRhoSeconds;
      h[i] = hs[k];
    }
  });
}

void CartesianToGeodetic(double X, double Y, double Z, int ellipsoid, double& B, double& L,
                         double& h, PointStatus& status) {
  if (status != 0) return;
  CartesianToGeodeticPoints({&X, 1}, {&Y, 1}, {&Z, 1}, ellipsoid, {&B, 1}, {&L, 1}, {&h, 1},
                            {&status, 1});
}

double EllipsoidalHeight(double p, double Z, double sinPhi, double cosPhi, double N, double e2) {
  return EllipsoidalHeightLanes<double, ScalarMaths>(p, Z, sinPhi, cosPhi, N, e2);
}

}  // namespace kolvedir
