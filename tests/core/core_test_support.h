#pragma once
// Shared helpers of the core tests: reference figures quoted with
// the tolerance implied by their printed digits, and every zone of every plane
// grid behind one signature, with its area and its PROJ counterpart.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "core/grs80_grids.h"
#include "core/krassowsky_grids.h"
#include "core/system1965.h"

namespace kolvedir::test {

struct Expected {
  double value, tolerance;  // same unit
};

// A printed reference figure, reproduced "to the printed digit":
// tolerance half a unit in its last printed place.
inline Expected Printed(std::string_view text) {
  const auto dot = text.find('.');
  const int decimals = dot == std::string_view::npos ? 0 : int(text.size() - dot - 1);
  return {std::stod(std::string(text)), 0.5 * std::pow(10.0, -decimals)};
}
// Degrees, minutes and printed seconds, as arc-seconds.
inline Expected Dms(int degrees, int minutes, std::string_view seconds) {
  const Expected s = Printed(seconds);
  return {degrees * 3600.0 + minutes * 60.0 + s.value, s.tolerance};
}
constexpr double Deg(double degrees) { return degrees * 3600.0; }

#define EXPECT_FIGURE(actual, expected, what) \
  EXPECT_NEAR((actual), (expected).value, (expected).tolerance) << (what)

enum class Grid { kPl2000, kPl1992, kUtm, k1942Strip3, k1942Strip6, k1965 };
using enum Grid;

struct Area {
  double bMin, bMax, lMin, lMax;  // degrees
};

struct GridZone {
  Grid grid;
  int zone;  // central meridian, degrees; 1965: 0 = TARVO80, 1 to 5
  const char* name;
  Area area;         // where the zone is used
  const char* proj;  // the same grid in PROJ (+ellps added by the grid)
};

// Every zone of the tables. Areas: the strips of PL-2000 and "1942" within
// 49°–55° N, 14°–24.2° E (zone 27 lies east of Poland: its own strip), EPSG
// areas of use of the 1965 zones (EPSG 3120, 2172 to 2175), Poland for TARVO80.
inline constexpr GridZone kGridZones[] = {
    {kPl2000, 15, "PL-2000 zone 15", {49, 55, 14, 16.5}, "tmerc +lon_0=15 +k=0.999923 +x_0=5500000"},
    {kPl2000, 18, "PL-2000 zone 18", {49, 55, 16.5, 19.5}, "tmerc +lon_0=18 +k=0.999923 +x_0=6500000"},
    {kPl2000, 21, "PL-2000 zone 21", {49, 55, 19.5, 22.5}, "tmerc +lon_0=21 +k=0.999923 +x_0=7500000"},
    {kPl2000, 24, "PL-2000 zone 24", {49, 55, 22.5, 24.2}, "tmerc +lon_0=24 +k=0.999923 +x_0=8500000"},
    {kPl2000, 27, "PL-2000 zone 27", {49, 55, 25.5, 28.5}, "tmerc +lon_0=27 +k=0.999923 +x_0=9500000"},
    {kPl1992, 19, "PL-1992", {49, 55, 14, 24.2}, "tmerc +lon_0=19 +k=0.9993 +x_0=500000 +y_0=-5300000"},
    {kUtm, 15, "PL-UTM zone 15", {49, 55, 14, 18}, "tmerc +lon_0=15 +k=0.9996 +x_0=3500000"},
    {kUtm, 21, "PL-UTM zone 21", {49, 55, 18, 24.2}, "tmerc +lon_0=21 +k=0.9996 +x_0=4500000"},
    {kUtm, 27, "PL-UTM zone 27", {49, 55, 24, 30}, "tmerc +lon_0=27 +k=0.9996 +x_0=5500000"},
    {k1942Strip3, 15, "1942 3° zone 15", {49, 55, 14, 16.5}, "tmerc +lon_0=15 +k=1 +x_0=5500000"},
    {k1942Strip3, 18, "1942 3° zone 18", {49, 55, 16.5, 19.5}, "tmerc +lon_0=18 +k=1 +x_0=6500000"},
    {k1942Strip3, 21, "1942 3° zone 21", {49, 55, 19.5, 22.5}, "tmerc +lon_0=21 +k=1 +x_0=7500000"},
    {k1942Strip3, 24, "1942 3° zone 24", {49, 55, 22.5, 24.2}, "tmerc +lon_0=24 +k=1 +x_0=8500000"},
    {k1942Strip3, 27, "1942 3° zone 27", {49, 55, 25.5, 28.5}, "tmerc +lon_0=27 +k=1 +x_0=9500000"},
    {k1942Strip6, 15, "1942 6° zone 15", {49, 55, 14, 18}, "tmerc +lon_0=15 +k=1 +x_0=3500000"},
    {k1942Strip6, 21, "1942 6° zone 21", {49, 55, 18, 24.2}, "tmerc +lon_0=21 +k=1 +x_0=4500000"},
    {k1942Strip6, 27, "1942 6° zone 27", {49, 55, 24, 30}, "tmerc +lon_0=27 +k=1 +x_0=5500000"},
    {k1965, 0, "TARVO80", {49, 55, 14, 24.2},
     "sterea +lat_0=52.166666666666667 +lon_0=19.166666666666667 +k=0.9997142857 +x_0=500000 +y_0=500000"},
    {k1965, 1, "1965 zone 1", {49, 52.34, 18, 24.15},
     "sterea +lat_0=50.625 +lon_0=21.083333333333333 +k=0.9998 +x_0=4637000 +y_0=5467000"},
    {k1965, 2, "1965 zone 2", {51.33, 54.51, 19, 23.95},
     "sterea +lat_0=53.001944444444444 +lon_0=21.502777777777778 +k=0.9998 +x_0=4603000 +y_0=5806000"},
    {k1965, 3, "1965 zone 3", {52.16, 54.89, 14.14, 20},
     "sterea +lat_0=53.583333333333333 +lon_0=17.008333333333333 +k=0.9998 +x_0=3501000 +y_0=5999000"},
    {k1965, 4, "1965 zone 4", {49.39, 53.34, 14.14, 19.09},
     "sterea +lat_0=51.670833333333333 +lon_0=16.672222222222222 +k=0.9998 +x_0=3703000 +y_0=5627000"},
    {k1965, 5, "1965 zone 5", {49.39, 51.34, 18.33, 19.67},
     "tmerc +lon_0=18.958333333333333 +k=0.999983 +x_0=237000 +y_0=-4700000"},
};

inline void Forward(const GridZone& g, double B, double L, double& x, double& y, double& distortion,
                    double& convergence, PointStatus& s) {
  switch (g.grid) {
    case kPl2000: return Pl2000Forward(B, L, g.zone, x, y, distortion, convergence, s);
    case kPl1992: return Pl1992Forward(B, L, x, y, distortion, convergence, s);
    case kUtm: return UtmForward(B, L, g.zone, x, y, distortion, convergence, s);
    case k1942Strip3: return Grid1942Forward(B, L, g.zone, 3, x, y, distortion, convergence, s);
    case k1942Strip6: return Grid1942Forward(B, L, g.zone, 6, x, y, distortion, convergence, s);
    case k1965:
      return System1965Transform(Direction1965::kForward, g.zone, B, L, x, y, distortion,
                                 convergence, s);
  }
}

inline void Inverse(const GridZone& g, double x, double y, double& B, double& L, PointStatus& s) {
  double distortion = 0, convergence = 0;
  switch (g.grid) {
    case kPl2000: return Pl2000Inverse(x, y, g.zone, B, L, s);
    case kPl1992: return Pl1992Inverse(x, y, B, L, s);
    case kUtm: return UtmInverse(x, y, g.zone, B, L, s);
    case k1942Strip3: return Grid1942Inverse(x, y, g.zone, 3, B, L, s);
    case k1942Strip6: return Grid1942Inverse(x, y, g.zone, 6, B, L, s);
    case k1965:
      return System1965Transform(Direction1965::kInverse, g.zone, B, L, x, y, distortion,
                                 convergence, s);
  }
}

inline const GridZone& ZoneNamed(std::string_view name) {
  for (const GridZone& z : kGridZones)
    if (name == z.name) return z;
  ADD_FAILURE() << "no grid zone " << name;
  return kGridZones[0];
}

// A forward figure of Parts 1.4 to 1.6. The inverse of its printed x, y must
// return B, L within 5e-6″ (the 0.00005 m rounding is at most 2.6e-6″ at 49° N).
struct ForwardFigure {
  const char* source;
  const char* zone;
  double B, L;                                      // arc-seconds
  Expected x, y;                                    // m
  std::optional<Expected> distortion, convergence;  // cm/km, grads
};

inline void ExpectForwardFigure(const ForwardFigure& f) {
  SCOPED_TRACE(std::string(f.source) + ", " + f.zone);
  double x = 0, y = 0, distortion = 0, convergence = 0, B = 0, L = 0;
  PointStatus status = 0;
  Forward(ZoneNamed(f.zone), f.B, f.L, x, y, distortion, convergence, status);
  EXPECT_FIGURE(x, f.x, "x, m");
  EXPECT_FIGURE(y, f.y, "y, m");
  if (f.distortion) {
    EXPECT_FIGURE(distortion, *f.distortion, "scale distortion, cm/km");
  }
  if (f.convergence) {
    EXPECT_FIGURE(convergence, *f.convergence, "convergence, grads");
  }
  Inverse(ZoneNamed(f.zone), f.x.value, f.y.value, B, L, status);
  EXPECT_EQ(status, 0);
  EXPECT_NEAR(B, f.B, 5e-6) << "inverse B, arc-seconds";
  EXPECT_NEAR(L, f.L, 5e-6) << "inverse L, arc-seconds";
}

}  // namespace kolvedir::test
