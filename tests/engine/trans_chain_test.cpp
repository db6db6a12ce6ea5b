// Transformation chains of TRANS 2D/3D: worked figures, empirical corrections
// from a synthetic grid, every pair of systems in both methods, round trips.
#include "engine/trans_chain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/grs80_grids.h"
#include "core/krassowsky_grids.h"
#include "engine/point_outcome.h"
#include "tests/engine/job_fixture.h"
#include "tests/grid/grid_test_files.h"

namespace kolvedir {
namespace {

using testing::TransJob;

constexpr int kEmpirical = 0;
constexpr int kTheoretical = 1;

// Grid values of the tests: layers 4, 5, 6 (PL-ETRF2000 minus PL-ETRF89 in
// 1e-9°, 1e-9°, 0.1 mm) and 7, 8 (Pulkovo'42 minus PL-ETRF89 in 1e-8°, about
// the datum shift at 51° N, 17° E), constant wherever the grid has data.
constexpr std::int32_t kLayer4 = 100, kLayer5 = -200, kLayer6 = -573;
constexpr std::int32_t kLayer7 = 34660, kLayer8 = 177956;
// A hole without data (layer 7 = 0): 53.00°–53.20° N, 15.00°–15.20° E.
bool InHole(int i, int j) { return i >= 400 && i <= 420 && j >= 100 && j <= 120; }

class TransChainTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testing::LoadSyntheticGrid([](int i, int j, int layer) -> std::int32_t {
      switch (layer) {
        case 4: return kLayer4;
        case 5: return kLayer5;
        case 6: return kLayer6;
        case 7: return InHole(i, j) ? 0 : kLayer7;
        case 8: return kLayer8;
        default: return 0;
      }
    });
  }
};

double Seconds(int degrees, int minutes, double seconds) {
  return degrees * 3600.0 + minutes * 60.0 + seconds;
}

PointValues Geodetic(double B, double L, double h) {
  PointValues v;
  v.B = B;
  v.L = L;
  v.h = h;
  return v;
}

PointValues Plane(double x, double y) {
  PointValues v;
  v.x = x;
  v.y = y;
  return v;
}

// ---- Worked figures ----

struct GeodeticFigure {
  const char* source;
  JobDescription job;
  PointValues input;
  double B, L;  // expected, arc-seconds
  double h;     // expected, m
  double angleTolerance;   // arc-seconds
  double heightTolerance;  // m
};

// The PL-2000 point x = 5652126.56, y = 6429808.46 of zone 18 in PL-ETRF2000.
const PointValues kPl2000Point = Plane(5652126.56, 6429808.46);

TEST_F(TransChainTest, TheoreticalFiguresToGeodeticOutput) {
  const GeodeticFigure table[] = {
      // Theoretical PL-ETRF89 image of the PL-2000 point (datum figures of the program).
      {"xy2000 → BLH_GRS PL-ETRF89", TransJob(1, 1, 18, 2, 4, 0, kTheoretical), kPl2000Point,
       Seconds(50, 59, 59.999553), Seconds(17, 0, 0.000690), 0.0677, 5e-7, 5e-5},
      {"xy2000 → BLH_KRA", TransJob(1, 1, 18, 3, 7, 0, kTheoretical), kPl2000Point,
       Seconds(51, 0, 1.247328), Seconds(17, 0, 6.407131), -38.0689, 5e-7, 5e-5},
      // Frame change PL-ETRF2000 → PL-ETRF89 at 51°, 17°, printed as "about".
      {"BLH_GRS 2000 → 89", TransJob(1, 4, 0, 2, 4, 0, kTheoretical), Geodetic(51, 17, 0),
       Seconds(50, 59, 59.999684), Seconds(17, 0, 0.000937), 0.0677, 1e-6, 1e-4},
      {"BLH_GRS 89 → BLH_KRA", TransJob(2, 4, 0, 3, 7, 0, kTheoretical), Geodetic(51, 17, 0),
       Seconds(51, 0, 1.247775), Seconds(17, 0, 6.406441), -38.1366, 5e-7, 5e-5},
      {"BLH_KRA → BLH_GRS 89", TransJob(3, 7, 0, 2, 4, 0, kTheoretical), Geodetic(52, 19, 0),
       Seconds(51, 59, 58.909977), Seconds(18, 59, 53.461532), 34.2870, 5e-7, 5e-5},
  };
  for (const auto& f : table) {
    OutputValues out;
    PointStatus status = 0;
    TransformPoint(f.job, f.input, out, status);
    EXPECT_EQ(status, 0) << f.source;
    EXPECT_NEAR(out.BArcSeconds, f.B, f.angleTolerance) << f.source;
    EXPECT_NEAR(out.LArcSeconds, f.L, f.angleTolerance) << f.source;
    EXPECT_NEAR(out.h, f.h, f.heightTolerance) << f.source;
  }
}

