#include "grid/model_grid.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "grid/computation_method.h"
#include "grid/correction_grid.h"
#include "grid/empirical_corrections.h"
#include "grid/frame_transformation.h"
#include "grid/regular_file.h"

namespace kolvedir {
namespace {

constexpr std::string_view kFingerprintKey = "fingerprint ";
// A marker holds the notice and the fingerprint line: a few hundred bytes.
constexpr std::size_t kMarkerMaxBytes = 4096;

// 64-bit FNV-1a over the bytes, folded eight bytes at a time (enough to tell
// one grid from another; not a cryptographic hash).
class Fingerprint {
 public:
  void Add(const unsigned char* bytes, std::size_t count) {
    std::size_t k = 0;
    for (; k < count && filled_ != 0; ++k) AddByte(bytes[k]);
    for (; k + 8 <= count; k += 8) {
      // The eight bytes as a little-endian word, in one load.
      std::uint64_t word = 0;
      std::memcpy(&word, bytes + k, sizeof word);
      if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
      hash_ = (hash_ ^ word) * kPrime;
    }
    for (; k < count; ++k) AddByte(bytes[k]);
  }
  std::uint64_t Value() {
    if (filled_ != 0) Fold();
    return hash_;
  }

 private:
  void AddByte(unsigned char byte) {
    word_ |= std::uint64_t{byte} << (8 * filled_);
    if (++filled_ == 8) Fold();
  }
  void Fold() {
    hash_ = (hash_ ^ word_) * kPrime;
    word_ = 0;
    filled_ = 0;
  }
  static constexpr std::uint64_t kPrime = 0x100000001b3ULL;
  std::uint64_t hash_ = 0xcbf29ce484222325ULL;
  std::uint64_t word_ = 0;
  int filled_ = 0;
};

// The fingerprint of a file that may be the grid: a regular file of the grid's
// size; none for anything else, which is never read.
std::optional<std::uint64_t> GridFingerprint(const std::filesystem::path& file) {
  RegularFile grid(file);
  if (grid.status() != RegularFileStatus::kOpen || grid.size() != kGridFileBytes) {
    return std::nullopt;
  }
  Fingerprint fingerprint;
  std::array<unsigned char, 1 << 16> chunk;
  std::uintmax_t total = 0;
  while (const std::optional<std::size_t> got = grid.Read(chunk.data(), chunk.size())) {
    if (*got == 0) break;
    fingerprint.Add(chunk.data(), *got);
    total += *got;
  }
  if (total != kGridFileBytes) return std::nullopt;  // a read failed, or it changed meanwhile
  return fingerprint.Value();
}

// The fingerprint the marker records; none when the marker is missing, is not
// a regular file of at most kMarkerMaxBytes or records none.
std::optional<std::string> RecordedFingerprint(const std::filesystem::path& markerFile) {
  RegularFile marker(markerFile);
  if (marker.status() != RegularFileStatus::kOpen || marker.size() > kMarkerMaxBytes) {
    return std::nullopt;
  }
  std::string text(kMarkerMaxBytes, '\0');
  const std::optional<std::size_t> got = marker.Read(text.data(), text.size());
  if (!got) return std::nullopt;
  text.resize(*got);
  std::optional<std::string> recorded;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with(kFingerprintKey)) recorded = line.substr(kFingerprintKey.size());
  }
  return recorded;
}

std::string HexText(std::uint64_t value) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

// A GTX height grid: a big-endian header of four doubles (south-west corner
// latitude and longitude, steps, degrees) and two 32-bit integers (rows,
// columns), then rows × columns big-endian floats in metres, rows south to north.
struct GtxGrid {
  double south = 0, west = 0, stepB = 0, stepL = 0;
  std::int32_t rows = 0, columns = 0;
  std::vector<float> heights;
};

constexpr std::size_t kGtxHeaderBytes = 4 * 8 + 2 * 4;

// The big-endian value at bytes, which then moves past it.
template <typename T>
T TakeBigEndian(const unsigned char*& bytes) {
  std::uint64_t bits = 0;
  for (std::size_t k = 0; k < sizeof(T); ++k) bits = bits << 8 | *bytes++;
  using Bits = std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>;
  return std::bit_cast<T>(static_cast<Bits>(bits));
}

// Reads a GTX file: only a regular file whose size is exactly what its header announces.
std::optional<GtxGrid> ReadGtx(const std::filesystem::path& file) {
  RegularFile in(file);
  unsigned char header[kGtxHeaderBytes];
  if (in.status() != RegularFileStatus::kOpen || in.Read(header, sizeof header) != sizeof header) {
    return std::nullopt;
  }
  GtxGrid grid;
  const unsigned char* cursor = header;
  grid.south = TakeBigEndian<double>(cursor);
  grid.west = TakeBigEndian<double>(cursor);
  grid.stepB = TakeBigEndian<double>(cursor);
  grid.stepL = TakeBigEndian<double>(cursor);
  grid.rows = TakeBigEndian<std::int32_t>(cursor);
  grid.columns = TakeBigEndian<std::int32_t>(cursor);
  if (grid.rows < 2 || grid.columns < 2 || grid.rows > 100000 || grid.columns > 100000 ||
      !(grid.stepB > 0) || !(grid.stepL > 0)) {
    return std::nullopt;
  }
  const std::size_t count = static_cast<std::size_t>(grid.rows) * grid.columns;
  if (in.size() != kGtxHeaderBytes + 4 * std::uintmax_t{count}) return std::nullopt;
  std::vector<unsigned char> bytes(4 * count);
  if (in.Read(bytes.data(), bytes.size()) != bytes.size()) return std::nullopt;
  cursor = bytes.data();
  grid.heights.resize(count);
  for (float& height : grid.heights) height = TakeBigEndian<float>(cursor);
  return grid;
}

