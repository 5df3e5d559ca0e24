#include "platform/outside_program.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

#include "platform/error_text.h"
#include "platform/path.h"
#include "platform/process.h"
#include "platform/sjis.h"

namespace platform {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// Without a process descriptor to wait on, the end is looked for this often.
constexpr milliseconds kEndCheckSlice{10};
// How long a killed child may take to go before its reaping is left to ChildProcess.
constexpr milliseconds kReapLimit{5000};

// The system's default search list when PATH is not set.
constexpr char kDefaultPath[] = "/bin:/usr/bin";

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : m_fd(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  int get() const { return m_fd; }

 private:
  int m_fd;
};

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The host path of a program name found on the caller's PATH, or an error number. A relative
// entry of PATH is taken against the caller's folder, as the lookup was, not the child's.
std::string FindOnPath(const std::string& name, int* error) {
  const char* env = std::getenv("PATH");
  const std::string_view list = env ? env : kDefaultPath;
  std::string here;
  *error = ENOENT;
  size_t start = 0;
  for (;;) {
    const size_t end = std::min(list.find(':', start), list.size());
    std::string folder(list.substr(start, end - start));
    if (folder.empty() || folder[0] != '/') {
      if (here.empty()) {
        char buffer[PATH_MAX];
        if (::getcwd(buffer, sizeof(buffer))) here = buffer;
      }
      folder = here + (folder.empty() ? "" : "/" + folder);
    }
    const std::string candidate = folder + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
    if (::access(candidate.c_str(), F_OK) == 0) *error = EACCES;  // there, but not to be run
    if (end == list.size()) break;
    start = end + 1;
  }
  return {};
}

// The program as the system spells it; empty with the error number when it cannot be.
std::string HostProgram(const std::string& program, int* error) {
  if (program.empty()) {
    *error = ENOENT;
    return {};
  }
  if (program.find('/') != std::string::npos) {
    std::string host;
    if (!ExactHostPath(program, host)) *error = EILSEQ;
    return host;
  }
  return FindOnPath(SjisToUtf8(program), error);
}

// A descriptor that turns readable when the process ends (called directly: the C library's
// declaration of it is not usable from C++ everywhere); -1 where the system has none.
int PidFd(pid_t pid) {
#ifdef SYS_pidfd_open
  const long fd = ::syscall(SYS_pidfd_open, pid, 0);
  if (fd >= 0) ::fcntl(static_cast<int>(fd), F_SETFD, FD_CLOEXEC);
  return static_cast<int>(fd);
#else
  (void)pid;
  return -1;
#endif
}

int StatusOf(const siginfo_t& info) {
  if (info.si_code == CLD_EXITED) return info.si_status;
  return 128 + info.si_status;  // killed or dumped
}

class SystemRunningProgram final : public RunningProgram {
 public:
  SystemRunningProgram(ChildProcess child, int outputFd)
      : m_child(std::move(child)), m_output(outputFd), m_pidFd(PidFd(m_child.Id())) {}
  ~SystemRunningProgram() override { Terminate(); }

  PollResult Poll(milliseconds limit) override {
    const auto deadline = steady_clock::now() + limit;
    for (;;) {
      CheckEnd();
      pollfd fds[2];
      nfds_t count = 0;
      const bool watchOutput = !m_outputClosed;
      if (watchOutput) fds[count++] = {m_output.get(), POLLIN, 0};
      const bool watchEnd = !m_status && m_pidFd.get() >= 0;
      if (watchEnd) fds[count++] = {m_pidFd.get(), POLLIN, 0};
      const auto left = std::max(milliseconds(0), std::chrono::duration_cast<milliseconds>(deadline - steady_clock::now()));
      // After the end only what already waits counts; without a process descriptor the end is
      // looked for between slices.
      const milliseconds wait = m_status ? milliseconds(0) : watchEnd ? left : std::min(left, kEndCheckSlice);
      const int n = ::poll(fds, count, static_cast<int>(std::min<int64_t>(wait.count(), INT_MAX)));
      if (n < 0) {
        if (errno == EINTR) continue;
        return m_status ? PollResult::kEnded : PollResult::kTimeout;
      }
      if (watchOutput && n > 0) {
        if (fds[0].revents & POLLIN) return PollResult::kOutput;
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
          // Every writer has gone (the child and whatever it started): the output is complete.
          m_outputClosed = true;
          continue;
        }
      }
      if (m_status) return PollResult::kEnded;
      if (steady_clock::now() >= deadline) {
        CheckEnd();
        return m_status ? PollResult::kEnded : PollResult::kTimeout;
      }
    }
  }

