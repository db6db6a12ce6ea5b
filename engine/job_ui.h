#pragma once
// The only way a batch job reaches the user. The Qt shell implements it with
// real dialogs and widgets, the command-line runner with standard streams, the
// tests with a scripted fake. All texts are UTF-8.
#include <cstdint>
#include <string>

#include "engine/job_description.h"

namespace kolvedir {

class JobUserInterface {
 public:
  virtual ~JobUserInterface() = default;

  // A problem that stops the job: information dialog with an OK button.
  virtual void ShowInformation(const std::string& text) = 0;
  // Plain message box (the missing grid file).
  virtual void ShowMessage(const std::string& text) = 0;
  // A problem with one point: Yes/No question; returns true for Yes.
  virtual bool AskPointQuestion(const std::string& text) = 0;
  // Replace the whole text of monitor line `line` (0 is "MONITOR"); a line that
  // does not exist is skipped silently.
  virtual void SetMonitorLine(int line, const std::string& text) = 0;
  // Mark the two file panels of the module as done.
  virtual void MarkFilePanels(Module module) = 0;
  // Set the text of status-bar panel `panel` (0 to 3).
  virtual void SetStatusText(int panel, const std::string& text) = 0;
  // Progress of a record loop: `done` bytes of the input read of `total`
  // (total 0: the size is unknown). Called between blocks of records and once
  // more with done == total when the loop has read the whole input.
  virtual void ShowProgress(std::uint64_t /*done*/, std::uint64_t /*total*/) {}
  // Asked between blocks of records: true stops the job, which then writes no
  // result and keeps the earlier one.
  virtual bool StopRequested() { return false; }
};

}  // namespace kolvedir
