#pragma once
// End-to-end jobs for the record-loop tests: an object folder with one input
// file, a synthetic grid file, a scripted user interface, and the result file
// read back byte for byte.
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/job.h"
#include "engine/job_context.h"
#include "engine/job_description.h"
#include "engine/job_ui.h"
#include "engine/run_report.h"
#include "tests/grid/grid_test_files.h"

namespace kolvedir::testing {

// Answers the point questions from a script (No once the script is used up)
// and records every dialog in order.
class RecordLoopUi : public JobUserInterface {
 public:
  std::deque<bool> answers;
  std::vector<std::string> dialogs;  // "question: ...", "information: ...", "message: ..."
  Monitor monitor;

  void ShowInformation(const std::string& text) override { dialogs.push_back("information: " + text); }
  void ShowMessage(const std::string& text) override { dialogs.push_back("message: " + text); }
  bool AskPointQuestion(const std::string& text) override {
    dialogs.push_back("question: " + text);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void SetMonitorLine(int line, const std::string& text) override { monitor.SetLine(line, text); }
  void MarkFilePanels(int) override {}
  void SetStatusText(int, const std::string&) override {}
};

// The object folder OBIEKTY/TEST and a grid file beside it, in a temporary folder.
class RecordLoopBench {
 public:
  explicit RecordLoopBench(const LayerFunction& grid);

  // Writes `input` (bytes) as file `inputName` of the object, runs the job
  // with the first items of the precision combo boxes unless others are given,
  // and returns the bytes of file `outputName` ("" when it does not exist).
  std::string Run(JobDescription& job, const std::string& inputName, const std::string& input,
                  const std::string& outputName, std::string_view secondsText = kSecondsPrecisionItems[0],
                  std::string_view linearText = kLinearPrecisionItems[0]);

  std::filesystem::path ObjectFolder() const { return folder_.path() / "OBIEKTY" / "TEST"; }

  RecordLoopUi ui;
  JobCounters counters;
  JobOutcome outcome = JobOutcome::kRefused;

 private:
  TemporaryFolder folder_;
  std::filesystem::path grid_;
};

// Windows-1250 bytes of a UTF-8 text (record comments with "Ł").
std::string Win1250(std::string_view utf8);

}  // namespace kolvedir::testing
