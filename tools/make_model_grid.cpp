// Writes a model PL_grid_001.bin tabulated from the theoretical transformations,
// with its marker file, so the program can run before the official grid is
// installed. An existing grid is kept with --keep-existing: a user's official
// grid is never overwritten by the build.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <string>

#include "grid/model_grid.h"

namespace {

// The geoid model Debian's proj-data ships; used for layer 1 when present.
constexpr const char* kDefaultGeoid = "/usr/share/proj/egm96_15.gtx";

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Writes a model interpolation grid PL_grid_001.bin from the theoretical models."};
  std::filesystem::path output;
  std::filesystem::path geoid;
  bool noGeoid = false;
  bool keepExisting = false;
  app.add_option("-o,--output", output, "Grid file to write")->required();
  app.add_option("-g,--geoid", geoid,
                 std::string("GTX geoid model for layer 1 (default ") + kDefaultGeoid +
                     " when present, otherwise layer 1 is 0)");
  app.add_flag("--no-geoid", noGeoid, "Layer 1 is 0, no geoid model is read");
  app.add_flag("-k,--keep-existing", keepExisting,
               "Do nothing when a file or folder of that name is already there");
  CLI11_PARSE(app, argc, argv);

  std::error_code error;
  if (keepExisting && std::filesystem::exists(std::filesystem::symlink_status(output, error))) {
    std::cout << output.string() << " exists; kept as it is\n";
    return 0;
  }
  if (noGeoid) {
    geoid.clear();
  } else if (geoid.empty() && std::filesystem::is_regular_file(kDefaultGeoid, error)) {
    geoid = kDefaultGeoid;
  }

  if (output.has_parent_path()) std::filesystem::create_directories(output.parent_path(), error);
  switch (kolvedir::WriteModelGrid(output, geoid)) {
    case kolvedir::ModelGridResult::kWritten:
      std::cout << "model grid written: " << output.string() << " (layer 1 "
                << (geoid.empty() ? std::string("zero") : "from " + geoid.string()) << ")\n";
      return 0;
    case kolvedir::ModelGridResult::kGeoidUnreadable:
      std::cerr << "geoid model unreadable or not covering 49-55.01 N, 14-24.21 E: "
                << geoid.string() << "\n";
      return 1;
    case kolvedir::ModelGridResult::kWriteFailed:
      std::cerr << "cannot write " << output.string() << " or its marker\n";
      return 1;
  }
  return 1;
}
