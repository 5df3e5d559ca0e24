#include "editor/view/commands/command_handler_table.h"

#include <gtest/gtest.h>

#include "box_font_engine.h"
#include "editor/view/commands/command_ids.h"
#include "editor/view/pane/edit_view.h"

namespace {

TEST(CommandHandlerTable, EveryIdBelongsToOneFamily) {
  EXPECT_TRUE(CCommandHandlerTable::Get().DuplicateIds().empty());
  EXPECT_NE(CCommandHandlerTable::Get().Find(cmd::kSetMsgQuoteStr), nullptr);
  EXPECT_EQ(CCommandHandlerTable::Get().Find(30999), nullptr);
}

TEST(CommandHandlerTable, ReplacedHandlersComeBack) {
  CCommandHandlerTable& table = CCommandHandlerTable::Get();
  CCommandHandlerTable::Handler own =
      table.Replace(cmd::kSetMsgQuoteStr, [](CEditView&, const CommandCall&) { return LRESULT{5}; });
  ASSERT_TRUE(own);
  BoxFontScope fonts;
  CEditView view;
  EXPECT_EQ((*table.Find(cmd::kSetMsgQuoteStr))(view, CommandCall{}), 5);
  table.Replace(cmd::kSetMsgQuoteStr, std::move(own));
  EXPECT_EQ((*table.Find(cmd::kSetMsgQuoteStr))(view, CommandCall{}), 1);  // a null quote is ignored

  EXPECT_FALSE(table.Replace(30999, [](CEditView&, const CommandCall&) { return LRESULT{1}; }));
  EXPECT_TRUE(static_cast<bool>(table.Replace(30999, nullptr)));
  EXPECT_EQ(table.Find(30999), nullptr);
}

}  // namespace
