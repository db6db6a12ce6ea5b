#include "grid/correction_grid.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace kolvedir {
namespace {

static_assert(kGridFileBytes == 19'635'872);

// The store and the staging buffer are static blocks for the life of the
// process: a load reads into the staging buffer and touches the store only
// once the whole file is in hand, so a refused file leaves the store as it was.
CorrectionGridStore g_store{};
unsigned char g_staging[kGridFileBytes];

// Reads the file whole into g_staging with large reads.
GridLoadResult ReadIntoStaging(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return GridLoadResult::kReadFailed;
  if (!S_ISREG(info.st_mode)) return GridLoadResult::kNotAFile;
  const auto size = static_cast<std::uintmax_t>(info.st_size);
  if (size < kGridFileBytes) return GridLoadResult::kTooShort;
  if (size > kGridFileBytes) return GridLoadResult::kTooLong;

  std::size_t done = 0;
  while (done < kGridFileBytes) {
    const ssize_t got = ::read(fd, g_staging + done, kGridFileBytes - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return GridLoadResult::kReadFailed;
    if (got == 0) return GridLoadResult::kTooShort;  // shrank while being read
    done += static_cast<std::size_t>(got);
  }
  unsigned char extra = 0;
  ssize_t got = 0;
  do {
    got = ::read(fd, &extra, 1);
  } while (got < 0 && errno == EINTR);
  if (got < 0) return GridLoadResult::kReadFailed;
  return got == 0 ? GridLoadResult::kLoaded : GridLoadResult::kTooLong;  // grew while being read
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
  // O_NONBLOCK keeps a FIFO under the grid's name from blocking the open; fstat refuses it.
  const int fd = ::open(gridFile.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    return errno == ENOENT || errno == ENOTDIR ? GridLoadResult::kMissing
                                               : GridLoadResult::kCannotOpen;
  }
  const GridLoadResult result = ReadIntoStaging(fd);
  ::close(fd);
  if (result == GridLoadResult::kLoaded) CommitStaging();
  return result;
}

std::string_view GridLoadMessage(GridLoadResult result) {
  switch (result) {
    case GridLoadResult::kLoaded:
      return " Czytanie siatki interpolacyjnej - ok. ";
    case GridLoadResult::kMissing:
      return " *** Brak pliku bazowego PL_grid_001.bin";
    case GridLoadResult::kNotAFile:
      return " *** PL_grid_001.bin nie jest plikiem (folder lub plik specjalny)";
    case GridLoadResult::kCannotOpen:
      return " *** Nie można otworzyć pliku bazowego PL_grid_001.bin";
    case GridLoadResult::kTooShort:
      return " *** Plik bazowy PL_grid_001.bin jest za krótki (wymagane 19635872 bajty)";
    case GridLoadResult::kTooLong:
      return " *** Plik bazowy PL_grid_001.bin jest za długi (wymagane 19635872 bajty)";
    case GridLoadResult::kReadFailed:
      return " *** Błąd odczytu pliku bazowego PL_grid_001.bin";
  }
  return " *** Błąd odczytu pliku bazowego PL_grid_001.bin";
}

const CorrectionGridStore& CorrectionGrid() { return g_store; }

}  // namespace kolvedir
