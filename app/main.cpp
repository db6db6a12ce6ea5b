// The windowed program: Qt's Polish texts, the main window, the information
// window, one editor window and the about window, then the event loop.
#include <QApplication>

#include "shell/editor_window.h"
#include "shell/info_windows.h"
#include "shell/main_window.h"
#include "shell/qt_translations.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("KOLVEDIR"));
  kolvedir::InstallQtPolishTranslations(
      kolvedir::QtTranslationFolders(QCoreApplication::applicationDirPath()));
  kolvedir::MainWindow mainWindow(QCoreApplication::applicationDirPath());
  kolvedir::HelpWindow info(&mainWindow);
  kolvedir::SetEditorOwner(&mainWindow);
  kolvedir::CurrentEditor();
  kolvedir::AboutWindow about(&mainWindow);
  mainWindow.SetInfoWindows(&info, &about);
  mainWindow.show();
  return QApplication::exec();
}
