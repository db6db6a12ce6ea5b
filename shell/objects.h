#pragma once
// Working objects: the objects folder "OBIEKTY" (beside the program folder,
// or in the user's data folder for an installed program) holds one subfolder
// per object; the file "katal" in the program folder (or the user's data
// folder) remembers the index of the last chosen object.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kolvedir {

// Names of the immediate subfolders of root (hidden ones left out), sorted
// without regard to case; empty when root cannot be listed. A name that is
// not valid UTF-8 (a folder copied from an old installation keeps its
// Windows-1250 name) is shown decoded as Windows-1250.
QStringList ListObjects(const QString& root);
// The object folder for the combo text: root + "/" + name (root + "/" for an
// empty name), for display.
QString ObjectFolderFor(const QString& root, const QString& name);
// The folder name, as the file system holds it, of the object the list shows
// as name: its UTF-8 bytes when such a folder exists or none matches, else the
// bytes of the subfolder of root listed under that name.
QByteArray ObjectFolderBytes(const QString& root, const QString& name);
// Index stored in "katal": 0 when the file is missing, is not a regular file
// (a FIFO or device is never opened for reading) or does not start with a
// number.
int ReadKatal(const QString& folder);
// Replaces "katal" with index and CR LF; on failure the previous file stays.
bool WriteKatal(const QString& folder, int index);
// Whether name can be created as one folder inside the objects folder: not
// empty, no separator, not "." or "..".
bool IsValidObjectName(const QString& name);

}  // namespace kolvedir
