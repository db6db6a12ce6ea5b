#include "shell/editor_window.h"

#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStatusBar>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include <malloc.h>

#include <algorithm>
#include <vector>

#include "engine/atomic_file.h"
#include "engine/system_error_text.h"
#include "shell/cp1250_text.h"
#include "shell/dialog_service.h"
#include "shell/editor_font.h"
#include "shell/window_placement.h"

namespace kolvedir {

namespace {

constexpr char kNewDocument[] = "Nowy dokument";
constexpr char kAllFiles[] = "Wszystkie pliki (*)";
constexpr char kEditorTitle[] = "Edytor";
constexpr int kStartFontSize = 8;
constexpr double kPrintIndentPoints = 35.0;

QPointer<QWidget> editorOwner;
std::vector<QPointer<EditorWindow>> editors;

EditorWindow* NewEditor() {
  editors.emplace_back(new EditorWindow(editorOwner));
  return editors.back();
}

// Why a file could not be saved, for the message.
QString SaveFailureReason(const AtomicFile& file) {
  if (file.FailedStep() == AtomicFile::Failure::kReadOnly) return "plik jest tylko do odczytu";
  return QString::fromStdString(SystemErrorText(file.SystemError()));
}

// A file too big to edit whole is opened, read-only and in part, only when
// the user agrees; true for any other file.
bool AgreedToOpen(QWidget* parent, const QString& path) {
  const QFileInfo file(path);
  if (!file.isFile() || file.size() <= kWholeFileBytes) return true;
  return Dialogs().Question(
             parent, kEditorTitle,
             "Plik \"" + file.fileName() + "\" ma " + QLocale().formattedDataSize(file.size()) +
                 " - za dużo, by go edytować w całości.\nOtworzyć go tylko do odczytu, "
                 "z jego pierwszymi i ostatnimi wierszami?",
             false) == DialogService::Answer::Yes;
}

// The first and the last kExcerptBytes of a big file, each cut at a line end,
// with a line between them that tells what is left out. The encoding is the
// beginning's.
EditorFileText ReadExcerpt(QFile& file) {
  QByteArray head = file.read(kExcerptBytes);
  if (const qsizetype end = head.lastIndexOf('\n'); end >= 0) head.truncate(end + 1);
  file.seek(std::max(file.pos(), file.size() - kExcerptBytes));
  QByteArray tail = file.readAll();
  tail.remove(0, tail.indexOf('\n') + 1);
  EditorFileText excerpt = FileBytesToText(head);
  if (!excerpt.text.endsWith('\n')) excerpt.text += '\n';
  const qint64 skipped = file.size() - head.size() - tail.size();
  excerpt.text += "========== Pominięto środek pliku: " + QLocale().formattedDataSize(skipped) +
                  ". Plik jest otwarty tylko do odczytu. ==========\n" +
                  FileBytesToText(tail).text;
  return excerpt;
}

// The selection stays visible when the window loses the focus.
void KeepSelectionVisible(QPlainTextEdit* edit) {
  QPalette palette = edit->palette();
  for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
    palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
  edit->setPalette(palette);
}

}  // namespace

EditorWindow::EditorWindow(QWidget* parent) : QMainWindow(parent, kOwnedWindow) {
  setObjectName("editorWindow");
  textEdit_ = new QPlainTextEdit(this);
  textEdit_->setObjectName("textEdit");
  textEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  textEdit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  textEdit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  textEdit_->setFont(CourierNewFont(kStartFontSize));
  KeepSelectionVisible(textEdit_);
  setCentralWidget(textEdit_);
  connect(textEdit_->document(), &QTextDocument::modificationChanged, this,
          &QWidget::setWindowModified);

  printCopy_ = new QTextEdit(this);
  printCopy_->setObjectName("printCopy");
  printCopy_->hide();
  printCopy_->setFont(textEdit_->font());

  CreateToolBar();
  CreateMenus();
  CreatePopupMenu();
  CreateFindDialog();
  readOnlyLabel_ = new QLabel("Tylko do odczytu: początek i koniec pliku", this);
  readOnlyLabel_->setObjectName("readOnlyLabel");
  statusBar()->addWidget(readOnlyLabel_);
  encodingLabel_ = new QLabel(this);
  encodingLabel_->setObjectName("encodingLabel");
  statusBar()->addPermanentWidget(encodingLabel_);
  SetReadOnly(false);
  SetEncoding(TextEncoding::kWindows1250, false);
  SetCaption(kNewDocument);
  // A smaller screen leaves room for the windows opened after this one.
  const QSize size(900, 560);
  const QScreen* screen = QGuiApplication::primaryScreen();
  resize(screen ? size.boundedTo(screen->availableGeometry().size() * 0.8) : size);
}

void EditorWindow::CreateToolBar() {
  QToolBar* bar = addToolBar("ToolBar1");
  bar->setObjectName("toolBar");
  bar->setMovable(false);
  const auto addButton = [&](const char* name, const QString& text, const QString& hint,
                             void (EditorWindow::*handler)()) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, handler);
    bar->addWidget(button);
    return button;
  };
  addButton("newButton", "Nowy", "Nowy plik", &EditorWindow::newDocument);
  addButton("openButton", "Otwórz", "Otwórz zbiór", &EditorWindow::openFile);
  addButton("saveButton", "Zapisz", "Zapisz plik", &EditorWindow::save);
  addButton("printButton", "Drukuj", "Drukuj plik", &EditorWindow::print);
  addButton("findButton", "Szukaj", "Szukaj ciągu znaków", &EditorWindow::showFindDialog);
  bar->addSeparator();
  addButton("cutButton", "Wytnij", "Wytnij zaznaczony tekst", &EditorWindow::cut);
  addButton("copyButton", "Kopiuj", "Kopiuj do schowka", &EditorWindow::copy);
  addButton("pasteButton", "Wklej", "Wklej ze schowka", &EditorWindow::paste);
  addButton("undoButton", "Cofnij", "Cofanie o 1 krok", &EditorWindow::undo);
  bar->addSeparator();
  QToolButton* bold = addButton("boldButton", "B", "font = [ Bold ]", &EditorWindow::toggleBold);
  QFont boldFont = bold->font();
  boldFont.setBold(true);
  bold->setFont(boldFont);

  fontSizeSlider_ = new QSlider(Qt::Horizontal, bar);
  fontSizeSlider_->setObjectName("fontSizeSlider");
  fontSizeSlider_->setToolTip("Ustaw wielkość znaków");
  fontSizeSlider_->setRange(5, 20);
  fontSizeSlider_->setTickInterval(3);
  fontSizeSlider_->setTickPosition(QSlider::TicksBelow);
  fontSizeSlider_->setValue(kStartFontSize);
  fontSizeSlider_->setFixedWidth(100);
  connect(fontSizeSlider_, &QSlider::valueChanged, this, &EditorWindow::setFontSize);
  bar->addWidget(fontSizeSlider_);

  fontSizeEdit_ = new QLineEdit(QString::number(kStartFontSize), bar);
  fontSizeEdit_->setObjectName("fontSizeEdit");
  fontSizeEdit_->setFixedWidth(36);
  connect(fontSizeEdit_, &QLineEdit::returnPressed, this, &EditorWindow::applyTypedFontSize);
  bar->addWidget(fontSizeEdit_);

  addButton("fontButton", "Czcionka", "font [do druku]", &EditorWindow::chooseFont);
  bar->addSeparator();
  addButton("closeButton", "ZAMKNIJ", QString(), &EditorWindow::closeEditor);
}

