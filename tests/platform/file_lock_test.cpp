// Locks on edited files: between two objects of one process and between two real processes.
#include "platform/file_lock.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <unistd.h>

#include "child_copy.h"
#include "scoped_temp_dir.h"

using platform::FileLock;

namespace {

using Mode = FileLock::Mode;
using Result = FileLock::Result;

TEST(FileLock, OneHolderAgainstAnotherInTheSameProcess) {
  ScopedTempDir folder;
  folder.Write("a.txt", "text");
  const std::string path = folder.File("a.txt");
  struct Case {
    const char* name;
    Mode held;
    Mode asked;
    Result expected;
  };
  const Case cases[] = {
      {"exclusive blocks exclusive", Mode::kExclusive, Mode::kExclusive, Result::kHeldElsewhere},
      {"exclusive blocks shared", Mode::kExclusive, Mode::kShared, Result::kHeldElsewhere},
      {"shared admits shared", Mode::kShared, Mode::kShared, Result::kLocked},
      {"shared blocks exclusive", Mode::kShared, Mode::kExclusive, Result::kHeldElsewhere},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FileLock holder;
    ASSERT_EQ(holder.Lock(path, c.held), Result::kLocked);
    EXPECT_TRUE(holder.IsHeld());
    EXPECT_EQ(holder.GetMode(), c.held);
    EXPECT_FALSE(platform::CanLockExclusively(path));
    EXPECT_EQ(platform::IsLockedExclusively(path), c.held == Mode::kExclusive);
    FileLock other;
    EXPECT_EQ(other.Lock(path, c.asked), c.expected);
    EXPECT_EQ(other.IsHeld(), c.expected == Result::kLocked);
    // A refused lock holds nothing, and the probes took nothing either.
    holder.Unlock();
    other.Unlock();
    EXPECT_FALSE(holder.IsHeld());
    EXPECT_TRUE(platform::CanLockExclusively(path));
    EXPECT_FALSE(platform::IsLockedExclusively(path));
  }
}

TEST(FileLock, RelockingChangesTheModeAndTheEndOfTheObjectReleases) {
  ScopedTempDir folder;
  folder.Write("a.txt", "text");
  const std::string path = folder.File("a.txt");
  {
    FileLock lock;
    ASSERT_EQ(lock.Lock(path, Mode::kExclusive), Result::kLocked);
    ASSERT_EQ(lock.Lock(path, Mode::kShared), Result::kLocked);  // its own old lock is not in the way
    EXPECT_FALSE(platform::IsLockedExclusively(path));
    EXPECT_FALSE(platform::CanLockExclusively(path));
  }
  EXPECT_TRUE(platform::CanLockExclusively(path));
}

TEST(FileLock, WhatCannotBeOpenedIsNeitherLockedNorProbed) {
  ScopedTempDir folder;
  std::filesystem::create_directories(folder.path() / "sub");
  const struct {
    const char* name;
    std::string path;
  } cases[] = {
      {"missing", folder.File("none.txt")},
      {"folder", folder.File("sub")},
      {"empty", ""},
      {"byte that decodes to nothing", folder.File("a\x81")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FileLock lock;
    EXPECT_EQ(lock.Lock(c.path, Mode::kExclusive), Result::kCannotOpen);
    EXPECT_FALSE(lock.IsHeld());
    EXPECT_FALSE(platform::CanLockExclusively(c.path));
    EXPECT_FALSE(platform::IsLockedExclusively(c.path));
  }
}

// The copy: takes the lock the environment names, reads the file through a descriptor of its own
// and closes that (which would drop an fcntl lock), reports, and holds on until its input closes.
TEST(FileLockCopy, DISABLED_HoldsALock) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  const char* path = std::getenv("VREL_LOCK_PATH");
  const char* mode = std::getenv("VREL_LOCK_MODE");
  ASSERT_TRUE(path && mode);
  FileLock lock;
  const Result result = lock.Lock(path, std::strcmp(mode, "shared") == 0 ? Mode::kShared : Mode::kExclusive);
  const int other = ::open(path, O_RDONLY);
  char byte;
  [[maybe_unused]] const ssize_t n = ::read(other, &byte, 1);
  ::close(other);
  dprintf(3, "locked=%d\n", result == Result::kLocked ? 1 : 0);
  WaitForInputToClose();
}

// The copy: once its input closes, says whether it could take an exclusive lock.
TEST(FileLockCopy, DISABLED_ProbesWhenTold) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  const char* path = std::getenv("VREL_LOCK_PATH");
  ASSERT_TRUE(path);
  dprintf(3, "ready\n");
  WaitForInputToClose();
  dprintf(3, "can=%d\n", platform::CanLockExclusively(path) ? 1 : 0);
}

TEST(FileLock, AnotherProcessesLockHoldsUntilItEnds) {
  ScopedTempDir folder;
  folder.Write("a.txt", "text");
  const std::string path = folder.File("a.txt");
  for (const char* mode : {"exclusive", "shared"}) {
    SCOPED_TRACE(mode);
    const bool exclusive = std::strcmp(mode, "exclusive") == 0;
    ChildCopy child("FileLockCopy.DISABLED_HoldsALock",
                    {"VREL_LOCK_PATH=" + path, std::string("VREL_LOCK_MODE=") + mode});
    ASSERT_TRUE(child.started());
    ASSERT_EQ(child.ReadLine(), "locked=1");
    EXPECT_FALSE(platform::CanLockExclusively(path));
    EXPECT_EQ(platform::IsLockedExclusively(path), exclusive);
    FileLock mine;
    EXPECT_EQ(mine.Lock(path, Mode::kShared), exclusive ? Result::kHeldElsewhere : Result::kLocked);
    mine.Unlock();
    EXPECT_EQ(mine.Lock(path, Mode::kExclusive), Result::kHeldElsewhere);
    child.CloseInput();
    EXPECT_EQ(child.Wait(), 0);
    EXPECT_EQ(mine.Lock(path, Mode::kExclusive), Result::kLocked);
  }
}

TEST(FileLock, AStartedProcessDoesNotInheritTheLock) {
  ScopedTempDir folder;
  folder.Write("a.txt", "text");
  const std::string path = folder.File("a.txt");
  FileLock lock;
  ASSERT_EQ(lock.Lock(path, Mode::kExclusive), Result::kLocked);
  ChildCopy child("FileLockCopy.DISABLED_ProbesWhenTold", {"VREL_LOCK_PATH=" + path});
  ASSERT_TRUE(child.started());
  ASSERT_EQ(child.ReadLine(), "ready");
  lock.Unlock();
  child.CloseInput();
  EXPECT_EQ(child.ReadLine(), "can=1");
  EXPECT_EQ(child.Wait(), 0);
}

}  // namespace
