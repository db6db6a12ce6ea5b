// 1965 and TARVO80: the "1965" zones and TARVO80.
#include "core/system1965.h"

#include <gtest/gtest.h>

#include <complex>

#include "core_test_support.h"

namespace kolvedir::test {
namespace {

TEST(System1965, ForwardFigures) {
  const ForwardFigure table[] = {
      {"1965 and TARVO80 worked example 2", "1965 zone 1", Deg(50.5), Deg(22), Printed("5453499.2868"),
       Printed("4702024.0474"), Printed("-17.29255"), Printed("0.7866276")},
      {"1965 and TARVO80 worked example 3", "1965 zone 3", Deg(54), Deg(17.5), Printed("6045478.7804"),
       Printed("3533235.7463"), std::nullopt, std::nullopt},
      {"1965 and TARVO80 worked example 4", "TARVO80", Deg(52.5), Deg(19.5), Printed("537133.4728"),
       Printed("522630.7881"), std::nullopt, Printed("0.2931790")},
      {"1965 and TARVO80 worked example 5", "1965 zone 5", Deg(50.5), Deg(18.5), Printed("896567.5746"),
       Printed("204481.5830"), std::nullopt, Printed("-0.3929604")},
  };
  for (const auto& f : table) ExpectForwardFigure(f);
}

TEST(System1965, CentreMapsToTheZoneOrigin) {
  // 1965 and TARVO80 worked example 1; B0, L0, x0, y0 from the zone table.
  const struct {
    int zone;
    double B0, L0, x0, y0;  // arc-seconds, m
    Expected distortion;    // (m0 − 1)·100000, cm/km
  } table[] = {
      {0, 187800, Deg(19) + 600, 500000, 500000, Printed("-28.57143")},
      {1, 182250, Deg(21) + 300, 5467000, 4637000, {-20, 1e-7}},
      {2, 190807, Deg(21) + 1810, 5806000, 4603000, {-20, 1e-7}},
      {3, 192900, Deg(17) + 30, 5999000, 3501000, {-20, 1e-7}},
      {4, 186015, Deg(16) + 2420, 5627000, 3703000, {-20, 1e-7}},
  };
  for (const auto& c : table) {
    double B = c.B0, L = c.L0, x, y, distortion, convergence;
    PointStatus status = 0;
    System1965Transform(Direction1965::kForward, c.zone, B, L, x, y, distortion, convergence,
                        status);
    EXPECT_EQ(x, c.x0) << "zone " << c.zone;
    EXPECT_EQ(y, c.y0) << "zone " << c.zone;
    // L0 is the nearest double of a fraction of degrees: λ is a few 1e-12″.
    EXPECT_NEAR(convergence, 0, 1e-12) << "zone " << c.zone << ", grads";
    EXPECT_FIGURE(distortion, c.distortion, "cm/km");
  }
}

TEST(ComplexTanSeries, IsTheTaylorSeriesOfTanAndArctan) {
  // Truncation after z⁹: |z|¹¹/11 < 5e-16 for |z| ≤ 0.05 (640 km from a zone centre).
  for (const std::complex<double> z : {std::complex<double>{0, 0}, {0.03, 0.02}, {0.01, -0.045}}) {
    EXPECT_LT(std::abs(ComplexTanSeries(z, kTangentSeries) - std::tan(z)), 1e-15) << z;
    EXPECT_LT(std::abs(ComplexTanSeries(z, kArctangentSeries) - std::atan(z)), 1e-15) << z;
  }
  const std::complex<double> z(0.3, -0.2);
  EXPECT_EQ(ComplexTanSeries(z, {0, 1, 0, 0, 0, 0, 0, 0, 0}), z * z);
}

}  // namespace
}  // namespace kolvedir::test
