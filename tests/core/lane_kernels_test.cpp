// The kernels of both instruction sets against the same formulas over <cmath>:
// the two-lane kernels run here even on a processor that would choose the
// four-lane ones, and counts that leave lanes over are covered.
#include "core/lane_kernels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/ellipsoid.h"
#include "core/gauss_kruger_lanes.h"
#include "core/geocentric.h"
#include "core/geocentric_lanes.h"
#include "core_test_support.h"

namespace kolvedir::test {
namespace {

TEST(LaneKernels, BothInstructionSetsAgreeWithCmath) {
  const struct {
    const char* name;
    const LaneKernels* kernels;
  } table[] = {{"SSE2, two lanes", &kSse2Kernels}, {"AVX2, four lanes", &kAvx2Kernels}};
  const Ellipsoid& el = kGrs80Ellipsoid;
  const KrugerZoneConstants zone{
      18, 0.999923, 6500000, 0, el.R, el.e, el.a, el.alpha.data(), el.beta.data(), el.delta.data()};
  // 131 points (a count no lane width divides) over 49°–55° N, 14°–24° E, 0–2000 m.
  std::vector<double> B, L, h;
  for (int k = 0; k < 131; ++k) {
    B.push_back(Deg(49 + 6.0 * k / 130));
    L.push_back(Deg(14 + 10.0 * ((k * 37) % 131) / 130));
    h.push_back(15.0 * k);
  }
  const std::size_t n = B.size();
  __builtin_cpu_init();
  for (const auto& [name, kernels] : table) {
    if (kernels == &kAvx2Kernels && !__builtin_cpu_supports("avx2")) continue;
    std::vector<double> x(n), y(n), d(n), c(n), B2(n), L2(n), xi(n);
    kernels->forward(zone, B.data(), L.data(), n, x.data(), y.data(), d.data(), c.data());
    kernels->inverse(zone, x.data(), y.data(), n, B2.data(), L2.data(), xi.data());
    std::vector<double> X(n), Y(n), Z(n), B3(n), lambda0(n), h3(n), failure(n);
    for (std::size_t i = 0; i < n; ++i) {
      PointStatus s = 0;
      GeodeticToCartesian(el.a, el.e2, B[i], L[i], h[i], X[i], Y[i], Z[i], s);
    }
    kernels->geodetic(X.data(), Y.data(), Z.data(), n, el.a, el.e2, B3.data(), lambda0.data(),
                      h3.data(), failure.data());
    for (std::size_t i = 0; i < n; ++i) {
      const auto f = ForwardProjectionLanes<double, ScalarMaths>(
          B[i], L[i], zone.L0, zone.alpha, zone.R, zone.e, zone.a, zone.m0, zone.FE, zone.FN);
      const auto g = InverseProjectionLanes<double, ScalarMaths>(
          x[i], y[i], zone.L0, zone.beta, zone.delta, zone.R, zone.m0, zone.FE, zone.FN);
      const auto p = GeodeticOfCartesianLanes<double, ScalarMaths>(X[i], Y[i], Z[i], el.a, el.e2);
      EXPECT_NEAR(x[i], f.x, 1e-8) << name << " point " << i << ": x, m";
      EXPECT_NEAR(y[i], f.y, 1e-8) << name << " point " << i << ": y, m";
      EXPECT_NEAR(d[i], f.distortion, 1e-9) << name << " point " << i << ": cm/km";
      EXPECT_NEAR(c[i], f.convergence, 1e-12) << name << " point " << i << ": grads";
      EXPECT_NEAR(B2[i], g.B, 3e-10) << name << " point " << i << ": B, arc-seconds";
      EXPECT_NEAR(L2[i], g.L, 3e-10) << name << " point " << i << ": L, arc-seconds";
      EXPECT_NEAR(B3[i], p.B, 3e-10) << name << " point " << i << ": geodetic B, arc-seconds";
      EXPECT_NEAR(lambda0[i], p.lambda0, 1e-15) << name << " point " << i << ": rad";
      EXPECT_NEAR(h3[i], p.h, 1e-8) << name << " point " << i << ": h, m";
      EXPECT_EQ(failure[i], p.failure) << name << " point " << i;
    }
  }
}

// An unusual point among ordinary ones at every lane position (five points:
// every lane of a full group of four and of two, and a group of one) ends as
// it ends alone, and so do its neighbours: the lanes stop one by one and no
// lane stops the others. The iteration counts were found by the same
// iteration over <cmath>, and hold with sines and cosines a few units in
// their last place off.
TEST(LaneKernels, UnusualPointsAtEveryLaneEndAsAlone) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Ellipsoid& el = kGrs80Ellipsoid;
  const struct {
    const char* what;
    double X, Y, Z;  // m
    PointStatus failure;
    double toleranceB;  // arc-seconds, against the one-point iteration over <cmath>
  } table[] = {
      {"geocentre", 0, 0, 0, kStatusGeocentre, 0},
      {"NaN", nan, 1175927.9611, 4933544.6201, kStatusNoConvergence, 0},
      {"on the polar axis", 0, 0, -6356852.3, 0, 3e-10},
      {"300 km from the geocentre", 200000, -100000, 200000, 0, 3e-10},
      // Near the evolute of the meridian, where Newton's steps shrink slowly
      // and the last place of a sine shows more (the stop rule's 5 µm is 2e-7″).
      {"stops at the 19th step, the last allowed", 29772.784, 0, 4230.725, 0, 1e-8},
      {"needs a 20th step", 28391.787, 0, 4979.322, kStatusNoConvergence, 0},
  };
  const struct {
    const char* name;
    const LaneKernels* kernels;
  } sets[] = {{"SSE2", &kSse2Kernels}, {"AVX2", &kAvx2Kernels}};
  constexpr std::size_t n = 5;
  __builtin_cpu_init();
  for (const auto& [name, kernels] : sets) {
    if (kernels == &kAvx2Kernels && !__builtin_cpu_supports("avx2")) continue;
    for (const auto& c : table) {
      for (std::size_t at = 0; at < n; ++at) {
        SCOPED_TRACE(std::string(name) + ", " + c.what + " at " + std::to_string(at));
        std::vector<double> X(n), Y(n), Z(n);
        for (std::size_t i = 0; i < n; ++i) {
          PointStatus s = 0;
          GeodeticToCartesian(el.a, el.e2, Deg(49.5 + i), Deg(15 + 2 * i), 100.0 * i, X[i], Y[i],
                              Z[i], s);
        }
        X[at] = c.X, Y[at] = c.Y, Z[at] = c.Z;
        std::vector<double> B(n), lambda0(n), h(n), failure(n);
        kernels->geodetic(X.data(), Y.data(), Z.data(), n, el.a, el.e2, B.data(), lambda0.data(),
                          h.data(), failure.data());
        EXPECT_EQ(failure[at], c.failure);
        for (std::size_t i = 0; i < n; ++i) {
          const auto alone =
              GeodeticOfCartesianLanes<double, ScalarMaths>(X[i], Y[i], Z[i], el.a, el.e2);
          EXPECT_EQ(failure[i], alone.failure) << "point " << i;
          if (failure[i] != 0 || alone.failure != 0) continue;
          EXPECT_NEAR(B[i], alone.B, i == at ? c.toleranceB : 3e-10) << "point " << i << ": ″";
          EXPECT_NEAR(lambda0[i], alone.lambda0, 1e-15) << "point " << i << ": rad";
          EXPECT_NEAR(h[i], alone.h, 1e-8) << "point " << i << ": m";
        }
      }
    }
  }
}

}  // namespace
}  // namespace kolvedir::test
