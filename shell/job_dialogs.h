#pragma once
// The batch job's user interface in the main window: its messages go through
// the dialog service, its report to the monitor, the file panels and the
// status bar.

#include <array>

#include "engine/job_ui.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QWidget;

namespace kolvedir {

class QtJobUserInterface : public JobUserInterface {
 public:
  // window: the main window, whose widgets are found by their names.
  explicit QtJobUserInterface(QWidget* window);

  void ShowInformation(const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  bool AskPointQuestion(const std::string& text) override;
  void SetMonitorLine(int line, const std::string& text) override;
  void MarkFilePanels(Module module) override;
  void SetStatusText(int panel, const std::string& text) override;
  // The bar "jobProgress": its range is the whole input, its value the part read.
  void ShowProgress(std::uint64_t done, std::uint64_t total) override;

 private:
  QWidget* window_;
  QPlainTextEdit* monitor_;
  std::array<std::array<QWidget*, 2>, 3> filePanels_{};  // input, output of each module
  std::array<QLabel*, 4> statusPanels_{};
  QProgressBar* progress_;
};

}  // namespace kolvedir
