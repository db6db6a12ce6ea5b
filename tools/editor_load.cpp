// What opening a file in the editor costs: the time from the request to the
// shown window, painted, the peak resident memory of the process (VmHWM) and
// the resident memory once the editor has been closed again. Every question
// the editor asks (a big file, saving) is answered Yes.
//   kolvedir_editor_load FILE   (QT_QPA_PLATFORM=offscreen, or under X)
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>

#include <cstdio>
#include <fstream>
#include <string>

#include "shell/dialog_service.h"
#include "shell/editor_window.h"

namespace {

using kolvedir::DialogService;

class AnswerYes final : public DialogService {
 public:
  void Information(QWidget*, const QString&, const QString& text) override {
    std::fprintf(stderr, "%s\n", qPrintable(text));
  }
  void Message(QWidget*, const QString& text) override {
    std::fprintf(stderr, "%s\n", qPrintable(text));
  }
  Answer Question(QWidget*, const QString&, const QString&, bool) override { return Answer::Yes; }
  QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return {};
  }
  QStringList OpenFileNames(QWidget*, const QString&, const QString&, const QString&) override {
    return {};
  }
  QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return {};
  }
  bool ChooseFont(QWidget*, QFont&) override { return false; }
  bool SetUpPrinter(QWidget*, QPrinter&) override { return false; }
};

// A "Vm…:" figure of /proc/self/status, in MiB.
double StatusMiB(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string name;
  double kib = 0;
  while (status >> name) {
    if (name == key + ":") {
      status >> kib;
      return kib / 1024.0;
    }
    status.ignore(1 << 20, '\n');
  }
  return -1;
}

void ProcessEventsFor(int milliseconds) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 2;
  }
  AnswerYes answers;
  kolvedir::SetDialogService(&answers);
  const QString path = QFile::decodeName(argv[1]);
  ProcessEventsFor(100);
  const double before = StatusMiB("VmRSS");

  QElapsedTimer timer;
  timer.start();
  kolvedir::EditorWindow* editor = kolvedir::OpenInEditor(path);
  editor->repaint();
  QApplication::processEvents();
  const qint64 shown = timer.elapsed();
  ProcessEventsFor(200);
  const double peak = StatusMiB("VmHWM");

  editor->close();
  ProcessEventsFor(200);
  const double afterClose = StatusMiB("VmRSS");
  std::printf("%s: %.1f MB, shown in %lld ms, RSS before %.0f MiB, peak %.0f MiB, after closing "
              "%.0f MiB\n",
              qPrintable(QFileInfo(path).fileName()), QFileInfo(path).size() / 1e6,
              static_cast<long long>(shown), before, peak, afterClose);
  kolvedir::SetDialogService(nullptr);
  return 0;
}
