// Ellipsoids: ellipsoid constants, angle units and Krüger coefficient sets.
#include "core/ellipsoid.h"

#include <gtest/gtest.h>

#include "core/gauss_kruger.h"
#include "core_test_support.h"

namespace kolvedir::test {
namespace {

TEST(Ellipsoid, DerivedConstantsAndUnits) {
  const struct {
    const char* what;
    double actual;
    Expected expected;  // reference table of ellipsoids and angle units
  } table[] = {
      {"GRS80 e² = e·e", kGrs80Ellipsoid.e2, Printed("0.0066943800229007835")},
      {"Krassowsky e² = e·e", kKrassowskyEllipsoid.e2, Printed("0.006693421622965978")},
      {"Krassowsky b = (1 − f)·a, m", kKrassowskyEllipsoid.b, Printed("6356863.018773047")},
      {"1/ρ″, rad per arc-second", kSecondsToRadians, {4.84813681109536e-06, 5e-21}},
      {"one radian of convergence, grads", 1.0 * kRadiansToGrads, {63.6619772, 0}},
      {"52° as passed to the core, arc-seconds", Deg(52), {187200, 0}},
  };
  for (const auto& f : table) EXPECT_FIGURE(f.actual, f.expected, f.what);
}

// The stored e agrees with f (e² = f(2 − f)), the stored Krüger sets and R with
// the fourth-order formulas in n = f/(2 − f), within one unit in their last
// printed (15th significant) digit.
TEST(Ellipsoid, StoredSeriesAgreeWithTheFormulas) {
  for (const Ellipsoid* el : {&kGrs80Ellipsoid, &kKrassowskyEllipsoid}) {
    const double f = el->f, n = f / (2 - f), n2 = n * n, n3 = n2 * n, n4 = n3 * n;
    const double formulas[3][4] = {
        {n / 2 - 2 * n2 / 3 + 5 * n3 / 16 + 41 * n4 / 180,
         13 * n2 / 48 - 3 * n3 / 5 + 557 * n4 / 1440, 61 * n3 / 240 - 103 * n4 / 140,
         49561 * n4 / 161280},
        {-(n / 2 - 2 * n2 / 3 + 37 * n3 / 96 - n4 / 360), -(n2 / 48 + n3 / 15 - 437 * n4 / 1440),
         -(17 * n3 / 480 - 37 * n4 / 840), -(4397 * n4 / 161280)},
        {2 * n - 2 * n2 / 3 - 2 * n3 + 116 * n4 / 45, 7 * n2 / 3 - 8 * n3 / 5 - 227 * n4 / 45,
         56 * n3 / 15 - 136 * n4 / 35, 4279 * n4 / 630}};
    const KrugerCoefficients* stored[3] = {&el->alpha, &el->beta, &el->delta};
    for (int set = 0; set < 3; ++set) {
      for (int j = 1; j <= 4; ++j) {
        const double formula = formulas[set][j - 1];
        EXPECT_NEAR((*stored[set])[j], formula, 4e-15 * std::fabs(formula)) << set << ", " << j;
      }
    }
    EXPECT_NEAR(el->R, el->a / (1 + n) * (1 + n2 / 4 + n4 / 64), 4e-15 * el->R);
    EXPECT_NEAR(el->e2, f * (2 - f), 4e-15 * el->e2);
  }
}

// Ellipsoids: scale m = 1 reports 0 cm/km and m0 = 0.9993 reports −70 (on the
// central meridian the point scale is m0).
TEST(Ellipsoid, ScaleDistortionUnit) {
  const Ellipsoid& g = kGrs80Ellipsoid;
  for (const auto& [m0, expected] : {std::pair{1.0, 0.0}, {0.9993, -70.0}}) {
    double x, y, distortion = 1, convergence = 1;
    PointStatus status = 0;
    GaussKrugerForward(Deg(52), Deg(19), 19, g.alpha, g.R, g.e, g.a, m0, 0, 0, x, y, distortion,
                       convergence, status);
    EXPECT_NEAR(distortion, expected, 1e-7) << "cm/km, m0 = " << m0;
    EXPECT_EQ(convergence, 0.0);
  }
}

}  // namespace
}  // namespace kolvedir::test
