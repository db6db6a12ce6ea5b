// The grid loader over arbitrary file contents and lengths, then the
// interpolation, height models and frame changes over whatever was loaded.
//
// Input: the last bytes choose the length of the file (shorter, exact, longer,
// a folder in its place) and the points to read; the other bytes, repeated,
// are the file's contents. A refused file must leave the store as it was; an
// accepted one must read back byte for byte with its edge copies.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "grid/correction_grid.h"
#include "grid/empirical_corrections.h"
#include "grid/frame_transformation.h"
#include "grid/height_models.h"
#include "grid/interpolation.h"
#include "tests/fuzz/fuzz_files.h"

namespace {

using namespace kolvedir;

void Require(bool condition) {
  if (!condition) std::abort();
}

enum class FileShape : std::uint8_t { kAsGiven, kExact, kLonger, kShorter, kFolder, kMaxValue = kFolder };

std::int32_t PatternValue(const std::vector<std::uint8_t>& pattern, std::uintmax_t offset) {
  std::uint32_t value = 0;
  for (int b = 3; b >= 0; --b) value = value << 8 | pattern[(offset + b) % pattern.size()];
  return static_cast<std::int32_t>(value);
}

// Node (i, j) of the store after loading the repeated pattern.
void CheckNode(const std::vector<std::uint8_t>& pattern, int i, int j) {
  const int fileRow = i < kGridFileRows ? i : kGridFileRows - 1;
  const int fileColumn = j < kGridFileColumns ? j : kGridFileColumns - 1;
  for (int k = 1; k <= kGridLayers; ++k) {
    const std::uintmax_t offset = 4 * (8 * (std::uintmax_t{kGridFileColumns} * fileRow + fileColumn) + k - 1);
    Require(CorrectionGridValue(k, i, j) == PatternValue(pattern, offset));
  }
}

struct StoreSample {
  GridNode corners[4];
  StoreSample() {
    corners[0] = CorrectionGridNode(0, 0);
    corners[1] = CorrectionGridNode(kGridRows - 1, kGridColumns - 1);
    corners[2] = CorrectionGridNode(300, 510);
    corners[3] = CorrectionGridNode(kGridFileRows - 1, 7);
  }
  bool operator==(const StoreSample& other) const {
    for (int n = 0; n < 4; ++n) {
      if (corners[n] != other.corners[n]) return false;
    }
    return true;
  }
};

void ReadEverywhere(double B, double L, double h) {
  for (int layer = 0; layer <= kGridLayers + 1; ++layer) {
    PointStatus status = 0;
    const double value = InterpolateLayer(layer, B, L, status);
    Require(std::isfinite(value));
    if (status != 0) Require(value == 0.0);
  }
  PointStatus status = 0;
  double outB = 0, outL = 0, outH = 0;
  InverseShift(B, L, outB, outL, status);
  if (status == 0) Require(std::isfinite(outB) && std::isfinite(outL));

  for (auto model : {Kron86ToKron2006, Kron2006ToKron86, Kron2006ToEvrf2007, Evrf2007ToKron2006}) {
    status = 0;
    const double H = model(B, L, h, status);
    if (status == 0 && std::isfinite(h)) Require(std::isfinite(H));
  }
  status = 0;
  const double zeta = QuasigeoidAnomaly(B, L, status);
  if (status == 0) Require(std::isfinite(zeta));
  status = 0;
  QuasigeoidAnomalyEtrf89(B, L, status);

  for (auto change : {Etrf89ToPulkovoBlh, PulkovoToEtrf89Blh, Etrf89ToEtrf2000Blh, Etrf2000ToEtrf89Blh}) {
    status = 0;
    change(B, L, h, ComputationMethod::kEmpirical, outB, outL, outH, status);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const FuzzFolder folder("grid");
  const std::filesystem::path gridFile = folder.path() / kGridFileName;

  FuzzedDataProvider input(data, size);
  const auto shape = input.ConsumeEnum<FileShape>();
  const std::uintmax_t delta = input.ConsumeIntegralInRange<std::uintmax_t>(1, 64);
  double points[3][3];
  for (auto& point : points) {
    point[0] = 48.9 + input.ConsumeProbability<double>() * 6.2;   // B
    point[1] = 13.9 + input.ConsumeProbability<double>() * 10.4;  // L
    point[2] = input.ConsumeFloatingPoint<double>();              // h
  }
  std::vector<std::uint8_t> pattern = input.ConsumeRemainingBytes<std::uint8_t>();
  if (pattern.empty()) pattern.push_back(0);

  std::uintmax_t length = pattern.size();
  switch (shape) {
    case FileShape::kAsGiven: break;
    case FileShape::kExact: length = kGridFileBytes; break;
    case FileShape::kLonger: length = kGridFileBytes + delta; break;
    case FileShape::kShorter: length = kGridFileBytes - delta; break;
    case FileShape::kFolder: break;
  }
  std::filesystem::remove_all(gridFile);
  if (shape == FileShape::kFolder) {
    std::filesystem::create_directory(gridFile);
  } else {
    WriteRepeated(gridFile, pattern, length);
  }

  const StoreSample before;
  const GridLoadResult result = LoadCorrectionGrid(gridFile);
  Require(!GridLoadMessage(result, gridFile).empty());
  if (shape == FileShape::kFolder) {
    Require(result == GridLoadResult::kNotAFile);
  } else if (length == kGridFileBytes) {
    Require(result == GridLoadResult::kLoaded);
  } else {
    Require(result == (length < kGridFileBytes ? GridLoadResult::kTooShort : GridLoadResult::kTooLong));
  }

  if (result == GridLoadResult::kLoaded) {
    for (int i : {0, 1, 300, kGridFileRows - 1, kGridRows - 1}) {
      for (int j : {0, 1, 510, kGridFileColumns - 1, kGridColumns - 1}) CheckNode(pattern, i, j);
    }
  } else {
    Require(StoreSample() == before);
  }
  for (const auto& point : points) ReadEverywhere(point[0], point[1], point[2]);
  return 0;
}
