#pragma once
// Where the program's own windows (editors, help, about, the object file
// list) appear: above the main window, in front when asked for again, and
// each new one offset from the one placed before it.
#include <QFlags>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace kolvedir {

// A window of its own kept above its parent's window. X11 window managers
// keep only dialogs above the window they belong to, so it is a dialog to
// them, with the buttons of a normal window.
constexpr Qt::WindowFlags kOwnedWindow =
    Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;

// Offset of a new window from the one placed before it, in pixels.
constexpr int kCascadeStep = 32;

// Top-left corner of a window of size (pixels, frame included) placed after
// one whose corner was previous: kCascadeStep further right and down, back to
// the top-left corner of area (the screen's available geometry) when the
// window would leave the area there.
QPoint NextCascadePosition(QPoint previous, QSize size, const QRect& area);

// Shows window above its parent's window: the parent's window becomes its
// transient parent, so the window manager keeps it on top. A window that was
// never given a place is put in the cascade (the first one centred on the
// screen); a minimised one is restored. It is raised and activated, also when
// it is already visible.
void ShowInFront(QWidget* window);

}  // namespace kolvedir
