#include "platform/quit_signal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <utility>

namespace platform {
namespace {

std::atomic<bool> signalled{false};
int wakePipe[2] = {-1, -1};
// Touched on the GUI thread only.
std::function<void()>& Callback() {
  static std::function<void()> callback;
  return callback;
}

// Only async-signal-safe work here: a flag and one byte down the pipe. The signal may come between
// a failed call and the look at errno, so a write that fails (a full pipe) must not change it.
void OnSignal(int) {
  const int savedErrno = errno;
  signalled.store(true);
  if (wakePipe[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(wakePipe[1], &byte, 1);
  }
  errno = savedErrno;
}

}  // namespace

void InstallQuitSignals() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  if (::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) wakePipe[0] = wakePipe[1] = -1;
  if (QCoreApplication* app = QCoreApplication::instance(); app && wakePipe[0] >= 0) {
    // Reading the byte in the event loop is what wakes a pump that blocks for the next event.
    auto* notifier = new QSocketNotifier(wakePipe[0], QSocketNotifier::Read, app);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
      char buffer[16];
      while (::read(wakePipe[0], buffer, sizeof buffer) > 0) {
      }
      // A copy: the callback may replace itself.
      if (const std::function<void()> callback = Callback()) callback();
    });
  }
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGHUP, &action, nullptr);
}

bool QuitSignalled() { return signalled.load(); }

void ClearQuitSignal() { signalled.store(false); }

std::function<void()> SetQuitSignalCallback(std::function<void()> callback) {
  return std::exchange(Callback(), std::move(callback));
}

}  // namespace platform
