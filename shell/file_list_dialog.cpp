#include "shell/file_list_dialog.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "shell/copy_library.h"
#include "shell/dialog_service.h"
#include "shell/editor_window.h"

namespace kolvedir {

namespace {

QPointer<TForm2> currentDialog;

void AskToSelectFile(QWidget* parent) {
  Dialogs().Information(parent, "Info", "Najpierw wybierz plik");
}

}  // namespace

TForm2::TForm2(const QString& objectFolder, std::function<void()> importFile, QWidget* parent)
    : QDialog(parent), folder_(objectFolder), importFile_(std::move(importFile)) {
  setObjectName("Form2");
  setWindowTitle("Pliki aktualnego obiektu");

  fila = new QListWidget(this);
  fila->setObjectName("fila");
  fila->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(fila, &QListWidget::itemDoubleClicked, this, &TForm2::Button4Click);

  auto* buttons = new QVBoxLayout;
  const auto addButton = [&](const char* name, const QString& caption, void (TForm2::*handler)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, handler);
    buttons->addWidget(button);
  };
  addButton("Button4", "Edycja", &TForm2::Button4Click);
  addButton("Button8", "Kopia", &TForm2::Button8Click);
  addButton("Button1", "Usuń", &TForm2::Button1Click);
  addButton("Button6", "Importuj", &TForm2::Button6Click);
  buttons->addStretch();
  addButton("Button3", "OK", &TForm2::Button3Click);

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(fila, 1);
  layout->addLayout(buttons);
  setFixedSize(440, 320);
  if (const QScreen* screen = QApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  Refresh();
}

void TForm2::Refresh() {
  fila->clear();
  fila->addItems(QDir(folder_).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
}

QString TForm2::SelectedPath() const {
  const QListWidgetItem* item = fila->currentItem();
  return item && item->isSelected() ? QDir(folder_).filePath(item->text()) : QString();
}

void TForm2::Button4Click() {
  const QString path = SelectedPath();
  if (path.isEmpty() || !QFileInfo(path).isFile()) {
    AskToSelectFile(this);
    return;
  }
  LoadIntoCurrentEditor(path);
}

void TForm2::Button8Click() {
  const QString source = SelectedPath();
  const QString refused = CopyWithLibrary(source, source + " (kopia)");
  if (!refused.isEmpty()) Dialogs().Warning(this, "Kopia", refused);
  Refresh();
}

void TForm2::Button1Click() {
  const QString path = SelectedPath();
  if (path.isEmpty())
    AskToSelectFile(this);
  else if (!QFile::remove(path))
    Dialogs().Warning(this, "Ostrzeżenie", "Nie można usunąć pliku !");
  Refresh();
}

void TForm2::Button6Click() {
  if (importFile_) importFile_();
}

void TForm2::Button3Click() { hide(); }

void TForm2::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  // Another window of the program became active; a dialog opened from here
  // (a message, the import's file dialog) does not count.
  if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow() &&
      !QApplication::activeModalWidget())
    Button3Click();
}

TForm2* ShowFileListDialog(const QString& objectFolder, std::function<void()> importFile,
                           QWidget* parent) {
  delete currentDialog;
  currentDialog = new TForm2(objectFolder, std::move(importFile), parent);
  currentDialog->show();
  currentDialog->raise();
  currentDialog->activateWindow();
  return currentDialog;
}

TForm2* CurrentFileListDialog() { return currentDialog; }

}  // namespace kolvedir
