#include "platform/window.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <thread>
#include <vector>

#include "platform/desktop.h"
#include "platform/simulated_input.h"
#include "platform/window_tree.h"
#include "test_util.h"

namespace {

using namespace platform;

struct Seen {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Seen&) const = default;
};

// What the recording procedure saw, and how it answers.
std::vector<Seen> seen;
std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> answer;

LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  seen.push_back({hwnd, message, wParam, lParam});
  if (answer) return answer(hwnd, message, wParam, lParam);
  return DefWindowProc(hwnd, message, wParam, lParam);
}

const char* RecordingClass() {
  static const bool registered = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "RecordingTestClass";
    return RegisterClassEx(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return "RecordingTestClass";
}

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

// The messages of one kind that reached the procedure.
std::vector<Seen> Only(UINT message) {
  std::vector<Seen> out;
  for (const Seen& s : seen) {
    if (s.message == message) out.push_back(s);
  }
  return out;
}

class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    Pump();
    seen.clear();
    answer = nullptr;
  }
  void TearDown() override {
    answer = nullptr;
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    Pump();
  }
  HWND Make(DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, int w = 320, int h = 200) {
    hwnd = CreateWindowEx(0, RecordingClass(), "test", style, CW_USEDEFAULT, CW_USEDEFAULT, w, h, nullptr, nullptr,
                          nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    Pump();
    seen.clear();
    return hwnd;
  }
  HWND hwnd = nullptr;
};

TEST_F(WindowTest, ClientAreaHasTheRequestedSizeAndTheWindowFitsAroundIt) {
  Make(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, 640, 480);
  RECT client;
  ASSERT_TRUE(GetClientRect(hwnd, &client));
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  RECT outer;
  ASSERT_TRUE(GetWindowRect(hwnd, &outer));
  EXPECT_GE(outer.right - outer.left, 640);
  EXPECT_GE(outer.bottom - outer.top, 480);
  EXPECT_TRUE(IsWindowVisible(hwnd));

  ASSERT_TRUE(SetWindowPos(hwnd, nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER));
  Pump();
  ASSERT_TRUE(GetClientRect(hwnd, &client));
  EXPECT_EQ(client.right, 800);
  EXPECT_EQ(client.bottom, 600);
  auto sizes = Only(WM_SIZE);
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(sizes.back().wParam, SIZE_RESTORED);
  EXPECT_EQ(sizes.back().lParam, MAKELPARAM(800, 600));
}

