// X11: edits the move function in the window's _MOTIF_WM_HINTS property, keeping
// the decorations and other functions that Qt wrote there.
#include "app/MoveHint.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr uint32_t kHintsFunctions = 1u << 0;
constexpr uint32_t kFunctionAll = 1u << 0;
constexpr uint32_t kFunctionResize = 1u << 1;
constexpr uint32_t kFunctionMove = 1u << 2;
constexpr uint32_t kFunctionMinimize = 1u << 3;
constexpr uint32_t kFunctionClose = 1u << 5;
// flags, functions, decorations, input mode, status
constexpr size_t kHintWords = 5;

struct TFree {
  void operator()(void* reply) const { std::free(reply); }
};

xcb_atom_t MotifHintsAtom(xcb_connection_t* connection) {
  static const char kName[] = "_MOTIF_WM_HINTS";
  const std::unique_ptr<xcb_intern_atom_reply_t, TFree> reply(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

}  // namespace

void SetWindowManagerMoveHint(QWidget& window, bool movable) {
  // Other platforms, offscreen among them, may answer to the X11 interface
  // without an X connection of their own.
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
  if (connection == nullptr) return;
  const auto windowId = static_cast<xcb_window_t>(window.winId());
  const xcb_atom_t atom = MotifHintsAtom(connection);
  if (atom == XCB_ATOM_NONE) return;

  std::array<uint32_t, kHintWords> hints{};
  const std::unique_ptr<xcb_get_property_reply_t, TFree> current(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, windowId, atom, atom, 0, kHintWords), nullptr));
  if (current && current->format == 32) {
    const auto words = static_cast<size_t>(xcb_get_property_value_length(current.get())) / 4;
    std::memcpy(hints.data(), xcb_get_property_value(current.get()),
                std::min(words, kHintWords) * 4);
  }
  if ((hints[0] & kHintsFunctions) == 0) {
    hints[0] |= kHintsFunctions;
    hints[1] = kFunctionResize | kFunctionMove | kFunctionMinimize | kFunctionClose;
  }
  // With the "all" bit set, the other bits name the functions taken away.
  const bool listsExceptions = (hints[1] & kFunctionAll) != 0;
  if (movable != listsExceptions) {
    hints[1] |= kFunctionMove;
  } else {
    hints[1] &= ~kFunctionMove;
  }
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, windowId, atom, atom, 32, kHintWords,
                      hints.data());
  xcb_flush(connection);
}
