// The kernels of both instruction sets against the same formulas over <cmath>:
// the two-lane kernels run here even on a processor that would choose the
// four-lane ones, and counts that leave lanes over are covered.
#include "core/lane_kernels.h"

#include <gtest/gtest.h>

#include <cmath>
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

}  // namespace
}  // namespace kolvedir::test
