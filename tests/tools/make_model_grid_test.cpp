// The model grid tool as the build runs it: writes a grid and its marker where
// none is, and never replaces what is already under the grid's name.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "grid/correction_grid.h"
#include "grid/model_grid.h"
#include "tests/grid/grid_test_files.h"

namespace kolvedir {
namespace {

using testing::TemporaryFolder;

int RunTool(const std::string& arguments) {
  const std::string command =
      std::string("'") + KOLVEDIR_MODEL_GRID_TOOL + "' " + arguments + " > /dev/null 2>&1";
  return std::system(command.c_str());
}

std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

TEST(ModelGridTool, WritesGridAndMarkerWhereNoneIs) {
  TemporaryFolder folder;
  const std::filesystem::path grid = CorrectionGridPath(folder.path() / "bin");
  ASSERT_EQ(RunTool("--keep-existing --no-geoid --output " + Quoted(grid)), 0);
  EXPECT_EQ(std::filesystem::file_size(grid), kGridFileBytes);
  EXPECT_TRUE(IsModelGrid(grid));
  ASSERT_EQ(LoadCorrectionGrid(grid), GridLoadResult::kLoaded);
  EXPECT_EQ(CorrectionGridValue(1, 300, 500), 0);
  EXPECT_EQ(CorrectionGridValue(7, 200, 300), 34660);  // 1.247775″ in 1e-8°
}

// A user's grid, a folder or a link under the grid's name is left alone.
TEST(ModelGridTool, KeepsWhateverIsAlreadyThere) {
  TemporaryFolder folder;
  const std::filesystem::path grid = CorrectionGridPath(folder.path());
  const std::vector<unsigned char> official = testing::GridBytes(testing::ConstantLayers(1, 2, 3));
  testing::WriteBytes(grid, official);
  ASSERT_EQ(RunTool("--keep-existing --no-geoid --output " + Quoted(grid)), 0);
  EXPECT_FALSE(std::filesystem::exists(ModelMarkerPath(grid)));
  ASSERT_EQ(LoadCorrectionGrid(grid), GridLoadResult::kLoaded);
  EXPECT_EQ(CorrectionGridValue(7, 200, 300), 2);

  std::filesystem::remove(grid);
  std::filesystem::create_directory(grid);
  EXPECT_EQ(RunTool("--keep-existing --no-geoid --output " + Quoted(grid)), 0);
  EXPECT_TRUE(std::filesystem::is_directory(grid));
  EXPECT_FALSE(std::filesystem::exists(ModelMarkerPath(grid)));
}

TEST(ModelGridTool, UnreadableGeoidFails) {
  TemporaryFolder folder;
  const std::filesystem::path grid = CorrectionGridPath(folder.path());
  EXPECT_NE(RunTool("--geoid " + Quoted(folder.path() / "none.gtx") + " --output " + Quoted(grid)), 0);
  EXPECT_FALSE(std::filesystem::exists(grid));
}

}  // namespace
}  // namespace kolvedir
