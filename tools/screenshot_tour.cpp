// Screenshot tour of the main window: builds the program's windows on a given
// program folder, walks through the modules and a job as a user would, and
// after every step saves the X screen with ImageMagick's `import`.
// Usage: kolvedir-screenshot-tour PROGRAM_FOLDER OUTPUT_FOLDER  (needs DISPLAY)
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>

#include "shell/editor_window.h"
#include "shell/info_windows.h"
#include "shell/main_window.h"

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

struct Step {
  const char* shot;
  std::initializer_list<const char*> clicks;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 3) {
    QTextStream(stderr) << "usage: kolvedir-screenshot-tour PROGRAM_FOLDER OUTPUT_FOLDER\n";
    return 2;
  }
  const QString output = QString::fromLocal8Bit(argv[2]);
  kolvedir::MainWindow window(QString::fromLocal8Bit(argv[1]));
  kolvedir::SetEditorOwner(&window);
  window.move(0, 0);
  window.show();

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
