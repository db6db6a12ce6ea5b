#include "shell/trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace kolvedir {

namespace {

// The note the trash keeps beside a file in it: ../info/NAME.trashinfo.
QString TrashNote(const QFileInfo& inTrash) {
  return QDir::cleanPath(inTrash.path() + "/../info/" + inTrash.fileName() + ".trashinfo");
}

}  // namespace

// Qt sets up the trash in the user's data folder, but does not make that
// folder. Where it cannot set up a trash folder, QFile::moveToTrash of Qt 6.4
// reports success having moved the file into "files" under the current folder
// (and its note into "info"); such a move is undone and counts as no trash.
QString MoveToTrash(const QString& path) {
  if (!QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)))
    return {};
  QString inTrash;
  if (!QFile::moveToTrash(path, &inTrash)) return {};
  if (QFileInfo(inTrash).isAbsolute()) return inTrash;
  const QFileInfo moved(inTrash);
  QFile::rename(inTrash, path);
  QFile::remove(TrashNote(moved));
  for (const QString& folder : {moved.path(), QFileInfo(TrashNote(moved)).path()})
    QDir().rmdir(folder);
  return {};
}

bool RestoreFromTrash(const QString& inTrash, const QString& path) {
  if (!QFile::rename(inTrash, path)) return false;
  QFile::remove(TrashNote(QFileInfo(inTrash)));
  return true;
}

}  // namespace kolvedir
