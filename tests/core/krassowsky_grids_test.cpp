// Krassowsky grids: the "1942" grids and the 1942/83 polynomials.
#include "core/krassowsky_grids.h"

#include <gtest/gtest.h>

#include "core_test_support.h"

namespace kolvedir::test {
namespace {

TEST(Grid1942, StripWidthChangesOnlyTheFalseEasting) {
  // Krassowsky grids worked example 1: zone 21 in 3° and 6° strips (FE 7500000 against
  // 4500000); m0 = 1 gives a scale distortion of 0 on the central meridian.
  double x3, y3, d3, c3, x6, y6, d6, c6;
  PointStatus status = 0;
  Grid1942Forward(Deg(52), Deg(22.5), 21, 3, x3, y3, d3, c3, status);
  Grid1942Forward(Deg(52), Deg(22.5), 21, 6, x6, y6, d6, c6, status);
  EXPECT_EQ(x3, x6);
  EXPECT_NEAR(y3 - y6, 3000000, 1e-8) << "m";
  for (const int strip : {3, 6}) {
    Grid1942Forward(Deg(52), Deg(21), 21, strip, x3, y3, d3, c3, status);
    EXPECT_EQ(y3, strip == 3 ? 7500000 : 4500000);
    EXPECT_NEAR(d3, 0, 1e-7) << "cm/km";
  }
  EXPECT_EQ(status, 0);
}

TEST(Polynomial4283, Figures) {
  const struct {
    const char* source;
    void (*operation)(double, double, double&, double&, PointStatus&);
    double B, L;      // arc-seconds
    Expected dB, dL;  // change of B and L, arc-seconds
  } table[] = {
      {"Krassowsky grids worked example 2, 1942/83 → 1942", Bl4283ToBl42, Deg(52), Deg(19),
       Printed("-0.0133573"), Printed("-0.0232601")},
      {"Krassowsky grids worked example 2, 1942 → 1942/83", Bl42ToBl4283, Deg(52), Deg(19),
       Printed("0.0133573"), Printed("0.0232600")},
      {"Krassowsky grids worked example 3, 1942/83 → 1942", Bl4283ToBl42, Deg(51), Deg(17),
       Printed("-0.0110860"), Printed("-0.0423914")},
  };
  for (const auto& f : table) {
    double B, L;
    PointStatus status = 0;
    f.operation(f.B, f.L, B, L, status);
    EXPECT_FIGURE(B - f.B, f.dB, f.source) << ": ΔB, arc-seconds";
    EXPECT_FIGURE(L - f.L, f.dL, f.source) << ": ΔL, arc-seconds";
  }
}

}  // namespace
}  // namespace kolvedir::test
