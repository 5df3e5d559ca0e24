#include "platform/process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/file.h>
#include <unistd.h>

#include "platform/error_text.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/named_lock.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "process_child_run.h"
#include "process_state.h"
#include "scoped_named_objects.h"

namespace {

using namespace std::chrono_literals;
using platform::ChildProcess;
using platform::ProcessLauncher;
using IdleResult = ChildProcess::IdleResult;

std::string Hex(std::string_view bytes) {
  std::string hex;
  for (unsigned char c : bytes) {
    char two[3];
    std::snprintf(two, sizeof(two), "%02x", c);
    hex += two;
  }
  return hex;
}

// Signal settings of this process changed for one test and put back.
class SignalChanges {
 public:
  SignalChanges() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGUSR1, &ignore, &m_oldUsr1);
    sigset_t block;
    sigemptyset(&block);
    sigaddset(&block, SIGUSR2);
    ::pthread_sigmask(SIG_BLOCK, &block, &m_oldMask);
  }
  ~SignalChanges() {
    ::sigaction(SIGUSR1, &m_oldUsr1, nullptr);
    ::pthread_sigmask(SIG_SETMASK, &m_oldMask, nullptr);
  }

 private:
  struct sigaction m_oldUsr1 {};
  sigset_t m_oldMask{};
};

