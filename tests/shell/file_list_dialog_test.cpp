#include "shell/file_list_dialog.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include "shell/copy_library.h"
#include "shell/editor_window.h"
#include "tests/shell/shell_test_support.h"

namespace kolvedir {
namespace {

using testing::BuildBinFolder;
using testing::ReadAll;
using testing::WriteAll;

class FileListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialogs_.failOnUnexpectedQuestion = true;
    SetDialogService(&dialogs_);
    ASSERT_TRUE(dir_.isValid());
    for (const char* name : {"xy2000", "xy2000.1", "notatnik.txt"})
      ASSERT_TRUE(WriteAll(Path(name), QByteArray(name) + "\r\n"));
    ASSERT_TRUE(QDir(dir_.path()).mkdir("podfolder"));
    SetCopyLibraryFolder(BuildBinFolder());
    // The trash of the tests' own user data folder.
    savedDataHome_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome_.filePath("share")));
    dialog_ = ShowFileListDialog(dir_.path(), [this] { ++imports_; });
  }
  void TearDown() override {
    qputenv("XDG_DATA_HOME", savedDataHome_);
    SetCopyLibraryFolder(QString());
    delete dialog_;
    delete CurrentEditor();
    SetDialogService(nullptr);
  }

  QString Path(const QString& name) const { return dir_.filePath(name); }
  QListWidget* List() const { return dialog_->findChild<QListWidget*>("fileList"); }
  QStringList Names() const {
    QStringList names;
    for (int i = 0; i < List()->count(); ++i) names << List()->item(i)->text();
    return names;
  }
  void Select(const QString& name) {
    const auto items = List()->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << name.toStdString();
    List()->setCurrentItem(items[0]);
  }
  void Click(const char* button) { dialog_->findChild<QPushButton*>(button)->click(); }

  QTemporaryDir dir_;
  QTemporaryDir dataHome_;
  QByteArray savedDataHome_;
  testing::ScriptedDialogs dialogs_;
  QPointer<ObjectFilesDialog> dialog_;
  int imports_ = 0;
};

TEST_F(FileListTest, ListsTheFilesOfTheObjectOnly) {
  EXPECT_EQ(dialog_->windowTitle(), "Pliki aktualnego obiektu");
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_EQ(Names(), (QStringList{"notatnik.txt", "xy2000", "xy2000.1"}));
  EXPECT_EQ(dialog_->SelectedPath(), "");
}

// "Usuń" asks first and moves the file to the trash; where the trash cannot
// take it, it asks again before deleting the file for good. Nothing of the
// file is left in the current folder.
TEST_F(FileListTest, DeleteAsksAndPrefersTheTrash) {
  using Answer = DialogService::Answer;
  enum class DataFolder { kMissing, kFile, kLocked };  // the user's data folder
  const QString savedCurrent = QDir::currentPath();
  const struct {
    const char* what;
    DataFolder data;
    std::deque<Answer> answers;
    bool kept;
    bool trashed;
  } cases[] = {
      {"Nie", DataFolder::kMissing, {Answer::No}, true, false},
      {"Tak", DataFolder::kMissing, {Answer::Yes}, false, true},
      {"no trash, Nie", DataFolder::kFile, {Answer::Yes, Answer::No}, true, false},
      {"no trash, Tak", DataFolder::kFile, {Answer::Yes, Answer::Yes}, false, false},
      {"trash not made, Tak", DataFolder::kLocked, {Answer::Yes, Answer::Yes}, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir home, current;
    ASSERT_TRUE(QDir::setCurrent(current.path()));
    const QString dataHome = home.filePath("share");
    if (c.data == DataFolder::kFile) {
      ASSERT_TRUE(WriteAll(dataHome, "plik"));
    }
    if (c.data == DataFolder::kLocked &&
        (!QDir().mkdir(dataHome) || QProcess::execute("chattr", {"+i", dataHome}) != 0)) {
      ASSERT_TRUE(QDir::setCurrent(savedCurrent));
      GTEST_SKIP() << "chattr +i is not available here";
    }
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
    ASSERT_TRUE(WriteAll(Path("xy2000.1"), "wynik\r\n"));
    dialog_->Refresh();
    dialogs_.shown.clear();
    dialogs_.answers = c.answers;
    Select("xy2000.1");
    Click("deleteButton");
    if (c.data == DataFolder::kLocked) QProcess::execute("chattr", {"-i", dataHome});
    EXPECT_EQ(dialogs_.Texts("question").size(), c.answers.size());
    EXPECT_TRUE(dialogs_.Texts("question").at(0).contains("\"xy2000.1\" do kosza"));
    EXPECT_EQ(dialogs_.shown.size(), c.answers.size());
    EXPECT_EQ(QFile::exists(Path("xy2000.1")), c.kept);
    EXPECT_EQ(Names().contains("xy2000.1"), c.kept);
    EXPECT_EQ(ReadAll(dataHome + "/Trash/files/xy2000.1"), c.trashed ? "wynik\r\n" : "");
    EXPECT_EQ(QDir(current.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList());
  }
  ASSERT_TRUE(QDir::setCurrent(savedCurrent));
}

TEST_F(FileListTest, ActionsThatNeedAFileAskToChooseOne) {
  EditorWindow* editor = OpenInEditor(Path("xy2000"));
  for (const char* button : {"editButton", "deleteButton"}) {
    SCOPED_TRACE(button);
    dialogs_.shown.clear();
    Click(button);
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].title, "Info");
    EXPECT_EQ(dialogs_.shown[0].text, "Najpierw wybierz plik");
  }
  EXPECT_EQ(editor->Caption(), Path("xy2000"));
  EXPECT_EQ(editor->Text(), "xy2000\n");
  EXPECT_EQ(Names().size(), 3);
}

