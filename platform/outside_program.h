// Running an outside program (a tags maker, a diff, a user's command) and reading what it prints.
//
// Contract:
// - Start runs request.program without a shell: a name with a "/" is a path, any other name is
//   looked up on PATH. Texts are Shift-JIS here and UTF-8 for the system (program, arguments,
//   folder, environment values). argv[0] is the program as given.
// - The child: standard input from /dev/null; standard output and standard error into one pipe
//   that Read drains; a process group of its own (so Terminate reaches whatever it started);
//   request.environment ("NAME=value") added over the caller's environment; working folder
//   request.folder (an exact path, empty for the caller's). No other descriptor of ours is open in
//   it.
// - A program that cannot be found or started gives no RunningProgram and the system's text
//   (Shift-JIS) in errorText.
// - Poll waits up to the limit for output or the end: kOutput while bytes wait in the pipe (also
//   after the end), kEnded once the child ended and nothing waits, kTimeout otherwise. Read
//   appends every byte waiting in the pipe (never blocks). Ended is true once the child ended, and
//   ExitStatus is then its status (a signal's end as 128 + the signal).
// - An ended child is reaped by Terminate or by the end of its RunningProgram, not before: until
//   then its id stays taken, so ending its group can never reach another process's group.
// - Terminate ends the whole group (SIGKILL), also when the child already ended and something it
//   started still holds the pipe, and reaps the child. A RunningProgram that goes out of scope
//   terminates: no process of its group outlives it, none stays a zombie.
// - OutsidePrograms is what callers hold, so that tests can put their own runner in its place.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct ProgramRequest {
  std::string program;                   // Shift-JIS: a path, or a name found on PATH
  std::vector<std::string> arguments;    // Shift-JIS, argv[1...]
  std::string folder;                    // Shift-JIS exact path; empty: the caller's folder
  std::vector<std::string> environment;  // Shift-JIS "NAME=value", added to the caller's
};

class RunningProgram {
 public:
  enum class PollResult { kOutput, kEnded, kTimeout };

  virtual ~RunningProgram() = default;
  virtual PollResult Poll(std::chrono::milliseconds limit) = 0;
  // Appends the bytes waiting in the pipe to out; the count appended.
  virtual size_t Read(std::string* out) = 0;
  virtual bool Ended() const = 0;
  virtual std::optional<int> ExitStatus() const = 0;
  virtual void Terminate() = 0;
};

class OutsidePrograms {
 public:
  virtual ~OutsidePrograms() = default;
  virtual std::unique_ptr<RunningProgram> Start(const ProgramRequest& request, std::string* errorText) = 0;
};

// The real runner.
std::shared_ptr<OutsidePrograms> SystemOutsidePrograms();

}  // namespace platform
