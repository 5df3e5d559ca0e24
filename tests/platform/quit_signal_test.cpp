#include "platform/quit_signal.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>

namespace {

TEST(QuitSignal, InterruptTerminateAndHangUpAskToQuit) {
  platform::InstallQuitSignals();
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    platform::ClearQuitSignal();
    EXPECT_FALSE(platform::QuitSignalled());
    std::raise(sig);  // the process lives on: the handler only records the request
    EXPECT_TRUE(platform::QuitSignalled()) << sig;
  }
  platform::ClearQuitSignal();
}

// A signal may land between a failing call and the caller's look at errno: the handler must
// leave errno as it found it, also when its own write fails because nobody drained the wake-up
// pipe (it holds 64 KiB; no loop runs here to read it).
TEST(QuitSignal, TheHandlerLeavesErrnoAlone) {
  platform::InstallQuitSignals();
  for (int i = 0; i < 70000; ++i) std::raise(SIGTERM);
  errno = EDOM;
  std::raise(SIGTERM);
  EXPECT_EQ(errno, EDOM);
  platform::ClearQuitSignal();
}

}  // namespace
