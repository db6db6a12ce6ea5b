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
      {"02-trans-2d3d-grs80", {"Button1", "BitBtn8", "owe1", "RadioButton1", "po21", "owy2",
                               "RadioButton13", "rwy2"}},
      {"03-trans-2d3d-krasowski", {"owe3", "RadioButton6", "str4", "owy3", "RadioButton17",
                                   "pow18"}},
      {"04-trans-h", {"BitBtn9", "RadioButton27", "RadioButton32"}},
      {"05-quasigeoid", {"BitBtn6", "RadioButton33", "RadioButton36"}},
      {"06-after-job", {"BitBtn8", "owe1", "RadioButton1", "po21", "owy1", "RadioButton14",
                        "BitBtn7"}},
  };
  bool ok = true;
  for (const Step& step : steps) {
    for (const char* name : step.clicks) ok = Click(window, name) && ok;
    ok = Shoot(output, QLatin1String(step.shot)) && ok;
  }
  return ok ? 0 : 1;
}