TEST(Process, ChildGetsTheMarkerTheTextAndTheFolderAndNothingOfItsParent) {
  ProcessChildRun run;
  const ScopedNamedObjects names("vrel-process-inherit");
  // The parent holds a named lock, and a lock on a descriptor that would go along with an exec.
  platform::NamedLock held;
  ASSERT_EQ(held.Open(names.name()), platform::NamedLock::Result::kAcquired);
  const std::string rawPath = run.dir().File("raw.lock");
  int raw = ::open(rawPath.c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(raw, 0);
  ASSERT_EQ(::flock(raw, LOCK_EX | LOCK_NB), 0);

  // Bytes a shell would take apart or a conversion would change: quotes, trail bytes equal to "\".
  const std::string kActions = "marker text cwd session stdin fds signals env " + run.Gate() + " \"a b\" " + "表ソ"_sj;
  const ScopedTempDir folder;
  const auto ownFolder = std::filesystem::current_path();
  std::optional<ChildProcess> child;
  {
    const SignalChanges changes;
    platform::SpawnRequest request = run.Request(kActions);
    request.folder = folder.path().string();
    platform::SpawnResult spawned = platform::Spawn(request);
    ASSERT_TRUE(spawned.child) << spawned.errorText;
    EXPECT_TRUE(spawned.errorText.empty());
    child = std::move(spawned.child);
  }
  ASSERT_NE(run.WaitForLine("env "), "");
  EXPECT_EQ(std::filesystem::current_path(), ownFolder);

  // Once the parent lets its locks go, nobody holds them: the child never had them.
  held.Close();
  ::close(raw);
  platform::NamedLock again;
  EXPECT_EQ(again.Open(names.name()), platform::NamedLock::Result::kAcquired);
  raw = ::open(rawPath.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(raw, 0);
  EXPECT_EQ(::flock(raw, LOCK_EX | LOCK_NB), 0);
  ::close(raw);
  EXPECT_EQ(child->WaitForExit(0ms), std::nullopt) << "the child should still be running";

  const std::vector<std::string> expected = {
      std::string("marker ") + kTestMarker,
      "text " + Hex(run.Text(kActions)),
      "cwd " + std::filesystem::canonical(folder.path()).string(),
      "session leader",
      "stdin null",
      "fds 0 1 2 3",  // 3: the ready pipe
      "signals default unblocked",
      "env given removed",
  };
  EXPECT_EQ(run.Lines(), expected);
  run.Release();
  EXPECT_EQ(child->WaitForInputIdle(10s), IdleResult::kReady);
  EXPECT_EQ(child->WaitForExit(10s), 0);
}

TEST(Process, WithoutAReadyPipeTheChildHasOnlyTheStandardDescriptors) {
  ProcessChildRun run;
  platform::SpawnResult spawned = platform::Spawn(run.Request("fds env", false));
  ASSERT_TRUE(spawned.child) << spawned.errorText;
  EXPECT_EQ(spawned.child->WaitForExit(10s), 0);
  EXPECT_EQ(run.Lines(), (std::vector<std::string>{"fds 0 1 2", "env none removed"}));
  EXPECT_EQ(spawned.child->WaitForInputIdle(0ms), IdleResult::kFailed);
}

// The start-up benchmark names its mark's pipe in the environment; a child never has that
// descriptor (all but the standard ones and the ready pipe are closed), and the number could name
// its ready pipe, which a mark would write into and close.
TEST(Process, TheFirstFrameMarksVariableStaysWithTheParent) {
  ProcessChildRun run;
  ASSERT_EQ(setenv("VREL_FIRST_FRAME_FD", "3", 1), 0);
  platform::SpawnResult spawned = platform::Spawn(run.Request("markenv", true));
  unsetenv("VREL_FIRST_FRAME_FD");
  ASSERT_TRUE(spawned.child) << spawned.errorText;
  EXPECT_EQ(spawned.child->WaitForExit(10s), 0);
  EXPECT_EQ(run.Lines(), (std::vector<std::string>{"markenv none"}));
}

TEST(Process, ReadyComesWhenThePumpFirstWaitsOrTheChildEnds) {
  struct Case {
    const char* name;
    const char* actions;
    const char* firstLine;  // when it keeps running
    int status;             // when it ends by itself
  };
  const Case cases[] = {
      {"waiting in GetMessage", "pump", "pumping", 0},
      {"finding nothing in PeekMessage", "peek", "pumping", 0},
      {"waiting for a message box's answer", "box", "box", 0},
      {"ending without a pump", "exit 7", nullptr, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProcessChildRun run;
    platform::SpawnResult spawned = platform::Spawn(run.Request(run.Gate() + " " + c.actions));
    ASSERT_TRUE(spawned.child) << spawned.errorText;
    ChildProcess& child = *spawned.child;
    EXPECT_EQ(child.WaitForInputIdle(50ms), IdleResult::kTimeout);
    run.Release();
    EXPECT_EQ(child.WaitForInputIdle(10s), IdleResult::kReady);
    EXPECT_EQ(child.WaitForInputIdle(0ms), IdleResult::kReady) << "ready stays ready";
    if (c.firstLine) {
      EXPECT_EQ(run.Lines(), std::vector<std::string>{c.firstLine});
      EXPECT_EQ(child.WaitForExit(0ms), std::nullopt) << "ready while it still runs";
      KillAndCollect(child);
    } else {
      EXPECT_EQ(child.WaitForExit(10s), c.status);
    }
  }
}

TEST(Process, AStrayReadyVariableNeverClosesADescriptorOfTheChilds) {
  // The variable names a descriptor that is no ready pipe (or no number): the child keeps it
  // through what its pump does at its first wait, and the variable is gone all the same.
  for (const char* kind : {"stdout", "file", "pipe-read", "text"}) {
    SCOPED_TRACE(kind);
    ProcessChildRun run;
    platform::SpawnRequest request = run.Request("env idle stray", false);
    request.environment = {std::string("PROCESS_CHILD_STRAY=") + kind};
    platform::SpawnResult spawned = platform::Spawn(request);
    ASSERT_TRUE(spawned.child) << spawned.errorText;
    EXPECT_EQ(spawned.child->WaitForExit(10s), 0);
    EXPECT_EQ(run.Lines(), (std::vector<std::string>{"env given removed", "stray open"}));
  }
}

TEST(Process, ChildrenNotWaitedForLeaveNoZombie) {
  ProcessChildRun run;
  // Ended before its object goes.
  pid_t ended = -1;
  {
    platform::SpawnResult spawned = platform::Spawn(run.Request("exit 0"));
    ASSERT_TRUE(spawned.child) << spawned.errorText;
    ended = spawned.child->Id();
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (ProcessState(ended) != 'Z' && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(2ms);
    ASSERT_EQ(ProcessState(ended), 'Z');
  }
  EXPECT_TRUE(GoneWithin(ended, 10s));

  // Still running when its object goes; ends later.
  pid_t running = -1;
  {
    platform::SpawnResult spawned = platform::Spawn(run.Request(run.Gate() + " exit 0"));
    ASSERT_TRUE(spawned.child) << spawned.errorText;
    running = spawned.child->Id();
  }
  EXPECT_NE(ProcessState(running), 0);
  run.Release();
  EXPECT_TRUE(GoneWithin(running, 10s));
}

TEST(Process, StartFailuresGiveTheSystemsText) {
  struct Case {
    const char* name;
    std::string executable;
    std::string folder;
    int error;
  };
  const Case cases[] = {
      {"missing executable", "/nonexistent-vrel/child", "", ENOENT},
      {"missing folder", ProcessChildRun::Executable(), "/nonexistent-vrel-folder", ENOENT},
      {"folder that is a file", ProcessChildRun::Executable(), ProcessChildRun::Executable(), ENOTDIR},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::SpawnRequest request;
    request.executable = c.executable;
    request.arguments = {kTestMarker, "exit 0"};
    request.folder = c.folder;
    request.readyPipe = true;
    const platform::SpawnResult spawned = platform::Spawn(request);
    EXPECT_FALSE(spawned.child);
    EXPECT_EQ(spawned.errorText, platform::SystemErrorText(c.error));
    EXPECT_FALSE(spawned.errorText.empty());
  }
}

TEST(Process, SelfLauncherStartsInTheEditorsFolderAndWaitsForItsPump) {
  ProcessChildRun run;
  // An exact path of the editor: Shift-JIS inside, UTF-8 on disk.
  std::filesystem::create_directory(run.dir().path() / u8"作業");
  const std::string folder = run.dir().path().string() + "/" + "作業"_sj;
  platform::SelfLauncher launcher("--own-marker", ProcessChildRun::Executable());

  const ProcessLauncher::Result result = launcher.Launch(run.Text("pid marker text cwd pump"), folder, 10s);
  EXPECT_EQ(result.status, ProcessLauncher::Status::kStarted);
  EXPECT_TRUE(result.errorText.empty());
  // Ready means pumping: every line before the pump is there already, without waiting.
  const std::vector<std::string> lines = run.Lines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[1], "marker --own-marker");
  EXPECT_EQ(lines[2], "text " + Hex(run.Text("pid marker text cwd pump")));
  EXPECT_EQ(lines[3], "cwd " + (std::filesystem::canonical(run.dir().path()) / u8"作業").string());
  EXPECT_EQ(lines[4], "pumping");
  const pid_t pid = std::stoi(lines[0].substr(4));
  // The launcher kept no object of it: once killed, it is reaped all the same.
  ::kill(pid, SIGKILL);
  EXPECT_TRUE(GoneWithin(pid, 10s));
}

// Before its pump first waits, a new edit window asks every window that is open whether it has the
// file already, the starter's among them: the starter answers while it waits for it.
constexpr UINT kQuestion = WM_USER + 17;
constexpr LRESULT kAnswer = 4321;

LRESULT AnsweringProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return message == kQuestion ? kAnswer : platform::DefWindowProc(hwnd, message, wParam, lParam);
}

TEST(Process, SelfLauncherAnswersTheNewProcesssSendsWhileItWaits) {
  platform::EnsureGuiApp();
  WNDCLASSEX wc;
  wc.lpfnWndProc = AnsweringProc;
  wc.lpszClassName = "ProcessTestAnsweringWindow";
  ASSERT_NE(platform::RegisterClassEx(&wc), 0);
  HWND hwnd = platform::CreateWindowEx(0, wc.lpszClassName, "w", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  const platform::ipc::WindowId id = platform::ipc::RegisterWindow(hwnd, wc.lpszClassName);
  ASSERT_NE(id, 0u);

  ProcessChildRun run;
  platform::SelfLauncher launcher(kTestMarker, ProcessChildRun::Executable());
  const std::string actions = "pid send " + std::to_string(id) + " " + std::to_string(kQuestion) + " pump";
  const ProcessLauncher::Result result = launcher.Launch(run.Text(actions), {}, 10s);
  EXPECT_EQ(result.status, ProcessLauncher::Status::kStarted);
  const std::vector<std::string> lines = run.Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines, (std::vector<std::string>{lines[0], "sent " + std::to_string(kAnswer), "pumping"}));
  const pid_t pid = std::stoi(lines[0].substr(4));
  ::kill(pid, SIGKILL);
  EXPECT_TRUE(GoneWithin(pid, 10s));

  platform::ipc::UnregisterWindow(id);
  platform::DestroyWindow(hwnd);
}

TEST(Process, SelfLauncherReportsWhatWentWrong) {
  struct Case {
    const char* name;
    std::string executable;
    std::string folder;  // exact path
    std::string actions;
    std::optional<std::chrono::milliseconds> limit;
    ProcessLauncher::Status status;
    int error;  // for a failed start
  };
  const std::string child = ProcessChildRun::Executable();
  const Case cases[] = {
      {"missing executable", "/nonexistent-vrel/child", "", "exit 0", 10s, ProcessLauncher::Status::kStartFailed, ENOENT},
      {"missing folder", child, "/nonexistent-vrel-folder", "exit 0", 10s, ProcessLauncher::Status::kStartFailed, ENOENT},
      {"folder without a host spelling", child, "/tmp/\x81", "exit 0", 10s, ProcessLauncher::Status::kStartFailed, EILSEQ},
      {"never ready in time", child, "", "sleep 5000", 100ms, ProcessLauncher::Status::kNotReady, 0},
      {"not waited for", child, "", "sleep 5000", std::nullopt, ProcessLauncher::Status::kStarted, 0},
      {"ended at once", child, "", "exit 3", 10s, ProcessLauncher::Status::kStarted, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProcessChildRun run;
    platform::SelfLauncher launcher(kTestMarker, c.executable);
    const auto start = std::chrono::steady_clock::now();
    const ProcessLauncher::Result result = launcher.Launch(run.Text(c.actions), c.folder, c.limit);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.errorText, c.error ? platform::SystemErrorText(c.error) : std::string());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4000ms) << "no wait beyond the limit";
  }
}

}  // namespace
