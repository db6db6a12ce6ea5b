#include "shell/copy_library.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/shell/shell_test_support.h"

namespace kolvedir {
namespace {

using testing::BuildBinFolder;
using testing::ReadAll;
using testing::WriteAll;

class CopyLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    SetCopyLibraryFolder(BuildBinFolder());
  }
  void TearDown() override { SetCopyLibraryFolder(QString()); }
  QString Path(const QString& name) const { return dir_.filePath(name); }

  QTemporaryDir dir_;
};

TEST_F(CopyLibraryTest, CopiesSourceToDestinationByteForByte) {
  const QByteArray points("P1 5800000.1234 7400000.5678 \xa5\xb9\r\nP2 1 2\r\n");
  ASSERT_TRUE(WriteAll(Path("pomiar źródło.txt"), points));
  EXPECT_EQ(CopyWithLibrary(Path("pomiar źródło.txt"), Path("xy2000")).toStdString(), "");
  EXPECT_EQ(ReadAll(Path("xy2000")), points);
  EXPECT_EQ(ReadAll(Path("pomiar źródło.txt")), points);
}

TEST_F(CopyLibraryTest, ReplacesAnExistingDestination) {
  ASSERT_TRUE(WriteAll(Path("a"), "new"));
  ASSERT_TRUE(WriteAll(Path("b"), "old and longer"));
  EXPECT_EQ(CopyWithLibrary(Path("a"), Path("b")).toStdString(), "");
  EXPECT_EQ(ReadAll(Path("b")), QByteArray("new"));
}

TEST_F(CopyLibraryTest, MissingOrEmptySourceCopiesNothing) {
  EXPECT_EQ(CopyWithLibrary(Path("missing"), Path("copy")).toStdString(), "");
  EXPECT_EQ(CopyWithLibrary(QString(), Path(" (kopia)")).toStdString(), "");
  EXPECT_FALSE(QFile::exists(Path("copy")));
  EXPECT_FALSE(QFile::exists(Path(" (kopia)")));
}

TEST_F(CopyLibraryTest, PathsUpTo255BytesAreCopiedLongerOnesRefused) {
  ASSERT_TRUE(WriteAll(Path("src"), "data"));
  const int base = QFile::encodeName(dir_.path() + "/").size();
  ASSERT_LT(base, 200);
  const QString exact = Path(QString(255 - base, QChar('d')));
  const QString tooLong = Path(QString(256 - base, QChar('d')));
  EXPECT_EQ(CopyWithLibrary(Path("src"), exact).toStdString(), "");
  EXPECT_EQ(ReadAll(exact), QByteArray("data"));

  const QString message = CopyWithLibrary(Path("src"), tooLong);
  EXPECT_TRUE(message.contains("255")) << message.toStdString();
  EXPECT_TRUE(message.contains(tooLong));
  EXPECT_FALSE(QFile::exists(tooLong));
  // The cut path would have named `exact`: it must not have been touched again.
  ASSERT_TRUE(WriteAll(exact, "kept"));
  EXPECT_FALSE(CopyWithLibrary(tooLong, Path("dst")).isEmpty());
  EXPECT_EQ(ReadAll(exact), QByteArray("kept"));
  EXPECT_FALSE(QFile::exists(Path("dst")));
}

TEST_F(CopyLibraryTest, NonAsciiLettersCountByTheirBytes) {
  ASSERT_TRUE(WriteAll(Path("src"), "data"));
  const int base = QFile::encodeName(dir_.path() + "/").size();
  // 2 bytes per "ł": 255 characters but more than 255 bytes.
  const QString name = QString((255 - base) / 2 + 1, QChar(0x0142));
  EXPECT_FALSE(CopyWithLibrary(Path("src"), Path(name)).isEmpty());
  EXPECT_FALSE(QFile::exists(Path(name)));
}

TEST_F(CopyLibraryTest, MissingLibraryIsNamed) {
  QTemporaryDir empty;
  SetCopyLibraryFolder(empty.path());
  ASSERT_TRUE(WriteAll(Path("src"), "data"));
  const QString message = CopyWithLibrary(Path("src"), Path("dst"));
  EXPECT_TRUE(message.contains(QDir(empty.path()).filePath("libkopy.so"))) << message.toStdString();
  EXPECT_FALSE(QFile::exists(Path("dst")));
}

TEST_F(CopyLibraryTest, LibraryWithoutTheFunctionIsNamed) {
  QTemporaryDir other;
  // A real shared library that has no `kopiuj`, under the copy library's name.
  ASSERT_TRUE(QFile::copy("/lib/x86_64-linux-gnu/libz.so.1", other.filePath("libkopy.so")));
  SetCopyLibraryFolder(other.path());
  ASSERT_TRUE(WriteAll(Path("src"), "data"));
  const QString message = CopyWithLibrary(Path("src"), Path("dst"));
  EXPECT_TRUE(message.contains("kopiuj")) << message.toStdString();
  EXPECT_TRUE(message.contains(other.filePath("libkopy.so")));
  EXPECT_FALSE(QFile::exists(Path("dst")));
}

TEST_F(CopyLibraryTest, FileThatIsNoLibraryIsNamed) {
  QTemporaryDir other;
  ASSERT_TRUE(WriteAll(other.filePath("libkopy.so"), "not a library"));
  SetCopyLibraryFolder(other.path());
  const QString message = CopyWithLibrary(Path("src"), Path("dst"));
  EXPECT_TRUE(message.contains(other.filePath("libkopy.so"))) << message.toStdString();
}

}  // namespace
}  // namespace kolvedir
