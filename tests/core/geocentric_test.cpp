// Geocentric conversion: geodetic–Cartesian conversion.
#include "core/geocentric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/ellipsoid.h"
#include "core_test_support.h"

namespace kolvedir::test {
namespace {

TEST(GeodeticToCartesian, WorkedFigure) {
  // Datum transformation worked example 1: B = 51°, L = 17°, h = 0 on GRS80.
  double X, Y, Z;
  PointStatus status = 0;
  GeodeticToCartesian(kGrs80Ellipsoid.a, kGrs80Ellipsoid.e2, Deg(51), Deg(17), 0, X, Y, Z, status);
  EXPECT_FIGURE(X, Printed("3846287.0508"), "X, m");
  EXPECT_FIGURE(Y, Printed("1175927.9611"), "Y, m");
  EXPECT_FIGURE(Z, Printed("4933544.6201"), "Z, m");
}

// Geocentric conversion edge cases: polar axis, 180°, longitudes in [270°, 360°) and the
// quadrants (Krassowsky; tolerances 1e-9″ and 1e-6 m).
TEST(CartesianToGeodetic, PolarAxisAndLongitudeQuadrants) {
  const double b = kKrassowskyEllipsoid.b, nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* what;
    double X, Y, Z;  // m
    double B, L, h;  // expected: arc-seconds, m (NaN: not checked)
  } table[] = {
      {"north pole, h by the second formula", 0, 0, b + 100, Deg(90), 0, 100},
      {"south pole", 0, 0, -b - 100, Deg(-90), 0, 100},
      {"X < 0, Y = 0: 180°", -6378245, 0, 0, 0, Deg(180), 0},
      {"X = 0, Y > 0: 90°", 0, 6378245, 0, 0, Deg(90), 0},
      {"X < 0, Y < 0", -4510000, -4510000, 0, 0, Deg(225), nan},
      {"X > 0, Y < 0: 315°, never negative", 4510000, -4510000, 0, 0, Deg(315), nan},
      {"1e-9 m from the axis, X ≥ 0, Y < 0: exactly 360°", 0, -1e-9, b, Deg(90), Deg(360), 0},
  };
  for (const auto& c : table) {
    double B, L, h;
    PointStatus status = 0;
    CartesianToGeodetic(c.X, c.Y, c.Z, kKrassowsky, B, L, h, status);
    EXPECT_EQ(status, 0) << c.what;
    EXPECT_NEAR(B, c.B, 1e-9) << c.what;
    EXPECT_NEAR(L, c.L, 1e-9) << c.what;
    if (!std::isnan(c.h)) {
      EXPECT_NEAR(h, c.h, 1e-6) << c.what;
    }
  }
}

TEST(CartesianToGeodetic, HeightFormulaBranch) {
  // p = 1000, Z = 3000, N = 10, e² = 0.5: p/c − N and Z/s − N(1 − e²) differ.
  const double s = std::sqrt(0.5), c = std::nextafter(s, 1.0);
  EXPECT_EQ(EllipsoidalHeight(1000, 3000, s, s, 10, 0.5), 3000 / s - 5) << "|cos| = |sin|";
  EXPECT_EQ(EllipsoidalHeight(1000, 3000, -s, s, 10, 0.5), 3000 / -s - 5) << "|cos| = |−sin|";
  EXPECT_EQ(EllipsoidalHeight(1000, 3000, s, c, 10, 0.5), 1000 / c - 10) << "|cos| > |sin|";
  // End to end at 45°, where the two formulas meet.
  for (const double h : {-50.0, 0.0, 1234.5}) {
    double X, Y, Z, B, L, hOut;
    PointStatus status = 0;
    const Ellipsoid& g = kGrs80Ellipsoid;
    GeodeticToCartesian(g.a, g.e2, Deg(45), Deg(20), h, X, Y, Z, status);
    CartesianToGeodetic(X, Y, Z, kGrs80, B, L, hOut, status);
    EXPECT_NEAR(hOut, h, 1e-6);
    EXPECT_NEAR(B, Deg(45), 1e-9);
  }
}

// Geocentric conversion failure handling; nothing is written on failure.
TEST(CartesianToGeodetic, FailuresWriteNothing) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* what;
    double X, Y, Z;
    int ellipsoid;
    PointStatus expected;
  } table[] = {
      {"ellipsoid code 0", 3846287.0508, 1175927.9611, 4933544.6201, 0, kStatusBadEllipsoid},
      {"ellipsoid code 3", 3846287.0508, 1175927.9611, 4933544.6201, 3, kStatusBadEllipsoid},
      {"geocentre", 0, 0, 0, kGrs80, kStatusGeocentre},
      {"geocentre, negative zeros", -0.0, -0.0, -0.0, kKrassowsky, kStatusGeocentre},
      {"NaN", nan, 1175927.9611, 4933544.6201, kGrs80, kStatusNoConvergence},
      {"infinity", 3846287.0508, inf, 4933544.6201, kKrassowsky, kStatusNoConvergence},
      {"squares overflow", 1e200, 1e200, 1e200, kGrs80, kStatusNoConvergence},
      {"1.4 m from the geocentre: settles beyond 90°", 1, 0, 1, kGrs80, kStatusNoConvergence},
      {"1.7 m from the geocentre", -1, -1, -1, kKrassowsky, kStatusNoConvergence},
  };
  for (const auto& c : table) {
    double B = 11, L = 22, h = 33;
    PointStatus status = 0;
    CartesianToGeodetic(c.X, c.Y, c.Z, c.ellipsoid, B, L, h, status);
    EXPECT_EQ(status, c.expected) << c.what;
    EXPECT_TRUE(B == 11 && L == 22 && h == 33) << c.what;
  }
}

