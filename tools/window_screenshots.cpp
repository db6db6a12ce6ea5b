// Shows the editor with a result file, the object file list, the help window,
// the about window, the main window clicked (with xdotool) beside an editor
// opened from it, the question of an import that would replace a file, and a
// file too big to edit: the question, then the file opened read-only at its
// top and at the note between its first and last lines, one after another, and saves a picture of the screen for each into the given
// folder (run under Xvfb with a window manager by scripts/screenshots-windows.sh).
#include <QApplication>
#include <QDir>
#include <QAbstractButton>
#include <QMessageBox>
#include <QPlainTextEdit>
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
#include "shell/file_import.h"
#include "shell/file_list_dialog.h"
#include "shell/info_windows.h"
#include "shell/main_window.h"
#include "shell/qt_translations.h"

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

// A result file of about 40 MB, more than the editor edits whole.
bool WriteBigResult(const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  for (int n = 1; file.size() < 40'000'000; ++n) {
    file.write(QByteArray::number(n).rightJustified(16) + "   5800000.0000   7500000.0000" +
               "   -7.70[cm/km]   0.00000000[g]  PL-ETRF2000  Z UKLADU:  PL-ETRF2000 /xy2000\r\n");
  }
  return file.commit();
}

// Saves a picture of the screen; false when it cannot.
bool Shoot(const QString& path) {
  std::printf("%s\n", qPrintable(path));
  return QGuiApplication::primaryScreen()->grabWindow(0).save(path);
}

// Makes ask() ask its question, saves a picture of the screen with the
// question shown and answers it with its button; false when either fails.
bool ShootQuestion(const QString& path, QMessageBox::StandardButton button,
                   const std::function<void()>& ask) {
  bool ok = false;
  QTimer::singleShot(700, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ok = box && box->button(button) && Shoot(path);
    if (box && box->button(button)) box->button(button)->click();
  });
  ask();
  return ok;
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
  // Absolute: the main window makes its objects folder the current one.
  const QDir output(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
  kolvedir::InstallQtPolishTranslations(
      kolvedir::QtTranslationFolders(QCoreApplication::applicationDirPath()));
  QTemporaryDir temp;
  const QDir object(temp.filePath("OBIEKTY/TEST"));
  const QString big = temp.filePath("wyniki/xy2000.1");
  const QString imported = temp.filePath("wyniki/BLH_KRA.1");  // the object holds one
  if (!QDir().mkpath(object.path()) || !QDir().mkpath(temp.filePath("bin")) ||
      !QDir().mkpath(temp.filePath("wyniki")) || !FillSampleObject(object) ||
      !WriteBigResult(big) || !WriteCp1250(imported, "1235 51 0 1.257090 17 0 6.398814\n"))
    return 1;

  kolvedir::MainWindow mainWindow(temp.filePath("bin"));
  kolvedir::SetEditorOwner(&mainWindow);
  bool clicked = false;
  bool questionsShot = false;

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
      {"big_file_top.png",  // after the import question and the big file's
       [&] {
         kolvedir::CurrentEditor()->close();
         auto* files = kolvedir::ShowFileListDialog(object.path(), {});
         Settle(300);
         questionsShot = ShootQuestion(output.filePath("import_question.png"),
                                       QMessageBox::Cancel, [&] {
                                         kolvedir::ImportFiles(files, {imported}, object.path());
                                       });
         files->hide();
         questionsShot = ShootQuestion(output.filePath("big_file_question.png"), QMessageBox::Yes,
                                       [&] { kolvedir::OpenInEditor(big); }) &&
                         questionsShot;
       }},
      {"big_file_middle.png",
       [&] {
         // The note between the first and the last lines in the middle of the view.
         auto* text = kolvedir::CurrentEditor()->findChild<QPlainTextEdit*>("textEdit");
         text->find(QString::fromUtf8("Pominięto"));
         text->centerCursor();
       }},
  };
  int failures = 0;
  for (const auto& [name, show] : steps) {
    show();
    Settle(700);
    if (!Shoot(output.filePath(name))) ++failures;
  }
  return failures == 0 && clicked && questionsShot ? 0 : 1;
}
