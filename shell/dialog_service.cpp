#include "shell/dialog_service.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLocale>
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

bool IsResultFile(const QFileInfo& info) {
  return info.isFile() && info.suffix() == QLatin1String("1");
}

// Qt's own file dialog (with the Polish texts and the result-file type), one or more files.
QStringList RunFileDialog(QWidget* parent, const QString& caption, const QString& dir,
                          const QString& filter, QFileDialog::AcceptMode mode,
                          QFileDialog::FileMode files) {
  static PointFileIconProvider icons;
  QFileDialog dialog(parent, caption, dir, filter);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setIconProvider(&icons);
  dialog.setProxyModel(new FileSizesAndDates(&dialog));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(files);
  return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
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

  Answer QuestionForEach(QWidget* parent, const QString& title, const QString& text) override {
    switch (ShowBox(parent, QMessageBox::Question, title, text,
                    QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No |
                        QMessageBox::Cancel,
                    QMessageBox::Cancel)) {
      case QMessageBox::Yes: return Answer::Yes;
      case QMessageBox::YesToAll: return Answer::YesToAll;
      case QMessageBox::No: return Answer::No;
      default: return Answer::Cancel;
    }
  }

  QString OpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                       const QString& filter) override {
    return RunFileDialog(parent, caption, dir, filter, QFileDialog::AcceptOpen,
                         QFileDialog::ExistingFile)
        .value(0);
  }

  QStringList OpenFileNames(QWidget* parent, const QString& caption, const QString& dir,
                            const QString& filter) override {
    return RunFileDialog(parent, caption, dir, filter, QFileDialog::AcceptOpen,
                         QFileDialog::ExistingFiles);
  }

  QString SaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                       const QString& filter) override {
    return RunFileDialog(parent, caption, dir, filter, QFileDialog::AcceptSave,
                         QFileDialog::AnyFile)
        .value(0);
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

QString PointFileIconProvider::type(const QFileInfo& info) const {
  return IsResultFile(info) ? QStringLiteral("Plik wynikowy") : QFileIconProvider::type(info);
}

QIcon PointFileIconProvider::icon(const QFileInfo& info) const {
  return IsResultFile(info) ? QFileIconProvider::icon(QFileIconProvider::File)
                            : QFileIconProvider::icon(info);
}

QVariant FileSizesAndDates::data(const QModelIndex& index, int role) const {
  // The columns of QFileSystemModel: name, size, type, date modified.
  enum { kSize = 1, kDate = 3 };
  const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
  if (!files || role != Qt::DisplayRole || (index.column() != kSize && index.column() != kDate))
    return QIdentityProxyModel::data(index, role);
  const QModelIndex file = mapToSource(index);
  if (index.column() == kDate)
    return QLocale().toString(files->lastModified(file), QLocale::ShortFormat);
  return files->isDir(file) ? QVariant(QString()) : QLocale().formattedDataSize(files->size(file));
}

DialogService& Dialogs() { return installed ? *installed : DefaultService(); }

void SetDialogService(DialogService* service) { installed = service; }

}  // namespace kolvedir
