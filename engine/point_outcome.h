#pragma once
// What becomes of one point of a job: the output values or the error that
// replaces them. These functions hold the whole computation of a record; the
// record loops only read tokens, call them, write the record and ask the user,
// and a caller holding points in arrays gets exactly the numbers a job writes.
//
// Pure functions over plain values and the read-only correction grid: no I/O,
// no counters, no user interface. Safe to call from several threads at once
// while no job loads the grid (the empirical method and the height jobs need
// it loaded).
#include <cstdint>
#include <span>
#include <string>

#include "engine/job_description.h"
#include "engine/point_record.h"

namespace kolvedir {

// Height datums of TRANS-H (InputSystem, OutputSystem).
inline constexpr std::int32_t kHeightKron86 = 11;
inline constexpr std::int32_t kHeightKron2006 = 12;
inline constexpr std::int32_t kHeightEvrf2007 = 13;
// Quasigeoid tasks (InputSystem, equal to OutputSystem).
inline constexpr std::int32_t kTaskAnomaly = 21;   // BL → BLn.1: the height anomaly
inline constexpr std::int32_t kTaskToNormal = 22;  // BLH_e → BLH_n.1: ellipsoidal to normal
inline constexpr std::int32_t kTaskToEllipsoidal = 23;  // BLH_n → BLH_e.1: normal to ellipsoidal

// Why a point gives no result.
enum class PointError {
  kNone,
  kOutOfArea,  // outside 49°–55° N, 14°–24.2° E; nothing transformed
  kFailed,     // unreadable record or failed computation (outside the grid, say)
  kDistorted,  // plane output with |distortion| > 200 cm/km or |convergence| > 20 grads
  kWrongZone,  // plane input whose easting carries another zone than InputZone
};

struct TransPointResult {
  PointError error = PointError::kNone;
  // The values the record is written with: all 0 for kFailed and kWrongZone;
  // x, y, distortion and convergence 0 for kDistorted; unused for kOutOfArea.
  OutputValues output;
  // kOutOfArea: the point's B, L in decimal degrees, as the error record shows
  // them (of a plane point, those of its inverse projection).
  double B = 0.0, L = 0.0;
  // kWrongZone: the zone (central meridian, degrees) the easting carries.
  std::int32_t zoneFound = 0;
};

// One TRANS 2D/3D point. job: InputFrame, InputSystem, InputZone,
// OutputFrame, OutputSystem, OutputZone and Method of a job that JobRefusal
// accepts (the record kinds follow from the systems; InputKind and OutputKind
// are not read). values: as ReadPointValues gives them for the input kind
// (B, L decimal degrees, h, x, y, X, Y, Z metres). readable: false when the
// record's tokens cannot give the point (the point is then kFailed, unless a
// geodetic point is already outside the area). A plane point is first checked
// against the zone its easting carries, then projected back and tested against
// the area like a geodetic one; a northing beyond the pole is kFailed.
TransPointResult ComputeTransPoint(const JobDescription& job, const PointValues& values,
                                   bool readable);
// ComputeTransPoint over arrays (spans of one length): results[i] is what it
// gives for values[i] and readable[i], whatever the other points; the plane
// projections of the GRS80 grids are computed several points at a time.
void ComputeTransPoints(const JobDescription& job, std::span<const PointValues> values,
                        std::span<const bool> readable, std::span<TransPointResult> results);

struct HeightPointResult {
  PointError error = PointError::kNone;  // kNone, kOutOfArea or kFailed
  double height = 0.0;                   // output height, m; 0 on error
};

// One point of a TRANS-H (ActiveModule kHeight) or quasigeoid (kQuasigeoid)
// job. job: ActiveModule, InputSystem and OutputSystem (TRANS-H datums
// 11–13, quasigeoid task 21–23) and InputFrame (quasigeoid: the frame of the
// ellipsoidal heights). values: B, L decimal degrees and the input height h,
// m (not read by the anomaly task). readable: false when the record's tokens
// cannot give the point.
HeightPointResult ComputeHeightPoint(const JobDescription& job, const PointValues& values,
                                     bool readable);

// The Polish text (UTF-8) of status (a kolvedir::PointResult value other than
// kGood, numbered as PointError) of a point of `job` whose input easting was
// y (m; it tells the zone of a point of another zone).
std::string PointResultText(const JobDescription& job, std::int32_t status, double y);

}  // namespace kolvedir