  size_t Read(std::string* out) override {
    size_t total = 0;
    if (m_outputClosed) return 0;
    char buffer[65536];
    for (;;) {
      const ssize_t got = ::read(m_output.get(), buffer, sizeof(buffer));
      if (got > 0) {
        out->append(buffer, static_cast<size_t>(got));
        total += static_cast<size_t>(got);
        continue;
      }
      if (got == 0) m_outputClosed = true;
      if (got < 0 && errno == EINTR) continue;
      return total;
    }
  }

  bool Ended() const override { return m_status.has_value(); }
  std::optional<int> ExitStatus() const override { return m_status; }

  void Terminate() override {
    if (m_reaped) return;
    // The child, ended or not, still holds its id, which is its group's: only that group is hit.
    ::kill(-m_child.Id(), SIGKILL);
    if (const std::optional<int> status = m_child.WaitForExit(kReapLimit); status && !m_status) m_status = status;
    m_reaped = true;
  }

 private:
  // Learns whether the child ended, leaving it unreaped.
  void CheckEnd() {
    if (m_status || m_reaped) return;
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(m_child.Id()), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0) {
      m_status = StatusOf(info);
    }
  }

  ChildProcess m_child;
  Descriptor m_output;  // read end of the child's output, non-blocking
  Descriptor m_pidFd;   // readable once the child ended; -1 where the system has none
  bool m_outputClosed = false;
  bool m_reaped = false;
  std::optional<int> m_status;
};

class SystemPrograms final : public OutsidePrograms {
 public:
  std::unique_ptr<RunningProgram> Start(const ProgramRequest& request, std::string* errorText) override {
    std::string ignored;
    std::string& error = errorText ? *errorText : ignored;
    error.clear();
    int number = 0;
    SpawnRequest spawn;
    spawn.executable = HostProgram(request.program, &number);
    if (spawn.executable.empty()) {
      error = SystemErrorText(number);
      return nullptr;
    }
    spawn.argv0 = SjisToUtf8(request.program);
    for (const std::string& argument : request.arguments) spawn.arguments.push_back(SjisToUtf8(argument));
    for (const std::string& variable : request.environment) spawn.environment.push_back(SjisToUtf8(variable));
    if (!request.folder.empty() && !ExactHostPath(request.folder, spawn.folder)) {
      error = SystemErrorText(EILSEQ);
      return nullptr;
    }
    int fds[2];
    if (!MakeChildPipe(fds)) {
      error = SystemErrorText(errno);
      return nullptr;
    }
    Descriptor writeEnd(fds[1]);
    ::fcntl(fds[0], F_SETFL, ::fcntl(fds[0], F_GETFL) | O_NONBLOCK);
    spawn.outputFd = writeEnd.get();
    SpawnResult started = Spawn(spawn);
    if (!started.child) {
      ::close(fds[0]);
      error = std::move(started.errorText);
      return nullptr;
    }
    return std::make_unique<SystemRunningProgram>(std::move(*started.child), fds[0]);
  }
};

}  // namespace

std::shared_ptr<OutsidePrograms> SystemOutsidePrograms() { return std::make_shared<SystemPrograms>(); }

}  // namespace platform
