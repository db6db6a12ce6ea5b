// Gauss–Krüger: the generic Gauss–Krüger projection (GRS80 sets).
#include "core/gauss_kruger.h"

#include <gtest/gtest.h>

#include "core_test_support.h"

namespace kolvedir::test {
namespace {

TEST(GaussKruger, WorkedFigures) {
  const struct {
    const char* source;
    double L0, m0, FE, FN;  // degrees, —, m, m
    double B, L;            // arc-seconds
    Expected x, y, distortion, convergence;  // m, m, cm/km, grads
  } table[] = {
      {"Gauss–Krüger worked example 2", 18, 0.999923, 6500000, 0, Deg(51), Deg(17), Printed("5652126.5640"),
       Printed("6429808.4649"), Printed("-1.65234"), Printed("-0.8635305")},
      {"Gauss–Krüger worked example 3", 19, 1, 0, 0, Deg(52), Deg(21), Printed("5765232.9060"),
       Printed("137349.3056"), Printed("23.14991"), Printed("1.7514067")},
      {"Gauss–Krüger worked example 1 (central meridian)", 19, 0.9993, 500000, 5300000, Deg(52), Deg(19),
       Printed("459309.2094"), {500000, 0}, {-70, 1e-7}, {0, 0}},
  };
  const Ellipsoid& g = kGrs80Ellipsoid;
  for (const auto& f : table) {
    double x, y, distortion, convergence;
    PointStatus status = 0;
    GaussKrugerForward(f.B, f.L, f.L0, g.alpha, g.R, g.e, g.a, f.m0, f.FE, f.FN, x, y, distortion,
                       convergence, status);
    EXPECT_EQ(status, 0) << f.source;
    EXPECT_FIGURE(x, f.x, f.source) << ": x, m";
    EXPECT_FIGURE(y, f.y, f.source) << ": y, m";
    EXPECT_FIGURE(distortion, f.distortion, f.source) << ": cm/km";
    EXPECT_FIGURE(convergence, f.convergence, f.source) << ": grads";
  }
}

}  // namespace
}  // namespace kolvedir::test
