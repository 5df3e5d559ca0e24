#include "platform/session_end.h"

#include <chrono>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/gui_app.h"
#include "platform/quit_signal.h"
#include "platform/window.h"

namespace {

using namespace platform;

// What each window heard, as "Q" (asked) and "E1"/"E0" (told the end, agreed or not).
std::map<HWND, std::string>& Heard() {
  static std::map<HWND, std::string> heard;
  return heard;
}
// Everything every window heard, in order.
std::vector<std::pair<HWND, std::string>>& Sequence() {
  static std::vector<std::pair<HWND, std::string>> sequence;
  return sequence;
}
// How each window answers WM_QUERYENDSESSION.
std::map<HWND, LRESULT>& Answers() {
  static std::map<HWND, LRESULT> answers;
  return answers;
}
// Run inside WM_QUERYENDSESSION, once.
std::function<void()> duringQuery;

LRESULT SessionProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_QUERYENDSESSION) {
    Heard()[hwnd] += "Q";
    Sequence().emplace_back(hwnd, "Q");
    if (auto run = std::exchange(duringQuery, nullptr)) run();
    return Answers()[hwnd];
  }
  if (message == WM_ENDSESSION) {
    Heard()[hwnd] += wParam ? "E1" : "E0";
    Sequence().emplace_back(hwnd, wParam ? "E1" : "E0");
    return 0;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

const char* SessionClass() {
  static const char* const name = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = SessionProc;
    wc.lpszClassName = "SessionEndWindow";
    RegisterClassEx(&wc);
    return "SessionEndWindow";
  }();
  return name;
}

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

// Pumps until the request has been answered (a window heard WM_ENDSESSION).
void PumpUntilAnswered(const std::vector<HWND>& windows) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  auto answered = [&] {
    for (HWND w : windows)
      if (Heard()[w].find('E') != std::string::npos) return true;
    return false;
  };
  while (!answered() && std::chrono::steady_clock::now() < limit) {
    Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  Pump();
}

class SessionEndTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    Pump();
    Heard().clear();
    Answers().clear();
  }
  void TearDown() override {
    for (HWND w : windows) {
      SetSessionEndWindow(w, false);
      if (IsWindow(w)) DestroyWindow(w);
    }
    Pump();
    ClearQuitSignal();
  }
  HWND Make(LRESULT answer) {
    HWND w = CreateWindowEx(0, SessionClass(), "session", WS_CAPTION, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    Answers()[w] = answer;
    windows.push_back(w);
    return w;
  }
  std::vector<HWND> windows;
};

TEST_F(SessionEndTest, EachRequestAsksThenTellsTheRegisteredWindows) {
  struct Trigger {
    const char* name;
    std::function<void()> fire;
  };
  const Trigger triggers[] = {
      {"hang-up", [] { std::raise(SIGHUP); }},
      {"terminate", [] { std::raise(SIGTERM); }},
      {"interrupt", [] { std::raise(SIGINT); }},
      {"direct", [] { EndSession(); }},
  };
  struct Case {
    const char* name;
    std::vector<LRESULT> answers;
    std::vector<std::string> heard;
    bool destroyed;
  };
  const Case cases[] = {
      {"one window agrees", {1}, {"QE1"}, true},
      {"one window refuses", {0}, {"QE0"}, false},
      {"all agree", {1, 1, 1}, {"QE1", "QE1", "QE1"}, true},
      {"the second refuses: the third is never asked", {1, 0, 1}, {"QE0", "QE0", ""}, false},
  };
  for (const Trigger& t : triggers) {
    for (const Case& c : cases) {
      const std::string name = std::string(t.name) + ", " + c.name;
      Heard().clear();
      std::vector<HWND> made;
      for (LRESULT answer : c.answers) {
        made.push_back(Make(answer));
        ASSERT_TRUE(SetSessionEndWindow(made.back(), true)) << name;
      }
      HWND bystander = Make(1);  // not registered: hears nothing
      t.fire();
      PumpUntilAnswered(made);
      for (size_t i = 0; i < made.size(); ++i) {
        EXPECT_EQ(Heard()[made[i]], c.heard[i]) << name << ", window " << i;
        EXPECT_EQ(IsWindow(made[i]) == 0, c.destroyed) << name << ", window " << i;
      }
      EXPECT_EQ(Heard()[bystander], "") << name;
      EXPECT_TRUE(IsWindow(bystander)) << name;
      // The windows of this round are off.
      for (HWND w : made) {
        SetSessionEndWindow(w, false);
        if (IsWindow(w)) DestroyWindow(w);
      }
      ClearQuitSignal();
    }
  }
}

TEST_F(SessionEndTest, TheOrderIsAllQuestionsThenAllAnswers) {
  HWND a = Make(1), b = Make(1);
  ASSERT_TRUE(SetSessionEndWindow(b, true));
  ASSERT_TRUE(SetSessionEndWindow(a, true));
  Sequence().clear();
  ASSERT_TRUE(EndSession());
  // In the order of registration, b first; every question before any end.
  const std::vector<std::pair<HWND, std::string>> expected{{b, "Q"}, {a, "Q"}, {b, "E1"}, {a, "E1"}};
  EXPECT_EQ(Sequence(), expected);
  EXPECT_FALSE(IsWindow(a));
  EXPECT_FALSE(IsWindow(b));
}

TEST_F(SessionEndTest, ARequestWhileOneIsAnsweredIsDropped) {
  HWND w = Make(1);
  ASSERT_TRUE(SetSessionEndWindow(w, true));
  bool nested = true;
  duringQuery = [&] { nested = EndSession(); };
  EXPECT_TRUE(EndSession());
  EXPECT_FALSE(nested);
  EXPECT_EQ(Heard()[w], "QE1");
}

TEST_F(SessionEndTest, OnlyLiveTopLevelWindowsRegister) {
  HWND top = Make(1);
  HWND child = CreateWindowEx(0, SessionClass(), "child", WS_CHILD, 0, 0, 10, 10, top,
                              reinterpret_cast<HMENU>(intptr_t{3}), nullptr, nullptr);
  ASSERT_NE(child, nullptr);
  EXPECT_FALSE(SetSessionEndWindow(child, true));
  EXPECT_FALSE(SetSessionEndWindow(nullptr, true));
  HWND gone = Make(1);
  ASSERT_TRUE(SetSessionEndWindow(gone, true));
  DestroyWindow(gone);
  // Registered and taken off again: nothing is asked.
  ASSERT_TRUE(SetSessionEndWindow(top, true));
  ASSERT_TRUE(SetSessionEndWindow(top, false));
  EXPECT_TRUE(EndSession());
  EXPECT_EQ(Heard()[top], "");
  EXPECT_EQ(Heard()[child], "");
  EXPECT_TRUE(IsWindow(top));
}

TEST_F(SessionEndTest, OffTheGuiThreadNothingHappens) {
  HWND w = Make(1);
  ASSERT_TRUE(SetSessionEndWindow(w, true));
  bool registered = true, ended = true;
  std::thread([&] {
    registered = SetSessionEndWindow(w, true);
    ended = EndSession();
  }).join();
  EXPECT_FALSE(registered);
  EXPECT_FALSE(ended);
  EXPECT_EQ(Heard()[w], "");
}

}  // namespace
