#pragma once
// The input and result of a job: the standard files of a working object, or
// any file or standard stream the caller names, in Windows-1250 or UTF-8.
#include <filesystem>
#include <string>

#include "engine/point_files.h"
#include "engine/text_encoding.h"

namespace kolvedir {

struct JobFiles {
  std::filesystem::path input;   // the input file; empty: standard input
  std::filesystem::path output;  // the result file; empty: standard output
  // Of the input; the result is written in the same encoding.
  TextEncoding encoding = TextEncoding::kAuto;
};

enum class InputOpening {
  kOpened,
  kCannotOpen,  // cannot be opened or read (standard input: not copied whole)
  kNotUtf8,     // read as UTF-8 (not detected) but not valid UTF-8
};

struct OpenedInput {
  InputOpening result = InputOpening::kCannotOpen;
  TextEncoding encoding = TextEncoding::kWindows1250;  // kWindows1250 or kUtf8
  bool byteOrderMark = false;  // a UTF-8 input started with one (skipped in source)
};

// Opens files.input (or standard input) as source and settles its encoding:
// kAuto detects it, kUtf8 checks the whole input first. Unless it is read as
// Windows-1250, standard input is first copied whole to an unnamed temporary
// file, since both need every byte before the first record is written.
OpenedInput OpenJobInput(const JobFiles& files, LineSource& source);

// Creates the result file through sink, or points sink at standard output.
// False (with sink.ErrorText()) when the file cannot be created.
bool CreateJobOutput(const JobFiles& files, OutputSink& sink);

// The input and the result as a message names them: the path, or
// "standardowe wejście" / "standardowe wyjście".
std::string InputText(const JobFiles& files);
std::string OutputText(const JobFiles& files);

}  // namespace kolvedir
