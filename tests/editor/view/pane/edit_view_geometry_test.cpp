// The pane's geometry: the number column, the ruler, the text area and what fits in it, for the
// settings that move them, and fonts that give no usable metrics.
#include <string>

#include "editor/foundation/text/wrap_line_mgr.h"
#include "platform/window.h"
#include "view_fixture.h"

namespace {

constexpr int kRul = 1;  // colour item "RUL"
constexpr int kLno = 3;  // colour item "LNO"

std::string Lines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += i + 1 < count ? "a\r\n" : "a";
  return text;
}

using GeometryTest = ViewFixture;

TEST(LineNumberDigits, GrowOnePerPowerOfTenFromAHundredUpToTwelve) {
  struct Case {
    int64_t count;
    int digits;
  };
  const Case cases[] = {
      {-5, 3},   {0, 3},           {1, 3},           {99, 3},           {100, 4},        {999, 4},
      {1000, 5}, {2147483647, 11}, {9999999999, 11}, {10000000000, 12}, {INT64_MAX, 12},
  };
  for (const Case& c : cases) EXPECT_EQ(CEditView::LineNumberDigitsFor(c.count), c.digits) << c.count;
}

// The box font at 13 pixels: "大" is 13 wide, so a column is 6; lines are 13 + 1 of line space.
TEST_F(GeometryTest, DefaultsGiveTheBoxFontsGrid) {
  EXPECT_EQ(view->m_nCharWidth, 6);
  EXPECT_EQ(view->m_nCharHeight, 13);
  EXPECT_EQ(view->ColumnWidth(), 6);
  EXPECT_EQ(view->LineHeight(), 14);
  EXPECT_EQ(view->m_nViewAlignTop, 13);  // the ruler, no gap
  EXPECT_EQ(view->m_nViewAlignLeftCols, 4);
  EXPECT_EQ(view->m_nViewAlignLeft, 24);
  EXPECT_EQ(view->m_nViewCx, 640 - 24) << "no window, no scroll bar to leave room for";
  EXPECT_EQ(view->m_nViewCy, 480 - 13);
  EXPECT_EQ(view->m_nViewColNum, (640 - 24) / 6);
  EXPECT_EQ(view->m_nViewRowNum, (480 - 13) / 14);
}

TEST_F(GeometryTest, HundredthLineWidensTheNumberColumnByOneColumn) {
  type().bCountDocumentLines = 0;
  SetText(Lines(99));
  view->UpdateTextAreaLeft(false);
  EXPECT_EQ(view->m_nViewAlignLeftCols, 4);
  const int left = view->m_nViewAlignLeft;
  const int columns = view->m_nViewColNum;

  SetText(Lines(100));
  EXPECT_TRUE(view->UpdateTextAreaLeft(true));
  EXPECT_EQ(view->m_nViewAlignLeftCols, 5);
  EXPECT_EQ(view->m_nViewAlignLeft, left + view->ColumnWidth());
  EXPECT_LE(view->m_nViewColNum, columns);
  EXPECT_FALSE(view->UpdateTextAreaLeft(true)) << "unchanged: nothing to do";
}

TEST_F(GeometryTest, DocumentLinesCountWhenTheTypeSaysSo) {
  // 99 document lines of 100 bytes wrap into about twice as many display lines.
  type().nWrapColumn = 60;
  std::string text;
  for (int i = 0; i < 99; ++i) text += std::string(100, 'x') + (i < 98 ? "\r\n" : "");
  SetText(text);
  ASSERT_GE(doc->m_cLayoutMgr.GetLineCount(), 100);
  type().bCountDocumentLines = 0;
  EXPECT_EQ(view->GetLineNumberDigits(), 4);
  type().bCountDocumentLines = 1;
  EXPECT_EQ(view->GetLineNumberDigits(), 3);
}

