// kolvedir_crs_table: writes the rows of the table of EPSG systems
// (engine/crs_table_rows.inc) from PROJ's database. Which of our systems is
// which EPSG system is stated here; the EPSG names, axes and WKT come from
// PROJ, and every difference figure is measured against PROJ's definition.
//
//   kolvedir_crs_table --output engine/crs_table_rows.inc
#include <proj.h>
#include <proj_experimental.h>

#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tools/crs_comparison.h"

namespace {

using namespace kolvedir;
using Proj = std::unique_ptr<PJ, decltype(&proj_destroy)>;

// How a system without an EPSG code is written: a plane system with the
// conversion of an EPSG system (or a PROJ string) on a geographic base
// (an EPSG code, or 0 for the "1942/83" realisation); or a whole definition.
struct Definition {
  const char* name;
  int conversionOf = 0;            // EPSG system whose conversion the plane system has
  const char* conversion = nullptr;  // else a PROJ string of it
  int base = 0;                    // geographic base; 0: "Pulkovo 1942/83"
};

// One of our systems (system, zone, frame) and its EPSG system, or 0 with
// the reason there is none and how to write it. note: what else a user should know.
struct RowSpec {
  const char* system;
  int zone;
  Frame frame;
  int epsg;
  const char* note;
  Definition definition = {};
};

constexpr const char* kUtm15 =
    "+proj=tmerc +lat_0=0 +lon_0=15 +k=0.9996 +x_0=3500000 +y_0=0 +ellps=GRS80 +units=m +type=crs";
constexpr const char* kUtm21 =
    "+proj=tmerc +lat_0=0 +lon_0=21 +k=0.9996 +x_0=4500000 +y_0=0 +ellps=GRS80 +units=m +type=crs";

constexpr const char* kFrameOfEpsg =
    "EPSG zna ten układ tylko w ETRF2000-PL; dane PL-ETRF89 opisane tym kodem wymagają "
    "--from-frame PL-ETRF89 i nazwy układu zamiast kodu";
constexpr const char* kNoEpsgEtrf89 = "brak: EPSG nie ma tego układu w PL-ETRF89 (zapis: WKT)";
constexpr const char* kNoEpsgUtm =
    "brak: numer strefy w przesunięciu wschodnim (3 500 000 / 4 500 000), czego EPSG nie ma "
    "(zapis: WKT)";
constexpr const char* kNoEpsg4283 =
    "brak: realizacja \"1942/83\" (wielomiany) nie ma kodu EPSG (zapis: WKT z własnym "
    "układem odniesienia)";
constexpr const char* kQuasiStereographic =
    "szereg zespolony stref 1965 zamiast podwójnego rzutu stereograficznego EPSG; różnica "
    "rośnie z czwartą potęgą odległości od środka strefy";

const std::vector<RowSpec> kRows = {
    {"xy2000", 15, Frame::kEtrf2000, 2176, kFrameOfEpsg},
    {"xy2000", 18, Frame::kEtrf2000, 2177, kFrameOfEpsg},
    {"xy2000", 21, Frame::kEtrf2000, 2178, kFrameOfEpsg},
    {"xy2000", 24, Frame::kEtrf2000, 2179, kFrameOfEpsg},
    {"xy2000", 15, Frame::kEtrf89, 0, kNoEpsgEtrf89, {"ETRS89 / CS2000/15 (PL-ETRF89)", 2176, nullptr, 4258}},
    {"xy2000", 18, Frame::kEtrf89, 0, kNoEpsgEtrf89, {"ETRS89 / CS2000/18 (PL-ETRF89)", 2177, nullptr, 4258}},
    {"xy2000", 21, Frame::kEtrf89, 0, kNoEpsgEtrf89, {"ETRS89 / CS2000/21 (PL-ETRF89)", 2178, nullptr, 4258}},
    {"xy2000", 24, Frame::kEtrf89, 0, kNoEpsgEtrf89, {"ETRS89 / CS2000/24 (PL-ETRF89)", 2179, nullptr, 4258}},
    {"xy92", 0, Frame::kEtrf2000, 2180, kFrameOfEpsg},
    {"xy92", 0, Frame::kEtrf89, 0, kNoEpsgEtrf89, {"ETRS89 / CS92 (PL-ETRF89)", 2180, nullptr, 4258}},
    {"UTM", 15, Frame::kEtrf2000, 0, kNoEpsgUtm, {"ETRF2000-PL / PL-UTM 33 (FE 3500000)", 0, kUtm15, 9702}},
    {"UTM", 21, Frame::kEtrf2000, 0, kNoEpsgUtm, {"ETRF2000-PL / PL-UTM 34 (FE 4500000)", 0, kUtm21, 9702}},
    {"UTM", 15, Frame::kEtrf89, 0, kNoEpsgUtm, {"ETRS89 / PL-UTM 33 (FE 3500000)", 0, kUtm15, 4258}},
    {"UTM", 21, Frame::kEtrf89, 0, kNoEpsgUtm, {"ETRS89 / PL-UTM 34 (FE 4500000)", 0, kUtm21, 4258}},
    {"BLH_GRS", 0, Frame::kEtrf2000, 9701, ""},
    {"BLH_GRS", 0, Frame::kEtrf2000, 9702, "bez wysokości"},
    {"BLH_GRS", 0, Frame::kEtrf89, 4937, ""},
    {"BLH_GRS", 0, Frame::kEtrf89, 4258, "bez wysokości"},
    {"XYZ_GRS", 0, Frame::kEtrf2000, 9700, ""},
    {"XYZ_GRS", 0, Frame::kEtrf89, 4936, ""},
    {"xy65", 1, Frame::kPulkovo, 3120, kQuasiStereographic},
    {"xy65", 2, Frame::kPulkovo, 2172, kQuasiStereographic},
    {"xy65", 3, Frame::kPulkovo, 2173, kQuasiStereographic},
    {"xy65", 4, Frame::kPulkovo, 2174, kQuasiStereographic},
    {"xy65", 5, Frame::kPulkovo, 2175, "odwzorowanie Gaussa-Krügera jak w EPSG"},
    {"xy42_3", 15, Frame::kPulkovo, 3329, ""},
    {"xy42_3", 18, Frame::kPulkovo, 3330, ""},
    {"xy42_3", 21, Frame::kPulkovo, 3331, ""},
    {"xy42_3", 24, Frame::kPulkovo, 3332, ""},
    {"xy42_6", 15, Frame::kPulkovo, 3333, ""},
    {"xy42_6", 21, Frame::kPulkovo, 3334, ""},
    {"xy42_83_3", 15, Frame::kPulkovo, 0, kNoEpsg4283, {"Pulkovo 1942/83 / 3-degree zone 5", 3329}},
    {"xy42_83_3", 18, Frame::kPulkovo, 0, kNoEpsg4283, {"Pulkovo 1942/83 / 3-degree zone 6", 3330}},
    {"xy42_83_3", 21, Frame::kPulkovo, 0, kNoEpsg4283, {"Pulkovo 1942/83 / 3-degree zone 7", 3331}},
    {"xy42_83_3", 24, Frame::kPulkovo, 0, kNoEpsg4283, {"Pulkovo 1942/83 / 3-degree zone 8", 3332}},
    {"xy42_83_6", 15, Frame::kPulkovo, 0, kNoEpsg4283, {"Pulkovo 1942/83 / 6-degree zone 3", 3333}},
    {"xy42_83_6", 21, Frame::kPulkovo, 0, kNoEpsg4283, {"Pulkovo 1942/83 / 6-degree zone 4", 3334}},
    {"xyTARVO80", 0, Frame::kPulkovo, 3328,
     "szereg TARVO80 nie jest podwójnym rzutem stereograficznym EPSG; różnica rośnie "
     "z odległością od środka (52°10' N, 19°10' E)"},
    {"BLH_KRA", 0, Frame::kPulkovo, 4179, "bez wysokości"},
    {"XYZ_KRA", 0, Frame::kPulkovo, 0,
     "brak: EPSG nie ma układu geocentrycznego Pulkovo 1942(58) (zapis: WKT)",
     {"Pulkovo 1942(58) geocentric"}},
    {"BLH_K86", 0, Frame::kNone, 9656, "B, L w ETRF2000-PL, wysokość normalna PL-KRON86-NH"},
    {"BLH_K86", 0, Frame::kNone, 9650, "sama wysokość normalna PL-KRON86-NH"},
    {"BLH_K2006", 0, Frame::kNone, 0, "brak: EPSG nie ma układu PL-KRON2006-NH (zapis: WKT)",
     {"ETRF2000-PL + PL-KRON2006-NH height"}},
    {"BLH_EVRF", 0, Frame::kNone, 9657, "B, L w ETRF2000-PL, wysokość normalna PL-EVRF2007-NH"},
    {"BLH_EVRF", 0, Frame::kNone, 9651, "sama wysokość normalna PL-EVRF2007-NH"},
};

Proj Make(PJ* object) { return Proj(object, &proj_destroy); }

Proj FromCode(PJ_CONTEXT* context, int code) {
  return Make(proj_create(context, ("EPSG:" + std::to_string(code)).c_str()));
}

// The geographic system of the "1942/83" realisation: the Krassowsky
// ellipsoid under a datum of its own, so that no program takes it for
// Pulkovo 1942(58).
Proj Pulkovo4283(PJ_CONTEXT* context) {
  const Proj cs = Make(proj_create_ellipsoidal_2D_cs(context, PJ_ELLPS2D_LATITUDE_LONGITUDE,
                                                     "degree", 0.0174532925199433));
  return Make(proj_create_geographic_crs(context, "Pulkovo 1942/83", "Pulkovo 1942/83",
                                         "Krassowsky 1940", 6378245.0, 298.3, "Greenwich", 0.0,
                                         "degree", 0.0174532925199433, cs.get()));
}

// A system without an EPSG code, as the program writes it.
Proj Build(PJ_CONTEXT* context, const RowSpec& row) {
  const Definition& d = row.definition;
  if (std::string_view(row.system) == "XYZ_KRA")
    return Make(proj_create_geocentric_crs(context, d.name, "Pulkovo 1942(58)", "Krassowsky 1940",
                                           6378245.0, 298.3, "Greenwich", 0.0, "degree",
                                           0.0174532925199433, "metre", 1.0));
  if (std::string_view(row.system) == "BLH_K2006") {
    const Proj vertical = Make(proj_create_vertical_crs(context, "PL-KRON2006-NH height",
                                                        "PL-KRON2006-NH", "metre", 1.0));
    const Proj horizontal = FromCode(context, 9702);
    return Make(proj_create_compound_crs(context, d.name, horizontal.get(), vertical.get()));
  }
  const Proj source =
      d.conversionOf != 0 ? FromCode(context, d.conversionOf) : Make(proj_create(context, d.conversion));
  const Proj conversion = Make(proj_crs_get_coordoperation(context, source.get()));
  const Proj base = d.base != 0 ? FromCode(context, d.base) : Pulkovo4283(context);
  const Proj cs = Make(
      proj_create_cartesian_2D_cs(context, PJ_CART2D_NORTHING_EASTING, "metre", 1.0));
  return Make(proj_create_projected_crs(context, d.name, base.get(), conversion.get(), cs.get()));
}

// The axes of a coordinate system in order, as the table names them.
std::string AxesOf(PJ_CONTEXT* context, const PJ* crs) {
  const PJ_TYPE type = proj_get_type(crs);
  if (type == PJ_TYPE_COMPOUND_CRS) {
    const Proj horizontal(proj_crs_get_sub_crs(context, crs, 0), &proj_destroy);
    const Proj vertical(proj_crs_get_sub_crs(context, crs, 1), &proj_destroy);
    return AxesOf(context, horizontal.get()) + ", " + AxesOf(context, vertical.get());
  }
  const Proj cs(proj_crs_get_coordinate_system(context, crs), &proj_destroy);
  std::string axes;
  for (int i = 0; i < proj_cs_get_axis_count(context, cs.get()); ++i) {
    const char* direction = nullptr;
    proj_cs_get_axis_info(context, cs.get(), i, nullptr, nullptr, &direction, nullptr, nullptr,
                          nullptr, nullptr);
    const std::string d = direction ? direction : "";
    std::string axis;
    if (type == PJ_TYPE_VERTICAL_CRS) axis = "H";
    else if (d.starts_with("geocentric")) axis = d.substr(10);
    else if (type == PJ_TYPE_PROJECTED_CRS) axis = d == "north" ? "N" : d == "east" ? "E" : d;
    else axis = d == "north" ? "B" : d == "east" ? "L" : d == "up" ? "h" : d;
    axes += (axes.empty() ? "" : ", ") + axis;
  }
  return axes;
}

int DimensionsOf(PJ_CONTEXT* context, const PJ* crs) {
  if (proj_get_type(crs) == PJ_TYPE_COMPOUND_CRS) return 3;
  const Proj cs(proj_crs_get_coordinate_system(context, crs), &proj_destroy);
  return proj_cs_get_axis_count(context, cs.get());
}

// A C++ string literal of text.
std::string Literal(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\n') {
      out += "\\n\"\n     \"";
      continue;
    }
    out += c;
  }
  return out + "\"";
}

