#include "grid/frame_transformation.h"

#include <gtest/gtest.h>

#include "tests/grid/grid_test_files.h"

namespace kolvedir {
namespace {

using testing::ConstantLayers;
using testing::Dms;
using testing::kArcSecond;
using testing::LoadSyntheticGrid;

TEST(EtrfXyz, CentroidMovesByTheConstantTermsOnly) {
  PointStatus status = 0;
  double X = 0, Y = 0, Z = 0;
  Etrf89ToEtrf2000Xyz(3696570.6591, 1297521.5905, 5011111.1273, X, Y, Z, status);
  EXPECT_NEAR(X - 3696570.6591, -0.0322, 1e-9);
  EXPECT_NEAR(Y - 1297521.5905, -0.0347, 1e-9);
  EXPECT_NEAR(Z - 5011111.1273, -0.0507, 1e-9);
  Etrf2000ToEtrf89Xyz(3696570.6268, 1297521.5559, 5011111.0767, X, Y, Z, status);
  EXPECT_NEAR(X - 3696570.6268, 0.0322, 1e-9);
  EXPECT_NEAR(Y - 1297521.5559, 0.0347, 1e-9);
  EXPECT_NEAR(Z - 5011111.0767, 0.0507, 1e-9);
  EXPECT_EQ(status, 0);
}

// Points across Poland and far from the centroid: there and back within 1e-6 m.
TEST(EtrfXyz, RoundTripReturnsStart) {
  const double points[][3] = {{3846287.0508, 1175927.9611, 4933544.6201},
                              {3500000.0, 1500000.0, 5200000.0},
                              {3696570.6591, 1297521.5905, 5011111.1273}};
  for (const auto& p : points) {
    PointStatus status = 0;
    double X = 0, Y = 0, Z = 0;
    Etrf89ToEtrf2000Xyz(p[0], p[1], p[2], X, Y, Z, status);
    EXPECT_GT(std::abs(X - p[0]) + std::abs(Y - p[1]) + std::abs(Z - p[2]), 0.01);
    Etrf2000ToEtrf89Xyz(X, Y, Z, X, Y, Z, status);
    EXPECT_NEAR(X, p[0], 1e-6);
    EXPECT_NEAR(Y, p[1], 1e-6);
    EXPECT_NEAR(Z, p[2], 1e-6);
  }
}

// Theoretical method, PL-ETRF2000 B = 51°, L = 17°, h = 0 → PL-ETRF89
// 50°59′59.999684″, 17°00′00.000937″, 0.0677 m (figures printed to 1e-6″ and 0.1 mm).
TEST(EtrfBlh, TheoreticalWorkedPoint) {
  PointStatus status = 0;
  double B = 0, L = 0, h = 0;
  Etrf2000ToEtrf89Blh(51.0, 17.0, 0.0, ComputationMethod::kTheoretical, B, L, h, status);
  ASSERT_EQ(status, 0);
  EXPECT_NEAR(B, Dms(50, 59, 59.999684), 0.000001 * kArcSecond);
  EXPECT_NEAR(L, Dms(17, 0, 0.000937), 0.000001 * kArcSecond);
  EXPECT_NEAR(h, 0.0677, 0.00005);
  double B2 = 0, L2 = 0, h2 = 0;
  Etrf89ToEtrf2000Blh(B, L, h, ComputationMethod::kTheoretical, B2, L2, h2, status);
  EXPECT_NEAR(B2, 51.0, 0.00001 * kArcSecond);
  EXPECT_NEAR(L2, 17.0, 0.00001 * kArcSecond);
  EXPECT_NEAR(h2, 0.0, 0.00001);
}

// Empirical method, layers 4, 5, 6 constant at 100, −200, −573 (1e-9°, 1e-9°, 0.1 mm).
TEST(EtrfBlh, EmpiricalAddsLayersFourToSix) {
  LoadSyntheticGrid([](int, int, int layer) -> std::int32_t {
    switch (layer) {
      case 4: return 100;
      case 5: return -200;
      case 6: return -573;
      case 7: return 30000;
      default: return 0;
    }
  });
  PointStatus status = 0;
  double B = 0, L = 0, h = 0;
  Etrf2000ToEtrf89Blh(52.25, 19.5, 100.0, ComputationMethod::kEmpirical, B, L, h, status);
  EXPECT_EQ(status, 0);
  EXPECT_NEAR(B, 52.25 - 0.0000001, 1e-13);
  EXPECT_NEAR(L, 19.5 + 0.0000002, 1e-13);
  EXPECT_NEAR(h, 100.0573, 1e-10);
  Etrf89ToEtrf2000Blh(52.25, 19.5, 100.0, ComputationMethod::kEmpirical, B, L, h, status);
  EXPECT_NEAR(B, 52.25 + 0.0000001, 1e-13);
  EXPECT_NEAR(L, 19.5 - 0.0000002, 1e-13);
  EXPECT_NEAR(h, 100.0 - 0.0573, 1e-10);
}

TEST(EtrfBlh, EmpiricalOutsideGridRaisesStatusAndKeepsInput) {
  LoadSyntheticGrid(ConstantLayers(100, 30000, 180000));
  PointStatus status = 0;
  double B = 1, L = 2, h = 3;
  Etrf89ToEtrf2000Blh(56.0, 19.5, 100.0, ComputationMethod::kEmpirical, B, L, h, status);
  EXPECT_NE(status, 0);
  EXPECT_EQ(B, 56.0);
  EXPECT_EQ(L, 19.5);
  EXPECT_EQ(h, 100.0);
}

TEST(EtrfXyz, NonzeroStatusOnEntryLeavesResults) {
  PointStatus status = 4;
  double X = 7, Y = 8, Z = 9;
  Etrf89ToEtrf2000Xyz(3.8e6, 1.1e6, 4.9e6, X, Y, Z, status);
  Etrf2000ToEtrf89Xyz(3.8e6, 1.1e6, 4.9e6, X, Y, Z, status);
  EXPECT_EQ(X, 7);
  EXPECT_EQ(Y, 8);
  EXPECT_EQ(Z, 9);
  EXPECT_EQ(status, 4);
}

}  // namespace
}  // namespace kolvedir
