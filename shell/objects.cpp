#include "shell/objects.h"

#include <QCollator>
#include <QDir>
#include <QFile>

#include <string>

#include "engine/atomic_file.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "engine/text_encoding.h"
#include "grid/regular_file.h"

namespace kolvedir {

namespace {

constexpr char kKatalName[] = "katal";
// The start of "katal" that is read: its line holds one index.
constexpr std::size_t kKatalReadBytes = 63;

std::filesystem::path NativePath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// The name of a folder as the user sees it.
QString ObjectNameText(const QByteArray& folderName) {
  return QString::fromStdString(Utf8OrWin1250ToUtf8(folderName.toStdString()));
}

// Names of the subfolders of root (links to folders included, hidden folders
// left out) exactly as the file system holds them, in no particular order.
std::vector<QByteArray> SubfolderNames(const QString& root) {
  std::vector<QByteArray> names;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(NativePath(root), error), end;
       !error && entry != end; entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    std::error_code notFolder;
    if (!name.starts_with('.') && entry->is_directory(notFolder)) {
      names.emplace_back(name.data(), qsizetype(name.size()));
    }
  }
  return names;
}

}  // namespace

QStringList ListObjects(const QString& root) {
  QStringList names;
  for (const QByteArray& folder : SubfolderNames(root)) names << ObjectNameText(folder);
  // Alphabetical in Polish, so "ćwiczenie" follows "cel" and precedes "dane".
  QCollator collator{QLocale(QLocale::Polish, QLocale::Poland)};
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::sort(names.begin(), names.end(), collator);
  return names;
}

QString ObjectFolderFor(const QString& root, const QString& name) { return root + '/' + name; }

QByteArray ObjectFolderBytes(const QString& root, const QString& name) {
  const QByteArray utf8 = name.toUtf8();
  std::error_code error;
  if (name.isEmpty() || std::filesystem::is_directory(NativePath(root) / utf8.toStdString(), error)) {
    return utf8;
  }
  for (const QByteArray& folder : SubfolderNames(root)) {
    if (ObjectNameText(folder) == name) return folder;
  }
  return utf8;
}

int ReadKatal(const QString& folder) {
  RegularFile file(NativePath(QDir(folder).filePath(kKatalName)));
  char start[kKatalReadBytes];
  const std::optional<std::size_t> got = file.Read(start, sizeof start);
  if (!got) return 0;
  QByteArray firstLine(start, qsizetype(*got));
  if (const qsizetype lf = firstLine.indexOf('\n'); lf >= 0) firstLine.truncate(lf);
  const QByteArray firstToken = firstLine.simplified().split(' ').value(0);
  bool ok = false;
  const int index = firstToken.toInt(&ok);
  return ok ? index : 0;
}

bool WriteKatal(const QString& folder, int index) {
  AtomicFile katal;
  return katal.Replace(QFile::encodeName(QDir(folder).filePath(kKatalName)).toStdString(),
                       std::to_string(index) + "\r\n");
}

bool IsValidObjectName(const QString& name) {
  return !name.isEmpty() && name != "." && name != ".." && !name.contains('/') &&
         !name.contains(QChar(0));
}

}  // namespace kolvedir
