#include "platform/trash.h"

#include <gtest/gtest.h>

#include <string>

#include "home_scope.h"
#include "scoped_temp_dir.h"

namespace {

TEST(Trash, MovesTheFileIntoTheHomeTrash) {
  ScopedTempDir dir;
  HomeScope home(dir.File("home"));
  dir.Write("work/a\\b.txt", "kept");
  ASSERT_TRUE(platform::MoveToTrash(dir.File("work/a\\b.txt"), platform::PathMode::kExact));
  EXPECT_FALSE(dir.Exists("work/a\\b.txt"));
  EXPECT_EQ(dir.Read("home/.local/share/Trash/files/a\\b.txt"), "kept");
  EXPECT_TRUE(dir.Exists("home/.local/share/Trash/info/a\\b.txt.trashinfo"));
}

TEST(Trash, RefusesWhatIsNotThere) {
  ScopedTempDir dir;
  HomeScope home(dir.File("home"));
  EXPECT_FALSE(platform::MoveToTrash(dir.File("missing.txt"), platform::PathMode::kExact));
  EXPECT_FALSE(platform::MoveToTrash("", platform::PathMode::kExact));
}

}  // namespace
