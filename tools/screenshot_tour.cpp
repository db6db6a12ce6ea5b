// Screenshot tour of the main window: builds the program's windows on a given
// program folder, walks through the modules and a job as a user would, and
// after every step saves the X screen with ImageMagick's `import`.
// Usage: kolvedir-screenshot-tour PROGRAM_FOLDER OUTPUT_FOLDER [long-job]  (needs DISPLAY)
// "long-job": a long xy2000 → xy92 job of the working object instead: the
// window as it opens, the job in progress, the question on closing during the
// job, the stopped job; then the job once more with the question on closing
// left open until the job has ended, and the screen once "Tak" has closed the
// window at once.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QTextStream>
#include <QTimer>

#include <functional>

#include "shell/editor_window.h"
#include "shell/info_windows.h"
#include "shell/main_window.h"
#include "shell/qt_translations.h"

namespace {

void Settle(int milliseconds) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool Click(QWidget& window, const char* name) {
  auto* button = window.findChild<QAbstractButton*>(QLatin1String(name));
  if (!button || !button->isVisible()) {
    QTextStream(stderr) << "cannot click " << name << "\n";
    return false;
  }
  button->click();
  return true;
}

bool Shoot(const QString& folder, const QString& name) {
  Settle(300);
  const QString file = QDir(folder).filePath(name + ".png");
  return QProcess::execute(QStringLiteral("import"), {"-window", "root", file}) == 0;
}

void SettleWhile(const std::function<bool()>& condition) {
  while (condition()) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool LongJobTour(kolvedir::MainWindow& window, const QString& output) {
  bool ok = Shoot(output, QStringLiteral("10-window-as-it-opens"));
  for (const char* name : {"noticeOkButton", "trans2d3dButton", "inputFrameEtrf2000",
                           "inputSystemXy2000", "inputZone3Deg21", "outputFrameEtrf2000",
                           "outputSystemXy92", "methodTheoretical", "runJobButton"}) {
    ok = Click(window, name) && ok;
  }
  Settle(3000);
  ok = Shoot(output, QStringLiteral("11-job-in-progress")) && ok;
  // Closing asks first; the question is shot, then answered by closing it (No).
  QTimer::singleShot(800, [&] {
    ok = Shoot(output, QStringLiteral("12-question-on-closing")) && ok;
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  window.close();
  ok = Click(window, "stopJobButton") && ok;
  SettleWhile([&] { return window.JobRunning(); });
  ok = Shoot(output, QStringLiteral("13-job-stopped")) && ok;

  // The question stays open while the job ends on its own; "Tak" then closes at once.
  ok = Click(window, "runJobButton") && ok;
  Settle(1000);
  QTimer::singleShot(300, [&] {
    SettleWhile([&] { return window.JobRunning(); });
    ok = Shoot(output, QStringLiteral("14-question-after-the-job-ended")) && ok;
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box && box->button(QMessageBox::Yes))
      box->button(QMessageBox::Yes)->click();
    else
      ok = false;
  });
  window.close();
  Settle(500);
  return Shoot(output, QStringLiteral("15-closed-at-once")) && !window.isVisible() && ok;
}

struct Step {
  const char* shot;
  std::initializer_list<const char*> clicks;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const bool longJob = argc == 4 && QByteArray(argv[3]) == "long-job";
  if (argc != 3 && !longJob) {
    QTextStream(stderr)
        << "usage: kolvedir-screenshot-tour PROGRAM_FOLDER OUTPUT_FOLDER [long-job]\n";
    return 2;
  }
  const QString output = QString::fromLocal8Bit(argv[2]);
  const QString programFolder = QString::fromLocal8Bit(argv[1]);
  kolvedir::InstallQtPolishTranslations(kolvedir::QtTranslationFolders(programFolder));
  kolvedir::MainWindow window(programFolder);
  kolvedir::SetEditorOwner(&window);
  window.move(0, 0);
  window.show();
  if (longJob) return LongJobTour(window, output) ? 0 : 1;

  const Step steps[] = {
      {"02-trans-2d3d-grs80",
       {"noticeOkButton", "trans2d3dButton", "inputFrameEtrf2000", "inputSystemXy2000",
        "inputZone3Deg21", "outputFrameEtrf89", "outputSystemUtm", "outputZone6Deg21"}},
      {"03-trans-2d3d-krasowski",
       {"inputFramePulkovo42", "inputSystemXy65", "inputZone1965_4", "outputFramePulkovo42",
        "outputSystemXy42_3", "outputZone3Deg18"}},
      {"04-trans-h", {"heightModuleButton", "heightInputKron86", "heightOutputEvrf2007"}},
      {"05-quasigeoid",
       {"quasigeoidModuleButton", "quasigeoidFrameEtrf2000", "quasigeoidEllipsoidalToNormal"}},
      {"06-after-job",
       {"trans2d3dButton", "inputFrameEtrf2000", "inputSystemXy2000", "inputZone3Deg21",
        "outputFrameEtrf2000", "outputSystemBlhGrs", "runJobButton"}},
  };
  bool ok = true;
  for (const Step& step : steps) {
    for (const char* name : step.clicks) ok = Click(window, name) && ok;
    ok = Shoot(output, QLatin1String(step.shot)) && ok;
  }
  return ok ? 0 : 1;
}
