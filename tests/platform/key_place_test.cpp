// Key messages of a window carry the code of the key's place where the place decides it: the
// window passes the toolkit's native code on to the key table.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>

#include "platform/window_qt.h"
#include "recording_window.h"

namespace {

using namespace platform;

TEST(KeyPlace, TheRoKeyIsKnownByItsPlaceNotItsCharacter) {
  // Both cases hold under either layout, so the desktop's language does not matter here.
  platform_test::ChildWindowFixture windows;
  struct Case {
    const char* name;
    quint32 native;
    WPARAM vk;
    int scan;
  };
  const Case cases[] = {
      {"the ro key (kernel key 89)", 97, VK_OEM_102, 0x73},
      {"no native code: the character's key", 0, VK_OEM_5, 0x2B},
  };
  for (const Case& c : cases) {
    // The toolkit reports both keys as a backslash.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Backslash, Qt::NoModifier, c.native, 0, 0, "\\");
    QCoreApplication::sendEvent(windows.parent, &press);
    MSG msg;
    bool found = false;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message != WM_KEYDOWN) continue;
      found = true;
      EXPECT_EQ(msg.wParam, c.vk) << c.name;
      EXPECT_EQ((msg.lParam >> 16) & 0xFF, c.scan) << c.name;
    }
    EXPECT_TRUE(found) << c.name;
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Backslash, Qt::NoModifier, c.native, 0, 0, "\\");
    QCoreApplication::sendEvent(windows.parent, &release);
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
}

}  // namespace