void EditorWindow::CreateMenus() {
  QMenu* file = menuBar()->addMenu("Plik");
  file->addAction("&Nowy", this, &EditorWindow::newDocument);
  file->addAction("&Otwórz...", QKeySequence(Qt::CTRL | Qt::Key_O), this, &EditorWindow::openFile);
  file->addAction("&Zapisz", QKeySequence(Qt::CTRL | Qt::Key_S), this, &EditorWindow::save);
  file->addAction("Zapisz &jako...", this, &EditorWindow::saveAs);
  file->addAction("&Drukuj...", QKeySequence(Qt::CTRL | Qt::Key_P), this, &EditorWindow::print);
  file->addSeparator();
  file->addAction("W&yjście", this, &EditorWindow::closeEditor);
  QMenu* edit = menuBar()->addMenu("Edycja");
  edit->addAction("Cofnij", this, &EditorWindow::undo);
  edit->addAction("&Wytnij", this, &EditorWindow::cut);
  edit->addAction("&Kopiuj", this, &EditorWindow::copy);
  edit->addAction("Wkl&ej", this, &EditorWindow::paste);
  QMenu* find = menuBar()->addMenu("Znajdź");
  find->addAction("Znajdź...", QKeySequence(Qt::CTRL | Qt::Key_F), this,
                  &EditorWindow::showFindDialog);
  find->addAction("Znajdź &następny", QKeySequence(Qt::Key_F3), this, &EditorWindow::findAgain);
}

