// Round trips over a dense grid of points spanning 49°–55° N, 14°–24.2° E
// (each plane grid inside its zone's area): Parts 1.2 to 1.7.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/datum.h"
#include "core/ellipsoid.h"
#include "core/geocentric.h"
#include "core_test_support.h"

namespace kolvedir::test {
namespace {

// f(B, L) in arc-seconds at every node of a 0.05° grid over the area.
template <typename F>
void ForEachPoint(const Area& a, F f) {
  for (double b = a.bMin; b <= a.bMax + 1e-9; b += 0.05)
    for (double l = a.lMin; l <= a.lMax + 1e-9; l += 0.05) f(Deg(b), Deg(l));
}
constexpr Area kPoland{49, 55, 14, 24.2};

TEST(RoundTrip, EveryPlaneGridWithin1e7Seconds) {
  for (const GridZone& z : kGridZones) {
    double worst = 0;
    ForEachPoint(z.area, [&](double B, double L) {
      double x, y, distortion, convergence, B2, L2;
      PointStatus status = 0;
      Forward(z, B, L, x, y, distortion, convergence, status);
      Inverse(z, x, y, B2, L2, status);
      ASSERT_EQ(status, 0) << z.name;
      worst = std::max({worst, std::fabs(B2 - B), std::fabs(L2 - L)});
    });
    EXPECT_LE(worst, 1e-7) << z.name << ", arc-seconds";
  }
}

// Krassowsky grids: the two separate fits undo each other within 5e-7″; each
// correction stays below 0.05″ in latitude and 0.07″ in longitude.
TEST(RoundTrip, Polynomial4283Pair) {
  double worst = 0, dB = 0, dL = 0;
  ForEachPoint(kPoland, [&](double B, double L) {
    double B42, L42, B83, L83;
    PointStatus status = 0;
    Bl4283ToBl42(B, L, B42, L42, status);
    Bl42ToBl4283(B42, L42, B83, L83, status);
    worst = std::max({worst, std::fabs(B83 - B), std::fabs(L83 - L)});
    dB = std::max({dB, std::fabs(B42 - B), std::fabs(B83 - B42)});
    dL = std::max({dL, std::fabs(L42 - L), std::fabs(L83 - L42)});
  });
  EXPECT_LE(worst, 5e-7) << "arc-seconds";
  EXPECT_LT(dB, 0.05) << "arc-seconds";
  EXPECT_LT(dL, 0.07) << "arc-seconds";
}

// Geocentric conversion: within 1e-9″ and 1e-6 m on both ellipsoids, heights −100 m to 10 km.
TEST(RoundTrip, GeodeticCartesianGeodetic) {
  for (const auto& [el, code] :
       {std::pair{&kGrs80Ellipsoid, kGrs80}, {&kKrassowskyEllipsoid, kKrassowsky}}) {
    double worstAngle = 0, worstHeight = 0;
    for (const double h : {-100.0, 0.0, 1500.0, 10000.0}) {
      ForEachPoint(kPoland, [&](double B, double L) {
        double X, Y, Z, B2, L2, h2;
        PointStatus status = 0;
        GeodeticToCartesian(el->a, el->e2, B, L, h, X, Y, Z, status);
        CartesianToGeodetic(X, Y, Z, code, B2, L2, h2, status);
        ASSERT_EQ(status, 0);
        worstAngle = std::max({worstAngle, std::fabs(B2 - B), std::fabs(L2 - L)});
        worstHeight = std::max(worstHeight, std::fabs(h2 - h));
      });
    }
    EXPECT_LE(worstAngle, 1e-9) << "ellipsoid " << code << ", arc-seconds";
    EXPECT_LE(worstHeight, 1e-6) << "ellipsoid " << code << ", m";
  }
}

// Datum transformation: PL-ETRF89 → Pulkovo'42 → PL-ETRF89 within 1e-8″ and 0.1 mm.
TEST(RoundTrip, Datum) {
  double worstAngle = 0, worstHeight = 0;
  for (const double h : {0.0, 300.0, 2500.0}) {
    ForEachPoint(kPoland, [&](double B, double L) {
      double B42, L42, h42, B89, L89, h89;
      PointStatus status = 0;
      TransformBlhDatum(B, L, h, kEtrf89ToPulkovo, B42, L42, h42, status);
      TransformBlhDatum(B42, L42, h42, kPulkovoToEtrf89, B89, L89, h89, status);
      ASSERT_EQ(status, 0);
      worstAngle = std::max({worstAngle, std::fabs(B89 - B), std::fabs(L89 - L)});
      worstHeight = std::max(worstHeight, std::fabs(h89 - h));
    });
  }
  EXPECT_LE(worstAngle, 1e-8) << "arc-seconds";
  EXPECT_LE(worstHeight, 1e-4) << "m";
}

}  // namespace
}  // namespace kolvedir::test
