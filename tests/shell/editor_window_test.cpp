#include "shell/editor_window.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QPrinter>
#include <QSlider>
#include <QTextBlock>
#include <QTextEdit>
#include <QTemporaryDir>
#include <QWindow>
#include <QToolButton>

#include <algorithm>
#include <optional>

#include "shell/cp1250_text.h"
#include "shell/editor_font.h"
#include "tests/shell/shell_test_support.h"

namespace kolvedir {
namespace {

using Answer = DialogService::Answer;
using testing::ReadAll;
using testing::WriteAll;

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialogs_.failOnUnexpectedQuestion = true;
    SetDialogService(&dialogs_);
    ASSERT_TRUE(dir_.isValid());
  }
  void TearDown() override {
    qDeleteAll(made_);
    SetDialogService(nullptr);
  }

  QString Path(const QString& name) const { return dir_.filePath(name); }
  EditorWindow* Open(const QString& name) {
    EditorWindow* editor = OpenInEditor(Path(name));
    made_.push_back(editor);
    return editor;
  }
  static QPlainTextEdit* TextEdit(EditorWindow* editor) {
    return editor->findChild<QPlainTextEdit*>("textEdit");
  }
  static void Click(EditorWindow* editor, const char* button) {
    editor->findChild<QToolButton*>(button)->click();
  }
  static void TriggerMenu(EditorWindow* editor, const QString& text) {
    for (QAction* menu : editor->menuBar()->actions())
      for (QAction* item : menu->menu()->actions())
        if (item->text() == text) return item->trigger();
    FAIL() << "no menu item " << text.toStdString();
  }
  static void Select(EditorWindow* editor, int from, int to) {
    QTextCursor cursor(TextEdit(editor)->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    TextEdit(editor)->setTextCursor(cursor);
  }
  static void Type(EditorWindow* editor, const QString& text) {
    TextEdit(editor)->moveCursor(QTextCursor::End);
    testing::KeyClicks(TextEdit(editor), text);
  }

  QTemporaryDir dir_;
  testing::ScriptedDialogs dialogs_;
  std::vector<EditorWindow*> made_;
};

TEST_F(EditorTest, MissingFileGivesAnEmptyUnmodifiedDocumentThatSaveCreates) {
  EditorWindow* editor = Open("xy2000");
  EXPECT_EQ(editor->Caption(), Path("xy2000"));
  EXPECT_EQ(editor->Text(), "");
  EXPECT_FALSE(editor->IsModified());
  EXPECT_TRUE(editor->isVisible());

  Type(editor, QString::fromUtf8("1001 5652126.56 6429808.46 źródło"));
  EXPECT_TRUE(editor->IsModified());
  EXPECT_TRUE(editor->isWindowModified());
  Click(editor, "saveButton");
  EXPECT_FALSE(editor->IsModified());
  EXPECT_EQ(ReadAll(Path("xy2000")), QByteArray("1001 5652126.56 6429808.46 \x9fr\xf3" "d\xb3o\r\n"));
}

TEST_F(EditorTest, ResultFileShowsItsPolishLettersAndKeepsItsBytes) {
  const QByteArray result("1235 51 0 1.257090 17 0 6.398814 -38.0793 Pu\xb3kowo'42 \xa5\xb9\r\n");
  ASSERT_TRUE(WriteAll(Path("BLH_KRA.1"), result));
  EditorWindow* editor = Open("BLH_KRA.1");
  EXPECT_EQ(editor->Text(),
            QString::fromUtf8("1235 51 0 1.257090 17 0 6.398814 -38.0793 Pułkowo'42 Ąą\n"));
  EXPECT_EQ(editor->windowTitle(), Path("BLH_KRA.1") + "[*]");
  Click(editor, "saveButton");
  EXPECT_EQ(ReadAll(Path("BLH_KRA.1")), result);
}

// A file is edited in its own encoding: Windows-1250, or UTF-8 (with or
// without its byte-order mark), which also takes letters the code page lacks.
TEST_F(EditorTest, FilesKeepTheirEncoding) {
  const struct {
    const char* what;
    QByteArray before;
    const char* text;  // UTF-8
    const char* typed;
    QByteArray after;
    QString shown;
  } cases[] = {
      {"Windows-1250", "Pu\xb3kowo 1 2\r\n", "Pułkowo 1 2\n", "ż", "Pu\xb3kowo 1 2\r\n\xbf\r\n",
       "Kodowanie: Windows-1250"},
      {"ASCII", "Punkt 1 2\r\n", "Punkt 1 2\n", "x", "Punkt 1 2\r\nx\r\n",
       "Kodowanie: Windows-1250"},
      {"UTF-8", "Pułkowo 1 2\n", "Pułkowo 1 2\n", "żж", "Pułkowo 1 2\r\nżж\r\n",
       "Kodowanie: UTF-8"},
      {"UTF-8 with BOM", "\xef\xbb\xbfPułkowo 1 2\r\n", "Pułkowo 1 2\n", "żж",
       "\xef\xbb\xbfPułkowo 1 2\r\nżж\r\n", "Kodowanie: UTF-8 z BOM"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(WriteAll(Path("BLH_GRS"), c.before));
    EditorWindow* editor = Open("BLH_GRS");
    EXPECT_EQ(editor->Text(), QString::fromUtf8(c.text));
    EXPECT_EQ(editor->findChild<QLabel*>("encodingLabel")->text(), c.shown);
    Type(editor, QString::fromUtf8(c.typed));
    Click(editor, "saveButton");
    EXPECT_EQ(ReadAll(Path("BLH_GRS")), c.after);
    EXPECT_FALSE(editor->IsModified());
  }
  EXPECT_TRUE(dialogs_.shown.empty()) << dialogs_.Texts().join('\n').toStdString();
}

TEST_F(EditorTest, TextOutsideTheCodePageIsNotSaved) {
  ASSERT_TRUE(WriteAll(Path("notatnik.txt"), "stare\r\n"));
  EditorWindow* editor = Open("notatnik.txt");
  Type(editor, QString::fromUtf8("ж"));
  Click(editor, "saveButton");
  EXPECT_EQ(ReadAll(Path("notatnik.txt")), "stare\r\n");
  EXPECT_TRUE(editor->IsModified());
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_TRUE(dialogs_.shown[0].text.contains(QString::fromUtf8("ж")));
}

TEST_F(EditorTest, NewDocumentTakesTheFolderOfTheCaption) {
  ASSERT_TRUE(WriteAll(Path("xy2000"), "1 2 3\r\n"));
  EditorWindow* editor = Open("xy2000");
  TriggerMenu(editor, "&Nowy");
  EXPECT_EQ(editor->Text(), "");
  EXPECT_EQ(editor->Caption(), Path("Nowy dokument"));
  Type(editor, "x");
  Click(editor, "saveButton");
  Click(editor, "newButton");
  EXPECT_EQ(editor->Caption(), Path("Nowy dokument"));
  EXPECT_EQ(ReadAll(Path("xy2000")), "1 2 3\r\n");
  EXPECT_EQ(ReadAll(Path("Nowy dokument")), "x\r\n");
}

TEST_F(EditorTest, ShowTheEditorKeepsTheTextUnderNowyDokument) {
  ASSERT_TRUE(WriteAll(Path("xy92"), "A 1 2\r\n"));
  EditorWindow* editor = Open("xy92");
  ShowCurrentEditor(dir_.path());
  EXPECT_EQ(CurrentEditor(), editor);
  EXPECT_EQ(editor->Caption(), Path("Nowy dokument"));
  Click(editor, "saveButton");
  EXPECT_EQ(ReadAll(Path("Nowy dokument")), "A 1 2\r\n");
}

TEST_F(EditorTest, TwoEditorsSaveTheirOwnFiles) {
  EditorWindow* first = Open("xy2000");
  EditorWindow* second = Open("xy2000.1");
  EXPECT_EQ(CurrentEditor(), second);
  Type(first, "pierwszy");
  Type(second, "drugi");
  Click(first, "saveButton");
  EXPECT_EQ(ReadAll(Path("xy2000")), "pierwszy\r\n");
  EXPECT_FALSE(QFile::exists(Path("xy2000.1")));
  Click(second, "saveButton");
  EXPECT_EQ(ReadAll(Path("xy2000.1")), "drugi\r\n");
  EXPECT_EQ(ReadAll(Path("xy2000")), "pierwszy\r\n");
}

TEST_F(EditorTest, FontSizeFromTheSizeField) {
  struct Case {
    QString typed;
    int size;       // font size afterwards
    QString shown;  // text of the size field afterwards
  };
  const Case cases[] = {
      {"12", 12, "12"}, {"25", 12, "12"}, {"4", 5, "5"}, {"3", 5, "5"},
      {"20", 20, "20"}, {"2", 20, "20"},  {"-7", 20, "20"},
  };
  EditorWindow* editor = Open("a");
  auto* edit = editor->findChild<QLineEdit*>("fontSizeEdit");
  auto* slider = editor->findChild<QSlider*>("fontSizeSlider");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    edit->setText(c.typed);
    testing::KeyClick(edit, Qt::Key_Return);
    EXPECT_EQ(TextEdit(editor)->font().pointSize(), c.size);
    EXPECT_EQ(slider->value(), c.size);
    EXPECT_EQ(edit->text(), c.shown);
  }
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(EditorTest, FontSizeTextThatIsNoNumberIsRejected) {
  EditorWindow* editor = Open("a");
  auto* edit = editor->findChild<QLineEdit*>("fontSizeEdit");
  edit->setText("1O");
  testing::KeyClick(edit, Qt::Key_Return);
  EXPECT_EQ(TextEdit(editor)->font().pointSize(), 8);
  EXPECT_EQ(edit->text(), "1O");
  ASSERT_EQ(dialogs_.shown.size(), 1u);
}

TEST_F(EditorTest, SliderSetsTheSizeAndTheSizeField) {
  EditorWindow* editor = Open("a");
  editor->findChild<QSlider*>("fontSizeSlider")->setValue(17);
  EXPECT_EQ(TextEdit(editor)->font().pointSize(), 17);
  EXPECT_EQ(editor->findChild<QLineEdit*>("fontSizeEdit")->text(), "17");
}

TEST_F(EditorTest, BoldTogglesAndDropsItalic) {
  EditorWindow* editor = Open("a");
  Click(editor, "boldButton");
  EXPECT_TRUE(TextEdit(editor)->font().bold());
  Click(editor, "boldButton");
  EXPECT_FALSE(TextEdit(editor)->font().bold());
  QFont italicBold = TextEdit(editor)->font();
  italicBold.setItalic(true);
  italicBold.setBold(true);
  dialogs_.chosenFont = italicBold;
  Click(editor, "fontButton");
  Click(editor, "boldButton");
  EXPECT_TRUE(TextEdit(editor)->font().bold());
  EXPECT_FALSE(TextEdit(editor)->font().italic());
}

class EditorFindTest : public EditorTest {
 protected:
  void Find(EditorWindow* editor, const QString& text) {
    Click(editor, "findButton");
    editor->findChild<QLineEdit*>("findText")->setText(text);
    editor->findChild<QPushButton*>("findNextButton")->click();
  }
  static std::pair<int, int> Selection(EditorWindow* editor) {
    const QTextCursor cursor = TextEdit(editor)->textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
  }
};

TEST_F(EditorFindTest, StepsThroughAaaOneByOne) {
  ASSERT_TRUE(WriteAll(Path("t"), "aaa"));
  EditorWindow* editor = Open("t");
  for (int start = 0; start < 3; ++start) {
    Find(editor, "a");
    EXPECT_EQ(Selection(editor), std::make_pair(start, start + 1));
  }
  EXPECT_TRUE(dialogs_.shown.empty());
  Find(editor, "a");
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].title, "Informacja");
  EXPECT_EQ(dialogs_.shown[0].text, QString::fromUtf8("Nie można odnaleźć łańcucha"));
  Find(editor, "a");  // the selection is unchanged: still not found
  EXPECT_EQ(dialogs_.shown.size(), 2u);
}