// Each case changes the settings from the defaults and gives the text area's left and top edges.
TEST_F(GeometryTest, SettingsMoveTheTextArea) {
  struct Case {
    const char* name;
    bool ruler;
    bool numbers;
    int rulerGap;
    int numberGap;
    int charSpacing;
    int left;
    int top;
  };
  const Case cases[] = {
      {"defaults", true, true, 0, 0, 0, 24, 13},
      {"gaps", true, true, 5, 7, 0, 31, 18},
      {"ruler hidden: up by its height", false, true, 5, 0, 0, 24, 5},
      {"numbers hidden: 8 pixels and the gap", true, false, 0, 7, 0, 15, 13},
      {"character spacing widens the columns", true, true, 0, 0, 2, 32, 13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    type().Colors[kRul].bShow = c.ruler;
    type().Colors[kLno].bShow = c.numbers;
    type().nCharSpacing = c.charSpacing;
    common().nRulerBottomSpace = c.rulerGap;
    common().nLineNumberRightSpace = c.numberGap;
    view->SetClientSize(640, 480);
    EXPECT_EQ(view->m_nViewAlignLeft, c.left);
    EXPECT_EQ(view->m_nViewAlignTop, c.top);
    EXPECT_EQ(view->m_nTopYohaku, c.rulerGap);
    EXPECT_EQ(view->m_nViewRowNum, (480 - c.top) / view->LineHeight());
  }
}

// Sizes and gaps that leave no room give no rows or columns, never negative ones.
TEST_F(GeometryTest, NoRoomGivesNothingVisible) {
  struct Case {
    const char* name;
    int width;
    int height;
    int rulerGap;
    int numberGap;
  };
  const Case cases[] = {
      {"empty pane", 0, 0, 0, 0},
      {"one pixel", 1, 1, 0, 0},
      {"gaps beyond the pane", 640, 480, 100000, 100000},
      {"negative gaps", 640, 480, -50, -50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    common().nRulerBottomSpace = c.rulerGap;
    common().nLineNumberRightSpace = c.numberGap;
    view->SetClientSize(c.width, c.height);
    EXPECT_GE(view->m_nViewAlignTop, 0);
    EXPECT_LE(view->m_nViewAlignTop, c.height);
    EXPECT_GE(view->m_nTopYohaku, 0);
    EXPECT_GE(view->m_nViewCx, 0);
    EXPECT_GE(view->m_nViewCy, 0);
    EXPECT_GE(view->m_nViewColNum, 0);
    EXPECT_GE(view->m_nViewRowNum, 0);
  }
  common().nRulerBottomSpace = 100000;
  view->SetClientSize(640, 480);
  EXPECT_EQ(view->m_nViewAlignTop, 480);
  EXPECT_EQ(view->m_nViewRowNum, 0) << "a ruler gap as high as the pane leaves no row";
}

// A settings font that cannot be realised falls back on the default editor font; a tiny one still
// gives columns and lines of at least a pixel.
TEST_F(GeometryTest, AnySettingsFontGivesAUsablePane) {
  struct Case {
    LONG height;
    int charWidth;
    int charHeight;
  };
  const Case cases[] = {
      {0, 8, 16},     // "any size": the font module's default height
      {5000, 6, 13},  // beyond what fonts allow: the default editor font
      {-5000, 6, 13},
      {1, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    common().lf.lfHeight = c.height;
    view->UpdateFonts();
    EXPECT_EQ(view->m_nCharWidth, c.charWidth);
    EXPECT_EQ(view->m_nCharHeight, c.charHeight);
    EXPECT_GE(view->ColumnWidth(), 1);
    EXPECT_GE(view->LineHeight(), 1);
    EXPECT_NE(view->GetFontFor(false, false), nullptr);
    EXPECT_NE(view->GetFontFor(true, true), nullptr);
    EXPECT_GT(view->m_nViewRowNum, 0);
    EXPECT_GT(view->m_nViewColNum, 0);
  }
}

TEST_F(GeometryTest, FourFontsFromTheCommonFont) {
  common().lf.lfWeight = 800;
  view->UpdateFonts();
  EXPECT_EQ(view->GetFontFor(false, false)->Desc().weight, 800);
  EXPECT_EQ(view->GetFontFor(true, false)->Desc().weight, 1000) << "weight + 300, at most 1000";
  EXPECT_FALSE(view->GetFontFor(true, false)->Desc().underline);
  EXPECT_TRUE(view->GetFontFor(false, true)->Desc().underline);
  EXPECT_EQ(view->GetFontFor(false, true)->Desc().weight, 800);
  EXPECT_TRUE(view->GetFontFor(true, true)->Desc().underline);
  EXPECT_EQ(view->GetFontFor(true, true)->Desc().weight, 1000);
}

TEST_F(GeometryTest, CopyViewStateGivesThePartnerCaretSelectionAndScroll) {
  CEditView other;
  view->m_nCaretPosX = 3;
  view->m_nCaretPosY = 4;
  view->m_nCaretPosX_Prev = 7;
  view->m_sSelect = SelectRange{1, 2, 3, 4};
  view->m_sSelectBgn = SelectRange{1, 2, 1, 2};
  view->m_bBeginBoxSelect = true;
  view->m_nViewTopLine = 9;
  view->m_nViewLeftCol = 5;
  view->CopyViewStateTo(&other);
  EXPECT_EQ(other.m_nCaretPosX, 3);
  EXPECT_EQ(other.m_nCaretPosY, 4);
  EXPECT_EQ(other.m_nCaretPosX_Prev, 7);
  EXPECT_EQ(other.m_sSelect, (SelectRange{1, 2, 3, 4}));
  EXPECT_EQ(other.m_sSelectBgn, (SelectRange{1, 2, 1, 2}));
  EXPECT_TRUE(other.m_bBeginBoxSelect);
  EXPECT_EQ(other.m_nViewTopLine, 9);
  EXPECT_EQ(other.m_nViewLeftCol, 5);
  EXPECT_EQ(other.m_nCharWidth, view->m_nCharWidth);
  view->CopyViewStateTo(view.get());  // itself: nothing
  view->CopyViewStateTo(nullptr);
}

}  // namespace
