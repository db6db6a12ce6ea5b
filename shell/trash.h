#pragma once
// The user's trash (the freedesktop.org trash of the user's data folder, or
// the one of the file's own file system), where deleted and replaced files of
// an object go so that they can be brought back.
#include <QString>

namespace kolvedir {

// Moves path to the trash; returns where it went there, or an empty string
// when there is no trash to take it (path is then left as it was).
QString MoveToTrash(const QString& path);

// Puts a file that MoveToTrash moved to inTrash back at path and drops its
// note in the trash; false when it cannot be moved back.
bool RestoreFromTrash(const QString& inTrash, const QString& path);

}  // namespace kolvedir
