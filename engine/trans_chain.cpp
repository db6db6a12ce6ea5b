#include "engine/trans_chain.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/ellipsoid.h"
#include "core/gauss_kruger.h"
#include "core/geocentric.h"
#include "core/grs80_grids.h"
#include "core/krassowsky_grids.h"
#include "core/point_groups.h"
#include "core/system1965.h"
#include "engine/system_files.h"
#include "grid/computation_method.h"
#include "grid/empirical_corrections.h"
#include "grid/frame_transformation.h"

namespace kolvedir {

namespace {

constexpr double kSecondsPerDegree = 3600.0;
// Zone of the TARVO80 grid in System1965Transform.
constexpr int kTarvo80Zone = 0;
// Limits of a trustworthy plane point: scale distortion (cm/km), convergence (grads).
constexpr double kDistortionLimit = 200.0;
constexpr double kConvergenceLimit = 20.0;

bool IsGrs80Frame(Frame frame) { return frame == Frame::kEtrf2000 || frame == Frame::kEtrf89; }

// Plane input: x, y (m) → B, L (arc-seconds) of the input frame.
void PlaneInverse(bool grs80, std::int32_t system, int zone, double x, double y, double& B,
                  double& L, PointStatus& status) {
  if (grs80) {
    switch (system) {
      case kSystemXy2000: return Pl2000Inverse(x, y, zone, B, L, status);
      case kSystemXy92: return Pl1992Inverse(x, y, B, L, status);
      case kSystemUtm: return UtmInverse(x, y, zone, B, L, status);
    }
  } else {
    double distortion = 0.0, convergence = 0.0;
    switch (system) {
      case kSystemXy65:
        return System1965Transform(Direction1965::kInverse, zone, B, L, x, y, distortion,
                                   convergence, status);
      case kSystemXy42Strip3: return Grid1942Inverse(x, y, zone, 3, B, L, status);
      case kSystemXy42Strip6: return Grid1942Inverse(x, y, zone, 6, B, L, status);
      case kSystemXy4283Strip3:
        Grid1942Inverse(x, y, zone, 3, B, L, status);
        return Bl4283ToBl42(B, L, B, L, status);
      case kSystemXy4283Strip6:
        Grid1942Inverse(x, y, zone, 6, B, L, status);
        return Bl4283ToBl42(B, L, B, L, status);
      case kSystemTarvo80:
        return System1965Transform(Direction1965::kInverse, kTarvo80Zone, B, L, x, y, distortion,
                                   convergence, status);
    }
  }
  if (status == 0) status = kStatusUndefinedZone;
}

// B, L (arc-seconds) of the output frame → x, y (m), distortion, convergence.
void PlaneForward(bool grs80, std::int32_t system, int zone, double B, double L,
                  OutputValues& out, PointStatus& status) {
  if (grs80) {
    switch (system) {
      case kSystemXy2000:
        return Pl2000Forward(B, L, zone, out.x, out.y, out.distortion, out.convergence, status);
      case kSystemXy92:
        return Pl1992Forward(B, L, out.x, out.y, out.distortion, out.convergence, status);
      case kSystemUtm:
        return UtmForward(B, L, zone, out.x, out.y, out.distortion, out.convergence, status);
    }
  } else {
    switch (system) {
      case kSystemXy65:
        return System1965Transform(Direction1965::kForward, zone, B, L, out.x, out.y,
                                   out.distortion, out.convergence, status);
      case kSystemXy42Strip3:
        return Grid1942Forward(B, L, zone, 3, out.x, out.y, out.distortion, out.convergence,
                               status);
      case kSystemXy42Strip6:
        return Grid1942Forward(B, L, zone, 6, out.x, out.y, out.distortion, out.convergence,
                               status);
      case kSystemXy4283Strip3:
        Bl42ToBl4283(B, L, B, L, status);
        return Grid1942Forward(B, L, zone, 3, out.x, out.y, out.distortion, out.convergence,
                               status);
      case kSystemXy4283Strip6:
        Bl42ToBl4283(B, L, B, L, status);
        return Grid1942Forward(B, L, zone, 6, out.x, out.y, out.distortion, out.convergence,
                               status);
      case kSystemTarvo80:
        return System1965Transform(Direction1965::kForward, kTarvo80Zone, B, L, out.x, out.y,
                                   out.distortion, out.convergence, status);
    }
  }
  if (status == 0) status = kStatusUndefinedZone;
}

// The one zone of the GRS80 grids (PL-2000, PL-1992, PL-UTM) through which a
// plane system of `frame` projects; nothing for the other systems, frames
// and zones outside the tables (whose points take the one-point road).
std::optional<GaussKrugerZone> Grs80GridZone(Frame frame, std::int32_t system, int zone) {
  if (!IsGrs80Frame(frame)) return std::nullopt;
  switch (system) {
    case kSystemXy2000: return Pl2000Zone(zone);
    case kSystemXy92: return Pl1992Zone();
    case kSystemUtm: return UtmZone(zone);
    default: return std::nullopt;
  }
}

const Ellipsoid& FrameEllipsoid(bool grs80) { return grs80 ? kGrs80Ellipsoid : kKrassowskyEllipsoid; }

}  // namespace

RecordKind TransSystemKind(Frame frame, std::int32_t system) {
  const SystemFile* file = FindSystemFile(Module::kTrans, frame, system);
  return file != nullptr ? file->kind : RecordKind::kNone;
}

void InputToCommonForm(const JobDescription& job, const PointValues& values,
                       GeodeticPoint& point, PointStatus& status) {
  if (status != 0) return;
  const bool grs80 = IsGrs80Frame(job.InputFrame);
  double B = 0.0, L = 0.0, h = 0.0;  // arc-seconds, m
  switch (TransSystemKind(job.InputFrame, job.InputSystem)) {
    case RecordKind::kGeodetic:
      point = {values.B, values.L, values.h};
      return;
    case RecordKind::kCartesian:
      CartesianToGeodetic(values.X, values.Y, values.Z, grs80 ? kGrs80 : kKrassowsky, B, L, h,
                          status);
      break;
    case RecordKind::kPlane:
      PlaneInverse(grs80, job.InputSystem, job.InputZone, values.x, values.y, B, L, status);
      break;
    default:
      status = kStatusUndefinedZone;
  }
  if (status != 0) return;
  point = {B / kSecondsPerDegree, L / kSecondsPerDegree, h};
}

void ChangeFrame(const JobDescription& job, const GeodeticPoint& point, GeodeticPoint& result,
                 PointStatus& status) {
  ChangeFrames(job, {&point, 1}, {&result, 1}, {&status, 1});
}

void ChangeFrames(const JobDescription& job, std::span<const GeodeticPoint> points,
                  std::span<GeodeticPoint> results, std::span<PointStatus> status) {
  const ComputationMethod method = job.Method;
  const Frame from = job.InputFrame;
  const Frame to = job.OutputFrame;
  if (from == to) {
    for (std::size_t i = 0; i < points.size(); ++i)
      if (status[i] == 0) results[i] = points[i];
    return;
  }
  ForEachGroup(points.size(), [&](std::size_t start, std::size_t n) {
    const std::span<PointStatus> s = status.subspan(start, n);
    // Every change passes through PL-ETRF89: first into it, then out of it.
    double B[kPointsAtOnce], L[kPointsAtOnce], h[kPointsAtOnce];
    double B89[kPointsAtOnce], L89[kPointsAtOnce], h89[kPointsAtOnce];
    for (std::size_t k = 0; k < n; ++k) {
      const GeodeticPoint& p = points[start + k];
      B[k] = B89[k] = p.B;
      L[k] = L89[k] = p.L;
      h[k] = h89[k] = p.h;
    }
    if (from == Frame::kEtrf2000) {
      Etrf2000ToEtrf89BlhPoints({B, n}, {L, n}, {h, n}, method, {B89, n}, {L89, n}, {h89, n}, s);
    } else if (from == Frame::kPulkovo) {
      PulkovoToEtrf89BlhPoints({B, n}, {L, n}, {h, n}, method, {B89, n}, {L89, n}, {h89, n}, s);
    }
    // Out of PL-ETRF89 into the arrays of the input, free now.
    if (to == Frame::kEtrf2000) {
      Etrf89ToEtrf2000BlhPoints({B89, n}, {L89, n}, {h89, n}, method, {B, n}, {L, n}, {h, n}, s);
    } else if (to == Frame::kPulkovo) {
      Etrf89ToPulkovoBlhPoints({B89, n}, {L89, n}, {h89, n}, method, {B, n}, {L, n}, {h, n}, s);
    } else {
      std::copy_n(B89, n, B);
      std::copy_n(L89, n, L);
      std::copy_n(h89, n, h);
    }
    for (std::size_t k = 0; k < n; ++k)
      if (s[k] == 0) results[start + k] = {B[k], L[k], h[k]};
  });
}

void CommonFormToOutput(const JobDescription& job, double B, double L, double h,
                        OutputValues& output, PointStatus& status) {
  if (status != 0) return;
  const bool grs80 = IsGrs80Frame(job.OutputFrame);
  output.BArcSeconds = B;
  output.LArcSeconds = L;
  output.h = h;
  switch (TransSystemKind(job.OutputFrame, job.OutputSystem)) {
    case RecordKind::kGeodetic:
      return;
    case RecordKind::kCartesian: {
      const Ellipsoid& ellipsoid = FrameEllipsoid(grs80);
      return GeodeticToCartesian(ellipsoid.a, ellipsoid.e2, B, L, h, output.X, output.Y,
                                 output.Z, status);
    }
    case RecordKind::kPlane:
      return PlaneForward(grs80, job.OutputSystem, job.OutputZone, B, L, output, status);
    default:
      status = kStatusUndefinedZone;
  }
}

std::int32_t InputZoneOfEasting(const JobDescription& job, double y) {
  if (IsGrs80Frame(job.InputFrame)) {
    switch (job.InputSystem) {
      case kSystemXy2000: return Pl2000ZoneOfEasting(y);
      case kSystemUtm: return UtmZoneOfEasting(y);
      default: return 0;
    }
  }
  if (job.InputFrame != Frame::kPulkovo) return 0;
  switch (job.InputSystem) {
    case kSystemXy42Strip3:
    case kSystemXy4283Strip3: return Grid1942ZoneOfEasting(y, 3);
    case kSystemXy42Strip6:
    case kSystemXy4283Strip6: return Grid1942ZoneOfEasting(y, 6);
    default: return 0;
  }
}

void TransformPoint(const JobDescription& job, const PointValues& values, OutputValues& output,
                    PointStatus& status) {
  GeodeticPoint common;
  InputToCommonForm(job, values, common, status);
  TransformCommonForm(job, common, output, status);
}

void TransformCommonForm(const JobDescription& job, const GeodeticPoint& common,
                         OutputValues& output, PointStatus& status) {
  TransformCommonForms(job, {&common, 1}, {&output, 1}, {&status, 1});
}

void InputToCommonForms(const JobDescription& job, std::span<const PointValues> values,
                        std::span<GeodeticPoint> points, std::span<PointStatus> status) {
  const std::optional<GaussKrugerZone> zone =
      Grs80GridZone(job.InputFrame, job.InputSystem, job.InputZone);
  const bool cartesian = TransSystemKind(job.InputFrame, job.InputSystem) == RecordKind::kCartesian;
  if (!zone && !cartesian) {
    for (std::size_t i = 0; i < values.size(); ++i)
      InputToCommonForm(job, values[i], points[i], status[i]);
    return;
  }
  const int ellipsoid = IsGrs80Frame(job.InputFrame) ? kGrs80 : kKrassowsky;
  ForEachGroup(values.size(), [&](std::size_t start, std::size_t n) {
    const std::span<PointStatus> s = status.subspan(start, n);
    double a[kPointsAtOnce], b[kPointsAtOnce], c[kPointsAtOnce];
    double B[kPointsAtOnce], L[kPointsAtOnce], h[kPointsAtOnce] = {};
    for (std::size_t k = 0; k < n; ++k) {
      const PointValues& v = values[start + k];
      a[k] = cartesian ? v.X : v.x;
      b[k] = cartesian ? v.Y : v.y;
      c[k] = v.Z;
    }
    if (cartesian) {
      CartesianToGeodeticPoints({a, n}, {b, n}, {c, n}, ellipsoid, {B, n}, {L, n}, {h, n}, s);
    } else {
      ZoneInversePoints(*zone, {a, n}, {b, n}, {B, n}, {L, n}, s);
    }
    for (std::size_t k = 0; k < n; ++k)
      if (s[k] == 0) points[start + k] = {B[k] / kSecondsPerDegree, L[k] / kSecondsPerDegree, h[k]};
  });
}

void TransformCommonForms(const JobDescription& job, std::span<const GeodeticPoint> common,
                          std::span<OutputValues> outputs, std::span<PointStatus> status) {
  const std::optional<GaussKrugerZone> zone =
      Grs80GridZone(job.OutputFrame, job.OutputSystem, job.OutputZone);
  ForEachGroup(common.size(), [&](std::size_t start, std::size_t n) {
    const std::span<PointStatus> s = status.subspan(start, n);
    GeodeticPoint changed[kPointsAtOnce];
    ChangeFrames(job, common.subspan(start, n), {changed, n}, s);
    if (!zone) {
      for (std::size_t k = 0; k < n; ++k)
        CommonFormToOutput(job, changed[k].B * kSecondsPerDegree, changed[k].L * kSecondsPerDegree,
                           changed[k].h, outputs[start + k], s[k]);
      return;
    }
    double B[kPointsAtOnce], L[kPointsAtOnce], x[kPointsAtOnce], y[kPointsAtOnce];
    double distortion[kPointsAtOnce], convergence[kPointsAtOnce];
    for (std::size_t k = 0; k < n; ++k) {
      B[k] = changed[k].B * kSecondsPerDegree;
      L[k] = changed[k].L * kSecondsPerDegree;
      if (s[k] != 0) continue;
      OutputValues& out = outputs[start + k];
      out.BArcSeconds = B[k];
      out.LArcSeconds = L[k];
      out.h = changed[k].h;
    }
    ZoneForwardPoints(*zone, {B, n}, {L, n}, {x, n}, {y, n}, {distortion, n}, {convergence, n}, s);
    for (std::size_t k = 0; k < n; ++k) {
      if (s[k] != 0) continue;
      OutputValues& out = outputs[start + k];
      out.x = x[k];
      out.y = y[k];
      out.distortion = distortion[k];
      out.convergence = convergence[k];
    }
  });
}

bool ExcessivePlaneDistortion(double distortion, double convergence) {
  // Written so that a NaN also counts as excessive.
  return !(std::fabs(distortion) <= kDistortionLimit && std::fabs(convergence) <= kConvergenceLimit);
}

}  // namespace kolvedir
