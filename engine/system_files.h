#pragma once
// The standard point files of the working object, by module, frame group and
// system code.
#include <cstdint>
#include <span>
#include <string_view>

#include "engine/job_description.h"

namespace kolvedir {

struct SystemFile {
  Module module;
  bool krassowsky;          // TRANS 2D/3D: the Pulkovo'42 group
  std::int32_t code;        // InputSystem / OutputSystem
  std::string_view input;   // input file name
  std::string_view output;  // output file name
  RecordKind kind;
  std::span<const std::int32_t> zones;  // the zones it takes; empty: none
};

// Every standard file, in the order of the system codes.
std::span<const SystemFile> SystemFiles();

// The file of `code` in `module`; for TRANS 2D/3D PL-ETRF2000 or PL-ETRF89
// selects the GRS80 group, any other frame the Pulkovo'42 group (the frame is
// ignored for the other modules). nullptr when the code has no file.
const SystemFile* FindSystemFile(Module module, Frame frame, std::int32_t code);

}  // namespace kolvedir
