#include "tests/engine/loop_test_support.h"

#include <filesystem>

namespace kolvedir::testing {

void UseGrid(JobFixture& fixture, const LayerFunction& grid) {
  // The fixture's file may be shared with other fixtures: put a new one in its place.
  std::filesystem::remove(fixture.gridFile());
  WriteBytes(fixture.gridFile(), GridBytes(grid));
}

std::string RunJob(JobFixture& fixture, JobDescription& job, const std::string& inputName,
                   const std::string& input, const std::string& outputName, int secondsDecimals,
                   int linearDecimals) {
  fixture.WriteInput(inputName, input);
  fixture.Run(job, secondsDecimals, linearDecimals);
  return fixture.ReadOutput(outputName);
}

}  // namespace kolvedir::testing
