#include "platform/process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>

#include "platform/error_text.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/path.h"
#include "platform/ready_pipe.h"

extern char** environ;

namespace platform {
namespace {

// The ready pipe's number in the child: the first after the standard three.
constexpr int kChildReadyFd = 3;
constexpr char kSelfExecutable[] = "/proc/self/exe";
// How often a wait for readiness does what it was given to do meanwhile.
constexpr std::chrono::milliseconds kMeanwhileEvery{1};

// The start-up benchmark's mark pipe (first_frame_mark.h).
constexpr std::string_view kFirstFrameMarkVariable = "VREL_FIRST_FRAME_FD";

std::string_view VariableName(std::string_view entry) { return entry.substr(0, entry.find('=')); }

// The caller's environment with the request's variables over it, without the first-frame mark's
// variable; the ready pipe's variable only when this child gets a pipe (the caller's own, if it
// still has one, names a descriptor the child does not have).
std::vector<std::string> ChildEnvironment(const SpawnRequest& request) {
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e) {
    const std::string_view entry(*e);
    const std::string_view name = VariableName(entry);
    // Both name descriptors of this process, which the child does not get.
    if (name == kReadyPipeVariable || name == kFirstFrameMarkVariable) continue;
    const bool replaced = std::any_of(request.environment.begin(), request.environment.end(),
                                      [&](const std::string& added) { return VariableName(added) == name; });
    if (!replaced) env.emplace_back(entry);
  }
  for (const std::string& added : request.environment) {
    if (VariableName(added) != kReadyPipeVariable) env.push_back(added);
  }
  if (request.readyPipe) env.push_back(std::string(kReadyPipeVariable) + "=" + std::to_string(kChildReadyFd));
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  pointers.reserve(texts.size() + 1);
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

bool HasNul(std::string_view text) { return text.find('\0') != std::string_view::npos; }

class SpawnSettings {
 public:
  SpawnSettings() {
    posix_spawn_file_actions_init(&m_actions);
    posix_spawnattr_init(&m_attr);
  }
  ~SpawnSettings() {
    posix_spawnattr_destroy(&m_attr);
    posix_spawn_file_actions_destroy(&m_actions);
  }
  SpawnSettings(const SpawnSettings&) = delete;
  SpawnSettings& operator=(const SpawnSettings&) = delete;

