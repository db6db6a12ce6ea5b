#include "grid/empirical_corrections.h"

#include "core/datum.h"
#include "core/point_groups.h"
#include "grid/correction_grid.h"
#include "grid/interpolation.h"

namespace kolvedir {
namespace {

constexpr double kSecondsPerDegree = 3600.0;

// Grid step of the empirical method: B, L → shifted B, L, decimal degrees.
using GridShift = void (*)(double B, double L, double& outB, double& outL, PointStatus& status);

// PL-ETRF89 → Pulkovo'42: layers 7 and 8 added, read at the PL-ETRF89 point.
void ForwardShift(double B, double L, double& outB, double& outL, PointStatus& status) {
  constexpr int kLayers[] = {7, 8};
  double d[2];  // dB, dL
  InterpolateLayers(kLayers, B, L, d, status);
  outB = B + LayerUnit(7) * d[0];
  outL = L + LayerUnit(8) * d[1];
}

// The datum transformation on degrees: B, L converted to arc-seconds and back.
// Writes nothing for a point that fails or whose status is already raised.
void DatumInDegrees(std::span<const double> B, std::span<const double> L, std::span<const double> h,
                    int direction, std::span<double> BOut, std::span<double> LOut,
                    std::span<double> hOut, std::span<PointStatus> status) {
  ForEachGroup(B.size(), [&](std::size_t start, std::size_t n) {
    const std::span<PointStatus> s = status.subspan(start, n);
    double BSeconds[kPointsAtOnce], LSeconds[kPointsAtOnce];
    double BSecondsOut[kPointsAtOnce], LSecondsOut[kPointsAtOnce];
    for (std::size_t k = 0; k < n; ++k) {
      BSeconds[k] = kSecondsPerDegree * B[start + k];
      LSeconds[k] = kSecondsPerDegree * L[start + k];
    }
    TransformBlhDatumPoints({BSeconds, n}, {LSeconds, n}, h.subspan(start, n), direction,
                            {BSecondsOut, n}, {LSecondsOut, n}, hOut.subspan(start, n), s);
    for (std::size_t k = 0; k < n; ++k) {
      if (s[k] != 0) continue;
      BOut[start + k] = BSecondsOut[k] / kSecondsPerDegree;
      LOut[start + k] = LSecondsOut[k] / kSecondsPerDegree;
    }
  });
}

// One step between PL-ETRF89 and Pulkovo'42. The empirical method takes B and
// L from the grid and only the height from the datum transformation; the grid
// comes first, so a point it refuses never reaches the datum transformation.
void DatumStep(std::span<const double> B, std::span<const double> L, std::span<const double> h,
               ComputationMethod method, int direction, GridShift shift, std::span<double> BOut,
               std::span<double> LOut, std::span<double> hOut, std::span<PointStatus> status) {
  if (method == ComputationMethod::kTheoretical)
    return DatumInDegrees(B, L, h, direction, BOut, LOut, hOut, status);
  ForEachGroup(B.size(), [&](std::size_t start, std::size_t n) {
    const std::span<PointStatus> s = status.subspan(start, n);
    double shiftedB[kPointsAtOnce], shiftedL[kPointsAtOnce];
    double ignoredB[kPointsAtOnce], ignoredL[kPointsAtOnce];
    bool entered[kPointsAtOnce];
    PrefetchGridCells(B.subspan(start, n), L.subspan(start, n));
    for (std::size_t k = 0; k < n; ++k) {
      entered[k] = s[k] == 0;
      shiftedB[k] = shiftedL[k] = 0;
      if (entered[k]) shift(B[start + k], L[start + k], shiftedB[k], shiftedL[k], s[k]);
    }
    DatumInDegrees(B.subspan(start, n), L.subspan(start, n), h.subspan(start, n), direction,
                   {ignoredB, n}, {ignoredL, n}, hOut.subspan(start, n), s);
    for (std::size_t k = 0; k < n; ++k) {
      if (!entered[k]) continue;
      BOut[start + k] = shiftedB[k];
      LOut[start + k] = shiftedL[k];
    }
  });
}

}  // namespace

void Etrf89ToPulkovoBlhPoints(std::span<const double> B, std::span<const double> L,
                              std::span<const double> h, ComputationMethod method,
                              std::span<double> BOut, std::span<double> LOut,
                              std::span<double> hOut, std::span<PointStatus> status) {
  DatumStep(B, L, h, method, kEtrf89ToPulkovo, ForwardShift, BOut, LOut, hOut, status);
}

void PulkovoToEtrf89BlhPoints(std::span<const double> B, std::span<const double> L,
                              std::span<const double> h, ComputationMethod method,
                              std::span<double> BOut, std::span<double> LOut,
                              std::span<double> hOut, std::span<PointStatus> status) {
  DatumStep(B, L, h, method, kPulkovoToEtrf89, InverseShift, BOut, LOut, hOut, status);
}

void Etrf89ToPulkovoBlh(double B, double L, double h, ComputationMethod method, double& BOut,
                        double& LOut, double& hOut, PointStatus& status) {
  Etrf89ToPulkovoBlhPoints({&B, 1}, {&L, 1}, {&h, 1}, method, {&BOut, 1}, {&LOut, 1}, {&hOut, 1},
                           {&status, 1});
}

void PulkovoToEtrf89Blh(double B, double L, double h, ComputationMethod method, double& BOut,
                        double& LOut, double& hOut, PointStatus& status) {
  PulkovoToEtrf89BlhPoints({&B, 1}, {&L, 1}, {&h, 1}, method, {&BOut, 1}, {&LOut, 1}, {&hOut, 1},
                           {&status, 1});
}

}  // namespace kolvedir
