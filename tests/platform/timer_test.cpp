#include "platform/timer.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "platform/gui_app.h"

namespace {

using namespace platform;
using std::chrono::milliseconds;

struct Tick {
  HWND hwnd;
  UINT_PTR id;
  bool operator==(const Tick&) const = default;
};
std::vector<Tick> windowTicks;  // WM_TIMER through the window procedure
std::vector<Tick> procTicks;    // through a timer procedure

LRESULT TickProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) windowTicks.push_back({hwnd, wParam});
  return DefWindowProc(hwnd, message, wParam, lParam);
}

void OnTimer(HWND hwnd, UINT message, UINT_PTR id, DWORD) {
  EXPECT_EQ(message, WM_TIMER);
  procTicks.push_back({hwnd, id});
}

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

// Pumps until the condition holds; false when it does not within a generous limit.
template <typename Condition>
bool PumpUntil(Condition condition) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > limit) return false;
    Pump();
    std::this_thread::sleep_for(milliseconds(1));
  }
  return true;
}

// How many WM_TIMER of the window wait in the queue (taken out, not dispatched).
int WaitingTicks(HWND hwnd) {
  int n = 0;
  MSG msg;
  while (PeekMessage(&msg, hwnd, WM_TIMER, WM_TIMER, PM_REMOVE)) ++n;
  return n;
}

class TimerTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    static const bool registered = [] {
      WNDCLASSEX wc;
      wc.lpfnWndProc = TickProc;
      wc.lpszClassName = "TimerTestWindow";
      return RegisterClassEx(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    hwnd = Make();
    windowTicks.clear();
    procTicks.clear();
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    if (IsWindow(other)) DestroyWindow(other);
    Pump();
  }
  static HWND Make() { return CreateWindowEx(0, "TimerTestWindow", "", 0, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr); }
  HWND hwnd = nullptr;
  HWND other = nullptr;
};

TEST_F(TimerTest, TicksReachTheWindowWithTheirIdUntilKilled) {
  ASSERT_EQ(SetTimer(hwnd, 455, 10, nullptr), 455u);
  ASSERT_EQ(SetTimer(hwnd, 456, 10, nullptr), 456u);
  ASSERT_TRUE(PumpUntil([] {
    int a = 0, b = 0;
    for (const Tick& t : windowTicks) (t.id == 455 ? a : b)++;
    return a >= 2 && b >= 2;
  }));
  for (const Tick& t : windowTicks) EXPECT_EQ(t.hwnd, hwnd);

  EXPECT_TRUE(KillTimer(hwnd, 455));
  EXPECT_FALSE(KillTimer(hwnd, 455));
  windowTicks.clear();
  ASSERT_TRUE(PumpUntil([] { return windowTicks.size() >= 3; }));
  for (const Tick& t : windowTicks) EXPECT_EQ(t.id, 456u);
  EXPECT_TRUE(KillTimer(hwnd, 456));
}

TEST_F(TimerTest, APumpThatFallsBehindFindsOneTickNotABacklog) {
  ASSERT_TRUE(SetTimer(hwnd, 1, 10, nullptr));
  // Several periods pass while only the toolkit's events are taken in.
  const auto end = std::chrono::steady_clock::now() + milliseconds(120);
  MSG msg;
  while (std::chrono::steady_clock::now() < end) {
    PeekMessage(&msg, hwnd, WM_USER, WM_USER, PM_NOREMOVE);
    std::this_thread::sleep_for(milliseconds(5));
  }
  // A long period now, so that counting the waiting ticks makes no new one.
  ASSERT_TRUE(SetTimer(hwnd, 1, 1000000, nullptr));
  EXPECT_EQ(WaitingTicks(hwnd), 1);
}

TEST_F(TimerTest, KillingDropsTheTickAlreadyWaiting) {
  ASSERT_TRUE(SetTimer(hwnd, 7, 10, nullptr));
  MSG msg;
  ASSERT_TRUE(PumpUntil([&] { return PeekMessage(&msg, hwnd, WM_TIMER, WM_TIMER, PM_NOREMOVE) != 0; }));
  EXPECT_TRUE(KillTimer(hwnd, 7));
  EXPECT_EQ(WaitingTicks(hwnd), 0);
  std::this_thread::sleep_for(milliseconds(40));
  Pump();
  EXPECT_TRUE(windowTicks.empty());
}

TEST_F(TimerTest, ATimerProcedureTakesTheTickInsteadOfTheWindow) {
  ASSERT_TRUE(SetTimer(hwnd, 1, 10, OnTimer));
  ASSERT_TRUE(PumpUntil([] { return procTicks.size() >= 2; }));
  EXPECT_TRUE(windowTicks.empty());
  EXPECT_EQ(procTicks.front(), (Tick{hwnd, 1}));

  // Set again without a procedure: the same timer now ticks to the window.
  ASSERT_TRUE(SetTimer(hwnd, 1, 10, nullptr));
  WaitingTicks(hwnd);
  procTicks.clear();
  ASSERT_TRUE(PumpUntil([] { return windowTicks.size() >= 2; }));
  EXPECT_TRUE(procTicks.empty());
}

TEST_F(TimerTest, ATimerIsPerWindow) {
  other = Make();
  ASSERT_TRUE(SetTimer(hwnd, 3, 10, nullptr));
  ASSERT_TRUE(SetTimer(other, 3, 10, nullptr));
  EXPECT_TRUE(KillTimer(hwnd, 3));
  ASSERT_TRUE(PumpUntil([] { return windowTicks.size() >= 2; }));
  for (const Tick& t : windowTicks) EXPECT_EQ(t.hwnd, other);
}

TEST_F(TimerTest, NoWindowNoIdOrADestroyedWindowHasNoTimer) {
  EXPECT_EQ(SetTimer(nullptr, 1, 10, nullptr), 0u);
  EXPECT_EQ(SetTimer(hwnd, 0, 10, nullptr), 0u);
  ASSERT_TRUE(SetTimer(hwnd, 9, 10, nullptr));
  DestroyWindow(hwnd);
  EXPECT_EQ(SetTimer(hwnd, 9, 10, nullptr), 0u);
  EXPECT_FALSE(KillTimer(hwnd, 9));
  // A new window may take the old one's address; the old timer never ticks to it.
  other = Make();
  std::this_thread::sleep_for(milliseconds(40));
  Pump();
  EXPECT_TRUE(windowTicks.empty());
}

TEST_F(TimerTest, OffTheGuiThreadNothingStarts) {
  UINT_PTR started = 1;
  BOOL killed = 1;
  std::thread([&] {
    started = SetTimer(hwnd, 5, 10, nullptr);
    killed = KillTimer(hwnd, 5);
  }).join();
  EXPECT_EQ(started, 0u);
  EXPECT_EQ(killed, 0);
}

}  // namespace
