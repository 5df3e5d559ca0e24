#include "sdk/framework/window_application.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/simulated_input.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "sdk/framework/app_manager.h"
#include "sdk/framework/idle_callback.h"

namespace {

using Log = std::vector<std::string>;

// An application whose main routine first runs a test's script, then the framework's loop.
class ScriptedApp : public CWindowApplication {
 public:
  std::function<void(ScriptedApp&)> script;
  int veto = 0;
  int closeQueries = 0;
  bool exited = false;
  int failAt = 0;  // 1: OnPreCreate, 2: PrepareWindowOption, 3: OnInit
  Log* log = nullptr;
  bool minimisedWhenAppSawSize = false;

  int AppMain() override {
    if (script) script(*this);
    return CWindowApplication::AppMain();
  }
  int OnPreCreate() override { return failAt == 1; }
  int PrepareWindowOption(CWindowOption& option) override {
    CWindowApplication::PrepareWindowOption(option);
    return failAt == 2;
  }
  int OnInit() override { return failAt == 3; }
  int OnExit() override {
    exited = true;
    return 0;
  }
  int OnCloseQuery() override {
    ++closeQueries;
    return veto;
  }
  LRESULT OnWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
    if (log && message >= WM_USER) log->push_back("app");
    if (message == WM_SIZE && wParam == SIZE_MINIMIZED) minimisedWhenAppSawSize = GetWindow().IsMinimised();
    return CWindowApplication::OnWindowMessage(hwnd, message, wParam, lParam);
  }
};

class RecordingHook : public IWindowHook {
 public:
  RecordingHook(std::string name, Log& log, LRESULT result = 0)
      : m_name(std::move(name)), m_log(log), m_result(result) {}
  LRESULT OnWindowMessage(HWND, UINT message, WPARAM, LPARAM) override {
    if (message < WM_USER) return 0;
    m_log.push_back(m_name);
    if (onMessage) onMessage();
    return m_result;
  }
  std::function<void()> onMessage;

 private:
  std::string m_name;
  Log& m_log;
  LRESULT m_result;
};

TEST(WindowApplication, EmptyApplicationShowsItsWindowAndUnregistersCleanly) {
  const int countBefore = CAppManager::GetAppCount();
  HWND hwnd = nullptr;
  {
    ScriptedApp app;
    EXPECT_EQ(CAppManager::GetAppCount(), countBefore + 1);
    app.script = [&](ScriptedApp& a) {
      hwnd = GetAppWindowHandle();
      EXPECT_EQ(hwnd, a.GetWindow().GetHandle());
      EXPECT_EQ(CAppManager::GetCurrentApp(), &a);
      EXPECT_EQ(CWindowApplication::GetMainApp(), &a);
      EXPECT_TRUE(a.IsMainLoopRunning());
      RECT client;
      ASSERT_TRUE(platform::GetClientRect(hwnd, &client));
      EXPECT_EQ(client.right, 640);
      EXPECT_EQ(client.bottom, 480);
      EXPECT_TRUE(platform::IsWindowVisible(hwnd));
      const std::string caption = "あぷりちゃん"_sj;
      EXPECT_EQ(platform::GetWindowText(hwnd), caption);
      a.Close();
    };
    EXPECT_EQ(app.Run(), 0);
    EXPECT_TRUE(app.exited);
    EXPECT_FALSE(app.IsMainLoopRunning());
    EXPECT_FALSE(app.IsThreadValid());
    EXPECT_FALSE(app.IsThreadStarted());
    EXPECT_EQ(CAppManager::GetCurrentApp(), nullptr);
    EXPECT_EQ(GetAppWindowHandle(), nullptr);
    // The window outlives the run, hidden, until the application object goes; only its own hook
    // is left on it.
    EXPECT_TRUE(platform::IsWindow(hwnd));
    EXPECT_FALSE(platform::IsWindowVisible(hwnd));
    EXPECT_EQ(app.GetWindow().GetHooks().Count(), 1u);
  }
  EXPECT_FALSE(platform::IsWindow(hwnd));
  EXPECT_EQ(CAppManager::GetAppCount(), countBefore);
  EXPECT_EQ(CWindowApplication::GetMainApp(), nullptr);
}

TEST(WindowApplication, HooksSeeMessagesInOrderAndTheFirstNonzeroResultEndsTheDispatch) {
  Log log;
  RecordingHook a("a", log), b("b", log, 7), c("c", log);
  ScriptedApp app;
  app.log = &log;
  LRESULT result = 0;
  app.script = [&](ScriptedApp& s) {
    AddWindowHook(&a);
    AddWindowHook(&b);
    AddWindowHook(&c);
    result = platform::SendMessage(GetAppWindowHandle(), WM_USER + 1, 0, 0);
    // The window's own hook runs before the application's: it has marked the window minimised by
    // the time the application sees the size message.
    platform::SimulateMinimize(GetAppWindowHandle());
    s.PumpMessages();
    platform::SimulateRestore(GetAppWindowHandle());
    s.PumpMessages();
    RemoveWindowHook(&a);
    RemoveWindowHook(&b);
    RemoveWindowHook(&c);
    s.Close();
  };
  ASSERT_EQ(app.Run(), 0);
  EXPECT_EQ(result, 7);
  EXPECT_EQ(log, (Log{"app", "a", "b"}));
  EXPECT_TRUE(app.minimisedWhenAppSawSize);
  EXPECT_FALSE(app.GetWindow().IsMinimised());
}

