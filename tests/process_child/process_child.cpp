// A small stand-in for this program that the process tests start: argv[1] is a marker it only
// reports, argv[2] a list of actions separated by spaces, done in order (other counts end with 64).
// Each action that finds something out appends one line to the report file.
//
//   report PATH        later lines go to PATH (appended)
//   marker             "marker" and argv[1]
//   text               the command text's bytes in hex
//   cwd | session | stdin | fds | signals | env   what the process was given
//   markenv            whether the first-frame mark's variable came along
//   pid                "pid N"
//   sleep MS           waits
//   waitfile PATH      waits (10 s at most) until PATH exists
//   pump | peek        makes the GUI application and waits for messages for ever (GetMessage, or a
//                      PeekMessage loop); the first wait closes the ready pipe
//   idle               what the pump does at its first wait (platform/ready_pipe.h)
//   box                makes the GUI application and shows a message box nobody answers
//   send ID MESSAGE    sends the message to the window of ipc id ID and waits: "sent" and the answer
//   lock NAME          takes the named lock exclusively and keeps it: "lock acquired" or "lock held"
//   mutex NAME         creates the named mutex owned: "mutex owned" or "mutex exists"
//   event NAME         creates the named event: "event created" or "event opened"
//   set                signals that event: "event set"
//   wait NAME MS       waits for the named event: "wait signalled" or "wait timeout"
//   shm NAME           opens a 64-byte shared record: "shm created" or "shm attached"
//   exit N             ends with status N
//   stray              "stray open" or "stray closed": the descriptor of PROCESS_CHILD_STRAY
//
// PROCESS_CHILD_STRAY (stdout, file, pipe-read or text) makes the ready pipe's variable name a
// descriptor of the process's own that is no ready pipe, or no number, before it is adopted.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/message_box.h"
#include "platform/named_event.h"
#include "platform/named_lock.h"
#include "platform/named_mutex.h"
#include "platform/ready_pipe.h"
#include "platform/shared_memory.h"
#include "platform/window.h"

namespace {

constexpr int kWrongStart = 64;

class Child {
 public:
  Child(bool readyVariableAtStart, int stray, std::string marker, std::string text)
      : m_readyVariableAtStart(readyVariableAtStart),
        m_stray(stray),
        m_marker(std::move(marker)),
        m_text(std::move(text)) {}

