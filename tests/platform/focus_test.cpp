// Which window has the keyboard: WM_KILLFOCUS and WM_SETFOCUS as it moves between windows, naming
// each other, and GetFocus.
#include <QApplication>
#include <QCoreApplication>
#include <QMenu>
#include <gtest/gtest.h>
#include <vector>

#include "platform/window.h"
#include "platform/window_qt.h"
#include "recording_window.h"

namespace {

using namespace platform;
using platform_test::ChildWindowFixture;
using platform_test::PumpTranslated;
using platform_test::Seen;

bool IsFocusMessage(UINT message) { return message == WM_SETFOCUS || message == WM_KILLFOCUS; }

std::vector<Seen> FocusMessages() {
  std::vector<Seen> out;
  for (const Seen& s : platform_test::SeenMessages()) {
    if (IsFocusMessage(s.message)) out.push_back(s);
  }
  return out;
}

TEST(Focus, MovingTheKeyboardTellsBothWindowsInOrder) {
  ChildWindowFixture windows;
  HWND other = CreateWindowEx(0, platform_test::RecordingClass(), "other", WS_CHILD | WS_VISIBLE, 220, 10, 60, 60,
                              windows.parent, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(GetFocus(), windows.child);  // the fixture gave it the keyboard

  platform_test::SeenMessages().clear();
  EXPECT_EQ(SetFocus(other), windows.child);
  PumpTranslated();
  EXPECT_EQ(GetFocus(), other);
  std::vector<Seen> seen = FocusMessages();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].hwnd, windows.child);
  EXPECT_EQ(seen[0].message, WM_KILLFOCUS);
  EXPECT_EQ(seen[0].wParam, reinterpret_cast<WPARAM>(other));
  EXPECT_EQ(seen[1].hwnd, other);
  EXPECT_EQ(seen[1].message, WM_SETFOCUS);
  EXPECT_EQ(seen[1].wParam, reinterpret_cast<WPARAM>(windows.child));

  // Asking again for the window that has it changes nothing.
  platform_test::SeenMessages().clear();
  EXPECT_EQ(SetFocus(other), other);
  PumpTranslated();
  EXPECT_TRUE(FocusMessages().empty());
  EXPECT_EQ(SetFocus(nullptr), nullptr);
}

// A pop-up menu has the keyboard only while it is open: the window keeps its focus meanwhile.
TEST(Focus, APopupMenuDoesNotTakeTheFocusAway) {
  ChildWindowFixture windows;
  QMenu menu(WindowFromHandle(windows.parent));
  menu.addAction("item");
  platform_test::SeenMessages().clear();
  menu.popup(QPoint(20, 20));
  QCoreApplication::processEvents();
  const bool menuHadKeyboard = QApplication::focusWidget() != WindowFromHandle(windows.child)->canvas();
  menu.close();
  QCoreApplication::processEvents();
  PumpTranslated();
  EXPECT_TRUE(FocusMessages().empty()) << "the menu took the keyboard: " << menuHadKeyboard;
  EXPECT_EQ(GetFocus(), windows.child);
}

}  // namespace
