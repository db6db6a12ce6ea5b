#pragma once
// The copy library libkopy.so and its function `kopiuj`, which the import and
// the file list's "Kopia" use to copy a file. For every copy the library is
// loaded by name from the program folder, `kopiuj` is looked up and called
// once, and the library is unloaded again.
#include <QString>

namespace kolvedir {

// File name of the copy library and of its function.
inline constexpr char kCopyLibraryName[] = "libkopy.so";
inline constexpr char kCopyFunctionName[] = "kopiuj";
// `kopiuj` takes each path as one length byte and at most 255 bytes.
inline constexpr int kCopyPathLimit = 255;

// Folder that holds the copy library; the folder of the executable unless set.
void SetCopyLibraryFolder(const QString& folder);
QString CopyLibraryFolder();

// Copies source to destination through `kopiuj`. Returns an empty string when
// the copy was made (or the source is empty: nothing to copy), otherwise the
// message for the user: the library or the function is missing or cannot be
// loaded (named in the message), a path is longer than 255 bytes (refused
// rather than cut, which would copy to another file), or the copy failed.
// As `kopiuj` reports nothing, the copy counts as made when the destination
// is then a regular file of the source's size.
QString CopyWithLibrary(const QString& source, const QString& destination);

}  // namespace kolvedir
