#include "editor/view/commands/cursor_history.h"

#include <gtest/gtest.h>

namespace {

using Position = CCursorHistory::Position;

CCursorHistory::Position At(int line) { return Position{line * 2, line}; }

Position Current(const CCursorHistory& history) {
  Position position{-1, -1};
  EXPECT_TRUE(history.GetCurrent(&position));
  return position;
}

TEST(CursorHistoryTest, GoingBackThenAddingDropsTheNewerEntries) {
  CCursorHistory history;
  history.Add(At(1));
  history.Add(At(2));
  history.Add(At(3));
  EXPECT_EQ(history.GetIndex(), 3);
  Position past;
  EXPECT_FALSE(history.GetCurrent(&past));  // past the newest entry

  ASSERT_TRUE(history.GoPrev());
  EXPECT_EQ(Current(history), At(3));
  ASSERT_TRUE(history.GoPrev());
  EXPECT_EQ(Current(history), At(2));

  history.Add(At(9));
  EXPECT_EQ(history.GetCount(), 2);
  EXPECT_EQ(history.GetIndex(), 2);
  ASSERT_TRUE(history.GoPrev());
  EXPECT_EQ(Current(history), At(9));
  ASSERT_TRUE(history.GoPrev());
  EXPECT_EQ(Current(history), At(1));
  EXPECT_FALSE(history.CanGoPrev());
  EXPECT_FALSE(history.GoPrev());
  EXPECT_EQ(history.GetIndex(), 0);
}

TEST(CursorHistoryTest, TheThirtyFirstAddDropsTheOldest) {
  CCursorHistory history;
  EXPECT_EQ(history.GetMaxCount(), 10);
  history.SetMaxCount(30);
  for (int i = 0; i < 31; ++i) history.Add(At(i));
  EXPECT_EQ(history.GetCount(), 30);
  EXPECT_EQ(history.GetIndex(), 30);
  for (int i = 30; i >= 1; --i) {
    ASSERT_TRUE(history.GoPrev());
    EXPECT_EQ(Current(history), At(i));
  }
  EXPECT_FALSE(history.CanGoPrev());
}

TEST(CursorHistoryTest, ShrinkingTheMaximumTrimsAndKeepsTheIndexInRange) {
  CCursorHistory history;
  for (int i = 0; i < 5; ++i) history.Add(At(i));
  history.GoPrev();
  history.GoPrev();
  history.GoPrev();  // on At(2), index 2
  history.SetMaxCount(2);
  EXPECT_EQ(history.GetCount(), 2);
  EXPECT_EQ(history.GetIndex(), 0);  // 2 - 3, not below 0
  EXPECT_EQ(Current(history), At(3));
}

TEST(CursorHistoryTest, GoNextAtTheNewestEntryKeepsTheIndex) {
  CCursorHistory history;
  history.Add(At(1));
  history.Add(At(2));
  history.GoPrev();  // on the newest entry
  EXPECT_FALSE(history.CanGoNext());
  EXPECT_FALSE(history.GoNext());
  EXPECT_EQ(history.GetIndex(), 1);
  history.GoPrev();
  ASSERT_TRUE(history.GoNext());
  EXPECT_EQ(Current(history), At(2));
}

TEST(CursorHistoryTest, ResetEmptiesTheHistory) {
  CCursorHistory history;
  history.Add(At(1));
  history.Add(At(2));
  history.Reset();
  EXPECT_EQ(history.GetCount(), 0);
  EXPECT_EQ(history.GetIndex(), 0);
  EXPECT_FALSE(history.CanGoPrev());
  EXPECT_FALSE(history.CanGoNext());
}

// Add trims through the virtual call, so a history that keeps more of its own is honoured.
TEST(CursorHistoryTest, AddTrimsThroughTheOverride) {
  class Unbounded : public CCursorHistory {
   public:
    void Trim() override { ++trims; }
    int trims = 0;
  };
  Unbounded history;
  for (int i = 0; i < 12; ++i) history.Add(At(i));
  CCursorHistory& base = history;
  base.Add(At(12));
  EXPECT_EQ(history.trims, 13);
  EXPECT_EQ(history.GetCount(), 13);
}

}  // namespace
