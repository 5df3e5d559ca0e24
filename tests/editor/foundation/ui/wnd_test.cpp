// The window base: binding on the first message, routing by message number, the end of the window
// and of its object in either order, and the failure box.
#include "editor/foundation/ui/wnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/foundation/ui/tip_wnd.h"
#include "editor/foundation/message_box_capture.h"
#include "platform/mouse_capture.h"
#include "platform/simulated_input.h"

namespace {

using namespace platform;

// What the objects' handlers saw: the handler's name and the message. Kept outside the objects,
// which may be gone when it is read.
std::vector<std::pair<std::string, UINT>> handled;

class CTestWnd : public CWnd {
 public:
  CTestWnd() { AppendClassInheritance("CTestWnd"); }
  HWND Create(HWND hwndParent, DWORD style, const char* className = "CTestWnd") {
    m_hwndParent = hwndParent;
    RegisterWC(nullptr, nullptr, nullptr, nullptr, nullptr, "CTestWnd");
    return CWnd::Create(0, className, "test", style, 10, 20, 60, 40, nullptr);
  }
  bool afterCreate = false;
  HWND boundAtCreate = nullptr;  // the own handle as WM_CREATE found it

 protected:
  void AfterCreate() override {
    afterCreate = true;
    CWnd::AfterCreate();
  }
  LRESULT OnCreate(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override {
    handled.emplace_back("OnCreate", uMsg);
    boundAtCreate = m_hWnd;
    return CWnd::OnCreate(hwnd, uMsg, wParam, lParam);
  }
  LRESULT OnAppMessage(HWND, UINT uMsg, WPARAM, LPARAM) override {
    handled.emplace_back("OnAppMessage", uMsg);
    return 1;
  }
  LRESULT CallDefWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override {
    handled.emplace_back("CallDefWndProc", uMsg);
    return CWnd::CallDefWndProc(hwnd, uMsg, wParam, lParam);
  }
  LRESULT OnDestroy(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override {
    handled.emplace_back("OnDestroy", uMsg);
    return CWnd::OnDestroy(hwnd, uMsg, wParam, lParam);
  }
  LRESULT OnNcDestroy(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override {
    handled.emplace_back("OnNcDestroy", uMsg);
    return CWnd::OnNcDestroy(hwnd, uMsg, wParam, lParam);
  }
  LRESULT OnLButtonDblClk(HWND, UINT uMsg, WPARAM, LPARAM) override {
    handled.emplace_back("OnLButtonDblClk", uMsg);
    return 0;
  }
  LRESULT OnMouseMove(HWND, UINT uMsg, WPARAM, LPARAM lParam) override {
    handled.emplace_back("OnMouseMove", uMsg);
    lastMove = lParam;
    return 0;
  }

 public:
  LPARAM lastMove = 0;
};

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

bool Handled(const std::string& name) {
  for (const auto& h : handled) {
    if (h.first == name) return true;
  }
  return false;
}

class WndTest : public testing::Test {
 protected:
  void SetUp() override {
    static const bool registered = [] {
      WNDCLASSEX wc;
      wc.lpfnWndProc = DefWindowProc;
      wc.lpszClassName = "WndTestParent";
      return RegisterClassEx(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    parent = CreateWindowEx(0, "WndTestParent", "parent", WS_CAPTION | WS_VISIBLE, 30, 30, 300, 200, nullptr, nullptr,
                            nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    Pump();
    handled.clear();
  }
  void TearDown() override {
    ReleaseCapture();
    if (IsWindow(parent)) DestroyWindow(parent);
    Pump();
  }
  HWND parent = nullptr;
};

TEST_F(WndTest, BoundOnTheFirstMessageSoWmCreateReachesTheObject) {
  CTestWnd wnd;
  EXPECT_STREQ(wnd.GetClassInheritances(), "CWnd::CTestWnd");
  const HWND hwnd = wnd.Create(parent, WS_CHILD);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(wnd.GetHwnd(), hwnd);
  EXPECT_EQ(wnd.boundAtCreate, hwnd);  // WM_CREATE came inside CreateWindowEx, to the bound object
  EXPECT_EQ(GetWindowLongPtr(hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&wnd));
  EXPECT_TRUE(wnd.afterCreate);
  EXPECT_TRUE(IsWindowVisible(hwnd));  // the default AfterCreate shows it
  // The class's 32 extra bytes are there.
  EXPECT_EQ(SetWindowLongPtr(hwnd, 24, 5), 0);
  EXPECT_EQ(GetWindowLongPtr(hwnd, 24), 5);
}

TEST_F(WndTest, ApplicationRangeReachesOnAppMessageAndTheRestTheDefault) {
  CTestWnd wnd;
  const HWND hwnd = wnd.Create(parent, WS_CHILD);
  ASSERT_NE(hwnd, nullptr);
  struct Case {
    UINT message;
    const char* handler;
  };
  const Case cases[] = {{0x7FFF, "CallDefWndProc"}, {0x8000, "OnAppMessage"}, {0xBFFF, "OnAppMessage"},
                        {0xC000, "CallDefWndProc"}};
  for (const Case& c : cases) {
    handled.clear();
    SendMessage(hwnd, c.message, 0, 0);
    ASSERT_EQ(handled.size(), 1u) << c.message;
    EXPECT_EQ(handled[0].first, c.handler) << std::hex << c.message;
    EXPECT_EQ(handled[0].second, c.message);
  }
}

TEST_F(WndTest, DestroyingTheObjectUnbindsItsWindowFirst) {
  auto wnd = std::make_unique<CTestWnd>();
  const HWND hwnd = wnd->Create(parent, WS_CHILD | WS_VISIBLE);
  ASSERT_NE(hwnd, nullptr);
  handled.clear();
  wnd.reset();
  EXPECT_FALSE(IsWindow(hwnd));
  // WM_DESTROY and WM_NCDESTROY went to the default procedure, not to the object being destroyed.
  EXPECT_TRUE(handled.empty());
}

TEST_F(WndTest, AnUnboundWindowOfTheClassIsServedByTheDefaultProcedure) {
  CTestWnd wnd;
  const HWND hwnd = wnd.Create(parent, WS_CHILD);
  ASSERT_NE(hwnd, nullptr);
  // As after its object's end: nothing binds the window any more.
  SetWindowLongPtr(hwnd, GWLP_USERDATA, 0);
  handled.clear();
  EXPECT_EQ(SendMessage(hwnd, 0x8000, 0, 0), 0);
  EXPECT_TRUE(handled.empty());
  // A creation that failed before any message leaves no object waiting to be bound: the unbound
  // window stays unbound.
  MessageBoxCapture boxes;
  CTestWnd failed;
  EXPECT_EQ(failed.Create(parent, WS_CHILD, "NoSuchClass"), nullptr);
  SendMessage(hwnd, 0x8000, 0, 0);
  EXPECT_TRUE(handled.empty());
  EXPECT_EQ(GetWindowLongPtr(hwnd, GWLP_USERDATA), 0);
  EXPECT_EQ(failed.GetHwnd(), nullptr);
}

TEST_F(WndTest, WindowDestroyedFromOutsideThenItsObject) {
  auto wnd = std::make_unique<CTestWnd>();
  const HWND hwnd = wnd->Create(parent, WS_CHILD | WS_VISIBLE);
  ASSERT_NE(hwnd, nullptr);
  handled.clear();
  ASSERT_TRUE(DestroyWindow(parent));  // the child goes with it
  EXPECT_TRUE(Handled("OnDestroy"));
  EXPECT_TRUE(Handled("OnNcDestroy"));
  EXPECT_EQ(wnd->GetHwnd(), nullptr);
  EXPECT_FALSE(IsWindow(hwnd));
  // Another window now; the object's end must leave it alone.
  const HWND other = CreateWindowEx(0, "WndTestParent", "other", WS_CAPTION, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                                    nullptr);
  ASSERT_NE(other, nullptr);
  handled.clear();
  wnd.reset();
  EXPECT_TRUE(handled.empty());
  EXPECT_TRUE(IsWindow(other));
  DestroyWindow(other);
}

TEST_F(WndTest, FailedCreationShowsTheBoxAndSkipsAfterCreate) {
  MessageBoxCapture boxes;
  CTestWnd wnd;
  EXPECT_EQ(wnd.Create(parent, WS_CHILD, "NoSuchClass"), nullptr);
  EXPECT_FALSE(wnd.afterCreate);
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].owner, parent);
  EXPECT_EQ(boxes.requests[0].text, "CWnd::Create()\n\n::CreateWindowEx failed.");
  EXPECT_EQ(boxes.requests[0].caption, "error");
  EXPECT_EQ(boxes.requests[0].flags, static_cast<UINT>(MB_OK));
}

TEST_F(WndTest, TipStaysHiddenAfterCreate) {
  CTipWnd tip;
  EXPECT_STREQ(tip.GetClassInheritances(), "CWnd::CTipWnd");
  tip.Create(nullptr, parent);
  ASSERT_NE(tip.GetHwnd(), nullptr);
  EXPECT_FALSE(IsWindowVisible(tip.GetHwnd()));
  EXPECT_EQ(tip.m_KeyWasHit, 0);
}

TEST_F(WndTest, ChildTakesDoubleClicksAndTheCapture) {
  CTestWnd wnd;
  const HWND hwnd = wnd.Create(parent, WS_CHILD | WS_VISIBLE);
  ASSERT_NE(hwnd, nullptr);
  SimulateMouseButton(hwnd, MouseButton::Left, true, 3, 4);
  SimulateMouseButton(hwnd, MouseButton::Left, false, 3, 4);
  SimulateMouseDoubleClick(hwnd, MouseButton::Left, 3, 4);
  SimulateMouseButton(hwnd, MouseButton::Left, false, 3, 4);
  Pump();
  EXPECT_TRUE(Handled("OnLButtonDblClk"));

  // Captured, the child hears the mouse over its parent, in its own coordinates.
  SetCapture(hwnd);
  handled.clear();
  SimulateMouseMove(parent, 100, 100);
  Pump();
  EXPECT_TRUE(Handled("OnMouseMove"));
  EXPECT_EQ(wnd.lastMove, MAKELPARAM(90, 80));
}

}  // namespace
