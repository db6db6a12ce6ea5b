#include "shell/dialog_service.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimer>

#include "tests/shell/shell_test_support.h"

namespace kolvedir {
namespace {

// Result files are named as such in the file dialogs; other files keep the
// system's type.
TEST(PointFileIconProviderTest, ResultFilesArePlikWynikowy) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const PointFileIconProvider icons;
  const struct {
    const char* name;
    bool result;
  } cases[] = {{"xy2000.1", true}, {"BLH_n.1", true}, {"xy2000", false}, {"notatnik.txt", false}};
  for (const auto& c : cases) {
    ASSERT_TRUE(testing::WriteAll(dir.filePath(c.name), "1 2 3\r\n"));
    const QString type = icons.type(QFileInfo(dir.filePath(c.name)));
    EXPECT_EQ(type == "Plik wynikowy", c.result) << c.name << " " << type.toStdString();
  }
}

// The file dialogs give sizes and dates in the program's locale (Polish), not
// in the system's, which Qt's file system model takes.
TEST(FileSizesAndDatesTest, FileDialogsShowPolishSizesAndDates) {
  QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
  QTemporaryDir dir;
  ASSERT_TRUE(testing::WriteAll(dir.filePath("notatnik.txt"), QByteArray(614, 'x')));
  QFileSystemModel files;
  files.setRootPath(dir.path());
  FileSizesAndDates columns;
  columns.setSourceModel(&files);
  const QModelIndex row = columns.mapFromSource(files.index(dir.filePath("notatnik.txt")));
  const QDateTime modified = QFileInfo(dir.filePath("notatnik.txt")).lastModified();
  EXPECT_EQ(columns.data(row, Qt::DisplayRole).toString(), "notatnik.txt");
  EXPECT_EQ(columns.data(row.siblingAtColumn(1), Qt::DisplayRole).toString(), "614 bajty");
  EXPECT_EQ(columns.data(row.siblingAtColumn(3), Qt::DisplayRole).toString(),
            QLocale().toString(modified, QLocale::ShortFormat));

  // The real open dialog shows its files through these columns.
  bool seen = false;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QFileDialog*>(widget);
      if (!dialog || !dialog->isVisible()) continue;
      seen = dynamic_cast<FileSizesAndDates*>(dialog->proxyModel()) != nullptr;
      dialog->reject();
    }
  });
  closer.start(10);
  Dialogs().OpenFileName(nullptr, "Otwórz", dir.path(), QString());
  EXPECT_TRUE(seen);
  QLocale::setDefault(QLocale::c());
}

}  // namespace
}  // namespace kolvedir

int main(int argc, char** argv) {
  return kolvedir::testing::RunGuiTests(argc, argv);
}
