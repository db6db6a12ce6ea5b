#include "grid/correction_grid.h"

#include <cstddef>
#include <optional>
#include <string>

#include "grid/regular_file.h"

namespace kolvedir {
namespace {

static_assert(kGridFileBytes == 19'635'872);

// The store and the staging buffer are static blocks for the life of the
// process: a load reads into the staging buffer and touches the store only
// once the whole file is in hand, so a refused file leaves the store as it was.
CorrectionGridStore g_store{};
unsigned char g_staging[kGridFileBytes];

// Reads the file whole into g_staging, refusing it unless it is a regular
// file of exactly kGridFileBytes bytes.
GridLoadResult ReadIntoStaging(RegularFile& file) {
  switch (file.status()) {
    case RegularFileStatus::kOpen: break;
    case RegularFileStatus::kMissing: return GridLoadResult::kMissing;
    case RegularFileStatus::kNotAFile: return GridLoadResult::kNotAFile;
    case RegularFileStatus::kCannotOpen: return GridLoadResult::kCannotOpen;
  }
  if (file.size() < kGridFileBytes) return GridLoadResult::kTooShort;
  if (file.size() > kGridFileBytes) return GridLoadResult::kTooLong;
  const std::optional<std::size_t> got = file.Read(g_staging, kGridFileBytes);
  if (!got) return GridLoadResult::kReadFailed;
  if (*got < kGridFileBytes) return GridLoadResult::kTooShort;  // shrank while being read
  unsigned char extra = 0;
  const std::optional<std::size_t> more = file.Read(&extra, 1);
  if (!more) return GridLoadResult::kReadFailed;
  return *more == 0 ? GridLoadResult::kLoaded : GridLoadResult::kTooLong;  // grew while being read
}

// Two's-complement little-endian 32-bit integer, whatever the host's byte order.
std::int32_t DecodeLittleEndian(const unsigned char* bytes) {
  const std::uint32_t value = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                              std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24;
  return static_cast<std::int32_t>(value);
}

// Staging buffer → store, then the edge copies: column 1021 from column 1020,
// row 601 from row 600, node (601, 1021) from node (600, 1020).
void CommitStaging() {
  const unsigned char* bytes = g_staging;
  for (int i = 0; i < kGridFileRows; ++i) {
    for (int j = 0; j < kGridFileColumns; ++j) {
      for (std::int32_t& value : g_store[i][j]) {
        value = DecodeLittleEndian(bytes);
        bytes += 4;
      }
    }
  }
  for (int i = 0; i < kGridFileRows; ++i) g_store[i][kGridFileColumns] = g_store[i][kGridFileColumns - 1];
  for (int j = 0; j < kGridFileColumns; ++j) g_store[kGridFileRows][j] = g_store[kGridFileRows - 1][j];
  g_store[kGridFileRows][kGridFileColumns] = g_store[kGridFileRows - 1][kGridFileColumns - 1];
}

}  // namespace

std::filesystem::path CorrectionGridPath(const std::filesystem::path& programFolder) {
  return programFolder / kGridFileName;
}

GridLoadResult LoadCorrectionGrid(const std::filesystem::path& gridFile) {
  RegularFile file(gridFile);
  const GridLoadResult result = ReadIntoStaging(file);
  if (result == GridLoadResult::kLoaded) CommitStaging();
  return result;
}

std::string GridLoadMessage(GridLoadResult result, const std::filesystem::path& gridFile) {
  const std::string name = gridFile.string();
  switch (result) {
    case GridLoadResult::kLoaded:
      return " Czytanie siatki interpolacyjnej - ok. ";
    case GridLoadResult::kMissing:
      return " *** Brak pliku bazowego " + name;
    case GridLoadResult::kNotAFile:
      return " *** " + name + " nie jest plikiem (folder lub plik specjalny)";
    case GridLoadResult::kCannotOpen:
      return " *** Nie można otworzyć pliku bazowego " + name;
    case GridLoadResult::kTooShort:
      return " *** Plik bazowy " + name + " jest za krótki (wymagane 19635872 bajty)";
    case GridLoadResult::kTooLong:
      return " *** Plik bazowy " + name + " jest za długi (wymagane 19635872 bajty)";
    case GridLoadResult::kReadFailed:
      break;
  }
  return " *** Błąd odczytu pliku bazowego " + name;
}

const CorrectionGridStore& CorrectionGrid() { return g_store; }

}  // namespace kolvedir
