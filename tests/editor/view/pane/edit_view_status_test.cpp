// What the pane shows in the edit window's status bar, or in its caption message without one: the
// caret's place and the bytes under it, the line end, the code and the mode; the selection's size.
#include <string>

#include "editor/foundation/text/line_end.h"
#include "platform/sjis_literal.h"
#include "view_fixture.h"

namespace {

class StatusTest : public ViewFixture {
 protected:
  void SetUp() override {
    ViewFixture::SetUp();
    type().bCountDocumentLines = 0;  // display lines and columns
  }
};

void PutCaret(CEditView& view, int column, int line) {
  view.m_nCaretPosX = column;
  view.m_nCaretPosY = line;
  view.ShowCaretPosition();
}

// Line 0 ends in CR LF, line 1 in LF, line 2 has none.
constexpr char kText[] = "a\x82\xa0\r\nb\nc";

TEST_F(StatusTest, PartsShowPlaceBytesLineEndCodeAndMode) {
  SetText(kText);
  struct Case {
    const char* name;
    int column;
    int line;
    std::string place;
    std::string bytes;
  };
  const Case cases[] = {
      {"one-byte character", 0, 0, "    1 行    1 桁"_sj, "61  "},
      {"two-byte character", 1, 0, "    1 行    2 桁"_sj, "82a0"},
      {"CR LF shows both bytes", 3, 0, "    1 行    4 桁"_sj, "0d0a"},
      {"past the line end", 5, 0, "    1 行    6 桁"_sj, "    "},
      {"LF", 1, 1, "    2 行    2 桁"_sj, "0a  "},
      {"end of the last line", 1, 2, "    3 行    2 桁"_sj, "    "},
      {"below the last line", 0, 3, "    4 行    1 桁"_sj, "    "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    editWindow.status.clear();
    PutCaret(*view, c.column, c.line);
    EXPECT_EQ(editWindow.status[0], "");
    EXPECT_EQ(editWindow.status[1], c.place);
    EXPECT_EQ(editWindow.status[2], "CRLF");
    EXPECT_EQ(editWindow.status[3], c.bytes);
    EXPECT_EQ(editWindow.status[4], "SJIS");
    EXPECT_EQ(editWindow.status[5], "");
    EXPECT_EQ(editWindow.status[6], "挿入"_sj);
  }
}

TEST_F(StatusTest, LineEndSettingCodeAndOverwriteMode) {
  SetText(kText);
  doc->m_nNewLineType = CLineEnd::LF;
  doc->m_nCharCode = 4;
  view->SetInsertMode(false);
  EXPECT_FALSE(doc->m_bInsMode);
  PutCaret(*view, 0, 0);
  EXPECT_EQ(editWindow.status[2], "LF");
  EXPECT_EQ(editWindow.status[4], "UTF-8");
  EXPECT_EQ(editWindow.status[6], "上書"_sj);
  view->SetInsertMode(true);
  EXPECT_TRUE(view->IsInsertMode());
}

TEST_F(StatusTest, WithoutStatusBarOneLineGoesToTheCaptionMessage) {
  SetText(kText);
  editWindow.statusBar = false;
  struct Case {
    int column;
    int line;
    std::string message;
  };
  const Case cases[] = {
      {0, 0, "SJIS(CRLF)   [61]     1：1"_sj},
      {1, 0, "SJIS(CRLF) [82a0]     1：2"_sj},
      {3, 0, "SJIS(CRLF) [0d0a]     1：4"_sj},
      {1, 2, "SJIS(CRLF)            3：2"_sj},
  };
  for (const Case& c : cases) {
    editWindow.status.clear();
    PutCaret(*view, c.column, c.line);
    EXPECT_EQ(editWindow.captionMessage, c.message);
    EXPECT_TRUE(editWindow.status.empty());
  }
  doc->m_nCharCode = 3;
  PutCaret(*view, 0, 1);
  EXPECT_EQ(editWindow.captionMessage, "Uni(CRLF)   [62]     2：1"_sj);
}

// Counting document lines, the column is counted from the start of the document line, tabs to the
// tab width, also on a continuation line.
TEST_F(StatusTest, DocumentLinesCountFromTheDocumentLinesStart) {
  type().bCountDocumentLines = 1;
  type().nWrapColumn = 10;
  type().nTabWidth = 4;
  SetText("x\r\n\tabcdefghijkl\r\n");
  ASSERT_EQ(doc->m_cLayoutMgr.GetLineCount(), 3) << "line 1 wraps once";
  PutCaret(*view, 2, 2);  // "i" on the continuation line "ghijkl"
  EXPECT_EQ(editWindow.status[1], "    2 行   13 桁"_sj);
  EXPECT_EQ(editWindow.status[3], "69  ");
  PutCaret(*view, 4, 1);  // "a" after the tab
  EXPECT_EQ(editWindow.status[1], "    2 行    5 桁"_sj);
}

TEST_F(StatusTest, NothingWhilePaintingIsOff) {
  SetText(kText);
  view->m_bDrawSWITCH = 0;
  editWindow.status.clear();
  PutCaret(*view, 0, 0);
  EXPECT_TRUE(editWindow.status.empty());
}

TEST_F(StatusTest, SelectionSizes) {
  SetText("ab\r\ncd\r\nef");
  struct Case {
    const char* name;
    SelectRange range;
    bool box;
    std::string text;
  };
  const Case cases[] = {
      {"within a line", {0, 0, 0, 1}, false, "1 bytes (1 lines) selected."},
      {"a CR LF counts 2 bytes; column 0 of the last line is not a line",
       {0, 0, 1, 0},
       false,
       "4 bytes (1 lines) selected."},
      {"past the line end takes the whole line end", {0, 0, 0, 3}, false, "4 bytes (1 lines) selected."},
      {"on the line end leaves it out", {0, 0, 0, 2}, false, "2 bytes (1 lines) selected."},
      {"over three lines", {0, 1, 2, 1}, false, "8 bytes (3 lines) selected."},
      {"past the last line", {0, 0, 3, 0}, false, "10 bytes (3 lines) selected."},
      {"box", {0, 0, 2, 2}, true, "2 Columns * 3 lines selected."},
      {"box drawn leftwards", {2, 2, 0, 1}, true, "1 Columns * 3 lines selected."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    view->m_sSelect = c.range;
    view->m_bBeginBoxSelect = c.box;
    view->ShowSelectionSize();
    EXPECT_EQ(editWindow.status[0], c.text);
  }
  view->m_sSelect.Clear();
  view->ShowSelectionSize();
  EXPECT_EQ(editWindow.status[0], "");
}

TEST_F(StatusTest, StatusMessageGoesToPartZeroOrTheCaption) {
  view->ShowStatusMessage("found");
  EXPECT_EQ(editWindow.status[0], "found");
  editWindow.statusBar = false;
  view->ShowStatusMessage("again");
  EXPECT_EQ(editWindow.captionMessage, "again");
}

}  // namespace
