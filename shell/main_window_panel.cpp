#include "shell/main_window_panel.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace kolvedir {

ClickablePanel::ClickablePanel(QWidget* parent) : QLabel(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setAlignment(Qt::AlignCenter);
  setAutoFillBackground(true);
  setCursor(Qt::PointingHandCursor);
}

void ClickablePanel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
  QLabel::mouseReleaseEvent(event);
}

void PathPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  drawFrame(&painter);
  const QRect room = contentsRect();
  style()->drawItemText(&painter, room, int(alignment()) | Qt::TextSingleLine, palette(),
                        isEnabled(), ElidePath(text(), fontMetrics(), room.width()),
                        foregroundRole());
}

bool PathPanel::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QLabel::event(event);
  const QString tip = toolTip().isEmpty() ? text() : toolTip() + '\n' + text();
  QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, this);
  return true;
}

QString ElidePath(const QString& text, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(text) <= width) return text;
  const qsizetype slash = text.lastIndexOf('/');
  const QString last = text.mid(slash);
  const int room = width - metrics.horizontalAdvance(last);
  if (slash < 0 || room <= metrics.horizontalAdvance(QChar(0x2026)))
    return metrics.elidedText(text, Qt::ElideLeft, width);
  return metrics.elidedText(text.left(slash), Qt::ElideMiddle, room) + last;
}

}  // namespace kolvedir