void EditorWindow::CreatePopupMenu() {
  auto* popup = new QMenu(this);
  popup->setObjectName("contextMenu");
  popup->addAction("Cofnij", this, &EditorWindow::undoWithoutMark);
  popup->addAction("Wytnij", this, &EditorWindow::cut);
  popup->addAction("Kopiuj", this, &EditorWindow::copy);
  popup->addAction("Wklej", this, &EditorWindow::paste);
  textEdit_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(textEdit_, &QWidget::customContextMenuRequested, popup,
          [this, popup](const QPoint& at) { popup->popup(textEdit_->mapToGlobal(at)); });
}

void EditorWindow::CreateFindDialog() {
  findDialog_ = new QDialog(this);
  findDialog_->setObjectName("findDialog");
  findDialog_->setWindowTitle("Znajdowanie");
  findText_ = new QLineEdit(findDialog_);
  findText_->setObjectName("findText");
  auto* findNext = new QPushButton("Znajdź &następny", findDialog_);
  findNext->setObjectName("findNextButton");
  findNext->setDefault(true);
  findNext->setEnabled(false);
  auto* cancel = new QPushButton("Anuluj", findDialog_);
  auto* layout = new QHBoxLayout(findDialog_);
  auto* label = new QLabel("Znajdź:", findDialog_);
  label->setBuddy(findText_);
  layout->addWidget(label);
  layout->addWidget(findText_);
  layout->addWidget(findNext);
  layout->addWidget(cancel);
  connect(findText_, &QLineEdit::textChanged, findNext,
          [findNext](const QString& text) { findNext->setEnabled(!text.isEmpty()); });
  connect(findNext, &QPushButton::clicked, this, &EditorWindow::findNextMatch);
  connect(cancel, &QPushButton::clicked, findDialog_, &QDialog::hide);
}

void EditorWindow::SetCaption(const QString& path) {
  caption_ = path;
  QString title = path;
  setWindowTitle(title.replace("[*]", "[*][*]") + "[*]");
}

bool EditorWindow::IsModified() const { return textEdit_->document()->isModified(); }

void EditorWindow::SetModified(bool modified) {
  textEdit_->document()->setModified(modified);
  // Clearing the text can clear the document's mark without a signal, which
  // would leave the title marked; the title follows this call as well.
  setWindowModified(modified);
}

QString EditorWindow::Text() const { return textEdit_->toPlainText(); }

bool EditorWindow::IsReadOnly() const { return textEdit_->isReadOnly(); }

void EditorWindow::SetReadOnly(bool readOnly) {
  textEdit_->setReadOnly(readOnly);
  readOnlyLabel_->setVisible(readOnly);
}

void EditorWindow::LoadFile(const QString& path) {
  QFile file(path);
  EditorFileText loaded;
  bool excerpt = false;
  if (file.exists()) {
    if (!file.open(QIODevice::ReadOnly))
      Dialogs().Information(this, kEditorTitle, "Nie można odczytać pliku " + path);
    else if ((excerpt = file.size() > kWholeFileBytes))
      loaded = ReadExcerpt(file);
    else
      loaded = FileBytesToText(file.readAll());
  }
  textEdit_->setPlainText(loaded.text);
  SetReadOnly(excerpt);
  SetEncoding(loaded.encoding, loaded.byteOrderMark);
  SetModified(false);
  SetCaption(path);
}

void EditorWindow::ClearText() {
  textEdit_->clear();
  SetReadOnly(false);
  SetEncoding(TextEncoding::kWindows1250, false);
  SetModified(false);
}