TEST_F(TransChainTest, GeodeticToCartesianFigure) {
  OutputValues out;
  PointStatus status = 0;
  TransformPoint(TransJob(2, 4, 0, 2, 5, 0, kEmpirical), Geodetic(51, 17, 0), out, status);
  ASSERT_EQ(status, 0);
  EXPECT_NEAR(out.X, 3846287.0508, 5e-5);
  EXPECT_NEAR(out.Y, 1175927.9611, 5e-5);
  EXPECT_NEAR(out.Z, 4933544.6201, 5e-5);
}

// The grid corrections enter only the frame step, at the right point and sign.
TEST_F(TransChainTest, EmpiricalCorrectionsOfTheGrid) {
  double B0 = 0, L0 = 0;  // the PL-2000 point, arc-seconds
  PointStatus status = 0;
  Pl2000Inverse(kPl2000Point.x, kPl2000Point.y, 18, B0, L0, status);
  ASSERT_EQ(status, 0);
  const double b4 = kLayer4 * 1e-9 * 3600, l5 = kLayer5 * 1e-9 * 3600, h6 = kLayer6 * 1e-4;
  const double b7 = kLayer7 * 1e-8 * 3600, l8 = kLayer8 * 1e-8 * 3600;
  struct Case {
    const char* what;
    JobDescription job;
    PointValues input;
    double B, L;  // arc-seconds
  } table[] = {
      {"2000 → 89 subtracts layers 4, 5", TransJob(1, 1, 18, 2, 4, 0, kEmpirical), kPl2000Point,
       B0 - b4, L0 - l5},
      {"89 → 2000 adds them", TransJob(2, 1, 18, 1, 4, 0, kEmpirical), kPl2000Point, B0 + b4, L0 + l5},
      {"89 → Pulkovo adds layers 7, 8", TransJob(2, 1, 18, 3, 7, 0, kEmpirical), kPl2000Point,
       B0 + b7, L0 + l8},
      {"2000 → Pulkovo: both", TransJob(1, 1, 18, 3, 7, 0, kEmpirical), kPl2000Point,
       B0 - b4 + b7, L0 - l5 + l8},
      {"Pulkovo → 2000: inverse shift, then layers 4, 5",
       TransJob(3, 7, 0, 1, 4, 0, kEmpirical), Geodetic(B0 / 3600, L0 / 3600, 0), B0 - b7 + b4,
       L0 - l8 + l5},
  };
  for (const auto& c : table) {
    OutputValues out;
    PointStatus s = 0;
    TransformPoint(c.job, c.input, out, s);
    EXPECT_EQ(s, 0) << c.what;
    EXPECT_NEAR(out.BArcSeconds, c.B, 1e-8) << c.what;
    EXPECT_NEAR(out.LArcSeconds, c.L, 1e-8) << c.what;
  }
  // Layer 6 moves the height; the Pulkovo'42 height comes from the datum alone.
  OutputValues to89, toPulkovoEmpirical, toPulkovoTheoretical;
  PointStatus s = 0;
  TransformPoint(TransJob(1, 1, 18, 2, 4, 0, kEmpirical), kPl2000Point, to89, s);
  EXPECT_NEAR(to89.h, -h6, 1e-12);
  TransformPoint(TransJob(2, 4, 0, 3, 7, 0, kEmpirical), Geodetic(51, 17, 0), toPulkovoEmpirical, s);
  TransformPoint(TransJob(2, 4, 0, 3, 7, 0, kTheoretical), Geodetic(51, 17, 0), toPulkovoTheoretical,
                 s);
  ASSERT_EQ(s, 0);
  EXPECT_EQ(toPulkovoEmpirical.h, toPulkovoTheoretical.h);
  EXPECT_NE(toPulkovoEmpirical.BArcSeconds, toPulkovoTheoretical.BArcSeconds);
}

