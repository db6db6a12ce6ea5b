#include "grid/interpolation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "grid/correction_grid.h"
#include "tests/grid/grid_test_files.h"

namespace kolvedir {
namespace {

using testing::ConstantLayers;
using testing::FileIndex;
using testing::LoadSyntheticGrid;

// The cell with lower-left node (200, 300), at B = 51°, L = 17°.
constexpr int kRow = 200;
constexpr int kColumn = 300;

// Corner values q1..q4 (N1 (i, j), N2 (i + 1, j), N3 (i + 1, j + 1), N4 (i, j + 1))
// of cell (200, 300) in every layer; layer 7 one more so that it stays nonzero.
// Elsewhere every layer is 5.
testing::LayerFunction CellCorners(std::int32_t q1, std::int32_t q2, std::int32_t q3,
                                   std::int32_t q4) {
  return [=](int i, int j, int layer) -> std::int32_t {
    const int di = i - kRow;
    const int dj = j - kColumn;
    if (di < 0 || di > 1 || dj < 0 || dj > 1) return 5;
    const std::int32_t q = di == 0 ? (dj == 0 ? q1 : q4) : (dj == 0 ? q2 : q3);
    return layer == 7 ? q + 1 : q;
  };
}

double CellB(double y) { return 51.0 + 0.01 * y; }
double CellL(double x) { return 17.0 + 0.01 * x; }

// Worked figures of the two blending rules in one cell.
struct BlendCase {
  std::int32_t q[4];
  double y, x;
  double bilinear;   // layers 1–6
  double weighted;   // layer 8 (layer 7 is one more)
  double tolerance;  // unit of the layer
};

const BlendCase kBlendCases[] = {
    // Centre of the cell: both rules give the mean of the corners.
    {{0, 1000, 1000, 0}, 0.5, 0.5, 500.0, 500.0, 1e-9},
    {{-400, 200, 1000, 3000}, 0.5, 0.5, 950.0, 950.0, 1e-9},
    // At a node the bilinear rule is exact, the weighted one is not.
    {{0, 1000, 1000, 1000}, 0.0, 0.0, 0.0, 2.2164425988887566, 1e-4},
    // y = 0.25, x = 0.5.
    {{0, 1000, 1000, 0}, 0.25, 0.5, 250.0, 336.726448433151, 1e-4},
};

TEST(InterpolateLayer, BlendsCornersByLayerRule) {
  for (const BlendCase& c : kBlendCases) {
    LoadSyntheticGrid(CellCorners(c.q[0], c.q[1], c.q[2], c.q[3]));
    for (int layer = 1; layer <= 8; ++layer) {
      PointStatus status = 0;
      const double value = InterpolateLayer(layer, CellB(c.y), CellL(c.x), status);
      const double expected = layer <= 6 ? c.bilinear : c.weighted + (layer == 7 ? 1 : 0);
      EXPECT_NEAR(value, expected, c.tolerance) << "layer " << layer << " y " << c.y << " x " << c.x;
      EXPECT_EQ(status, 0);
    }
  }
}

// The file-index grid is linear in i and j per layer, so bilinear blending
// reproduces it exactly inside; beyond the last row and column the edge
// copies hold it constant, and south of 49° it extrapolates.
double IndexAt(double row, double column, int layer) {
  return 8 * (1021 * row + column) + layer - 1;
}

struct EdgeCase {
  const char* what;
  double B, L;
  double row, column;  // where the linear index function is evaluated
};

const EdgeCase kEdgeCases[] = {
    {"inner point", 52.3456, 18.7654, 334.56, 476.54},
    {"south-west node", 49.0, 14.0, 0, 0},
    {"B = 55 is row 600, y = 0", 55.0, 17.005, 600, 300.5},
    {"beyond 55 only row 600 counts", 55.005, 17.005, 600, 300.5},
    {"L = 24.2 is column 1020", 51.005, 24.2, 200.5, 1020},
    {"beyond 24.2 only column 1020 counts", 51.005, 24.205, 200.5, 1020},
    {"north-east corner cell", 55.009, 24.209, 600, 1020},
    {"just south of 49 extrapolates", 48.995, 17.0, -0.5, 300},
    {"just west of 14 extrapolates", 51.0, 13.995, 200, -0.5},
};

TEST(InterpolateLayer, EdgeRowsAndColumns) {
  LoadSyntheticGrid(FileIndex);
  for (const EdgeCase& c : kEdgeCases) {
    for (int layer = 1; layer <= 6; ++layer) {
      PointStatus status = 0;
      EXPECT_NEAR(InterpolateLayer(layer, c.B, c.L, status), IndexAt(c.row, c.column, layer), 1e-5)
          << c.what << ", layer " << layer;
      EXPECT_EQ(status, 0) << c.what;
    }
  }
}

struct OutsidePoint {
  const char* what;
  double B, L;
};

const OutsidePoint kOutsidePoints[] = {
    {"row 601", 55.015, 17.0},
    {"column 1021", 51.0, 24.215},
    {"row -1", 48.985, 17.0},
    {"column -1", 51.0, 13.985},
    {"far away", -33.0, 151.0},
    {"huge latitude", 1e300, 17.0},
    {"NaN latitude", std::numeric_limits<double>::quiet_NaN(), 17.0},
    {"infinite longitude", 51.0, std::numeric_limits<double>::infinity()},
};

TEST(InterpolateLayer, RefusesPointsOutsideTheGrid) {
  LoadSyntheticGrid(FileIndex);
  for (const OutsidePoint& p : kOutsidePoints) {
    for (int layer = 1; layer <= 8; ++layer) {
      PointStatus status = 0;
      EXPECT_EQ(InterpolateLayer(layer, p.B, p.L, status), 0.0) << p.what;
      EXPECT_EQ(status, 1) << p.what;
    }
    PointStatus status = 0;
    double outB = 99, outL = 99;
    InverseShift(p.B, p.L, outB, outL, status);
    EXPECT_EQ(status, 1) << p.what;
    EXPECT_EQ(outB, 0.0) << p.what;
    EXPECT_EQ(outL, 0.0) << p.what;
  }
}

TEST(InterpolateLayer, RefusesLayerNumbersOutsideOneToEight) {
  LoadSyntheticGrid(FileIndex);
  for (int layer : {0, 9, -1}) {
    PointStatus status = 0;
    EXPECT_EQ(InterpolateLayer(layer, 51.0, 17.0, status), 0.0);
    EXPECT_NE(status, 0) << layer;
  }
}

// Layer 7 is 0 at node (100, 100): the four cells around it are refused for
// every layer and for the inverse shift; the cells beside them are not.
TEST(InterpolateLayer, MaskedCornerRefusesItsCells) {
  LoadSyntheticGrid([](int i, int j, int layer) -> std::int32_t {
    if (layer == 7) return i == 100 && j == 100 ? 0 : 40000;
    return -573;
  });
  struct Point {
    double B, L;
    bool refused;
  };
  const Point points[] = {
      {50.005, 15.005, true},   // cell (100, 100): N1 masked
      {49.995, 15.005, true},   // cell (99, 100): N2 masked
      {49.995, 14.995, true},   // cell (99, 99): N3 masked
      {50.005, 14.995, true},   // cell (100, 99): N4 masked
      {50.0, 15.0, true},       // the masked node itself
      {50.015, 15.005, false},  // cell (101, 100)
      {50.005, 15.015, false},  // cell (100, 101)
      {49.985, 14.985, false},  // cell (98, 98)
  };
  for (const Point& p : points) {
    for (int layer = 1; layer <= 8; ++layer) {
      PointStatus status = 0;
      const double value = InterpolateLayer(layer, p.B, p.L, status);
      EXPECT_EQ(status != 0, p.refused) << p.B << " " << p.L << " layer " << layer;
      const double expected = p.refused ? 0.0 : layer == 7 ? 40000.0 : -573.0;
      EXPECT_NEAR(value, expected, 1e-9) << p.B << " " << p.L << " layer " << layer;
    }
    PointStatus status = 0;
    double outB = 0, outL = 0;
    InverseShift(p.B, p.L, outB, outL, status);
    EXPECT_EQ(status != 0, p.refused) << p.B << " " << p.L;
  }
}

// A nonzero status on entry: zero results for a valid point, status kept;
// an invalid point still counts up.
TEST(InterpolateLayer, NonzeroStatusOnEntryGivesZero) {
  LoadSyntheticGrid(ConstantLayers(250, 300, 400));
  PointStatus status = 2;
  EXPECT_EQ(InterpolateLayer(1, 51.0, 17.0, status), 0.0);
  EXPECT_EQ(InterpolateLayer(7, 51.0, 17.0, status), 0.0);
  EXPECT_EQ(status, 2);
  double outB = 1, outL = 1;
  InverseShift(51.0, 17.0, outB, outL, status);
  EXPECT_EQ(outB, 0.0);
  EXPECT_EQ(outL, 0.0);
  EXPECT_EQ(status, 2);
  EXPECT_EQ(InterpolateLayer(1, 60.0, 17.0, status), 0.0);
  EXPECT_EQ(status, 3);
}

// Layers read together give what one layer after the other gives, status included.
TEST(InterpolateLayers, AsEachLayerInTurn) {
  LoadSyntheticGrid([](int i, int j, int layer) -> std::int32_t {
    if (layer == 7) return i == 100 && j == 100 ? 0 : 40000 + i - j;
    return 17 * i - 5 * j + 1000 * layer;
  });
  const struct {
    double B, L;
    PointStatus entry;
  } points[] = {
      {51.2345, 17.6789, 0}, {51.2345, 17.6789, 2}, {50.005, 15.005, 0},  // masked cell
      {60.0, 17.0, 0},       {60.0, 17.0, 1},       {std::nan(""), 17.0, 0},
  };
  const std::vector<std::vector<int>> layerSets = {{4, 5, 6}, {7, 8}, {1, 0, 8}, {9, 2}};
  for (const auto& p : points) {
    for (const std::vector<int>& layers : layerSets) {
      PointStatus expectedStatus = p.entry, status = p.entry;
      std::vector<double> expected, values(layers.size(), -1.0);
      for (int layer : layers) expected.push_back(InterpolateLayer(layer, p.B, p.L, expectedStatus));
      InterpolateLayers(layers, p.B, p.L, values, status);
      EXPECT_EQ(values, expected) << p.B << " " << p.L << " layers from " << layers[0];
      EXPECT_EQ(status, expectedStatus) << p.B << " " << p.L << " layers from " << layers[0];
    }
  }
}

TEST(InterpolateLayer, RaisedStatusNeverWrapsToZero) {
  LoadSyntheticGrid(ConstantLayers(250, 300, 400));
  PointStatus status = std::numeric_limits<PointStatus>::max();
  InterpolateLayer(1, 60.0, 17.0, status);
  EXPECT_NE(status, 0);
}

TEST(InverseShift, ConstantShiftIsUndoneExactly) {
  struct Case {
    std::int32_t a, b;
    double B, L;
  };
  const Case cases[] = {
      {34660, 177957, 51.0003466, 17.0017796},
      {-1200, 5000, 52.123456, 20.654321},
      {1, -1, 54.999, 24.199},
  };
  for (const Case& c : cases) {
    LoadSyntheticGrid(ConstantLayers(0, c.a, c.b));
    PointStatus status = 0;
    double outB = 0, outL = 0;
    InverseShift(c.B, c.L, outB, outL, status);
    EXPECT_EQ(status, 0);
    EXPECT_NEAR(outB, c.B - 1e-8 * c.a, 1e-12);
    EXPECT_NEAR(outL, c.L - 1e-8 * c.b, 1e-12);
  }
}

// Displaced nodes pull the weights: a point that lands exactly on the displaced
// position of N1 is moved by mostly N1's shift (weights flattened by the floor).
TEST(InverseShift, WeightsFollowDisplacedNodes) {
  LoadSyntheticGrid(CellCorners(100000, 200000, 300000, 400000));
  const double B = 51.0 + 1e-8 * 100001;  // layer 7 of N1 is q1 + 1
  const double L = 17.0 + 1e-8 * 100000;
  PointStatus status = 0;
  double outB = 0, outL = 0;
  InverseShift(B, L, outB, outL, status);
  ASSERT_EQ(status, 0);
  // Hand-computed weights: distances to the four displaced nodes with the
  // 1.5 stretch and the 0.00001 floor.
  const double nodeB[4] = {51.0 + 1e-8 * 100001, 51.01 + 1e-8 * 200001, 51.01 + 1e-8 * 300001,
                           51.0 + 1e-8 * 400001};
  const double nodeL[4] = {17.0 + 1e-8 * 100000, 17.0 + 1e-8 * 200000, 17.01 + 1e-8 * 300000,
                           17.01 + 1e-8 * 400000};
  const double a[4] = {100001, 200001, 300001, 400001};
  const double b[4] = {100000, 200000, 300000, 400000};
  double sw = 0, sa = 0, sb = 0;
  for (int k = 0; k < 4; ++k) {
    const double w = 1 / std::sqrt(std::pow(1.5 * (B - nodeB[k]), 2) + std::pow(L - nodeL[k], 2) + 1e-5);
    sw += w;
    sa += a[k] * w;
    sb += b[k] * w;
  }
  EXPECT_NEAR(outB, B - 1e-8 * sa / sw, 1e-12);
  EXPECT_NEAR(outL, L - 1e-8 * sb / sw, 1e-12);
  EXPECT_LT(sa / sw, 250001.0);  // N1 weighs more than the others
}

}  // namespace
}  // namespace kolvedir
