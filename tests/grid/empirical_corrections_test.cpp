#include "grid/empirical_corrections.h"

#include <gtest/gtest.h>

#include "grid/frame_transformation.h"
#include "tests/grid/grid_test_files.h"

namespace kolvedir {
namespace {

using testing::ConstantLayers;
using testing::Dms;
using testing::kArcSecond;
using testing::LoadSyntheticGrid;

// Theoretical method: the datum transformation's worked points, printed to
// 1e-6″ and 0.1 mm.
struct DatumCase {
  const char* source;
  bool forward;  // PL-ETRF89 → Pulkovo'42
  double B, L, h;
  double expectedB, expectedL, expectedH;
};

const DatumCase kDatumCases[] = {
    {"PL-2000 point image, forward", true, Dms(50, 59, 59.999553), Dms(17, 0, 0.000690), 0.0677,
     Dms(51, 0, 1.247328), Dms(17, 0, 6.407131), -38.0689},
    {"B 51, L 17 forward", true, 51.0, 17.0, 0.0, Dms(51, 0, 1.247775), Dms(17, 0, 6.406441),
     -38.1366},
    {"Pulkovo B 52, L 19 back", false, 52.0, 19.0, 0.0, Dms(51, 59, 58.909977),
     Dms(18, 59, 53.461532), 34.2870},
};

TEST(PulkovoBlh, TheoreticalWorkedPoints) {
  for (const DatumCase& c : kDatumCases) {
    PointStatus status = 0;
    double B = 0, L = 0, h = 0;
    if (c.forward) {
      Etrf89ToPulkovoBlh(c.B, c.L, c.h, ComputationMethod::kTheoretical, B, L, h, status);
    } else {
      PulkovoToEtrf89Blh(c.B, c.L, c.h, ComputationMethod::kTheoretical, B, L, h, status);
    }
    EXPECT_EQ(status, 0) << c.source;
    EXPECT_NEAR(B, c.expectedB, 0.000001 * kArcSecond) << c.source;
    EXPECT_NEAR(L, c.expectedL, 0.000001 * kArcSecond) << c.source;
    EXPECT_NEAR(h, c.expectedH, 0.00005) << c.source;
  }
}

// Constant layers 7 and 8: the forward step adds them, the inverse shift
// removes them; the height is the datum transformation's in both methods.
TEST(PulkovoBlh, EmpiricalConstantShiftThereAndBack) {
  const std::int32_t a = 34660;
  const std::int32_t b = 177957;
  LoadSyntheticGrid(ConstantLayers(0, a, b));
  const double points[][3] = {{51.0, 17.0, 0.0}, {49.5, 14.5, 250.0}, {54.8, 23.9, -10.0}};
  for (const auto& p : points) {
    PointStatus status = 0;
    double B = 0, L = 0, h = 0;
    Etrf89ToPulkovoBlh(p[0], p[1], p[2], ComputationMethod::kEmpirical, B, L, h, status);
    ASSERT_EQ(status, 0);
    EXPECT_NEAR(B, p[0] + 1e-8 * a, 1e-12);
    EXPECT_NEAR(L, p[1] + 1e-8 * b, 1e-12);
    double BT = 0, LT = 0, hT = 0;
    Etrf89ToPulkovoBlh(p[0], p[1], p[2], ComputationMethod::kTheoretical, BT, LT, hT, status);
    EXPECT_EQ(h, hT);
    EXPECT_NE(B, BT);

    double B89 = 0, L89 = 0, h89 = 0;
    PulkovoToEtrf89Blh(B, L, h, ComputationMethod::kEmpirical, B89, L89, h89, status);
    ASSERT_EQ(status, 0);
    EXPECT_NEAR(B89, p[0], 1e-12);
    EXPECT_NEAR(L89, p[1], 1e-12);
    PulkovoToEtrf89Blh(B, L, h, ComputationMethod::kTheoretical, BT, LT, hT, status);
    EXPECT_EQ(h89, hT);
  }
}

// A point refused by the grid never reaches the datum transformation: the
// height result stays as it was.
TEST(PulkovoBlh, EmpiricalRefusedPointSkipsDatum) {
  LoadSyntheticGrid(ConstantLayers(0, 34660, 177957));
  PointStatus status = 0;
  double B = 0, L = 0, h = 123.0;
  Etrf89ToPulkovoBlh(48.5, 17.0, 0.0, ComputationMethod::kEmpirical, B, L, h, status);
  EXPECT_NE(status, 0);
  EXPECT_EQ(h, 123.0);
  status = 0;
  PulkovoToEtrf89Blh(51.0, 25.0, 0.0, ComputationMethod::kEmpirical, B, L, h, status);
  EXPECT_NE(status, 0);
  EXPECT_EQ(h, 123.0);
}

// Every frame step, either method: a nonzero status on entry leaves the
// results as they were and the status unchanged.
TEST(FrameSteps, NonzeroStatusOnEntryLeavesResults) {
  using Step = void (*)(double, double, double, ComputationMethod, double&, double&, double&,
                        PointStatus&);
  const Step steps[] = {Etrf89ToPulkovoBlh, PulkovoToEtrf89Blh, Etrf89ToEtrf2000Blh,
                        Etrf2000ToEtrf89Blh};
  LoadSyntheticGrid(ConstantLayers(100, 34660, 177957));
  for (Step step : steps) {
    for (auto method : {ComputationMethod::kEmpirical, ComputationMethod::kTheoretical}) {
      PointStatus status = 4;
      double B = 1, L = 2, h = 3;
      step(51.0, 17.0, 0.0, method, B, L, h, status);
      EXPECT_EQ(B, 1);
      EXPECT_EQ(L, 2);
      EXPECT_EQ(h, 3);
      EXPECT_EQ(status, 4);
    }
  }
}

}  // namespace
}  // namespace kolvedir
