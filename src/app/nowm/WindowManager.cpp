// Window systems without a window manager of their own: Qt's frame margins,
// and Qt's window state alone.
#include "app/WindowManager.h"

#include <QWidget>
#include <QWindow>

std::optional<QMargins> WindowManagerFrameExtents(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  return handle != nullptr ? handle->frameMargins() : QMargins();
}

void AskWindowManagerToUnmaximise(const QWidget&) {}
