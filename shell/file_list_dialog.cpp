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

#include <filesystem>
#include <system_error>

#include "engine/system_error_text.h"
#include "shell/copy_library.h"
#include "shell/dialog_service.h"
#include "shell/editor_window.h"
#include "shell/trash.h"
#include "shell/window_placement.h"

namespace kolvedir {

namespace {

QPointer<ObjectFilesDialog> currentDialog;

void AskToSelectFile(QWidget* parent) {
  Dialogs().Information(parent, "Info", "Najpierw wybierz plik");
}

bool Confirmed(QWidget* parent, const QString& question) {
  return Dialogs().Question(parent, "Usuń", question, false) == DialogService::Answer::Yes;
}

}  // namespace

ObjectFilesDialog::ObjectFilesDialog(const QString& objectFolder, std::function<void()> importFile,
                                     QWidget* parent)
    : QDialog(parent), folder_(objectFolder), importFile_(std::move(importFile)) {
  setObjectName("objectFilesDialog");
  setWindowTitle("Pliki aktualnego obiektu");

  fileList_ = new QListWidget(this);
  fileList_->setObjectName("fileList");
  fileList_->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(fileList_, &QListWidget::itemDoubleClicked, this, &ObjectFilesDialog::editSelected);

  auto* buttons = new QVBoxLayout;
  const auto addButton = [&](const char* name, const QString& caption,
                             void (ObjectFilesDialog::*handler)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, handler);
    buttons->addWidget(button);
  };
  addButton("editButton", "Edycja", &ObjectFilesDialog::editSelected);
  addButton("copyButton", "Kopia", &ObjectFilesDialog::copySelected);
  addButton("deleteButton", "Usuń", &ObjectFilesDialog::deleteSelected);
  addButton("importButton", "Importuj", &ObjectFilesDialog::importIntoObject);
  buttons->addStretch();
  addButton("okButton", "OK", &ObjectFilesDialog::dismiss);

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(fileList_, 1);
  layout->addLayout(buttons);
  setFixedSize(440, 320);
  if (const QScreen* screen = QApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  Refresh();
}

void ObjectFilesDialog::Refresh() {
  fileList_->clear();
  fileList_->addItems(QDir(folder_).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
}

QString ObjectFilesDialog::SelectedPath() const {
  const QListWidgetItem* item = fileList_->currentItem();
  return item && item->isSelected() ? QDir(folder_).filePath(item->text()) : QString();
}

void ObjectFilesDialog::editSelected() {
  const QString path = SelectedPath();
  if (path.isEmpty() || !QFileInfo(path).isFile()) {
    AskToSelectFile(this);
    return;
  }
  LoadIntoCurrentEditor(path);
}

void ObjectFilesDialog::copySelected() {
  const QString source = SelectedPath();
  const QString refused = CopyWithLibrary(source, source + " (kopia)");
  if (!refused.isEmpty()) Dialogs().Warning(this, "Kopia", refused);
  Refresh();
}

void ObjectFilesDialog::deleteSelected() {
  const QString path = SelectedPath();
  if (path.isEmpty())
    AskToSelectFile(this);
  else
    TrashOrDelete(path);
  Refresh();
}

void ObjectFilesDialog::TrashOrDelete(const QString& path) {
  const QString name = "\"" + QFileInfo(path).fileName() + "\"";
  if (!Confirmed(this, "Przenieść plik " + name + " do kosza?") || !MoveToTrash(path).isEmpty())
    return;
  const QString noTrash = "Nie można przenieść pliku " + name + " do kosza.\n";
  if (!Confirmed(this, noTrash + "Usunąć go na stałe?")) return;
  std::error_code error;
  std::filesystem::remove(QFile::encodeName(path).toStdString(), error);
  if (error)
    Dialogs().Warning(this, "Ostrzeżenie",
                      "Nie można usunąć pliku !\n" + name + ": " +
                          QString::fromStdString(SystemErrorText(error.value())));
}

void ObjectFilesDialog::importIntoObject() {
  if (importFile_) importFile_();
}

void ObjectFilesDialog::dismiss() { hide(); }

void ObjectFilesDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  // Another window of the program became active; a dialog opened from here
  // (a message, the import's file dialog) does not count.
  if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow() &&
      !QApplication::activeModalWidget())
    dismiss();
}

ObjectFilesDialog* ShowFileListDialog(const QString& objectFolder, std::function<void()> importFile,
                                      QWidget* parent) {
  delete currentDialog;
  currentDialog = new ObjectFilesDialog(objectFolder, std::move(importFile), parent);
  ShowInFront(currentDialog);
  return currentDialog;
}

ObjectFilesDialog* CurrentFileListDialog() { return currentDialog; }

}  // namespace kolvedir
