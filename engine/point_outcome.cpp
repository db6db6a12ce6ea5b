#include "engine/point_outcome.h"

#include <optional>

#include "core/point_groups.h"
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

namespace {

// The verdict on a point before its computation: out of area (geodetic
// input), unreadable, or of another zone (plane input).
std::optional<TransPointResult> RefusedBeforeComputing(const JobDescription& job,
                                                       RecordKind inputKind,
                                                       const PointValues& values, bool readable) {
  if (inputKind == RecordKind::kGeodetic && !InsideAdmissibleArea(values.B, values.L))
    return OutOfArea(values.B, values.L);
  if (!readable) return Failed(PointError::kFailed);
  if (inputKind == RecordKind::kPlane) return OfAnotherZone(job, values.y);
  return std::nullopt;
}

// Status of a point already decided, which the chain passes by.
constexpr PointStatus kDecided = -1;

void ComputeTransPointGroup(const JobDescription& job, std::span<const PointValues> values,
                            std::span<const bool> readable, std::span<TransPointResult> results) {
  const std::size_t n = values.size();
  const RecordKind inputKind = TransSystemKind(job.InputFrame, job.InputSystem);
  const bool planeOutput = TransSystemKind(job.OutputFrame, job.OutputSystem) == RecordKind::kPlane;
  PointStatus status[kPointsAtOnce];
  GeodeticPoint common[kPointsAtOnce];
  OutputValues outputs[kPointsAtOnce];
  for (std::size_t i = 0; i < n; ++i) {
    std::optional<TransPointResult> refused =
        RefusedBeforeComputing(job, inputKind, values[i], readable[i]);
    status[i] = refused ? kDecided : 0;
    results[i] = refused ? *refused : TransPointResult{};
  }
  InputToCommonForms(job, values, {common, n}, {status, n});
  for (std::size_t i = 0; i < n; ++i) {
    if (status[i] == kDecided) continue;
    if (status[i] != 0) {
      results[i] = Failed(PointError::kFailed);
    } else if (inputKind == RecordKind::kPlane && !InsideAdmissibleArea(common[i].B, common[i].L)) {
      // The inverse projection of a plane point is tested as geodetic input is.
      results[i] = OutOfArea(common[i].B, common[i].L);
    } else {
      continue;
    }
    status[i] = kDecided;
  }
  TransformCommonForms(job, {common, n}, {outputs, n}, {status, n});
  for (std::size_t i = 0; i < n; ++i) {
    if (status[i] == kDecided) continue;
    if (status[i] != 0) {
      results[i] = Failed(PointError::kFailed);
      continue;
    }
    OutputValues& out = results[i].output = outputs[i];
    if (planeOutput && ExcessivePlaneDistortion(out.distortion, out.convergence)) {
      results[i].error = PointError::kDistorted;
      out.x = out.y = out.distortion = out.convergence = 0.0;
    }
  }
}

}  // namespace

void ComputeTransPoints(const JobDescription& job, std::span<const PointValues> values,
                        std::span<const bool> readable, std::span<TransPointResult> results) {
  ForEachGroup(values.size(), [&](std::size_t start, std::size_t n) {
    ComputeTransPointGroup(job, values.subspan(start, n), readable.subspan(start, n),
                           results.subspan(start, n));
  });
}

TransPointResult ComputeTransPoint(const JobDescription& job, const PointValues& values,
                                   bool readable) {
  TransPointResult result;
  ComputeTransPoints(job, {&values, 1}, {&readable, 1}, {&result, 1});
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

std::string PointResultText(const JobDescription& job, std::int32_t status, double y) {
  switch (static_cast<PointError>(status)) {
    case PointError::kOutOfArea:
      return "punkt poza obszarem dopuszczalnym (B 49°–55°, L 14°–24,2°)";
    case PointError::kDistorted:
      return "punkt za daleko od strefy: zniekształcenie ponad 200 cm/km lub zbieżność ponad 20 g";
    case PointError::kWrongZone:
      return "współrzędna y " + std::to_string(static_cast<long long>(y)) + " jest ze strefy " +
             std::to_string(InputZoneOfEasting(job, y)) + ", a wybrano strefę " +
             std::to_string(job.InputZone);
    default:
      return "punkt poza obszarem dopuszczalnym lub inny defekt danych";
  }
}

}  // namespace kolvedir
