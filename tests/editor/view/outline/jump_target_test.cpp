#include "editor/view/outline/jump_target.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>

#include "editor/foundation/beep_capture.h"
#include "jump_fixture.h"
#include "platform/sjis_literal.h"

namespace {

class JumpTest : public JumpFixture {
 protected:
  void Jump(int line, bool documentLines, bool plsql = false, int baseLine = 1) {
    record->bLineNumIsCRLF = documentLines ? 1 : 0;
    jumpDialog.m_nLineNum = line;
    jumpDialog.m_bPLSQL = plsql ? 1 : 0;
    jumpDialog.m_nPLSQL_E1 = baseLine;
    Run(kJump);
  }
};

// ---- Jump by display row or document line --------------------------------------------------------

struct JumpCase {
  const char* name;
  int line;
  bool documentLines;
  Pos expected;  // (column, display row)
};

class JumpTable : public JumpTest, public testing::WithParamInterface<JumpCase> {};

// Four document lines; the second is 25 bytes wrapped at 10 columns into three rows (rows 1-3).
constexpr char kWrapped[] = "one\r\nabcdefghijklmnopqrstuvwxy\r\nthree\r\nfour\r\n";

TEST_P(JumpTable, GoesToColumnZeroOfTheRow) {
  const JumpCase& c = GetParam();
  type().nWrapColumn = 10;
  SetText(kWrapped);
  PlaceAt({2, 5});
  view->m_nCaretPosX_Prev = 7;
  Jump(c.line, c.documentLines);
  EXPECT_EQ(Where(), c.expected);
  EXPECT_EQ(view->m_nCaretPosX_Prev, 0) << "the remembered column follows the caret";
}

INSTANTIATE_TEST_SUITE_P(Edges, JumpTable,
                         testing::Values(JumpCase{"DocumentLineZeroIsLineOne", 0, true, {0, 0}},
                                         JumpCase{"DisplayRowZeroIsRowOne", 0, false, {0, 0}},
                                         JumpCase{"ADocumentLineStartsAtItsFirstRow", 3, true, {0, 4}},
                                         JumpCase{"ADisplayRowInsideAWrappedLine", 3, false, {0, 2}},
                                         JumpCase{"PastTheLastDocumentLineIsTheLastLine", 99, true, {0, 5}},
                                         JumpCase{"PastTheLastRowIsTheLastRow", 99, false, {0, 5}},
                                         JumpCase{"ASaturatedNumberIsTheLastLine", INT_MAX, true, {0, 5}}),
                         [](const testing::TestParamInfo<JumpCase>& info) { return std::string(info.param.name); });

TEST_F(JumpTest, RemovesTheSelectionAndRemembersWhereTheCaretWas) {
  SetText("a\r\nb\r\nc\r\nd\r\n");
  Select({0, 1}, {1, 2});
  const int before = view->m_cHistory.GetCount();
  Jump(4, true);
  EXPECT_FALSE(Selected());
  EXPECT_EQ(Where(), (Pos{0, 3}));
  ASSERT_EQ(view->m_cHistory.GetCount(), before + 1);
  Run(30370);  // MoveHistPrev
  EXPECT_EQ(Where(), (Pos{1, 2})) << "the place the jump left";
}

TEST_F(JumpTest, AnEmptyDocumentBeepsAndStays) {
  SetText("");
  BeepCapture beeps;
  Jump(3, true);
  EXPECT_EQ(beeps.beeps, (std::vector<UINT>{MB_ICONHAND}));
  EXPECT_EQ(Where(), (Pos{0, 0}));
}

// ---- PL/SQL counting ------------------------------------------------------------------------------

struct PlsqlCase {
  const char* name;
  std::string text;
  int line;      // the number asked for
  int baseLine;  // 1-based
  int expected;  // the document line reached (0-based)
};

class PlsqlCountTable : public JumpTest, public testing::WithParamInterface<PlsqlCase> {};

TEST_P(PlsqlCountTable, ReachesTheLineTheDatabaseNames) {
  const PlsqlCase& c = GetParam();
  SetText(c.text);
  PlaceAt({0, 0});
  Jump(c.line, true, true, c.baseLine);
  EXPECT_EQ(CaretDocLine(), c.expected);
  EXPECT_EQ(view->m_nCaretPosX, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PlsqlCountTable,
    testing::Values(PlsqlCase{"BlankLinesAreNotCounted", "a\n\n \t \nb\nc\n", 2, 1, 3},
                    PlsqlCase{"ALineOfOnlyADashCommentCounts", "a\n-- note\nb\n", 2, 1, 1},
                    PlsqlCase{"TextInsideABlockCommentCounts", "a\n/* start\n\n  inside\n*/\nb\n", 3, 1, 3},
                    PlsqlCase{"AnEmptyLineInsideABlockCommentDoesNot", "a\n/* start\n\n  inside\n*/\nb\n", 5, 1, 5},
                    PlsqlCase{"TheLineThatEndsACommentCounts", "/* x\n*/\nb\n", 2, 1, 1},
                    PlsqlCase{"ACommentOpenedAndClosedOnOneLineCounts", "/* x */\nb\n", 1, 1, 0},
                    PlsqlCase{"ALineWhollyInsideAStringDoesNotCount", "x := 'a\nbcd\ne';\nf\n", 3, 1, 3},
                    PlsqlCase{"ABackslashKeepsTheQuoteInTheString", "s := 'a\\'\nb'\nc\n", 2, 1, 2},
                    PlsqlCase{"ADoubleQuotedStringHidesADashComment", "\"a\n-- x\n\"\nz\n", 2, 1, 3},
                    PlsqlCase{"ATrailByteOf5CIsNoBackslash", "s := '"_sj + std::string("ソ"_sj) + "'\nb\nc\n", 2, 1, 1},
                    PlsqlCase{"CountingStartsAtTheBaseLine", "x\ny\na\nb\n", 2, 3, 3},
                    PlsqlCase{"LineZeroIsLineOne", "\na\nb\n", 0, 1, 1},
                    PlsqlCase{"PastTheLastCountedLineIsTheLastLine", "a\nb\n\n", 9, 1, 2},
                    PlsqlCase{"ABaseLinePastTheEndIsTheLastLine", "a\nb\n", 1, 99, 1}),
    [](const testing::TestParamInfo<PlsqlCase>& info) { return std::string(info.param.name); });

// The block's first line is read in the unit the type numbers lines in (the unit of the line
// numbers beside the text and of the dialog's package rows), whatever unit the jump's own number has.
struct PlsqlBaseCase {
  const char* name;
  bool typeCountsDocumentLines;
  bool jumpUnitIsDocumentLines;
  int expected;  // the document line reached (0-based)
};

class PlsqlBaseTable : public JumpTest, public testing::WithParamInterface<PlsqlBaseCase> {};

TEST_P(PlsqlBaseTable, IsReadInTheTypesUnit) {
  const PlsqlBaseCase& c = GetParam();
  type().nWrapColumn = 10;
  type().bCountDocumentLines = c.typeCountsDocumentLines ? 1 : 0;
  // Rows: 0 "x", 1-3 the wrapped line, 4 "a", 5 "b", 6 "c", 7 "d".
  SetText("x\nabcdefghijklmnopqrstuvwxy\na\nb\nc\nd\n");
  Jump(2, c.jumpUnitIsDocumentLines, true, 5);
  EXPECT_EQ(CaretDocLine(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Units, PlsqlBaseTable,
    testing::Values(PlsqlBaseCase{"RowFiveIsLineAWithDocumentLineJumps", false, true, 3},
                    PlsqlBaseCase{"RowFiveIsLineAWithRowJumps", false, false, 3},
                    PlsqlBaseCase{"LineFiveIsLineCWithRowJumps", true, false, 5},
                    PlsqlBaseCase{"LineFiveIsLineCWithDocumentLineJumps", true, true, 5}),
    [](const testing::TestParamInfo<PlsqlBaseCase>& info) { return std::string(info.param.name); });

TEST(PlsqlLineCounts, CarriesTheStateFromLineToLine) {
  PlsqlLexState state = PlsqlLexState::kNormal;
  EXPECT_TRUE(PlsqlLineCounts("x := 'open", &state));
  EXPECT_EQ(state, PlsqlLexState::kSingleQuoted);
  EXPECT_FALSE(PlsqlLineCounts("still -- in it", &state));
  EXPECT_TRUE(PlsqlLineCounts("closed' /* and", &state));
  EXPECT_EQ(state, PlsqlLexState::kBlockComment);
  EXPECT_FALSE(PlsqlLineCounts("   \r\n", &state));
  EXPECT_TRUE(PlsqlLineCounts(" */", &state));
  EXPECT_EQ(state, PlsqlLexState::kNormal);
}

}  // namespace
