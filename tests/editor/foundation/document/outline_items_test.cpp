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

}  // namespace
