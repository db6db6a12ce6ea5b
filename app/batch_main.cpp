// kolvedir-batch: runs one batch job of any module on a working object from
// the command line, with the same engine as the windowed program.
#include <CLI/CLI.hpp>
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <new>
#include <optional>
#include <set>
#include <string>

#include "engine/atomic_file.h"
#include "engine/job.h"
#include "engine/run_report.h"
#include "engine/text_encoding.h"
#include "engine/system_files.h"
#include "grid/correction_grid.h"
#include "grid/model_grid.h"

namespace {

using namespace kolvedir;

constexpr int kExitCompleted = 0;
constexpr int kExitJobFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kPointMessagesShown = 10;

const char* const kDescription = R"(Transforms the point file of a working object, as "Wykonaj obliczenia" does.

  kolvedir-batch --object DIR --from SYSTEM [--from-zone Z] [--from-frame FRAME]
                 --to SYSTEM [--to-zone Z] [--to-frame FRAME]
                 [--method empirical|theoretical] [--bl-in dms|deg] [--bl-out dms|deg]
                 [--seconds-decimals 6|5|4] [--linear-decimals 4|3|2] [--grid FILE]

SYSTEM is the standard file name; the module follows from the names:
  TRANS 2D/3D, PL-ETRF2000 or PL-ETRF89: xy2000 (zone 15, 18, 21, 24), xy92,
      UTM (zone 15, 21), BLH_GRS, XYZ_GRS
  TRANS 2D/3D, PULKOWO (implied): xy65 (1965 zone 1-5), xy42_3 and xy42_83_3
      (zone 15, 18, 21, 24), xy42_6 and xy42_83_6 (zone 15, 21), xyTARVO80,
      BLH_KRA, XYZ_KRA
  TRANS-H: BLH_K86, BLH_K2006, BLH_EVRF
  quasigeoid: BL (anomaly, writes BLn.1), BLH_e (writes BLH_n.1), BLH_n (writes
      BLH_e.1); --to may be omitted; --from-frame PL-ETRF2000 or PL-ETRF89 is
      the frame of the ellipsoidal heights.
--to takes the output name with or without ".1". The input file DIR/SYSTEM is
read and DIR/<output>.1 written; an earlier result is replaced only when the
job succeeds. The grid is the program folder's PL_grid_001.bin unless --grid
names another file.

Output: the monitor lines of the finished job on standard output; job messages
on standard error, and the messages of bad points (the first ten, then their
count). Nothing is ever asked.
Exit status: 0 the job ran to its end (bad points are counted in the result
line), 1 the job was refused or failed or its monitor lines could not be
written, 2 a usage error.)";

// A message on standard error. Point names and paths in it may hold control
// characters: they are shown escaped, never sent to the terminal.
void PrintError(std::string_view text) { std::cerr << EscapeControlCharacters(text) << '\n'; }

// The engine's dialogs on the standard streams; point questions are answered No.
class StreamUserInterface : public JobUserInterface {
 public:
  void ShowInformation(const std::string& text) override { PrintError(text); }
  void ShowMessage(const std::string& text) override { PrintError(text); }
  bool AskPointQuestion(const std::string& text) override {
    if (++pointMessages_ <= kPointMessagesShown) PrintError(text);
    return false;
  }
  void SetMonitorLine(int line, const std::string& text) override { monitor_.SetLine(line, text); }
  void MarkFilePanels(Module) override {}
  void SetStatusText(int, const std::string&) override {}

  void PrintMonitor(int lastLine) const {
    const auto& lines = monitor_.Lines();
    const int last = std::min(lastLine, static_cast<int>(lines.size()) - 1);
    for (int i = 0; i <= last; ++i) std::cout << lines[i] << '\n';
  }
  void PrintPointMessageCount() const {
    if (pointMessages_ > kPointMessagesShown) {
      std::cerr << "... " << pointMessages_ - kPointMessagesShown
                << " more point messages (" << pointMessages_ << " in all)\n";
    }
  }

 private:
  Monitor monitor_;
  int pointMessages_ = 0;
};

struct Options {
  std::filesystem::path object;
  std::string from, to, fromFrame, toFrame;
  std::optional<int> fromZone, toZone;
  std::string method = "empirical", blIn = "dms", blOut = "dms";
  int secondsDecimals = 6, linearDecimals = 4;
  std::optional<std::filesystem::path> grid;
};

struct UsageError {
  std::string text;
};