const char* FrameName(Frame frame) {
  switch (frame) {
    case Frame::kEtrf2000: return "Frame::kEtrf2000";
    case Frame::kEtrf89: return "Frame::kEtrf89";
    case Frame::kPulkovo: return "Frame::kPulkovo";
    default: return "Frame::kNone";
  }
}

// The figure rounded up to two significant digits (and at least 0.01 mm), so
// that the table never states less than was measured.
double Stated(double mm) {
  if (mm <= 0.01) return 0.01;
  const double unit = std::pow(10.0, std::floor(std::log10(mm)) - 1);
  return std::ceil(mm / unit - 1e-9) * unit;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Writes the rows of the EPSG table from PROJ's database"};
  std::string output;
  app.add_option("--output", output, "the rows file, engine/crs_table_rows.inc")->required();
  CLI11_PARSE(app, argc, argv);

  PJ_CONTEXT* context = proj_context_create();
  // Rows without WKT and figures first: the comparisons find their partners in them.
  std::vector<CrsRow> rows;
  for (const RowSpec& s : kRows)
    rows.push_back({s.system, s.zone, s.frame, s.epsg, 0, "", "", 0.0, s.note, ""});

  std::vector<std::string> names(rows.size()), axes(rows.size()), wkts(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].epsg == 0 && kRows[i].definition.name == nullptr) continue;
    const Proj crs = rows[i].epsg != 0 ? FromCode(context, rows[i].epsg) : Build(context, kRows[i]);
    if (!crs) {
      std::cerr << rows[i].system << " " << rows[i].epsg << ": PROJ refuses it\n";
      return 1;
    }
    names[i] = proj_get_name(crs.get());
    axes[i] = AxesOf(context, crs.get());
    rows[i].dimensions = DimensionsOf(context, crs.get());
    const char* options[] = {"MULTILINE=NO", nullptr};
    wkts[i] = proj_as_wkt(context, crs.get(), PJ_WKT2_2019, options);
    rows[i].wkt = wkts[i];
  }

  std::ostringstream out;
  out << "// Written by tools/make_crs_table from PROJ's database (PROJ " << proj_info().release
      << "); do not edit.\n";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const CrsRow& row = rows[i];
    double stated = 0;
    if (!row.wkt.empty()) {
      std::string problem;
      const double mm = MeasureRow(context, rows, row, problem);
      if (mm < 0) {
        std::cerr << row.system << " " << row.zone << ": " << problem << '\n';
        return 1;
      }
      stated = Stated(mm);
      std::cerr << row.system << ' ' << row.zone << " EPSG:" << row.epsg << " " << names[i] << ": "
                << mm << " mm\n";
    }
    char figure[32];
    std::snprintf(figure, sizeof figure, "%.2g", stated);
    out << "{" << Literal(std::string(row.system)) << ", " << row.zone << ", "
        << FrameName(row.frame) << ", " << row.epsg << ", " << row.dimensions << ", "
        << Literal(names[i]) << ", " << Literal(axes[i]) << ", " << figure << ", "
        << Literal(std::string(row.note)) << ",\n " << Literal(wkts[i]) << "},\n";
  }
  proj_context_destroy(context);
  std::ofstream file(output, std::ios::binary);
  file << out.str();
  return file.flush() ? 0 : 1;
}
