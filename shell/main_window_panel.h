#pragma once
// A clickable panel of the main window: shows a file name and reports clicks
// (the input and output file panels of the modules).
#include <QLabel>

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

}  // namespace kolvedir
