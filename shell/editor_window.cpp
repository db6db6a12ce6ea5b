#include "shell/editor_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <vector>

#include "engine/atomic_file.h"
#include "engine/system_error_text.h"
#include "shell/cp1250_text.h"
#include "shell/dialog_service.h"
#include "shell/editor_font.h"

namespace kolvedir {

namespace {

constexpr char kNewDocument[] = "Nowy dokument";
constexpr char kAllFiles[] = "Wszystkie pliki (*)";
constexpr char kEditorTitle[] = "Edytor";
constexpr int kStartFontSize = 8;
constexpr double kPrintIndentPoints = 35.0;

QPointer<QWidget> editorOwner;
std::vector<QPointer<TForm4>> editors;

TForm4* NewEditor() {
  editors.emplace_back(new TForm4(editorOwner));
  return editors.back();
}

// Why a file could not be saved, for the message.
QString SaveFailureReason(const AtomicFile& file) {
  if (file.FailedStep() == AtomicFile::Failure::kReadOnly) return "plik jest tylko do odczytu";
  return QString::fromStdString(SystemErrorText(file.SystemError()));
}

// The selection stays visible when the window loses the focus.
void KeepSelectionVisible(QPlainTextEdit* edit) {
  QPalette palette = edit->palette();
  for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
    palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
  edit->setPalette(palette);
}

}  // namespace

TForm4::TForm4(QWidget* parent) : QMainWindow(parent, Qt::Window) {
  setObjectName("Form4");
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setFont(CourierNewFont(kStartFontSize));
  KeepSelectionVisible(Memo1);
  setCentralWidget(Memo1);
  connect(Memo1->document(), &QTextDocument::modificationChanged, this,
          &QWidget::setWindowModified);

  r1 = new QTextEdit(this);
  r1->setObjectName("r1");
  r1->hide();
  r1->setFont(Memo1->font());

  CreateToolBar();
  CreateMenus();
  CreatePopupMenu();
  CreateFindDialog();
  SetCaption(kNewDocument);
  resize(900, 560);
}

void TForm4::CreateToolBar() {
  QToolBar* bar = addToolBar("ToolBar1");
  bar->setObjectName("ToolBar1");
  bar->setMovable(false);
  const auto addButton = [&](const char* name, const QString& text, const QString& hint,
                             void (TForm4::*handler)()) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, handler);
    bar->addWidget(button);
    return button;
  };
  addButton("SpeedButton4", "Nowy", "Nowy plik", &TForm4::SpeedButton4Click);
  addButton("SpeedButton3", "Otwórz", "Otwórz zbiór", &TForm4::SpeedButton3Click);
  addButton("SpeedButton1", "Zapisz", "Zapisz plik", &TForm4::SpeedButton1Click);
  addButton("SpeedButton2", "Drukuj", "Drukuj plik", &TForm4::SpeedButton2Click);
  addButton("SpeedButton5", "Szukaj", "Szukaj ciągu znaków", &TForm4::SpeedButton5Click);
  bar->addSeparator();
  addButton("SpeedButton8", "Wytnij", "Wytnij zaznaczony tekst", &TForm4::SpeedButton8Click);
  addButton("SpeedButton9", "Kopiuj", "Kopiuj do schowka", &TForm4::SpeedButton9Click);
  addButton("SpeedButton10", "Wklej", "Wklej ze schowka", &TForm4::SpeedButton10Click);
  addButton("SpeedButton7", "Cofnij", "Cofanie o 1 krok", &TForm4::SpeedButton7Click);
  bar->addSeparator();
  QToolButton* bold = addButton("SpeedButton6", "B", "font = [ Bold ]", &TForm4::SpeedButton6Click);
  QFont boldFont = bold->font();
  boldFont.setBold(true);
  bold->setFont(boldFont);

  TrackBar1 = new QSlider(Qt::Horizontal, bar);
  TrackBar1->setObjectName("TrackBar1");
  TrackBar1->setToolTip("Ustaw wielkość znaków");
  TrackBar1->setRange(5, 20);
  TrackBar1->setTickInterval(3);
  TrackBar1->setTickPosition(QSlider::TicksBelow);
  TrackBar1->setValue(kStartFontSize);
  TrackBar1->setFixedWidth(100);
  connect(TrackBar1, &QSlider::valueChanged, this, &TForm4::TrackBar1Change);
  bar->addWidget(TrackBar1);

  Edit1 = new QLineEdit(QString::number(kStartFontSize), bar);
  Edit1->setObjectName("Edit1");
  Edit1->setFixedWidth(36);
  connect(Edit1, &QLineEdit::returnPressed, this, &TForm4::Edit1KeyPressEnter);
  bar->addWidget(Edit1);

  addButton("SpeedButton11", "Czcionka", "font [do druku]", &TForm4::SpeedButton11Click);
  bar->addSeparator();
  addButton("SpeedButton12", "ZAMKNIJ", QString(), &TForm4::SpeedButton12Click);
}

