#pragma once
// Panels of the main window: a clickable panel that shows a file name and
// reports clicks (the input and output file panels of the modules), and the
// panel of the status bar that shows the working folder.
#include <QLabel>

class QFontMetrics;

namespace kolvedir {

class ClickablePanel : public QLabel {
  Q_OBJECT

 public:
  explicit ClickablePanel(QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// Shows a path too long for the panel without the middle of its folders, never
// without its last name (the working object's); the tool tip holds it whole,
// after the panel's own tool tip when it has one.
class PathPanel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;
};

// text as it fits in width pixels of metrics: whole when it fits; otherwise
// its last "/" and what follows whole and the middle of the rest elided, or,
// when even that last part does not fit, its end only.
QString ElidePath(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace kolvedir
