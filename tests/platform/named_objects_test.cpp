// Named mutexes and the manual-reset event, in one process and between processes.
#include <gtest/gtest.h>

#include <thread>

#include "platform/named_event.h"
#include "platform/named_lock.h"
#include "platform/named_mutex.h"
#include "platform/shared_memory.h"
#include "process_child_run.h"
#include "scoped_named_objects.h"

namespace {

using namespace std::chrono_literals;
using platform::NamedEvent;
using platform::NamedMutex;

TEST(NamedMutex, OneOwnerAndHoldersThatDoNotOwnIt) {
  const ScopedNamedObjects names("vrel-mutex-test");
  const std::string& name = names.name();
  EXPECT_FALSE(NamedMutex::OwnerExists(name));

  NamedMutex owner, rival, marker;
  EXPECT_EQ(owner.CreateOwned(name), NamedMutex::Result::kOwned);
  EXPECT_TRUE(owner.Owns());
  EXPECT_TRUE(NamedMutex::OwnerExists(name));
  EXPECT_TRUE(NamedMutex::OwnerExists(name)) << "a look leaves nothing behind";
  EXPECT_EQ(rival.CreateOwned(name), NamedMutex::Result::kExists);
  EXPECT_FALSE(rival.Owns());
  EXPECT_EQ(marker.CreateNotOwned(name), NamedMutex::Result::kExists);

  owner.Close();
  EXPECT_FALSE(NamedMutex::OwnerExists(name));
  // Any number hold it without owning it; no owner comes while they do.
  NamedMutex second;
  EXPECT_EQ(marker.CreateNotOwned(name), NamedMutex::Result::kHeld);
  EXPECT_EQ(second.CreateNotOwned(name), NamedMutex::Result::kHeld);
  EXPECT_FALSE(NamedMutex::OwnerExists(name));
  EXPECT_EQ(rival.CreateOwned(name), NamedMutex::Result::kExists);
  marker.Close();
  second.Close();
  EXPECT_EQ(rival.CreateOwned(name), NamedMutex::Result::kOwned);
}

TEST(NamedMutex, AnOwnerIsNotKeptOutBySomeoneLookingAtIt) {
  const ScopedNamedObjects names("vrel-mutex-look-test");
  // What a look holds, for longer than a look does, but within the grace.
  platform::NamedLock look;
  ASSERT_EQ(look.Open(names.name(), platform::NamedLock::Mode::kShared), platform::NamedLock::Result::kAcquired);
  std::thread release([&] {
    std::this_thread::sleep_for(20ms);
    look.Close();
  });
  NamedMutex owner;
  EXPECT_EQ(owner.CreateOwned(names.name()), NamedMutex::Result::kOwned);
  release.join();
}

TEST(NamedMutex, AnotherProcessOwnsItUntilItEndsHoweverItEnds) {
  const ScopedNamedObjects names("vrel-mutex-process-test");
  ProcessChildRun run;
  platform::SpawnResult spawned = platform::Spawn(run.Request("mutex " + names.name() + " sleep 30000"));
  ASSERT_TRUE(spawned.child) << spawned.errorText;
  ASSERT_EQ(run.WaitForLine("mutex "), "mutex owned");
  EXPECT_TRUE(NamedMutex::OwnerExists(names.name()));
  NamedMutex mine;
  EXPECT_EQ(mine.CreateOwned(names.name()), NamedMutex::Result::kExists);

  KillAndCollect(*spawned.child);
  EXPECT_FALSE(NamedMutex::OwnerExists(names.name())) << "no stale owner after a kill";
  EXPECT_EQ(mine.CreateOwned(names.name()), NamedMutex::Result::kOwned);
}

TEST(NamedEvent, HeldByItsCreatorUntilSetThenSignalledForEveryWaiter) {
  const ScopedNamedObjects names("vrel-event-test");
  const std::string& name = names.name();
  NamedEvent creator, other;
  ASSERT_EQ(creator.Create(name), NamedEvent::Result::kCreated);
  EXPECT_TRUE(creator.IsCreator());
  EXPECT_EQ(other.Create(name), NamedEvent::Result::kOpened);
  EXPECT_FALSE(other.IsCreator());
  EXPECT_FALSE(other.Set()) << "only the creator signals";
  EXPECT_EQ(NamedEvent::Wait(name, 20ms), NamedEvent::WaitResult::kTimeout);

  EXPECT_TRUE(creator.Set());
  EXPECT_TRUE(creator.Set());
  // Manual reset: a wait leaves it signalled for the next one.
  EXPECT_EQ(NamedEvent::Wait(name, 0ms), NamedEvent::WaitResult::kSignalled);
  EXPECT_EQ(NamedEvent::Wait(name, 0ms), NamedEvent::WaitResult::kSignalled);
  EXPECT_EQ(other.Create(name), NamedEvent::Result::kOpened) << "a signalled event exists";

  creator.Close();
  EXPECT_EQ(NamedEvent::Wait(name, 0ms), NamedEvent::WaitResult::kSignalled) << "nobody holds it";
  EXPECT_EQ(other.Create(name), NamedEvent::Result::kCreated) << "made afresh";
  EXPECT_EQ(NamedEvent::Wait(name, 0ms), NamedEvent::WaitResult::kTimeout);
}

TEST(NamedEvent, WaitsAcrossProcesses) {
  const ScopedNamedObjects names("vrel-event-process-test");
  const std::string& name = names.name();
  {
    // Another process creates and sets it; this one waits.
    ProcessChildRun run;
    platform::SpawnResult spawned = platform::Spawn(run.Request("event " + name + " " + run.Gate() + " set sleep 30000"));
    ASSERT_TRUE(spawned.child) << spawned.errorText;
    ASSERT_EQ(run.WaitForLine("event "), "event created");
    EXPECT_EQ(NamedEvent::Wait(name, 20ms), NamedEvent::WaitResult::kTimeout);
    run.Release();
    EXPECT_EQ(NamedEvent::Wait(name, 10s), NamedEvent::WaitResult::kSignalled);
    EXPECT_EQ(run.WaitForLine("event set"), "event set");
    NamedEvent late;
    EXPECT_EQ(late.Create(name), NamedEvent::Result::kOpened);
    KillAndCollect(*spawned.child);
    EXPECT_EQ(late.Create(name), NamedEvent::Result::kCreated) << "no stale event after a kill";
  }
  {
    // This one creates it; another process waits, first in vain, then until it is set.
    NamedEvent mine;
    ASSERT_EQ(mine.Create(name), NamedEvent::Result::kCreated);
    ProcessChildRun run;
    platform::SpawnResult spawned =
        platform::Spawn(run.Request("wait " + name + " 30 " + run.Gate() + " wait " + name + " 10000"));
    ASSERT_TRUE(spawned.child) << spawned.errorText;
    ASSERT_EQ(run.WaitForLine("wait "), "wait timeout");
    EXPECT_TRUE(mine.Set());
    run.Release();
    EXPECT_EQ(spawned.child->WaitForExit(10s), 0);
    EXPECT_EQ(run.Lines(), (std::vector<std::string>{"wait timeout", "wait signalled"}));
  }
}

TEST(NamedObjects, ARuntimeFolderOfItsOwnSharesNothing) {
  const ScopedNamedObjects names("vrel-runtime-folder-test");
  const std::string& name = names.name();
  platform::NamedLock lock;
  ASSERT_EQ(lock.Open(name + ".held"), platform::NamedLock::Result::kAcquired);
  platform::SharedMemory record;
  ASSERT_EQ(record.Open(name, 64, {}, {}), platform::SharedMemory::Result::kCreated);

  const ScopedTempDir ownRuntime;
  struct Case {
    const char* name;
    std::vector<std::string> environment;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"the same runtime folder", {}, {"lock held", "shm attached"}},
      {"a runtime folder of its own", {"XDG_RUNTIME_DIR=" + ownRuntime.path().string()}, {"lock acquired", "shm created"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProcessChildRun run;
    platform::SpawnRequest request = run.Request("lock " + name + ".held shm " + name, false);
    request.environment = c.environment;
    platform::SpawnResult spawned = platform::Spawn(request);
    ASSERT_TRUE(spawned.child) << spawned.errorText;
    EXPECT_EQ(spawned.child->WaitForExit(10s), 0);
    EXPECT_EQ(run.Lines(), c.lines);
  }
  // The record the child made under its own folder's name; the shared-memory namespace is the
  // machine's, so it is removed here.
  const char* before = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved = before ? before : "";
  ::setenv("XDG_RUNTIME_DIR", ownRuntime.path().c_str(), 1);
  const std::string ownObject = platform::SharedMemory::ObjectName(name);
  if (before) {
    ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
  } else {
    ::unsetenv("XDG_RUNTIME_DIR");
  }
  EXPECT_NE(ownObject, platform::SharedMemory::ObjectName(name));
  EXPECT_EQ(::shm_unlink(ownObject.c_str()), 0);
}

}  // namespace
