#pragma once
// The model grid: a PL_grid_001.bin tabulated from the theoretical
// transformations alone, so that the program runs before the official grid is
// installed. A marker file beside it ("PL_grid_001.model") names it a model and
// records a fingerprint of the grid it belongs to, so an official grid copied
// over the model is never taken for the model.
#include <filesystem>
#include <string_view>

namespace kolvedir {

inline constexpr std::string_view kModelMarkerName = "PL_grid_001.model";

// The marker that belongs to gridFile: same folder, "PL_grid_001.model".
std::filesystem::path ModelMarkerPath(const std::filesystem::path& gridFile);

// True when gridFile is a model grid: its marker exists and its fingerprint
// matches the file's present contents. False for a missing or unreadable file;
// a grid or marker that is not a regular file, a grid not of the grid file's
// size and an oversized marker are never read.
bool IsModelGrid(const std::filesystem::path& gridFile);

// Text that tells the user the grid is a model (UTF-8, one line).
std::string_view ModelGridNotice();

enum class ModelGridResult {
  kWritten,          // grid and marker written
  kGeoidUnreadable,  // the geoid file is missing, unreadable or not a GTX grid
  kWriteFailed,      // the grid or the marker could not be written
};

// Tabulates the model grid at every node (i, j) of the file and writes it with
// its marker, replacing any file of that name (the caller decides whether an
// existing grid may be replaced):
//   layer 1: the geoid height of geoidGtx (a GTX grid, bilinear) in 0.0001 m,
//            or 0 when geoidGtx is empty;
//   layers 2, 3: 0;
//   layers 4, 5, 6: PL-ETRF89 → PL-ETRF2000 similarity transformation at the node
//            (h = 0), in 1e-9 degree, 1e-9 degree, 0.0001 m;
//   layers 7, 8: PL-ETRF89 → Pulkovo'42 datum transformation at the node
//            (h = 0), in 1e-8 degree; layer 7 is never 0.
// Values are rounded to the nearest unit. The grid is written to a temporary
// file in the same folder and renamed into place.
ModelGridResult WriteModelGrid(const std::filesystem::path& gridFile,
                               const std::filesystem::path& geoidGtx);

}  // namespace kolvedir
