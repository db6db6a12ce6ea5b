#include "grid/empirical_corrections.h"

#include "core/datum.h"
#include "grid/interpolation.h"

namespace kolvedir {
namespace {

constexpr double kShiftUnit = 0.00000001;  // layers 7 and 8: 1e-8 degree
constexpr double kSecondsPerDegree = 3600.0;

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

// The height of a change between PL-ETRF89 and Pulkovo'42 always comes from
// the datum transformation, also in the empirical method.
void DatumHeight(double B, double L, double h, int direction, double& hOut, PointStatus& status) {
  double BIgnored = 0, LIgnored = 0;
  DatumInDegrees(B, L, h, direction, BIgnored, LIgnored, hOut, status);
}

}  // namespace

void Etrf89ToPulkovoBlh(double B, double L, double h, ComputationMethod method, double& BOut,
                        double& LOut, double& hOut, PointStatus& status) {
  if (status != 0) return;
  if (method == ComputationMethod::kTheoretical) {
    DatumInDegrees(B, L, h, kEtrf89ToPulkovo, BOut, LOut, hOut, status);
    return;
  }
  const double shiftedB = B + kShiftUnit * InterpolateLayer(7, B, L, status);
  const double shiftedL = L + kShiftUnit * InterpolateLayer(8, B, L, status);
  DatumHeight(B, L, h, kEtrf89ToPulkovo, hOut, status);
  BOut = shiftedB;
  LOut = shiftedL;
}

void PulkovoToEtrf89Blh(double B, double L, double h, ComputationMethod method, double& BOut,
                        double& LOut, double& hOut, PointStatus& status) {
  if (status != 0) return;
  if (method == ComputationMethod::kTheoretical) {
    DatumInDegrees(B, L, h, kPulkovoToEtrf89, BOut, LOut, hOut, status);
    return;
  }
  double shiftedB = 0, shiftedL = 0;
  InverseShift(B, L, shiftedB, shiftedL, status);
  DatumHeight(B, L, h, kPulkovoToEtrf89, hOut, status);
  BOut = shiftedB;
  LOut = shiftedL;
}

}  // namespace kolvedir