// Ctrl+O, Ctrl+S, Ctrl+P, Ctrl+F and F3 do what their menu items do; F3
// before any search opens the find dialog.
TEST_F(EditorFindTest, KeysDoWhatTheirMenuItemsDo) {
  ASSERT_TRUE(WriteAll(Path("t"), "aaa\r\n"));
  EditorWindow* editor = Open("t");
  auto* findDialog = editor->findChild<QWidget*>("findDialog");
  bool printed = false;
  dialogs_.setUpPrinter = [&](QPrinter& printer) {
    printer.setOutputFileName(Path("wydruk.pdf"));
    printed = true;
  };
  const auto nothing = [] {};
  const struct {
    const char* what;
    int key;
    Qt::KeyboardModifiers modifiers;
    std::function<void()> before;
    std::function<bool()> done;
  } cases[] = {
      {"F3 before a search", Qt::Key_F3, Qt::NoModifier, nothing,
       [&] { return findDialog->isVisible(); }},
      {"F3", Qt::Key_F3, Qt::NoModifier,
       [&] {
         editor->findChild<QLineEdit*>("findText")->setText("a");
         Select(editor, 0, 1);
       },
       [&] { return Selection(editor) == std::make_pair(1, 2); }},
      {"Ctrl+F", Qt::Key_F, Qt::ControlModifier, nothing, [&] { return findDialog->isVisible(); }},
      {"Ctrl+S", Qt::Key_S, Qt::ControlModifier, [&] { Type(editor, "b"); },
       [&] { return ReadAll(Path("t")) == "aaa\r\nb\r\n"; }},
      {"Ctrl+O", Qt::Key_O, Qt::ControlModifier, nothing,
       [&] { return dialogs_.Texts("open") == QStringList{dir_.path()}; }},
      {"Ctrl+P", Qt::Key_P, Qt::ControlModifier, nothing, [&] { return printed; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    findDialog->hide();
    editor->ShowEditor();
    QApplication::processEvents();  // the editor becomes the active window
    c.before();
    testing::KeyClick(TextEdit(editor), c.key, QString(), c.modifiers);
    EXPECT_TRUE(c.done());
  }
}

TEST_F(EditorFindTest, AnotherSelectionStartsFromTheTopAndCaseMatters) {
  ASSERT_TRUE(WriteAll(Path("t"), "Punkt punkt\r\nPUNKT punkt\r\n"));
  EditorWindow* editor = Open("t");
  Select(editor, 14, 16);
  Find(editor, "punkt");
  EXPECT_EQ(Selection(editor), std::make_pair(6, 11));
  Find(editor, "punkt");
  EXPECT_EQ(Selection(editor), std::make_pair(18, 23));
}

// A closed window keeps no text; Cancel keeps the window open with its text.
TEST_F(EditorTest, CloseAsksAboutAModifiedText) {
  struct Case {
    Answer answer;
    bool visible;
    bool modified;
    QByteArray file;
    QString text;  // the window's afterwards
  };
  const Case cases[] = {
      {Answer::Cancel, true, true, "stary\r\n", "staryx\n"},
      {Answer::No, false, false, "stary\r\n", ""},
      {Answer::Yes, false, false, "staryx\r\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.answer));
    ASSERT_TRUE(WriteAll(Path("p"), "stary\r\n"));
    EditorWindow* editor = Open("p");
    TextEdit(editor)->moveCursor(QTextCursor::Start);
    TextEdit(editor)->moveCursor(QTextCursor::EndOfLine);
    testing::KeyClicks(TextEdit(editor), "x");
    dialogs_.answers = {c.answer};
    Click(editor, "closeButton");
    EXPECT_EQ(dialogs_.shown.back().text, "Czy zapisać zmiany ?");
    EXPECT_EQ(editor->isVisible(), c.visible);
    EXPECT_EQ(editor->IsModified(), c.modified);
    EXPECT_EQ(editor->Text(), c.text);
    EXPECT_EQ(ReadAll(Path("p")), c.file);
  }
}

// A file bigger than the editor edits whole opens only when the user agrees:
// read-only, its first and last lines with a line telling what is left out
// between them. It can be neither changed nor saved; closing asks nothing and
// drops the text.
TEST_F(EditorTest, BigFileOpensReadOnlyWithItsFirstAndLastLinesWhenAgreed) {
  const QString big = Path("xy2000.1");
  QByteArray lastLine;
  {
    QFile file(big);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int n = 1; file.size() <= kWholeFileBytes; ++n) {
      lastLine = "P" + QByteArray::number(n) + " 5800000.0000 7500000.0000 \xa3\xf3" "d\x9f";
      ASSERT_EQ(file.write(lastLine + "\r\n"), lastLine.size() + 2);
    }
  }
  const QByteArray start = ReadAll(big).left(100);
  const qint64 size = QFileInfo(big).size();
  const struct {
    const char* what;
    std::function<EditorWindow*()> open;
    Answer answer;
  } cases[] = {
      {"panel, Nie", [&] { return OpenInEditor(big); }, Answer::No},
      {"panel, Tak", [&] { return OpenInEditor(big); }, Answer::Yes},
      {"file list, Nie", [&] { return Open("a"), LoadIntoCurrentEditor(big), CurrentEditor(); },
       Answer::No},
      {"file list, Tak", [&] { return Open("a"), LoadIntoCurrentEditor(big), CurrentEditor(); },
       Answer::Yes},
      {"Otwórz..., Tak", [&] {
         EditorWindow* editor = Open("a");
         dialogs_.paths = {big};
         Click(editor, "openButton");
         return editor;
       }, Answer::Yes},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    dialogs_.shown.clear();
    dialogs_.answers = {c.answer};
    EditorWindow* editor = c.open();
    if (editor && std::find(made_.begin(), made_.end(), editor) == made_.end()) {
      made_.push_back(editor);
    }
    ASSERT_EQ(dialogs_.Texts("question").size(), 1);
    EXPECT_TRUE(dialogs_.Texts("question")[0].startsWith("Plik \"xy2000.1\" ma "));
    const bool opened = c.answer == Answer::Yes;
    EXPECT_EQ(editor && editor->Caption() == big, opened);
    if (!opened) continue;
    EXPECT_TRUE(editor->IsReadOnly());
    EXPECT_TRUE(editor->findChild<QLabel*>("readOnlyLabel")->isVisible());
    const QString text = editor->Text();
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("P1 5800000.0000 7500000.0000 Łódź\nP2 ")));
    EXPECT_TRUE(text.endsWith("\n" + Cp1250ToText(lastLine) + "\n"));
    // Whole lines before and after the note.
    EXPECT_TRUE(text.contains(QString::fromUtf8("Łódź\n========== Pominięto środek pliku: ")));
    EXPECT_TRUE(text.contains(" ==========\nP"));
    EXPECT_LT(text.size(), 3 * kExcerptBytes);
    Type(editor, "x");
    Click(editor, "undoButton");
    EXPECT_EQ(editor->Text(), text);
    EXPECT_FALSE(editor->IsModified());
    dialogs_.shown.clear();
    Click(editor, "saveButton");
    EXPECT_TRUE(dialogs_.Texts("information").value(0).contains("tylko do odczytu"));
    EXPECT_EQ(QFileInfo(big).size(), size);
    EXPECT_EQ(ReadAll(big).left(100), start);
    dialogs_.shown.clear();
    editor->close();
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_EQ(editor->Text(), "");
    EXPECT_FALSE(editor->IsReadOnly());
  }
}

