// Child and pop-up windows of registered classes: their creation messages, their places and frames,
// their end with their parent, double clicks, the mouse capture, the class's extra bytes and colours.
#include <gtest/gtest.h>

#include <vector>

#include "platform/mouse_capture.h"
#include "platform/simulated_input.h"
#include "platform/sys_color.h"
#include "platform/window.h"
#include "recording_window.h"

namespace {

using namespace platform;
using platform_test::Seen;

std::vector<Seen> seen;
// What the procedure answers to WM_NCCREATE and WM_CREATE, and what it read of the CREATESTRUCT.
LRESULT ncCreateAnswer = 1;
LRESULT createAnswer = 0;
CREATESTRUCT lastCreate;
bool createdBeforeReturn = false;

LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  seen.push_back({hwnd, message, wParam, lParam});
  if (message == WM_NCCREATE || message == WM_CREATE) {
    lastCreate = *reinterpret_cast<const CREATESTRUCT*>(lParam);
    createdBeforeReturn = IsWindow(hwnd) != 0;
    return message == WM_NCCREATE ? ncCreateAnswer : createAnswer;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

const char* ClassOf(const char* name, UINT style) {
  WNDCLASSEX wc;
  wc.lpfnWndProc = RecordingProc;
  wc.lpszClassName = name;
  wc.style = style;
  wc.cbWndExtra = 32;
  wc.hbrBackground = GetSysColorBrush(COLOR_INFOBK);
  RegisterClassEx(&wc);  // once per process; a second registration of the name fails harmlessly
  return name;
}
const char* PlainClass() { return ClassOf("SubWindowPlain", 0); }
const char* DoubleClickClass() { return ClassOf("SubWindowDoubleClicks", CS_DBLCLKS); }

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

bool IsMouse(UINT message) { return message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK; }

std::vector<UINT> MessagesOf(HWND hwnd) {
  std::vector<UINT> out;
  for (const Seen& s : seen) {
    if (s.hwnd == hwnd) out.push_back(s.message);
  }
  return out;
}

class SubWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    Pump();
    seen.clear();
    ncCreateAnswer = 1;
    createAnswer = 0;
    parent = CreateWindowEx(0, PlainClass(), "parent", WS_CAPTION | WS_VISIBLE, 40, 40, 300, 200, nullptr, nullptr,
                            nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    Pump();
    seen.clear();
  }
  void TearDown() override {
    ReleaseCapture();
    if (IsWindow(parent)) DestroyWindow(parent);
    Pump();
  }
  HWND Child(const char* cls, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE) {
    return CreateWindowEx(0, cls, "child", style, x, y, w, h, parent, reinterpret_cast<HMENU>(intptr_t{7}), nullptr,
                          nullptr);
  }
  HWND parent = nullptr;
};

TEST_F(SubWindowTest, CreationMessagesArriveBeforeCreateWindowExReturns) {
  int param = 0;
  HWND child = CreateWindowEx(0, PlainClass(), "child", WS_CHILD, 5, 6, 70, 40, parent,
                              reinterpret_cast<HMENU>(intptr_t{9}), nullptr, &param);
  ASSERT_NE(child, nullptr);
  const std::vector<UINT> first = MessagesOf(child);
  ASSERT_GE(first.size(), 2u);
  EXPECT_EQ(first[0], WM_NCCREATE);
  EXPECT_EQ(first[1], WM_CREATE);
  EXPECT_TRUE(createdBeforeReturn);
  EXPECT_EQ(lastCreate.lpCreateParams, &param);
  EXPECT_EQ(lastCreate.hwndParent, parent);
  EXPECT_EQ(lastCreate.style, static_cast<LONG>(WS_CHILD));
  EXPECT_EQ(lastCreate.x, 5);
  EXPECT_EQ(lastCreate.cy, 40);
  EXPECT_STREQ(lastCreate.lpszClass, PlainClass());
  EXPECT_EQ(GetWindowLongPtr(child, GWLP_ID), 9);
}

TEST_F(SubWindowTest, RefusedCreationEndsTheWindow) {
  struct Case {
    const char* name;
    LRESULT ncCreate;
    LRESULT create;
    std::vector<UINT> messages;
  };
  const Case cases[] = {
      {"WM_NCCREATE refused", 0, 0, {WM_NCCREATE, WM_NCDESTROY}},
      {"WM_CREATE refused", 1, -1, {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
  };
  for (const Case& c : cases) {
    seen.clear();
    ncCreateAnswer = c.ncCreate;
    createAnswer = c.create;
    for (HWND owner : {HWND{nullptr}, parent}) {
      seen.clear();
      const DWORD style = owner ? WS_CHILD : WS_CAPTION;
      EXPECT_EQ(CreateWindowEx(0, PlainClass(), "", style, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr), nullptr)
          << c.name;
      ASSERT_FALSE(seen.empty()) << c.name;
      EXPECT_EQ(MessagesOf(seen.front().hwnd), c.messages) << c.name;
      EXPECT_FALSE(IsWindow(seen.front().hwnd)) << c.name;
    }
  }
}

TEST_F(SubWindowTest, ChildLiesInTheParentsClientArea) {
  HWND child = Child(PlainClass(), 20, 30, 100, 50);
  ASSERT_NE(child, nullptr);
  RECT client;
  ASSERT_TRUE(GetClientRect(child, &client));
  EXPECT_EQ(client.right, 100);
  EXPECT_EQ(client.bottom, 50);
  RECT parentRect, childRect;
  ASSERT_TRUE(GetWindowRect(parent, &parentRect));
  ASSERT_TRUE(GetWindowRect(child, &childRect));
  EXPECT_EQ(childRect.right - childRect.left, 100);
  EXPECT_GE(childRect.left, parentRect.left + 20);
  EXPECT_TRUE(IsWindowVisible(child));

  ASSERT_TRUE(MoveWindow(child, 0, 0, 60, 20, 1));
  ASSERT_TRUE(GetClientRect(child, &client));
  EXPECT_EQ(client.right, 60);
  EXPECT_EQ(client.bottom, 20);
  // Hidden, it keeps its size.
  ShowWindow(child, SW_HIDE);
  ASSERT_TRUE(MoveWindow(child, 0, 0, 61, 21, 1));
  ASSERT_TRUE(GetClientRect(child, &client));
  EXPECT_EQ(client.right, 61);
  EXPECT_FALSE(IsWindowVisible(child));
}

TEST_F(SubWindowTest, ChildrenDieWithTheirParentEachHearingItsEnd) {
  HWND a = Child(PlainClass(), 0, 0, 50, 50);
  HWND b = Child(PlainClass(), 60, 0, 50, 50);
  ASSERT_TRUE(a && b);
  HWND grandchild = CreateWindowEx(0, PlainClass(), "", WS_CHILD | WS_VISIBLE, 1, 1, 10, 10, a, nullptr, nullptr,
                                   nullptr);
  ASSERT_NE(grandchild, nullptr);
  seen.clear();
  ASSERT_TRUE(DestroyWindow(parent));
  std::vector<std::pair<HWND, UINT>> order;
  for (const Seen& s : seen) {
    if (s.message == WM_DESTROY || s.message == WM_NCDESTROY) order.emplace_back(s.hwnd, s.message);
  }
  const std::vector<std::pair<HWND, UINT>> expected = {
      {parent, WM_DESTROY},     {a, WM_DESTROY},          {grandchild, WM_DESTROY}, {grandchild, WM_NCDESTROY},
      {a, WM_NCDESTROY},        {b, WM_DESTROY},          {b, WM_NCDESTROY},        {parent, WM_NCDESTROY}};
  EXPECT_EQ(order, expected);
  EXPECT_FALSE(IsWindow(a));
  EXPECT_FALSE(IsWindow(b));
  EXPECT_FALSE(IsWindow(grandchild));
}

TEST_F(SubWindowTest, OwnedPopupHasItsOwnSizeAndGoesBeforeItsOwner) {
  HWND popup = CreateWindowEx(WS_EX_TOOLWINDOW, PlainClass(), "", WS_POPUP | WS_BORDER, CW_USEDEFAULT, 0,
                              CW_USEDEFAULT, 0, parent, nullptr, nullptr, nullptr);
  ASSERT_NE(popup, nullptr);
  EXPECT_FALSE(IsWindowVisible(popup));
  ASSERT_TRUE(MoveWindow(popup, 100, 120, 80, 30, 1));
  ShowWindow(popup, SW_SHOWNA);
  Pump();
  EXPECT_TRUE(IsWindowVisible(popup));
  RECT rect, client;
  ASSERT_TRUE(GetWindowRect(popup, &rect));
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top, 120);
  EXPECT_EQ(rect.right - rect.left, 80);
  EXPECT_EQ(rect.bottom - rect.top, 30);
  // Not the full screen of an ownerless pop-up; the border takes a pixel on each side.
  ASSERT_TRUE(GetClientRect(popup, &client));
  EXPECT_EQ(client.right, 78);
  EXPECT_EQ(client.bottom, 28);

  seen.clear();
  ASSERT_TRUE(DestroyWindow(parent));
  const std::vector<UINT> popupMessages = MessagesOf(popup);
  EXPECT_EQ(popupMessages, (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front().hwnd, popup);  // before its owner's own WM_DESTROY
  EXPECT_FALSE(IsWindow(popup));
}

TEST_F(SubWindowTest, DoubleClicksOnlyForClassesThatAskForThem) {
  HWND plain = Child(PlainClass(), 0, 0, 50, 50);
  HWND dbl = Child(DoubleClickClass(), 60, 0, 50, 50);
  ASSERT_TRUE(plain && dbl);
  for (HWND hwnd : {plain, dbl}) {
    SimulateMouseButton(hwnd, MouseButton::Left, true, 5, 6);
    SimulateMouseButton(hwnd, MouseButton::Left, false, 5, 6);
    SimulateMouseDoubleClick(hwnd, MouseButton::Left, 5, 6);
    SimulateMouseButton(hwnd, MouseButton::Left, false, 5, 6);
  }
  Pump();
  std::vector<UINT> clicks;
  for (UINT m : MessagesOf(plain)) {
    if (IsMouse(m) && m != WM_MOUSEMOVE) clicks.push_back(m);
  }
  EXPECT_EQ(clicks, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
  clicks.clear();
  for (const Seen& s : seen) {
    if (s.hwnd == dbl && IsMouse(s.message) && s.message != WM_MOUSEMOVE) {
      clicks.push_back(s.message);
      EXPECT_EQ(s.lParam, MAKELPARAM(5, 6));
    }
  }
  EXPECT_EQ(clicks, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
}

TEST_F(SubWindowTest, CapturedChildTakesTheParentsMouseInItsOwnCoordinates) {
  HWND child = Child(PlainClass(), 20, 30, 50, 50);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(SetCapture(child), nullptr);
  EXPECT_EQ(GetCapture(), child);
  SimulateMouseMove(parent, 5, 8);
  SimulateMouseButton(parent, MouseButton::Left, true, 100, 90);
  SimulateMouseButton(parent, MouseButton::Left, false, 100, 90);
  Pump();
  std::vector<Seen> toChild;
  for (const Seen& s : seen) {
    if (!IsMouse(s.message)) continue;
    if (s.hwnd == parent) ADD_FAILURE() << s.message;
    if (s.hwnd == child) toChild.push_back(s);
  }
  ASSERT_EQ(toChild.size(), 3u);
  EXPECT_EQ(toChild[0].message, WM_MOUSEMOVE);
  EXPECT_EQ(toChild[0].lParam, MAKELPARAM(static_cast<unsigned>(-15), static_cast<unsigned>(-22)));
  EXPECT_EQ(toChild[1].message, WM_LBUTTONDOWN);
  EXPECT_EQ(toChild[1].lParam, MAKELPARAM(80, 60));

  ASSERT_TRUE(ReleaseCapture());
  EXPECT_EQ(GetCapture(), nullptr);
  seen.clear();
  SimulateMouseMove(parent, 5, 8);
  Pump();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back().hwnd, parent);
  EXPECT_EQ(seen.back().message, WM_MOUSEMOVE);

  // The capture ends with its window.
  SetCapture(child);
  DestroyWindow(child);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SubWindowTest, ExtraBytesStartAtZeroAndHoldWhatIsSet) {
  HWND child = Child(PlainClass(), 0, 0, 10, 10);
  ASSERT_NE(child, nullptr);
  for (int offset : {0, 8, 16, 24}) EXPECT_EQ(GetWindowLongPtr(child, offset), 0) << offset;
  EXPECT_EQ(SetWindowLongPtr(child, 24, 0x1234), 0);
  EXPECT_EQ(GetWindowLongPtr(child, 24), 0x1234);
  // Past the 32 bytes there is nothing.
  EXPECT_EQ(SetWindowLongPtr(child, 25, 7), 0);
  EXPECT_EQ(GetWindowLongPtr(child, 25), 0);
  EXPECT_EQ(GetWindowLongPtr(child, 32), 0);
}

TEST(SysColor, TheThreeColoursComeFromThePaletteAndOthersAreZero) {
  const COLORREF back = GetSysColor(COLOR_INFOBK);
  const COLORREF text = GetSysColor(COLOR_INFOTEXT);
  EXPECT_NE(back, text);  // a tip's text is readable on its background
  EXPECT_NE(GetSysColor(COLOR_BTNFACE), 0u);
  EXPECT_EQ(GetSysColor(99), 0u);
  EXPECT_EQ(GetSysColorBrush(COLOR_INFOBK), reinterpret_cast<HBRUSH>(intptr_t{COLOR_INFOBK + 1}));
  EXPECT_EQ(GetSysColorBrush(99), nullptr);
}

}  // namespace
