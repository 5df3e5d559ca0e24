#include "sdk/framework/thread.h"

#include <gtest/gtest.h>

#include <atomic>

#include "platform/sync.h"

namespace {

// Waits on its event until it is invalidated.
class Waiter : public CThread {
 public:
  ~Waiter() override { StopThread(); }
  void ThreadBody() override {
    validAtStart = IsThreadValid();
    startedAtStart = IsThreadStarted();
    running.Set();
    while (IsThreadValid()) WaitThreadEvent(-1);
  }
  std::atomic<bool> validAtStart{false};
  std::atomic<bool> startedAtStart{false};
  platform::AutoResetEvent running;
};

TEST(Thread, AStopRightAfterTheStartIsNeverLost) {
  // Were the valid flag and the event made on the new thread, a stop issued before it got there
  // would be overwritten and the join below would never return.
  for (int i = 0; i < 100; ++i) {
    Waiter w;
    ASSERT_EQ(w.CreateThread(), 0);
    EXPECT_EQ(w.StopThread(), 0);
    EXPECT_FALSE(w.IsThreadStarted());
    EXPECT_FALSE(w.IsThreadValid());
  }
}

TEST(Thread, TheBodySeesItselfValidAndStartedAndEndsWithItsEventGone) {
  Waiter w;
  EXPECT_EQ(w.WaitThreadEvent(0), -1);  // no event before a start
  EXPECT_EQ(w.StopThread(), 0);         // nothing to stop
  ASSERT_EQ(w.CreateThread(), 0);
  EXPECT_TRUE(w.IsThreadStarted());
  ASSERT_TRUE(w.running.Wait(platform::kInfinite));
  EXPECT_EQ(w.StopThread(), 0);
  EXPECT_TRUE(w.validAtStart);
  EXPECT_TRUE(w.startedAtStart);
  EXPECT_EQ(w.WaitThreadEvent(0), -1);
  // And once more on the same object.
  ASSERT_EQ(w.CreateThread(), 0);
  EXPECT_EQ(w.StopThread(), 0);
}

TEST(Thread, WaitThreadEventReportsSignalAndTimeOut) {
  class Probe : public CThread {
   public:
    void ThreadBody() override {
      timedOut = WaitThreadEvent(1);
      ready.Set();
      signalled = WaitThreadEvent(-1);
    }
    std::atomic<int> timedOut{-2}, signalled{-2};
    platform::AutoResetEvent ready;
  } probe;
  ASSERT_EQ(probe.CreateThread(), 0);
  probe.ready.Wait(platform::kInfinite);
  probe.InvalidateThread();
  EXPECT_EQ(probe.StopThread(), 0);
  EXPECT_EQ(probe.timedOut, 0);
  EXPECT_EQ(probe.signalled, 1);
}

TEST(Thread, RunThreadRunsTheBodyOnTheCallingThread) {
  class Here : public CThread {
   public:
    void ThreadBody() override {
      thread = platform::GetCurrentThreadId();
      started = IsThreadStarted();
    }
    uint32_t thread = 0;
    bool started = false;
  } here;
  EXPECT_EQ(here.RunThread(), 0);
  EXPECT_EQ(here.thread, platform::GetCurrentThreadId());
  EXPECT_TRUE(here.started);
  EXPECT_FALSE(here.IsThreadStarted());
  EXPECT_TRUE(here.IsThreadValid());  // only an invalidation clears it
}

TEST(Thread, AThreadThatStopsItselfDoesNotWaitForItself) {
  class SelfStopper : public CThread {
   public:
    void ThreadBody() override {
      result = StopThread();
      bodyDone = true;
    }
    void OnEndThread() override {
      CThread::OnEndThread();
      if (bodyDone) ended.Set();  // the last thing the thread does with this object
    }
    std::atomic<int> result{-2};
    std::atomic<bool> bodyDone{false};
    platform::AutoResetEvent ended;
  } stopper;
  ASSERT_EQ(stopper.CreateThread(), 0);
  ASSERT_TRUE(stopper.ended.Wait(platform::kInfinite));
  EXPECT_EQ(stopper.result, 1);
  EXPECT_FALSE(stopper.IsThreadValid());
  EXPECT_EQ(stopper.StopThread(), 0);  // nothing left to wait for
}

}  // namespace
