#pragma once
// Helpers shared by the shell's GUI tests.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <filesystem>

namespace kolvedir::testing {

// The program folder's bin of this build (tests live in <build>/tests).
inline QString BuildBinFolder() {
  const auto exe = std::filesystem::canonical("/proc/self/exe");
  return QString::fromStdString((exe.parent_path().parent_path() / "Kolvedir" / "bin").string());
}

inline QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace kolvedir::testing