  int Run() {
    std::istringstream in(m_text);
    std::string action;
    while (in >> action) {
      if (action == "report") {
        in >> m_report;
      } else if (action == "marker") {
        Report("marker " + m_marker);
      } else if (action == "text") {
        std::string hex;
        for (unsigned char c : m_text) {
          char two[3];
          std::snprintf(two, sizeof(two), "%02x", c);
          hex += two;
        }
        Report("text " + hex);
      } else if (action == "cwd") {
        char buffer[4096];
        Report(std::string("cwd ") + (::getcwd(buffer, sizeof(buffer)) ? buffer : "?"));
      } else if (action == "session") {
        Report(std::string("session ") + (::getsid(0) == ::getpid() ? "leader" : "inherited"));
      } else if (action == "stdin") {
        struct stat in0 {}, null {};
        const bool isNull = ::fstat(0, &in0) == 0 && ::stat("/dev/null", &null) == 0 && S_ISCHR(in0.st_mode) &&
                            in0.st_rdev == null.st_rdev;
        Report(std::string("stdin ") + (isNull ? "null" : "other"));
      } else if (action == "fds") {
        Report("fds" + OpenDescriptors());
      } else if (action == "signals") {
        Report("signals" + SignalState());
      } else if (action == "env") {
        Report(std::string("env ") + (m_readyVariableAtStart ? "given" : "none") + " " +
               (std::getenv(platform::kReadyPipeVariable) ? "kept" : "removed"));
      } else if (action == "markenv") {
        Report(std::string("markenv ") + (std::getenv("VREL_FIRST_FRAME_FD") ? "given" : "none"));
      } else if (action == "pid") {
        Report("pid " + std::to_string(::getpid()));
      } else if (action == "waitfile") {
        std::string path;
        in >> path;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (::access(path.c_str(), F_OK) != 0 && std::chrono::steady_clock::now() < deadline) {
          std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
      } else if (action == "sleep") {
        int ms = 0;
        in >> ms;
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
      } else if (action == "pump" || action == "peek") {
        Pump(action == "peek");
      } else if (action == "idle") {
        platform::MarkInputIdle();
      } else if (action == "box") {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        platform::GuiApp gui;
        Report("box");
        // The box itself, as a screen shows it: without one MessageBox only prints.
        platform::ShowMessageDialog(platform::MessageBoxRequest{nullptr, "waiting", "process_child", 0});
      } else if (action == "send") {
        platform::ipc::WindowId id = 0;
        UINT message = 0;
        in >> id >> message;
        Report("sent " + std::to_string(platform::ipc::SendMessage(id, message, 0, 0)));
      } else if (action == "lock") {
        std::string name;
        in >> name;
        m_locks.push_back(std::make_unique<platform::NamedLock>());
        const bool got = m_locks.back()->Open(name) == platform::NamedLock::Result::kAcquired;
        Report(std::string("lock ") + (got ? "acquired" : "held"));
      } else if (action == "mutex") {
        std::string name;
        in >> name;
        const bool owned = m_mutex.CreateOwned(name) == platform::NamedMutex::Result::kOwned;
        Report(std::string("mutex ") + (owned ? "owned" : "exists"));
      } else if (action == "event") {
        std::string name;
        in >> name;
        const bool created = m_event.Create(name) == platform::NamedEvent::Result::kCreated;
        Report(std::string("event ") + (created ? "created" : "opened"));
      } else if (action == "set") {
        if (m_event.Set()) Report("event set");
      } else if (action == "wait") {
        std::string name;
        int ms = 0;
        in >> name >> ms;
        const auto result = platform::NamedEvent::Wait(name, std::chrono::milliseconds(ms));
        Report(std::string("wait ") + (result == platform::NamedEvent::WaitResult::kSignalled ? "signalled" : "timeout"));
      } else if (action == "shm") {
        std::string name;
        in >> name;
        const auto result = m_shm.Open(name, 64, {}, {});
        Report(std::string("shm ") + (result == platform::SharedMemory::Result::kCreated    ? "created"
                                      : result == platform::SharedMemory::Result::kAttached ? "attached"
                                                                                            : "failed"));
      } else if (action == "stray") {
        Report(std::string("stray ") + (m_stray >= 0 && ::fcntl(m_stray, F_GETFD) != -1 ? "open" : "closed"));
      } else if (action == "exit") {
        int status = 0;
        in >> status;
        return status;
      }
    }
    return 0;
  }

 private:
  void Report(const std::string& line) {
    if (m_report.empty()) return;
    if (FILE* f = std::fopen(m_report.c_str(), "a")) {
      std::fprintf(f, "%s\n", line.c_str());
      std::fclose(f);
    }
  }

  static std::string OpenDescriptors() {
    std::string list;
    DIR* dir = ::opendir("/proc/self/fd");
    if (!dir) return " ?";
    const int own = ::dirfd(dir);
    std::vector<int> fds;
    while (const dirent* e = ::readdir(dir)) {
      if (e->d_name[0] == '.') continue;
      const int fd = std::atoi(e->d_name);
      if (fd != own) fds.push_back(fd);
    }
    ::closedir(dir);
    std::sort(fds.begin(), fds.end());
    for (int fd : fds) list += " " + std::to_string(fd);
    return list;
  }

  // " default" when no signal is ignored (the one setting an exec keeps: handlers of the starter
  // cannot come along, and a sanitizer's own are no concern), " blocked" when any is blocked.
  static std::string SignalState() {
    std::string state;
    bool all = true;
    for (int sig = 1; sig < NSIG; ++sig) {
      struct sigaction sa {};
      if (::sigaction(sig, nullptr, &sa) == 0 && sa.sa_handler == SIG_IGN) all = false;
    }
    state += all ? " default" : " ignored";
    sigset_t mask;
    sigemptyset(&mask);
    ::sigprocmask(SIG_BLOCK, nullptr, &mask);
    bool none = true;
    for (int sig = 1; sig < NSIG; ++sig) {
      if (sigismember(&mask, sig) == 1) none = false;
    }
    state += none ? " unblocked" : " blocked";
    return state;
  }

  [[noreturn]] void Pump(bool peek) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::GuiApp gui;
    Report("pumping");
    MSG msg;
    for (;;) {
      if (peek) {
        platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      } else {
        platform::GetMessage(&msg, nullptr, 0, 0);
      }
    }
  }

  bool m_readyVariableAtStart;
  int m_stray;
  std::string m_marker;
  std::string m_text;
  std::string m_report;
  std::vector<std::unique_ptr<platform::NamedLock>> m_locks;
  platform::NamedMutex m_mutex;
  platform::NamedEvent m_event;
  platform::SharedMemory m_shm;
};

// The descriptor PROCESS_CHILD_STRAY asks for, named by the ready pipe's variable; -1 for none.
int PlantStray() {
  const char* kind = std::getenv("PROCESS_CHILD_STRAY");
  if (!kind) return -1;
  int fd = -1;
  std::string value;
  if (std::strcmp(kind, "stdout") == 0) {
    fd = 1;
  } else if (std::strcmp(kind, "file") == 0) {
    fd = ::open("/dev/null", O_WRONLY);
  } else if (std::strcmp(kind, "pipe-read") == 0) {
    int fds[2];
    if (::pipe(fds) == 0) fd = fds[0];
  }
  value = std::strcmp(kind, "text") == 0 ? "x1" : std::to_string(fd);
  ::setenv(platform::kReadyPipeVariable, value.c_str(), 1);
  return std::strcmp(kind, "text") == 0 ? 1 : fd;
}

}  // namespace

int main(int argc, char** argv) {
  const int stray = PlantStray();
  const bool readyVariable = std::getenv(platform::kReadyPipeVariable) != nullptr;
  platform::AdoptReadyPipe();
  if (argc != 3) return kWrongStart;
  return Child(readyVariable, stray, argv[1], argv[2]).Run();
}
