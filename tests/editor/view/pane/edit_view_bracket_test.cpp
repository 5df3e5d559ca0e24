// Bracket pairs: finding the partner (nesting, double-byte brackets, trail bytes that look like
// brackets, the reach of a search while typing), remembering the pair at the caret and drawing it.
#include <string>
#include <utility>

#include "pane_frame_fixture.h"
#include "platform/sjis_literal.h"

namespace {

constexpr int kBRC = 42;
constexpr COLORREF kBracketBack = RGB(255, 200, 0);
constexpr COLORREF kBracketInk = RGB(0, 0, 128);
constexpr COLORREF kTextBack = RGB(250, 250, 240);
constexpr COLORREF kUnderline = RGB(0, 0, 255);

class BracketTest : public PaneFrameFixture {
 protected:
  void SetUp() override {
    PaneFrameFixture::SetUp();
    Item(kBRC).bShow = 1;
    Item(kBRC).colBack = kBracketBack;
    Item(kBRC).colText = kBracketInk;
    Item(0).colBack = kTextBack;
    Item(2).bShow = 0;
  }
  void Text(const std::string& text) {
    SetText(text);
    Arrange();
  }
  struct Found {
    bool found = false;
    int column = -1;
    int line = -1;
    int flags = 0;
  };
  Found Find(int column, int line, int flags) {
    Found f;
    f.flags = flags;
    f.found = view->FindMatchingBracket(column, line, &f.column, &f.line, &f.flags);
    return f;
  }
  void PlaceCaret(int column, int line) {
    view->m_nCaretPosX = column;
    view->m_nCaretPosY = line;
    doc->m_cLayoutMgr.WrapToDocPos(column, line, &view->m_nCaretPosX_PHY, &view->m_nCaretPosY_PHY);
  }
  void ExpectPair(int pairColumn, int pairLine, int caretColumn, int caretLine) {
    EXPECT_EQ(view->m_nBracketPairPosX_PHY, pairColumn);
    EXPECT_EQ(view->m_nBracketPairPosY_PHY, pairLine);
    EXPECT_EQ(view->m_nBracketCaretPosX_PHY, caretColumn);
    EXPECT_EQ(view->m_nBracketCaretPosY_PHY, caretLine);
  }
  void SetPair(int pairColumn, int pairLine, int caretColumn, int caretLine) {
    view->m_nBracketPairPosX_PHY = pairColumn;
    view->m_nBracketPairPosY_PHY = pairLine;
    view->m_nBracketCaretPosX_PHY = caretColumn;
    view->m_nBracketCaretPosY_PHY = caretLine;
  }
  // A text of an opening bracket, filler lines and the closing one on line closeLine.
  static std::string FarPair(int closeLine) {
    std::string text = "(\r\n";
    for (int i = 1; i < closeLine; ++i) text += "x\r\n";
    return text + ")\r\n";
  }
};

TEST_F(BracketTest, FindsThePartner) {
  struct Case {
    const char* name;
    std::string text;
    int column, line, flags;
    bool found;
    int partnerColumn, partnerLine;
    bool before;  // flag 4: the character before the position was used
  };
  const Case cases[] = {
      {"outer opening parenthesis", "(a(b)c)", 0, 0, 0, true, 6, 0, false},
      {"inner opening parenthesis", "(a(b)c)", 2, 0, 0, true, 4, 0, false},
      {"closing parenthesis searches back", "(a(b)c)", 6, 0, 0, true, 0, 0, false},
      {"just after the last one, trying the one before", "(a(b)c)", 7, 0, 2, true, 0, 0, true},
      {"just after the last one, without that flag", "(a(b)c)", 7, 0, 0, false, -1, -1, false},
      {"a letter after an opening one", "(a(b)c)", 1, 0, 2, true, 6, 0, true},
      {"a bracket itself is tried first", "((a)", 1, 0, 2, true, 3, 0, false},
      {"unbalanced", "((a)", 0, 0, 2, false, -1, -1, false},
      {"no bracket", "abc", 1, 0, 2, false, -1, -1, true},
      {"nothing before the line start", "abc", 0, 0, 2, false, -1, -1, true},
      {"inside a comment counts", "f(/* ) */ x)", 1, 0, 0, true, 5, 0, false},
      {"inside a string counts, over lines", "s = \"(\";\r\n)", 5, 0, 0, true, 0, 1, false},
      {"nested over lines", "{\r\n  {x}\r\n}", 0, 0, 0, true, 0, 2, false},
      {"nested over lines, backward", "{\r\n  {x}\r\n}", 0, 2, 0, true, 0, 0, false},
      {"angle brackets", "<<a>>", 1, 0, 0, true, 3, 0, false},
      {"half-width corner brackets", "｢a｣"_sj, 0, 0, 0, true, 2, 0, false},
      {"double-byte corner brackets", "「あ（い）」"_sj, 0, 0, 0, true, 10, 0, false},
      {"double-byte parentheses inside", "「あ（い）」"_sj, 4, 0, 0, true, 8, 0, false},
      {"double-byte, backward", "「あ（い）」"_sj, 10, 0, 0, true, 0, 0, false},
      {"quotation marks", "“a”"_sj, 0, 0, 0, true, 3, 0, false},
      {"double-byte and single-byte never pair", "＜a>"_sj, 0, 0, 0, false, -1, -1, false},
      {"single-byte and double-byte never pair", "<a＞"_sj, 0, 0, 0, false, -1, -1, false},
      {"a trail byte '[' opens nothing", "[ゼ]"_sj, 0, 0, 0, true, 3, 0, false},
      {"a trail byte ']' closes nothing", "[ゾ]"_sj, 3, 0, 0, true, 0, 0, false},
      {"a trail byte '{' opens nothing", "{ボ}"_sj, 0, 0, 0, true, 3, 0, false},
      {"a trail byte '}' closes nothing", "{マ}"_sj, 0, 0, 0, true, 3, 0, false},
      {"a character with a bracket trail byte is no bracket", "[ゼ]"_sj, 1, 0, 2, true, 3, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Text(c.text);
    const Found f = Find(c.column, c.line, c.flags);
    EXPECT_EQ(f.found, c.found);
    if (c.found) {
      EXPECT_EQ(f.column, c.partnerColumn);
      EXPECT_EQ(f.line, c.partnerLine);
    }
    EXPECT_EQ((f.flags & 4) != 0, c.before);
  }
}

TEST_F(BracketTest, PartnerComesBackInDisplayColumns) {
  type().nTabWidth = 8;
  Text("\t(x)");
  const Found f = Find(8, 0, 0);
  EXPECT_TRUE(f.found);
  EXPECT_EQ(f.column, 10);
  EXPECT_EQ(f.line, 0);
}

TEST_F(BracketTest, WrappedLineKeepsDocumentAndDisplayPositionsApart) {
  type().nWrapColumn = 10;
  Text("(234567890123456789)");
  ASSERT_GT(doc->m_cLayoutMgr.GetLineCount(), 1);
  int closeColumn = 0;
  int closeLine = 0;
  doc->m_cLayoutMgr.DocToWrapPos(19, 0, &closeColumn, &closeLine);
  ASSERT_GT(closeLine, 0);
  const Found forward = Find(0, 0, 0);
  EXPECT_TRUE(forward.found);
  EXPECT_EQ(forward.column, closeColumn);
  EXPECT_EQ(forward.line, closeLine);
  const Found backward = Find(closeColumn, closeLine, 0);
  EXPECT_TRUE(backward.found);
  EXPECT_EQ(backward.column, 0);
  EXPECT_EQ(backward.line, 0);
  // Just after the closing one, on its display line: the pair in document positions.
  PlaceCaret(closeColumn + 1, closeLine);
  view->UpdateBracketPair(true);
  ExpectPair(0, 0, 19, 0);
}

TEST_F(BracketTest, IsBracketChar) {
  struct Case {
    const char* name;
    std::string text;
    bool bracket;
    int size;
  };
  const Case cases[] = {
      {"opening", "(", true, 1},
      {"closing", "}x", true, 1},
      {"letter", "a", false, 1},
      {"half-width corner", "｣"_sj, true, 1},
      {"double-byte", "〟"_sj, true, 2},
      {"trail byte '['", "ゼ"_sj, false, 2},
      {"trail byte '}'", "マ"_sj, false, 2},
      {"end of text", "", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int size = -1;
    EXPECT_EQ(view->IsBracketChar(c.text.c_str(), 0, &size), c.bracket);
    EXPECT_EQ(size, c.size);
  }
}

TEST_F(BracketTest, TypingReachesOnlyTheVisibleRowsWholeDocumentSearchesAll) {
  const int rows = view->m_nViewRowNum;
  ASSERT_GT(rows, 10);
  Text(FarPair(rows + 8));
  EXPECT_FALSE(Find(0, 0, 2).found);
  const Found all = Find(0, 0, 1);
  EXPECT_TRUE(all.found);
  EXPECT_EQ(all.line, rows + 8);
  // Backward from the closing one with the view scrolled to it.
  view->m_nViewTopLine = 10;
  EXPECT_FALSE(Find(0, rows + 8, 0).found);
  EXPECT_TRUE(Find(0, rows + 8, 1).found);

  view->m_nViewTopLine = 0;
  PlaceCaret(0, 0);
  SetPair(1, 1, 1, 1);
  view->UpdateBracketPair(true);
  ExpectPair(-1, -1, -1, -1);
  // A partner on the last visible row is found and shown.
  Text(FarPair(rows - 1));
  view->UpdateBracketPair(true);
  ExpectPair(0, rows - 1, 0, 0);
  // One row further it is found but not shown.
  Text(FarPair(rows));
  EXPECT_TRUE(Find(0, 0, 2).found);
  view->UpdateBracketPair(true);
  ExpectPair(-1, -1, -1, -1);
}

TEST_F(BracketTest, UpdateStoresThePairInDocumentPositions) {
  Text("xx\r\n(a(b)c)\r\n");
  PlaceCaret(7, 1);  // just after the closing parenthesis
  view->UpdateBracketPair(true);
  ExpectPair(0, 1, 6, 1);
  PlaceCaret(2, 1);
  view->UpdateBracketPair(true);
  ExpectPair(4, 1, 2, 1);
  Text("「あ」"_sj);
  PlaceCaret(6, 0);
  view->UpdateBracketPair(true);
  ExpectPair(0, 0, 4, 0);
}

TEST_F(BracketTest, UpdateClearsOrKeepsThePair) {
  struct Case {
    const char* name;
    void (*setUp)(CEditView&, TypeSettings&);
    bool search;
    bool kept;  // nothing changes; else the pair is cleared
  };
  const Case cases[] = {
      {"no search", [](CEditView&, TypeSettings&) {}, false, false},
      {"a selection",
       [](CEditView& v, TypeSettings&) {
         v.m_sSelect = {0, 0, 0, 3};
       },
       true, false},
      {"a selection being drawn", [](CEditView& v, TypeSettings&) { v.m_bDrawSelectArea = true; }, true, false},
      {"box mode", [](CEditView& v, TypeSettings&) { v.m_bBeginBoxSelect = true; }, true, false},
      {"partner left of the visible columns", [](CEditView& v, TypeSettings&) { v.m_nViewLeftCol = 3; }, true, false},
      {"highlight hidden", [](CEditView&, TypeSettings& t) { t.Colors[kBRC].bShow = 0; }, true, true},
      {"undo running", [](CEditView& v, TypeSettings&) { v.m_bDoing_UndoRedo = true; }, true, true},
      {"painting off", [](CEditView& v, TypeSettings&) { v.m_bDrawSWITCH = 0; }, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Text("(a(b)c)");
    view->m_sSelect.Clear();
    view->m_bDrawSelectArea = view->m_bBeginBoxSelect = view->m_bDoing_UndoRedo = false;
    view->m_bDrawSWITCH = 1;
    view->m_nViewLeftCol = 0;
    Item(kBRC).bShow = 1;
    PlaceCaret(7, 0);
    SetPair(9, 9, 9, 9);
    c.setUp(*view, type());
    view->UpdateBracketPair(c.search);
    if (c.kept) {
      ExpectPair(9, 9, 9, 9);
    } else {
      ExpectPair(-1, -1, -1, -1);
    }
  }
}

class BracketDrawTest : public BracketTest {
 protected:
  void SetUp() override {
    BracketTest::SetUp();
    view->m_bFocused = true;
    Text("ab\r\n(a(b)c)\r\n「あ」\r\n"_sj);
    ClearImage();
  }
  // The corner pixels of a cell that the glyph of the box font leaves as background.
  COLORREF CellBack(int column, int line) const { return Pixel(CellX(column), RowY(line)); }
  COLORREF CellBottomBack(int column, int line) const {
    return Pixel(CellX(column), RowY(line) + view->LineHeight() - 1);
  }
};

TEST_F(BracketDrawTest, DrawsBothBracketsInTheHighlightAndErasesThem) {
  SetPair(0, 1, 6, 1);
  view->DrawBracketHighlight(true);
  for (const int column : {0, 6}) {
    SCOPED_TRACE(column);
    EXPECT_EQ(CellBack(column, 1), kBracketBack);
    EXPECT_EQ(CellBottomBack(column, 1), kBracketBack);
    EXPECT_EQ(Pixel(CellX(column) - 1, RowY(1)), kPaper);
    EXPECT_EQ(Pixel(CellX(column + 1), RowY(1)), kPaper);
  }
  EXPECT_EQ(CellBack(1, 1), kPaper);
  EXPECT_EQ(Pixel(CellX(0), RowY(1) - 1), kPaper) << "the row above stays";
  EXPECT_EQ(Pixel(CellX(0), RowY(2)), kPaper) << "the row below stays";

  view->DrawBracketHighlight(false);
  EXPECT_EQ(CellBack(0, 1), kTextBack);
  EXPECT_EQ(CellBack(6, 1), kTextBack);
  ExpectPair(0, 1, 6, 1);
}

TEST_F(BracketDrawTest, DoubleByteBracketTakesTwoColumns) {
  SetPair(4, 2, 0, 2);
  view->DrawBracketHighlight(true);
  EXPECT_EQ(CellBack(0, 2), kBracketBack);
  EXPECT_EQ(CellBack(4, 2), kBracketBack);
  EXPECT_EQ(CellBottomBack(5, 2), kBracketBack);
  EXPECT_EQ(CellBack(2, 2), kPaper);
  EXPECT_EQ(CellBack(6, 2), kPaper);
}

TEST_F(BracketDrawTest, NothingWithoutFocusActivePaneOrWithASelection) {
  struct Case {
    const char* name;
    void (*setUp)(CEditView&, CEditDoc&);
  };
  const Case cases[] = {
      {"no focus", [](CEditView& v, CEditDoc&) { v.m_bFocused = false; }},
      {"another pane is active", [](CEditView&, CEditDoc& d) { d.m_nActivePaneIndex = 1; }},
      {"a selection",
       [](CEditView& v, CEditDoc&) {
         v.m_sSelect = {1, 0, 1, 2};
       }},
      {"box mode", [](CEditView& v, CEditDoc&) { v.m_bBeginBoxSelect = true; }},
      {"undo running", [](CEditView& v, CEditDoc&) { v.m_bDoing_UndoRedo = true; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClearImage();
    c.setUp(*view, *doc);
    SetPair(0, 1, 6, 1);
    view->DrawBracketHighlight(true);
    EXPECT_EQ(CellBack(0, 1), kPaper);
    EXPECT_EQ(CellBack(6, 1), kPaper);
    view->m_bFocused = true;
    doc->m_nActivePaneIndex = 0;
    view->m_sSelect.Clear();
    view->m_bBeginBoxSelect = view->m_bDoing_UndoRedo = false;
  }
}

TEST_F(BracketDrawTest, AStaleBracketEndsThePair) {
  SetPair(0, 1, 6, 1);
  Text("ab\r\nxa(b)c)\r\n");
  ClearImage();
  view->DrawBracketHighlight(false);
  ExpectPair(-1, -1, -1, -1);
  EXPECT_EQ(CellBack(0, 1), kPaper);
  EXPECT_EQ(CellBack(6, 1), kPaper);
  // A position past the end of its line, or on a trail byte, is no bracket either.
  for (const auto& [column, line] : {std::pair{9, 1}, std::pair{1, 2}}) {
    Text("ab\r\n(a(b)c)\r\n「あ」\r\n"_sj);
    SetPair(column, line, 6, 1);
    view->DrawBracketHighlight(true);
    ExpectPair(-1, -1, -1, -1);
  }
}

TEST_F(BracketDrawTest, OnlyVisibleBracketsAreDrawn) {
  view->m_nViewLeftCol = 3;
  SetPair(0, 1, 6, 1);
  view->DrawBracketHighlight(true);
  EXPECT_EQ(CellBack(6, 1), kBracketBack);
  EXPECT_EQ(Pixel(view->m_nViewAlignLeft - 1, RowY(1)), kPaper);
}

TEST_F(BracketDrawTest, CaretLineUnderlineIsDrawnAgainOverTheBracket) {
  Item(2).bShow = 1;
  Item(2).colText = kUnderline;
  ASSERT_EQ(type().nLineSpace, 1);  // the underline lies inside the caret's row
  PlaceCaret(7, 1);
  SetPair(0, 1, 6, 1);
  view->DrawBracketHighlight(true);
  const int underline = RowY(1) + view->m_nCharHeight;
  EXPECT_EQ(Pixel(CellX(0), underline), kUnderline);
  EXPECT_EQ(Pixel(CellX(6), underline), kUnderline);
  EXPECT_EQ(view->m_nOldUnderLineY, underline);
}

}  // namespace
