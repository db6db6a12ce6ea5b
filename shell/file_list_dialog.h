#pragma once
// "Pliki aktualnego obiektu": the files of the working object with open in the
// editor, copy, delete, import and close. Closes as soon as another window of
// the program becomes active.
// The object name, caption and role of each control:
// tests/shell/data/window_controls.tsv.
#include <QDialog>
#include <QString>
#include <functional>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace kolvedir {

class ObjectFilesDialog : public QDialog {
  Q_OBJECT

 public:
  // Lists the files of objectFolder; "Importuj" calls importFile (the main
  // window's import, which refreshes this list itself).
  ObjectFilesDialog(const QString& objectFolder, std::function<void()> importFile,
                    QWidget* parent = nullptr);

  // Re-reads the file names of the folder.
  void Refresh();
  // Full path of the selected entry; empty with nothing selected.
  QString SelectedPath() const;

 public slots:
  void editSelected();      // "Edycja" (and double click)
  void copySelected();      // "Kopia"
  void deleteSelected();    // "Usuń": asks, then moves the file to the trash
  void importIntoObject();  // "Importuj"
  void dismiss();           // "OK" (and losing activation)

 protected:
  void changeEvent(QEvent* event) override;

 private:
  // Asks, moves path to the system's trash, and where there is none asks
  // again before deleting it for good; a failure is reported with its reason.
  void TrashOrDelete(const QString& path);

  QString folder_;
  std::function<void()> importFile_;
  QListWidget* fileList_ = nullptr;
};

// Makes a fresh dialog for objectFolder, shows it and returns it; the previous
// one is deleted.
ObjectFilesDialog* ShowFileListDialog(const QString& objectFolder, std::function<void()> importFile,
                                      QWidget* parent = nullptr);
// The dialog made last, or nullptr; refresh it after an import.
ObjectFilesDialog* CurrentFileListDialog();

}  // namespace kolvedir
