#pragma once
// Reading the loaded correction grid at an arbitrary point.
//
// The cell of a point is row i = trunc(100·(B − 49)), column
// j = trunc(100·(L − 14)); it is valid when 0 ≤ i ≤ 600, 0 ≤ j ≤ 1020 and
// layer 7 is nonzero at its four corners (i, j), (i + 1, j), (i + 1, j + 1),
// (i, j + 1). An invalid cell (also a NaN or infinite coordinate) increments
// the status. Whenever the status is nonzero after that test (also when it
// was nonzero on entry) the result is 0 (or 0, 0). Nothing is allocated.
#include <span>

#include "core/point_status.h"

namespace kolvedir {

// Value of one layer at (B, L), unscaled, in the layer's own unit (see GridNode).
//   layer: 1..8; layers 1–6 are blended bilinearly, 7 and 8 by inverse-distance
//   weighting (latitude offset stretched by 1.5). Another layer number is
//   refused like a point outside the grid.
//   B: latitude, decimal degrees; L: longitude, decimal degrees. The grid accepts
//   B from just above 48.99 to just below 55.01 and L from just above 13.99 to
//   just below 24.21 (below 49° and west of 14° it extrapolates; beyond 55° and
//   24.2° it holds the last row and column), where layer 7 is nonzero.
double InterpolateLayer(int layer, double B, double L, PointStatus& status);

// Asks the processor to bring the grid nodes of the cells of points B[k],
// L[k] (decimal degrees) into its cache, so that the reads of a group of
// points wait for memory together rather than one after another. Changes
// nothing; points outside the grid are passed by.
void PrefetchGridCells(std::span<const double> B, std::span<const double> L);

// Several layers at one point, the cell located once: values[k] and the status
// are those of InterpolateLayer called for layers[k], k = 0, 1, ... in turn.
// values holds at least as many elements as layers.
void InterpolateLayers(std::span<const int> layers, double B, double L, std::span<double> values,
                       PointStatus& status);

// Undoes the layer 7/8 shift: B, L in Pulkovo'42, decimal degrees (same range as
// InterpolateLayer); outB, outL the PL-ETRF89 latitude and longitude in decimal
// degrees, or 0 and 0 when refused.
void InverseShift(double B, double L, double& outB, double& outL, PointStatus& status);

}  // namespace kolvedir