  // 0 or an error number.
  int Prepare(const SpawnRequest& request, int readyWriteFd) {
    int rc = 0;
    if (!request.folder.empty()) rc = posix_spawn_file_actions_addchdir_np(&m_actions, request.folder.c_str());
    if (rc == 0) rc = posix_spawn_file_actions_addopen(&m_actions, 0, "/dev/null", O_RDONLY, 0);
    if (rc == 0 && request.outputFd >= 0) rc = posix_spawn_file_actions_adddup2(&m_actions, request.outputFd, 1);
    if (rc == 0 && request.outputFd >= 0) rc = posix_spawn_file_actions_adddup2(&m_actions, request.outputFd, 2);
    int firstClosed = kChildReadyFd;
    if (rc == 0 && readyWriteFd >= 0) {
      rc = posix_spawn_file_actions_adddup2(&m_actions, readyWriteFd, kChildReadyFd);
      firstClosed = kChildReadyFd + 1;
    }
    // Descriptors opened without close-on-exec (by us, a library or the toolkit) would otherwise
    // go along, and with them the locks on them.
    if (rc == 0) rc = posix_spawn_file_actions_addclosefrom_np(&m_actions, firstClosed);
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    if (rc == 0) rc = posix_spawnattr_setsigdefault(&m_attr, &all);
    if (rc == 0) rc = posix_spawnattr_setsigmask(&m_attr, &none);
    if (rc == 0) {
      rc = posix_spawnattr_setflags(&m_attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    }
    return rc;
  }
  const posix_spawn_file_actions_t* actions() const { return &m_actions; }
  const posix_spawnattr_t* attr() const { return &m_attr; }

 private:
  posix_spawn_file_actions_t m_actions;
  posix_spawnattr_t m_attr;
};

int ExitCode(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

std::string SelfPath() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink(kSelfExecutable, buffer, sizeof(buffer) - 1);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string(kSelfExecutable);
}

}  // namespace

bool MakeChildPipe(int (&fds)[2]) {
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  if (fds[1] > kChildReadyFd) return true;
  // A write end at a number the child's dup2 targets would be closed there, or kept close-on-exec.
  const int moved = ::fcntl(fds[1], F_DUPFD_CLOEXEC, kChildReadyFd + 1);
  const int error = errno;
  ::close(fds[1]);
  fds[1] = moved;
  if (moved >= 0) return true;
  ::close(fds[0]);
  errno = error;
  return false;
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : m_pid(std::exchange(other.m_pid, -1)),
      m_readyFd(std::exchange(other.m_readyFd, -1)),
      m_ready(other.m_ready),
      m_collected(other.m_collected) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    Release();
    m_pid = std::exchange(other.m_pid, -1);
    m_readyFd = std::exchange(other.m_readyFd, -1);
    m_ready = other.m_ready;
    m_collected = other.m_collected;
  }
  return *this;
}

ChildProcess::~ChildProcess() { Release(); }

void ChildProcess::Release() {
  if (m_readyFd >= 0) ::close(m_readyFd);
  m_readyFd = -1;
  const pid_t pid = std::exchange(m_pid, -1);
  if (pid <= 0 || m_collected) return;
  if (::waitpid(pid, nullptr, WNOHANG) != 0) return;  // ended and reaped now, or not ours
  // Still running: a thread of its own waits for it, so that its end leaves no zombie however
  // long the child lives. Waiting for this one id never takes another part's child.
  try {
    std::thread([pid] {
      while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread to be had: the child stays a zombie until this process ends.
  }
}

ChildProcess::IdleResult ChildProcess::WaitForInputIdle(std::chrono::milliseconds limit,
                                                        const std::function<void()>& meanwhile) {
  if (m_ready) return IdleResult::kReady;
  if (m_readyFd < 0) return IdleResult::kFailed;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    const int64_t wait = std::clamp<int64_t>(left.count(), 0, meanwhile ? kMeanwhileEvery.count() : INT_MAX);
    pollfd p{m_readyFd, POLLIN, 0};
    const int n = ::poll(&p, 1, static_cast<int>(wait));
    if (n < 0) {
      if (errno == EINTR) continue;
      return IdleResult::kFailed;
    }
    if (n == 0) {
      if (left.count() <= 0) return IdleResult::kTimeout;
      if (meanwhile) meanwhile();
      continue;
    }
    char buffer[64];
    const ssize_t got = ::read(m_readyFd, buffer, sizeof(buffer));
    if (got == 0) {
      ::close(m_readyFd);
      m_readyFd = -1;
      m_ready = true;
      return IdleResult::kReady;
    }
    if (got < 0 && errno != EINTR && errno != EAGAIN) return IdleResult::kFailed;
    // Bytes the child wrote mean nothing; only the end counts.
  }
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds limit) {
  if (m_pid <= 0 || m_collected) return std::nullopt;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  auto pause = std::chrono::microseconds(200);
  for (;;) {
    int status = 0;
    const pid_t r = ::waitpid(m_pid, &status, WNOHANG);
    if (r == m_pid) {
      m_collected = true;
      return ExitCode(status);
    }
    if (r < 0 && errno != EINTR) return std::nullopt;
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::microseconds(10000));
  }
}

SpawnResult Spawn(const SpawnRequest& request) {
  if (request.executable.empty() || (request.outputFd >= 0 && request.outputFd <= kChildReadyFd) || HasNul(request.executable) || HasNul(request.argv0) || HasNul(request.folder) ||
      std::any_of(request.arguments.begin(), request.arguments.end(), [](const std::string& a) { return HasNul(a); })) {
    return {std::nullopt, SystemErrorText(EINVAL)};
  }
  int ready[2] = {-1, -1};
  if (request.readyPipe && !MakeChildPipe(ready)) return {std::nullopt, SystemErrorText(errno)};

  std::vector<std::string> args;
  args.push_back(request.argv0.empty() ? request.executable : request.argv0);
  args.insert(args.end(), request.arguments.begin(), request.arguments.end());
  std::vector<std::string> env = ChildEnvironment(request);
  std::vector<char*> argv = Pointers(args);
  std::vector<char*> envp = Pointers(env);

  pid_t pid = -1;
  int rc;
  {
    SpawnSettings settings;
    rc = settings.Prepare(request, ready[1]);
    if (rc == 0) rc = posix_spawn(&pid, request.executable.c_str(), settings.actions(), settings.attr(), argv.data(), envp.data());
  }
  if (ready[1] >= 0) ::close(ready[1]);
  if (rc != 0) {
    if (ready[0] >= 0) ::close(ready[0]);
    return {std::nullopt, SystemErrorText(rc)};
  }
  return {ChildProcess(pid, ready[0]), {}};
}

ProcessLauncher::Result SelfLauncher::Launch(std::string_view commandText, std::string_view folder,
                                             std::optional<std::chrono::milliseconds> readyLimit) {
  SpawnRequest request;
  request.executable = m_executable;
  if (m_executable == kSelfExecutable) request.argv0 = SelfPath();
  if (!folder.empty() && !ExactHostPath(folder, request.folder)) return {Status::kStartFailed, SystemErrorText(EILSEQ)};
  request.arguments = {m_marker, std::string(commandText)};
  request.readyPipe = readyLimit.has_value();
  SpawnResult spawned = Spawn(request);
  if (!spawned.child) return {Status::kStartFailed, std::move(spawned.errorText)};
  // Serving sends runs window procedures, which only the GUI thread may do.
  const std::function<void()> serveSends = [] {
    if (IsGuiThread()) ipc::ServeIncomingSends();
  };
  if (readyLimit && spawned.child->WaitForInputIdle(*readyLimit, serveSends) != ChildProcess::IdleResult::kReady) {
    return {Status::kNotReady, {}};
  }
  return {Status::kStarted, {}};
}

}  // namespace platform
