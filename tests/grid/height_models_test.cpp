#include "grid/height_models.h"

#include <gtest/gtest.h>

#include "tests/grid/grid_test_files.h"

namespace kolvedir {
namespace {

using testing::ConstantLayers;
using testing::FileIndex;
using testing::LoadSyntheticGrid;

// Layers 2 and 3 zero: only the constants −0.00495 m and +0.17084 m act.
TEST(HeightDatums, ConstantsOnlyWhereLayersAreZero) {
  LoadSyntheticGrid(ConstantLayers(0, 40000, 180000));
  PointStatus status = 0;
  const double H = 100.0;
  const double evrf = Kron2006ToEvrf2007(52.0, 19.0, Kron86ToKron2006(52.0, 19.0, H, status), status);
  EXPECT_NEAR(evrf - H, 0.16589, 1e-9);
  const double kron86 = Kron2006ToKron86(52.0, 19.0, Evrf2007ToKron2006(52.0, 19.0, H, status), status);
  EXPECT_NEAR(kron86 - H, -0.16589, 1e-9);
  EXPECT_EQ(status, 0);
}

// Layer k of node (i, j) holds its file index; at a node the bilinear rule
// gives it exactly, scaled by 0.00001 m (layers 2, 3) or 0.0001 m (layer 1).
TEST(HeightDatums, LayersTwoAndThreeEnterWithTheirUnits) {
  LoadSyntheticGrid(FileIndex);
  const double B = 51.0;  // node (200, 300)
  const double L = 17.0;
  const double g1 = FileIndex(200, 300, 1);
  const double g2 = FileIndex(200, 300, 2);
  const double g3 = FileIndex(200, 300, 3);
  PointStatus status = 0;
  EXPECT_NEAR(Kron86ToKron2006(B, L, 10.0, status), 10.0 - 0.00495 + 0.00001 * g2, 1e-9);
  EXPECT_NEAR(Kron2006ToKron86(B, L, 10.0, status), 10.0 + 0.00495 - 0.00001 * g2, 1e-9);
  EXPECT_NEAR(Kron2006ToEvrf2007(B, L, 10.0, status), 10.0 + 0.17084 + 0.00001 * g3, 1e-9);
  EXPECT_NEAR(Evrf2007ToKron2006(B, L, 10.0, status), 10.0 - 0.17084 - 0.00001 * g3, 1e-9);
  EXPECT_NEAR(QuasigeoidAnomaly(B, L, status), 0.0001 * g1, 1e-9);
  EXPECT_EQ(status, 0);
}

// There and back returns the height within 1e-6 m whatever the layer values.
TEST(HeightDatums, RoundTripsReturnTheHeight) {
  LoadSyntheticGrid([](int i, int j, int layer) -> std::int32_t {
    return layer == 7 ? 1 : (i * 7919 + j * 104729 + layer * 31) % 2000001 - 1000000;
  });
  const double points[][2] = {{49.0, 14.0}, {51.2345, 17.6789}, {54.999, 24.199}, {55.0, 24.2}};
  for (const auto& p : points) {
    for (double H : {-5.0, 0.0, 312.456, 2499.9}) {
      PointStatus status = 0;
      const double kron2006 = Kron86ToKron2006(p[0], p[1], H, status);
      EXPECT_NEAR(Kron2006ToKron86(p[0], p[1], kron2006, status), H, 1e-6);
      const double evrf = Kron2006ToEvrf2007(p[0], p[1], kron2006, status);
      EXPECT_NEAR(Evrf2007ToKron2006(p[0], p[1], evrf, status), kron2006, 1e-6);
      EXPECT_EQ(status, 0);
    }
  }
}

TEST(HeightDatums, RefusalInFirstStepMakesSecondReturnZero) {
  LoadSyntheticGrid(ConstantLayers(0, 40000, 180000));
  PointStatus status = 0;
  const double kron2006 = Kron86ToKron2006(56.0, 19.0, 100.0, status);
  EXPECT_NE(status, 0);
  EXPECT_EQ(Kron2006ToEvrf2007(52.0, 19.0, kron2006, status), 0.0);
  EXPECT_EQ(Evrf2007ToKron2006(52.0, 19.0, 100.0, status), 0.0);
  EXPECT_EQ(Kron2006ToKron86(52.0, 19.0, 100.0, status), 0.0);
  EXPECT_EQ(QuasigeoidAnomaly(52.0, 19.0, status), 0.0);
  EXPECT_EQ(QuasigeoidAnomalyEtrf89(52.0, 19.0, status), 0.0);
}

// At a node with layer 1 = 350000 the anomaly is 35.0000 m; carried into
// PL-ETRF89 at B = 51°, L = 17° it becomes about 35.0677 m.
TEST(Quasigeoid, AnomalyInBothFrames) {
  LoadSyntheticGrid(ConstantLayers(350000, 40000, 180000));
  PointStatus status = 0;
  EXPECT_NEAR(QuasigeoidAnomaly(51.0, 17.0, status), 35.0, 1e-9);
  EXPECT_NEAR(QuasigeoidAnomalyEtrf89(51.0, 17.0, status), 35.0677, 0.00005);
  EXPECT_EQ(status, 0);
}

TEST(Quasigeoid, OutsideGridRaisesStatus) {
  LoadSyntheticGrid(ConstantLayers(350000, 40000, 180000));
  PointStatus status = 0;
  EXPECT_EQ(QuasigeoidAnomalyEtrf89(48.9, 17.0, status), 0.0);
  EXPECT_NE(status, 0);
}

}  // namespace
}  // namespace kolvedir