// Zones a plane system accepts; empty for systems without zones.
std::set<int> ZonesOf(const SystemFile& f) {
  if (f.module != Module::kTrans) return {};
  if (!f.krassowsky) {
    if (f.code == 1) return {15, 18, 21, 24};
    if (f.code == 3) return {15, 21};
    return {};
  }
  switch (f.code) {
    case 1: return {1, 2, 3, 4, 5};
    case 2: case 4: return {15, 18, 21, 24};
    case 3: case 5: return {15, 21};
    default: return {};
  }
}

const SystemFile& FindByName(std::string_view name, bool output) {
  for (const SystemFile& f : SystemFiles()) {
    if (!output && f.input == name) return f;
    if (output) {
      const std::string_view out = f.output.substr(0, f.output.size() - 2);  // without ".1"
      if (out == name || f.output == name) return f;
    }
  }
  throw UsageError{"unknown " + std::string(output ? "output" : "input") + " system \"" +
                   std::string(name) + "\" (see --help)"};
}

Frame TransFrame(const SystemFile& f, const std::string& frame, const char* option) {
  if (f.krassowsky) {
    if (!frame.empty() && frame != "PULKOWO")
      throw UsageError{std::string(option) + ": " + std::string(f.input) + " is a PULKOWO system"};
    return Frame::kPulkovo;
  }
  if (frame == "PL-ETRF2000") return Frame::kEtrf2000;
  if (frame == "PL-ETRF89") return Frame::kEtrf89;
  throw UsageError{std::string(option) + " PL-ETRF2000 or PL-ETRF89 is needed for " +
                   std::string(f.input)};
}

std::int32_t Zone(const SystemFile& f, std::optional<int> zone, const char* option) {
  const std::set<int> zones = ZonesOf(f);
  if (zones.empty()) {
    if (zone) throw UsageError{std::string(option) + ": " + std::string(f.input) + " has no zones"};
    return 0;
  }
  if (!zone || !zones.contains(*zone)) {
    std::string list;
    for (int z : zones) list += (list.empty() ? "" : ", ") + std::to_string(z);
    throw UsageError{std::string(option) + " " + list + " is needed for " + std::string(f.input)};
  }
  return *zone;
}

BlFormat BlFormatOption(const std::string& option) {
  return option == "dms" ? BlFormat::kDegreesMinutesSeconds : BlFormat::kDecimalDegrees;
}

void RejectIfGiven(bool given, const char* option, const char* module) {
  if (given) throw UsageError{std::string(option) + " does not apply to " + module};
}

JobDescription Describe(const Options& o) {
  if (o.object.empty()) throw UsageError{"--object needs the path of the working object folder"};
  JobDescription job;
  const SystemFile& in = FindByName(o.from, false);
  job.ActiveModule = in.module;
  job.InputSystem = in.code;
  job.BLInputFormat = BlFormatOption(o.blIn);
  job.BLOutputFormat = BlFormatOption(o.blOut);
  switch (in.module) {
    case Module::kTrans: {
      if (o.to.empty()) throw UsageError{"--to is needed for " + std::string(in.input)};
      const SystemFile& out = FindByName(o.to, true);
      if (out.module != Module::kTrans)
        throw UsageError{"--to " + o.to + " is not a TRANS 2D/3D system like " + o.from};
      job.InputFrame = TransFrame(in, o.fromFrame, "--from-frame");
      job.OutputFrame = TransFrame(out, o.toFrame, "--to-frame");
      job.OutputSystem = out.code;
      job.InputZone = Zone(in, o.fromZone, "--from-zone");
      job.OutputZone = Zone(out, o.toZone, "--to-zone");
      job.Method = o.method == "theoretical" ? ComputationMethod::kTheoretical
                                             : ComputationMethod::kEmpirical;
      break;
    }
    case Module::kHeight: {
      if (o.to.empty()) throw UsageError{"--to is needed for " + std::string(in.input)};
      const SystemFile& out = FindByName(o.to, true);
      if (out.module != Module::kHeight)
        throw UsageError{"--to " + o.to + " is not a TRANS-H height file"};
      RejectIfGiven(!o.fromFrame.empty() || !o.toFrame.empty(), "--from-frame/--to-frame", "TRANS-H");
      RejectIfGiven(o.fromZone || o.toZone, "--from-zone/--to-zone", "TRANS-H");
      job.OutputSystem = out.code;
      break;
    }
    default: {
      if (!o.to.empty() && &FindByName(o.to, true) != &in)
        throw UsageError{"the output of " + std::string(in.input) + " is " + std::string(in.output)};
      if (o.fromFrame == "PL-ETRF2000") job.InputFrame = Frame::kQuasigeoidEtrf2000;
      else if (o.fromFrame == "PL-ETRF89") job.InputFrame = Frame::kQuasigeoidEtrf89;
      else throw UsageError{"--from-frame PL-ETRF2000 or PL-ETRF89 is needed for " + std::string(in.input)};
      RejectIfGiven(!o.toFrame.empty(), "--to-frame", "the quasigeoid module");
      RejectIfGiven(o.fromZone || o.toZone, "--from-zone/--to-zone", "the quasigeoid module");
      job.OutputSystem = in.code;
      break;
    }
  }
  return job;
}

