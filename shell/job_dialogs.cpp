#include "shell/job_dialogs.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QWidget>

#include "engine/text_encoding.h"
#include "shell/dialog_service.h"

namespace kolvedir {

namespace {

// Engine texts are UTF-8, but the paths in them hold the folder names' own
// bytes, which may be Windows-1250.
QString FromUtf8(const std::string& text) {
  return QString::fromStdString(Utf8OrWin1250ToUtf8(text));
}

// The file panels of each module, input and output, in the order of the
// module codes.
constexpr const char* kModulePanels[3][2] = {
    {"transInputFilePanel", "transOutputFilePanel"},
    {"heightInputFilePanel", "heightOutputFilePanel"},
    {"quasigeoidInputFilePanel", "quasigeoidOutputFilePanel"}};

}  // namespace

QtJobUserInterface::QtJobUserInterface(QWidget* window)
    : window_(window),
      monitor_(window->findChild<QPlainTextEdit*>(QStringLiteral("monitor"))),
      progress_(window->findChild<QProgressBar*>(QStringLiteral("jobProgress"))) {
  for (int module = 0; module < 3; ++module) {
    for (int side = 0; side < 2; ++side) {
      filePanels_[module][side] =
          window->findChild<QWidget*>(QLatin1String(kModulePanels[module][side]));
    }
  }
  for (int i = 0; i < 4; ++i) {
    statusPanels_[i] = window->findChild<QLabel*>(QStringLiteral("statusPanel%1").arg(i));
  }
}

void QtJobUserInterface::ShowInformation(const std::string& text) {
  Dialogs().Information(window_, QStringLiteral("Informacja"), FromUtf8(text));
}

void QtJobUserInterface::ShowMessage(const std::string& text) {
  Dialogs().Message(window_, FromUtf8(text));
}

bool QtJobUserInterface::AskPointQuestion(const std::string& text) {
  return Dialogs().Question(window_, QStringLiteral("Potwierdzenie"), FromUtf8(text), false) ==
         DialogService::Answer::Yes;
}

void QtJobUserInterface::SetMonitorLine(int line, const std::string& text) {
  if (!monitor_ || line < 0) return;
  const QTextBlock block = monitor_->document()->findBlockByNumber(line);
  if (!block.isValid()) return;
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  cursor.insertText(FromUtf8(text));
}

void QtJobUserInterface::MarkFilePanels(Module module) {
  const int code = static_cast<int>(module);
  if (code < 1 || code > 3) return;
  for (QWidget* panel : filePanels_[code - 1]) {
    if (!panel) continue;
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::ToolTipBase));
    panel->setPalette(palette);
  }
}

void QtJobUserInterface::SetStatusText(int panel, const std::string& text) {
  if (panel >= 0 && panel < 4 && statusPanels_[panel]) statusPanels_[panel]->setText(FromUtf8(text));
}

void QtJobUserInterface::ShowProgress(std::uint64_t done, std::uint64_t total) {
  if (progress_ && total > 0 && done <= total) {
    progress_->setValue(int(progress_->maximum() * done / total));
  }
}

}  // namespace kolvedir