TEST_F(WindowTest, PopupStyleFillsTheScreenAndBackToWindowedKeepsTheClientSize) {
  Make(WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 320, 240);
  SetWindowLongPtr(hwnd, GWL_STYLE, WS_POPUP);
  ShowWindow(hwnd, SW_SHOW);
  Pump();
  RECT client;
  ASSERT_TRUE(GetClientRect(hwnd, &client));
  EXPECT_EQ(client.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(client.bottom, GetSystemMetrics(SM_CYSCREEN));

  SetWindowLongPtr(hwnd, GWL_STYLE, WS_CAPTION | WS_SYSMENU);
  Pump();
  ASSERT_TRUE(GetClientRect(hwnd, &client));
  EXPECT_EQ(client.right, 320);
  EXPECT_EQ(client.bottom, 240);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(GetWindowLongPtr(hwnd, GWL_STYLE), LONG_PTR{WS_CAPTION | WS_SYSMENU | WS_VISIBLE});
}

// Full screen and back: the window comes back with its client size, at the place it left or at the
// one asked of it while it was full screen.
TEST_F(WindowTest, BackFromFullScreenAtItsPlace) {
  Make(WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 320, 240);
  ASSERT_TRUE(SetWindowPos(hwnd, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
  Pump();
  RECT before;
  ASSERT_TRUE(GetWindowRect(hwnd, &before));
  ASSERT_EQ(before.left, 40);
  ASSERT_EQ(before.top, 30);
  struct Case {
    const char* name;
    bool moveWhileFull;
    LONG left, top;
  } cases[] = {
      {"left alone", false, 40, 30},
      {"moved while full screen", true, 100, 70},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetWindowLongPtr(hwnd, GWL_STYLE, WS_POPUP);
    Pump();
    RECT full;
    ASSERT_TRUE(GetWindowRect(hwnd, &full));
    EXPECT_EQ(full.left, 0);
    EXPECT_EQ(full.top, 0);
    EXPECT_EQ(full.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(full.bottom, GetSystemMetrics(SM_CYSCREEN));
    if (c.moveWhileFull) {
      ASSERT_TRUE(SetWindowPos(hwnd, nullptr, c.left, c.top, 320, 240, SWP_NOZORDER));
    }
    SetWindowLongPtr(hwnd, GWL_STYLE, WS_CAPTION | WS_SYSMENU);
    Pump();
    RECT after, client;
    ASSERT_TRUE(GetWindowRect(hwnd, &after));
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(after.left, c.left);
    EXPECT_EQ(after.top, c.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 240);
  }
}

// The full-screen menu bar shows only for the active window: a change of style must not lose it.
TEST_F(WindowTest, AWindowStaysActiveThroughAChangeOfStyle) {
  Make(WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 320, 240);
  ASSERT_EQ(GetActiveWindow(), hwnd);
  for (DWORD style : {DWORD{WS_POPUP}, DWORD{WS_CAPTION | WS_SYSMENU}}) {
    SetWindowLongPtr(hwnd, GWL_STYLE, style);
    Pump();
    EXPECT_EQ(GetActiveWindow(), hwnd) << std::hex << style;
  }
}

TEST_F(WindowTest, CaptionIsShiftJisInsideTheProgram) {
  Make();
  std::string caption = "\x83\x65\x83\x58\x83\x67 window";  // "テスト window" in Shift-JIS
  ASSERT_TRUE(SetWindowText(hwnd, caption));
  EXPECT_EQ(GetWindowText(hwnd), caption);
}

TEST_F(WindowTest, PostedMessagesArriveInOrderAndSendIsImmediate) {
  Make();
  answer = [](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
    return message == WM_USER + 1 ? static_cast<LRESULT>(wParam * 2) : 0;
  };
  ASSERT_TRUE(PostMessage(hwnd, WM_USER, 1, 10));
  ASSERT_TRUE(PostMessage(hwnd, WM_USER, 2, 20));
  EXPECT_TRUE(Only(WM_USER).empty());  // nothing before the pump runs
  EXPECT_EQ(SendMessage(hwnd, WM_USER + 1, 21, 0), 42);
  Pump();
  EXPECT_EQ(Only(WM_USER), (std::vector<Seen>{{hwnd, WM_USER, 1, 10}, {hwnd, WM_USER, 2, 20}}));
}

TEST_F(WindowTest, PeekWithoutRemovingLeavesTheMessageAndFiltersSelect) {
  Make();
  PostMessage(hwnd, WM_USER + 5, 0, 0);
  PostMessage(hwnd, WM_USER + 7, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER + 6, WM_USER + 9, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 7);
  ASSERT_TRUE(PeekMessage(&msg, hwnd, WM_USER + 6, WM_USER + 9, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 7);
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 5);
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowTest, GetMessageWaitsForAPostFromAnotherThreadAndReportsQuit) {
  Make();
  std::thread poster([h = hwnd] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    PostMessage(h, WM_USER + 3, 7, 8);
  });
  MSG msg;
  EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), 1);
  poster.join();
  EXPECT_EQ(msg.hwnd, hwnd);
  EXPECT_EQ(msg.message, WM_USER + 3);
  EXPECT_EQ(msg.wParam, 7u);

  EXPECT_EQ(PendingQuitCode(), std::nullopt);
  PostMessage(hwnd, WM_USER + 4, 0, 0);
  PostQuitMessage(5);
  PostQuitMessage(3);
  EXPECT_EQ(PendingQuitCode(), std::optional<int>(3)) << "a second request replaces the first's code";
  // The quit comes after what is already queued, and only once.
  EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), 1);
  EXPECT_EQ(msg.message, WM_USER + 4);
  EXPECT_EQ(PendingQuitCode(), std::optional<int>(3));
  EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), 0);
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_EQ(PendingQuitCode(), std::nullopt);
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowTest, UserCloseIsOnlyAMessageUnlessTheProcedureDestroys) {
  Make();
  answer = [](HWND, UINT message, WPARAM, LPARAM) -> LRESULT { return message == WM_CLOSE ? 1 : 0; };
  SimulateCloseButton(hwnd);
  Pump();
  EXPECT_EQ(Only(WM_CLOSE).size(), 1u);
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_TRUE(IsWindowVisible(hwnd));

  // The default procedure destroys on WM_CLOSE, here while the toolkit is still delivering the
  // close; a message posted before the close is taken in with it and dropped with the window.
  answer = nullptr;
  seen.clear();
  PostMessage(hwnd, WM_USER, 0, 0);
  SimulateCloseButton(hwnd);
  Pump();
  EXPECT_FALSE(IsWindow(hwnd));
  std::vector<UINT> order;
  for (const Seen& s : seen) order.push_back(s.message);
  EXPECT_EQ(order, (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(WindowTest, ADestroyedWindowTakesNoMoreMessages) {
  Make();
  PostMessage(hwnd, WM_USER, 0, 0);
  ASSERT_TRUE(DestroyWindow(hwnd));
  EXPECT_FALSE(DestroyWindow(hwnd));
  seen.clear();
  Pump();
  EXPECT_TRUE(seen.empty());
  EXPECT_FALSE(PostMessage(hwnd, WM_USER, 0, 0));
  EXPECT_EQ(SendMessage(hwnd, WM_USER, 0, 0), 0);
  RECT r;
  EXPECT_FALSE(GetClientRect(hwnd, &r));
}

TEST_F(WindowTest, APostToADestroyedWindowNeverReachesANewWindowAtItsAddress) {
  Make();
  HWND old = hwnd;
  ASSERT_TRUE(PostMessage(old, WM_USER + 2, 0, 0));  // still with the toolkit when the window goes
  DestroyWindow(old);
  // The allocator tends to hand the same address to the next window; try a few.
  std::vector<HWND> spare;
  for (int i = 0; i < 8 && hwnd != old; ++i) {
    spare.push_back(hwnd = CreateWindowEx(0, RecordingClass(), "", 0, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr));
  }
  seen.clear();
  Pump();
  EXPECT_TRUE(Only(WM_USER + 2).empty());
  for (HWND w : spare) DestroyWindow(w);
}

TEST_F(WindowTest, MouseInputArrivesWithClientCoordinatesAndButtonState) {
  Make();
  SimulateMouseMove(hwnd, 10, 20);
  SimulateMouseButton(hwnd, MouseButton::Left, true, 11, 21);
  SimulateMouseMove(hwnd, 12, 22);
  SimulateMouseButton(hwnd, MouseButton::Left, false, 13, 23);
  SimulateMouseButton(hwnd, MouseButton::Right, true, 14, 24);
  SimulateMouseButton(hwnd, MouseButton::Right, false, 15, 25);
  SimulateWheel(hwnd, -240, 16, 26);
  Pump();
  std::vector<Seen> mouse;
  for (const Seen& s : seen) {
    if (s.message >= WM_MOUSEMOVE && s.message <= WM_MOUSEWHEEL) mouse.push_back(s);
  }
  const WPARAM wheelDown = static_cast<WPARAM>(static_cast<uint16_t>(-240)) << 16;
  EXPECT_EQ(mouse, (std::vector<Seen>{
                       {hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 20)},
                       {hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(11, 21)},
                       {hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(12, 22)},
                       {hwnd, WM_LBUTTONUP, 0, MAKELPARAM(13, 23)},
                       {hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(14, 24)},
                       {hwnd, WM_RBUTTONUP, 0, MAKELPARAM(15, 25)},
                       {hwnd, WM_MOUSEWHEEL, wheelDown, MAKELPARAM(16, 26)},
                   }));
  EXPECT_EQ(static_cast<int16_t>(HIWORD(mouse.back().wParam)), -240);
}

TEST_F(WindowTest, KeysArriveAsVirtualKeysWithScanCodeAndTransitionBits) {
  Make();
  constexpr int kQtKeyA = 0x41, kQtKeyLeft = 0x01000012, kQtKeyEnter = 0x01000005, kQtKeyF13 = 0x0100003c;
  SimulateKey(hwnd, kQtKeyA, true);
  SimulateKey(hwnd, kQtKeyA, true, false, true);   // held: repeats its key-down
  SimulateKey(hwnd, kQtKeyA, false, false, true);  // the toolkit's release of a repeat: no message
  SimulateKey(hwnd, kQtKeyA, false);
  SimulateKey(hwnd, kQtKeyLeft, true);
  SimulateKey(hwnd, kQtKeyEnter, true, true);
  SimulateKey(hwnd, 0x01FFFFFF, true);  // a key without a code here makes no message
  SimulateKey(hwnd, kQtKeyF13, false);
  Pump();
  std::vector<Seen> keys;
  for (const Seen& s : seen) {
    if (s.message == WM_KEYDOWN || s.message == WM_KEYUP) keys.push_back(s);
  }
  const LPARAM down = 1, repeat = LPARAM{1} << 30, up = (LPARAM{1} << 30) | (LPARAM{1} << 31), ext = LPARAM{1} << 24;
  EXPECT_EQ(keys, (std::vector<Seen>{
                      {hwnd, WM_KEYDOWN, 'A', down | (0x1E << 16)},
                      {hwnd, WM_KEYDOWN, 'A', down | repeat | (0x1E << 16)},
                      {hwnd, WM_KEYUP, 'A', down | up | (0x1E << 16)},
                      {hwnd, WM_KEYDOWN, VK_LEFT, down | ext | (0x4B << 16)},
                      {hwnd, WM_KEYDOWN, VK_RETURN, down | ext | (0x1C << 16)},
                      {hwnd, WM_KEYUP, VK_F1 + 12, down | up | (0x64 << 16)},
                  }));
}

TEST_F(WindowTest, MinimiseAndRestoreSendSizeMessages) {
  Make();
  SimulateMinimize(hwnd);
  Pump();
  EXPECT_TRUE(IsIconic(hwnd));
  SimulateRestore(hwnd);
  Pump();
  EXPECT_FALSE(IsIconic(hwnd));
  std::vector<Seen> sizes = Only(WM_SIZE);
  ASSERT_GE(sizes.size(), 2u);
  EXPECT_EQ(sizes[0].wParam, SIZE_MINIMIZED);
  EXPECT_EQ(sizes[1].wParam, SIZE_RESTORED);
  EXPECT_EQ(sizes[1].lParam, MAKELPARAM(320, 200));
}

TEST_F(WindowTest, ActivationOfTheProgramReachesEveryWindowOncePerChange) {
  Make();
  SimulateAppActive(false);
  Pump();
  seen.clear();
  SimulateAppActive(true);
  SimulateAppActive(true);
  SimulateAppActive(false);
  Pump();
  auto acts = Only(WM_ACTIVATEAPP);
  ASSERT_EQ(acts.size(), 2u);
  EXPECT_EQ(acts[0].wParam, 1u);
  EXPECT_EQ(acts[1].wParam, 0u);
}

TEST_F(WindowTest, PaintingSendsWmPaint) {
  Make();
  seen.clear();
  ASSERT_TRUE(UpdateWindow(hwnd));
  EXPECT_EQ(Only(WM_PAINT).size(), 1u);
}

TEST_F(WindowTest, WindowProcedureAndUserDataCanBeReplaced) {
  Make();
  static std::vector<UINT> other;
  other.clear();
  WNDPROC replacement = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    other.push_back(m);
    return m == WM_USER ? 5 : DefWindowProc(h, m, w, l);
  };
  LONG_PTR previous = SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replacement));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(previous), &RecordingProc);
  EXPECT_EQ(SendMessage(hwnd, WM_USER, 0, 0), 5);
  EXPECT_EQ(CallWindowProc(reinterpret_cast<WNDPROC>(previous), hwnd, WM_USER + 9, 0, 0), 0);
  EXPECT_EQ(other, std::vector<UINT>{WM_USER});
  EXPECT_EQ(Only(WM_USER + 9).size(), 1u);

  int data = 0;
  EXPECT_EQ(SetWindowLongPtr(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&data)), 0);
  EXPECT_EQ(GetWindowLongPtr(hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&data));
  SetWindowLongPtr(hwnd, GWLP_WNDPROC, previous);
}

