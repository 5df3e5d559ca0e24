// Translating keys with an accelerator table: which key-downs become commands, with which
// modifiers held.
#include "platform/accelerator.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <vector>

#include "platform/gui_app.h"
#include "platform/key_state.h"
#include "platform/window_qt.h"
#include "recording_window.h"

namespace {

using namespace platform;
using platform_test::ChildWindowFixture;
using platform_test::Seen;

constexpr int kF3 = VK_F1 + 2;

// Holds or lets go of a modifier as the keyboard would tell the program.
void Modifier(HWND hwnd, int qtKey, bool down) {
  QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, qtKey, Qt::NoModifier);
  QCoreApplication::sendEvent(hwnd, &event);
}

TEST(TranslateAccelerator, MatchingKeyDownsBecomeCommandsWithTheirModifiersExactly) {
  ChildWindowFixture windows;
  const ACCEL entries[] = {
      {FVIRTKEY | FNOINVERT | FCONTROL, 'S', 30103},
      {FVIRTKEY | FNOINVERT | FCONTROL | FSHIFT, 'S', 30104},
      {FVIRTKEY | FNOINVERT, kF3, 30902},
      {FVIRTKEY | FNOINVERT | FALT, 'X', 31270},
      {FNOINVERT, 'q', 30195},  // not a virtual key: never a key-down's
      {FVIRTKEY | FNOINVERT, kF3, 1},  // a later entry of the same key loses
  };
  HACCEL table = CreateAcceleratorTable(entries, 6);
  ASSERT_NE(table, nullptr);
  struct Case {
    const char* name;
    UINT message;
    WPARAM key;
    bool shift, control, alt;
    UINT command;  // 0: not translated
  };
  const Case cases[] = {
      {"Ctrl+S", WM_KEYDOWN, 'S', false, true, false, 30103},
      {"Ctrl+Shift+S", WM_KEYDOWN, 'S', true, true, false, 30104},
      {"S alone", WM_KEYDOWN, 'S', false, false, false, 0},
      {"Ctrl+Alt+S has no entry", WM_KEYDOWN, 'S', false, true, true, 0},
      {"F3, the first entry", WM_KEYDOWN, kF3, false, false, false, 30902},
      {"Shift+F3 has no entry", WM_KEYDOWN, kF3, true, false, false, 0},
      {"Alt+X as a system key", WM_SYSKEYDOWN, 'X', false, false, false, 31270},
      {"Alt+X held", WM_KEYDOWN, 'X', false, false, true, 31270},
      {"a key-up", WM_KEYUP, 'S', false, true, false, 0},
      {"a character", WM_CHAR, 'q', false, false, false, 0},
  };
  for (const Case& c : cases) {
    Modifier(windows.parent, Qt::Key_Shift, c.shift);
    Modifier(windows.parent, Qt::Key_Control, c.control);
    Modifier(windows.parent, Qt::Key_Alt, c.alt);
    platform_test::SeenMessages().clear();
    const MSG msg{windows.child, c.message, c.key, 1};
    EXPECT_EQ(TranslateAccelerator(windows.parent, table, &msg), c.command ? 1 : 0) << c.name;
    const std::vector<Seen> commands =
        platform_test::SeenBy(windows.parent, [](UINT m) { return m == WM_COMMAND; });
    if (c.command) {
      ASSERT_EQ(commands.size(), 1u) << c.name;  // sent, not queued
      EXPECT_EQ(commands[0].wParam, MAKEWPARAM(c.command, 1)) << c.name;
      EXPECT_EQ(commands[0].lParam, 0) << c.name;
    } else {
      EXPECT_TRUE(commands.empty()) << c.name;
    }
  }
  Modifier(windows.parent, Qt::Key_Shift, false);
  Modifier(windows.parent, Qt::Key_Control, false);
  Modifier(windows.parent, Qt::Key_Alt, false);

  const MSG key{windows.child, WM_KEYDOWN, kF3, 1};
  EXPECT_EQ(TranslateAccelerator(nullptr, table, &key), 0);
  EXPECT_EQ(TranslateAccelerator(windows.parent, table, nullptr), 0);
  ASSERT_TRUE(DestroyAcceleratorTable(table));
  EXPECT_EQ(TranslateAccelerator(windows.parent, table, &key), 0);  // a destroyed table
}

}  // namespace
