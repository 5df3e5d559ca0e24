#include "platform/hot_key.h"

#include <QGuiApplication>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

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

std::vector<MSG>& HotKeys() {
  static std::vector<MSG> seen;
  return seen;
}

LRESULT HotKeyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY) HotKeys().push_back(MSG{hwnd, message, wParam, lParam});
  return DefWindowProc(hwnd, message, wParam, lParam);
}

// Pumps until n hot keys came, or the limit passed.
void PumpForHotKeys(size_t n, std::chrono::milliseconds limitAfter = std::chrono::seconds(5)) {
  const auto limit = std::chrono::steady_clock::now() + limitAfter;
  MSG msg;
  while (HotKeys().size() < n && std::chrono::steady_clock::now() < limit) {
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// On an X11 desktop (run with QT_QPA_PLATFORM=xcb, e.g. under Xvfb) with xdotool to press keys.
TEST(HotKeyTest, OnX11APressOfTheCombinationPostsWmHotkey) {
  EnsureGuiApp();
  if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "no X11 desktop";
  if (std::system("command -v xdotool > /dev/null") != 0) GTEST_SKIP() << "no xdotool to press keys";
  WNDCLASSEX wc;
  wc.lpfnWndProc = HotKeyProc;
  wc.lpszClassName = "HotKeyRecordingWindow";
  RegisterClassEx(&wc);
  HWND a = CreateWindowEx(0, "HotKeyRecordingWindow", "a", WS_CAPTION, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  HWND b = CreateWindowEx(0, "HotKeyRecordingWindow", "b", WS_CAPTION, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(RegisterHotKey(a, 0x1234, MOD_CONTROL | MOD_ALT, 'T'));
  EXPECT_FALSE(RegisterHotKey(a, 0x1234, MOD_SHIFT, 'U')) << "the id is taken";
  EXPECT_FALSE(RegisterHotKey(b, 1, MOD_CONTROL | MOD_ALT, 'T')) << "the combination is taken";
  ASSERT_TRUE(RegisterHotKey(b, 1, MOD_SHIFT | MOD_NOREPEAT, (VK_F1 + 6)));

  HotKeys().clear();
  ASSERT_EQ(std::system("xdotool key ctrl+alt+t shift+F7 ctrl+t"), 0);
  PumpForHotKeys(2);
  ASSERT_EQ(HotKeys().size(), 2u);
  EXPECT_EQ(HotKeys()[0].hwnd, a);
  EXPECT_EQ(HotKeys()[0].wParam, 0x1234u);
  EXPECT_EQ(HotKeys()[0].lParam, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'T'));
  EXPECT_EQ(HotKeys()[1].hwnd, b);
  EXPECT_EQ(HotKeys()[1].lParam, MAKELPARAM(MOD_SHIFT, (VK_F1 + 6)));

  // Given back, the combination is free again; a destroyed window gives its own back.
  ASSERT_TRUE(UnregisterHotKey(a, 0x1234));
  EXPECT_FALSE(UnregisterHotKey(a, 0x1234));
  DestroyWindow(b);
  ASSERT_TRUE(RegisterHotKey(a, 2, MOD_SHIFT, (VK_F1 + 6)));
  HotKeys().clear();
  ASSERT_EQ(std::system("xdotool key ctrl+alt+t shift+F7"), 0);
  PumpForHotKeys(2, std::chrono::milliseconds(500));
  ASSERT_EQ(HotKeys().size(), 1u);
  EXPECT_EQ(HotKeys()[0].wParam, 2u);
  DestroyWindow(a);
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
