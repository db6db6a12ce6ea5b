// Datum transformation PL-ETRF89 – Pulkovo'42 at its check points.
#include "core/datum.h"

#include <gtest/gtest.h>

#include "core_test_support.h"

namespace kolvedir::test {
namespace {

TEST(Datum, CartesianFigure) {
  // PL-ETRF89 B = 51°, L = 17°, h = 0, given by its Cartesian figure.
  double X, Y, Z;
  PointStatus status = 0;
  Etrf89ToPulkovoXyz(3846287.0508, 1175927.9611, 4933544.6201, X, Y, Z, status);
  EXPECT_FIGURE(X, Printed("3846262.9277"), "X′, m");
  EXPECT_FIGURE(Y, Printed("1176051.2157"), "Y′, m");
  EXPECT_FIGURE(Z, Printed("4933626.1142"), "Z′, m");
}

TEST(Datum, GeodeticFigures) {
  const struct {
    const char* source;
    int direction;
    double B, L, h;           // arc-seconds, m
    Expected BOut, LOut, hOut;  // arc-seconds, m
  } table[] = {
      {"PL-ETRF89 51° 17° to Pulkovo'42", 1, Deg(51), Deg(17), 0, Dms(51, 0, "01.247775"),
       Dms(17, 0, "06.406441"), Printed("-38.1366")},
      {"Pulkovo'42 52° 19° to PL-ETRF89", 2, Deg(52), Deg(19), 0, Dms(51, 59, "58.909977"),
       Dms(18, 59, "53.461532"), Printed("34.2870")},
      {"image of the PL-2000 check point to Pulkovo'42", 1, Dms(50, 59, "59.999553").value, Dms(17, 0, "00.000690").value,
       0.0677, Dms(51, 0, "01.247328"), Dms(17, 0, "06.407131"), Printed("-38.0689")},
  };
  for (const auto& f : table) {
    double B, L, h;
    PointStatus status = 0;
    TransformBlhDatum(f.B, f.L, f.h, f.direction, B, L, h, status);
    EXPECT_EQ(status, 0) << f.source;
    EXPECT_FIGURE(B, f.BOut, f.source) << ": B, arc-seconds";
    EXPECT_FIGURE(L, f.LOut, f.source) << ": L, arc-seconds";
    EXPECT_FIGURE(h, f.hOut, f.source) << ": h, m";
  }
}

TEST(Datum, OtherDirectionsDoNothing) {
  // Only directions 1 and 2 exist; any other leaves the outputs untouched.
  for (const int direction : {0, 3, -1}) {
    double B = 1, L = 2, h = 3;
    PointStatus status = 0;
    TransformBlhDatum(Deg(51), Deg(17), 0, direction, B, L, h, status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(B == 1 && L == 2 && h == 3) << "direction " << direction;
  }
}

}  // namespace
}  // namespace kolvedir::test
