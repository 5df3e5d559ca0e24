#include "platform/named_lock.h"

#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <unistd.h>

#include "scoped_named_objects.h"

namespace {

TEST(NamedLock, FileNamesKeepSafeBytesAndEscapeTheRest) {
  struct Case {
    const char* name;
    const char* file;
  };
  const Case cases[] = {
      {"/usr+games+vrel", "%2Fusr+games+vrel.lock"},
      {"C:+\x95++vrel.exe", "C%3A+%95++vrel.exe.lock"},
      {"a b%", "a%20b%25.lock"},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::FileNameForName(c.name, ".lock"), c.file);
  // Long names stay within a file name's limit and stay apart.
  const std::string longA(300, 'x');
  std::string longB = longA;
  longB.back() = 'y';
  const std::string a = platform::FileNameForName(longA, ".lock");
  EXPECT_LE(a.size(), 255u);
  EXPECT_NE(a, platform::FileNameForName(longB, ".lock"));
}

TEST(NamedLock, OneHolderAtATime) {
  const ScopedNamedObjects names("vrel-lock-test");
  const std::string& name = names.name();
  platform::NamedLock first, second;
  EXPECT_EQ(first.Open(name), platform::NamedLock::Result::kAcquired);
  EXPECT_EQ(second.Open(name), platform::NamedLock::Result::kHeldElsewhere);
  EXPECT_TRUE(second.IsOpen());
  EXPECT_TRUE(first.Close());
  EXPECT_FALSE(first.Close());
  EXPECT_EQ(second.Open(name), platform::NamedLock::Result::kAcquired);
  EXPECT_FALSE(platform::RuntimeDirectory().empty());
}

TEST(NamedLock, WaitingOpenGetsTheLockOnceItIsFreedAndGivesUpAtItsLimit) {
  using std::chrono::milliseconds;
  const ScopedNamedObjects names("vrel-lock-wait-test");
  const std::string& name = names.name();
  platform::NamedLock holder, waiter;
  ASSERT_EQ(holder.Open(name), platform::NamedLock::Result::kAcquired);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(waiter.OpenWaiting(name, milliseconds(30)), platform::NamedLock::Result::kHeldElsewhere);
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(30));

  std::thread release([&] {
    std::this_thread::sleep_for(milliseconds(20));
    holder.Close();
  });
  EXPECT_EQ(waiter.OpenWaiting(name, milliseconds(5000)), platform::NamedLock::Result::kAcquired);
  release.join();
  EXPECT_EQ(holder.Open(name), platform::NamedLock::Result::kHeldElsewhere);
}

}  // namespace
