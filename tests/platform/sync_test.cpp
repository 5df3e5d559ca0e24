#include "platform/sync.h"

#include <atomic>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

using platform::AutoResetEvent;
using platform::RecursiveLock;
using platform::Thread;

TEST(AutoResetEvent, StartsUnsignalledAndASignalWakesOneWaitOnly) {
  AutoResetEvent event;
  EXPECT_FALSE(event.Wait(0));
  event.Set();
  event.Set();  // signals do not add up
  EXPECT_TRUE(event.Wait(0));
  EXPECT_FALSE(event.Wait(1));
  event.Set();
  event.Reset();
  EXPECT_FALSE(event.Wait(0));
}

TEST(AutoResetEvent, WakesAWaiterOnAnotherThread) {
  AutoResetEvent go, done;
  std::atomic<bool> woke{false};
  Thread t;
  ASSERT_TRUE(t.Start([&] {
    woke = go.Wait(platform::kInfinite);
    done.Set();
  }));
  go.Set();
  EXPECT_TRUE(done.Wait(platform::kInfinite));
  EXPECT_TRUE(t.Join());
  EXPECT_TRUE(woke);
}

TEST(RecursiveLock, TheHolderMayEnterAgainOthersMayNot) {
  RecursiveLock lock;
  lock.Enter();
  EXPECT_TRUE(lock.TryEnter());
  std::atomic<int> otherGot{-1};
  Thread t;
  ASSERT_TRUE(t.Start([&] {
    otherGot = lock.TryEnter();
    if (otherGot) lock.Leave();
  }));
  t.Join();
  EXPECT_EQ(otherGot, 0);
  lock.Leave();
  lock.Leave();
  Thread t2;
  ASSERT_TRUE(t2.Start([&] {
    otherGot = lock.TryEnter();
    if (otherGot) lock.Leave();
  }));
  t2.Join();
  EXPECT_EQ(otherGot, 1);
}

TEST(RecursiveLock, GuardsACounterAcrossThreads) {
  RecursiveLock lock;
  int counter = 0;
  std::vector<Thread> threads(4);
  for (auto& t : threads) {
    ASSERT_TRUE(t.Start([&] {
      for (int i = 0; i < 10000; ++i) {
        std::lock_guard outer(lock);
        std::lock_guard inner(lock);
        ++counter;
      }
    }));
  }
  for (auto& t : threads) t.Join();
  EXPECT_EQ(counter, 40000);
}

TEST(Thread, IdsAreDistinctNonZeroAndKnownBeforeTheThreadRuns) {
  uint32_t mine = platform::GetCurrentThreadId();
  EXPECT_NE(mine, 0u);
  EXPECT_EQ(platform::GetCurrentThreadId(), mine);
  Thread a, b;
  std::atomic<uint32_t> seenA{0}, seenB{0};
  ASSERT_TRUE(a.Start([&] { seenA = platform::GetCurrentThreadId(); }));
  ASSERT_TRUE(b.Start([&] { seenB = platform::GetCurrentThreadId(); }));
  uint32_t idA = a.Id(), idB = b.Id();
  a.Join();
  b.Join();
  EXPECT_EQ(seenA, idA);
  EXPECT_EQ(seenB, idB);
  EXPECT_EQ((std::set<uint32_t>{mine, idA, idB}).size(), 3u);
}

TEST(Thread, NeverJoinsItselfAndStartsOnlyOnce) {
  Thread t;
  std::atomic<int> selfJoin{-1}, isCurrent{-1};
  AutoResetEvent release;
  ASSERT_TRUE(t.Start([&] {
    isCurrent = t.IsCurrent();
    selfJoin = t.Join();
    release.Wait(platform::kInfinite);
  }));
  EXPECT_FALSE(t.Start([] {}));  // still running
  EXPECT_FALSE(t.IsCurrent());
  release.Set();
  EXPECT_TRUE(t.Join());
  EXPECT_EQ(isCurrent, 1);
  EXPECT_EQ(selfJoin, 0);
  EXPECT_FALSE(t.Join());  // nothing left to join
  EXPECT_FALSE(t.Start(nullptr));
}

}  // namespace

namespace {

using platform::CountingEvent;
using platform::WaitForFirst;

TEST(CountingEvent, EverySignalLetsOneWaitThrough) {
  CountingEvent e;
  e.Set();
  e.Set(3);
  EXPECT_EQ(e.Count(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(e.Wait(0)) << i;
  EXPECT_FALSE(e.Wait(0));
  e.Set(2);
  e.Reset();
  EXPECT_FALSE(e.Wait(0));
}

TEST(WaitForFirst, ReportsWhichEventAndPrefersTheFirst) {
  CountingEvent notify;
  AutoResetEvent stop;
  EXPECT_EQ(WaitForFirst(notify, stop, 0), -1);
  stop.Set();
  EXPECT_EQ(WaitForFirst(notify, stop, 0), 1);
  notify.Set(2);
  stop.Set();
  EXPECT_EQ(WaitForFirst(notify, stop, 0), 0);
  EXPECT_EQ(WaitForFirst(notify, stop, 0), 0);
  EXPECT_EQ(WaitForFirst(notify, stop, 0), 1);
  EXPECT_EQ(WaitForFirst(notify, stop, 5), -1);
}

TEST(WaitForFirst, WakesOnASignalFromAnotherThread) {
  CountingEvent notify;
  AutoResetEvent stop;
  std::atomic<int> seen{0};
  Thread t;
  ASSERT_TRUE(t.Start([&] {
    while (WaitForFirst(notify, stop, platform::kInfinite) == 0) ++seen;
  }));
  notify.Set(5);
  while (seen < 5) std::this_thread::yield();
  stop.Set();
  EXPECT_TRUE(t.Join());
  EXPECT_EQ(seen, 5);
}

}  // namespace
