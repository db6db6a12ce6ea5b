#include "engine/trans_chain.h"

#include <cmath>

#include "core/ellipsoid.h"
#include "core/geocentric.h"
#include "core/grs80_grids.h"
#include "core/krassowsky_grids.h"
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
  if (status != 0) return;
  const ComputationMethod method = job.Method;
  const Frame from = job.InputFrame;
  const Frame to = job.OutputFrame;
  if (from == to) {
    result = point;
    return;
  }
  // Every change passes through PL-ETRF89: first into it, then out of it.
  GeodeticPoint etrf89 = point;
  if (from == Frame::kEtrf2000) {
    Etrf2000ToEtrf89Blh(point.B, point.L, point.h, method, etrf89.B, etrf89.L, etrf89.h, status);
  } else if (from == Frame::kPulkovo) {
    PulkovoToEtrf89Blh(point.B, point.L, point.h, method, etrf89.B, etrf89.L, etrf89.h, status);
  }
  GeodeticPoint out = etrf89;
  if (to == Frame::kEtrf2000) {
    Etrf89ToEtrf2000Blh(etrf89.B, etrf89.L, etrf89.h, method, out.B, out.L, out.h, status);
  } else if (to == Frame::kPulkovo) {
    Etrf89ToPulkovoBlh(etrf89.B, etrf89.L, etrf89.h, method, out.B, out.L, out.h, status);
  }
  if (status != 0) return;
  result = out;
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
  GeodeticPoint changed;
  ChangeFrame(job, common, changed, status);
  CommonFormToOutput(job, changed.B * kSecondsPerDegree, changed.L * kSecondsPerDegree, changed.h,
                     output, status);
}

bool ExcessivePlaneDistortion(double distortion, double convergence) {
  // Written so that a NaN also counts as excessive.
  return !(std::fabs(distortion) <= kDistortionLimit && std::fabs(convergence) <= kConvergenceLimit);
}

}  // namespace kolvedir
