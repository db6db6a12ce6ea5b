#pragma once
// GIS layers through GDAL (GeoPackage, Shapefile, GeoJSON, DXF, FlatGeobuf,
// ...): every vertex of every geometry transformed by the library's
// transformer, with attributes, field types, layer names and feature ids kept.
//
// Coordinates in a layer are in GIS order: easting, northing (plane) and
// longitude, latitude (geodetic); X, Y, Z (Cartesian). A layer's Z takes part
// when the input system carries a height (B, L, h; X, Y, Z) and is then the
// output's height; TRANS-H and the quasigeoid change it; on plane input it
// passes through unchanged (but for Cartesian output, whose Z it becomes).
//
// The output is written whole or not at all: GDAL writes it in memory, and
// every file it makes then goes through the program's atomic writer.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/crs_table.h"
#include "engine/job.h"
#include "engine/job_context.h"
#include "engine/job_files.h"
#include "io/array_jobs.h"

namespace kolvedir {

struct GisLayerOptions {
  std::string layer;          // the one layer to transform; empty: every layer
  std::string outputFormat;   // GDAL driver name; empty: by the output's extension
  bool skipFailures = false;  // leave failing features out (counted) instead of refusing
  int threads = 1;
};

// The extensions of GIS layer files (any case) and the GDAL drivers that write them.
struct GisExtension {
  std::string_view extension, driver;
};
inline constexpr std::array<GisExtension, 8> kGisExtensions{{
    {".gpkg", "GPKG"},
    {".shp", "ESRI Shapefile"},
    {".geojson", "GeoJSON"},
    {".json", "GeoJSON"},
    {".dxf", "DXF"},
    {".fgb", "FlatGeobuf"},
    {".gml", "GML"},
    {".kml", "KML"},
}};

// The row of the table whose system `layer` (empty: the first layer) of the
// GIS file `input` is in, by the layer's EPSG code or by the WKT the program
// writes for a system without one. nullptr with refusal set (Polish, naming
// --from) when the file or layer cannot be read or its system is none of ours.
const CrsRow* LayerSystem(const std::filesystem::path& input, const std::string& layer,
                          std::string& refusal);

// Runs one job on a GIS file: job is the validated description whose
// transformer `transform` applies. Every layer's system must be the job's input
// system (a layer without one takes it); the output layers get the output
// system, by its EPSG code where there is one. A feature with a failing vertex
// refuses the job, naming its id and why, unless options.skipFailures.
// Reports on ui as a job does; counters count features and the features left out.
JobOutcome RunGisLayerJob(const JobDescription& job, const ArrayTransform& transform,
                          const JobFiles& files, const GisLayerOptions& options,
                          JobCounters& counters, JobUserInterface& ui);

// GDAL and the libraries it brings are loaded only by GIS jobs: the runner
// finds this unit in the module libkolvedir_gis.so beside its copy library,
// through the one function it exports.
inline constexpr const char* kGisModule = "libkolvedir_gis.so";
inline constexpr const char* kGisModuleEntry = "KolvedirGisLayerFunctions";
struct GisLayerFunctions {
  decltype(&RunGisLayerJob) run;
  decltype(&LayerSystem) layerSystem;
};

}  // namespace kolvedir
