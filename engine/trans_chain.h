#pragma once
// The transformation chain of one TRANS 2D/3D point: the values read from an
// input record → geodetic B, L, h in the input frame → the output frame → the
// values of the output record. Pure computation over the core and the loaded
// correction grid (empirical method); failures are status codes.
#include <cstdint>
#include <span>

#include "core/point_status.h"
#include "engine/job_description.h"
#include "engine/point_record.h"

namespace kolvedir {

// System codes of the GRS80 frames (1, 2).
inline constexpr std::int32_t kSystemXy2000 = 1;
inline constexpr std::int32_t kSystemXy92 = 2;
inline constexpr std::int32_t kSystemUtm = 3;
inline constexpr std::int32_t kSystemBlhGrs = 4;
inline constexpr std::int32_t kSystemXyzGrs = 5;
// System codes of Pulkovo'42 (frame 3).
inline constexpr std::int32_t kSystemXy65 = 1;
inline constexpr std::int32_t kSystemXy42Strip3 = 2;
inline constexpr std::int32_t kSystemXy42Strip6 = 3;
inline constexpr std::int32_t kSystemXy4283Strip3 = 4;
inline constexpr std::int32_t kSystemXy4283Strip6 = 5;
inline constexpr std::int32_t kSystemTarvo80 = 6;
inline constexpr std::int32_t kSystemBlhKra = 7;
inline constexpr std::int32_t kSystemXyzKra = 8;

// Kind of the records of system `system` in frame `frame` (PL-ETRF2000 or
// PL-ETRF89 the GRS80 systems, any other the Pulkovo'42 ones); kNone for a
// code outside the tables.
RecordKind TransSystemKind(Frame frame, std::int32_t system);

// Geodetic point: B, L in decimal degrees, h in metres.
struct GeodeticPoint {
  double B = 0.0;
  double L = 0.0;
  double h = 0.0;
};

// Values of an input record to the common form (B, L degrees, h m in the
// input frame): x, y (m) of a plane system, X, Y, Z (m) of a Cartesian system,
// or B, L (decimal degrees) and h (m) of a geodetic system. A plane point has
// h = 0 in its own frame. Uses InputFrame, InputSystem and InputZone of `job`;
// a system or zone outside the tables sets kStatusUndefinedZone.
void InputToCommonForm(const JobDescription& job, const PointValues& values,
                       GeodeticPoint& point, PointStatus& status);

// Changes the frame from InputFrame to OutputFrame of `job` with its Method.
// point, result: B, L decimal degrees, h m. Equal frames copy the point and
// read no grid. The empirical method needs the correction grid loaded and a
// point inside it.
void ChangeFrame(const JobDescription& job, const GeodeticPoint& point, GeodeticPoint& result,
                 PointStatus& status);

// Output-frame form to the values of an output record of OutputSystem in
// OutputFrame with OutputZone. B, L: arc-seconds; h: m. Sets the geodetic
// values of output to B, L, h and computes the plane or Cartesian ones.
void CommonFormToOutput(const JobDescription& job, double B, double L, double h,
                        OutputValues& output, PointStatus& status);

// The zone that the easting y (m) of a point of InputSystem in InputFrame
// carries: for xy2000, UTM and the "1942" and "1942/83" strips, the central
// meridian whose false easting holds the millions of y; 0 for the systems
// whose eastings carry no zone (xy92, xy65, xyTARVO80, the non-plane ones)
// and for an easting in no zone's band.
std::int32_t InputZoneOfEasting(const JobDescription& job, double y);

// The chain from the common form on: the frame change and the output values.
// common: B, L decimal degrees, h m, in the input frame.
void TransformCommonForm(const JobDescription& job, const GeodeticPoint& common,
                         OutputValues& output, PointStatus& status);

// The whole chain of one point. On a non-zero status the output carries no
// meaning.
void TransformPoint(const JobDescription& job, const PointValues& values, OutputValues& output,
                    PointStatus& status);

// ChangeFrame, InputToCommonForm and TransformCommonForm over arrays of points
// (spans of one length): points whose status is not zero are skipped, every
// other one gets exactly what the one-point function gives it; the PL-2000,
// PL-1992 and PL-UTM projections and the Cartesian → geodetic steps are
// computed several points at a time.
void ChangeFrames(const JobDescription& job, std::span<const GeodeticPoint> points,
                  std::span<GeodeticPoint> results, std::span<PointStatus> status);
void InputToCommonForms(const JobDescription& job, std::span<const PointValues> values,
                        std::span<GeodeticPoint> points, std::span<PointStatus> status);
void TransformCommonForms(const JobDescription& job, std::span<const GeodeticPoint> common,
                          std::span<OutputValues> outputs, std::span<PointStatus> status);

// Plane output whose |distortion| exceeds 200 cm/km or whose |convergence|
// exceeds 20 grads lies too far from its zone to be trusted.
bool ExcessivePlaneDistortion(double distortion, double convergence);

}  // namespace kolvedir
