#include "shell/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <optional>

namespace kolvedir {

namespace {

// Corner of the window placed last.
std::optional<QPoint> lastPlaced;

void KeepAboveParent(QWidget* window) {
  const QWidget* parent = window->parentWidget();
  if (!parent) return;
  QWidget* owner = parent->window();
  owner->winId();  // the native windows the hint ties together
  window->winId();
  window->windowHandle()->setTransientParent(owner->windowHandle());
}

void PlaceInCascade(QWidget* window) {
  const QScreen* screen = window->parentWidget() ? window->parentWidget()->screen()
                                                 : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QSize size = window->frameGeometry().size();
  const QPoint corner = lastPlaced ? NextCascadePosition(*lastPlaced, size, area)
                                   : area.center() - QRect(QPoint(), size).center();
  window->move(corner);
  lastPlaced = corner;
}

}  // namespace

QPoint NextCascadePosition(QPoint previous, QSize size, const QRect& area) {
  const QPoint next = previous + QPoint(kCascadeStep, kCascadeStep);
  const bool fits = next.x() + size.width() <= area.right() + 1 &&
                    next.y() + size.height() <= area.bottom() + 1;
  return fits ? next : area.topLeft();
}

void ShowInFront(QWidget* window) {
  KeepAboveParent(window);
  // A window moved on purpose (a centred dialog, or one shown before) keeps its place.
  if (!window->testAttribute(Qt::WA_Moved)) PlaceInCascade(window);
  window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace kolvedir
