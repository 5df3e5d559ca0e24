// Starting other processes, above all another copy of this program, and knowing when the new one
// is ready for input.
//
// Contract:
// - Spawn starts request.executable with argv {argv0 (the executable's path when empty),
//   arguments...} in request.folder (host path; the caller's own folder when empty), without a
//   shell. The child runs in a session of its own (it outlives its starter's terminal and process
//   group; the session's and the group's id are the child's), with every signal's handling at its
//   default and an empty signal mask, stdin from /dev/null, stdout and stderr shared with the
//   caller (or both the request's outputFd), and no other descriptor open: a lock or
//   file the caller holds is never held by the child. Its environment is the caller's, with
//   request.environment ("NAME=value") added over it and the ready pipe's variable only as below.
// - With request.readyPipe the child also gets the write end of a pipe, its number in the
//   environment variable of platform/ready_pipe.h; the child closes it when its pump first waits
//   for input, or by ending. WaitForInputIdle reads end of file from it: kReady once it came
//   (and at once after that), kTimeout when the limit passed first, kFailed without a pipe. Given
//   something to do meanwhile, it does it about every millisecond while it waits.
// - On failure Spawn gives no process and the system's text for the error (Shift-JIS,
//   platform/error_text.h): a folder that cannot be entered and an executable that cannot be run
//   fail here, in the caller.
// - A ChildProcess whose exit was not collected (WaitForExit) when it goes leaves the child to be
//   reaped when it ends: no process of ours stays a zombie. The child itself is never stopped.
// - SelfLauncher starts this executable (/proc/self/exe, so the copy that runs, whatever it is
//   called) with the caller's private marker as argv[1] and the command text, byte for byte, as
//   argv[2], by which the program's start-up recognises its own launches. While it waits for the
//   new process to be ready it serves the sends that come to this process's windows (on the GUI
//   thread, platform/ipc.h), as a send's own wait does: before its pump first waits, the new
//   process asks the windows that are open, the caller's among them, and would otherwise sit out
//   the send limit on each. ProcessLauncher is what callers hold, so that tests can put their own
//   in its place.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace platform {

struct SpawnRequest {
  std::string executable;              // host path
  std::string argv0;                   // empty: the executable's path
  std::vector<std::string> arguments;  // argv[1...]
  std::string folder;                  // host path; empty: the caller's current folder
  std::vector<std::string> environment;
  bool readyPipe = false;
  int outputFd = -1;  // when set: the child's stdout and stderr (a write end from MakeChildPipe)
};

struct SpawnResult;

class ChildProcess {
 public:
  enum class IdleResult { kReady, kTimeout, kFailed };

  ChildProcess() = default;
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  // The child's process id (also after its exit was collected); -1 for none.
  pid_t Id() const { return m_pid; }
  IdleResult WaitForInputIdle(std::chrono::milliseconds limit, const std::function<void()>& meanwhile = {});
  // The exit status (a signal's end as 128 + the signal), once the child ended within the limit;
  // collected, so it is told once.
  std::optional<int> WaitForExit(std::chrono::milliseconds limit);

 private:
  friend SpawnResult Spawn(const SpawnRequest& request);

  ChildProcess(pid_t pid, int readyFd) : m_pid(pid), m_readyFd(readyFd) {}
  void Release();

  pid_t m_pid = -1;
  int m_readyFd = -1;       // the pipe's read end until end of file came
  bool m_ready = false;     // end of file came
  bool m_collected = false;  // its exit status was taken
};

struct SpawnResult {
  std::optional<ChildProcess> child;
  std::string errorText;  // Shift-JIS; empty when the child started
};

SpawnResult Spawn(const SpawnRequest& request);

// A pipe for a child: fds[0] to read, fds[1] to write, both closed on exec here, the write end
// above the numbers Spawn gives in the child (0-3) so that its dup2 there never lands on itself.
// False, with errno, when none could be made.
bool MakeChildPipe(int (&fds)[2]);

// What the editor calls to start another copy of itself.
class ProcessLauncher {
 public:
  enum class Status {
    kStarted,      // started (and ready, when a wait was asked for)
    kStartFailed,  // no process: errorText tells why
    kNotReady,     // started, but not ready for input within the limit
  };
  struct Result {
    Status status = Status::kStartFailed;
    std::string errorText;  // Shift-JIS, for kStartFailed
  };

  virtual ~ProcessLauncher() = default;
  // commandText: the editor's command line (Shift-JIS); folder: an exact path (Shift-JIS, "/"),
  // empty for the caller's current folder; readyLimit: how long to wait for the new process to be
  // ready for input, none for no wait.
  virtual Result Launch(std::string_view commandText, std::string_view folder,
                        std::optional<std::chrono::milliseconds> readyLimit) = 0;
};

class SelfLauncher final : public ProcessLauncher {
 public:
  // marker: argv[1] of every launch; executable: what to start instead of this program (tests
  // start a small stand-in).
  explicit SelfLauncher(std::string marker, std::string executable = "/proc/self/exe")
      : m_marker(std::move(marker)), m_executable(std::move(executable)) {}
  Result Launch(std::string_view commandText, std::string_view folder,
                std::optional<std::chrono::milliseconds> readyLimit) override;

 private:
  std::string m_marker;
  std::string m_executable;
};

}  // namespace platform
