#include "platform/hot_key.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <xcb/xcb.h>

#include <cstdlib>
#include <vector>

#include "platform/gui_app.h"
#include "platform/hot_key_x11.h"
#include "platform/window_qt.h"
#include "platform/x11_connection.h"

namespace platform {
namespace {

// The first keycode whose keys include the keysym; 0 when the keyboard has none.
uint8_t KeycodeOf(xcb_connection_t* connection, uint32_t keysym) {
  const xcb_setup_t* setup = xcb_get_setup(connection);
  const int count = setup->max_keycode - setup->min_keycode + 1;
  xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(
      connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, static_cast<uint8_t>(count)), nullptr);
  if (!reply) return 0;
  const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply);
  const int perKey = reply->keysyms_per_keycode;
  const int length = xcb_get_keyboard_mapping_keysyms_length(reply);
  uint8_t found = 0;
  for (int i = 0; i < length && !found; ++i) {
    if (keysyms[i] == keysym && perKey > 0) found = static_cast<uint8_t>(setup->min_keycode + i / perKey);
  }
  std::free(reply);
  return found;
}

// One registered combination: a grab on the root window while it lives, and a filter that turns
// its presses into WM_HOTKEY. A child object of its window, so that it goes with it.
class HotKey final : public QObject, public QAbstractNativeEventFilter {
 public:
  HotKey(Window& window, int id, UINT modifiers, UINT vk, xcb_connection_t* connection, uint8_t keycode)
      : QObject(&window),
        m_window(&window),
        m_id(id),
        m_modifiers(modifiers),
        m_vk(vk),
        m_connection(connection),
        m_root(x11::RootWindow(connection)),
        m_keycode(keycode),
        m_mask(x11::ModifierMask(modifiers)) {}

  ~HotKey() override {
    // A program that is closing down closes its connection, which ends its grabs with it.
    if (m_grabbed && !QCoreApplication::closingDown()) {
      for (uint16_t lock : x11::kLockMasks) xcb_ungrab_key(m_connection, m_keycode, m_root, m_mask | lock);
      xcb_flush(m_connection);
    }
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeNativeEventFilter(this);
  }

  // False when another client holds the combination (the server refuses the grab).
  bool grab() {
    bool refused = false;
    for (uint16_t lock : x11::kLockMasks) {
      const xcb_void_cookie_t cookie = xcb_grab_key_checked(m_connection, 1, m_root, m_mask | lock, m_keycode,
                                                            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
      if (xcb_generic_error_t* error = xcb_request_check(m_connection, cookie)) {
        std::free(error);
        refused = true;
      }
    }
    m_grabbed = true;  // what was granted is given back by the destructor
    if (refused) return false;
    QCoreApplication::instance()->installNativeEventFilter(this);
    return true;
  }

  int id() const { return m_id; }
  bool sameCombination(uint8_t keycode, uint16_t mask) const { return keycode == m_keycode && mask == m_mask; }

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS) return false;
    const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
    if (press->event != m_root || !x11::IsHotKeyPress(press->detail, press->state, m_keycode, m_mask)) return false;
    PostMessage(m_window, WM_HOTKEY, static_cast<WPARAM>(m_id), MAKELPARAM(m_modifiers, m_vk));
    return true;
  }

 private:
  Window* m_window;
  int m_id;
  UINT m_modifiers;
  UINT m_vk;
  xcb_connection_t* m_connection;
  xcb_window_t m_root;
  uint8_t m_keycode;
  uint16_t m_mask;
  bool m_grabbed = false;
};

HotKey* FindHotKey(Window& window, int id) {
  for (HotKey* key : ChildrenOfType<HotKey>(window)) {
    if (key->id() == id) return key;
  }
  return nullptr;
}

// Whether a window of this program holds the combination already: the server would not refuse
// our own second grab, it would only replace the first.
bool HeldHere(uint8_t keycode, uint16_t mask) {
  for (QWidget* top : QApplication::topLevelWidgets()) {
    for (HotKey* key : ChildrenOfType<HotKey>(*top)) {
      if (key->sameCombination(keycode, mask)) return true;
    }
  }
  return false;
}

Window* TopLevel(HWND hwnd) {
  Window* window = WindowFromHandle(hwnd);
  return window && !window->embeddingWindow() ? window : nullptr;
}

}  // namespace

BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT virtualKey) {
  Window* window = TopLevel(hwnd);
  if (!window || FindHotKey(*window, id)) return 0;
  xcb_connection_t* connection = x11::Connection();
  const uint32_t keysym = x11::KeysymOfVirtualKey(virtualKey);
  if (!connection || keysym == 0) return 0;
  const uint8_t keycode = KeycodeOf(connection, keysym);
  modifiers &= MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;
  if (keycode == 0 || HeldHere(keycode, x11::ModifierMask(modifiers))) return 0;
  auto* key = new HotKey(*window, id, modifiers, virtualKey, connection, keycode);  // owned by the window
  if (!key->grab()) {
    delete key;
    return 0;
  }
  return 1;
}

BOOL UnregisterHotKey(HWND hwnd, int id) {
  Window* window = TopLevel(hwnd);
  HotKey* key = window ? FindHotKey(*window, id) : nullptr;
  delete key;
  return key ? 1 : 0;
}

}  // namespace platform
