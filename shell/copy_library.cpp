#include "shell/copy_library.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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
  QLibrary library(libraryPath);
  if (!library.load()) {
    return QStringLiteral(" ! brak biblioteki kopiowania %1 (%2)").arg(libraryPath,
                                                                       library.errorString());
  }
  const auto copy = reinterpret_cast<CopyFunction>(library.resolve(kCopyFunctionName));
  if (!copy) {
    library.unload();
    return QStringLiteral(" ! brak funkcji %1 w bibliotece %2")
        .arg(QLatin1String(kCopyFunctionName), libraryPath);
  }
  const ShortString sourceText = ToShortString(sourceBytes);
  const ShortString destinationText = ToShortString(destinationBytes);
  copy(sourceText.data(), destinationText.data());
  library.unload();
  return {};
}

}  // namespace kolvedir
