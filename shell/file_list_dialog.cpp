#include "shell/file_list_dialog.h"

#include <QDir>
#include <QListWidget>
#include <QPointer>

namespace kolvedir {

namespace {
QPointer<TForm2> currentDialog;
}  // namespace

TForm2::TForm2(const QString& objectFolder, std::function<void()> importFile, QWidget* parent)
    : QDialog(parent), folder_(objectFolder), importFile_(std::move(importFile)) {
  setObjectName("Form2");
  setWindowTitle("Pliki aktualnego obiektu");
  fila = new QListWidget(this);
  fila->setObjectName("fila");
  Refresh();
}

void TForm2::Refresh() {
  fila->clear();
  fila->addItems(QDir(folder_).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
}

QString TForm2::SelectedPath() const {
  const QListWidgetItem* item = fila->currentItem();
  return item ? QDir(folder_).filePath(item->text()) : QString();
}

void TForm2::Button4Click() {}
void TForm2::Button8Click() {}
void TForm2::Button1Click() {}
void TForm2::Button6Click() { if (importFile_) importFile_(); }
void TForm2::Button3Click() { hide(); }
void TForm2::changeEvent(QEvent* event) { QDialog::changeEvent(event); }

TForm2* ShowFileListDialog(const QString& objectFolder, std::function<void()> importFile,
                           QWidget* parent) {
  delete currentDialog;
  currentDialog = new TForm2(objectFolder, std::move(importFile), parent);
  currentDialog->show();
  return currentDialog;
}

TForm2* CurrentFileListDialog() { return currentDialog; }

}  // namespace kolvedir