// Which points a chain refuses: the grid refuses a point in its hole in an
// empirical frame change only; the core refuses what it cannot compute.
TEST_F(TransChainTest, RefusedPoints) {
  const PointValues inHole = Geodetic(53.1, 15.1, 0);
  const PointValues geocentre;  // X = Y = Z = 0
  struct Case {
    const char* what;
    JobDescription job;
    PointValues input;
    bool refused;
  } table[] = {
      {"hole, empirical 2000 → 89", TransJob(1, 4, 0, 2, 4, 0, kEmpirical), inHole, true},
      {"hole, empirical 89 → Pulkovo", TransJob(2, 4, 0, 3, 7, 0, kEmpirical), inHole, true},
      {"hole, empirical Pulkovo → 2000", TransJob(3, 7, 0, 1, 4, 0, kEmpirical), inHole, true},
      {"hole, theoretical 2000 → Pulkovo", TransJob(1, 4, 0, 3, 7, 0, kTheoretical), inHole, false},
      {"hole, empirical, same frame", TransJob(1, 4, 0, 1, 1, 15, kEmpirical), inHole, false},
      {"hole, empirical, same frame Pulkovo", TransJob(3, 7, 0, 3, 8, 0, kEmpirical), inHole, false},
      {"XYZ_GRS at the geocentre", TransJob(1, 5, 0, 1, 4, 0, kTheoretical), geocentre, true},
      {"XYZ_KRA at the geocentre", TransJob(3, 8, 0, 2, 1, 18, kTheoretical), geocentre, true},
      {"xy42_6 with a 3° zone", TransJob(3, 3, 18, 3, 7, 0, kTheoretical), Plane(5.7e6, 6.5e6), true},
      {"xy2000 output zone 19", TransJob(1, 4, 0, 1, 1, 19, kTheoretical), Geodetic(52, 19, 0), true},
      {"xy65 zone 6", TransJob(3, 1, 6, 3, 7, 0, kTheoretical), Plane(5.5e6, 4.5e6), true},
      {"plane input far off", TransJob(1, 2, 0, 1, 4, 0, kTheoretical), Plane(1e300, 1e300), true},
  };
  for (const auto& c : table) {
    OutputValues out;
    PointStatus status = 0;
    TransformPoint(c.job, c.input, out, status);
    EXPECT_EQ(status != 0, c.refused) << c.what;
  }
}

TEST(TransChain, ExcessivePlaneDistortion) {
  // BLH_GRS 51°, 24° in the PL-2000 zone of 15°: about 482 cm/km and 7.8 grads.
  OutputValues out;
  PointStatus status = 0;
  TransformPoint(TransJob(2, 4, 0, 2, 1, 15, kTheoretical), Geodetic(51, 24, 0), out, status);
  ASSERT_EQ(status, 0);
  EXPECT_NEAR(out.distortion, 482, 1);
  EXPECT_NEAR(out.convergence, 7.8, 0.05);
  EXPECT_TRUE(ExcessivePlaneDistortion(out.distortion, out.convergence));
  const struct {
    double distortion, convergence;
    bool excessive;
  } limits[] = {{200, 20, false},  {-200, -20, false},   {200.001, 0, true}, {0, -20.0001, true},
                {NAN, 0, true},    {0, INFINITY, true}};
  for (const auto& c : limits) {
    EXPECT_EQ(ExcessivePlaneDistortion(c.distortion, c.convergence), c.excessive)
        << c.distortion << " " << c.convergence;
  }
}

