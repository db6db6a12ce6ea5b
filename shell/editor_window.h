#pragma once
// The text editor window: one plain-text file per window, read and written in
// the file's own encoding (Windows-1250, or UTF-8 told as the jobs tell it,
// shown in the status bar) with CR LF line ends. The caption is the full path
// of the file; "Zapisz" writes to the path in the caption. A file too big to
// edit whole (kWholeFileBytes) is shown read-only, its first and last lines
// only, once the user has agreed. A closed window keeps no text.
// The object name, caption and role of each control:
// tests/shell/data/window_controls.tsv.
#include <QMainWindow>
#include <QPageLayout>
#include <QString>

#include "engine/text_encoding.h"

class QDialog;
class QFont;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;
class QSlider;
class QTextEdit;

namespace kolvedir {

// Files up to this size (bytes) are edited whole; a bigger one is shown
// read-only, kExcerptBytes of its beginning and of its end, cut at line ends.
inline constexpr qint64 kWholeFileBytes = 32 << 20;
inline constexpr qint64 kExcerptBytes = 1 << 20;

class EditorWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit EditorWindow(QWidget* parent = nullptr);

  // Full path of the edited file (the caption without the modified mark).
  QString Caption() const { return caption_; }
  void SetCaption(const QString& path);
  bool IsModified() const;
  QString Text() const;
  // The text shows part of a file too big to edit: it can be neither edited nor saved.
  bool IsReadOnly() const;

  // Replaces the text by the file's lines (an empty text when the file does not
  // exist; the first and last lines, read-only, of a file bigger than
  // kWholeFileBytes) and sets the caption to path; clears the modified mark.
  void LoadFile(const QString& path);
  // Writes the text to path in the encoding it was read in (a new document in
  // Windows-1250), CR LF; on success clears the mark.
  // A failure, or a read-only text, is reported to the user and returns false.
  bool SaveTo(const QString& path);
  // Shows the window above the main window, in front and active, with the
  // focus in the text; a new window opens offset from the one before it.
  void ShowEditor();
  // With the modified mark set asks "Czy zapisać zmiany ?" (Yes/No/Cancel):
  // Yes saves, No discards the changes (clears the mark). Returns false when
  // the text must stay: Cancel, or a failed save.
  bool SaveOrDiscardChanges();

 public slots:
  void newDocument();      // "&Nowy"
  void openFile();         // "&Otwórz..." (Ctrl+O)
  void save();             // "&Zapisz" (Ctrl+S)
  void saveAs();           // "Zapisz &jako..."
  void print();            // "&Drukuj..." (Ctrl+P)
  void showFindDialog();   // "Znajdź..." (Ctrl+F)
  void cut();
  void copy();
  void paste();
  void undo();             // sets the modified mark
  void toggleBold();
  void chooseFont();
  void closeEditor();      // "ZAMKNIJ"
  void setFontSize(int position);  // the slider
  void applyTypedFontSize();       // Enter in the size field
  void findNextMatch();            // the find button of the find dialog
  void findAgain();                // "Znajdź następny" (F3): the find dialog until there is a text
  void undoWithoutMark();          // "Cofnij" of the pop-up menu

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Sets the modified mark of the text and the title together.
  void SetModified(bool modified);
  // An empty, editable new text in Windows-1250.
  void ClearText();
  void SetReadOnly(bool readOnly);
  // How the file keeps its text, kept for saving and shown in the status bar.
  void SetEncoding(TextEncoding encoding, bool byteOrderMark);
  void CreateToolBar();
  void CreateMenus();
  void CreatePopupMenu();
  void CreateFindDialog();

  QString caption_;
  TextEncoding encoding_ = TextEncoding::kWindows1250;
  bool byteOrderMark_ = false;
  QLabel* encodingLabel_ = nullptr;
  QLabel* readOnlyLabel_ = nullptr;
  QPlainTextEdit* textEdit_ = nullptr;
  QTextEdit* printCopy_ = nullptr;  // hidden print copy
  QSlider* fontSizeSlider_ = nullptr;
  QLineEdit* fontSizeEdit_ = nullptr;
  QDialog* findDialog_ = nullptr;
  QLineEdit* findText_ = nullptr;
};

// The page orientation for printing text in font with every line indented by
// indentPoints (points, 0 or more): landscape when its longest line is wider
// than the printable width of printer's page in portrait, portrait otherwise.
QPageLayout::Orientation PrintOrientation(const QString& text, const QFont& font,
                                          double indentPoints, QPrinter& printer);

// Editor windows stay above owner (the main window); call once at start-up
// before any editor is made.
void SetEditorOwner(QWidget* owner);

// The current editor window: the one made last. Made hidden with the caption
// "Nowy dokument" when none exists yet (the start-up editor).
EditorWindow* CurrentEditor();

// Opens path in a new editor window, which becomes the current one: loads the
// file (an empty text when it is missing), shows it, clears the modified mark.
// A file bigger than kWholeFileBytes is opened only when the user agrees to
// see its first and last lines; nullptr (no window made) when not.
EditorWindow* OpenInEditor(const QString& path);

// "Edytor tekstowy": shows the current editor with the caption
// objectFolder/"Nowy dokument" and the focus in its text; the text is kept.
void ShowCurrentEditor(const QString& objectFolder);

// Loads path into the current editor (file list "Edycja") and shows it. A
// modified text is first offered for saving; returns false when the user
// cancelled (nothing loaded), or did not agree to open a big file.
bool LoadIntoCurrentEditor(const QString& path);

// Asks about every editor with unsaved changes before the program ends.
// Returns false when the user cancelled (or a save failed): do not end then.
bool ConfirmCloseAllEditors();

}  // namespace kolvedir
