#include "tools/crs_comparison.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/ellipsoid.h"
#include "engine/system_files.h"
#include "engine/trans_chain.h"

namespace kolvedir {

namespace {

using Proj = std::unique_ptr<PJ, decltype(&proj_destroy)>;

constexpr int kSteps = 24;  // 25 × 25 points
constexpr double kSecondsPerDegree = 3600.0;
// Metres on the ground per degree of latitude (a sphere of the GRS80 a; the
// differences compared are far below its error).
constexpr double kMetresPerDegree = 6378137.0 * M_PI / 180.0;

const SystemFile* FileOf(std::string_view system, Frame frame) {
  const bool krassowsky = frame == Frame::kPulkovo;
  for (const SystemFile& f : SystemFiles())
    if (f.input == system && f.krassowsky == krassowsky) return &f;
  return nullptr;
}

// Geodetic B, L (degrees), h of ours to the values of `other`, as a job writes them.
bool OursForward(const ComparedSystem& other, double B, double L, double h, double out[3]) {
  const SystemFile* f = FileOf(other.system, other.frame);
  JobDescription job;
  job.ActiveModule = Module::kTrans;
  job.OutputFrame = other.frame;
  job.OutputSystem = f->code;
  job.OutputZone = other.zone;
  OutputValues values;
  PointStatus status = 0;
  CommonFormToOutput(job, B * kSecondsPerDegree, L * kSecondsPerDegree, h, values, status);
  const bool plane = f->kind == RecordKind::kPlane;
  out[0] = plane ? values.x : values.X;
  out[1] = plane ? values.y : values.Y;
  out[2] = plane ? 0.0 : values.Z;
  return status == 0;
}

// Values of `other` back to geodetic B, L (degrees), h of ours.
bool OursInverse(const ComparedSystem& other, const double in[3], GeodeticPoint& point) {
  JobDescription job;
  job.ActiveModule = Module::kTrans;
  job.InputFrame = other.frame;
  job.InputSystem = FileOf(other.system, other.frame)->code;
  job.InputZone = other.zone;
  PointValues values;
  values.x = values.X = in[0];
  values.y = values.Y = in[1];
  values.Z = in[2];
  PointStatus status = 0;
  InputToCommonForm(job, values, point, status);
  return status == 0;
}

double GeodeticDistance(const GeodeticPoint& p, double B, double L, double h) {
  const double north = (p.B - B) * kMetresPerDegree;
  const double east = (p.L - L) * kMetresPerDegree * std::cos(B * M_PI / 180.0);
  return std::hypot(north, east, p.h - h);
}

std::string CodeOf(const PJ* crs) {
  const char* authority = proj_get_id_auth_name(crs, 0);
  const char* code = proj_get_id_code(crs, 0);
  return authority && code ? std::string(authority) + ":" + code : std::string();
}

// PROJ's ellipsoid of `crs` is the one our frame uses.
bool SameEllipsoid(PJ_CONTEXT* context, const PJ* crs, Frame frame, std::string& problem) {
  const Proj ellipsoid(proj_get_ellipsoid(context, crs), &proj_destroy);
  double a = 0, b = 0, inverseFlattening = 0;
  int computed = 0;
  if (!ellipsoid || !proj_ellipsoid_get_parameters(context, ellipsoid.get(), &a, &b, &computed,
                                                   &inverseFlattening)) {
    problem = "no ellipsoid";
    return false;
  }
  const Ellipsoid& ours = frame == Frame::kPulkovo ? kKrassowskyEllipsoid : kGrs80Ellipsoid;
  if (std::fabs(a - ours.a) > 1e-6 || std::fabs(inverseFlattening - 1.0 / ours.f) > 1e-6) {
    problem = "another ellipsoid";
    return false;
  }
  return true;
}

const CrsRow* RowOf(std::span<const CrsRow> rows, std::string_view system, Frame frame,
                    int dimensions) {
  for (const CrsRow& r : rows)
    if (r.system == system && r.frame == frame && !r.wkt.empty() && r.dimensions == dimensions)
      return &r;
  return nullptr;
}

std::string EpsgName(std::int32_t code) { return "EPSG:" + std::to_string(code); }

// How PROJ is told the row's system: its EPSG code, or its WKT.
std::string CrsText(const CrsRow& row) {
  return row.epsg != 0 ? EpsgName(row.epsg) : std::string(row.wkt);
}

// The base geographic system of a plane one, by code where it has one.
std::string BaseText(PJ_CONTEXT* context, const PJ* base) {
  const std::string code = CodeOf(base);
  return code.empty() ? proj_as_wkt(context, base, PJ_WKT2_2019, nullptr) : code;
}

// The system whose computation a plane row's coordinates are: the "1942/83"
// plane coordinates are those of the "1942" projection of their own B, L.
std::string_view ProjectionOf(std::string_view system) {
  if (system == "xy42_83_3") return "xy42_3";
  if (system == "xy42_83_6") return "xy42_6";
  return system;
}

// Where a zone of a system without an EPSG code is used: its strip in Poland.
GeodeticArea ZoneBand(const CrsRow& row) {
  const std::string_view s = row.system;
  const double halfWidth = s == "xy2000" || s == "xy42_3" || s == "xy42_83_3" ? 1.5
                           : s == "UTM" || s == "xy42_6" || s == "xy42_83_6"  ? 3.0
                                                                              : 0.0;
  if (halfWidth == 0.0 || row.zone == 0) return kPolandArea;
  return {kPolandArea.south, kPolandArea.north, std::max(kPolandArea.west, row.zone - halfWidth),
          std::min(kPolandArea.east, row.zone + halfWidth)};
}

}  // namespace

GeodeticArea AreaInPoland(PJ_CONTEXT* context, const PJ* crs) {
  double west = 0, south = 0, east = 0, north = 0;
  if (!proj_get_area_of_use(context, crs, &west, &south, &east, &north, nullptr))
    return kPolandArea;
  return {std::max(south, kPolandArea.south), std::min(north, kPolandArea.north),
          std::max(west, kPolandArea.west), std::min(east, kPolandArea.east)};
}

double LargestDifference(PJ_CONTEXT* context, const ComparedSystem& geodetic,
                         const ComparedSystem& other, const GeodeticArea& area, double h,
                         std::string& problem) {
  const Proj pj(proj_create_crs_to_crs(context, geodetic.proj.c_str(), other.proj.c_str(), nullptr),
                &proj_destroy);
  if (!pj || FileOf(other.system, other.frame) == nullptr) {
    problem = "PROJ has no conversion " + geodetic.proj + " → " + other.proj;
    return -1;
  }
  const bool plane = FileOf(other.system, other.frame)->kind == RecordKind::kPlane;
  double largest = 0;
  for (int i = 0; i <= kSteps; ++i) {
    for (int j = 0; j <= kSteps; ++j) {
      const double B = area.south + (area.north - area.south) * i / kSteps;
      const double L = area.west + (area.east - area.west) * j / kSteps;
      // EPSG's geographic systems are latitude, longitude, height (degrees, metres).
      const PJ_COORD theirs = proj_trans(pj.get(), PJ_FWD, proj_coord(B, L, h, 0));
      double ours[3];
      if (!OursForward(other, B, L, h, ours) || !std::isfinite(theirs.v[0])) {
        problem = "a point refused at B " + std::to_string(B) + ", L " + std::to_string(L);
        return -1;
      }
      const double theirZ = plane ? 0.0 : theirs.v[2];
      largest = std::max(
          largest, std::hypot(ours[0] - theirs.v[0], ours[1] - theirs.v[1], ours[2] - theirZ));
      const double back[3] = {theirs.v[0], theirs.v[1], theirZ};
      GeodeticPoint oursBack;
      const PJ_COORD theirsBack = proj_trans(pj.get(), PJ_INV, theirs);
      if (!OursInverse(other, back, oursBack)) {
        problem = "a point refused back at B " + std::to_string(B) + ", L " + std::to_string(L);
        return -1;
      }
      if (plane) oursBack.h = theirsBack.v[2];  // a plane point carries no height
      largest = std::max(
          largest, GeodeticDistance(oursBack, theirsBack.v[0], theirsBack.v[1], theirsBack.v[2]));
    }
  }
  return largest;
}

bool ComparisonOf(PJ_CONTEXT* context, std::span<const CrsRow> rows, const CrsRow& row,
                  ComparedSystem& geodetic, ComparedSystem& other) {
  const SystemFile* f = FileOf(row.system, row.frame);
  if (f == nullptr || f->module != Module::kTrans || row.wkt.empty()) return false;
  const std::string_view blh = row.frame == Frame::kPulkovo ? "BLH_KRA" : "BLH_GRS";
  const std::string_view xyz = row.frame == Frame::kPulkovo ? "XYZ_KRA" : "XYZ_GRS";
  switch (f->kind) {
    case RecordKind::kPlane: {
      const Proj crs(proj_create(context, CrsText(row).c_str()), &proj_destroy);
      const Proj base(crs ? proj_crs_get_geodetic_crs(context, crs.get()) : nullptr, &proj_destroy);
      if (!base) return false;
      geodetic = {blh, 0, row.frame, BaseText(context, base.get())};
      other = {ProjectionOf(row.system), row.zone, row.frame, CrsText(row)};
      return true;
    }
    case RecordKind::kGeodetic: {
      const CrsRow* cartesian = RowOf(rows, xyz, row.frame, 3);
      if (cartesian == nullptr) return false;
      geodetic = {row.system, 0, row.frame, CrsText(row)};
      other = {xyz, 0, row.frame, CrsText(*cartesian)};
      return true;
    }
    case RecordKind::kCartesian: {
      const CrsRow* geographic = RowOf(rows, blh, row.frame, 3);
      if (geographic == nullptr) return false;
      geodetic = {blh, 0, row.frame, CrsText(*geographic)};
      other = {row.system, 0, row.frame, CrsText(row)};
      return true;
    }
    default:
      return false;
  }
}

double MeasureRow(PJ_CONTEXT* context, std::span<const CrsRow> rows, const CrsRow& row,
                  std::string& problem) {
  const Proj crs(proj_create(context, CrsText(row).c_str()), &proj_destroy);
  if (!crs) {
    problem = "PROJ does not read " + CrsText(row);
    return -1;
  }
  ComparedSystem geodetic, other;
  if (!ComparisonOf(context, rows, row, geodetic, other)) {
    if (row.frame == Frame::kNone) return 0;  // a height datum: nothing to compute
    return SameEllipsoid(context, crs.get(), row.frame, problem) ? 0 : -1;
  }
  if (!SameEllipsoid(context, crs.get(), row.frame, problem)) return -1;
  const Proj area(proj_create(context, other.proj.c_str()), &proj_destroy);
  const GeodeticArea where = row.epsg != 0 ? AreaInPoland(context, area.get()) : ZoneBand(row);
  // Geodetic and Cartesian systems are compared at a height as well.
  const double h = FileOf(other.system, other.frame)->kind == RecordKind::kPlane ? 0.0 : 250.0;
  const double metres = LargestDifference(context, geodetic, other, where, h, problem);
  return metres < 0 ? metres : metres * 1000.0;
}

}  // namespace kolvedir