// ---- Every pair of systems, both methods, and round trips ----

struct SystemUse {
  int frame, system, zone;
  const char* name;
};

// Every system of the three frames with a zone that suits the point.
std::vector<SystemUse> AllSystems(int zone2000, int zoneUtm, int zone65, int zone42Strip3,
                                  int zone42Strip6) {
  std::vector<SystemUse> all;
  for (int frame : {1, 2}) {
    all.push_back({frame, 1, zone2000, "xy2000"});
    all.push_back({frame, 2, 0, "xy92"});
    all.push_back({frame, 3, zoneUtm, "UTM"});
    all.push_back({frame, 4, 0, "BLH_GRS"});
    all.push_back({frame, 5, 0, "XYZ_GRS"});
  }
  all.push_back({3, 1, zone65, "xy65"});
  all.push_back({3, 2, zone42Strip3, "xy42_3"});
  all.push_back({3, 3, zone42Strip6, "xy42_6"});
  all.push_back({3, 4, zone42Strip3, "xy42_83_3"});
  all.push_back({3, 5, zone42Strip6, "xy42_83_6"});
  all.push_back({3, 6, 0, "xyTARVO80"});
  all.push_back({3, 7, 0, "BLH_KRA"});
  all.push_back({3, 8, 0, "XYZ_KRA"});
  return all;
}

struct TestPoint {
  const char* where;
  double B, L, h;  // degrees, m; taken as coordinates in every frame
  std::vector<SystemUse> systems;
};

const TestPoint kTestPoints[] = {
    {"central Poland", 52.1, 18.9, 120.0, AllSystems(18, 21, 5, 18, 21)},
    {"south-east", 50.3, 23.0, 250.0, AllSystems(24, 21, 1, 24, 21)},
    {"north-west", 53.6, 14.9, 10.0, AllSystems(15, 15, 3, 15, 15)},
};

// The values of an input record that reads back the output values `out`.
PointValues AsInput(const OutputValues& out) {
  PointValues v;
  v.B = out.BArcSeconds / 3600;
  v.L = out.LArcSeconds / 3600;
  v.h = out.h;
  v.x = out.x;
  v.y = out.y;
  v.X = out.X;
  v.Y = out.Y;
  v.Z = out.Z;
  return v;
}

// The record of `use` at the test point (given in the frame of `use`).
PointValues RecordOf(const TestPoint& p, const SystemUse& use) {
  OutputValues out;
  PointStatus status = 0;
  CommonFormToOutput(TransJob(use.frame, 4, 0, use.frame, use.system, use.zone, kTheoretical),
                     p.B * 3600, p.L * 3600,
                     TransSystemKind(Frame(use.frame), use.system) == RecordKind::kPlane ? 0 : p.h,
                     out, status);
  EXPECT_EQ(status, 0) << use.name;
  return AsInput(out);
}

// Differences between an input record and the record that came back, in
// units of the printed precision: 1e-6″ for B, L, 1e-4 m for coordinates and
// heights. The position of a Cartesian record is compared as B, L (1″ ≈ 31 m
// of arc) and its height separately.
struct RoundTripError {
  double horizontal = 0;
  double height = 0;
};

RoundTripError Compare(const JobDescription& jobA, const PointValues& a, const PointValues& b) {
  if (TransSystemKind(jobA.InputFrame, jobA.InputSystem) == RecordKind::kPlane) {
    return {std::max(std::fabs(a.x - b.x), std::fabs(a.y - b.y)) / 1e-4, 0};
  }
  GeodeticPoint pa, pb;
  PointStatus status = 0;
  InputToCommonForm(jobA, a, pa, status);
  InputToCommonForm(jobA, b, pb, status);
  EXPECT_EQ(status, 0);
  const double secondUnits =
      TransSystemKind(jobA.InputFrame, jobA.InputSystem) == RecordKind::kGeodetic ? 1e-6
                                                                                  : 1e-4 / 31;
  return {std::max(std::fabs(pa.B - pb.B), std::fabs(pa.L - pb.L)) * 3600 / secondUnits,
          std::fabs(pa.h - pb.h) / 1e-4};
}

