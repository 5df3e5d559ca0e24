#include "editor/shell/commands/key_bindings.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>

#include "editor/shell/commands/command_catalog.h"
#include "platform/sjis_literal.h"

namespace {

KeyAssignRecord Key(uint16_t code, const char* name, std::initializer_list<std::pair<int, int>> bindings) {
  KeyAssignRecord r{};
  r.nKeyCode = code;
  std::strncpy(r.szKeyName, name, sizeof r.szKeyName - 1);
  for (auto [m, id] : bindings) r.nCommands[m] = id;
  return r;
}

struct AccelDeleter {
  void operator()(platform::AcceleratorTable* t) const { DestroyAcceleratorTable(t); }
};

TEST(KeyBindings, AcceleratorForShiftCtrlFindsItsCommand) {
  const KeyAssignRecord keys[] = {Key(0x70, "F1", {{3, 31455}})};
  std::unique_ptr<platform::AcceleratorTable, AccelDeleter> table(CreateKeyAccelerators(1, keys));
  ASSERT_NE(table, nullptr);
  ACCEL out[4];
  ASSERT_EQ(CopyAcceleratorTable(table.get(), out, 4), 1);
  EXPECT_EQ(out[0].fVirt, FVIRTKEY | FNOINVERT | FSHIFT | FCONTROL);
  EXPECT_EQ(out[0].key, 0x70);
  EXPECT_EQ(out[0].cmd, 0x370);
  EXPECT_EQ(FindKeyCommand(0x370, 1, keys), 31455);
  EXPECT_EQ(FindKeyCommand(0x070, 1, keys), 0);
  EXPECT_EQ(FindKeyCommand(0x371, 1, keys), 0);
}

TEST(KeyBindings, NothingAssignedGivesNoTable) {
  const KeyAssignRecord keys[] = {Key(0x41, "A", {}), Key(0, "ダブルクリック"_sj, {{0, 30400}})};
  EXPECT_EQ(CreateKeyAccelerators(2, keys), nullptr);
  EXPECT_EQ(CreateKeyAccelerators(0, keys), nullptr);
  // A count from the record beyond its slots is not walked.
  EXPECT_EQ(FindKeyCommand(0x41, -3, keys), 0);
}

TEST(KeyBindings, AltModifiersAndAllEightCombinations) {
  const KeyAssignRecord keys[] = {Key(0x5A, "Z", {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 8}})};
  std::unique_ptr<platform::AcceleratorTable, AccelDeleter> table(CreateKeyAccelerators(1, keys));
  ACCEL out[8];
  ASSERT_EQ(CopyAcceleratorTable(table.get(), out, 8), 8);
  for (int m = 0; m < 8; ++m) {
    EXPECT_EQ(out[m].cmd, m * 256 + 0x5A);
    EXPECT_EQ((out[m].fVirt & FALT) != 0, (m & 4) != 0);
    EXPECT_EQ(FindKeyCommand(m * 256 + 0x5A, 1, keys), m + 1);
  }
}

TEST(KeyBindings, KeyListOrdersByModifierThenRecord) {
  const KeyAssignRecord keys[] = {
      Key(0x41, "A", {{2, 30401}, {4, 30282}}),
      Key(0x42, "B", {{0, 31580}, {2, 30180}}),
      Key(0x43, "C", {{1, 99999}}),
  };
  const SharedSettings* none = nullptr;
  CCommandCatalog catalog(none);
  CMemory list;
  EXPECT_EQ(MakeKeyAssignList(nullptr, 3, keys, list, &catalog), 5);
  const std::string expected =
      std::string("キー\t機能名\t関数名\t機能番号\tキーマクロ記録可/不可"_sj) +
      "\r\n-----\t-----\t-----\t-----\t-----\r\n" + "B\t---名前が定義されていない-----\tRMenu\t31580\t×\r\n"_sj +
      "Shift+C\t---名前が定義されていない-----\t\t99999\t×\r\n"_sj + "Ctrl+A\tすべて選択\tSelectAll\t30401\t○\r\n"_sj +
      "Ctrl+B\tブラウズ\tBrowse\t30180\t×\r\n"_sj + "Alt+A\t選択行の昇順ソート\tSortAsc\t30282\t○\r\n"_sj;
  EXPECT_EQ(list.View(), expected);
}