// Several points iterating at once: each point ends as it would alone (the
// iteration counts of its neighbours, failures among them and points skipped
// for a raised status change nothing), and the positions over Poland, from
// 50 km below to 9 km above the ellipsoid, come back to 1e-9″ and 1 µm.
TEST(CartesianToGeodetic, PointsAtOnceAreEachPointAlone) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const int ellipsoid : {kGrs80, kKrassowsky}) {
    const Ellipsoid& el = ellipsoid == kGrs80 ? kGrs80Ellipsoid : kKrassowskyEllipsoid;
    std::vector<double> X, Y, Z, B0, L0, h0;
    for (double b = 49; b <= 55; b += 0.37)
      for (double l = 14; l <= 24.2; l += 0.53)
        for (double h : {-50000.0, 0.0, 9000.0}) {
          double x, y, z;
          PointStatus s = 0;
          GeodeticToCartesian(el.a, el.e2, Deg(b), Deg(l), h, x, y, z, s);
          X.push_back(x), Y.push_back(y), Z.push_back(z);
          B0.push_back(Deg(b)), L0.push_back(Deg(l)), h0.push_back(h);
        }
    // Failures among them: the geocentre, a point near it that settles beyond
    // ±90°, a NaN; and points whose status is already raised.
    const double failing[][3] = {{0, 0, 0}, {1, 0, 1}, {nan, 1, 1}};
    for (std::size_t k = 0; k < 3; ++k) {
      const std::size_t at = 100 * k + 50;
      X.insert(X.begin() + at, failing[k][0]), Y.insert(Y.begin() + at, failing[k][1]);
      Z.insert(Z.begin() + at, failing[k][2]);
      B0.insert(B0.begin() + at, nan), L0.insert(L0.begin() + at, nan),
          h0.insert(h0.begin() + at, nan);
    }
    const std::size_t n = X.size();
    std::vector<double> B(n, -1), L(n, -1), h(n, -1);
    std::vector<PointStatus> status(n, 0);
    for (std::size_t i = 0; i < n; i += 17) status[i] = kStatusUndefinedZone;
    CartesianToGeodeticPoints(X, Y, Z, ellipsoid, B, L, h, status);
    for (std::size_t i = 0; i < n; ++i) {
      double b = -1, l = -1, hh = -1;
      PointStatus s = i % 17 == 0 ? kStatusUndefinedZone : 0;
      CartesianToGeodetic(X[i], Y[i], Z[i], ellipsoid, b, l, hh, s);
      ASSERT_EQ(status[i], s) << "point " << i;
      EXPECT_TRUE(B[i] == b && L[i] == l && h[i] == hh) << "point " << i << " differs from alone";
      if (s != 0 || std::isnan(B0[i])) continue;
      EXPECT_NEAR(B[i], B0[i], 1e-9) << "point " << i << ": arc-seconds";
      EXPECT_NEAR(L[i], L0[i], 1e-9) << "point " << i << ": arc-seconds";
      EXPECT_NEAR(h[i], h0[i], 1e-6) << "point " << i << ": m";
    }
    EXPECT_EQ(status[50], kStatusGeocentre);
    EXPECT_EQ(status[150], kStatusNoConvergence);
    EXPECT_EQ(status[250], kStatusNoConvergence);
  }
}

}  // namespace
}  // namespace kolvedir::test