bool EditorWindow::SaveTo(const QString& path) {
  if (IsReadOnly()) {
    Dialogs().Information(this, kEditorTitle,
                          "Plik jest otwarty tylko do odczytu - pokazano tylko jego początek i "
                          "koniec.\nNie został zapisany.");
    return false;
  }
  QByteArray bytes;
  QString rejected;
  if (!TextToFileBytes({textEdit_->toPlainText(), encoding_, byteOrderMark_}, bytes, rejected)) {
    Dialogs().Information(this, kEditorTitle,
                          "Tekst zawiera znaki spoza strony kodowej Windows-1250: " + rejected +
                              "\nPlik nie został zapisany.");
    return false;
  }
  AtomicFile file;
  if (!file.Replace(QFile::encodeName(path).toStdString(), bytes.toStdString())) {
    Dialogs().Information(this, kEditorTitle,
                          "Nie można zapisać pliku " + path + ": " + SaveFailureReason(file));
    return false;
  }
  SetModified(false);
  return true;
}

void EditorWindow::SetEncoding(TextEncoding encoding, bool byteOrderMark) {
  encoding_ = encoding;
  byteOrderMark_ = byteOrderMark;
  QString name = "Windows-1250";
  if (encoding == TextEncoding::kUtf8) name = byteOrderMark ? "UTF-8 z BOM" : "UTF-8";
  encodingLabel_->setText("Kodowanie: " + name);
}

void EditorWindow::ShowEditor() {
  ShowInFront(this);
  textEdit_->setFocus();
}

bool EditorWindow::SaveOrDiscardChanges() {
  if (!IsModified()) return true;
  switch (Dialogs().Question(this, kEditorTitle, "Czy zapisać zmiany ?", true)) {
    case DialogService::Answer::Yes:
      return SaveTo(caption_);
    case DialogService::Answer::No:
      SetModified(false);
      return true;
    default:
      return false;
  }
}

void EditorWindow::newDocument() {
  if (!SaveOrDiscardChanges()) return;
  ClearText();
  const QFileInfo info(caption_);
  if (info.fileName() != kNewDocument) SetCaption(QDir(info.path()).filePath(kNewDocument));
}

void EditorWindow::openFile() {
  const QString path =
      Dialogs().OpenFileName(this, "Otwórz", QFileInfo(caption_).path(), kAllFiles);
  if (path.isEmpty() || !AgreedToOpen(this, path) || !SaveOrDiscardChanges()) return;
  LoadFile(path);
}

void EditorWindow::save() { SaveTo(caption_); }

void EditorWindow::saveAs() {
  const QString path =
      Dialogs().SaveFileName(this, "Zapisz jako", QFileInfo(caption_).path(), kAllFiles);
  if (!path.isEmpty() && SaveTo(path)) SetCaption(path);
}

void EditorWindow::print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QFileInfo(caption_).fileName());
  // Chosen before the print dialog, which may change it.
  printer.setPageOrientation(
      PrintOrientation(textEdit_->toPlainText(), textEdit_->font(), kPrintIndentPoints, printer));
  if (!Dialogs().SetUpPrinter(this, printer)) return;
  printCopy_->setPlainText(textEdit_->toPlainText());
  printCopy_->document()->setDefaultFont(textEdit_->font());
  QTextCursor all(printCopy_->document());
  all.select(QTextCursor::Document);
  QTextBlockFormat indent;
  // A printed document takes its indents in pixels of the printer.
  indent.setTextIndent(kPrintIndentPoints * printer.logicalDpiX() / 72.0);
  all.mergeBlockFormat(indent);
  printCopy_->print(&printer);
}

void EditorWindow::showFindDialog() {
  findDialog_->show();
  findDialog_->raise();
  findDialog_->activateWindow();
}

void EditorWindow::findAgain() {
  if (findText_->text().isEmpty())
    showFindDialog();
  else
    findNextMatch();
}

void EditorWindow::findNextMatch() {
  textEdit_->setFocus();
  const QString wanted = findText_->text();
  const QTextCursor selection = textEdit_->textCursor();
  // Selected text of a plain text edit has U+2029 between lines.
  const QString selected = selection.selectedText().replace(QChar::ParagraphSeparator, '\n');
  // Right after the selected occurrence, so that "a" in "aaa" steps through all three.
  const int start = selected == wanted ? selection.selectionEnd() : 0;
  const int found = textEdit_->toPlainText().indexOf(wanted, start, Qt::CaseSensitive);
  if (found < 0) {
    Dialogs().Information(this, "Informacja", "Nie można odnaleźć łańcucha");
    return;
  }
  QTextCursor cursor(textEdit_->document());
  cursor.setPosition(found);
  cursor.setPosition(found + wanted.size(), QTextCursor::KeepAnchor);
  textEdit_->setTextCursor(cursor);
  textEdit_->setFocus();
}

