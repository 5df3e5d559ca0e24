#include "platform/beep.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

using namespace platform;

TEST(BeepTest, EveryBeepReachesTheHookWithItsKindInOrder) {
  std::vector<UINT> heard;
  BeepHook previous = SetBeepHook([&](UINT type) { heard.push_back(type); });
  EXPECT_TRUE(MessageBeep(MB_ICONHAND));
  EXPECT_TRUE(MessageBeep(MB_OK));
  std::thread([] { MessageBeep(MB_ICONEXCLAMATION); }).join();
  EXPECT_EQ(heard, (std::vector<UINT>{MB_ICONHAND, MB_OK, MB_ICONEXCLAMATION}));

  // Restoring the bell: the hook hears nothing more.
  SetBeepHook(previous);
  EXPECT_TRUE(MessageBeep(MB_OK));
  EXPECT_EQ(heard.size(), 3u);
}

}  // namespace
