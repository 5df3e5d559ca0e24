#include "platform/quit_signal.h"

#include <gtest/gtest.h>

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

}  // namespace
