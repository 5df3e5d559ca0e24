#include "editor/view/commands/command_table.h"

#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <string>

#include "platform/sjis_literal.h"

namespace {

int Rows(const MacroFuncInfo* table) {
  int n = 0;
  while (table[n].m_nFuncID != -1) ++n;
  return n;
}

TEST(CommandTable, TablesHaveTheirRowsUniqueAndEndWithAnEmptyRow) {
  ASSERT_EQ(Rows(m_MacroFuncInfoArr), 236);
  ASSERT_EQ(Rows(m_MacroFuncInfoNotCommandArr), 16);
  EXPECT_STREQ(m_MacroFuncInfoArr[236].m_pszFuncName, "");
  EXPECT_STREQ(m_MacroFuncInfoNotCommandArr[16].m_pszFuncName, "");
  std::set<int> ids;
  std::set<std::string> names;
  for (int i = 0; i < 236; ++i) {
    ids.insert(m_MacroFuncInfoArr[i].m_nFuncID);
    names.insert(m_MacroFuncInfoArr[i].m_pszFuncName);
    EXPECT_EQ(m_MacroFuncInfoArr[i].m_varResult, 0) << m_MacroFuncInfoArr[i].m_pszFuncName;
  }
  EXPECT_EQ(ids.size(), 236u);
  EXPECT_EQ(names.size(), 236u);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(m_MacroFuncInfoNotCommandArr[i].m_nFuncID, 40001 + i);
    EXPECT_NE(m_MacroFuncInfoNotCommandArr[i].m_varResult, 0);
  }
  // Display order, not id order.
  EXPECT_EQ(m_MacroFuncInfoArr[3].m_nFuncID, 30120);
  EXPECT_EQ(m_MacroFuncInfoArr[235].m_nFuncID, 31455);
}

TEST(CommandTable, ArgumentTypes) {
  struct Case {
    int id;
    uint16_t args[4];
  } const cases[] = {
      {30101, {0, 0, 0, 0}},           {30106, {kVtText, kVtInt, kVtInt, 0}},
      {30117, {kVtInt, 0, 0, 0}},      {30911, {kVtText, kVtText, kVtText, kVtInt}},
      {30921, {kVtInt, kVtInt, 0, 0}}, {31451, {kVtText, kVtText, 0, 0}},
      {32801, {kVtText, 0, 0, 0}},     {31524, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    const MacroFuncInfo* row = CMacro::GetFuncInfoByID(c.id);
    ASSERT_NE(row, nullptr) << c.id;
    for (int a = 0; a < 4; ++a) EXPECT_EQ(row->m_varArguments[a], c.args[a]) << c.id << " argument " << a;
  }
  EXPECT_EQ(CMacro::GetFuncInfoByID(40005)->m_varArguments[0], kVtInt);
  EXPECT_EQ(CMacro::GetFuncInfoByID(40001)->m_varResult, kVtText);
  EXPECT_EQ(CMacro::GetFuncInfoByID(30104), nullptr);  // known to the dispatcher, not to macros
}

TEST(CommandTable, NameLookups) {
  struct Case {
    const char* name;
    int id;
  } const cases[] = {
      {"Up", 30311}, {"S_Up", 30311}, {"up", -1},  {"GetFilename", -1}, {"CustMenu24", 31524}, {"1PageDown_Sel", 30443},
      {"S_", -1},    {"", -1},        {"UpX", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(GetMacroFuncIdByName(c.name), c.id) << c.name;
  EXPECT_EQ(GetMacroFuncIdByName(nullptr), -1);
  EXPECT_STREQ(CMacro::GetFuncInfoByID(40001)->m_pszFuncName, "GetFilename");

  char display[256];
  EXPECT_EQ(GetMacroFuncIdByName("S_Undo", display), 30210);
  EXPECT_STREQ(display, "元に戻す(Undo)"_sj);
}

TEST(CommandTable, MacroNameAndDisplayName) {
  char name[64];
  char display[256];
  ASSERT_NE(GetMacroFuncName(30311, name, sizeof name, display), nullptr);
  EXPECT_STREQ(name, "Up");
  EXPECT_STREQ(display, "カーソル上移動"_sj);
  // A custom menu has no display name of its own; its macro name still comes back.
  std::memset(display, 'x', sizeof display);
  ASSERT_NE(GetMacroFuncName(31505, name, sizeof name, display), nullptr);
  EXPECT_STREQ(name, "CustMenu5");
  EXPECT_STREQ(display, "");
  EXPECT_EQ(GetMacroFuncName(12345, name, sizeof name), nullptr);
  // A short buffer gets a cut, terminated name.
  char small[5];
  ASSERT_NE(GetMacroFuncName(30101, small, sizeof small), nullptr);
  EXPECT_STREQ(small, "File");
}

TEST(CommandTable, RecordableCommands) {
  struct Case {
    int id;
    bool recordable;
  } const cases[] = {
      {30311, true},  {30340, false}, {30343, false}, {30440, false}, {30382, false},
      {30380, false}, {30119, true},  {30118, false}, {30975, true},  {30974, false},
      {32800, true},  {30604, true},  {30607, false}, {31370, true},  {30101, false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsRecordableCommand(c.id), c.recordable) << c.id;
}

}  // namespace
