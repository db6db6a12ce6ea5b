#include "tests/engine/loop_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "engine/text_encoding.h"
#include "grid/correction_grid.h"

namespace kolvedir::testing {

RecordLoopBench::RecordLoopBench(const LayerFunction& grid) {
  std::filesystem::create_directories(ObjectFolder());
  grid_ = CorrectionGridPath(folder_.path());
  WriteBytes(grid_, GridBytes(grid));
}

std::string RecordLoopBench::Run(JobDescription& job, const std::string& inputName,
                          const std::string& input, const std::string& outputName,
                          std::string_view secondsText, std::string_view linearText) {
  {
    std::ofstream file(ObjectFolder() / inputName, std::ios::binary | std::ios::trunc);
    file << input;
  }
  outcome = BitBtn1Click(job, folder_.path() / "OBIEKTY", "TEST", secondsText, linearText, grid_,
                         counters, ui);
  std::ifstream result(ObjectFolder() / outputName, std::ios::binary);
  if (!result) return "";
  return std::string(std::istreambuf_iterator<char>(result), {});
}

std::string Win1250(std::string_view utf8) { return Utf8ToWin1250(utf8); }

}  // namespace kolvedir::testing
