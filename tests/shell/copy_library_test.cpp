#include "shell/copy_library.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

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

TEST_F(CopyLibraryTest, MissingSourceIsReportedEmptySourceCopiesNothing) {
  EXPECT_EQ(CopyWithLibrary(Path("missing"), Path("copy")),
            " ! nie udało się skopiować pliku " + Path("missing") + " do " + Path("copy"));
  EXPECT_EQ(CopyWithLibrary(QString(), Path(" (kopia)")).toStdString(), "");  // nothing selected
  EXPECT_FALSE(QFile::exists(Path("copy")));
  EXPECT_FALSE(QFile::exists(Path(" (kopia)")));
}

// A symbolic link at the destination is replaced by the copy; the file it led
// to, outside the object, is never written; a link to a read-only file is
// refused like the read-only file itself, and the refusal is reported.
TEST_F(CopyLibraryTest, LinkAtTheDestinationIsReplacedNotWrittenThrough) {
  const struct {
    const char* what;
    QFile::Permissions target;
    bool copied;
  } cases[] = {
      {"link to a writable file", QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther, true},
      {"link to a read-only file", QFile::ReadOwner | QFile::ReadOther, false},
  };
  ASSERT_TRUE(WriteAll(Path("src"), "new points"));
  QDir(dir_.path()).mkdir("OBJ");
  for (const auto& c : cases) {
    const QString link = Path("OBJ/xy2000");
    QFile::remove(link);
    QFile(Path("outside")).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(WriteAll(Path("outside"), "outside"));
    ASSERT_TRUE(QFile(Path("outside")).setPermissions(c.target));
    ASSERT_TRUE(QFile::link("../outside", link));
    const QString message = CopyWithLibrary(Path("src"), link);
    EXPECT_EQ(message.isEmpty(), c.copied) << c.what << ": " << message.toStdString();
    EXPECT_EQ(QFileInfo(link).isSymLink(), !c.copied) << c.what;
    EXPECT_EQ(ReadAll(link), c.copied ? QByteArray("new points") : QByteArray("outside")) << c.what;
    EXPECT_EQ(ReadAll(Path("outside")), QByteArray("outside")) << c.what;
    EXPECT_EQ(QDir(Path("OBJ")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                          QDir::NoDotAndDotDot),
              QStringList{"xy2000"})
        << c.what;
  }
}

// A new copy gets the source's permission bits less the umask; a replaced
// destination keeps its own.
TEST_F(CopyLibraryTest, PermissionBitsOfTheCopy) {
  const struct {
    mode_t source, destination;  // destination 0: none before the copy
    mode_t copy;
  } cases[] = {{0640, 0, 0640}, {0666, 0, 0644}, {0644, 0600, 0600}, {0600, 0640, 0640}};
  const mode_t previousUmask = ::umask(022);
  for (const auto& c : cases) {
    QFile::remove(Path("dst"));
    ASSERT_TRUE(WriteAll(Path("src"), "data"));
    ASSERT_EQ(::chmod(QFile::encodeName(Path("src")).constData(), c.source), 0);
    if (c.destination != 0) {
      ASSERT_TRUE(WriteAll(Path("dst"), "old"));
      ASSERT_EQ(::chmod(QFile::encodeName(Path("dst")).constData(), c.destination), 0);
    }
    EXPECT_EQ(CopyWithLibrary(Path("src"), Path("dst")).toStdString(), "");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(Path("dst")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, c.copy) << std::oct << c.source << " over " << c.destination;
    QFile::remove(Path("src"));
  }
  ::umask(previousUmask);
}

// On a full disk the destination stays as it was (never part of the copy) and
// the failed copy is reported.
TEST_F(CopyLibraryTest, FullDiskKeepsTheDestinationAndIsReported) {
  QDir(dir_.path()).mkdir("OBJ");
  const QByteArray object = QFile::encodeName(Path("OBJ"));
  if (::mount("tmpfs", object.constData(), "tmpfs", 0, "size=160k") != 0) {
    GTEST_SKIP() << "a small tmpfs is needed (mount as root): " << std::strerror(errno);
  }
  const QByteArray earlier(100 * 1024, 'o');
  ASSERT_TRUE(WriteAll(Path("src"), QByteArray(200 * 1024, 'n')));
  const bool laid = WriteAll(Path("OBJ/xy2000"), earlier);
  const QString message = CopyWithLibrary(Path("src"), Path("OBJ/xy2000"));
  const QByteArray after = ReadAll(Path("OBJ/xy2000"));
  const QStringList left = QDir(Path("OBJ")).entryList(QDir::Files | QDir::Hidden);
  ::umount2(object.constData(), MNT_DETACH);
  ASSERT_TRUE(laid);
  EXPECT_EQ(message, " ! nie udało się skopiować pliku " + Path("src") + " do " + Path("OBJ/xy2000"));
  EXPECT_EQ(after, earlier);
  EXPECT_EQ(left, QStringList{"xy2000"});
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
  EXPECT_EQ(message, " ! brak biblioteki kopiowania " + QDir(empty.path()).filePath("libkopy.so"));
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
  EXPECT_EQ(message, " ! nie można załadować biblioteki kopiowania " + other.filePath("libkopy.so"));
}

}  // namespace
}  // namespace kolvedir
