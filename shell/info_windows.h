#pragma once
// The help window "Kolvedir 2.x INFO" and the about window "KOLVEDIR w. 2.xx".
// Both are made hidden at start-up; show() shows them without blocking.
// The object name, caption and role of each control:
// tests/shell/data/window_controls.tsv.
#include <QString>
#include <QWidget>

class QPlainTextEdit;

namespace kolvedir {

// The line of the help text that names the installed grid: missing, a model
// grid, or a grid delivered separately.
QString InstalledGridText(const QString& gridFile);
// The help text with the program's version and the installed grid named.
QString HelpText(const QString& gridFile);

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  // gridFile: the interpolation grid whose kind the help text names; by
  // default the grid the program's jobs read, looked up at every showing.
  explicit HelpWindow(QWidget* parent = nullptr, const QString& gridFile = QString());

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QString gridFile_;
  QPlainTextEdit* helpText_ = nullptr;
};

class AboutWindow : public QWidget {
  Q_OBJECT

 public:
  explicit AboutWindow(QWidget* parent = nullptr);

 private:
  QPlainTextEdit* aboutText_ = nullptr;
};

}  // namespace kolvedir
