#include "shell/file_import.h"

#include <QDir>
#include <QFileInfo>

#include "shell/copy_library.h"
#include "shell/dialog_service.h"
#include "shell/trash.h"

namespace kolvedir {

namespace {

const QString kTitle = QStringLiteral("Importuj");

// A file or a link under that name, which the copy would replace; a folder
// (or anything else) is left for the copy to refuse.
bool IsTaken(const QFileInfo& destination) {
  return destination.isSymLink() || destination.isFile();
}

// A replaced file without any write permission bit is refused by the copy
// as it stands, so it is never moved away.
bool IsReadOnly(const QFileInfo& destination) {
  return !destination.isSymLink() &&
         !(destination.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
}

// Moves the object's file to the trash before it is replaced; where there is
// no trash, asks whether to replace it for good. False: keep the file.
bool MakeRoom(QWidget* parent, const QString& path, const QString& name, QString& inTrash) {
  inTrash = MoveToTrash(path);
  return !inTrash.isEmpty() ||
         Dialogs().Question(parent, kTitle,
                            "Nie można przenieść pliku " + name +
                                " do kosza.\nZastąpić go bez zachowania obecnej wersji?",
                            false) == DialogService::Answer::Yes;
}

}  // namespace

void ImportFiles(QWidget* parent, const QStringList& sources, const QString& objectFolder) {
  bool replaceAll = false;
  for (const QString& source : sources) {
    const QFileInfo from(source);
    const QFileInfo destination(QDir(objectFolder).filePath(from.fileName()));
    if (from.canonicalFilePath() == destination.canonicalFilePath()) continue;
    const QString name = "\"" + destination.fileName() + "\"";
    QString inTrash;
    if (IsTaken(destination) && !IsReadOnly(destination)) {
      if (!replaceAll) {
        const DialogService::Answer answer = Dialogs().QuestionForEach(
            parent, kTitle,
            "Plik " + name + " już jest w obiekcie. Zastąpić go?\n"
                             "Obecny plik zostanie przeniesiony do kosza.");
        if (answer == DialogService::Answer::Cancel) return;
        if (answer == DialogService::Answer::No) continue;
        replaceAll = answer == DialogService::Answer::YesToAll;
      }
      if (!MakeRoom(parent, destination.filePath(), name, inTrash)) continue;
    }
    const QString problem = CopyWithLibrary(source, destination.filePath());
    if (problem.isEmpty()) continue;
    if (!inTrash.isEmpty()) RestoreFromTrash(inTrash, destination.filePath());
    Dialogs().Information(parent, QStringLiteral("Informacja"), problem);
  }
}

}  // namespace kolvedir
