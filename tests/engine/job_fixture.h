#pragma once
// Whole jobs for the tests of job setup and run report: a scripted user
// interface that records every dialog, panel mark and status text, and a
// working object in a temporary folder with a grid file beside it.
#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/job.h"
#include "engine/job_ui.h"
#include "engine/run_report.h"
#include "tests/grid/grid_test_files.h"

namespace kolvedir::testing {

// Records the dialogs as lines "info: ...", "message: ...",
// "question: ... -> Yes|No" and "panels: N"; answers point questions from a
// script (No once the script is used up) and keeps the monitor.
class ScriptedUserInterface : public JobUserInterface {
 public:
  void ShowInformation(const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  bool AskPointQuestion(const std::string& text) override;
  void SetMonitorLine(int line, const std::string& text) override;
  void MarkFilePanels(Module module) override;
  void SetStatusText(int panel, const std::string& text) override;
  void ShowProgress(std::uint64_t done, std::uint64_t total) override;
  bool StopRequested() override;

  int stopAtRequest = -1;  // StopRequested answers true from this request on (-1 never)
  int stopRequests = 0;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;  // done, total
  std::deque<bool> answers;          // the next answers to point questions
  std::vector<std::string> dialogs;  // every dialog and panel mark, in order
  std::string status[4];             // the status-bar panels
  Monitor monitor;
};

// The working object OBIEKTY/OBJ, with the grid file of the program folder
// (constant layers, data at every node) in bin/ beside it.
class JobFixture {
 public:
  JobFixture();

  const std::filesystem::path& objectsRoot() const { return objectsRoot_; }
  std::filesystem::path object() const { return objectsRoot_ / "OBJ"; }
  const std::filesystem::path& gridFile() const { return gridFile_; }

  // Writes bytes as the file `name` of the working object.
  void WriteInput(const std::string& name, const std::string& bytes) const;
  // The bytes of the file `name` of the working object; "<missing>" if absent.
  std::string ReadOutput(const std::string& name) const;
  bool Exists(const std::string& name) const;

  // RunJob on the object with the combo items of the given decimals.
  JobOutcome Run(JobDescription& job, int secondsDecimals = 6, int linearDecimals = 4);

  ScriptedUserInterface ui;
  JobCounters counters;

 private:
  TemporaryFolder folder_;
  std::filesystem::path objectsRoot_, gridFile_;
};

// While it lives, files of this process cannot grow beyond `bytes` (a full
// disk): writes beyond the limit fail with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::uint64_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  std::uint64_t previous_;
  void (*previousHandler_)(int);
};

// n records "i 500000 500000" of a plane file, CR LF.
std::string PlaneRecords(int n);

// A TRANS 2D/3D job: frames, systems and zones; method 1 theoretical, 0 empirical.
JobDescription TransJob(int inputFrame, int inputSystem, int inputZone, int outputFrame,
                        int outputSystem, int outputZone, int method = 1);

// A TRANS-H job from one height datum to another (11 PL-KRON86-NH, 12 KRON2006,
// 13 PL-EVRF2007-NH); latitude and longitude in and out as degrees-minutes-seconds
// (1) or decimal degrees (2).
JobDescription HeightJob(int inputDatum, int outputDatum, int blInput = 1, int blOutput = 1);

// A quasigeoid job in frame 5 (PL-ETRF2000) or 6 (PL-ETRF89): task 21 height
// anomaly, 22 normal from ellipsoidal, 23 ellipsoidal from normal; formats as above.
JobDescription QuasigeoidJob(int frame, int task, int blInput = 1, int blOutput = 1);

// Windows-1250 bytes of a UTF-8 literal.
std::string Cp1250(const std::string& utf8);

}  // namespace kolvedir::testing
