#include "grid/interpolation.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "grid/correction_grid.h"

namespace kolvedir {
namespace {

constexpr int kMaskLayer = 7;
constexpr double kNodesPerDegree = 100.0;
// Inverse-distance weighting of layers 7 and 8: latitude offsets count 1.5
// times; the floors under the root keep a weight finite at a node (cell units
// squared for the forward blend, degrees squared for the inverse shift).
constexpr double kLatitudeStretch = 1.5;
constexpr double kForwardFloor = 0.000001;
constexpr double kInverseFloor = 0.00001;

struct GridCell {
  int i = 0;  // row of the lower-left corner N1
  int j = 0;  // column of N1
};

// Corners in the fixed order N1 (i, j), N2 (i + 1, j), N3 (i + 1, j + 1), N4 (i, j + 1).
constexpr int kCornerRow[4] = {0, 1, 1, 0};
constexpr int kCornerColumn[4] = {0, 0, 1, 1};

// A raised status stays nonzero: counts up, never wraps to zero.
void RaiseStatus(PointStatus& status) {
  if (status >= 0 && status < std::numeric_limits<PointStatus>::max()) ++status;
}

// Cell of (B, L): row trunc(100·(B − 49)), column trunc(100·(L − 14)), valid
// when both lie in the file's range and layer 7 is nonzero at all four
// corners. The range is tested on the unconverted values so that NaN and huge
// coordinates are refused before any conversion or store read.
bool CellInRange(double B, double L, GridCell& cell) {
  const double row = std::trunc(kNodesPerDegree * (B - kGridSouth));
  const double column = std::trunc(kNodesPerDegree * (L - kGridWest));
  if (!(row >= 0.0 && row <= kGridFileRows - 1 && column >= 0.0 && column <= kGridFileColumns - 1)) {
    return false;
  }
  cell.i = static_cast<int>(row);
  cell.j = static_cast<int>(column);
  return true;
}

bool LocateCell(double B, double L, GridCell& cell) {
  if (!CellInRange(B, L, cell)) return false;
  for (int k = 0; k < 4; ++k) {
    if (CorrectionGridValue(kMaskLayer, cell.i + kCornerRow[k], cell.j + kCornerColumn[k]) == 0) {
      return false;
    }
  }
  return true;
}

// Locates the cell and applies the status rule shared by both operations:
// true only when the cell is valid and the status is 0.
bool AcceptPoint(double B, double L, GridCell& cell, PointStatus& status) {
  if (!LocateCell(B, L, cell)) RaiseStatus(status);
  return status == 0;
}

double Corner(int layer, const GridCell& cell, int k) {
  return CorrectionGridValue(layer, cell.i + kCornerRow[k], cell.j + kCornerColumn[k]);
}

// Layer `layer` (1..8) blended at (B, L) in its valid cell.
double Blend(int layer, const GridCell& cell, double B, double L) {
  const double q1 = Corner(layer, cell, 0);
  const double q2 = Corner(layer, cell, 1);
  const double q3 = Corner(layer, cell, 2);
  const double q4 = Corner(layer, cell, 3);
  // Fractions of the cell, northward and eastward; negative just south of 49°
  // or west of 14°, where the blend extrapolates.
  const double y = kNodesPerDegree * B - (4900 + cell.i);
  const double x = kNodesPerDegree * L - (1400 + cell.j);

  if (layer < kMaskLayer) {
    return q1 * (1 - y) * (1 - x) + q2 * y * (1 - x) + q3 * y * x + q4 * (1 - y) * x;
  }
  const double sy = kLatitudeStretch * y;
  const double sy1 = kLatitudeStretch * (1 - y);
  const double w1 = 1 / std::sqrt(sy * sy + x * x + kForwardFloor);
  const double w2 = 1 / std::sqrt(sy1 * sy1 + x * x + kForwardFloor);
  const double w3 = 1 / std::sqrt(sy1 * sy1 + (1 - x) * (1 - x) + kForwardFloor);
  const double w4 = 1 / std::sqrt(sy * sy + (1 - x) * (1 - x) + kForwardFloor);
  return (q1 * w1 + q2 * w2 + q3 * w3 + q4 * w4) / (w1 + w2 + w3 + w4);
}

}  // namespace

void PrefetchGridCells(std::span<const double> B, std::span<const double> L) {
  for (std::size_t k = 0; k < B.size(); ++k) {
    GridCell cell;
    if (!CellInRange(B[k], L[k], cell)) continue;
    for (int corner = 0; corner < 4; ++corner)
      __builtin_prefetch(
          &CorrectionGridNode(cell.i + kCornerRow[corner], cell.j + kCornerColumn[corner]));
  }
}

void InterpolateLayers(std::span<const int> layers, double B, double L, std::span<double> values,
                       PointStatus& status) {
  GridCell cell;
  const bool located = LocateCell(B, L, cell);
  for (std::size_t k = 0; k < layers.size(); ++k) {
    const int layer = layers[k];
    values[k] = 0.0;
    if (layer < 1 || layer > kGridLayers || !located) {
      RaiseStatus(status);
    } else if (status == 0) {
      values[k] = Blend(layer, cell, B, L);
    }
  }
}

double InterpolateLayer(int layer, double B, double L, PointStatus& status) {
  double value = 0.0;
  InterpolateLayers({&layer, 1}, B, L, {&value, 1}, status);
  return value;
}

void InverseShift(double B, double L, double& outB, double& outL, PointStatus& status) {
  GridCell cell;
  if (!AcceptPoint(B, L, cell, status)) {
    outB = 0.0;
    outL = 0.0;
    return;
  }
  double sumA = 0.0;
  double sumB = 0.0;
  double sumW = 0.0;
  for (int k = 0; k < 4; ++k) {
    const int row = cell.i + kCornerRow[k];
    const int column = cell.j + kCornerColumn[k];
    const double a = CorrectionGridValue(7, row, column);
    const double b = CorrectionGridValue(8, row, column);
    // Layers 7 and 8 share one unit.
    // Where node k lands in Pulkovo'42 under the forward shift.
    const double nodeB = (kGridSouth + kGridStep * row) + LayerUnit(7) * a;
    const double nodeL = (kGridWest + kGridStep * column) + LayerUnit(7) * b;
    const double dB = kLatitudeStretch * (B - nodeB);
    const double dL = L - nodeL;
    const double w = 1 / std::sqrt(dB * dB + dL * dL + kInverseFloor);
    sumA += a * w;
    sumB += b * w;
    sumW += w;
  }
  outB = B - LayerUnit(7) * sumA / sumW;
  outL = L - LayerUnit(7) * sumB / sumW;
}

}  // namespace kolvedir
