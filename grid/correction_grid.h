#pragma once
// The interpolation grid file PL_grid_001.bin and its process-wide store.
//
// The file is headerless: 601 rows (B = 49° + 0.01°·i, south to north) ×
// 1021 columns (L = 14° + 0.01°·j, west to east) × 8 layers of signed 32-bit
// little-endian integers, rows outermost, then columns, then layers.
// The store holds one more row and column (edge copies of row 600 and
// column 1020) so that a cell whose lower-left node lies on the last row or
// column still has four corners.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kolvedir {

inline constexpr int kGridLayers = 8;
inline constexpr int kGridFileRows = 601;
inline constexpr int kGridFileColumns = 1021;
inline constexpr int kGridRows = kGridFileRows + 1;        // with the edge-copy row 601
inline constexpr int kGridColumns = kGridFileColumns + 1;  // with the edge-copy column 1021
// 601 × 1021 × 8 integers of 4 bytes.
inline constexpr std::uintmax_t kGridFileBytes =
    std::uintmax_t{kGridFileRows} * kGridFileColumns * kGridLayers * 4;  // 19,635,872
inline constexpr std::string_view kGridFileName = "PL_grid_001.bin";

// Grid geometry in decimal degrees.
inline constexpr double kGridSouth = 49.0;
inline constexpr double kGridWest = 14.0;
inline constexpr double kGridStep = 0.01;

// Layers of a node; element k − 1 holds layer k (1..8):
//   1 height anomaly ζ (PL-ETRF2000 minus PL-KRON86-NH), 0.0001 m
//   2 PL-KRON86-NH → PL-KRON2006-NH correction beyond −0.00495 m, 0.00001 m
//   3 PL-KRON2006-NH → PL-EVRF2007-NH correction beyond +0.17084 m, 0.00001 m
//   4 latitude PL-ETRF2000 minus PL-ETRF89, 1e-9 degree
//   5 longitude PL-ETRF2000 minus PL-ETRF89, 1e-9 degree
//   6 ellipsoidal height PL-ETRF2000 minus PL-ETRF89, 0.0001 m
//   7 latitude Pulkovo'42 minus PL-ETRF89, 1e-8 degree; 0 marks a node without data
//   8 longitude Pulkovo'42 minus PL-ETRF89, 1e-8 degree
using GridNode = std::array<std::int32_t, kGridLayers>;

// Size of one count of layer k at element k − 1: metres for layers 1, 2, 3, 6,
// degrees for layers 4, 5, 7, 8.
inline constexpr std::array<double, kGridLayers> kLayerUnit = {
    0.0001, 0.00001, 0.00001, 0.000000001, 0.000000001, 0.0001, 0.00000001, 0.00000001};
constexpr double LayerUnit(int layer) { return kLayerUnit[layer - 1]; }

// Outcome of a load. Every value but kLoaded refuses the file and leaves the
// store exactly as it was.
enum class GridLoadResult {
  kLoaded,        // read whole, store replaced
  kMissing,       // no such file
  kNotAFile,      // a folder or another non-regular file stands under the name
  kCannotOpen,    // exists but cannot be opened for reading
  kTooShort,      // fewer than 19,635,872 bytes
  kTooLong,       // more than 19,635,872 bytes
  kReadFailed,    // opened, but the bytes could not all be read
};

// The grid file in the program folder: programFolder / "PL_grid_001.bin".
std::filesystem::path CorrectionGridPath(const std::filesystem::path& programFolder);

// Reads the whole file gridFile into a staging buffer in one pass and, only
// when all 19,635,872 bytes were read and the file holds nothing more, commits
// it to the store (little-endian decoding plus the edge copies). Allocates
// nothing; not reentrant (one thread).
GridLoadResult LoadCorrectionGrid(const std::filesystem::path& gridFile);

// Text for the monitor or a message box, UTF-8 where gridFile is: kLoaded gives
// " Czytanie siatki interpolacyjnej - ok. ", kMissing " *** Brak pliku bazowego "
// followed by gridFile as given, the others a message of their own that names
// gridFile the same way.
std::string GridLoadMessage(GridLoadResult result, const std::filesystem::path& gridFile);

// The store: 602 rows × 1022 columns, all zero until the first successful load.
using CorrectionGridStore = std::array<std::array<GridNode, kGridColumns>, kGridRows>;
// Read access to the store; only LoadCorrectionGrid writes it.
const CorrectionGridStore& CorrectionGrid();

// One node of the store.
//   i: row 0..601 (601 the edge copy); j: column 0..1021 (1021 the edge copy).
// Indices are not checked; callers keep them in range.
inline const GridNode& CorrectionGridNode(int i, int j) { return CorrectionGrid()[i][j]; }
//   layer: 1..8, not checked.
inline std::int32_t CorrectionGridValue(int layer, int i, int j) {
  return CorrectionGridNode(i, j)[layer - 1];
}

}  // namespace kolvedir
