// Windows among each other: parents, class look-ups and points carried between client areas.
#include "platform/window_tree.h"

#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "platform/window.h"

namespace {

using namespace platform;

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

const char* TreeClass() {
  static const char* const name = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "WindowTreeClass";
    wc.style = CS_DBLCLKS;
    wc.cbWndExtra = 16;
    RegisterClassEx(&wc);
    return "WindowTreeClass";
  }();
  return name;
}

class WindowTreeTest : public testing::Test {
 protected:
  void SetUp() override {
    top = CreateWindowEx(0, TreeClass(), "top", WS_VISIBLE, 30, 30, 300, 200, nullptr, nullptr, nullptr, nullptr);
    middle =
        CreateWindowEx(0, TreeClass(), "m", WS_CHILD | WS_VISIBLE, 20, 10, 200, 150, top, nullptr, nullptr, nullptr);
    inner = CreateWindowEx(0, TreeClass(), "i", WS_CHILD | WS_VISIBLE, 5, 7, 50, 50, middle, nullptr, nullptr, nullptr);
    ASSERT_NE(inner, nullptr);
    Pump();
  }
  void TearDown() override {
    DestroyWindow(top);
    Pump();
  }
  HWND top = nullptr;
  HWND middle = nullptr;
  HWND inner = nullptr;
};

TEST_F(WindowTreeTest, AChildsParentIsTheWindowItLiesIn) {
  EXPECT_EQ(GetParent(inner), middle);
  EXPECT_EQ(GetParent(middle), top);
  EXPECT_EQ(GetParent(top), nullptr);
  EXPECT_EQ(GetParent(nullptr), nullptr);
}

TEST_F(WindowTreeTest, PointsMoveByTheChildsPlace) {
  POINT points[2] = {{0, 0}, {3, -4}};
  const int shift = MapWindowPoints(inner, top, points, 2);
  EXPECT_EQ(points[0].x, 25);
  EXPECT_EQ(points[0].y, 17);
  EXPECT_EQ(points[1].x, 28);
  EXPECT_EQ(points[1].y, 13);
  EXPECT_EQ(static_cast<short>(LOWORD(static_cast<uint32_t>(shift))), 25);
  EXPECT_EQ(static_cast<short>(HIWORD(static_cast<uint32_t>(shift))), 17);
  POINT back{25, 17};
  MapWindowPoints(top, inner, &back, 1);
  EXPECT_EQ(back.x, 0);
  EXPECT_EQ(back.y, 0);
  // Through the screen and back.
  POINT p{1, 2};
  MapWindowPoints(middle, nullptr, &p, 1);
  MapWindowPoints(nullptr, middle, &p, 1);
  EXPECT_EQ(p.x, 1);
  EXPECT_EQ(p.y, 2);
  POINT untouched{1, 2};
  EXPECT_EQ(MapWindowPoints(reinterpret_cast<HWND>(intptr_t{8}), top, &untouched, 1), 0);
  EXPECT_EQ(untouched.x, 1);
}

TEST(WindowClassInfoTest, FindsARegisteredClassOnly) {
  TreeClass();
  WNDCLASSEX info;
  ASSERT_TRUE(GetClassInfoEx(nullptr, "WindowTreeClass", &info));
  EXPECT_EQ(info.lpfnWndProc, &DefWindowProc);
  EXPECT_EQ(info.style, CS_DBLCLKS);
  EXPECT_EQ(info.cbWndExtra, 16);
  WNDCLASSEX none;
  none.cbWndExtra = 3;
  EXPECT_FALSE(GetClassInfoEx(nullptr, "NoSuchClassHere", &none));
  EXPECT_EQ(none.cbWndExtra, 3);
  EXPECT_FALSE(GetClassInfoEx(nullptr, nullptr, &none));
}

// The window another is owned by: a dialog's or an owned pop-up's owner, nothing for a child
// window, an unowned window or what is no window.
TEST_F(WindowTreeTest, TheOwnerOfADialogOrAPopupIsTheWindowItWasMadeFor) {
  ASSERT_TRUE(RegisterDialogTemplate("WindowTreeOwned", [](DialogBuilder& b) {
    b.Caption("owned");
    b.PushButton(IDOK, "OK");
  }));
  const HWND dialog = CreateDialogParam(nullptr, "WindowTreeOwned", top, nullptr, 0);
  ASSERT_NE(dialog, nullptr);
  const HWND popup =
      CreateWindowEx(0, TreeClass(), "p", WS_POPUP | WS_VISIBLE, 5, 5, 40, 40, top, nullptr, nullptr, nullptr);
  ASSERT_NE(popup, nullptr);
  const HWND alone = CreateWindowEx(0, TreeClass(), "a", WS_VISIBLE, 5, 5, 40, 40, nullptr, nullptr, nullptr, nullptr);
  const HWND unownedDialog = CreateDialogParam(nullptr, "WindowTreeOwned", nullptr, nullptr, 0);
  ASSERT_NE(unownedDialog, nullptr);
  Pump();
  struct Case {
    const char* name;
    HWND hwnd;
    HWND owner;
  } cases[] = {
      {"a dialog made for the window", dialog, top},
      {"a pop-up made with a parent", popup, top},
      {"a child window", middle, nullptr},
      {"a child of a child", inner, nullptr},
      {"a window made alone", alone, nullptr},
      {"a dialog made alone", unownedDialog, nullptr},
      {"the owner itself", top, nullptr},
      {"no window", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GetWindow(c.hwnd, GW_OWNER), c.owner);
  }
  EXPECT_EQ(GetWindow(dialog, GW_OWNER + 1), nullptr) << "only the owner is asked for";
  DestroyWindow(unownedDialog);
  DestroyWindow(alone);
  DestroyWindow(dialog);
  Pump();
}

}  // namespace