TEST(WindowApplication, HooksAddedOrRemovedDuringADispatchAreSafe) {
  Log log;
  auto b = std::make_unique<RecordingHook>("b", log);
  RecordingHook a("a", log), c("c", log);
  a.onMessage = [&] {
    if (b) {
      RemoveWindowHook(b.get());
      b.reset();  // gone for good: calling it now would touch freed memory
      AddWindowHook(&c);
    }
  };
  ScriptedApp app;
  app.script = [&](ScriptedApp& s) {
    AddWindowHook(&a);
    AddWindowHook(b.get());
    platform::SendMessage(GetAppWindowHandle(), WM_USER, 0, 0);
    EXPECT_EQ(log, (Log{"a"}));  // b was taken out, c came after the message arrived
    platform::SendMessage(GetAppWindowHandle(), WM_USER, 0, 0);
    EXPECT_EQ(log, (Log{"a", "a", "c"}));
    RemoveWindowHook(&a);
    RemoveWindowHook(&c);
    s.Close();
  };
  ASSERT_EQ(app.Run(), 0);
}

TEST(WindowApplication, UserCloseIsVetoedByOnCloseQueryButCloseIsNot) {
  ScriptedApp app;
  app.veto = 1;
  app.script = [](ScriptedApp& s) {
    platform::SimulateCloseButton(GetAppWindowHandle());
    EXPECT_TRUE(s.PumpMessages());
    EXPECT_EQ(s.closeQueries, 1);
    EXPECT_TRUE(s.IsThreadValid());
    EXPECT_TRUE(platform::IsWindowVisible(GetAppWindowHandle()));
    EXPECT_EQ(s.Close(), 1);
    EXPECT_EQ(s.closeQueries, 1);  // Close does not ask
    EXPECT_FALSE(s.IsThreadValid());
  };
  ASSERT_EQ(app.Run(), 0);
  EXPECT_TRUE(app.exited);
  EXPECT_TRUE(app.IsCloseRequested());
}

TEST(WindowApplication, UserCloseEndsTheLoopWithoutDestroyingTheWindow) {
  ScriptedApp app;
  HWND hwnd = nullptr;
  app.script = [&](ScriptedApp&) {
    hwnd = GetAppWindowHandle();
    platform::SimulateCloseButton(hwnd);  // handled by the framework's own loop
  };
  ASSERT_EQ(app.Run(), 0);
  EXPECT_EQ(app.closeQueries, 1);
  EXPECT_TRUE(app.exited);
  EXPECT_TRUE(platform::IsWindow(hwnd));
  // The main application's destroy message left the quit message behind.
  MSG msg;
  bool quit = false;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) quit = quit || msg.message == WM_QUIT;
  EXPECT_TRUE(quit);
}

TEST(WindowApplication, BlockingPumpWakesOnClose) {
  ScriptedApp app;
  app.SetBlockingPump(true);
  int pumps = 0;
  app.script = [&](ScriptedApp& s) {
    platform::PostMessage(GetAppWindowHandle(), WM_USER, 0, 0);
    EXPECT_TRUE(s.PumpMessages());  // takes the one message waiting
    ++pumps;
    s.Close();  // posts a close so that the next wait for a message ends
  };
  ASSERT_EQ(app.Run(), 0);
  EXPECT_EQ(pumps, 1);
  EXPECT_TRUE(app.exited);
}

TEST(WindowApplication, MinimisedWindowKeepsThePumpUntilRestored) {
  ScriptedApp app;
  app.SetBlockWhileMinimised(true);
  Log log;
  RecordingHook hook("user", log);
  app.script = [&](ScriptedApp& s) {
    HWND hwnd = GetAppWindowHandle();
    // Activation restores a window too: let the program be active before it is minimised.
    platform::SimulateAppActive(true);
    s.PumpMessages();
    AddWindowHook(&hook);
    platform::SimulateMinimize(hwnd);
    std::thread restorer([hwnd] {
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
      platform::PostMessage(hwnd, WM_USER, 0, 0);
      platform::PostMessage(hwnd, WM_SIZE, SIZE_RESTORED, 0);
    });
    EXPECT_TRUE(s.PumpMessages());
    restorer.join();
    // The pump returned only after the restore, having handled what came before it.
    EXPECT_FALSE(s.GetWindow().IsMinimised());
    EXPECT_EQ(log, Log{"user"});
    RemoveWindowHook(&hook);
    s.Close();
  };
  ASSERT_EQ(app.Run(), 0);
}