TEST_F(TransChainTest, EveryPairRunsAndReturns) {
  int pairs = 0;
  RoundTripError worst;
  for (const TestPoint& p : kTestPoints) {
    for (const int method : {kEmpirical, kTheoretical}) {
      for (const SystemUse& a : p.systems) {
        const PointValues input = RecordOf(p, a);
        for (const SystemUse& b : p.systems) {
          const std::string pair = std::string(p.where) + (method ? " theoretical " : " empirical ") +
                                   a.name + "/" + std::to_string(a.frame) + " → " + b.name + "/" +
                                   std::to_string(b.frame);
          const JobDescription there = TransJob(a.frame, a.system, a.zone, b.frame, b.system, b.zone, method);
          const JobDescription back = TransJob(b.frame, b.system, b.zone, a.frame, a.system, a.zone, method);
          OutputValues atB, atA;
          PointStatus status = 0;
          TransformPoint(there, input, atB, status);
          ASSERT_EQ(status, 0) << pair;
          const bool bIsPlane = TransSystemKind(Frame(b.frame), b.system) == RecordKind::kPlane;
          if (bIsPlane) {
            EXPECT_FALSE(ExcessivePlaneDistortion(atB.distortion, atB.convergence)) << pair;
          }
          TransformPoint(back, AsInput(atB), atA, status);
          ASSERT_EQ(status, 0) << pair << " and back";
          ++pairs;
          // A plane record carries no height: the way back starts at h = 0. The
          // theoretical frame changes are three-dimensional, so the lost height moves
          // the returning position: by hundredths of a millimetre between the two
          // GRS80 frames, by millimetres through the datum change, whose ellipsoid
          // normals differ by about 2e-5 rad. There no round trip is promised.
          const bool throughDatum = (a.frame == 3) != (b.frame == 3);
          const bool heightLost = bIsPlane && a.frame != b.frame && method == kTheoretical;
          if (heightLost && throughDatum) continue;
          const RoundTripError error = Compare(there, input, AsInput(atA));
          EXPECT_LE(error.horizontal, heightLost ? 1.0 : 0.5) << pair;
          worst.horizontal = std::max(worst.horizontal, error.horizontal);
          if (bIsPlane) continue;
          // The two directions of the datum change are separate fits whose round
          // trip keeps h only within about 0.1 mm; the empirical B, L of the grid
          // move the point at which the datum gives h.
          EXPECT_LE(error.height, throughDatum ? 2.0 : 0.5) << pair;
          worst.height = std::max(worst.height, error.height);
        }
      }
    }
  }
  EXPECT_EQ(pairs, 3 * 2 * 18 * 18);
  std::printf("[          ] %d pairs; worst round trip %.3f (position), %.3f (height) printed units\n",
              pairs, worst.horizontal, worst.height);
}

// ---- Plane input that cannot be a point of the system ----

struct ZonedGrid {
  const char* name;
  int frame, system;
  std::vector<int> zones;  // central meridians the window offers
  void (*forward)(double B, double L, int zone, double& x, double& y, PointStatus& status);
};

template <void (*Forward)(double, double, int, double&, double&, double&, double&, PointStatus&)>
void PlaneOf(double B, double L, int zone, double& x, double& y, PointStatus& status) {
  double distortion = 0, convergence = 0;
  Forward(B, L, zone, x, y, distortion, convergence, status);
}

template <int StripWidth>
void Plane1942Of(double B, double L, int zone, double& x, double& y, PointStatus& status) {
  double distortion = 0, convergence = 0;
  Grid1942Forward(B, L, zone, StripWidth, x, y, distortion, convergence, status);
}

