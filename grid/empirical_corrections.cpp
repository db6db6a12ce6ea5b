#include "grid/empirical_corrections.h"

#include "core/datum.h"
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
// Writes nothing when it fails or the status is already raised.
void DatumInDegrees(double B, double L, double h, int direction, double& BOut, double& LOut,
                    double& hOut, PointStatus& status) {
  double BSeconds = 0, LSeconds = 0, height = 0;
  TransformBlhDatum(kSecondsPerDegree * B, kSecondsPerDegree * L, h, direction, BSeconds,
                    LSeconds, height, status);
  if (status != 0) return;
  BOut = BSeconds / kSecondsPerDegree;
  LOut = LSeconds / kSecondsPerDegree;
  hOut = height;
}

// One step between PL-ETRF89 and Pulkovo'42. The empirical method takes B and
// L from the grid and only the height from the datum transformation; the grid
// comes first, so a point it refuses never reaches the datum transformation.
void DatumStep(double B, double L, double h, ComputationMethod method, int direction,
               GridShift shift, double& BOut, double& LOut, double& hOut, PointStatus& status) {
  if (status != 0) return;
  if (method == ComputationMethod::kTheoretical) {
    DatumInDegrees(B, L, h, direction, BOut, LOut, hOut, status);
    return;
  }
  double shiftedB = 0, shiftedL = 0;
  shift(B, L, shiftedB, shiftedL, status);
  double BIgnored = 0, LIgnored = 0;
  DatumInDegrees(B, L, h, direction, BIgnored, LIgnored, hOut, status);
  BOut = shiftedB;
  LOut = shiftedL;
}

}  // namespace

void Etrf89ToPulkovoBlh(double B, double L, double h, ComputationMethod method, double& BOut,
                        double& LOut, double& hOut, PointStatus& status) {
  DatumStep(B, L, h, method, kEtrf89ToPulkovo, ForwardShift, BOut, LOut, hOut, status);
}

void PulkovoToEtrf89Blh(double B, double L, double h, ComputationMethod method, double& BOut,
                        double& LOut, double& hOut, PointStatus& status) {
  DatumStep(B, L, h, method, kPulkovoToEtrf89, InverseShift, BOut, LOut, hOut, status);
}

}  // namespace kolvedir
