// What the main window asks of the window manager beyond Qt: the frame it puts
// around a top-level window, as it says (on X11 its _NET_FRAME_EXTENTS, set
// before it maps the window), and leaving the maximised state. User-interface
// thread only.
#pragma once

#include <QMargins>
#include <optional>

class QWidget;

// The frame's width on each side; no frame when no window manager runs;
// nothing while a window manager runs that has not framed the window yet.
std::optional<QMargins> WindowManagerFrameExtents(const QWidget& window);

// Asks the window manager to take the window out of the maximised state, also
// where it maximised it without saying so.
void AskWindowManagerToUnmaximise(const QWidget& window);
