// Shows the editor with a result file, the object file list, the help window,
// the about window, and last the main window clicked (with xdotool) beside an
// editor opened from it, one after another, and saves a picture of the screen
// for each into the given folder (run under Xvfb with a window manager by
// scripts/screenshots-windows.sh).
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QProcess>
#include <QSaveFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <vector>

#include "shell/cp1250_text.h"
#include "shell/editor_window.h"
#include "shell/file_list_dialog.h"
#include "shell/info_windows.h"
#include "shell/main_window.h"

namespace {

bool WriteCp1250(const QString& path, const QString& text) {
  QByteArray bytes;
  QString rejected;
  QSaveFile file(path);
  return kolvedir::TextToCp1250(text, bytes, rejected) && file.open(QIODevice::WriteOnly) &&
         file.write(bytes) == bytes.size() && file.commit();
}

bool FillSampleObject(const QDir& object) {
  const QString comment = QString::fromUtf8("  Pułkowo'42 elipsoida Krasowskiego (źródło: xy2000 PL-ETRF2000)");
  return WriteCp1250(object.filePath("xy2000"),
                     "1235 5652126.56 6429808.46\n1236 5652300.00 6430000.00\n") &&
         WriteCp1250(object.filePath("BLH_KRA.1"),
                     "1235 51 0 1.257090 17 0 6.398814 -38.0793" + comment + "\n" +
                         "1236 51 0 6.872140 17 0 16.391511 -38.0797" + comment + "\n") &&
         WriteCp1250(object.filePath("notatnik.txt"),
                     QString::fromUtf8("Pomiar osnowy - zażółć gęślą jaźń\n"));
}

void Settle(int milliseconds) {
  QEventLoop wait;
  QTimer::singleShot(milliseconds, &wait, &QEventLoop::quit);
  wait.exec();
}

// A left click of the X server's pointer at a point of the main window that
// the editor does not cover.
bool ClickBeside(const QWidget& main, const QWidget& editor) {
  const QPoint at = main.frameGeometry().topLeft() + QPoint(60, 240);
  if (editor.frameGeometry().contains(at)) {
    std::fprintf(stderr, "the editor covers the point to click\n");
    return false;
  }
  return QProcess::execute("xdotool", {"mousemove", QString::number(at.x()),
                                       QString::number(at.y()), "click", "1"}) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const QDir output(QString::fromLocal8Bit(argv[1]));
  QTemporaryDir temp;
  const QDir object(temp.filePath("OBIEKTY/TEST"));
  if (!QDir().mkpath(object.path()) || !QDir().mkpath(temp.filePath("bin")) ||
      !FillSampleObject(object))
    return 1;

  kolvedir::MainWindow mainWindow(temp.filePath("bin"));
  kolvedir::SetEditorOwner(&mainWindow);
  bool clicked = false;

  kolvedir::HelpWindow help(nullptr, temp.filePath("PL_grid_001.bin"));
  kolvedir::AboutWindow about;
  std::vector<std::pair<QString, std::function<void()>>> steps = {
      {"editor.png", [&] { kolvedir::OpenInEditor(object.filePath("BLH_KRA.1")); }},
      {"file_list.png",
       [&] {
         kolvedir::CurrentEditor()->hide();
         kolvedir::ShowFileListDialog(object.path(), {});
       }},
      {"help.png",
       [&] {
         kolvedir::CurrentFileListDialog()->hide();
         help.show();
       }},
      {"about.png",
       [&] {
         help.hide();
         about.show();
       }},
      {"editor_above_main.png",
       [&] {
         about.hide();
         mainWindow.move(0, 0);
         mainWindow.show();
         kolvedir::EditorWindow* editor = kolvedir::OpenInEditor(object.filePath("xy2000"));
         Settle(700);
         clicked = ClickBeside(mainWindow, *editor);
       }},
  };
  int failures = 0;
  for (const auto& [name, show] : steps) {
    show();
    Settle(700);
    const QString path = output.filePath(name);
    if (!QGuiApplication::primaryScreen()->grabWindow(0).save(path)) ++failures;
    std::printf("%s\n", qPrintable(path));
  }
  return failures == 0 && clicked ? 0 : 1;
}
