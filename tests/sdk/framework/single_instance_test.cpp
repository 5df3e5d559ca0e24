#include "sdk/framework/single_instance_checker.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/simulated_input.h"
#include "platform/window.h"
#include "sdk/framework/mutex.h"
#include "sdk/framework/process_window_finder.h"
#include "sdk/framework/window_application.h"
#include "platform/sjis_literal.h"

extern char** environ;

namespace {

// An executable path of our own making, so that no real copy of the game is disturbed.
std::string FakeExePath(const char* tag) {
  return "/tmp\\vrel-instance-test-" + std::to_string(::getpid()) + "-" + tag + "\\game";
}

// Another copy of this test program running the copy below with an executable path: "second"
// checks once and ends; "hold" checks and keeps running until its input closes. It reports on
// descriptor 3, one line per event.
class ChildCopy {
 public:
  ChildCopy(const std::string& exe, const char* mode) {
    int input[2], report[2];
    if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(report, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_adddup2(&actions, report[1], 3);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> env = {"VREL_INSTANCE_EXE=" + exe, std::string("VREL_INSTANCE_MODE=") + mode};
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string self = "/proc/self/exe";
    std::string filter = "--gtest_filter=SingleInstanceCopy.DISABLED_RunAsAnotherCopy";
    std::string disabled = "--gtest_also_run_disabled_tests";
    char* argv[] = {self.data(), filter.data(), disabled.data(), nullptr};
    if (posix_spawn(&m_pid, self.c_str(), &actions, nullptr, argv, envp.data()) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(input[0]);
    ::close(report[1]);
    m_input = input[1];
    m_report = report[0];
  }
  ~ChildCopy() {
    CloseInput();
    if (m_pid > 0) {
      ::kill(m_pid, SIGKILL);
      Wait();
    }
    if (m_report >= 0) ::close(m_report);
  }

  bool started() const { return m_pid > 0; }

  // The next line the copy reports; empty when it has ended without one.
  std::string ReadLine() {
    std::string line;
    char c;
    while (::read(m_report, &c, 1) == 1 && c != '\n') line += c;
    return line;
  }
  void CloseInput() {
    if (m_input >= 0) ::close(m_input);
    m_input = -1;
  }
  void Kill() { ::kill(m_pid, SIGKILL); }
  // The exit status, or -signal.
  int Wait() {
    int status = 0;
    if (m_pid <= 0 || ::waitpid(m_pid, &status, 0) != m_pid) return -1000;
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }

 private:
  pid_t m_pid = -1;
  int m_input = -1;
  int m_report = -1;
};

// The copy that ChildCopy starts; it does nothing in a normal run.
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
  ChildCopy second(exe, "second");
  ASSERT_TRUE(second.started());
  EXPECT_EQ(second.ReadLine(), "valid=0");
  EXPECT_EQ(second.Wait(), 0);
  EXPECT_EQ(raised.load(), 1);
  // A copy started from another path runs beside it.
  ChildCopy other(FakeExePath("other"), "second");
  EXPECT_EQ(other.ReadLine(), "valid=1");
  EXPECT_EQ(other.Wait(), 0);
  EXPECT_EQ(raised.load(), 1);
}

TEST_F(SingleInstance, TheLockIsFreedWhenTheFirstCopyEndsOrDies) {
  for (const bool dies : {false, true}) {
    const std::string exe = FakeExePath(dies ? "dies" : "ends");
    ChildCopy first(exe, "hold");
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
    ChildCopy second(exe, "second");
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
