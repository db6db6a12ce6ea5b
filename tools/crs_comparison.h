#pragma once
// Our systems against PROJ's definitions of the EPSG systems they are (tools
// and tests only; the program never reads PROJ). A system of ours is compared
// over a grid of points both ways: geodetic → plane or Cartesian, and back
// from PROJ's plane or Cartesian values.
#include <proj.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/crs_table.h"

namespace kolvedir {

// A rectangle of latitudes and longitudes, degrees.
struct GeodeticArea {
  double south, north, west, east;
};

// Poland as the program's admissible area sees it: 49°–55° N, 14°–24.2° E.
inline constexpr GeodeticArea kPolandArea{49.0, 55.0, 14.0, 24.2};

// One side of a comparison: a system of ours and PROJ's name of the same
// coordinate reference system ("EPSG:2177", or a PROJ string).
struct ComparedSystem {
  std::string_view system;  // standard input file name
  std::int32_t zone;
  Frame frame;
  std::string proj;
};

// The largest difference, in metres on the ground, between our conversion and
// PROJ's from the geodetic system `geodetic` (B, L, h) to `other` (plane or
// Cartesian) over a 25 × 25 grid of `area` at height h (m), and back from
// PROJ's values of `other` to `geodetic`. Negative when PROJ or our
// computation refuses a point; problem then says which.
double LargestDifference(PJ_CONTEXT* context, const ComparedSystem& geodetic,
                         const ComparedSystem& other, const GeodeticArea& area, double h,
                         std::string& problem);

// The area of use of a CRS by PROJ, cut to Poland.
GeodeticArea AreaInPoland(PJ_CONTEXT* context, const PJ* crs);

// What `row` is compared with: its EPSG system and the other side of the
// comparison (a plane system with the geographic system it is based on, a
// geodetic one with the Cartesian system of its frame, a Cartesian one with
// the geodetic system of its frame). False for rows with nothing to compare
// by coordinates (the height datums, a geographic system without a Cartesian
// partner): their ellipsoid or datum alone is checked.
// rows: the table the partners are found in.
bool ComparisonOf(PJ_CONTEXT* context, std::span<const CrsRow> rows, const CrsRow& row,
                  ComparedSystem& geodetic, ComparedSystem& other);

// The row measured against PROJ over its area, in millimetres, or a negative
// value with problem set. Rows without coordinates to compare give 0 when
// PROJ's ellipsoid is ours.
double MeasureRow(PJ_CONTEXT* context, std::span<const CrsRow> rows, const CrsRow& row,
                  std::string& problem);

}  // namespace kolvedir
