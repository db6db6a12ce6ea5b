#pragma once
// "Pliki aktualnego obiektu": the files of the working object with open in the
// editor, copy, delete, import and close. Closes as soon as another window of
// the program becomes active.
#include <QDialog>
#include <QString>
#include <functional>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace kolvedir {

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  // Lists the files of objectFolder; "Importuj" calls importFile (the main
  // window's import, which refreshes this list itself).
  TForm2(const QString& objectFolder, std::function<void()> importFile,
         QWidget* parent = nullptr);

  // Re-reads the file names of the folder.
  void Refresh();
  // Full path of the selected entry; empty with nothing selected.
  QString SelectedPath() const;

 public slots:
  void Button4Click();  // "Edycja" (and double click)
  void Button8Click();  // "Kopia"
  void Button1Click();  // "Usuń"
  void Button6Click();  // "Importuj"
  void Button3Click();  // "OK" (and losing activation)

 protected:
  void changeEvent(QEvent* event) override;

 private:
  QString folder_;
  std::function<void()> importFile_;
  QListWidget* fila = nullptr;
};

// Makes a fresh dialog for objectFolder, shows it and returns it; the previous
// one is deleted.
TForm2* ShowFileListDialog(const QString& objectFolder, std::function<void()> importFile,
                           QWidget* parent = nullptr);
// The dialog made last, or nullptr; refresh it after an import.
TForm2* CurrentFileListDialog();

}  // namespace kolvedir
