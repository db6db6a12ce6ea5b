#pragma once
// Every modal dialog of the shell goes through this one replaceable service, so
// that tests script the answers and no test ever blocks. The default service
// shows the real Qt dialogs.
#include <QFileIconProvider>
#include <QIdentityProxyModel>
#include <QFont>
#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

namespace kolvedir {

class DialogService {
 public:
  enum class Answer { Ok, Yes, No, Cancel, YesToAll };

  virtual ~DialogService() = default;

  // Information dialog with one OK button.
  virtual void Information(QWidget* parent, const QString& title, const QString& text) = 0;
  // Warning dialog with one OK button; a scripted service sees it as information.
  virtual void Warning(QWidget* parent, const QString& title, const QString& text) {
    Information(parent, title, text);
  }
  // Plain message box (no icon, OK).
  virtual void Message(QWidget* parent, const QString& text) = 0;
  // Yes/No question, or Yes/No/Cancel when withCancel; closing the box answers
  // No (Cancel when withCancel).
  virtual Answer Question(QWidget* parent, const QString& title, const QString& text,
                          bool withCancel) = 0;
  // Question about one of several files: Yes, No, Yes to all ("Tak dla
  // wszystkich") and Cancel; closing the box answers Cancel. A scripted
  // service sees it as a question with Cancel.
  virtual Answer QuestionForEach(QWidget* parent, const QString& title, const QString& text) {
    return Question(parent, title, text, true);
  }
  // Standard file dialogs; an empty result (list) means cancelled.
  virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                               const QString& filter) = 0;
  virtual QStringList OpenFileNames(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter) = 0;
  virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                               const QString& filter) = 0;
  // Font dialog; returns false when cancelled, otherwise sets font.
  virtual bool ChooseFont(QWidget* parent, QFont& font) = 0;
  // Print dialog for printer; returns false when cancelled.
  virtual bool SetUpPrinter(QWidget* parent, QPrinter& printer) = 0;
};

// The file dialogs' icons and types: result files ("xy2000.1") are
// "Plik wynikowy", not the manual pages their ending suggests to the system.
class PointFileIconProvider : public QFileIconProvider {
 public:
  QString type(const QFileInfo& info) const override;
  QIcon icon(const QFileInfo& info) const override;
  using QFileIconProvider::icon;
};

// The file dialogs' sizes and dates in the program's locale (Polish): the
// file system model of the dialogs writes them in the system's locale.
class FileSizesAndDates : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;
  QVariant data(const QModelIndex& index, int role) const override;
};

// The service in use; the real-dialog one unless a test installed another.
DialogService& Dialogs();
// Installs service (not owned) for the rest of the run; nullptr restores the default.
void SetDialogService(DialogService* service);

}  // namespace kolvedir
