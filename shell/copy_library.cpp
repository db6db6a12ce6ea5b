#include "shell/copy_library.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <array>

namespace kolvedir {

namespace {

using ShortString = std::array<unsigned char, kCopyPathLimit + 1>;
using CopyFunction = void (*)(const unsigned char* source, const unsigned char* destination);

QString& ConfiguredFolder() {
  static QString folder;
  return folder;
}

// The path as the library takes it: its length in the first byte, then the
// bytes of the path in the file system's encoding.
ShortString ToShortString(const QByteArray& bytes) {
  ShortString text{};
  text[0] = static_cast<unsigned char>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), text.begin() + 1);
  return text;
}

QString TooLongMessage(const QString& path) {
  return QStringLiteral(" ! ścieżka dłuższa niż 255 znaków - plik nie został skopiowany: ") + path;
}

// Whether destination holds a whole copy of a source of sourceSize bytes: a
// regular file of that size (not a link, which `kopiuj` never leaves there).
bool IsCopied(const QString& destination, qint64 sourceSize) {
  const QFileInfo copy(destination);
  return !copy.isSymLink() && copy.isFile() && copy.size() == sourceSize;
}

}  // namespace

void SetCopyLibraryFolder(const QString& folder) { ConfiguredFolder() = folder; }

QString CopyLibraryFolder() {
  return ConfiguredFolder().isEmpty() ? QCoreApplication::applicationDirPath()
                                      : ConfiguredFolder();
}

QString CopyWithLibrary(const QString& source, const QString& destination) {
  const QByteArray sourceBytes = QFile::encodeName(source);
  const QByteArray destinationBytes = QFile::encodeName(destination);
  if (sourceBytes.size() > kCopyPathLimit) return TooLongMessage(source);
  if (destinationBytes.size() > kCopyPathLimit) return TooLongMessage(destination);

  const QString libraryPath = QDir(CopyLibraryFolder()).filePath(kCopyLibraryName);
  if (!QFileInfo::exists(libraryPath)) return QStringLiteral(" ! brak biblioteki kopiowania ") + libraryPath;
  QLibrary library(libraryPath);
  if (!library.load()) {
    return QStringLiteral(" ! nie można załadować biblioteki kopiowania ") + libraryPath;
  }
  const auto copy = reinterpret_cast<CopyFunction>(library.resolve(kCopyFunctionName));
  if (!copy) {
    library.unload();
    return QStringLiteral(" ! brak funkcji %1 w bibliotece %2")
        .arg(QLatin1String(kCopyFunctionName), libraryPath);
  }
  const QFileInfo sourceFile(source);
  const ShortString sourceText = ToShortString(sourceBytes);
  const ShortString destinationText = ToShortString(destinationBytes);
  copy(sourceText.data(), destinationText.data());
  library.unload();
  // Nothing selected in the file list: an empty source, nothing to copy.
  if (source.isEmpty() || (sourceFile.isFile() && IsCopied(destination, sourceFile.size()))) return {};
  return QStringLiteral(" ! nie udało się skopiować pliku %1 do %2").arg(source, destination);
}

}  // namespace kolvedir
