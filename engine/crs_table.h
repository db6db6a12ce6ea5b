#pragma once
// The program's systems beside the EPSG coordinate reference systems they
// are. An EPSG name chooses one of our systems (with its zone and frame); the
// computation stays the program's own. The rows are written by
// tools/make_crs_table from PROJ's database, which is never read at run time.
#include <cstdint>
#include <span>
#include <string_view>

#include "engine/job_description.h"

namespace kolvedir {

struct CrsRow {
  std::string_view system;  // standard file name of the input system, e.g. "xy2000"
  std::int32_t zone;        // central meridian or "1965" zone; 0 for systems without zones
  Frame frame;              // kEtrf2000, kEtrf89 or kPulkovo; kNone for the height datums
  std::int32_t epsg;        // 0: no EPSG system is ours
  int dimensions;           // 2 or 3 coordinates in the EPSG system (0 without one)
  std::string_view epsgName;
  // The axes in the EPSG system's order: "N, E" (northing, easting),
  // "B, L", "B, L, h", "B, L, H" (normal height), "X, Y, Z", "H".
  std::string_view axes;
  // The largest difference between our computation and PROJ's definition of
  // the EPSG system over the zone's area, both ways, in millimetres.
  double differenceMm;
  std::string_view note;  // Polish: what differs, or why there is no EPSG system
  std::string_view wkt;   // the EPSG system as WKT2; empty without one
};

// Every row: our systems in the order of the standard files, each system's
// rows together, its first row the EPSG system the program writes for it.
std::span<const CrsRow> CrsTable();

// The row of EPSG code `epsg`; nullptr when the code is none of ours.
const CrsRow* FindCrsByEpsg(std::int32_t epsg);

}  // namespace kolvedir
