#include "shell/job_dialogs.h"

#include <QLabel>
#include <QPlainTextEdit>
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

// The two file panels of each module: input, output.
constexpr int kModulePanels[3][2] = {{2, 3}, {1, 4}, {5, 6}};

}  // namespace

QtJobUserInterface::QtJobUserInterface(QWidget* window)
    : window_(window), monitor_(window->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))) {
  for (int i = 0; i < 6; ++i) {
    filePanels_[i] = window->findChild<QWidget*>(QStringLiteral("Panel%1").arg(i + 1));
  }
  for (int i = 0; i < 4; ++i) {
    statusPanels_[i] = window->findChild<QLabel*>(QStringLiteral("styks%1").arg(i));
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
  for (int number : kModulePanels[code - 1]) {
    QWidget* panel = filePanels_[number - 1];
    if (!panel) continue;
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::ToolTipBase));
    panel->setPalette(palette);
  }
}

void QtJobUserInterface::SetStatusText(int panel, const std::string& text) {
  if (panel >= 0 && panel < 4 && statusPanels_[panel]) statusPanels_[panel]->setText(FromUtf8(text));
}

}  // namespace kolvedir
