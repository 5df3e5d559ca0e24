#include "editor/foundation/document/outline_items.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

TEST(OutlineItemList, AppendsInOrderAndOwnsItsItems) {
  COutlineItemList list;
  for (int i = 0; i < 1000; ++i) list.Append(i + 1, i + 2, "n" + std::to_string(i), i % 3, i % 5);
  auto pushed = std::make_unique<COutlineItem>();
  pushed->m_cName.AssignString("pushed");
  list.Push(std::move(pushed));
  list.Push(nullptr);  // nothing to own, nothing added
  ASSERT_EQ(list.GetCount(), 1001);
  const COutlineItem* item = list.GetAt(999);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->m_nFileLine, 1000);
  EXPECT_EQ(item->m_nDisplayLine, 1001);
  EXPECT_EQ(item->m_cName.View(), "n999");
  EXPECT_EQ(item->m_nKind, 0);
  EXPECT_EQ(item->m_nDepth, 4);
  EXPECT_EQ(list.GetAt(1000)->m_cName.View(), "pushed");
}

TEST(OutlineItemList, GetAtOutsideTheCountIsNull) {
  COutlineItemList list;
  EXPECT_EQ(list.GetAt(0), nullptr);
  list.Append(1, 1, "a", 0, 0);
  EXPECT_EQ(list.GetAt(-1), nullptr);
  EXPECT_EQ(list.GetAt(1), nullptr);
  EXPECT_NE(list.GetAt(0), nullptr);
}

TEST(OutlineItemList, ClearEmptiesForTheNextParse) {
  COutlineItemList list;
  list.Append(1, 1, "a", 0, 0);
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetAt(0), nullptr);
  list.Append(2, 2, "b", 0, 0);
  EXPECT_EQ(list.GetAt(0)->m_cName.View(), "b");
}

// A second parse into places the first one used: every entry and name is the second's, the ones
// past a block's end and the ones longer than a block of text too.
TEST(OutlineItemList, RefillsAfterClearWithOnlyTheNewEntries) {
  COutlineItemList list;
  const std::string longName(100 * 1024, 'L');
  for (int round = 0; round < 2; ++round) {
    list.Clear();
    const int count = round == 0 ? 5000 : 3000;
    for (int i = 0; i < count; ++i) {
      const std::string name = (round == 0 ? "first" : "second") + std::string(static_cast<size_t>(i % 97), 'x') +
                               std::to_string(i);
      list.Append(i + 1, i + 2 + round, i == 1500 ? longName + name : name, round, i % 7);
    }
    ASSERT_EQ(list.GetCount(), count);
    EXPECT_EQ(list.GetAt(count), nullptr);
    for (int i = 0; i < count; ++i) {
      const std::string name = (round == 0 ? "first" : "second") + std::string(static_cast<size_t>(i % 97), 'x') +
                               std::to_string(i);
      const COutlineItem* item = list.GetAt(i);
      ASSERT_NE(item, nullptr) << i;
      EXPECT_EQ(item->m_cName.View(), i == 1500 ? longName + name : name) << i;
      EXPECT_EQ(item->m_nFileLine, i + 1);
      EXPECT_EQ(item->m_nDisplayLine, i + 2 + round);
      EXPECT_EQ(item->m_nKind, round);
      EXPECT_EQ(item->m_nDepth, i % 7);
    }
  }
}

// A list of a large document reaches the blocks that take huge pages: every index still finds
// its own entry, in a block of items and of text alike, and a shorter second parse reuses them.
TEST(OutlineItemList, LongListsFindEveryEntryAcrossGrowingBlocks) {
  COutlineItemList list;
  for (const int count : {300000, 140000}) {
    list.Clear();
    for (int i = 0; i < count; ++i) list.Append(i + 1, count - i, "entry" + std::to_string(i), i % 9, i % 4);
    ASSERT_EQ(list.GetCount(), count);
    EXPECT_EQ(list.GetAt(count), nullptr);
    for (int i = 0; i < count; ++i) {
      const COutlineItem* item = list.GetAt(i);
      ASSERT_NE(item, nullptr) << i;
      ASSERT_EQ(item->m_nFileLine, i + 1) << i;
      ASSERT_EQ(item->m_nDisplayLine, count - i) << i;
      ASSERT_EQ(item->m_cName.View(), "entry" + std::to_string(i)) << i;
      ASSERT_EQ(item->m_nDepth, i % 4) << i;
    }
  }
}

// A name made on its own keeps its bytes, survives the bytes it was made from and gives them up
// when it refers to others.
TEST(OutlineName, OwnsAssignedBytesUntilItRefersElsewhere) {
  COutlineName name;
  {
    std::string source = "assigned";
    name.Assign(source.data(), static_cast<int>(source.size()));
    source.assign(source.size(), '?');
  }
  EXPECT_EQ(name.View(), "assigned");
  name.Assign(name.GetPtr(), 3);  // from its own bytes
  EXPECT_EQ(name.View(), "ass");
  const std::string kept = "kept elsewhere";
  name.Refer(kept);
  EXPECT_EQ(name.GetPtr(), kept.data());
  EXPECT_EQ(name.GetLength(), static_cast<int>(kept.size()));
  name.Assign(nullptr, 5);
  EXPECT_EQ(name.GetLength(), 0);
}

}  // namespace
