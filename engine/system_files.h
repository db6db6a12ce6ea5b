#pragma once
// The standard point files of the working object, by module, frame group and
// system code.
#include <cstdint>
#include <span>
#include <string_view>

namespace kolvedir {

struct SystemFile {
  std::int32_t module;      // ActiveModule: 1 TRANS 2D/3D, 2 TRANS-H, 3 quasigeoid
  bool krassowsky;          // TRANS 2D/3D: the Pulkovo'42 group (frame 3)
  std::int32_t code;        // InputSystem / OutputSystem
  std::string_view input;   // input file name
  std::string_view output;  // output file name
  std::int32_t kind;        // record kind (kKindGeodetic, kKindPlane, kKindCartesian)
};

// Every standard file, in the order of the system codes.
std::span<const SystemFile> SystemFiles();

// The file of `code` in `module`; for TRANS 2D/3D `frame` 1 or 2 selects the
// GRS80 group, any other frame the Pulkovo'42 group (the frame is ignored for
// the other modules). nullptr when the code has no file.
const SystemFile* FindSystemFile(std::int32_t module, std::int32_t frame, std::int32_t code);

}  // namespace kolvedir
