#include "core/gauss_kruger.h"

#include <cmath>
#include <numbers>

#include "core/gauss_kruger_lanes.h"
#include "core/lane_kernels.h"
#include "core/point_groups.h"

namespace kolvedir {

namespace {

bool AllFinite(std::initializer_list<double> values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

KrugerZoneConstants ConstantsOf(const GaussKrugerZone& zone) {
  const Ellipsoid& el = *zone.ellipsoid;
  return {zone.L0, zone.m0, zone.FE,         zone.FN,        el.R,
          el.e,    el.a,    el.alpha.data(), el.beta.data(), el.delta.data()};
}

}  // namespace

GaussKrugerSeries GaussKrugerForwardSeries(double B, double L, double L0,
                                           const KrugerCoefficients& alpha, double R, double e,
                                           double a) {
  const SeriesLanes<double> s =
      ForwardSeriesLanes<double, ScalarMaths>(B, L, L0, alpha.data(), R, e, a);
  return {s.xi, s.eta, s.p, s.q, s.kSquared, s.convergenceNumerator, s.convergenceDenominator};
}

void GaussKrugerForward(double B, double L, double L0, const KrugerCoefficients& alpha,
                        double R, double e, double a, double m0, double FE, double FN,
                        double& x, double& y, double& distortion, double& convergence,
                        PointStatus& status) {
  if (status != 0) return;
  const ForwardLanes<double> r =
      ForwardProjectionLanes<double, ScalarMaths>(B, L, L0, alpha.data(), R, e, a, m0, FE, FN);
  if (!AllFinite({r.x, r.y, r.distortion, r.convergence})) {
    status = kStatusNotFinite;
    return;
  }
  x = r.x;
  y = r.y;
  distortion = r.distortion;
  convergence = r.convergence;
}

namespace {

// Past a quarter meridian the series wraps round to a position that has
// nothing to do with the point.
void SetInverseResult(double BOut, double LOut, double xi, double& B, double& L,
                      PointStatus& status) {
  if (!AllFinite({BOut, LOut})) {
    status = kStatusNotFinite;
    return;
  }
  if (std::fabs(xi) > std::numbers::pi / 2) {
    status = kStatusBeyondPole;
    return;
  }
  B = BOut;
  L = LOut;
}

}  // namespace

void GaussKrugerInverse(double x, double y, double L0, const KrugerCoefficients& beta,
                        const KrugerCoefficients& delta, double R, double m0, double FE, double FN,
                        double& B, double& L, PointStatus& status) {
  if (status != 0) return;
  const InverseLanes<double> r = InverseProjectionLanes<double, ScalarMaths>(
      x, y, L0, beta.data(), delta.data(), R, m0, FE, FN);
  SetInverseResult(r.B, r.L, r.xi, B, L, status);
}

void ZoneForwardPoints(const GaussKrugerZone& zone, std::span<const double> B,
                       std::span<const double> L, std::span<double> x, std::span<double> y,
                       std::span<double> distortion, std::span<double> convergence,
                       std::span<PointStatus> status) {
  const KrugerZoneConstants constants = ConstantsOf(zone);
  const auto forward = LaneKernelsOfThisProcessor().forward;
  ForEachActiveGroup(status, [&](const std::size_t* index, std::size_t n) {
    double b[kPointsAtOnce], l[kPointsAtOnce], xs[kPointsAtOnce], ys[kPointsAtOnce];
    double ds[kPointsAtOnce], cs[kPointsAtOnce];
    for (std::size_t k = 0; k < n; ++k) {
      b[k] = B[index[k]];
      l[k] = L[index[k]];
    }
    forward(constants, b, l, n, xs, ys, ds, cs);
    for (std::size_t k = 0; k < n; ++k) {
      const std::size_t i = index[k];
      if (!AllFinite({xs[k], ys[k], ds[k], cs[k]})) {
        status[i] = kStatusNotFinite;
        continue;
      }
      x[i] = xs[k];
      y[i] = ys[k];
      distortion[i] = ds[k];
      convergence[i] = cs[k];
    }
  });
}

void ZoneInversePoints(const GaussKrugerZone& zone, std::span<const double> x,
                       std::span<const double> y, std::span<double> B, std::span<double> L,
                       std::span<PointStatus> status) {
  const KrugerZoneConstants constants = ConstantsOf(zone);
  const auto inverse = LaneKernelsOfThisProcessor().inverse;
  ForEachActiveGroup(status, [&](const std::size_t* index, std::size_t n) {
    double xs[kPointsAtOnce], ys[kPointsAtOnce], bs[kPointsAtOnce], ls[kPointsAtOnce];
    double xis[kPointsAtOnce];
    for (std::size_t k = 0; k < n; ++k) {
      xs[k] = x[index[k]];
      ys[k] = y[index[k]];
    }
    inverse(constants, xs, ys, n, bs, ls, xis);
    for (std::size_t k = 0; k < n; ++k) {
      const std::size_t i = index[k];
      SetInverseResult(bs[k], ls[k], xis[k], B[i], L[i], status[i]);
    }
  });
}

void ZoneForward(const std::optional<GaussKrugerZone>& zone, double B, double L, double& x,
                 double& y, double& distortion, double& convergence, PointStatus& status) {
  if (status != 0) return;
  if (!zone) {
    status = kStatusUndefinedZone;
    return;
  }
  ZoneForwardPoints(*zone, {&B, 1}, {&L, 1}, {&x, 1}, {&y, 1}, {&distortion, 1}, {&convergence, 1},
                    {&status, 1});
}

void ZoneInverse(const std::optional<GaussKrugerZone>& zone, double x, double y, double& B,
                 double& L, PointStatus& status) {
  if (status != 0) return;
  if (!zone) {
    status = kStatusUndefinedZone;
    return;
  }
  ZoneInversePoints(*zone, {&x, 1}, {&y, 1}, {&B, 1}, {&L, 1}, {&status, 1});
}

}  // namespace kolvedir
