// Working objects through the main window: the list, "katal", typing and
// picking an object, "+", and the import.
#include "shell/objects.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "shell/main_window.h"
#include "tests/shell/shell_test_support.h"

namespace kolvedir {
namespace {

using testing::Code;
using testing::MainWindowTest;
using testing::ReadAll;
using testing::WriteAll;

class Objects : public MainWindowTest {
 protected:
  QString Katal() { return QString::fromLatin1(ReadAll(bin_ + "/katal")); }
  QComboBox* Combo() { return Find<QComboBox>("objectCombo"); }
  QStringList Items() {
    QStringList items;
    for (int i = 0; i < Combo()->count(); ++i) items << Combo()->itemText(i);
    return items;
  }
};

TEST_F(Objects, ListsSubfoldersSortedWithoutRegardToCase) {
  AddObjects({"beta", "Alfa", "DANE1", "ćwiczenie", "cel"});
  ASSERT_TRUE(WriteAll(objects_ + "/plik.txt", "not an object"));
  EXPECT_EQ(Items(), QStringList({"Alfa", "beta", "cel", "ćwiczenie", "DANE1"}));
  EXPECT_EQ(Window().ObjectsRoot(), objects_);
}

TEST_F(Objects, KatalChoosesTheObjectAtStartUp) {
  const struct {
    const char* katal;  // nullptr: no file
    const char* object;
  } kCases[] = {
      {nullptr, "A"},   {"2\r\n", "C"},  {"0", "A"},    {" 1 \r\n", "B"}, {"1 reszta\r\n", "B"},
      {"-1\r\n", ""},   {"3\r\n", ""},   {"99999999999", "A"}, {"abc\r\n", "A"}, {"", "A"},
      {"\xff\xfe", "A"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.katal ? c.katal : "(none)");
    TearDown();
    SetUp();
    AddObjects({"A", "B", "C"});
    if (c.katal) {
      ASSERT_TRUE(WriteAll(bin_ + "/katal", c.katal));
    }
    EXPECT_EQ(Combo()->currentText(), c.object);
    const QString folder = objects_ + "/" + c.object;
    EXPECT_EQ(Window().ObjectFolder(), folder);
    EXPECT_EQ(Window().StatusText(3), "Folder roboczy: " + folder);
    EXPECT_EQ(ReadAll(bin_ + "/katal"), QByteArray(c.katal ? c.katal : ""))
        << "start-up must not rewrite katal";
  }
}

// A folder copied from an old installation keeps its Windows-1250 name, which
// is not valid UTF-8: the list shows it decoded and it can be chosen; the
// folder is found again by its own bytes.
TEST_F(Objects, FolderWithAWindows1250NameIsListedDecodedAndCanBeChosen) {
  AddObjects({"Alfa", "zeta"});
  const QByteArray raw("\xb3\xf3" "d\x9f");  // "łódź" in Windows-1250
  const std::filesystem::path folder = QFile::encodeName(objects_).toStdString() + "/" + raw.toStdString();
  ASSERT_TRUE(std::filesystem::create_directory(folder));
  const QString shown = QStringLiteral("łódź");
  EXPECT_EQ(Items(), QStringList({"Alfa", shown, "zeta"}));
  Combo()->setCurrentIndex(1);
  EXPECT_EQ(Window().ObjectFolder(), objects_ + "/" + shown);
  EXPECT_EQ(Window().StatusText(3), "Folder roboczy: " + objects_ + "/" + shown);
  EXPECT_EQ(ObjectFolderBytes(objects_, shown), raw);
  EXPECT_EQ(ObjectFolderBytes(objects_, "Alfa"), QByteArray("Alfa"));
  EXPECT_EQ(ObjectFolderBytes(objects_, "nowy"), QByteArray("nowy"));
}

// A FIFO under the name "katal" would block the window's start until some
// program wrote to it. A helper thread opens it for writing if the start has
// not finished within a few seconds, which frees a blocked start, and tells.
TEST_F(Objects, KatalThatIsAFifoDoesNotBlockTheStart) {
  AddObjects({"A", "B"});
  const QByteArray katal = QFile::encodeName(bin_ + "/katal");
  ASSERT_EQ(::mkfifo(katal.constData(), 0600), 0);
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false, blocked = false;
  std::thread guard([&] {
    std::unique_lock lock(mutex);
    if (finished.wait_for(lock, std::chrono::seconds(5), [&] { return done; })) return;
    blocked = true;
    // A reader waits in open(): opening the other end frees it with an empty file.
    for (int tries = 0; tries < 100 && !done; ++tries) {
      lock.unlock();
      const int fd = ::open(katal.constData(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) ::close(fd);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      lock.lock();
    }
  });
  Window();
  {
    const std::lock_guard lock(mutex);
    done = true;
  }
  finished.notify_one();
  guard.join();
  EXPECT_FALSE(blocked) << "the start waited for a writer of katal";
  EXPECT_EQ(Combo()->currentText(), "A");
}

// Folder names are the user's: one that looks like markup is shown as it is.
TEST_F(Objects, StatusBarShowsTheFolderAsPlainText) {
  AddObjects({"<b>A&amp;"});
  EXPECT_EQ(Find<QLabel>("statusPanel3")->textFormat(), Qt::PlainText);
  EXPECT_EQ(Window().StatusText(3), "Folder roboczy: " + objects_ + "/<b>A&amp;");
}

TEST_F(Objects, MissingObjectsFolderIsCreatedAndTheListIsEmpty) {
  ASSERT_FALSE(QDir(objects_).exists());
  EXPECT_EQ(Items(), QStringList());
  EXPECT_TRUE(QDir(objects_).exists());
  EXPECT_EQ(Window().ObjectFolder(), objects_ + "/");
  // An object can be added at once.
  Combo()->lineEdit()->setText("NOWY");
  Click("addObjectButton");
  EXPECT_TRUE(QDir(objects_ + "/NOWY").exists());
  EXPECT_EQ(Items(), QStringList{"NOWY"});
  EXPECT_EQ(Window().ObjectFolder(), objects_ + "/NOWY");
}

TEST_F(Objects, TypingMovesTheFolderAtEachKeystrokeAndWritesKatal) {
  AddObjects({"DANE1", "TEST"});
  Window();
  Combo()->lineEdit()->clear();
  QString typed;
  for (QChar c : QStringLiteral("NOWY")) {
    Combo()->lineEdit()->insert(QString(c));
    typed += c;
    EXPECT_EQ(Window().ObjectFolder(), objects_ + "/" + typed);
    EXPECT_EQ(Window().StatusText(3), "Folder roboczy: " + objects_ + "/" + typed);
    EXPECT_EQ(Katal(), "-1\r\n");
  }
  EXPECT_FALSE(QDir(objects_ + "/NOWY").exists());

  Combo()->setCurrentIndex(1);  // picked from the list
  EXPECT_EQ(Window().ObjectFolder(), objects_ + "/TEST");
  EXPECT_EQ(Katal(), "1\r\n");
}

TEST_F(Objects, ChangingTheObjectKeepsTheSelection) {
  AddObjects({"DANE1", "TEST"});
  Click("trans2d3dButton");
  Click("inputFrameEtrf2000");
  Click("inputSystemXy92");
  Combo()->setCurrentIndex(1);
  EXPECT_EQ(Window().Selection().InputSystem, 2);
  EXPECT_TRUE(Visible("transInputFilePanel"));
}

TEST_F(Objects, AddingAnObjectSelectsTheSecondEntryAndResetsTheSelection) {
  AddObjects({"DANE1", "TEST"});
  ASSERT_TRUE(WriteAll(bin_ + "/katal", "1\r\n"));
  Click("trans2d3dButton");
  Click("inputFrameEtrf2000");
  Combo()->lineEdit()->setText("AAA");
  ASSERT_TRUE(WriteAll(bin_ + "/katal", "1\r\n"));
  Click("addObjectButton");
  EXPECT_TRUE(QDir(objects_ + "/AAA").exists());
  EXPECT_EQ(Items(), QStringList({"AAA", "DANE1", "TEST"}));
  EXPECT_EQ(Combo()->currentText(), "DANE1");
  EXPECT_EQ(Window().ObjectFolder(), objects_ + "/DANE1");
  EXPECT_EQ(Window().StatusText(3), objects_ + "/DANE1");
  EXPECT_EQ(Katal(), "1\r\n");
  EXPECT_EQ(Code(Window().Selection().InputFrame), 0);
  EXPECT_EQ(Code(Window().Selection().ActiveModule), 1);
  EXPECT_FALSE(Visible("inputFrameBox"));
  EXPECT_FALSE(Find<QRadioButton>("inputFrameEtrf2000")->isChecked());
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(Objects, AnObjectThatCannotBeCreatedGivesTheMessageAndChangesNothing) {
  AddObjects({"DANE1", "TEST"});
  for (const char* name : {"TEST", "", "..", "../OBOK", "a/b"}) {
    SCOPED_TRACE(name);
    dialogs_.shown.clear();
    Click("trans2d3dButton");
    Combo()->lineEdit()->setText(QString::fromUtf8(name));
    Click("addObjectButton");
    EXPECT_EQ(dialogs_.Texts("information"),
              QStringList{" Najpierw wpisz w okienku nazwę nowego obiektu! "});
    EXPECT_EQ(Items(), QStringList({"DANE1", "TEST"}));
    EXPECT_EQ(Code(Window().Selection().ActiveModule), 1);
    EXPECT_TRUE(Visible("inputFrameBox"));
  }
  EXPECT_FALSE(QDir(objects_ + "/../OBOK").exists());
}

TEST_F(Objects, MenuDodajObiektIsThePlusButton) {
  AddObjects({"DANE1"});
  Combo()->lineEdit()->setText("NOWY");
  Window().findChild<QAction*>("addObjectAction")->trigger();
  EXPECT_TRUE(QDir(objects_ + "/NOWY").exists());
  EXPECT_EQ(Items(), QStringList({"DANE1", "NOWY"}));
  EXPECT_EQ(Combo()->currentText(), "NOWY");
}

TEST_F(Objects, ImportCopiesTheChosenFileIntoTheObject) {
  AddObjects({"TEST"});
  const QString source = temp_.filePath("dane/pomiar.txt");
  ASSERT_TRUE(QDir().mkpath(temp_.filePath("dane")));
  ASSERT_TRUE(WriteAll(source, "P1 1 2\r\n"));
  dialogs_.paths.push_back(source);
  Window().findChild<QAction*>("importFilesAction")->trigger();
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].title, "Importuj");
  EXPECT_EQ(ReadAll(objects_ + "/TEST/pomiar.txt"), QByteArray("P1 1 2\r\n"));

  dialogs_.shown.clear();
  Window().findChild<QAction*>("importFilesAction")->trigger();  // cancelled
  EXPECT_EQ(QDir(objects_ + "/TEST").entryList(QDir::Files), QStringList{"pomiar.txt"});
}

TEST_F(Objects, ImportOfATooLongPathIsRefusedWithAMessage) {
  const QString object = QString(200, QChar('o'));
  AddObjects({object});
  const QString source = temp_.filePath(QString(100, QChar('p')));
  ASSERT_TRUE(WriteAll(source, "P1\r\n"));
  dialogs_.paths.push_back(source);
  Window().findChild<QAction*>("importFilesAction")->trigger();
  const QStringList messages = dialogs_.Texts("information");
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains("255"));
  EXPECT_EQ(QDir(objects_ + "/" + object).entryList(QDir::Files), QStringList());
}

// An installed program keeps "katal" and OBIEKTY in the user's data folder
// and reads the user's grid before the installed one; the program's own
// folders are never written.
TEST_F(Objects, AnInstalledProgramKeepsTheUsersFilesInTheUsersFolder) {
  const QString user = temp_.filePath("dane/kolvedir");
  const QString installedGrid = temp_.filePath("usr/share/kolvedir/PL_grid_001.bin");
  ASSERT_TRUE(QDir().mkpath(user + "/OBIEKTY/A") && QDir().mkpath(user + "/OBIEKTY/B"));
  ASSERT_TRUE(QDir().mkpath(QFileInfo(installedGrid).path()));
  ASSERT_TRUE(WriteAll(installedGrid, "model"));
  const auto places = InstalledPlaces(QFile::encodeName(temp_.filePath("usr")).toStdString(),
                                      QFile::encodeName(user).toStdString());
  const auto gridLabel = [](const MainWindow& w) {
    return w.findChild<QLabel*>("gridFileLabel")->text();
  };
  {
    MainWindow window(places);
    EXPECT_EQ(window.ObjectsRoot(), user + "/OBIEKTY");
    EXPECT_EQ(gridLabel(window), "Siatka: " + temp_.filePath("usr/share/kolvedir"));
    window.findChild<QComboBox*>("objectCombo")->setCurrentIndex(1);
    EXPECT_EQ(ReadAll(user + "/katal"), QByteArray("1\r\n"));
  }
  ASSERT_TRUE(WriteAll(user + "/PL_grid_001.bin", "official"));
  // The status bar writes the home folder as "~".
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", QFile::encodeName(temp_.path()));
  MainWindow window(places);
  qputenv("HOME", home);
  EXPECT_EQ(window.ObjectFolder(), user + "/OBIEKTY/B");
  EXPECT_EQ(gridLabel(window), "Siatka: ~/dane/kolvedir");
  EXPECT_EQ(QDir(temp_.filePath("usr")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
            QStringList{"share"});
}

TEST_F(Objects, KatalHelpersRoundTrip) {
  ASSERT_TRUE(WriteKatal(bin_, 12));
  EXPECT_EQ(ReadAll(bin_ + "/katal"), QByteArray("12\r\n"));
  EXPECT_EQ(ReadKatal(bin_), 12);
  ASSERT_TRUE(WriteKatal(bin_, -1));
  EXPECT_EQ(ReadKatal(bin_), -1);
  EXPECT_FALSE(WriteKatal(temp_.filePath("missing/folder"), 3));
}

}  // namespace
}  // namespace kolvedir

int main(int argc, char** argv) { return kolvedir::testing::RunGuiTests(argc, argv); }