void TForm4::CreateMenus() {
  QMenu* file = menuBar()->addMenu("Plik");
  file->addAction("&Nowy", this, &TForm4::SpeedButton4Click);
  file->addAction("&Otwórz...", this, &TForm4::SpeedButton3Click);
  file->addAction("&Zapisz", this, &TForm4::SpeedButton1Click);
  file->addAction("Zapisz &jako...", this, &TForm4::Zapiszjako1Click);
  file->addAction("&Drukuj...", this, &TForm4::SpeedButton2Click);
  file->addSeparator();
  file->addAction("W&yjście", this, &TForm4::SpeedButton12Click);
  QMenu* edit = menuBar()->addMenu("Edycja");
  edit->addAction("Cofnij", this, &TForm4::SpeedButton7Click);
  edit->addAction("&Wytnij", this, &TForm4::SpeedButton8Click);
  edit->addAction("&Kopiuj", this, &TForm4::SpeedButton9Click);
  edit->addAction("Wkl&ej", this, &TForm4::SpeedButton10Click);
  QMenu* find = menuBar()->addMenu("Znajdź");
  find->addAction("Znajdź...", this, &TForm4::SpeedButton5Click);
}

void TForm4::CreatePopupMenu() {
  auto* popup = new QMenu(this);
  popup->setObjectName("PopupMenu1");
  popup->addAction("Cofnij", this, &TForm4::PopupUndoClick);
  popup->addAction("Wytnij", this, &TForm4::SpeedButton8Click);
  popup->addAction("Kopiuj", this, &TForm4::SpeedButton9Click);
  popup->addAction("Wklej", this, &TForm4::SpeedButton10Click);
  Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Memo1, &QWidget::customContextMenuRequested, popup,
          [this, popup](const QPoint& at) { popup->popup(Memo1->mapToGlobal(at)); });
}

void TForm4::CreateFindDialog() {
  fd1 = new QDialog(this);
  fd1->setObjectName("fd1");
  fd1->setWindowTitle("Znajdowanie");
  findText_ = new QLineEdit(fd1);
  findText_->setObjectName("FindText");
  auto* findNext = new QPushButton("Znajdź &następny", fd1);
  findNext->setObjectName("FindNext");
  findNext->setDefault(true);
  findNext->setEnabled(false);
  auto* cancel = new QPushButton("Anuluj", fd1);
  auto* layout = new QHBoxLayout(fd1);
  auto* label = new QLabel("Znajdź:", fd1);
  label->setBuddy(findText_);
  layout->addWidget(label);
  layout->addWidget(findText_);
  layout->addWidget(findNext);
  layout->addWidget(cancel);
  connect(findText_, &QLineEdit::textChanged, findNext,
          [findNext](const QString& text) { findNext->setEnabled(!text.isEmpty()); });
  connect(findNext, &QPushButton::clicked, this, &TForm4::fd1Find);
  connect(cancel, &QPushButton::clicked, fd1, &QDialog::hide);
}

void TForm4::SetCaption(const QString& path) {
  caption_ = path;
  QString title = path;
  setWindowTitle(title.replace("[*]", "[*][*]") + "[*]");
}

bool TForm4::IsModified() const { return Memo1->document()->isModified(); }

QString TForm4::Text() const { return Memo1->toPlainText(); }

void TForm4::LoadFile(const QString& path) {
  QFile file(path);
  QString text;
  if (file.exists()) {
    if (file.open(QIODevice::ReadOnly))
      text = Cp1250ToText(file.readAll());
    else
      Dialogs().Information(this, kEditorTitle, "Nie można odczytać pliku " + path);
  }
  Memo1->setPlainText(text);
  Memo1->document()->setModified(false);
  SetCaption(path);
}

bool TForm4::SaveTo(const QString& path) {
  QByteArray bytes;
  QString rejected;
  if (!TextToCp1250(Memo1->toPlainText(), bytes, rejected)) {
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
  Memo1->document()->setModified(false);
  return true;
}

void TForm4::ShowEditor() {
  if (!placed_) {
    const QScreen* screen = editorOwner ? editorOwner->screen() : QApplication::primaryScreen();
    if (screen) move(screen->availableGeometry().center() - rect().center());
    placed_ = true;
  }
  show();
  raise();
  activateWindow();
  Memo1->setFocus();
}

bool TForm4::SaveOrDiscardChanges() {
  if (!IsModified()) return true;
  switch (Dialogs().Question(this, kEditorTitle, "Czy zapisać zmiany ?", true)) {
    case DialogService::Answer::Yes:
      return SaveTo(caption_);
    case DialogService::Answer::No:
      Memo1->document()->setModified(false);
      return true;
    default:
      return false;
  }
}

void TForm4::SpeedButton4Click() {
  if (!SaveOrDiscardChanges()) return;
  Memo1->clear();
  Memo1->document()->setModified(false);
  const QFileInfo info(caption_);
  if (info.fileName() != kNewDocument) SetCaption(QDir(info.path()).filePath(kNewDocument));
}

void TForm4::SpeedButton3Click() {
  const QString path =
      Dialogs().OpenFileName(this, "Otwórz", QFileInfo(caption_).path(), kAllFiles);
  if (path.isEmpty() || !SaveOrDiscardChanges()) return;
  LoadFile(path);
}

void TForm4::SpeedButton1Click() { SaveTo(caption_); }

void TForm4::Zapiszjako1Click() {
  const QString path =
      Dialogs().SaveFileName(this, "Zapisz jako", QFileInfo(caption_).path(), kAllFiles);
  if (!path.isEmpty() && SaveTo(path)) SetCaption(path);
}

void TForm4::SpeedButton2Click() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QFileInfo(caption_).fileName());
  if (!Dialogs().SetUpPrinter(this, printer)) return;
  r1->setPlainText(Memo1->toPlainText());
  r1->document()->setDefaultFont(Memo1->font());
  QTextCursor all(r1->document());
  all.select(QTextCursor::Document);
  QTextBlockFormat indent;
  // A printed document takes its indents in pixels of the printer.
  indent.setTextIndent(kPrintIndentPoints * printer.logicalDpiX() / 72.0);
  all.mergeBlockFormat(indent);
  r1->print(&printer);
}

