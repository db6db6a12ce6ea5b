// The windowed program: Qt's Polish texts, the main window, the information
// window, one editor window and the about window, then the event loop. An
// installed program first gives a new user the sample objects.
#include <QApplication>
#include <QFile>

#include "engine/program_places.h"
#include "shell/copy_library.h"
#include "shell/dialog_service.h"
#include "shell/editor_window.h"
#include "shell/info_windows.h"
#include "shell/main_window.h"
#include "shell/qt_translations.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("KOLVEDIR"));
  QApplication::setDesktopFileName(QStringLiteral("kolvedir"));
  kolvedir::InstallQtPolishTranslations(
      kolvedir::QtTranslationFolders(QCoreApplication::applicationDirPath()));
  const kolvedir::ProgramPlaces places = kolvedir::PlacesOfThisPart();
  const bool samplesReady = kolvedir::PrepareObjectsFolder(places);
  kolvedir::SetCopyLibraryFolder(QFile::decodeName(places.helperFolder.c_str()));
  kolvedir::MainWindow mainWindow(places);
  kolvedir::HelpWindow info(&mainWindow);
  kolvedir::SetEditorOwner(&mainWindow);
  kolvedir::CurrentEditor();
  kolvedir::AboutWindow about(&mainWindow);
  mainWindow.SetInfoWindows(&info, &about);
  mainWindow.show();
  if (!samplesReady) {
    kolvedir::Dialogs().Information(
        &mainWindow, QStringLiteral("Informacja"),
        QStringLiteral(" Nie udało się skopiować obiektów przykładowych do ") +
            QFile::decodeName(places.objectsRoot.c_str()));
  }
  return QApplication::exec();
}
