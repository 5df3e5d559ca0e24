#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "platform/sjis_literal.h"
#include "tests/editor/foundation/message_box_capture.h"
#include "tests/editor/foundation/text/doc_text.h"
#include "tests/editor/foundation/text/wrap_fixture.h"

namespace {

WrapRules Width(int wrap, int tab = 4) {
  WrapRules r;
  r.wrap = wrap;
  r.tab = tab;
  return r;
}

// ---- Positions ---------------------------------------------------------------------------------

struct DocToWrapCase {
  const char* name;
  std::string text;
  WrapRules rules;
  int col, line;  // document position
  int x, y;       // expected display position in cells
};

class DocToWrapTest : public testing::TestWithParam<DocToWrapCase> {};

TEST_P(DocToWrapTest, Converts) {
  const DocToWrapCase& c = GetParam();
  Wrapped w(c.text, c.rules);
  int x = -1;
  int y = -1;
  w.wrap.DocToWrapPos(c.col, c.line, &x, &y);
  EXPECT_EQ(x, c.x);
  EXPECT_EQ(y, c.y);
}

INSTANTIATE_TEST_SUITE_P(
    WrapLineMgr, DocToWrapTest,
    testing::ValuesIn(std::vector<DocToWrapCase>{
        {"LineFeedOfCrLfGivesTheCellAfterTheCr", "abc\r\ndef\r\n", Width(10), 4, 0, 4, 0},
        {"CrOfCrLfGivesItsOwnCell", "abc\r\ndef\r\n", Width(10), 3, 0, 3, 0},
        {"SecondLine", "abc\r\ndef\r\n", Width(10), 1, 1, 1, 1},
        {"BoundaryBetweenPiecesGivesTheNextPiecesStart", "abcdefghijkl\r\n", Width(10), 10, 0, 0, 1},
        {"InsideTheContinuation", "abcdefghijkl\r\n", Width(10), 11, 0, 1, 1},
        {"TrailByteMeansItsCharacter", "aあb\r\n"_sj, Width(10), 2, 0, 1, 0},
        {"AfterADoubleByteCharacter", "aあb\r\n"_sj, Width(10), 3, 0, 3, 0},
        {"TabReachesItsStop", "a\tb\r\n", Width(10, 4), 2, 0, 4, 0},
        {"ColumnBeyondTheLineGivesTheCellAfterItsEnd", "ab", Width(10), 9, 0, 2, 0},
        {"ContinuationCountsItsIndent", "a\tbcdefghijklmnop\r\n",
         [] {
           WrapRules r = Width(12, 4);
           r.indent = 1;
           return r;
         }(),
         14, 0, 8, 1},
        {"LinePastTheLastGivesOnePastTheLastDisplayLine", "ab\r\n", Width(10), 0, 1, 0, 1},
        {"NegativeLineGivesOnePastTheLast", "ab\r\n", Width(10), 0, -1, 0, 1},
    }),
    [](const testing::TestParamInfo<DocToWrapCase>& info) { return info.param.name; });

struct WrapToDocCase {
  const char* name;
  std::string text;
  WrapRules rules;
  int x, y;       // display position in cells
  int col, line;  // expected document position
};

class WrapToDocTest : public testing::TestWithParam<WrapToDocCase> {};

TEST_P(WrapToDocTest, Converts) {
  const WrapToDocCase& c = GetParam();
  Wrapped w(c.text, c.rules);
  int col = -1;
  int line = -1;
  w.wrap.WrapToDocPos(c.x, c.y, &col, &line);
  EXPECT_EQ(col, c.col);
  EXPECT_EQ(line, c.line);
}

INSTANTIATE_TEST_SUITE_P(
    WrapLineMgr, WrapToDocTest,
    testing::ValuesIn(std::vector<WrapToDocCase>{
        {"CellInsideATabGivesTheTab", "a\tb\r\n", Width(10, 4), 2, 0, 1, 0},
        {"CellAfterTheTab", "a\tb\r\n", Width(10, 4), 4, 0, 2, 0},
        {"CellInsideADoubleByteCharacterGivesItsStart", "aあb\r\n"_sj, Width(10), 2, 0, 1, 0},
        {"CellBeyondThePieceGivesItsEnd", "ab\r\ncd\r\n", Width(10), 7, 0, 3, 0},
        {"CellBeyondAContinuedPieceGivesItsEnd", "abcdefghijkl\r\n", Width(10), 15, 0, 10, 0},
        {"ContinuationPiece", "abcdefghijkl\r\n", Width(10), 1, 1, 11, 0},
        {"OnePastTheLastAfterALineEndIsANewLine", "ab\r\ncd\r\n", Width(10), 5, 2, 0, 2},
        {"OnePastTheLastWithoutALineEndIsTheEndOfTheText", "ab\r\ncd", Width(10), 5, 2, 2, 1},
        {"EmptyDocument", "", Width(10), 3, 0, 0, 0},
    }),
    [](const testing::TestParamInfo<WrapToDocCase>& info) { return info.param.name; });

// Both conversions against a walk of each piece character by character (a character's cells as
// wide as its bytes, a tab to its stop), over random texts with tabs, kanji, lone lead bytes and
// every line end, at every cell and every byte of every piece.
TEST(WrapLineMgr, ConversionsEqualAWalkOfTheCharacters) {
  std::mt19937 rng(3707);
  for (int round = 0; round < 150; ++round) {
    WrapRules r = RandomWrapRules(rng);
    // Every other round wide, for pieces long enough to be searched for tabs rather than walked.
    if (round % 2 == 1) r.wrap = 400;
    Wrapped w(RandomWrapText(rng, round % 2 == 1 ? 150 : 60), r);
    const int tab = w.wrap.GetTabWidth();
    for (int i = 0; i < w.wrap.GetLineCount(); ++i) {
      int doc = -1;
      const CWrapLine* piece = w.wrap.GetLine(i, &doc);
      const auto* s = reinterpret_cast<const unsigned char*>(piece->GetText());
      const int len = piece->m_nLength;
      // Each character's first byte and first cell.
      std::vector<int> starts, cells;
      int x = piece->m_nIndent;
      for (int pos = 0; pos < len;) {
        const int size = SjisCharSize(s, len, pos);
        starts.push_back(pos);
        cells.push_back(x);
        x += s[pos] == '\t' ? tab - x % tab : size;
        pos += size;
      }
      const int endCell = x;
      // The character that ends after v, where each one ends where the next starts (the last at
      // end); none past the end.
      auto holding = [&](const std::vector<int>& firsts, int end, int v) -> std::optional<size_t> {
        for (size_t k = 0; k < firsts.size(); ++k) {
          if (v < (k + 1 < firsts.size() ? firsts[k + 1] : end)) return k;
        }
        return std::nullopt;
      };
      for (int cell = 0; cell <= endCell + 2; ++cell) {
        const std::optional<size_t> k = holding(cells, endCell, cell);
        const int want = k ? starts[*k] : len;
        int col = -1, line = -1;
        w.wrap.WrapToDocPos(cell, i, &col, &line);
        ASSERT_EQ(col, piece->m_nOffset + want) << "round " << round << " line " << i << " cell " << cell;
        ASSERT_EQ(line, doc);
      }
      // A piece's end is where the next one of its line starts.
      const bool last = !piece->m_pNext || piece->m_pNext->m_pDocLine != piece->m_pDocLine;
      for (int byte = 0; byte < len || (last && byte == len); ++byte) {
        const std::optional<size_t> k = holding(starts, len, byte);
        const int want = k ? cells[*k] : endCell;
        int x2 = -1, y2 = -1;
        w.wrap.DocToWrapPos(piece->m_nOffset + byte, doc, &x2, &y2);
        ASSERT_EQ(y2, i) << "round " << round << " line " << i << " byte " << byte;
        ASSERT_EQ(x2, want) << "round " << round << " line " << i << " byte " << byte;
      }
    }
  }
}

TEST(WrapLineMgr, FullLineWithoutLineEndHangingHasALineOfItsLineEnd) {
  Wrapped w("0123456789\r\nx\r\n", Width(10));
  EXPECT_EQ(PieceTexts(w.wrap), (std::vector<std::string>{"0123456789", "\r", "x\r"}));
  const std::vector<PieceRecord> pieces = Pieces(w.wrap);
  EXPECT_EQ(pieces[0].eol, CLineEnd::NONE);
  EXPECT_EQ(pieces[1].eol, CLineEnd::CRLF);
  EXPECT_EQ(pieces[1].doc, 0);
  EXPECT_EQ(pieces[2].doc, 1);
}

TEST(WrapLineMgr, WrapPointIsTheEndOfAPieceThatGoesOn) {
  Wrapped w("abcdefghijkl\r\nmn", Width(10));
  EXPECT_TRUE(w.wrap.IsWrapPoint(0, 10));
  EXPECT_FALSE(w.wrap.IsWrapPoint(0, 9));
  EXPECT_FALSE(w.wrap.IsWrapPoint(1, 3));  // ends with the line end
  EXPECT_FALSE(w.wrap.IsWrapPoint(2, 2));  // the end of the text goes on nowhere
  EXPECT_FALSE(w.wrap.IsWrapPoint(3, 0));
}

TEST(WrapLineMgr, WidthsOutOfRangeAreRefused) {
  Wrapped w("abcdefghijkl\r\n", Width(10, 4));
  const std::vector<PieceRecord> before = Pieces(w.wrap);
  EXPECT_FALSE(w.wrap.SetTabAndWrapWidth(nullptr, 65, 20));
  EXPECT_FALSE(w.wrap.SetTabAndWrapWidth(nullptr, 0, 20));
  EXPECT_FALSE(w.wrap.SetTabAndWrapWidth(nullptr, 4, 9));
  EXPECT_FALSE(w.wrap.SetTabAndWrapWidth(nullptr, 4, 10241));
  EXPECT_EQ(w.wrap.GetTabWidth(), 4);
  EXPECT_EQ(w.wrap.GetWrapWidth(), 10);
  EXPECT_EQ(Pieces(w.wrap), before);
  EXPECT_TRUE(w.wrap.SetTabAndWrapWidth(nullptr, 64, 10240));
  EXPECT_EQ(PieceTexts(w.wrap), (std::vector<std::string>{"abcdefghijkl\r"}));
}

TEST(WrapLineMgr, LookupsGiveTheDocumentLine) {
  Wrapped w("abcdefghijklmnopqrstuvwxy\r\nz\r\nabcdefghijkl", Width(10));
  const std::vector<int> expected = {0, 0, 0, 1, 2, 2};
  ASSERT_EQ(w.wrap.GetLineCount(), 6);
  // Out of order, so that every way of reaching a line is taken.
  for (int i : {5, 0, 3, 4, 1, 2, 5, 2}) EXPECT_EQ(w.wrap.GetDocLineIndex(i), expected[i]) << i;
  EXPECT_EQ(w.wrap.GetDocLineIndex(6), -1);
  EXPECT_EQ(w.wrap.GetLine(-1), nullptr);
  int len = -1;
  EXPECT_EQ(w.wrap.GetLineText(6, &len), nullptr);
  EXPECT_EQ(len, 0);
  CWrapLine* node = nullptr;
  const char* text = w.wrap.GetLineTextAndNode(4, &len, &node);
  EXPECT_EQ(std::string(text, len), "abcdefghij");
  EXPECT_EQ(node->m_nOffset, 0);
}

TEST(WrapLineMgr, DocToWrapPosFromSearchesEitherWay) {
  Wrapped w("abcdefghijklmnopqrstuvwxy\r\nz\r\n", Width(10));
  int line = -1;
  int offset = -1;
  // Forward, the boundary between pieces is the end of the first.
  w.wrap.DocToWrapPosFrom(0, 0, 10, &line, &offset);
  EXPECT_EQ(line, 0);
  EXPECT_EQ(offset, 10);
  // Backward, it is the start of the second.
  w.wrap.DocToWrapPosFrom(3, 0, 10, &line, &offset);
  EXPECT_EQ(line, 1);
  EXPECT_EQ(offset, 0);
  w.wrap.DocToWrapPosFrom(0, 1, 1, &line, &offset);
  EXPECT_EQ(line, 3);
  EXPECT_EQ(offset, 1);
}

// ---- Words and search --------------------------------------------------------------------------

TEST(WrapLineMgr, WordAcrossABreakSpansBothDisplayLines) {
  Wrapped w("abcdefghijklmno pq\r\n", Width(10));
  ASSERT_EQ(PieceTexts(w.wrap), (std::vector<std::string>{"abcdefghij", "klmno pq\r"}));
  int lineFrom = -1, offsetFrom = -1, lineTo = -1, offsetTo = -1;
  CMemory word;
  CMemory left;
  ASSERT_TRUE(w.wrap.GetWordRange(1, 2, &lineFrom, &offsetFrom, &lineTo, &offsetTo, &word, &left));
  EXPECT_EQ(lineFrom, 0);
  EXPECT_EQ(offsetFrom, 0);
  EXPECT_EQ(lineTo, 1);
  EXPECT_EQ(offsetTo, 5);
  EXPECT_EQ(word.View(), "abcdefghijklmno");
  EXPECT_EQ(left.View(), "abcdefghijkl");
}

TEST(WrapLineMgr, WordsAtABreakBelongToTheirOwnDisplayLines) {
  int lineFrom = -1, offsetFrom = -1, lineTo = -1, offsetTo = -1;
  {
    // A word that ends where the display line breaks ends on the first display line.
    Wrapped w("abcdefghij XYZ\r\n", Width(10));
    ASSERT_EQ(PieceTexts(w.wrap), (std::vector<std::string>{"abcdefghij", " XYZ\r"}));
    ASSERT_TRUE(w.wrap.GetWordRange(0, 2, &lineFrom, &offsetFrom, &lineTo, &offsetTo, nullptr, nullptr));
    EXPECT_EQ(std::vector<int>({lineFrom, offsetFrom, lineTo, offsetTo}), std::vector<int>({0, 0, 0, 10}));
    ASSERT_TRUE(w.wrap.GetWordRange(1, 2, &lineFrom, &offsetFrom, &lineTo, &offsetTo, nullptr, nullptr));
    EXPECT_EQ(std::vector<int>({lineFrom, offsetFrom, lineTo, offsetTo}), std::vector<int>({1, 1, 1, 4}));
  }
  {
    // One that starts there starts on the second.
    Wrapped w("abcdefghi XYZW\r\n", Width(10));
    ASSERT_EQ(PieceTexts(w.wrap), (std::vector<std::string>{"abcdefghi ", "XYZW\r"}));
    ASSERT_TRUE(w.wrap.GetWordRange(1, 1, &lineFrom, &offsetFrom, &lineTo, &offsetTo, nullptr, nullptr));
    EXPECT_EQ(std::vector<int>({lineFrom, offsetFrom, lineTo, offsetTo}), std::vector<int>({1, 0, 1, 4}));
    // The next word start seen from before the break is the end of the first display line, seen
    // from after it the start of the second.
    int line = -1;
    int offset = -1;
    ASSERT_TRUE(w.wrap.GetNextWordPos(0, 0, &line, &offset, false, false));
    EXPECT_EQ(std::vector<int>({line, offset}), std::vector<int>({0, 10}));
    ASSERT_TRUE(w.wrap.GetNextWordPos(1, 3, &line, &offset, true, false));
    EXPECT_EQ(std::vector<int>({line, offset}), std::vector<int>({1, 0}));
    EXPECT_FALSE(w.wrap.GetWordRange(0, -1, &lineFrom, &offsetFrom, &lineTo, &offsetTo, nullptr, nullptr));
    EXPECT_FALSE(w.wrap.GetNextWordPos(-1, 0, &line, &offset, false, false));
  }
}

TEST(WrapLineMgr, FindTextGivesCells) {
  WrapRules r = Width(12, 4);
  r.indent = 1;
  Wrapped w("a\tbcdefghijklmn fox\r\nthe fox\r\n", r);
  ASSERT_EQ(PieceTexts(w.wrap), (std::vector<std::string>{"a\tbcdefghi", "jklmn fo", "x\r", "the fox\r"}));
  int xFrom = -1, yFrom = -1, xTo = -1, yTo = -1;
  ASSERT_TRUE(w.wrap.FindText(0, 0, "fox", true, false, true, false, &xFrom, &yFrom, &xTo, &yTo, nullptr));
  // "fox" starts at byte 16, on the second display line after its indent of 4 cells.
  EXPECT_EQ(yFrom, 1);
  EXPECT_EQ(xFrom, 4 + 6);
  EXPECT_EQ(yTo, 2);
  EXPECT_EQ(xTo, 4 + 1);
  ASSERT_TRUE(w.wrap.FindText(2, 1, "fox", true, false, true, false, &xFrom, &yFrom, &xTo, &yTo, nullptr));
  EXPECT_EQ(yFrom, 3);
  EXPECT_EQ(xFrom, 4);
  ASSERT_TRUE(w.wrap.FindText(3, 0, "fox", false, false, true, false, &xFrom, &yFrom, &xTo, &yTo, nullptr));
  EXPECT_EQ(yFrom, 1);
  EXPECT_FALSE(w.wrap.FindText(0, 0, "wolf", true, false, true, false, &xFrom, &yFrom, &xTo, &yTo, nullptr));
}

// ---- Edits -------------------------------------------------------------------------------------

TEST(WrapLineMgr, InsertingIntoAnEmptyDocumentMakesLineZero) {
  Wrapped w("", Width(10));
  ASSERT_EQ(w.wrap.GetLineCount(), 0);
  int removed = -1;
  int affected = -1;
  int line = -1;
  int offset = -1;
  ASSERT_TRUE(w.wrap.InsertData(0, 0, "abcdefghijkl", 12, &removed, &affected, &line, &offset));
  EXPECT_EQ(w.doc.GetLineCount(), 1);
  EXPECT_EQ(PieceTexts(w.wrap), (std::vector<std::string>{"abcdefghij", "kl"}));
  EXPECT_EQ(removed, 0);
  EXPECT_EQ(affected, 2);
  EXPECT_EQ(line, 1);
  EXPECT_EQ(offset, 2);
}

TEST(WrapLineMgr, InsertPastTheLastLineAppends) {
  {
    Wrapped w("ab\r\n", Width(10));
    ASSERT_TRUE(w.wrap.InsertData(5, 0, "cd", 2, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(DocText(w.doc), "ab\r\ncd");
  }
  {
    Wrapped w("ab", Width(10));
    int line = -1;
    int offset = -1;
    ASSERT_TRUE(w.wrap.InsertData(1, 0, "cd", 2, nullptr, nullptr, &line, &offset));
    EXPECT_EQ(DocText(w.doc), "abcd");
    EXPECT_EQ(w.doc.GetLineCount(), 1);
    EXPECT_EQ(line, 0);
    EXPECT_EQ(offset, 4);
  }
}

TEST(WrapLineMgr, DeleteJoiningLinesCountsWhatWentAfterTheEditPosition) {
  Wrapped w("abcdefghijkl\r\nmn\r\nop\r\n", Width(10));
  // Delete the line end of line 0 (on display line 1, after "kl").
  int removedAfter = -1;
  int createdAfter = -1;
  int affected = -1;
  CMemory deleted;
  ASSERT_TRUE(w.wrap.DeleteData(1, 2, 2, &removedAfter, &createdAfter, &affected, &deleted));
  EXPECT_EQ(deleted.View(), "\r\n");
  EXPECT_EQ(PieceTexts(w.wrap), (std::vector<std::string>{"abcdefghij", "klmn\r", "op\r"}));
  // Gone after (line 0, column 12): "mn\r" (display line 2).
  EXPECT_EQ(removedAfter, 1);
  // Made, ending after column 12: "klmn\r".
  EXPECT_EQ(createdAfter, 1);
  // One display line less; no colours changed.
  EXPECT_EQ(affected, 1);
}

TEST(WrapLineMgr, ReplaceTextReportsTheChangeAndTheCaret) {
  Wrapped w("abcdefghijkl\r\nmn\r\n", Width(10));
  WrapReplaceArg a;
  a.nDelLineFrom = 0;
  a.nDelColFrom = 2;
  a.nDelLineTo = 2;
  a.nDelColTo = 1;
  CMemory deleted;
  a.pDeletedText = &deleted;
  const std::string ins = "XY\r\nZ";
  a.pInsText = ins.data();
  a.nInsLen = static_cast<int>(ins.size());
  ASSERT_TRUE(w.wrap.ReplaceText(&a));
  EXPECT_EQ(deleted.View(), "cdefghijkl\r\nm");
  EXPECT_EQ(DocText(w.doc), "abXY\r\nZn\r\n");
  EXPECT_EQ(PieceTexts(w.wrap), (std::vector<std::string>{"abXY\r", "Zn\r"}));
  EXPECT_EQ(a.nAddLineNum, 1);  // three display lines before, two after
  EXPECT_EQ(a.nModLineFrom, 0);
  EXPECT_EQ(a.nNewLine, 1);
  EXPECT_EQ(a.nNewPos, 1);
}

TEST(WrapLineMgr, RefusedEditsChangeNothing) {
  Wrapped w("abc\r\ndef\r\n", Width(10));
  const std::vector<PieceRecord> before = Pieces(w.wrap);
  int n = -1;
  EXPECT_FALSE(w.wrap.DeleteData(9, 0, 1, &n, &n, &n, nullptr));
  EXPECT_FALSE(w.wrap.DeleteData(0, -1, 1, nullptr, nullptr, nullptr, nullptr));
  EXPECT_FALSE(w.wrap.InsertData(-1, 0, "x", 1, nullptr, nullptr, nullptr, nullptr));
  WrapReplaceArg a;
  a.nDelLineFrom = 1;
  a.nDelColFrom = 2;
  a.nDelLineTo = 0;
  a.nDelColTo = 1;
  EXPECT_FALSE(w.wrap.ReplaceText(&a));
  EXPECT_EQ(Pieces(w.wrap), before);
  EXPECT_EQ(DocText(w.doc), "abc\r\ndef\r\n");
}

void* NoMemory(void*, size_t) { return nullptr; }

TEST(WrapLineMgr, EditsThatRunOutOfMemoryChangeNothing) {
  Wrapped w("abcdefghijkl\r\nmn\r\nop\r\n", Width(10));
  const std::vector<PieceRecord> before = Pieces(w.wrap);
  MessageBoxCapture boxes;
  auto previous = CMemory::SetReallocForTesting(&NoMemory);
  CMemory deleted;
  const bool deletedSome = w.wrap.DeleteData(1, 0, 4, nullptr, nullptr, nullptr, &deleted);
  const bool inserted = w.wrap.InsertData(1, 1, "x\r\ny\r\nz", 8, nullptr, nullptr, nullptr, nullptr);
  WrapReplaceArg a;
  a.nDelLineFrom = 0;
  a.nDelColFrom = 2;
  a.nDelLineTo = 2;
  a.nDelColTo = 1;
  a.pInsText = "XY\r\nZ";
  a.nInsLen = 5;
  const bool replaced = w.wrap.ReplaceText(&a);
  CMemory::SetReallocForTesting(previous);
  EXPECT_FALSE(deletedSome);
  EXPECT_FALSE(inserted);
  EXPECT_FALSE(replaced);
  EXPECT_EQ(Pieces(w.wrap), before);
  EXPECT_EQ(DocText(w.doc), "abcdefghijkl\r\nmn\r\nop\r\n");
}

TEST(WrapLineMgr, OpeningACommentRecoloursLaterLinesWithoutCuttingThem) {
  WrapRules r = Width(10);
  r.comments = true;
  r.blockStart = "/*";
  r.blockEnd = "*/";
  Wrapped w("ab\r\nabcdefghijklm\r\ncd\r\nx */ y\r\nz\r\n", r);
  std::vector<const CWrapLine*> later;
  for (int i = 1; i < w.wrap.GetLineCount(); ++i) later.push_back(w.wrap.GetLine(i));
  int removedAfter = 0;
  int affected = 0;
  ASSERT_TRUE(w.wrap.InsertData(0, 0, "/*", 2, &removedAfter, &affected, nullptr, nullptr));
  // The same pieces, now in the comment up to its end.
  for (int i = 1; i < w.wrap.GetLineCount(); ++i) EXPECT_EQ(w.wrap.GetLine(i), later[i - 1]) << i;
  std::vector<int> states;
  for (const PieceRecord& p : Pieces(w.wrap)) states.push_back(p.state);
  const int c = CWrapLineMgr::COLOR_BLOCK_COMMENT1;
  EXPECT_EQ(states, (std::vector<int>{0, c, c, c, c, 0}));
  // Four pieces recoloured, none added.
  EXPECT_EQ(affected, 4);
}

// ---- Edits against a whole re-wrap ------------------------------------------------------------

// The list is linked both ways and counted right, and each piece's document line is the one the
// document holds at that index.
void ExpectSoundList(CWrapLineMgr& wrap, CDocLineMgr& doc) {
  std::map<const CDocLine*, int> index;
  int i = 0;
  for (const CDocLine* line = doc.GetFirstLine(); line; line = line->m_pNext) index[line] = i++;
  const CWrapLine* prev = nullptr;
  int n = 0;
  for (const CWrapLine* line = wrap.GetLine(0); line; prev = line, line = line->m_pNext, ++n) {
    ASSERT_EQ(line->m_pPrev, prev) << n;
    ASSERT_TRUE(index.count(line->m_pDocLine)) << "a piece of a deleted line at " << n;
  }
  EXPECT_EQ(n, wrap.GetLineCount());
  const std::vector<PieceRecord> pieces = Pieces(wrap);
  for (int k = 0; k < static_cast<int>(pieces.size()); ++k) {
    EXPECT_EQ(pieces[k].doc, index[wrap.GetLine(k)->m_pDocLine]) << k;
  }
}

// The start of the character that holds the byte column.
int CharStart(CDocLineMgr& doc, int line, int col) {
  int len = 0;
  const auto* s = reinterpret_cast<const unsigned char*>(doc.GetLineText(line, &len));
  int pos = 0;
  while (pos < len) {
    const int next = pos + SjisCharSize(s, len, pos);
    if (next > col) break;
    pos = next;
  }
  return pos < col ? pos : col;
}

// Every document position at a character start goes to the display and back unchanged, and so
// does every display position at a character start.
void ExpectRoundTrips(CWrapLineMgr& wrap, CDocLineMgr& doc) {
  for (int l = 0; l < doc.GetLineCount(); ++l) {
    int len = 0;
    const auto* s = reinterpret_cast<const unsigned char*>(doc.GetLineTextNoLineEnd(l, &len));
    for (int col = 0; col <= len; col += col < len ? SjisCharSize(s, len, col) : 1) {
      int x = -1;
      int y = -1;
      wrap.DocToWrapPos(col, l, &x, &y);
      int backCol = -1;
      int backLine = -1;
      wrap.WrapToDocPos(x, y, &backCol, &backLine);
      ASSERT_EQ(backLine, l) << "column " << col;
      ASSERT_EQ(backCol, col) << "line " << l;
      int piece = -1;
      int offset = -1;
      wrap.DocToWrapPosFrom(y, l, col, &piece, &offset);
      ASSERT_EQ(piece, y) << l << ":" << col;
      ASSERT_EQ(offset, col - wrap.GetLine(y)->m_nOffset);
    }
  }
  for (int y = 0; y < wrap.GetLineCount(); ++y) {
    const CWrapLine* line = wrap.GetLine(y);
    const auto* s = reinterpret_cast<const unsigned char*>(line->GetText());
    int x = line->m_nIndent;
    for (int pos = 0; pos < line->m_nLength;) {
      int col = -1;
      int l = -1;
      wrap.WrapToDocPos(x, y, &col, &l);
      int backX = -1;
      int backY = -1;
      wrap.DocToWrapPos(col, l, &backX, &backY);
      ASSERT_EQ(backY, y) << "cell " << x;
      ASSERT_EQ(backX, x) << "line " << y;
      const int size = SjisCharSize(s, line->m_nLength, pos);
      x += s[pos] == '\t' ? wrap.GetTabWidth() - x % wrap.GetTabWidth() : size;
      pos += size;
    }
  }
}

// Settings taken without a re-wrap leave pieces cut under the old ones; lines that the colour
// reaches are cut again rather than given states of cuts they do not have.
TEST(WrapLineMgr, RecolouringLinesCutUnderOtherSettingsCutsThemAgain) {
  WrapRules r = Width(10);
  r.comments = true;
  r.blockStart = "/*";
  r.blockEnd = "*/";
  Wrapped w("ab\r\nabcdefghijklmnopqrstuvwxyz\r\nx */ y\r\nabcdefghijklmnopqrstuvwxyz\r\n", r);
  ASSERT_EQ(w.wrap.GetLineCount(), 8);
  r.wrap = 20;
  w.wrap.SetWrapSettings(false, nullptr, *MakeType(r));
  ASSERT_TRUE(w.wrap.InsertData(0, 0, "/*", 2, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(PieceTexts(w.wrap), (std::vector<std::string>{"/*ab\r", "abcdefghijklmnopqrst", "uvwxyz\r", "x */ y\r",
                                                           "abcdefghij", "klmnopqrst", "uvwxyz\r"}));
  std::vector<int> states;
  for (const PieceRecord& p : Pieces(w.wrap)) states.push_back(p.state);
  const int c = CWrapLineMgr::COLOR_BLOCK_COMMENT1;
  EXPECT_EQ(states, (std::vector<int>{0, c, c, c, 0, 0, 0}));
  ASSERT_NO_FATAL_FAILURE(ExpectSoundList(w.wrap, w.doc));
}

// A document, a copy that takes the same edits through the document lines' primitives, and the
// display lines of the first.
struct ShadowedDoc {
  CDocLineMgr doc;
  CDocLineMgr shadow;
  CWrapLineMgr wrap;
  ShadowedDoc(const std::string& text, const TypeSettings& type) {
    LoadDocText(doc, text);
    LoadDocText(shadow, text);
    wrap.Attach(&doc);
    wrap.SetWrapSettings(true, nullptr, type);
  }
};

TEST(WrapLineMgr, EditsEqualAWholeRewrap) {
  std::mt19937 rng(20240611);
  auto in = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
  for (int round = 0; round < 150; ++round) {
    const WrapRules rules = RandomWrapRules(rng);
    const auto type = MakeType(rules);
    ShadowedDoc shadowed(RandomWrapText(rng, 60), *type);
    CDocLineMgr& doc = shadowed.doc;
    CDocLineMgr& shadow = shadowed.shadow;
    CWrapLineMgr& wrap = shadowed.wrap;
    for (int step = 0; step < 40; ++step) {
      SCOPED_TRACE(testing::Message() << "round " << round << " step " << step << " width " << rules.wrap
                                      << " tab " << rules.tab << " indent " << rules.indent);
      const int count = wrap.GetLineCount();
      const int y = in(0, count);
      const CWrapLine* at = wrap.GetLine(y);
      const int pieceLen = at ? at->m_nLength : 0;
      const std::string ins = RandomWrapText(rng, 4);
      CMemory deleted;
      CMemory shadowDeleted;
      switch (in(0, 2)) {
        case 0: {
          const int offset = in(0, pieceLen);
          const int n = in(0, 12);
          int docLine = 0;
          wrap.GetLine(y, &docLine);
          const int docCol = at ? at->m_nOffset + offset : 0;
          const bool done = wrap.DeleteData(y, offset, n, nullptr, nullptr, nullptr, &deleted);
          if (at) {
            EXPECT_EQ(done, shadow.DeleteRange(docLine, docCol, n, nullptr, nullptr, nullptr, nullptr,
                                               &shadowDeleted));
          } else {
            EXPECT_FALSE(done);
          }
          break;
        }
        case 1: {
          const int offset = in(0, pieceLen);
          int docLine = 0;
          int docCol = 0;
          if (at) {
            wrap.GetLine(y, &docLine);
            docCol = at->m_nOffset + offset;
          } else {
            wrap.WrapToDocPos(0, count, &docCol, &docLine);
          }
          int newLine = -1;
          int newOffset = -1;
          ASSERT_TRUE(wrap.InsertData(y, offset, ins.data(), static_cast<int>(ins.size()), nullptr, nullptr,
                                      &newLine, &newOffset));
          int shadowLine = 0;
          int shadowCol = 0;
          ASSERT_TRUE(shadow.InsertText(docLine, docCol, ins.data(), static_cast<int>(ins.size()), nullptr,
                                        &shadowLine, &shadowCol));
          if (newLine < wrap.GetLineCount()) {
            int caretDoc = -1;
            const CWrapLine* caret = wrap.GetLine(newLine, &caretDoc);
            EXPECT_EQ(caretDoc, shadowLine);
            EXPECT_EQ(caret->m_nOffset + newOffset, shadowCol);
          } else {
            EXPECT_EQ(shadowCol, 0);
          }
          break;
        }
        default: {
          WrapReplaceArg a;
          a.nDelLineFrom = y;
          a.nDelColFrom = in(0, rules.wrap + 3);
          a.nDelLineTo = std::min(count, y + in(0, 3));
          a.nDelColTo = in(0, rules.wrap + 3);
          if (a.nDelLineTo == a.nDelLineFrom && a.nDelColTo < a.nDelColFrom) std::swap(a.nDelColTo, a.nDelColFrom);
          a.pDeletedText = &deleted;
          a.pInsText = ins.data();
          a.nInsLen = static_cast<int>(ins.size());
          ReplaceDataArg r;
          wrap.WrapToDocPos(a.nDelColFrom, a.nDelLineFrom, &r.nDelColFrom, &r.nDelLineFrom);
          wrap.WrapToDocPos(a.nDelColTo, a.nDelLineTo, &r.nDelColTo, &r.nDelLineTo);
          r.pDeletedText = &shadowDeleted;
          r.pInsText = ins.data();
          r.nInsLen = a.nInsLen;
          const bool done = wrap.ReplaceText(&a);
          EXPECT_EQ(done, shadow.ReplaceData(&r));
          if (done) {
            int col = -1;
            int line = -1;
            wrap.WrapToDocPos(a.nNewPos, a.nNewLine, &col, &line);
            EXPECT_EQ(line, r.nNewLine);
            // An inserted lone lead byte pairs with the byte after it: the end of the text then
            // falls inside that character, and the caret goes to its start.
            EXPECT_EQ(col, CharStart(doc, r.nNewLine, r.nNewCol));
            if (wrap.GetLineCount() != count) {
              EXPECT_EQ(a.nAddLineNum, count - wrap.GetLineCount());
            }
          }
          break;
        }
      }
      ASSERT_EQ(DocText(doc), DocText(shadow));
      ASSERT_EQ(deleted.View(), shadowDeleted.View());

      // The lookups from where the edit left the cursor, then everything against a fresh wrap.
      CWrapLineMgr fresh;
      fresh.Attach(&doc);
      fresh.SetWrapSettings(true, nullptr, *type);
      for (int k = 0; k < 3 && wrap.GetLineCount() > 0; ++k) {
        const int probe = in(0, wrap.GetLineCount() - 1);
        ASSERT_EQ(wrap.GetDocLineIndex(probe), fresh.GetDocLineIndex(probe)) << "probe " << probe;
      }
      ASSERT_EQ(Pieces(wrap), Pieces(fresh));
      ASSERT_EQ(wrap.GetEndColorState(), fresh.GetEndColorState());
      ASSERT_NO_FATAL_FAILURE(ExpectSoundList(wrap, doc));
    }
    ASSERT_NO_FATAL_FAILURE(ExpectRoundTrips(wrap, doc));
  }
}

// Replacements by document positions in one batch (what undo and redo replay): runs of them
// inside one line, with line ends taken and put in between, exact columns or not. The batch gives
// the document, the texts taken and the outputs that the same replacements give one by one, and
// the display lines of a whole rewrap.
TEST(WrapLineMgr, ABatchOfDocumentEditsEqualsThemOneByOneAndAWholeRewrap) {
  std::mt19937 rng(20261211);
  auto in = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
  for (int round = 0; round < 150; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round);
    const WrapRules rules = RandomWrapRules(rng);
    const auto type = MakeType(rules);
    ShadowedDoc shadowed(RandomWrapText(rng, 60), *type);  // the shadow takes them one by one
    CDocLineMgr& doc = shadowed.doc;
    CDocLineMgr& shadow = shadowed.shadow;
    CWrapLineMgr& wrap = shadowed.wrap;

    // Each replacement is chosen on the document as the ones before it left it.
    std::vector<std::string> inserts;
    inserts.reserve(40);
    std::vector<ReplaceDataArg> batch;
    std::vector<ReplaceDataArg> oneByOne;
    std::vector<CMemory> taken(40);
    std::vector<CMemory> shadowTaken(40);
    bool shadowAll = true;
    int line = 0;
    for (int k = 0; k < 40; ++k) {
      const int count = shadow.GetLineCount();
      if (in(0, 3) == 0) line = in(0, count);  // mostly a run on the same line
      line = std::min(line, count);
      int length = 0;
      shadow.GetLineText(line, &length);
      ReplaceDataArg r;
      r.nDelLineFrom = line;
      r.nDelColFrom = in(0, length + 1);
      r.nDelLineTo = in(0, 5) == 0 ? std::min(count, line + in(0, 2)) : line;
      r.nDelColTo = r.nDelLineTo == line ? r.nDelColFrom + in(0, 3) : in(0, 4);
      r.bExactColumns = in(0, 3) != 0;
      inserts.push_back(in(0, 2) == 0 ? std::string() : RandomWrapText(rng, 3));
      r.pInsText = inserts.back().data();
      r.nInsLen = static_cast<int>(inserts.back().size());
      batch.push_back(r);
      batch.back().pDeletedText = &taken[static_cast<size_t>(k)];
      oneByOne.push_back(r);
      oneByOne.back().pDeletedText = &shadowTaken[static_cast<size_t>(k)];
      shadowAll = shadow.ReplaceData(&oneByOne.back()) && shadowAll;
    }
    EXPECT_EQ(wrap.ReplaceDocTexts(batch), shadowAll);
    ASSERT_EQ(DocText(doc), DocText(shadow));
    for (size_t k = 0; k < batch.size(); ++k) {
      SCOPED_TRACE(testing::Message() << "replacement " << k);
      EXPECT_EQ(taken[k].View(), shadowTaken[k].View());
      EXPECT_EQ(batch[k].nNewLine, oneByOne[k].nNewLine);
      EXPECT_EQ(batch[k].nNewCol, oneByOne[k].nNewCol);
      EXPECT_EQ(batch[k].nDeletedLines, oneByOne[k].nDeletedLines);
      EXPECT_EQ(batch[k].nInsertedLines, oneByOne[k].nInsertedLines);
    }
    CWrapLineMgr fresh;
    fresh.Attach(&doc);
    fresh.SetWrapSettings(true, nullptr, *type);
    ASSERT_EQ(Pieces(wrap), Pieces(fresh));
    ASSERT_EQ(wrap.GetEndColorState(), fresh.GetEndColorState());
    ASSERT_NO_FATAL_FAILURE(ExpectSoundList(wrap, doc));
    ASSERT_NO_FATAL_FAILURE(ExpectRoundTrips(wrap, doc));
  }
}

}  // namespace
