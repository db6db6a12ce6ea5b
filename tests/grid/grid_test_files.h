#pragma once
// Synthetic grid files for the tests: every integer of PL_grid_001.bin given
// by a function of its node and layer, written little-endian into a fresh
// temporary folder.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kolvedir::testing {

// value(i, j, layer) for i 0..600, j 0..1020, layer 1..8.
using LayerFunction = std::function<std::int32_t(int i, int j, int layer)>;

// The file's bytes, little-endian, nodes in file order.
std::vector<unsigned char> GridBytes(const LayerFunction& value);

// A fresh empty folder under the system's temporary folder, removed with the object.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

void WriteBytes(const std::filesystem::path& file, const std::vector<unsigned char>& bytes);

// Writes a grid made by value to folder/PL_grid_001.bin and loads it into the
// store; fails the calling test when the load is refused.
void LoadSyntheticGrid(const LayerFunction& value);

// Every layer constant; layer 7 the mask value (nonzero means data).
LayerFunction ConstantLayers(std::int32_t layers1to6, std::int32_t layer7, std::int32_t layer8);

// Degrees, minutes and seconds of a positive angle in decimal degrees.
constexpr double Dms(double degrees, double minutes, double seconds) {
  return degrees + minutes / 60 + seconds / 3600;
}
inline constexpr double kArcSecond = 1.0 / 3600;  // degree

// Runs check in a child process that is ended after limitSeconds, so that a
// hang fails the calling test instead of holding up the suite. Gives check's
// result as the child's exit status (0..255), or none when the child was
// stopped or crashed.
std::optional<int> ExitStatusWithin(unsigned limitSeconds, const std::function<int()>& check);

// Every integer equal to its own index in the file: 8·(1021·i + j) + layer − 1.
std::int32_t FileIndex(int i, int j, int layer);

}  // namespace kolvedir::testing
