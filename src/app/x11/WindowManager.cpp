// X11: reads _NET_FRAME_EXTENTS from the window itself, so that the frame is
// known as soon as the window manager has set it, not when Qt next asks; and
// sends the window manager the _NET_WM_STATE request that unmaximises.
#include "app/WindowManager.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

struct TFree {
  void operator()(void* reply) const { std::free(reply); }
};

xcb_atom_t Atom(xcb_connection_t* connection, const char* name, size_t length) {
  const std::unique_ptr<xcb_intern_atom_reply_t, TFree> reply(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 1, static_cast<uint16_t>(length), name), nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::unique_ptr<xcb_get_property_reply_t, TFree> Property(xcb_connection_t* connection,
                                                          xcb_window_t window, xcb_atom_t atom,
                                                          xcb_atom_t type, uint32_t words) {
  return std::unique_ptr<xcb_get_property_reply_t, TFree>(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, window, atom, type, 0, words), nullptr));
}

xcb_connection_t* X11Connection() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->connection() : nullptr;
}

template <size_t N>
xcb_atom_t Atom(xcb_connection_t* connection, const char (&name)[N]) {
  return Atom(connection, name, N - 1);
}

}  // namespace

std::optional<QMargins> WindowManagerFrameExtents(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  if (QGuiApplication::platformName() != QLatin1String("xcb")) {
    return handle != nullptr ? handle->frameMargins() : QMargins();
  }
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
  if (connection == nullptr || handle == nullptr) return QMargins();

  static const char kExtents[] = "_NET_FRAME_EXTENTS";
  const xcb_atom_t extentsAtom = Atom(connection, kExtents, sizeof kExtents - 1);
  if (extentsAtom != XCB_ATOM_NONE) {
    const auto extents = Property(connection, static_cast<xcb_window_t>(handle->winId()),
                                  extentsAtom, XCB_ATOM_CARDINAL, 4);
    if (extents && extents->format == 32 && xcb_get_property_value_length(extents.get()) == 16) {
      const auto* sides = static_cast<const uint32_t*>(xcb_get_property_value(extents.get()));
      // Left, right, top, bottom.
      return QMargins(static_cast<int>(sides[0]), static_cast<int>(sides[2]),
                      static_cast<int>(sides[1]), static_cast<int>(sides[3]));
    }
  }
  // A window manager announces itself on the root window; without one no frame
  // is ever added.
  static const char kCheck[] = "_NET_SUPPORTING_WM_CHECK";
  const xcb_atom_t checkAtom = Atom(connection, kCheck, sizeof kCheck - 1);
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  const auto check = checkAtom != XCB_ATOM_NONE
                         ? Property(connection, root, checkAtom, XCB_ATOM_WINDOW, 1)
                         : nullptr;
  const bool managed =
      check && check->format == 32 && xcb_get_property_value_length(check.get()) == 4;
  if (!managed) return QMargins();
  return std::nullopt;
}

void AskWindowManagerToUnmaximise(const QWidget& window) {
  xcb_connection_t* connection = X11Connection();
  const QWindow* handle = window.windowHandle();
  if (connection == nullptr || handle == nullptr) return;
  constexpr uint32_t kRemove = 0;
  constexpr uint32_t kSourceApplication = 1;
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = static_cast<xcb_window_t>(handle->winId());
  message.type = Atom(connection, "_NET_WM_STATE");
  message.data.data32[0] = kRemove;
  message.data.data32[1] = Atom(connection, "_NET_WM_STATE_MAXIMIZED_VERT");
  message.data.data32[2] = Atom(connection, "_NET_WM_STATE_MAXIMIZED_HORZ");
  message.data.data32[3] = kSourceApplication;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  xcb_send_event(connection, 0, root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(connection);
}
