#include "engine/point_outcome.h"

#include <optional>

#include "engine/point_checks.h"
#include "engine/trans_chain.h"
#include "grid/height_models.h"

namespace kolvedir {

namespace {

// Normal height H (m) from datum `from` to datum `to`, through PL-KRON2006-NH,
// every step read at the same B, L (degrees). Equal datums copy H and read no grid.
double ChangeHeightDatum(std::int32_t from, std::int32_t to, double B, double L, double H,
                         PointStatus& status) {
  if (from == to) return H;
  double kron2006 = H;
  if (from == kHeightKron86) kron2006 = Kron86ToKron2006(B, L, H, status);
  if (from == kHeightEvrf2007) kron2006 = Evrf2007ToKron2006(B, L, H, status);
  if (to == kHeightKron86) return Kron2006ToKron86(B, L, kron2006, status);
  if (to == kHeightEvrf2007) return Kron2006ToEvrf2007(B, L, kron2006, status);
  return kron2006;
}

double QuasigeoidHeight(const JobDescription& job, const PointValues& values,
                        PointStatus& status) {
  const double anomaly = job.InputFrame == Frame::kQuasigeoidEtrf2000
                             ? QuasigeoidAnomaly(values.B, values.L, status)
                             : QuasigeoidAnomalyEtrf89(values.B, values.L, status);
  switch (job.InputSystem) {
    case kTaskAnomaly: return anomaly;
    case kTaskToNormal: return values.h - anomaly;  // normal = ellipsoidal − ζ
    default: return values.h + anomaly;             // ellipsoidal = normal + ζ
  }
}

TransPointResult Failed(PointError error) {
  TransPointResult result;
  result.error = error;
  return result;
}

TransPointResult OutOfArea(double B, double L) {
  TransPointResult result = Failed(PointError::kOutOfArea);
  result.B = B;
  result.L = L;
  return result;
}

// A plane point whose easting carries another zone than the chosen one.
std::optional<TransPointResult> OfAnotherZone(const JobDescription& job, double y) {
  const std::int32_t zone = InputZoneOfEasting(job, y);
  if (zone == 0 || zone == job.InputZone) return std::nullopt;
  TransPointResult result = Failed(PointError::kWrongZone);
  result.zoneFound = zone;
  return result;
}

}  // namespace

TransPointResult ComputeTransPoint(const JobDescription& job, const PointValues& values,
                                   bool readable) {
  const RecordKind inputKind = TransSystemKind(job.InputFrame, job.InputSystem);
  if (inputKind == RecordKind::kGeodetic && !InsideAdmissibleArea(values.B, values.L))
    return OutOfArea(values.B, values.L);
  if (!readable) return Failed(PointError::kFailed);
  const bool plane = inputKind == RecordKind::kPlane;
  if (plane) {
    if (auto refused = OfAnotherZone(job, values.y)) return *refused;
  }
  PointStatus status = 0;
  GeodeticPoint common;
  InputToCommonForm(job, values, common, status);
  if (status != 0) return Failed(PointError::kFailed);
  // The inverse projection of a plane point is tested as geodetic input is.
  if (plane && !InsideAdmissibleArea(common.B, common.L)) return OutOfArea(common.B, common.L);
  TransPointResult result;
  TransformCommonForm(job, common, result.output, status);
  if (status != 0) return Failed(PointError::kFailed);
  OutputValues& out = result.output;
  if (TransSystemKind(job.OutputFrame, job.OutputSystem) == RecordKind::kPlane &&
      ExcessivePlaneDistortion(out.distortion, out.convergence)) {
    result.error = PointError::kDistorted;
    out.x = out.y = out.distortion = out.convergence = 0.0;
  }
  return result;
}

HeightPointResult ComputeHeightPoint(const JobDescription& job, const PointValues& values,
                                     bool readable) {
  if (!InsideAdmissibleArea(values.B, values.L)) return {PointError::kOutOfArea, 0.0};
  if (!readable) return {PointError::kFailed, 0.0};
  PointStatus status = 0;
  const double height =
      job.ActiveModule == Module::kQuasigeoid
          ? QuasigeoidHeight(job, values, status)
          : ChangeHeightDatum(job.InputSystem, job.OutputSystem, values.B, values.L, values.h,
                              status);
  if (status != 0) return {PointError::kFailed, 0.0};
  return {PointError::kNone, height};
}

}  // namespace kolvedir
