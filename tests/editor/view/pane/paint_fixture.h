// A pane over a document of a type whose colour items all differ, so that every painted cell tells
// by its pixels which item drew it: in the box font a cell's top-left pixel is always background
// and the pixel diagonally inside it is ink (when the character has a glyph).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "editor/foundation/settings/keyword_set_table.h"
#include "view_fixture.h"

// Item colours of the test type: text and background of item i.
constexpr COLORREF TextOf(int item) { return static_cast<COLORREF>(0x000010 + item); }
constexpr COLORREF BackOf(int item) { return static_cast<COLORREF>(0xC08000 + item); }

// Items by code.
enum Item : int {
  kTXT = 0,
  kRUL = 1,
  kLNO = 3,
  kTAB = 5,
  kSPC = 6,
  kZEN = 7,
  kCTL = 8,
  kEOL = 9,
  kRAP = 10,
  kEOF = 12,
  kNUM = 13,
  kFND = 14,
  kKW1 = 15,
  kKW2 = 16,
  kKW3 = 17,
  kCMT = 25,
  kSQT = 26,
  kWQT = 27,
  kURL = 28,
  kRK1 = 29,
  kRK2 = 30,
};

class PaintFixture : public ViewFixture {
 protected:
  static constexpr int kWrap = 30;
  static constexpr int kTab = 4;

  void SetUp() override {
    ViewFixture::SetUp();
    TypeSettings& t = type();
    for (int i = 0; i < kColorItemCount; ++i) {
      t.Colors[i].bShow = 1;
      t.Colors[i].bBold = 0;
      t.Colors[i].bUnderline = 0;
      t.Colors[i].colText = TextOf(i);
      t.Colors[i].colBack = BackOf(i);
    }
    t.Colors[kSPC].bShow = 0;
    t.nWrapColumn = kWrap;
    t.nTabWidth = kTab;
    t.bTabArrow = 0;
    std::snprintf(t.szTabViewString, sizeof t.szTabViewString, "%s", "^-------");
    t.bEnglishWordWrap = 0;
    t.bKinsokuHead = t.bKinsokuTail = t.bKinsokuRet = t.bKinsokuKuto = 0;
    t.nIndentLayout = 0;
    t.nQuoteEscape = 0;
    t.LineComments.Set(0, "//", -1);
    t.BlockComments.SetPair(0, "/*", "*/");
    t.BlockComments.SetPair(1, "(*", "*)");
    CKeywordSetTable& sets = record->KeywordSets;
    sets.Reset();
    sets.AddSet("one", true);
    sets.AddKeyword(0, "int");
    sets.AddKeyword(0, "for");
    sets.AddSet("two", true);
    sets.AddKeyword(1, "return");
    sets.AddSet("three", true);
    sets.AddKeyword(2, "goto");
    for (int32_t& k : t.nKeywordSelect) k = -1;
    t.nKeywordSelect[0] = 0;
    t.nKeywordSelect[1] = 1;
    t.nKeywordSelect[2] = 2;
    SetRegexKeywords({{"/fo+/k", kRK1}});
  }

 public:
  struct RegexKeyword {
    const char* pattern;
    int colour;
  };
  void SetRegexKeywords(std::initializer_list<RegexKeyword> keywords) {
    TypeSettings& t = type();
    for (RegexKeywordRecord& r : t.RegexKeywords) r.szPattern[0] = '\0';
    int i = 0;
    for (const RegexKeyword& k : keywords) {
      std::snprintf(t.RegexKeywords[i].szPattern, sizeof t.RegexKeywords[i].szPattern, "%s", k.pattern);
      t.RegexKeywords[i].nColorCode = k.colour;
      ++i;
    }
    t.bUseRegexKeyword = i > 0;
    ++t.nChangeCounter;
  }

 protected:
  int X(int column) const { return view->m_nViewAlignLeft + (column - view->m_nViewLeftCol) * view->ColumnWidth(); }
  int Y(int row) const { return view->m_nViewAlignTop + (row - view->m_nViewTopLine) * view->LineHeight(); }
  COLORREF Pixel(int x, int y) const { return platform::GetPixel(view->GetViewDC(), x, y); }
  // Background and ink of the cell at a display row and column.
  COLORREF Back(int row, int column) const { return Pixel(X(column), Y(row)); }
  COLORREF Ink(int row, int column) const { return Pixel(X(column) + 1, Y(row) + 1); }
  // Whether any pixel of the cells [column, column + width) of the row has the colour.
  bool CellsHold(int row, int column, int width, COLORREF colour) const {
    for (int y = Y(row); y < Y(row) + view->LineHeight(); ++y) {
      for (int x = X(column); x < X(column + width); ++x) {
        if (Pixel(x, y) == colour) return true;
      }
    }
    return false;
  }
  void Repaint() { view->RepaintAll(); }
  std::string Hex(COLORREF c) const {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(c));
    return text;
  }
};