TEST(WindowClass, RegistrationAndCreationFailures) {
  WNDCLASSEX wc;
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "ClassRegisteredOnce";
  EXPECT_NE(RegisterClassEx(&wc), 0);
  EXPECT_EQ(RegisterClassEx(&wc), 0);  // taken
  wc.lpszClassName = "";
  EXPECT_EQ(RegisterClassEx(&wc), 0);
  wc.lpszClassName = "EDIT";  // a standard class exists already
  EXPECT_EQ(RegisterClassEx(&wc), 0);
  wc.lpszClassName = "NoProcedure";
  wc.lpfnWndProc = nullptr;
  EXPECT_EQ(RegisterClassEx(&wc), 0);

  EXPECT_EQ(CreateWindowEx(0, "NeverRegistered", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
  HWND edit = CreateWindowEx(0, "EDIT", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_FALSE(IsWindowVisible(edit));
  // With a parent: a class nobody registered, or a window that is neither a child nor a pop-up.
  EXPECT_EQ(CreateWindowEx(0, "NeverRegistered", "", WS_CHILD, 0, 0, 10, 10, edit, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(CreateWindowEx(0, "EDIT", "", WS_CAPTION, 0, 0, 10, 10, edit, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(CreateWindowEx(0, "EDIT", "", WS_CHILD, 0, 0, 10, 10, reinterpret_cast<HWND>(&wc), nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_TRUE(DestroyWindow(edit));
}

// A 2 x 1 pixel 24-bit BMP file.
std::vector<uint8_t> TinyBmp() {
  std::vector<uint8_t> f = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54,  0,   0, 0,         // file header
                            40,  0,   0,  0, 2, 0, 0, 0, 1, 0, 0,   0,   1, 0, 24, 0,  // info header
                            0,   0,   0,  0, 8, 0, 0, 0, 0, 0, 0,   0,   0, 0, 0,  0,
                            0,   0,   0,  0, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 0,  0};  // two pixels, padding
  return f;
}

TEST(WindowIcon, RegisteredImagesBecomeIconsAndOthersDoNot) {
  auto bmp = TinyBmp();
  EXPECT_TRUE(RegisterIconResource("TESTICON", bmp));
  HICON icon = LoadIcon(nullptr, "TESTICON");
  EXPECT_NE(icon, nullptr);
  EXPECT_TRUE(RegisterIconResource("TESTICON", bmp));
  EXPECT_EQ(LoadIcon(nullptr, "TESTICON"), icon);  // the handle outlives a new registration

  const uint8_t junk[] = {1, 2, 3, 4, 5};
  EXPECT_FALSE(RegisterIconResource("JUNK", junk));
  EXPECT_EQ(LoadIcon(nullptr, "JUNK"), nullptr);
  EXPECT_EQ(LoadIcon(nullptr, "MISSING"), nullptr);

  WNDCLASSEX wc;
  wc.lpfnWndProc = DefWindowProc;
  wc.hIcon = icon;
  wc.lpszClassName = "IconTestClass";
  ASSERT_NE(RegisterClassEx(&wc), 0);
  HWND hwnd = CreateWindowEx(0, "IconTestClass", "", WS_VISIBLE, 0, 0, 16, 16, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  DestroyWindow(hwnd);
}

TEST(WindowThreads, WindowCallsOffTheGuiThreadFailButPostingWorks) {
  HWND hwnd = CreateWindowEx(0, "EDIT", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  std::atomic<int> created{-1}, sent{-1}, posted{-1}, alive{-1};
  std::thread worker([&] {
    created = CreateWindowEx(0, "EDIT", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr) != nullptr;
    sent = static_cast<int>(SendMessage(hwnd, WM_CLOSE, 0, 0));
    alive = IsWindow(hwnd);
    posted = PostMessage(hwnd, WM_USER, 0, 0);
  });
  worker.join();
  EXPECT_EQ(created, 0);
  EXPECT_EQ(sent, 0);
  EXPECT_EQ(alive, 1);
  EXPECT_EQ(posted, 1);
  EXPECT_TRUE(IsWindow(hwnd));  // the send from the worker did not close it
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, hwnd, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER);
  DestroyWindow(hwnd);
}

}  // namespace

namespace {

using namespace platform;

// Every move of a top-level window, by the program or the user's window manager, is told as WM_MOVE
// with where the client area now starts on the screen; each new place once.
TEST_F(WindowTest, AMovedWindowHearsWhereItsClientAreaNowStarts) {
  Make();
  struct Step {
    const char* name;
    int x, y;  // the outer rectangle's top-left asked
  } steps[] = {{"moved by the program", 40, 50}, {"moved again", 90, 30}, {"to the corner", 0, 0}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    seen.clear();
    ASSERT_TRUE(SetWindowPos(hwnd, nullptr, step.x, step.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
    Pump();
    RECT outer{};
    GetWindowRect(hwnd, &outer);
    EXPECT_EQ(outer.left, step.x);
    EXPECT_EQ(outer.top, step.y);
    POINT client{0, 0};
    MapWindowPoints(hwnd, nullptr, &client, 1);
    const std::vector<Seen> moves = Only(WM_MOVE);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(static_cast<short>(LOWORD(moves[0].lParam)), client.x);
    EXPECT_EQ(static_cast<short>(HIWORD(moves[0].lParam)), client.y);
  }
  seen.clear();
  ASSERT_TRUE(SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
  Pump();
  EXPECT_TRUE(Only(WM_MOVE).empty()) << "a place the window already has is no move";
}

}  // namespace