TEST_F(FileListTest, AFileThatCannotBeDeletedStaysListed) {
  // Root deletes read-only files; an immutable file stops even root.
  if (QProcess::execute("chattr", {"+i", Path("xy2000")}) != 0)
    GTEST_SKIP() << "chattr +i is not available here";
  dialogs_.answers = {DialogService::Answer::Yes, DialogService::Answer::Yes};
  Select("xy2000");
  Click("deleteButton");
  QProcess::execute("chattr", {"-i", Path("xy2000")});
  ASSERT_EQ(dialogs_.shown.size(), 3u);
  EXPECT_EQ(dialogs_.shown[2].text,
            QString::fromUtf8("Nie można usunąć pliku !\n\"xy2000\": operacja niedozwolona"));
  EXPECT_TRUE(QFile::exists(Path("xy2000")));
  EXPECT_EQ(Names(), (QStringList{"notatnik.txt", "xy2000", "xy2000.1"}));
}

TEST_F(FileListTest, CopyIsNamedAfterTheSourceWithKopia) {
  Select("notatnik.txt");
  Click("copyButton");
  EXPECT_TRUE(dialogs_.shown.empty()) << dialogs_.Texts().join('\n').toStdString();
  EXPECT_EQ(ReadAll(Path("notatnik.txt (kopia)")), "notatnik.txt\r\n");
  EXPECT_TRUE(Names().contains("notatnik.txt (kopia)"));
  Select("notatnik.txt (kopia)");
  Click("copyButton");
  EXPECT_TRUE(QFile::exists(Path("notatnik.txt (kopia) (kopia)")));
}

TEST_F(FileListTest, CopyWithNothingSelectedMakesNothing) {
  Click("copyButton");
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_FALSE(QFile::exists(" (kopia)"));
  EXPECT_EQ(Names().size(), 3);
}

TEST_F(FileListTest, EditLoadsTheFileIntoTheCurrentEditor) {
  EditorWindow* editor = CurrentEditor();
  Select("xy2000.1");
  Click("editButton");
  EXPECT_EQ(CurrentEditor(), editor);
  EXPECT_EQ(editor->Caption(), Path("xy2000.1"));
  EXPECT_EQ(editor->Text(), "xy2000.1\n");
  EXPECT_TRUE(editor->isVisible());
}

TEST_F(FileListTest, DoubleClickEdits) {
  Select("notatnik.txt");
  QWidget* viewport = List()->viewport();
  const QPoint at = List()->visualItemRect(List()->currentItem()).center();
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
  }
  EXPECT_EQ(CurrentEditor()->Caption(), Path("notatnik.txt"));
}

TEST_F(FileListTest, ImportRunsTheImportOfTheMainWindow) {
  Click("importButton");
  EXPECT_EQ(imports_, 1);
}

TEST_F(FileListTest, OkHidesAndANewRequestReadsTheFolderAnew) {
  Click("okButton");
  EXPECT_FALSE(dialog_->isVisible());
  ASSERT_TRUE(WriteAll(Path("BL"), "1\r\n"));
  ObjectFilesDialog* fresh = ShowFileListDialog(dir_.path(), {});
  EXPECT_TRUE(dialog_.isNull());
  dialog_ = fresh;
  EXPECT_EQ(CurrentFileListDialog(), fresh);
  EXPECT_EQ(Names(), (QStringList{"BL", "notatnik.txt", "xy2000", "xy2000.1"}));
}

TEST_F(FileListTest, ClosesWhenAnotherWindowBecomesActive) {
  QWidget mainWindow;
  mainWindow.show();
  dialog_->activateWindow();
  QApplication::processEvents();
  ASSERT_TRUE(dialog_->isActiveWindow());
  mainWindow.activateWindow();
  QApplication::processEvents();
  EXPECT_FALSE(dialog_->isVisible());
}

TEST_F(FileListTest, StaysOpenBehindADialogOfItsOwn) {
  dialog_->activateWindow();
  QApplication::processEvents();
  QDialog message(dialog_);
  message.setModal(true);
  message.show();
  message.activateWindow();
  QApplication::processEvents();
  ASSERT_TRUE(message.isActiveWindow());
  EXPECT_TRUE(dialog_->isVisible());
}

}  // namespace
}  // namespace kolvedir

int main(int argc, char** argv) {
  return kolvedir::testing::RunGuiTests(argc, argv);
}