// A point of every zone, read in every zone of its grid: only its own zone
// transforms it; any other names the zone its easting carries.
TEST_F(TransChainTest, PlanePointOfAnotherZoneIsRefused) {
  const ZonedGrid grids[] = {
      {"xy2000", 1, 1, {15, 18, 21, 24}, PlaneOf<Pl2000Forward>},
      {"UTM", 2, 3, {15, 21}, PlaneOf<UtmForward>},
      {"xy42_3", 3, 2, {15, 18, 21, 24}, Plane1942Of<3>},
      {"xy42_6", 3, 3, {15, 21}, Plane1942Of<6>},
      {"xy42_83_3", 3, 4, {15, 18, 21, 24}, Plane1942Of<3>},
      {"xy42_83_6", 3, 5, {15, 21}, Plane1942Of<6>},
  };
  for (const ZonedGrid& grid : grids) {
    for (const int pointZone : grid.zones) {
      // 52° N, half a degree east of the central meridian (west of it for 24°).
      const double L = pointZone + (pointZone == 24 ? -0.5 : 0.5);
      PointStatus status = 0;
      PointValues point;
      grid.forward(52 * 3600.0, L * 3600.0, pointZone, point.x, point.y, status);
      ASSERT_EQ(status, 0);
      for (const int chosen : grid.zones) {
        const std::string what = std::string(grid.name) + " point of " + std::to_string(pointZone) +
                                 " read in " + std::to_string(chosen);
        const int geodetic = grid.frame == 3 ? 7 : 4;  // BLH_KRA or BLH_GRS of the same frame
        const TransPointResult result = ComputeTransPoint(
            TransJob(grid.frame, grid.system, chosen, grid.frame, geodetic, 0, kTheoretical),
            point, true);
        if (chosen == pointZone) {
          EXPECT_EQ(result.error, PointError::kNone) << what;
          EXPECT_NEAR(result.output.BArcSeconds, 52 * 3600.0, 0.1) << what;  // 1942/83: 0.013″ off
        } else {
          EXPECT_EQ(result.error, PointError::kWrongZone) << what;
          EXPECT_EQ(result.zoneFound, pointZone) << what;
          EXPECT_EQ(result.output.BArcSeconds, 0.0) << what;
        }
      }
    }
  }
}

// Plane records that no point of the system can have (a digit too many, a
// northing of 1e308 m) are refused, never turned into a position: outside the
// area as their inverse projection puts them, or failed beyond the pole.
TEST_F(TransChainTest, PlaneInputOutsideTheAreaOrPastThePole) {
  const struct {
    const char* what;
    JobDescription job;
    PointValues input;
    PointError error;
  } table[] = {
      {"xy2000 x with a digit too many", TransJob(1, 1, 21, 1, 4, 0, kTheoretical),
       Plane(57887012.165, 7500457.7260), PointError::kFailed},
      {"xy2000 1e308", TransJob(1, 1, 21, 1, 5, 0, kTheoretical), Plane(1e308, 7500457.726), PointError::kFailed},
      {"xy92 1e308", TransJob(1, 2, 0, 1, 5, 0, kTheoretical), Plane(1e308, 500000), PointError::kFailed},
      {"UTM 1e308", TransJob(2, 3, 21, 2, 5, 0, kTheoretical), Plane(1e308, 4500000), PointError::kFailed},
      {"xy2000 1e20", TransJob(1, 1, 21, 1, 5, 0, kTheoretical), Plane(1e20, 7500457.726), PointError::kFailed},
      {"xy92 south", TransJob(1, 2, 0, 1, 5, 0, kTheoretical), Plane(-1e6, 500000), PointError::kOutOfArea},
      {"xy65 far east", TransJob(3, 1, 5, 3, 8, 0, kTheoretical), Plane(4700000, 9e6), PointError::kOutOfArea},
      {"xyTARVO80 1e308", TransJob(3, 6, 0, 3, 8, 0, kTheoretical), Plane(1e308, 500000), PointError::kFailed},
      {"xy42_83_6 1e308", TransJob(3, 5, 21, 3, 7, 0, kTheoretical), Plane(1e308, 4500000), PointError::kFailed},
      {"xy2000 without a zone digit", TransJob(1, 1, 18, 1, 5, 0, kTheoretical), Plane(5800000, 457.7), PointError::kOutOfArea},
  };
  for (const auto& c : table) {
    const TransPointResult result = ComputeTransPoint(c.job, c.input, true);
    EXPECT_EQ(result.error, c.error) << c.what << " B " << result.B << " L " << result.L;
    EXPECT_EQ(result.output.X, 0.0) << c.what;
  }
  // An out-of-area plane point shows where its inverse projection puts it.
  PointValues south;
  double distortion = 0, convergence = 0;
  PointStatus status = 0;
  Pl2000Forward(48.5 * 3600, 18.25 * 3600, 18, south.x, south.y, distortion, convergence, status);
  const TransPointResult result =
      ComputeTransPoint(TransJob(1, 1, 18, 2, 1, 18, kEmpirical), south, true);
  EXPECT_EQ(result.error, PointError::kOutOfArea);
  EXPECT_NEAR(result.B, 48.5, 1e-9);
  EXPECT_NEAR(result.L, 18.25, 1e-9);
}

