// Hashing, collision placement and the limits of the symbol table.
#include "game/script/script_symbol_table.h"

#include <gtest/gtest.h>
#include <string>

#include "game/script/engine_state.h"
#include "tests/game/fixtures/script_harness.h"
#include "game/script/script_tokens.h"
#include "platform/sjis_literal.h"

namespace {

int32_t IndexOf(const char* name) {
  const ScriptSymbol* entry = FindSymbol(name);
  return entry ? static_cast<int32_t>(entry - EngineState.symbolTable) : -1;
}

TEST(SymbolHash, HomeIndices) {
  struct Case {
    std::string name;
    int32_t home;
  };
  const Case cases[] = {
      {"A", 65},
      {"ABC", 6630},
      {"GS:1", 6341},
      {"A(1,2)", 7095},
      {"@", 64},
      {"MOVIE", 64},
      // Shift-JIS bytes count as negative values.
      {"\x82\xa0", 3278},
      // A sum of exactly -2^31: its magnitude taken unsigned.
      {"\xfd\x84\x80\x50\x01\xbe", 3648},
  };
  for (const Case& c : cases) EXPECT_EQ(HashName(c.name), c.home) << c.name;
}

TEST(SymbolTable, KeywordsTakeTheirHomesAndACollisionTakesTheTopEntry) {
  ScriptHarness fresh;
  for (const ScriptKeyword& keyword : ScriptKeywords()) {
    const ScriptSymbol* entry = FindSymbol(keyword.name);
    ASSERT_NE(entry, nullptr) << keyword.name;
    EXPECT_EQ(entry->token, keyword.token) << keyword.name;
  }
  // "@" is entered before MOVIE and keeps the shared home; MOVIE goes to the highest free entry.
  EXPECT_EQ(IndexOf("@"), 64);
  EXPECT_EQ(IndexOf("MOVIE"), 9999);
  EXPECT_EQ(EngineState.symbolTable[64].next, 9999);
  EXPECT_EQ(FreeSymbolCursor(), 9999);
  EXPECT_EQ(IndexOf("LABEL"), 4752);
}

TEST(SymbolTable, CollisionChainsAreAppendedAtTheEnd) {
  ScriptHarness fresh;
  // A and D6G share home 65; AKT6's home is the entry D6G then took; C6G shares the keywords' home.
  ASSERT_EQ(HashName("D6G"), 65);
  ASSERT_EQ(HashName("AKT6"), 9998);
  ASSERT_EQ(HashName("C6G"), 64);
  ScriptSymbol* a = DefineSymbol("A", kSymbolFindOrAdd);
  ScriptSymbol* d6g = DefineSymbol("D6G", kSymbolFindOrAdd);
  ScriptSymbol* akt6 = DefineSymbol("AKT6", kSymbolFindOrAdd);
  ScriptSymbol* c6g = DefineSymbol("C6G", kSymbolFindOrAdd);
  EXPECT_EQ(a, &EngineState.symbolTable[65]);
  EXPECT_EQ(d6g, &EngineState.symbolTable[9998]);
  EXPECT_EQ(akt6, &EngineState.symbolTable[9997]);
  EXPECT_EQ(c6g, &EngineState.symbolTable[9996]);
  EXPECT_EQ(EngineState.symbolTable[65].next, 9998);
  EXPECT_EQ(EngineState.symbolTable[9998].next, 9997);
  EXPECT_EQ(EngineState.symbolTable[9999].next, 9996);
  for (const char* name : {"A", "D6G", "AKT6", "C6G", "@", "MOVIE"}) EXPECT_NE(FindSymbol(name), nullptr) << name;
  // A new entry reads 0 as a variable.
  EXPECT_EQ(akt6->value, 0);
  EXPECT_EQ(akt6->token, kTokenIdentifier);
  EXPECT_TRUE(fresh.Log().empty());
}

TEST(SymbolTable, ModesReportMissingAndDuplicateNames) {
  ScriptHarness fresh;
  EXPECT_EQ(DefineSymbol("NOPE:", kSymbolFind), nullptr);
  ScriptSymbol* first = DefineSymbol("HERE:", kSymbolAdd);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(DefineSymbol("HERE:", kSymbolAdd), first);
  EXPECT_EQ(DefineSymbol("HERE:", kSymbolFind), first);
  EXPECT_EQ(fresh.Log(), (std::vector<std::string>{
                             ErrorLine(1, "NOPE:という、ラベル、もしくは変数が見つかりません"_sj, "", ""),
                             ErrorLine(1, "そのラベルは既に定義されています"_sj, "", ""),
                         }));
}

TEST(SymbolTable, FullTableReportsAndKeepsWhatItHas) {
  ScriptHarness fresh;
  int added = 0;
  for (int i = 0; DefineSymbol("V" + std::to_string(i), kSymbolFindOrAdd); ++i) ++added;
  EXPECT_EQ(added, kSymbolCount - 93);
  EXPECT_EQ(FreeSymbolCursor(), -1);
  ASSERT_EQ(fresh.Log().size(), 1u);
  EXPECT_EQ(fresh.Log()[0], ErrorLine(1, "変数領域がオーバーフローしました"_sj, "", ""));
  EXPECT_NE(FindSymbol("V0"), nullptr);
  EXPECT_NE(FindSymbol("V" + std::to_string(added - 1)), nullptr);
  // A script on a full table reads unknown names as 0 and writes them nowhere.
  fresh.Load(CrLf("V5=7\nNEWNAME=3\nX=NEWNAME+V5\nEND\n"));
  fresh.Step();
  EXPECT_EQ(*fresh.Var("V5"), 7);
  EXPECT_FALSE(fresh.Var("NEWNAME").has_value());
}

TEST(SymbolTable, LinksFromASaveNeverLeadOutsideOrAroundForever) {
  ScriptHarness fresh;
  ScriptSymbol* a = DefineSymbol("A", kSymbolFindOrAdd);
  ScriptSymbol* d6g = DefineSymbol("D6G", kSymbolFindOrAdd);
  d6g->next = 65;                         // a loop back to A
  EXPECT_EQ(FindSymbol("MRB"), nullptr);  // home 65 too
  a->next = 123456;                       // names no entry
  EXPECT_EQ(FindSymbol("D6G"), nullptr);
  // Adding repairs the chain end it walked.
  ScriptSymbol* added = DefineSymbol("MRB", kSymbolFindOrAdd);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(a->next, static_cast<int32_t>(added - EngineState.symbolTable));
}

TEST(SymbolTable, AppendNamePartStopsBeforeSixtyFourBytes) {
  ScriptHarness fresh;
  char name[kSymbolNameBytes] = {};
  EXPECT_TRUE(AppendNamePart(name, std::string(62, 'X')));
  EXPECT_TRUE(AppendNamePart(name, "("));
  EXPECT_FALSE(AppendNamePart(name, "1"));
  EXPECT_EQ(std::string(name), std::string(62, 'X') + "(");
  EXPECT_EQ(fresh.Log(),
            (std::vector<std::string>{std::string(62, 'X') + "(1\n", ErrorLine(1, "名前が長すぎます"_sj, "", "")}));
}

}  // namespace
