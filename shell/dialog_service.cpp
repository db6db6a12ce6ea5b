#include "shell/dialog_service.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace kolvedir {

namespace {

// A message box whose text is shown as it is: point names and paths in it
// are never read as markup.
int ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton escape) {
  QMessageBox box(icon, title, text, buttons, parent);
  box.setTextFormat(Qt::PlainText);
  box.setEscapeButton(escape);
  return box.exec();
}

class QtDialogService final : public DialogService {
 public:
  void Information(QWidget* parent, const QString& title, const QString& text) override {
    ShowBox(parent, QMessageBox::Information, title, text, QMessageBox::Ok, QMessageBox::Ok);
  }

  void Warning(QWidget* parent, const QString& title, const QString& text) override {
    ShowBox(parent, QMessageBox::Warning, title, text, QMessageBox::Ok, QMessageBox::Ok);
  }

  void Message(QWidget* parent, const QString& text) override {
    ShowBox(parent, QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, QMessageBox::Ok);
  }

  Answer Question(QWidget* parent, const QString& title, const QString& text,
                  bool withCancel) override {
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) buttons |= QMessageBox::Cancel;
    switch (ShowBox(parent, QMessageBox::Question, title, text, buttons,
                    withCancel ? QMessageBox::Cancel : QMessageBox::No)) {
      case QMessageBox::Yes: return Answer::Yes;
      case QMessageBox::Cancel: return Answer::Cancel;
      default: return Answer::No;
    }
  }

  QString OpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                       const QString& filter) override {
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
  }

  QStringList OpenFileNames(QWidget* parent, const QString& caption, const QString& dir,
                            const QString& filter) override {
    return QFileDialog::getOpenFileNames(parent, caption, dir, filter);
  }

  QString SaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                       const QString& filter) override {
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
  }

  bool ChooseFont(QWidget* parent, QFont& font) override {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, parent);
    if (ok) font = chosen;
    return ok;
  }

  bool SetUpPrinter(QWidget* parent, QPrinter& printer) override {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
  }
};

QtDialogService& DefaultService() {
  static QtDialogService service;
  return service;
}

DialogService* installed = nullptr;

}  // namespace

DialogService& Dialogs() { return installed ? *installed : DefaultService(); }

void SetDialogService(DialogService* service) { installed = service; }

}  // namespace kolvedir