TEST(WindowApplication, EarlyFailuresEndTheRunWithoutRegistering) {
  struct Case {
    int failAt;
    bool windowMade;
  };
  for (Case c : {Case{1, false}, Case{2, false}, Case{3, true}}) {
    SCOPED_TRACE(c.failAt);
    ScriptedApp app;
    app.failAt = c.failAt;
    bool ran = false;
    app.script = [&](ScriptedApp&) { ran = true; };
    EXPECT_EQ(app.Run(), 0);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(app.exited);
    EXPECT_EQ(app.GetWindow().GetHandle() != nullptr, c.windowMade);
    EXPECT_EQ(CAppManager::GetCurrentApp(), nullptr);
  }
}

bool firstWindowDestroyed = false;
LRESULT WatchDestruction(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) firstWindowDestroyed = true;
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

TEST(WindowApplication, RunAgainRunsTheBodyAgainWithOneWindow) {
  ScriptedApp app;
  std::vector<HWND> windows;
  app.script = [&](ScriptedApp& s) {
    windows.push_back(GetAppWindowHandle());
    s.Close();
  };
  ASSERT_EQ(app.Run(), 0);
  firstWindowDestroyed = false;
  platform::SetWindowLongPtr(windows[0], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchDestruction));
  ASSERT_EQ(app.Run(), 0);
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_TRUE(firstWindowDestroyed);
  EXPECT_TRUE(platform::IsWindow(windows[1]));
  EXPECT_EQ(app.GetWindow().GetHooks().Count(), 1u);
}

TEST(WindowApplication, TheFirstToRunIsMainAndASecondApplicationCannotRun) {
  auto constructedFirst = std::make_unique<ScriptedApp>();
  ScriptedApp main;
  int secondRun = -1;
  HWND seenOnWorker = reinterpret_cast<HWND>(1);
  main.script = [&](ScriptedApp& s) {
    EXPECT_EQ(CWindowApplication::GetMainApp(), &s);
    secondRun = constructedFirst->Run();
    std::thread worker([&] { seenOnWorker = GetAppWindowHandle(); });
    worker.join();
    // The main application waits at its end until every other application object is gone.
    constructedFirst.reset();
    s.Close();
  };
  ASSERT_EQ(main.Run(), 0);
  EXPECT_EQ(secondRun, 1);
  EXPECT_EQ(seenOnWorker, nullptr);
}

TEST(WindowApplication, StandardClassIsSubclassedBehindTheHooks) {
  class EditApp : public ScriptedApp {
    int PrepareWindowOption(CWindowOption& option) override {
      ScriptedApp::PrepareWindowOption(option);
      option.className = "EDIT";
      return 0;
    }
  } app;
  Log log;
  RecordingHook hook("hook", log);
  app.script = [&](ScriptedApp& s) {
    HWND hwnd = GetAppWindowHandle();
    EXPECT_EQ(platform::GetWindowLongPtr(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&FrameworkWindowProc));
    AddWindowHook(&hook);
    EXPECT_EQ(platform::SendMessage(hwnd, WM_USER, 0, 0), 0);  // the class's own procedure answered
    RemoveWindowHook(&hook);
    s.Close();
  };
  ASSERT_EQ(app.Run(), 0);
  EXPECT_EQ(log, Log{"hook"});
}

TEST(WindowApplication, IdleCallbacksRunEveryPassUntilFinished) {
  struct Counter : CIdleCallback {
    int calls = 0;
    void OnIdle() override { ++calls; }
  } first, second;
  IdleCallbacks() = {&first, &second};
  ScriptedApp app;
  app.script = [&](ScriptedApp& s) {
    s.PumpMessages();
    first.finished = true;
    s.PumpMessages();
    s.PumpMessages();
    s.Close();
  };
  ASSERT_EQ(app.Run(), 0);
  EXPECT_EQ(first.calls, 1);
  EXPECT_GE(second.calls, 3);
  EXPECT_EQ(IdleCallbacks(), std::vector<CIdleCallback*>{&second});
  IdleCallbacks().clear();
}

TEST(AppManager, LookupsOffAnApplicationThreadFindNothing) {
  int draw = 0;
  CAppManager::SetDraw(&draw);  // no entry: nothing stored
  EXPECT_EQ(CAppManager::GetDraw(), nullptr);
  EXPECT_EQ(CAppManager::GetDirectDraw(), nullptr);
  EXPECT_EQ(CAppManager::GetCurrentApp(), nullptr);
  ScriptedApp app;
  app.script = [&](ScriptedApp& s) {
    CAppManager::SetDraw(&draw);
    EXPECT_EQ(CAppManager::GetDraw(), &draw);
    EXPECT_EQ(CAppManager::GetDirectDraw(), nullptr);
    void* onWorker = &draw;
    std::thread worker([&] { onWorker = CAppManager::GetDraw(); });
    worker.join();
    EXPECT_EQ(onWorker, nullptr);
    CAppManager::ClearDraw(&draw);
    EXPECT_EQ(CAppManager::GetDraw(), nullptr);
    // A second registration of the same application from this thread changes nothing.
    CAppManager::Add(&s);
    EXPECT_EQ(CAppManager::GetCurrentApp(), &s);
    s.Close();
  };
  ASSERT_EQ(app.Run(), 0);
}

}  // namespace
