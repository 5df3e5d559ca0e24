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

}  // namespace