// The title carries the modified mark exactly when closing would ask about
// the changes.
TEST_F(EditorTest, TheMarkShowsWhatClosingWouldAskAbout) {
  ASSERT_TRUE(WriteAll(Path("xy2000"), "1 2 3\r\n"));
  const struct {
    const char* what;
    std::function<void(EditorWindow*)> act;
    bool asks;
  } cases[] = {
      {"opened", [](EditorWindow*) {}, false},
      {"typed", [](EditorWindow* e) { Type(e, "4"); }, true},
      {"typed and undone", [](EditorWindow* e) {
         Type(e, "4");
         e->undoWithoutMark();
       }, false},
      {"undone from the tool bar", [](EditorWindow* e) { Click(e, "undoButton"); }, true},
      {"typed, then a new document", [this](EditorWindow* e) {
         Type(e, "4");
         dialogs_.answers = {Answer::No};
         Click(e, "newButton");
       }, false},
      {"new document, shown as Edytor tekstowy", [this](EditorWindow* e) {
         Click(e, "newButton");
         ShowCurrentEditor(dir_.path());
       }, false},
      {"a letter the code page lacks, not saved", [](EditorWindow* e) {
         Type(e, QString::fromUtf8("ж"));
         Click(e, "saveButton");
       }, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EditorWindow* editor = Open("xy2000");
    c.act(editor);
    QApplication::processEvents();
    const bool marked = editor->windowHandle()->title().endsWith('*');
    dialogs_.shown.clear();
    dialogs_.answers = {Answer::Cancel};
    editor->close();
    const bool asked = !dialogs_.Texts("question").isEmpty();
    if (!asked) dialogs_.answers.clear();
    EXPECT_EQ(asked, c.asks);
    EXPECT_EQ(marked, c.asks) << editor->windowHandle()->title().toStdString();
  }
}

TEST_F(EditorTest, CloseWithoutChangesAsksNothing) {
  EditorWindow* editor = Open("p");
  TriggerMenu(editor, "W&yjście");
  EXPECT_FALSE(editor->isVisible());
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(EditorTest, OpeningAnotherFileFirstOffersToSaveTheChanges) {
  ASSERT_TRUE(WriteAll(Path("inny"), "inny\r\n"));
  EditorWindow* editor = Open("p");
  Type(editor, "moje");
  dialogs_.paths = {Path("inny")};
  dialogs_.answers = {Answer::Cancel};
  TriggerMenu(editor, "&Otwórz...");
  EXPECT_EQ(editor->Text(), "moje");
  EXPECT_EQ(editor->Caption(), Path("p"));

  dialogs_.paths = {Path("inny")};
  dialogs_.answers = {Answer::Yes};
  Click(editor, "openButton");
  EXPECT_EQ(ReadAll(Path("p")), "moje\r\n");
  EXPECT_EQ(editor->Text(), "inny\n");
  EXPECT_EQ(editor->Caption(), Path("inny"));
  EXPECT_FALSE(editor->IsModified());
}

TEST_F(EditorTest, LoadingFromTheFileListFirstOffersToSaveTheChanges) {
  ASSERT_TRUE(WriteAll(Path("xy65"), "65\r\n"));
  EditorWindow* editor = Open("p");
  Type(editor, "moje");
  dialogs_.answers = {Answer::Cancel};
  EXPECT_FALSE(LoadIntoCurrentEditor(Path("xy65")));
  EXPECT_EQ(editor->Text(), "moje");
  dialogs_.answers = {Answer::No};
  EXPECT_TRUE(LoadIntoCurrentEditor(Path("xy65")));
  EXPECT_EQ(editor->Text(), "65\n");
  EXPECT_EQ(editor->Caption(), Path("xy65"));
  EXPECT_FALSE(QFile::exists(Path("p")));
}

TEST_F(EditorTest, EndingTheProgramAsksForEveryModifiedEditor) {
  EditorWindow* first = Open("a");
  EditorWindow* unchanged = Open("b");
  EditorWindow* third = Open("c");
  Type(first, "1");
  Type(third, "3");
  dialogs_.answers = {Answer::Yes, Answer::Cancel};
  EXPECT_FALSE(ConfirmCloseAllEditors());
  EXPECT_EQ(ReadAll(Path("a")), "1\r\n");
  EXPECT_TRUE(third->IsModified());
  dialogs_.answers = {Answer::No};
  EXPECT_TRUE(ConfirmCloseAllEditors());
  EXPECT_FALSE(QFile::exists(Path("b")));
  EXPECT_FALSE(QFile::exists(Path("c")));
  EXPECT_EQ(dialogs_.shown.size(), 3u);
  EXPECT_FALSE(unchanged->IsModified());
}

TEST_F(EditorTest, SaveAsMovesTheCaption) {
  EditorWindow* editor = Open("a");
  Type(editor, "abc");
  dialogs_.paths = {Path("b")};
  TriggerMenu(editor, "Zapisz &jako...");
  EXPECT_EQ(editor->Caption(), Path("b"));
  EXPECT_EQ(ReadAll(Path("b")), "abc\r\n");
  EXPECT_FALSE(QFile::exists(Path("a")));
}

TEST_F(EditorTest, UndoFromTheToolBarSetsTheMarkThePopUpDoesNot) {
  EditorWindow* editor = Open("a");
  Type(editor, "x");
  Click(editor, "undoButton");
  EXPECT_EQ(editor->Text(), "");
  EXPECT_TRUE(editor->IsModified());

  EditorWindow* other = Open("b");
  Type(other, "y");
  auto* popup = other->findChild<QMenu*>("contextMenu");
  popup->actions().at(0)->trigger();
  EXPECT_EQ(other->Text(), "");
  EXPECT_FALSE(other->IsModified());
}

TEST_F(EditorTest, CutAndPasteGoThroughTheClipboard) {
  ASSERT_TRUE(WriteAll(Path("a"), "12345"));
  EditorWindow* editor = Open("a");
  Select(editor, 1, 3);
  Click(editor, "cutButton");
  EXPECT_EQ(editor->Text(), "145");
  TextEdit(editor)->moveCursor(QTextCursor::End);
  Click(editor, "pasteButton");
  EXPECT_EQ(editor->Text(), "14523");
}

// Saving replaces the file as a whole: a symbolic link is replaced, never
// written through; a read-only file, or a link to one, is refused with the
// reason, and so is a file in a missing folder.
TEST_F(EditorTest, SaveReplacesLinksAndReportsWhatCannotBeSaved) {
  const QFile::Permissions writable = QFile::ReadOwner | QFile::WriteOwner;
  const struct {
    const char* what;
    QString name;  // edited file in the temporary folder
    std::optional<QFile::Permissions> outside;  // "outside" behind the link name, if any
    std::optional<QFile::Permissions> earlier;  // the file itself before the save, if any
    const char* reason;                         // nullptr: saved
  } cases[] = {
      {"missing folder", "brak/xy2000", {}, {}, "nie ma takiego pliku ani folderu"},
      {"read-only file", "xy2000", {}, QFile::ReadOwner, "plik jest tylko do odczytu"},
      {"link to a read-only file", "link", QFile::ReadOwner, {}, "plik jest tylko do odczytu"},
      {"link to a writable file", "link", writable, {}, nullptr},
  };
  for (const auto& c : cases) {
    QTemporaryDir dir;
    const QString path = dir.filePath(c.name);
    if (c.outside) {
      ASSERT_TRUE(WriteAll(dir.filePath("outside"), "outside"));
      QFile(dir.filePath("outside")).setPermissions(*c.outside);
      ASSERT_TRUE(QFile::link("outside", path));
    }
    if (c.earlier) {
      ASSERT_TRUE(WriteAll(path, "old"));
      QFile(path).setPermissions(*c.earlier);
    }
    dialogs_.shown.clear();
    EditorWindow* editor = OpenInEditor(path);
    made_.push_back(editor);
    Type(editor, "1");
    Click(editor, "saveButton");
    if (c.reason) {
      EXPECT_TRUE(editor->IsModified()) << c.what;
      ASSERT_EQ(dialogs_.shown.size(), 1u) << c.what;
      EXPECT_EQ(dialogs_.shown[0].text, "Nie można zapisać pliku " + path + ": " + c.reason);
    } else {
      EXPECT_FALSE(editor->IsModified()) << c.what;
      EXPECT_EQ(ReadAll(path), QByteArray("outside1\r\n")) << c.what;
    }
    EXPECT_EQ(QFileInfo(path).isSymLink(), c.outside && c.reason) << c.what;
    if (c.outside) {
      EXPECT_EQ(ReadAll(dir.filePath("outside")), QByteArray("outside")) << c.what;
    }
    if (c.earlier) {
      EXPECT_EQ(ReadAll(path), QByteArray("old")) << c.what;
    }
    QFile(dir.filePath("outside")).setPermissions(writable);
    QFile(path).setPermissions(writable);
  }
}

TEST_F(EditorTest, PrintsAnIndentedCopyUnderTheFileName) {
  ASSERT_TRUE(WriteAll(Path("xy2000.1"), "1235 5652126.56 6429808.46 \xa3\xf3" "d\x9f\r\nP2 1 2" +
                                              QByteArray(150, ' ') + "koniec\r\n"));
  EditorWindow* editor = Open("xy2000.1");
  const QString pdf = Path("wydruk.pdf");
  QString jobTitle;
  int printerDpi = 0;
  dialogs_.setUpPrinter = [&](QPrinter& printer) {
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    jobTitle = printer.docName();
    printerDpi = printer.logicalDpiX();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
  };
  Click(editor, "printButton");
  EXPECT_EQ(jobTitle, "xy2000.1");
  const QByteArray printed = ReadAll(pdf);
  EXPECT_TRUE(printed.startsWith("%PDF"));
  EXPECT_GT(printed.size(), 1000);

  // Every line is a paragraph indented by 35 points of the printed page.
  const auto* copy = editor->findChild<QTextEdit*>("printCopy");
  EXPECT_EQ(copy->toPlainText(), editor->Text());
  EXPECT_EQ(copy->document()->defaultFont(), TextEdit(editor)->font());
  EXPECT_EQ(copy->document()->blockCount(), 3);
  for (QTextBlock block = copy->document()->begin(); block.isValid(); block = block.next())
    EXPECT_DOUBLE_EQ(block.blockFormat().textIndent() * 72.0 / printerDpi, 35.0);
}

// A monospaced letter is 0.6 of the font size wide; an A4 page prints 575
// points of its 595, an A3 page about 820 of 842; every line is indented by 35.
TEST(PrintOrientation, LandscapeWhenTheLongestLineDoesNotFitPortrait) {
  const struct {
    int points;
    QPageSize::PageSizeId page;
    QString text;
    QPageLayout::Orientation orientation;
  } cases[] = {
      {8, QPageSize::A4, QString(80, '8'), QPageLayout::Portrait},       // 419 points
      {8, QPageSize::A4, QString(112, '8'), QPageLayout::Portrait},      // 573
      {8, QPageSize::A4, QString(115, '8'), QPageLayout::Landscape},     // 588, 553 unindented
      {8, QPageSize::A4, QString(130, '8'), QPageLayout::Landscape},     // 659
      {8, QPageSize::A3, QString(130, '8'), QPageLayout::Portrait},
      {16, QPageSize::A4, QString(30, '8'), QPageLayout::Portrait},      // 323
      {16, QPageSize::A4, QString(60, '8'), QPageLayout::Landscape},     // 611
      {8, QPageSize::A4, "1 2\n" + QString(130, '8') + "\n3 4\n", QPageLayout::Landscape},
      {20, QPageSize::A4, "", QPageLayout::Portrait},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.size());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(c.page));
    printer.setPageOrientation(QPageLayout::Landscape);  // the choice does not depend on it
    EXPECT_EQ(PrintOrientation(c.text, CourierNewFont(c.points), 35.0, printer), c.orientation)
        << c.points << " points";
  }
}

TEST_F(EditorTest, CancelledPrintDialogPrintsNothing) {
  EditorWindow* editor = Open("a");
  Type(editor, "1");
  Click(editor, "printButton");
  EXPECT_TRUE(editor->IsModified());
  EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files).isEmpty());
}

}  // namespace
}  // namespace kolvedir

int main(int argc, char** argv) { return kolvedir::testing::RunGuiTests(argc, argv); }
