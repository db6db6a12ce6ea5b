// A whole batch job (RunJob) over an arbitrary input file, with a small
// valid grid that the target writes once. Built three times, for TRANS 2D/3D,
// TRANS-H and the quasigeoid module (KOLVEDIR_FUZZ_MODULE 1, 2, 3).
//
// Input: the last bytes choose the selection state (mostly valid choices of
// the module, sometimes any codes at all), the decimals texts and the answers
// to the point questions; the other bytes are the input point file.
// Checks: the job never fails on readable files; a completed job writes one
// record per input line of at least 3 tokens, each ending in CR LF and
// starting with its point name, with no "nan" or "inf" that the input line
// did not hold; the monitor counts those records; a refused job writes
// nothing; no temporary file is left behind; every text for the user is UTF-8.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/job.h"
#include "engine/point_record.h"
#include "engine/system_files.h"
#include "engine/text_encoding.h"
#include "grid/correction_grid.h"
#include "tests/fuzz/fuzz_files.h"

#ifndef KOLVEDIR_FUZZ_MODULE
#error "KOLVEDIR_FUZZ_MODULE must be 1, 2 or 3"
#endif

namespace {

using namespace kolvedir;

constexpr Module kModule = Module(KOLVEDIR_FUZZ_MODULE);
constexpr std::string_view kObject = "OBIEKT";

void Require(bool condition) {
  if (!condition) std::abort();
}

bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (int k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

// Answers the point questions from a bit pattern; keeps the monitor lines it needs.
class ScriptedUserInterface : public JobUserInterface {
 public:
  explicit ScriptedUserInterface(std::uint32_t answers) : answers_(answers) {}
  void ShowInformation(const std::string& text) override { Require(IsUtf8(text) && !text.empty()); }
  void ShowMessage(const std::string& text) override { Require(IsUtf8(text) && !text.empty()); }
  bool AskPointQuestion(const std::string& text) override {
    Require(IsUtf8(text));
    const bool yes = answers_ & 1;
    answers_ = answers_ >> 1 | answers_ << 31;
    return yes;
  }
  void SetMonitorLine(int, const std::string& text) override {
    Require(IsUtf8(text));
    lastLine_ = text;
    if (text.rfind(" Liczba punktów: ", 0) == 0) pointCountLine_ = text;
  }
  void MarkFilePanels(Module module) override { Require(module == kModule); }
  void SetStatusText(int panel, const std::string& text) override {
    Require(panel >= 0 && panel <= 3 && IsUtf8(text));
  }
  const std::string& PointCountLine() const { return pointCountLine_; }
  const std::string& LastLine() const { return lastLine_; }

 private:
  std::uint32_t answers_;
  std::string lastLine_, pointCountLine_;
};

// The lines of a point file as the job must see them: a final Ctrl+Z is no
// part of the input, lines end at LF, every CR is dropped (before LF it is
// part of the line end, elsewhere a stray). Only lines of 3 or more tokens.
std::vector<std::string> RecordLines(std::string_view file) {
  if (!file.empty() && file.back() == '\x1a') file.remove_suffix(1);
  std::vector<std::string> records;
  std::string line;
  auto finish = [&] {
    TokenList tokens;
    SplitLine(line, tokens);
    if (tokens.count() >= 3) records.push_back(line);
    line.clear();
  };
  for (char c : file) {
    if (c == '\n') {
      finish();
    } else if (c != '\r') {
      line += c;
    }
  }
  finish();
  return records;
}

bool Holds(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

void CheckResult(std::string_view result, const std::vector<std::string>& records) {
  std::size_t start = 0;
  for (const std::string& record : records) {
    const std::size_t end = result.find("\r\n", start);
    Require(end != std::string_view::npos);
    const std::string_view line = result.substr(start, end - start);
    Require(!Holds(line, "\r") && !Holds(line, "\n"));
    TokenList tokens;
    SplitLine(record, tokens);
    std::string name;
    AppendName(name, tokens[1]);
    Require(line.substr(0, name.size()) == name);
    for (std::string_view word : {"nan", "inf"}) Require(!Holds(line, word) || Holds(record, word));
    start = end + 2;
  }
  Require(start == result.size());
}

std::string ChooseDecimalsText(FuzzedDataProvider& input, const std::array<std::string_view, 3>& items) {
  const int pick = input.ConsumeIntegralInRange(0, 3);
  return pick < 3 ? std::string(items[pick]) : "0.1";
}

std::int32_t ChooseZone(FuzzedDataProvider& input) {
  static constexpr std::int32_t kZones[] = {15, 18, 21, 24, 1, 2, 3, 4, 5, 0, 9};
  return kZones[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kZones) - 1)];
}

// A code of a selection value between first and last.
template <typename Code>
Code ChooseCode(FuzzedDataProvider& input, int first, int last) {
  return Code(input.ConsumeIntegralInRange(first, last));
}

// Any code at all.
template <typename Code>
Code AnyCode(FuzzedDataProvider& input) {
  return Code(input.ConsumeIntegral<std::int32_t>());
}

JobDescription ChooseJob(FuzzedDataProvider& input) {
  JobDescription job;
  job.ActiveModule = kModule;
  if (input.ConsumeIntegralInRange(0, 31) == 0) {  // any codes at all
    job.ActiveModule = AnyCode<Module>(input);
    job.InputFrame = AnyCode<Frame>(input);
    job.OutputFrame = AnyCode<Frame>(input);
    for (std::int32_t* code :
         {&job.InputSystem, &job.OutputSystem, &job.InputZone, &job.OutputZone}) {
      *code = AnyCode<std::int32_t>(input);
    }
    job.Method = AnyCode<ComputationMethod>(input);
    job.BLInputFormat = AnyCode<BlFormat>(input);
    job.BLOutputFormat = AnyCode<BlFormat>(input);
    return job;
  }
  job.Method = ChooseCode<ComputationMethod>(input, 0, 2);
  job.BLInputFormat = ChooseCode<BlFormat>(input, 0, 2);
  job.BLOutputFormat = ChooseCode<BlFormat>(input, 0, 2);
  switch (kModule) {
    case Module::kTrans:
      job.InputFrame = ChooseCode<Frame>(input, 1, 3);
      job.OutputFrame = ChooseCode<Frame>(input, 1, 3);
      job.InputSystem = input.ConsumeIntegralInRange(1, job.InputFrame == Frame::kPulkovo ? 8 : 5);
      job.OutputSystem =
          input.ConsumeIntegralInRange(1, job.OutputFrame == Frame::kPulkovo ? 8 : 5);
      job.InputZone = ChooseZone(input);
      job.OutputZone = ChooseZone(input);
      break;
    case Module::kHeight:
      job.InputSystem = input.ConsumeIntegralInRange(11, 13);
      job.OutputSystem = input.ConsumeIntegralInRange(10, 13);
      break;
    default:
      job.InputFrame = ChooseCode<Frame>(input, 5, 6);
      job.InputSystem = job.OutputSystem = input.ConsumeIntegralInRange(21, 23);
      break;
  }
  return job;
}

// A grid of plausible constant layers whose north-eastern corner has no data.
std::filesystem::path WriteSmallGrid(const std::filesystem::path& folder) {
  constexpr std::int32_t kLayers[kGridLayers] = {312000, -150, 420, 35, -48, 270, -11000, 140000};
  std::vector<std::uint8_t> bytes(kGridFileBytes);
  std::size_t at = 0;
  for (int i = 0; i < kGridFileRows; ++i) {
    for (int j = 0; j < kGridFileColumns; ++j) {
      for (int k = 0; k < kGridLayers; ++k) {
        const bool masked = k == 6 && i > 550 && j > 900;
        const auto value = static_cast<std::uint32_t>(masked ? 0 : kLayers[k] + (i + j) % 7);
        for (int b = 0; b < 4; ++b) bytes[at++] = static_cast<std::uint8_t>(value >> (8 * b));
      }
    }
  }
  const std::filesystem::path file = folder / kGridFileName;
  WriteBytes(file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const FuzzFolder root("job");
  static const std::filesystem::path grid = WriteSmallGrid(root.path());
  const std::filesystem::path objects = root.path() / "OBIEKTY";
  const std::filesystem::path object = objects / kObject;
  std::filesystem::remove_all(objects);
  std::filesystem::create_directories(object);

  FuzzedDataProvider input(data, size);
  JobDescription job = ChooseJob(input);
  const std::string secondsText = ChooseDecimalsText(input, kSecondsPrecisionItems);
  const std::string linearText = ChooseDecimalsText(input, kLinearPrecisionItems);
  const bool writeInput = input.ConsumeIntegralInRange(0, 15) != 0;
  ScriptedUserInterface ui(input.ConsumeIntegral<std::uint32_t>());
  const std::string file = input.ConsumeRemainingBytesAsString();

  const SystemFile* names = FindSystemFile(job.ActiveModule, job.InputFrame, job.InputSystem);
  if (names && writeInput) WriteBytes(object / names->input, file);

  JobCounters counters;
  const JobOutcome outcome =
      RunJob(job, objects, kObject, secondsText, linearText, grid, counters, ui);
  Require(outcome != JobOutcome::kFailed);
  Require(ui.LastLine() == " KONIEC OBLICZEŃ ");

  std::vector<std::filesystem::path> written;
  for (const auto& entry : std::filesystem::directory_iterator(object)) {
    if (!names || entry.path().filename() != names->input) written.push_back(entry.path());
  }
  if (outcome != JobOutcome::kCompleted) {
    Require(written.empty());
    return 0;
  }
  Require(written.size() == 1);
  // A byte-order mark is no part of the first record; the result keeps it.
  std::string_view recordsFile = file;
  const std::string result = ReadBytes(written.front());
  std::string_view recordsResult = result;
  if (recordsFile.starts_with(kUtf8ByteOrderMark)) {
    Require(recordsResult.starts_with(kUtf8ByteOrderMark));
    recordsFile.remove_prefix(kUtf8ByteOrderMark.size());
    recordsResult.remove_prefix(kUtf8ByteOrderMark.size());
  }
  const std::vector<std::string> records = RecordLines(recordsFile);
  CheckResult(recordsResult, records);
  Require(ui.PointCountLine() == " Liczba punktów: " + std::to_string(records.size()));
  return 0;
}