// Bilinear geoid height at (B, L) in degrees; none outside the grid or next to
// a node without data (GTX marks them −88.8888).
std::optional<double> GtxHeight(const GtxGrid& grid, double B, double L) {
  const double row = (B - grid.south) / grid.stepB;
  double column = (L - grid.west) / grid.stepL;
  const double turn = 360.0 / grid.stepL;
  if (column < 0) column += turn;  // grids that start at −180° or 0°
  if (!(row >= 0 && row <= grid.rows - 1 && column >= 0 && column <= grid.columns - 1)) {
    return std::nullopt;
  }
  const int r = std::min(static_cast<int>(row), grid.rows - 2);
  const int c = std::min(static_cast<int>(column), grid.columns - 2);
  const double y = row - r;
  const double x = column - c;
  auto at = [&](int rr, int cc) { return double{grid.heights[std::size_t(rr) * grid.columns + cc]}; };
  const double q[4] = {at(r, c), at(r + 1, c), at(r + 1, c + 1), at(r, c + 1)};
  for (double value : q) {
    if (value < -88.0 && value > -89.0) return std::nullopt;
  }
  return q[0] * (1 - y) * (1 - x) + q[1] * y * (1 - x) + q[2] * y * x + q[3] * (1 - y) * x;
}

std::int32_t RoundToUnit(double value, double unit) {
  return static_cast<std::int32_t>(std::lround(value / unit));
}

// The eight layers of node (i, j), h = 0, from the theoretical transformations.
std::optional<GridNode> ModelNode(int i, int j, const GtxGrid* geoid) {
  const double B = kGridSouth + kGridStep * i;
  const double L = kGridWest + kGridStep * j;
  GridNode node{};
  if (geoid != nullptr) {
    const std::optional<double> height = GtxHeight(*geoid, B, L);
    if (!height) return std::nullopt;
    node[0] = RoundToUnit(*height, LayerUnit(1));
  }
  PointStatus status = 0;
  double B2000 = B, L2000 = L, h2000 = 0;
  Etrf89ToEtrf2000Blh(B, L, 0.0, ComputationMethod::kTheoretical, B2000, L2000, h2000, status);
  double BPulkovo = B, LPulkovo = L, hPulkovo = 0;
  Etrf89ToPulkovoBlh(B, L, 0.0, ComputationMethod::kTheoretical, BPulkovo, LPulkovo, hPulkovo,
                     status);
  if (status != 0) return std::nullopt;
  node[3] = RoundToUnit(B2000 - B, LayerUnit(4));
  node[4] = RoundToUnit(L2000 - L, LayerUnit(5));
  node[5] = RoundToUnit(h2000, LayerUnit(6));
  node[6] = RoundToUnit(BPulkovo - B, LayerUnit(7));
  node[7] = RoundToUnit(LPulkovo - L, LayerUnit(8));
  if (node[6] == 0) node[6] = BPulkovo >= B ? 1 : -1;  // 0 would mark the node as without data
  return node;
}

void EncodeLittleEndian(std::int32_t value, unsigned char* bytes) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int k = 0; k < 4; ++k) bytes[k] = static_cast<unsigned char>(bits >> (8 * k));
}

// Writes bytes to file through a temporary file in the same folder, renamed into place.
bool WriteReplacing(const std::filesystem::path& file, const char* bytes, std::size_t count) {
  std::filesystem::path temporary = file;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes, static_cast<std::streamsize>(count));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, file, error);
  return !error;
}

}  // namespace

std::filesystem::path ModelMarkerPath(const std::filesystem::path& gridFile) {
  return gridFile.parent_path() / kModelMarkerName;
}

bool IsModelGrid(const std::filesystem::path& gridFile) {
  const std::optional<std::string> recorded = RecordedFingerprint(ModelMarkerPath(gridFile));
  if (!recorded) return false;
  const std::optional<std::uint64_t> actual = GridFingerprint(gridFile);
  return actual && HexText(*actual) == *recorded;
}

std::string_view ModelGridNotice() {
  return "Uwaga: PL_grid_001.bin jest siatką modelową, wyliczoną z modeli teoretycznych - "
         "do prac praktycznych zastąp ją oficjalnym plikiem siatki.";
}

ModelGridResult WriteModelGrid(const std::filesystem::path& gridFile,
                               const std::filesystem::path& geoidGtx) {
  std::optional<GtxGrid> geoid;
  if (!geoidGtx.empty()) {
    geoid = ReadGtx(geoidGtx);
    if (!geoid) return ModelGridResult::kGeoidUnreadable;
  }
  std::vector<unsigned char> bytes(kGridFileBytes);
  unsigned char* out = bytes.data();
  for (int i = 0; i < kGridFileRows; ++i) {
    for (int j = 0; j < kGridFileColumns; ++j) {
      const std::optional<GridNode> node = ModelNode(i, j, geoid ? &*geoid : nullptr);
      if (!node) return ModelGridResult::kGeoidUnreadable;
      for (std::int32_t value : *node) {
        EncodeLittleEndian(value, out);
        out += 4;
      }
    }
  }
  Fingerprint fingerprint;
  fingerprint.Add(bytes.data(), bytes.size());
  // The marker goes first: a grid without its marker would pass for an official one.
  const std::string marker =
      std::string(ModelGridNotice()) + "\n" + std::string(kFingerprintKey) +
      HexText(fingerprint.Value()) + "\n";
  if (!WriteReplacing(ModelMarkerPath(gridFile), marker.data(), marker.size()) ||
      !WriteReplacing(gridFile, reinterpret_cast<const char*>(bytes.data()), bytes.size())) {
    return ModelGridResult::kWriteFailed;
  }
  return ModelGridResult::kWritten;
}

}  // namespace kolvedir