TEST(KeyBindings, FirstKeyByModifierThenRecordAndMenuLabels) {
  const KeyAssignRecord keys[] = {
      Key(0x41, "A", {{2, 30602}}),
      Key(0x2D, "Ins", {{2, 30602}}),
      Key(0x43, "C", {{6, 30602}, {0, 30604}}),
  };
  CMemory key;
  ASSERT_TRUE(GetKeyNameForCommand(3, keys, key, 30602));
  EXPECT_EQ(key.View(), "Ctrl+A");
  EXPECT_FALSE(GetKeyNameForCommand(3, keys, key, 30601));
  std::vector<std::string> all;
  EXPECT_EQ(GetAllKeyNamesForCommand(3, keys, all, 30602), 3);
  EXPECT_EQ(all, (std::vector<std::string>{"Ctrl+A", "Ctrl+Ins", "Ctrl+Alt+C"}));

  struct Case {
    int id;
    std::string label;
    bool withKey;
    std::string expected;
  } const cases[] = {
      {30602, "", true, std::string("コピー"_sj) + "\tCtrl+A"},
      {30602, "&Copy", true, "&Copy\tCtrl+A"},
      {30601, "", true, std::string("切り取り"_sj) + "\t"},
      {30602, "", false, "コピー"_sj},
      {31505, "", false, "-- undefined name --"},
      {11003, "x", true, "x"},
  };
  for (const Case& c : cases) {
    std::string label = c.label;
    GetMenuLabelWithKey(nullptr, 3, keys, c.id, label, c.withKey);
    EXPECT_EQ(label, c.expected) << c.id;
  }
}

TEST(CommandCatalog, CategoriesAndTheirCommands) {
  auto settings = std::make_unique<SharedSettings>();
  CCommandCatalog catalog(settings.get());
  const int sizes[] = {31, 25, 26, 21, 1, 13, 3, 25, 34, 5, 11, 5, 18, 7, 1, 50, 25};
  for (int c = 0; c < 17; ++c) {
    EXPECT_EQ(CCommandCatalog::GetCategorySize(c), sizes[c]) << c;
    EXPECT_NE(CCommandCatalog::GetCategoryName(c), nullptr);
  }
  EXPECT_EQ(CCommandCatalog::GetCategorySize(17), 0);
  EXPECT_EQ(CCommandCatalog::GetCategoryName(-1), nullptr);
  EXPECT_STREQ(CCommandCatalog::GetCategoryName(8), "検索系"_sj);
  EXPECT_EQ(CCommandCatalog::CategoryComboTexts().size(), 17u);

  // Every command of categories 0-14 has a display name (0 of "その他" stands for no command).
  std::set<int> seen;
  char name[256];
  for (int c = 0; c < 14; ++c)
    for (int i = 0; i < CCommandCatalog::GetCategorySize(c); ++i) {
      const int id = catalog.GetCommandId(c, i);
      seen.insert(id);
      EXPECT_TRUE(catalog.GetCommandNameAt(c, i, name, sizeof name)) << id;
    }
  EXPECT_EQ(seen.size(), 221u - 1);  // the five ids listed twice, and no 0
  EXPECT_EQ(catalog.GetCommandId(1, 24), 30285);
  EXPECT_EQ(catalog.GetCommandId(8, 33), 30986);
  EXPECT_EQ(catalog.GetCommandId(8, 34), 0);
  EXPECT_EQ(catalog.CommandListTexts(14), (std::vector<std::string>{"--未定義--"_sj}));

  // Macro slots count once they have a file; their name, or else the file's, is shown.
  EXPECT_EQ(catalog.GetCommandId(15, 7), 0);
  EXPECT_FALSE(catalog.GetCommandName(31607, name, sizeof name));
  std::strcpy(settings->MacroSlots[7].File, "macro7.js");
  EXPECT_EQ(catalog.GetCommandId(15, 7), 31607);
  ASSERT_TRUE(catalog.GetCommandName(31607, name, sizeof name));
  EXPECT_STREQ(name, "macro7.js");
  std::strcpy(settings->MacroSlots[7].Name, "整形"_sj);
  ASSERT_TRUE(catalog.GetCommandNameAt(15, 7, name, sizeof name));
  EXPECT_STREQ(name, "整形"_sj);
  char small[4];
  EXPECT_TRUE(catalog.GetCommandNameAt(15, 7, small, sizeof small));
  EXPECT_STREQ(small, "整"_sj);  // cut on a whole character
  const auto macroTexts = catalog.CommandListTexts(15);
  EXPECT_EQ(macroTexts[0], "unavailable");
  EXPECT_EQ(macroTexts[7], "整形"_sj);

  // Custom menus: 31580 first, then 31501-31524, named from the settings.
  EXPECT_EQ(catalog.GetCommandId(16, 0), 31580);
  EXPECT_EQ(catalog.GetCommandId(16, 24), 31524);
  std::strcpy(settings->Common.szCMN[0], "右クリックメニュー"_sj);
  std::strcpy(settings->Common.szCMN[3], "メニュー3"_sj);
  ASSERT_TRUE(catalog.GetCommandName(31580, name, sizeof name));
  EXPECT_STREQ(name, "右クリックメニュー"_sj);
  ASSERT_TRUE(catalog.GetCommandNameAt(16, 3, name, sizeof name));
  EXPECT_STREQ(name, "メニュー3"_sj);
  EXPECT_EQ(catalog.CommandListTexts(16).size(), 25u);
}

}  // namespace