// A job computes its points together: each gets exactly what it gets alone,
// good, unreadable (every 7th) and refused ones mixed, across the groups the
// chain forms.
TEST_F(TransChainTest, PointsTogetherAreEachPointAlone) {
  const struct {
    const char* what;
    JobDescription job;
    std::vector<PointValues> kinds;  // repeated in turn over 600 points
  } table[] = {
      {"xy2000 18 → xy92, empirical",
       TransJob(1, 1, 18, 2, 2, 0, kEmpirical),
       {Plane(5800000, 6500000), Plane(5700000, 7500000) /* another zone */,
        Plane(5380000, 6600000) /* south of the area */, Plane(1e308, 6500000),
        Plane(5889227, 6305790) /* in the grid's hole */, Plane(6000000, 6300000)}},
      {"BLH_GRS → xy2000 15, theoretical",
       TransJob(1, 4, 0, 1, 1, 15, kTheoretical),
       {Geodetic(52, 15.5, 0), Geodetic(51, 24, 0) /* distorted */, Geodetic(48, 15, 0),
        Geodetic(54.5, 14.2, 100)}},
      {"UTM 21 → xy65 zone 5, theoretical",
       TransJob(2, 3, 21, 3, 1, 5, kTheoretical),
       {Plane(5700000, 4500000), Plane(5600000, 4400000), Plane(5700000, 3500000)}},
  };
  for (const auto& c : table) {
    std::vector<PointValues> values;
    for (int i = 0; i < 600; ++i) {
      PointValues v = c.kinds[i % c.kinds.size()];
      v.x += i * 0.37;  // every point its own
      v.B += i * 1e-6;
      values.push_back(v);
    }
    const auto readable = std::make_unique<bool[]>(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) readable[i] = i % 7 != 6;
    std::vector<TransPointResult> together(values.size());
    ComputeTransPoints(c.job, values, {readable.get(), values.size()}, together);
    for (std::size_t i = 0; i < values.size(); ++i) {
      const TransPointResult alone = ComputeTransPoint(c.job, values[i], readable[i]);
      const TransPointResult& t = together[i];
      const OutputValues &a = alone.output, &b = t.output;
      EXPECT_TRUE(t.error == alone.error && t.B == alone.B && t.L == alone.L &&
                  t.zoneFound == alone.zoneFound && a.x == b.x && a.y == b.y &&
                  a.distortion == b.distortion && a.convergence == b.convergence &&
                  a.BArcSeconds == b.BArcSeconds && a.LArcSeconds == b.LArcSeconds && a.h == b.h)
          << c.what << ", point " << i;
    }
  }
}

}  // namespace
}  // namespace kolvedir