void EditorWindow::cut() { textEdit_->cut(); }
void EditorWindow::copy() { textEdit_->copy(); }
void EditorWindow::paste() { textEdit_->paste(); }

void EditorWindow::undo() {
  if (IsReadOnly()) return;
  textEdit_->undo();
  SetModified(true);
}

void EditorWindow::undoWithoutMark() { textEdit_->undo(); }

void EditorWindow::toggleBold() {
  QFont font = textEdit_->font();
  const bool exactlyBold = font.bold() && !font.italic() && !font.underline() &&
                           !font.strikeOut();
  font.setBold(!exactlyBold);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  textEdit_->setFont(font);
}

void EditorWindow::chooseFont() {
  QFont font = textEdit_->font();
  if (Dialogs().ChooseFont(this, font)) textEdit_->setFont(font);
}

void EditorWindow::closeEditor() { close(); }

void EditorWindow::setFontSize(int position) {
  QFont font = textEdit_->font();
  font.setPointSize(position);
  textEdit_->setFont(font);
  printCopy_->setFont(font);
  fontSizeEdit_->setText(QString::number(position));
  textEdit_->setFocus();
}

void EditorWindow::applyTypedFontSize() {
  bool isNumber = false;
  const int size = fontSizeEdit_->text().trimmed().toInt(&isNumber);
  if (!isNumber) {
    Dialogs().Information(this, "Błąd",
                          "'" + fontSizeEdit_->text() + "' nie jest poprawną liczbą całkowitą");
    return;
  }
  if (size >= 3 && size <= 20) fontSizeSlider_->setValue(size);
  fontSizeEdit_->setText(QString::number(fontSizeSlider_->value()));
}

void EditorWindow::closeEvent(QCloseEvent* event) {
  if (!SaveOrDiscardChanges()) {
    event->ignore();
    return;
  }
  // The window stays for later use, its text does not: the memory of a big
  // file goes back to the system.
  ClearText();
  malloc_trim(0);
  event->accept();
}

QPageLayout::Orientation PrintOrientation(const QString& text, const QFont& font,
                                          double indentPoints, QPrinter& printer) {
  const QFontMetricsF metrics(font, &printer);
  qreal widest = 0;
  for (const QString& line : text.split('\n'))
    widest = std::max(widest, metrics.horizontalAdvance(line));
  QPageLayout portrait = printer.pageLayout();
  portrait.setOrientation(QPageLayout::Portrait);
  const double linePoints = widest * 72.0 / printer.logicalDpiX() + indentPoints;
  return linePoints > portrait.paintRect(QPageLayout::Point).width() ? QPageLayout::Landscape
                                                                     : QPageLayout::Portrait;
}

void SetEditorOwner(QWidget* owner) { editorOwner = owner; }

EditorWindow* CurrentEditor() {
  for (auto it = editors.rbegin(); it != editors.rend(); ++it)
    if (*it) return *it;
  return NewEditor();
}

EditorWindow* OpenInEditor(const QString& path) {
  if (!AgreedToOpen(editorOwner, path)) return nullptr;
  EditorWindow* editor = NewEditor();
  editor->LoadFile(path);
  editor->ShowEditor();
  return editor;
}

void ShowCurrentEditor(const QString& objectFolder) {
  EditorWindow* editor = CurrentEditor();
  editor->SetCaption(QDir(objectFolder).filePath(kNewDocument));
  editor->ShowEditor();
}

bool LoadIntoCurrentEditor(const QString& path) {
  EditorWindow* editor = CurrentEditor();
  if (!AgreedToOpen(editor, path) || !editor->SaveOrDiscardChanges()) return false;
  editor->LoadFile(path);
  editor->ShowEditor();
  return true;
}

bool ConfirmCloseAllEditors() {
  for (const QPointer<EditorWindow>& editor : editors) {
    if (!editor || !editor->IsModified()) continue;
    editor->ShowEditor();
    if (!editor->SaveOrDiscardChanges()) return false;
  }
  return true;
}

}  // namespace kolvedir
