// The module libkolvedir_gis.so: the GIS layer unit with GDAL, which the
// runner loads only for a GIS job, so that every other job starts without
// GDAL and the libraries it brings.
#include "io/gis_layers.h"

extern "C" __attribute__((visibility("default"))) const kolvedir::GisLayerFunctions*
KolvedirGisLayerFunctions() {
  static constexpr kolvedir::GisLayerFunctions kFunctions{&kolvedir::RunGisLayerJob,
                                                          &kolvedir::LayerSystem};
  return &kFunctions;
}
