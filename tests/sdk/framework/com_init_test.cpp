#include "sdk/framework/com_init.h"

#include <gtest/gtest.h>

#include <thread>

#include "sdk/framework/cpu_level.h"

namespace {

TEST(ComInit, UsesAreCountedPerThread) {
  EXPECT_EQ(ComThreadUseCount(), 0u);
  ComUninitThread();  // a thread without uses is left alone
  EXPECT_EQ(ComThreadUseCount(), 0u);
  EXPECT_EQ(ComInitThread(), 0);
  EXPECT_EQ(ComInitThread(), 0);
  EXPECT_EQ(ComThreadUseCount(), 2u);
  uint32_t other = 99;
  std::thread worker([&] {
    ComInitThread();
    other = ComThreadUseCount();
    ComUninitThread();
  });
  worker.join();
  EXPECT_EQ(other, 1u);
  EXPECT_EQ(ComThreadUseCount(), 2u);
  ComUninitThread();
  EXPECT_EQ(ComThreadUseCount(), 1u);
  ComUninitThread();
  EXPECT_EQ(ComThreadUseCount(), 0u);
}

TEST(CpuLevel, IsAValidClassAndTheSameEachTime) {
  int level = GetCpuLevel();
  EXPECT_GE(level, 1);
  EXPECT_LE(level, 4);
#if defined(__x86_64__)
  EXPECT_EQ(level, 4);  // every 64-bit x86 has MMX and CMOV
#endif
  EXPECT_EQ(GetCpuLevel(), level);
}

}  // namespace