void TForm4::SpeedButton5Click() {
  fd1->show();
  fd1->raise();
  fd1->activateWindow();
}

void TForm4::fd1Find() {
  Memo1->setFocus();
  const QString wanted = findText_->text();
  const QTextCursor selection = Memo1->textCursor();
  // Selected text of a plain text edit has U+2029 between lines.
  const QString selected = selection.selectedText().replace(QChar::ParagraphSeparator, '\n');
  const int start = selected == wanted ? selection.selectionEnd() + 1 : 0;
  const int found = Memo1->toPlainText().indexOf(wanted, start, Qt::CaseSensitive);
  if (found < 0) {
    Dialogs().Information(this, "Informacja", "Nie można odnaleźć łańcucha");
    return;
  }
  QTextCursor cursor(Memo1->document());
  cursor.setPosition(found);
  cursor.setPosition(found + wanted.size(), QTextCursor::KeepAnchor);
  Memo1->setTextCursor(cursor);
  Memo1->setFocus();
}

void TForm4::SpeedButton8Click() { Memo1->cut(); }
void TForm4::SpeedButton9Click() { Memo1->copy(); }
void TForm4::SpeedButton10Click() { Memo1->paste(); }

void TForm4::SpeedButton7Click() {
  Memo1->undo();
  Memo1->document()->setModified(true);
}

void TForm4::PopupUndoClick() { Memo1->undo(); }

void TForm4::SpeedButton6Click() {
  QFont font = Memo1->font();
  const bool exactlyBold = font.bold() && !font.italic() && !font.underline() &&
                           !font.strikeOut();
  font.setBold(!exactlyBold);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  Memo1->setFont(font);
}

void TForm4::SpeedButton11Click() {
  QFont font = Memo1->font();
  if (Dialogs().ChooseFont(this, font)) Memo1->setFont(font);
}

void TForm4::SpeedButton12Click() { close(); }

void TForm4::TrackBar1Change(int position) {
  QFont font = Memo1->font();
  font.setPointSize(position);
  Memo1->setFont(font);
  r1->setFont(font);
  Edit1->setText(QString::number(position));
  Memo1->setFocus();
}

void TForm4::Edit1KeyPressEnter() {
  bool isNumber = false;
  const int size = Edit1->text().trimmed().toInt(&isNumber);
  if (!isNumber) {
    Dialogs().Information(this, "Błąd",
                          "'" + Edit1->text() + "' nie jest poprawną liczbą całkowitą");
    return;
  }
  if (size >= 3 && size <= 20) TrackBar1->setValue(size);
  Edit1->setText(QString::number(TrackBar1->value()));
}

void TForm4::closeEvent(QCloseEvent* event) {
  if (SaveOrDiscardChanges())
    event->accept();
  else
    event->ignore();
}

void SetEditorOwner(QWidget* owner) { editorOwner = owner; }

TForm4* CurrentEditor() {
  for (auto it = editors.rbegin(); it != editors.rend(); ++it)
    if (*it) return *it;
  return NewEditor();
}

TForm4* OpenInEditor(const QString& path) {
  TForm4* editor = NewEditor();
  editor->LoadFile(path);
  editor->ShowEditor();
  return editor;
}

void ShowCurrentEditor(const QString& objectFolder) {
  TForm4* editor = CurrentEditor();
  editor->SetCaption(QDir(objectFolder).filePath(kNewDocument));
  editor->ShowEditor();
}

bool LoadIntoCurrentEditor(const QString& path) {
  TForm4* editor = CurrentEditor();
  if (!editor->SaveOrDiscardChanges()) return false;
  editor->LoadFile(path);
  editor->ShowEditor();
  return true;
}

bool ConfirmCloseAllEditors() {
  for (const QPointer<TForm4>& editor : editors) {
    if (!editor || !editor->IsModified()) continue;
    editor->ShowEditor();
    if (!editor->SaveOrDiscardChanges()) return false;
  }
  return true;
}

}  // namespace kolvedir
