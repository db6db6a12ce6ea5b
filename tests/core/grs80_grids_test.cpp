// GRS80 grids: PL-2000, PL-1992 and PL-UTM.
#include "core/grs80_grids.h"

#include <gtest/gtest.h>

#include "core_test_support.h"

namespace kolvedir::test {
namespace {

TEST(Grs80Grids, ForwardFigures) {
  const ForwardFigure table[] = {
      {"GRS80 grids worked example 2", "PL-2000 zone 18", Deg(51), Deg(17), Printed("5652126.5640"),
       Printed("6429808.4649"), Printed("-1.65234"), Printed("-0.8635305")},
      {"GRS80 grids worked example 3 (central meridian)", "PL-2000 zone 15", Deg(51), Deg(15),
       Printed("5651650.5118"), {5500000, 0}, Expected{-7.7, 1e-7}, Expected{0, 0}},
      {"GRS80 grids worked example 4 (central meridian)", "PL-1992", Deg(52), Deg(19),
       Printed("459309.2094"), {500000, 0}, Expected{-70, 1e-7}, Expected{0, 0}},
      {"GRS80 grids worked example 4", "PL-1992", Deg(51), Deg(17), Printed("350032.4855"),
       Printed("359708.8205"), Printed("-45.82529"), Printed("-1.7272711")},
      {"GRS80 grids worked example 5", "PL-UTM zone 15", Deg(51), Deg(17), Printed("5651728.6825"),
       Printed("3640333.2963"), std::nullopt, Printed("1.7272711")},
      {"GRS80 grids worked example 5", "PL-UTM zone 21", Deg(51), Deg(17), Printed("5657443.2781"),
       Printed("4219368.9454"), std::nullopt, std::nullopt},
  };
  for (const auto& f : table) ExpectForwardFigure(f);
}

TEST(Grs80Grids, InverseFigure) {
  // GRS80 grids worked example 1: the rounded PL-2000 point of edge case 2.
  double B, L;
  PointStatus status = 0;
  Pl2000Inverse(5652126.56, 6429808.46, 18, B, L, status);
  EXPECT_FIGURE(B, Dms(50, 59, "59.999869"), "B, arc-seconds");
  EXPECT_FIGURE(L, Dms(16, 59, "59.999753"), "L, arc-seconds");
  // Edge case 6: another zone gives a wrong position and no failure.
  Pl2000Inverse(5652126.56, 6429808.46, 21, B, L, status);
  EXPECT_EQ(status, 0);
  EXPECT_GT(std::fabs(L - Deg(17)), Deg(1));
}

}  // namespace
}  // namespace kolvedir::test
