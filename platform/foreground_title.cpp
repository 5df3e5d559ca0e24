#include "platform/foreground_title.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

#include "platform/desktop.h"
#include "platform/gui_app.h"
#include "platform/sjis.h"
#include "platform/window.h"
#include "platform/x11_connection.h"

namespace platform {
namespace {

ForegroundTitleHook& Hook() {
  static ForegroundTitleHook hook;
  return hook;
}

// A reply of the server, freed with it.
template <class Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <class Reply>
ReplyPtr<Reply> Owned(Reply* reply) {
  return ReplyPtr<Reply>(reply, &std::free);
}

xcb_atom_t Atom(xcb_connection_t* connection, std::string_view name) {
  const auto reply = Owned(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 1, static_cast<uint16_t>(name.size()), name.data()), nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The bytes of a window's property of that type and format (8: text, 32: numbers); nothing when it
// has none.
std::optional<std::string> Property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                                    xcb_atom_t type, uint8_t format) {
  if (property == XCB_ATOM_NONE || type == XCB_ATOM_NONE) return std::nullopt;
  // A title longer than 4 KiB is cut: the rule compares short titles only.
  constexpr uint32_t kLongs = 1024;
  const auto reply =
      Owned(xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, property, type, 0, kLongs), nullptr));
  if (!reply || reply->type != type || reply->format != format) return std::nullopt;
  const int length = xcb_get_property_value_length(reply.get());
  if (length < 0) return std::nullopt;
  return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())), static_cast<size_t>(length));
}

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string out;
  for (const unsigned char c : latin1) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::optional<std::string> X11ActiveWindowTitle() {
  xcb_connection_t* connection = x11::Connection();
  if (!connection) return std::nullopt;
  const xcb_window_t root = x11::RootWindow(connection);
  if (root == XCB_WINDOW_NONE) return std::nullopt;
  const std::optional<std::string> active =
      Property(connection, root, Atom(connection, "_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 32);
  xcb_window_t window = XCB_WINDOW_NONE;
  if (!active || active->size() < sizeof window) return std::nullopt;
  std::memcpy(&window, active->data(), sizeof window);
  if (window == XCB_WINDOW_NONE) return std::nullopt;
  if (auto utf8 = Property(connection, window, Atom(connection, "_NET_WM_NAME"), Atom(connection, "UTF8_STRING"), 8))
    return Utf8ToSjis(*utf8);
  if (auto latin1 = Property(connection, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8))
    return Utf8ToSjis(Latin1ToUtf8(*latin1));
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ForegroundWindowTitle() {
  if (const ForegroundTitleHook& hook = Hook()) return hook();
  if (!IsGuiThread()) return std::nullopt;
  if (const HWND own = GetActiveWindow()) return GetWindowText(own);
  return X11ActiveWindowTitle();
}

ForegroundTitleHook SetForegroundTitleHook(ForegroundTitleHook hook) { return std::exchange(Hook(), std::move(hook)); }

}  // namespace platform