// SIGINT, SIGTERM and SIGHUP: the unfinished result leaves no file behind,
// then the signal ends the runner as it would have.
void RemoveUnfinishedFilesAndEnd(int signal) {
  RemoveUnfinishedFiles();
  ::raise(signal);  // delivered with the default action once the handler returns
}

void HandleTerminationSignals() {
  struct sigaction action {};
  action.sa_handler = RemoveUnfinishedFilesAndEnd;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

std::filesystem::path ProgramFolder() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::current_path() : exe.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{kDescription, "kolvedir-batch"};
  app.get_formatter()->column_width(32);
  Options o;
  const std::vector<std::string> frames{"PL-ETRF2000", "PL-ETRF89", "PULKOWO"};
  app.add_option("--object", o.object, "working object folder (DIR)")->required();
  app.add_option("--from", o.from, "input system (standard file name)")->required();
  app.add_option("--from-zone", o.fromZone, "input zone: central meridian or 1965 zone");
  app.add_option("--from-frame", o.fromFrame, "input frame")->check(CLI::IsMember(frames));
  app.add_option("--to", o.to, "output system, with or without \".1\"");
  app.add_option("--to-zone", o.toZone, "output zone: central meridian or 1965 zone");
  app.add_option("--to-frame", o.toFrame, "output frame")->check(CLI::IsMember(frames));
  app.add_option("--method", o.method, "TRANS 2D/3D method (default empirical)")
      ->check(CLI::IsMember({"empirical", "theoretical"}));
  app.add_option("--bl-in", o.blIn, "BL input format (default dms)")->check(CLI::IsMember({"dms", "deg"}));
  app.add_option("--bl-out", o.blOut, "BL output format (default dms)")->check(CLI::IsMember({"dms", "deg"}));
  app.add_option("--seconds-decimals", o.secondsDecimals, "decimals of arc-seconds (default 6)")
      ->check(CLI::IsMember({6, 5, 4}));
  app.add_option("--linear-decimals", o.linearDecimals, "decimals of metres (default 4)")
      ->check(CLI::IsMember({4, 3, 2}));
  app.add_option("--grid", o.grid, "grid file instead of the program folder's PL_grid_001.bin");
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kExitUsage;
  }

  JobDescription job;
  try {
    job = Describe(o);
  } catch (const UsageError& e) {
    PrintError("kolvedir-batch: " + e.text + "\nRun with --help for more information.");
    return kExitUsage;
  }

  const std::filesystem::path gridFile = o.grid ? *o.grid : CorrectionGridPath(ProgramFolder());
  if (IsModelGrid(gridFile)) std::cerr << ModelGridNotice() << '\n';

  const std::filesystem::path object = o.object.lexically_normal();
  const std::filesystem::path folder =
      object.has_filename() ? object : object.parent_path();  // "DIR/" names DIR
  StreamUserInterface ui;
  JobCounters counters;
  HandleTerminationSignals();
  JobOutcome outcome = JobOutcome::kFailed;
  try {
    outcome = RunJob(job, folder.parent_path(), folder.filename().string(),
                     kSecondsPrecisionItems[(6 - o.secondsDecimals)],
                     kLinearPrecisionItems[4 - o.linearDecimals], gridFile, counters, ui);
  } catch (const std::bad_alloc&) {
    // The job's files are closed and its temporary result removed on the way here.
    PrintError(kOutOfMemoryMessage);
    return kExitJobFailed;
  }
  ui.PrintPointMessageCount();
  ui.PrintMonitor(counters.MonitorLine);
  if (!std::cout.flush()) {
    PrintError("kolvedir-batch: the monitor lines could not be written to standard output");
    return kExitJobFailed;
  }
  return outcome == JobOutcome::kCompleted ? kExitCompleted : kExitJobFailed;
}
