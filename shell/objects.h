#pragma once
// Working objects: the folder "OBIEKTY" beside the program folder holds one
// subfolder per object; the file "katal" in the program folder remembers the
// index of the last chosen object.
#include <QString>
#include <QStringList>

namespace kolvedir {

// Parent of the program folder + "/OBIEKTY", without a trailing separator.
QString ObjectsRootFor(const QString& programFolder);
// Names of the immediate subfolders of root, sorted without regard to case;
// empty when root cannot be listed.
QStringList ListObjects(const QString& root);
// The object folder for the combo text: root + "/" + name (root + "/" for an
// empty name).
QString ObjectFolderFor(const QString& root, const QString& name);
// Index stored in "katal": 0 when the file is missing, is not a regular file
// (a FIFO or device is never opened for reading) or does not start with a
// number.
int ReadKatal(const QString& programFolder);
// Replaces "katal" with index and CR LF; on failure the previous file stays.
bool WriteKatal(const QString& programFolder, int index);
// Whether name can be created as one folder inside the objects folder: not
// empty, no separator, not "." or "..".
bool IsValidObjectName(const QString& name);

}  // namespace kolvedir
