// Gauss–Krüger: the generic Gauss–Krüger projection (GRS80 sets).
#include "core/gauss_kruger.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/grs80_grids.h"
#include "core/krassowsky_grids.h"
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

const struct {
  const char* zone;
  GaussKrugerZone parameters;
} kZones[] = {
    {"PL-2000 zone 18", *Pl2000Zone(18)},
    {"PL-1992", Pl1992Zone()},
    {"PL-UTM 34", *UtmZone(21)},
    {"1942 zone 21 (Krassowsky)", {&kKrassowskyEllipsoid, 21, 1, 4500000, 0}},
};

// Several points at once through the vector maths library: each point gets
// what it gets alone (whatever its neighbours and the group it falls in),
// points already failed are passed by untouched, and the figures stay within
// 10 nm (3e-10″, 10 nm, for B, L) of the one-point <cmath> projection.
TEST(GaussKruger, PointsAtOnceAreEachPointAlone) {
  // Every 7' of latitude and 11' of longitude over 49°–55° N, 14°–24.2° E (593 points).
  std::vector<double> B, L;
  for (double b = 49 * 60; b <= 55 * 60; b += 7)
    for (double l = 14 * 60; l <= 24.2 * 60; l += 11) {
      B.push_back(b * 60);
      L.push_back(l * 60);
    }
  const std::size_t n = B.size();
  for (const auto& [name, zone] : kZones) {
    std::vector<double> x(n, -1), y(n, -1), distortion(n, -1), convergence(n, -1);
    std::vector<PointStatus> status(n, 0);
    for (std::size_t i = 0; i < n; i += 13) status[i] = kStatusUndefinedZone;  // failed before
    ZoneForwardPoints(zone, B, L, x, y, distortion, convergence, status);
    std::vector<double> backB(n, -1), backL(n, -1);
    std::vector<PointStatus> backStatus = status;
    ZoneInversePoints(zone, x, y, backB, backL, backStatus);
    const Ellipsoid& el = *zone.ellipsoid;
    for (std::size_t i = 0; i < n; ++i) {
      if (i % 13 == 0) {
        EXPECT_TRUE(status[i] == kStatusUndefinedZone && x[i] == -1 && backB[i] == -1) << name;
        continue;
      }
      double one[6];
      PointStatus oneStatus = 0;
      ZoneForward(zone, B[i], L[i], one[0], one[1], one[2], one[3], oneStatus);
      ZoneInverse(zone, x[i], y[i], one[4], one[5], oneStatus);
      ASSERT_EQ(status[i], 0) << name << " point " << i;
      ASSERT_EQ(oneStatus, 0) << name << " point " << i;
      EXPECT_TRUE(one[0] == x[i] && one[1] == y[i] && one[2] == distortion[i] &&
                  one[3] == convergence[i] && one[4] == backB[i] && one[5] == backL[i])
          << name << " point " << i << " differs from the same point alone";
      double cx, cy, cd, cc;
      PointStatus cmathStatus = 0;
      GaussKrugerForward(B[i], L[i], zone.L0, el.alpha, el.R, el.e, el.a, zone.m0, zone.FE, zone.FN,
                         cx, cy, cd, cc, cmathStatus);
      double cB, cL;
      GaussKrugerInverse(x[i], y[i], zone.L0, el.beta, el.delta, el.R, zone.m0, zone.FE, zone.FN,
                         cB, cL, cmathStatus);
      EXPECT_NEAR(x[i], cx, 1e-8) << name << " point " << i;
      EXPECT_NEAR(y[i], cy, 1e-8) << name << " point " << i;
      EXPECT_NEAR(backB[i], cB, 3e-10) << name << " point " << i << ": arc-seconds";
      EXPECT_NEAR(backL[i], cL, 3e-10) << name << " point " << i << ": arc-seconds";
    }
  }
}

// South of the equator, which jobs never reach but the library's callers may:
// (−φ, λ) is the mirror image of (φ, λ) across the equator, x + FN changing
// its sign while y, the distortion and the size of the convergence stay, and
// the inverse takes the mirrored x back to −φ. Array and one-point forms.
TEST(GaussKruger, SouthernLatitudesMirrorTheNorthern) {
  const struct {
    double B, dL;  // degrees; longitude from the central meridian, degrees
  } points[] = {{0.01, 1}, {1, -2.5}, {23.5, 3}, {49, -1.5}, {52, 0}, {55, 2}, {70, -3}, {80, 1}};
  std::vector<double> B, L;
  for (const auto& p : points)
    for (const double sign : {1.0, -1.0}) B.push_back(Deg(sign * p.B)), L.push_back(0);
  const std::size_t n = B.size();
  for (const auto& [name, zone] : kZones) {
    for (std::size_t i = 0; i < n; ++i) L[i] = Deg(zone.L0 + points[i / 2].dL);
    std::vector<double> x(n), y(n), distortion(n), convergence(n), backB(n), backL(n);
    std::vector<PointStatus> status(n, 0);
    ZoneForwardPoints(zone, B, L, x, y, distortion, convergence, status);
    ZoneInversePoints(zone, x, y, backB, backL, status);
    for (std::size_t i = 0; i < n; i += 2) {
      SCOPED_TRACE(std::string(name) + ", B = ±" + std::to_string(B[i] / 3600) + "°, L = " +
                   std::to_string(L[i] / 3600) + "°");
      ASSERT_TRUE(status[i] == 0 && status[i + 1] == 0);
      EXPECT_NEAR(x[i + 1] + zone.FN, -(x[i] + zone.FN), 1e-8) << "x, m";
      EXPECT_NEAR(y[i + 1], y[i], 1e-8) << "y, m";
      EXPECT_NEAR(distortion[i + 1], distortion[i], 1e-9) << "cm/km";
      EXPECT_NEAR(convergence[i + 1], -convergence[i], 1e-12) << "grads";
      EXPECT_NEAR(backB[i + 1], -backB[i], 3e-10) << "B, arc-seconds";
      EXPECT_NEAR(backL[i + 1], backL[i], 3e-10) << "L, arc-seconds";
      const Ellipsoid& el = *zone.ellipsoid;
      double one[4];
      PointStatus oneStatus = 0;
      GaussKrugerForward(B[i + 1], L[i + 1], zone.L0, el.alpha, el.R, el.e, el.a, zone.m0, zone.FE,
                         zone.FN, one[0], one[1], one[2], one[3], oneStatus);
      EXPECT_NEAR(one[0] + zone.FN, -(x[i] + zone.FN), 1e-8) << "one point: x, m";
      EXPECT_NEAR(one[1], y[i], 1e-8) << "one point: y, m";
      EXPECT_NEAR(one[2], distortion[i], 1e-9) << "one point: cm/km";
      EXPECT_NEAR(one[3], -convergence[i], 1e-12) << "one point: grads";
    }
  }
}

}  // namespace
}  // namespace kolvedir::test
