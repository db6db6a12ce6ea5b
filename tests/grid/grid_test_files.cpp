#include "tests/grid/grid_test_files.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "grid/correction_grid.h"

namespace kolvedir::testing {

std::vector<unsigned char> GridBytes(const LayerFunction& value) {
  std::vector<unsigned char> bytes;
  bytes.reserve(kGridFileBytes);
  for (int i = 0; i < kGridFileRows; ++i) {
    for (int j = 0; j < kGridFileColumns; ++j) {
      for (int layer = 1; layer <= kGridLayers; ++layer) {
        const auto bits = static_cast<std::uint32_t>(value(i, j, layer));
        for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<unsigned char>(bits >> (8 * k)));
      }
    }
  }
  return bytes;
}

TemporaryFolder::TemporaryFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kolvedir-grid-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WriteBytes(const std::filesystem::path& file, const std::vector<unsigned char>& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << file;
}

void LoadSyntheticGrid(const LayerFunction& value) {
  TemporaryFolder folder;
  const std::filesystem::path file = CorrectionGridPath(folder.path());
  WriteBytes(file, GridBytes(value));
  ASSERT_EQ(LoadCorrectionGrid(file), GridLoadResult::kLoaded);
}

LayerFunction ConstantLayers(std::int32_t layers1to6, std::int32_t layer7, std::int32_t layer8) {
  return [=](int, int, int layer) {
    return layer == 7 ? layer7 : layer == 8 ? layer8 : layers1to6;
  };
}

std::optional<int> ExitStatusWithin(unsigned limitSeconds, const std::function<int()>& check) {
  const pid_t child = ::fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    ::alarm(limitSeconds);  // SIGALRM ends the child
    ::_exit(check());
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status)) return std::nullopt;
  return WEXITSTATUS(status);
}

std::int32_t FileIndex(int i, int j, int layer) {
  return 8 * (kGridFileColumns * i + j) + layer - 1;
}

}  // namespace kolvedir::testing
