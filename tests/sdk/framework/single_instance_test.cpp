#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "child_copy.h"
#include "platform/simulated_input.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "sdk/framework/mutex.h"
#include "sdk/framework/process_window_finder.h"
#include "sdk/framework/single_instance_checker.h"
#include "sdk/framework/window_application.h"

extern char** environ;

namespace {

// An executable path of our own making, so that no real copy of the game is disturbed.
std::string FakeExePath(const char* tag) {
  return "/tmp\\vrel-instance-test-" + std::to_string(::getpid()) + "-" + tag + "\\game";
}

// Another copy of this test program running the copy below with an executable path: "second"
// checks once and ends; "hold" checks and keeps running until its input closes.
class InstanceCopy : public ChildCopy {
 public:
  InstanceCopy(const std::string& exe, const char* mode)
      : ChildCopy("SingleInstanceCopy.DISABLED_RunAsAnotherCopy",
                  {"VREL_INSTANCE_EXE=" + exe, std::string("VREL_INSTANCE_MODE=") + mode}) {}
};

// The copy that InstanceCopy starts; it does nothing in a normal run.
TEST(SingleInstanceCopy, DISABLED_RunAsAnotherCopy) {
  const char* exe = std::getenv("VREL_INSTANCE_EXE");
  const char* mode = std::getenv("VREL_INSTANCE_MODE");
  ASSERT_TRUE(exe && mode);
  SetInstanceRaiseHandler([] {
    dprintf(3, "raised\n");
    return true;
  });
  {
    CSingleInstanceChecker checker(exe);
    dprintf(3, "valid=%d\n", checker.IsValid() ? 1 : 0);
    if (std::string(mode) == "hold") {
      char c;
      while (::read(0, &c, 1) > 0) {
      }
    }
  }
  SetInstanceRaiseHandler(nullptr);
}

class SingleInstance : public testing::Test {
 protected:
  ~SingleInstance() override { SetInstanceRaiseHandler(nullptr); }
};

TEST_F(SingleInstance, ASecondCopyRaisesTheFirstAndDoesNotRun) {
  std::atomic<int> raised{0};
  SetInstanceRaiseHandler([&] {
    ++raised;
    return true;
  });
  const std::string exe = FakeExePath("second");
  CSingleInstanceChecker first(exe);
  ASSERT_TRUE(first.IsValid());
  InstanceCopy second(exe, "second");
  ASSERT_TRUE(second.started());
  EXPECT_EQ(second.ReadLine(), "valid=0");
  EXPECT_EQ(second.Wait(), 0);
  EXPECT_EQ(raised.load(), 1);
  // A copy started from another path runs beside it.
  InstanceCopy other(FakeExePath("other"), "second");
  EXPECT_EQ(other.ReadLine(), "valid=1");
  EXPECT_EQ(other.Wait(), 0);
  EXPECT_EQ(raised.load(), 1);
}

TEST_F(SingleInstance, TheLockIsFreedWhenTheFirstCopyEndsOrDies) {
  for (const bool dies : {false, true}) {
    const std::string exe = FakeExePath(dies ? "dies" : "ends");
    InstanceCopy first(exe, "hold");
    ASSERT_TRUE(first.started());
    ASSERT_EQ(first.ReadLine(), "valid=1");
    {
      CSingleInstanceChecker second(exe);
      EXPECT_FALSE(second.IsValid());
      EXPECT_EQ(first.ReadLine(), "raised");
    }
    if (dies) {
      first.Kill();
      EXPECT_EQ(first.Wait(), -SIGKILL);
    } else {
      first.CloseInput();
      EXPECT_EQ(first.Wait(), 0);
    }
    CSingleInstanceChecker third(exe);
    EXPECT_TRUE(third.IsValid()) << (dies ? "after the first copy died" : "after the first copy ended");
  }
}

TEST_F(SingleInstance, CopiesInOneProcessAndTheirPaths) {
  std::atomic<int> raised{0};
  SetInstanceRaiseHandler([&] {
    ++raised;
    return false;  // no window to raise
  });
  const std::string a = FakeExePath("a");
  const std::string b = FakeExePath("b");
  auto first = std::make_unique<CSingleInstanceChecker>(a);
  CSingleInstanceChecker other(b);
  EXPECT_TRUE(first->IsValid());
  EXPECT_TRUE(other.IsValid());
  EXPECT_EQ(CProcessWindowFinder().Find(a.c_str()), 1);  // asked, but nothing was raised
  EXPECT_EQ(raised.load(), 1);
  {
    CSingleInstanceChecker again(a);
    EXPECT_FALSE(again.IsValid());
  }
  EXPECT_EQ(raised.load(), 2);
  first.reset();
  EXPECT_EQ(CProcessWindowFinder().Find(a.c_str()), 1);  // nobody listens any more
  EXPECT_EQ(raised.load(), 2);
  CSingleInstanceChecker later(a);
  EXPECT_TRUE(later.IsValid());
}

// An application whose main routine is the test's own.
class ScriptedApp : public CWindowApplication {
 public:
  std::function<void()> script;
  int AppMain() override {
    script();
    return 0;
  }
};

// Pumps until done is set; a bounded number of passes, so a failure never hangs the run.
bool PumpUntil(CWindowApplication& app, const std::atomic<bool>& done) {
  for (int pass = 0; pass < 2'000'000 && !done; ++pass) {
    app.PumpMessages();
    std::this_thread::yield();
  }
  return done;
}

TEST_F(SingleInstance, WithoutAHandlerTheMainWindowIsRestoredAndRaised) {
  ScriptedApp app;
  app.script = [&app] {
    HWND hwnd = GetAppWindowHandle();
    platform::SimulateMinimize(hwnd);
    app.PumpMessages();
    ASSERT_TRUE(platform::IsIconic(hwnd));
    const std::string exe = FakeExePath("window");
    CSingleInstanceChecker first(exe);
    ASSERT_TRUE(first.IsValid());
    InstanceCopy second(exe, "second");
    std::string report;
    std::atomic<bool> reported{false};
    std::thread reader([&] {
      report = second.ReadLine();
      reported = true;
    });
    const bool answered = PumpUntil(app, reported);
    reader.join();
    ASSERT_TRUE(answered);
    EXPECT_EQ(report, "valid=0");
    EXPECT_EQ(second.Wait(), 0);
    EXPECT_FALSE(platform::IsIconic(hwnd));
  };
  app.Run();
}

TEST_F(SingleInstance, MutexNamesReplaceEveryBackslashByte) {
  // The trail byte of "表" is 0x5C as well.
  EXPECT_EQ(CSingleInstanceChecker::MutexNameOf("C:\\表\\vrel.exe"_sj), "C:+\x95++vrel.exe");
  EXPECT_EQ(CSingleInstanceChecker::MutexNameOf("/usr\\games\\vrel"), "/usr+games+vrel");
  CMutex m1, m2;
  const std::string name = FakeExePath("mutex");
  EXPECT_EQ(m1.Open(name), 0);
  EXPECT_EQ(m2.Open(name), 1);
  EXPECT_EQ(m2.Close(), 1);
  EXPECT_EQ(m2.Close(), 0);
  EXPECT_EQ(m1.Close(), 1);
  EXPECT_EQ(m2.Open(name), 0);  // free again
}

}  // namespace
