#pragma once
// Record-loop jobs on the job fixture with a grid of the test's own making.
#include <string>
#include <string_view>

#include "engine/job_description.h"
#include "tests/engine/job_fixture.h"
#include "tests/grid/grid_test_files.h"

namespace kolvedir::testing {

// Replaces the fixture's grid file by one made by `grid`.
void UseGrid(JobFixture& fixture, const LayerFunction& grid);

// Writes `input` as file `inputName` of the object, runs the job with the
// given decimals and returns the bytes of `outputName` ("<missing>" when absent).
std::string RunJob(JobFixture& fixture, JobDescription& job, const std::string& inputName,
                   const std::string& input, const std::string& outputName,
                   int secondsDecimals = 6, int linearDecimals = 4);

}  // namespace kolvedir::testing
