#include "platform/hot_key.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include "platform/gui_app.h"
#include "platform/hot_key_x11.h"
#include "platform/window.h"

namespace {

using namespace platform;

LRESULT PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(hwnd, message, wParam, lParam);
}

TEST(HotKeyTest, WithoutX11RegisteringFails) {
  EnsureGuiApp();
  if (QGuiApplication::platformName() == "xcb") GTEST_SKIP() << "an X11 desktop takes hot keys";
  WNDCLASSEX wc;
  wc.lpfnWndProc = PlainProc;
  wc.lpszClassName = "HotKeyWindow";
  RegisterClassEx(&wc);
  HWND hwnd = CreateWindowEx(0, "HotKeyWindow", "hot", WS_CAPTION, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_FALSE(RegisterHotKey(hwnd, 0x1234, MOD_CONTROL | MOD_ALT, 'T'));
  EXPECT_FALSE(UnregisterHotKey(hwnd, 0x1234));
  EXPECT_FALSE(RegisterHotKey(nullptr, 1, MOD_CONTROL, 'T'));
  DestroyWindow(hwnd);
}

TEST(HotKeyTest, VirtualKeysBecomeTheirKeysyms) {
  struct Case {
    const char* name;
    UINT vk;
    uint32_t keysym;
  };
  const Case cases[] = {
      {"a letter, as the keyboard map lists it", 'T', 't'},
      {"the first letter", 'A', 'a'},
      {"a digit", '7', '7'},
      {"F1", VK_F1, 0xFFBE},
      {"F24", VK_F24, 0xFFD5},
      {"number pad 3", VK_NUMPAD0 + 3, 0xFFB3},
      {"Enter", VK_RETURN, 0xFF0D},
      {"Delete", VK_DELETE, 0xFFFF},
      {"an OEM key by its US character", VK_OEM_1, ';'},
      {"the backslash key", VK_OEM_5, '\\'},
      {"a mouse button has none", VK_LBUTTON, 0},
      {"a modifier alone has none", VK_SHIFT, 0},
      {"past the letters", 'Z' + 1, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(x11::KeysymOfVirtualKey(c.vk), c.keysym) << c.name;
}

TEST(HotKeyTest, ModifiersAndLocks) {
  EXPECT_EQ(x11::ModifierMask(0), 0);
  EXPECT_EQ(x11::ModifierMask(MOD_SHIFT), 0x0001);
  EXPECT_EQ(x11::ModifierMask(MOD_CONTROL | MOD_ALT), 0x0004 | 0x0008);
  EXPECT_EQ(x11::ModifierMask(MOD_WIN | MOD_NOREPEAT), 0x0040);

  const uint16_t ctrlAlt = x11::ModifierMask(MOD_CONTROL | MOD_ALT);
  struct Case {
    const char* name;
    uint8_t keycode;
    int state;
    bool matches;
  };
  const Case cases[] = {
      {"exactly the combination", 28, ctrlAlt, true},
      {"with Caps Lock", 28, ctrlAlt | 0x0002, true},
      {"with Num Lock", 28, ctrlAlt | 0x0010, true},
      {"with a mouse button held", 28, ctrlAlt | 0x0100, true},
      {"Shift as well", 28, ctrlAlt | 0x0001, false},
      {"without Alt", 28, 0x0004, false},
      {"another key", 29, ctrlAlt, false},
  };
  for (const Case& c : cases) EXPECT_EQ(x11::IsHotKeyPress(c.keycode, static_cast<uint16_t>(c.state), 28, ctrlAlt), c.matches) << c.name;
}

}  // namespace
