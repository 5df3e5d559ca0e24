#include <string>
#include <vector>

#include "paint_fixture.h"

namespace {

// How a piece of a line shows.
enum Kind {
  kChars,     // characters in the item's colours, one column a byte (no ink for control codes)
  kTabMark,   // a tab: the tab text in the item's colours over the cells to the next stop
  kWideMark,  // a double-byte space: the square mark over two columns
};

struct Piece {
  std::string text;
  int item;
  Kind kind = kChars;
};

struct Line {
  std::vector<Piece> pieces;
  std::string eol;
};

// The item a painter state is drawn with.
int ItemOfState(int state) {
  if (state == CEditView::kStateBlockComment1 || state == CEditView::kStateBlockComment2) return kCMT;
  if (state >= CEditView::kStateRegexKeyword) return state - CEditView::kStateRegexKeyword;
  return state;
}

using PaintTest = PaintFixture;

// One document holding every kind of token, mark and line end; each cell is read back by its
// pixels and compared with the item that must have drawn it, and with GetColorStateAt.
TEST_F(PaintTest, EveryCellShowsTheColoursOfItsToken) {
  const std::vector<Line> lines = {
      {{{"int", kKW1}, {" x = ", kTXT}, {"12", kNUM}, {";", kTXT}, {"// note", kCMT}}, "\r\n"},
      {{{"return", kKW2},
        {" ", kTXT},
        {"'a'", kSQT},
        {" ", kTXT},
        {"\"b\\\"c\"", kWQT},
        {" ", kTXT},
        {"foo", kRK1},
        {";", kTXT}},
       "\n"},
      {{{"/* x */", kCMT}, {" abc123 ", kTXT}, {"0x1F", kNUM}}, "\r"},
      {{{"http://x.jp", kURL}, {" ", kTXT}, {"me@x.jp", kURL}}, "\n\r"},
      {{{"\t", kTAB, kTabMark}, {"T", kTXT}, {"\t", kTAB, kTabMark}}, "\r\n"},
      {{{"A", kTXT}, {"\x81\x40", kZEN, kWideMark}, {"B", kTXT}}, "\r\n"},
      {{{"C", kTXT}, {"\x01\x02", kCTL}, {"D", kTXT}}, "\r\n"},
      {{{"/* ", kCMT}, {"\x01", kCTL}, {" */", kCMT}}, "\r\n"},
      {{{"int", kKW1}, {"//c", kCMT}}, "\r\n"},
      {{{"goto", kKW3}, {" ", kTXT}, {"(* open", kCMT}}, "\r\n"},
      {{{"still *)", kCMT}, {" ", kTXT}, {"int", kKW1}}, "\r\n"},
      {{{std::string(27, 'z'), kTXT}, {" ", kTXT}, {"123456", kNUM}, {" end", kTXT}}, "\r\n"},
      {{{"\x88\x9f", kTXT}, {"abc", kTXT}}, "\r\n"},
      {{{"end", kTXT}}, ""},
  };
  std::string text;
  for (const Line& line : lines) {
    for (const Piece& piece : line.pieces) text += piece.text;
    text += line.eol;
  }
  SetText(text);
  Repaint();

  const std::string eolNames[] = {"", "CRLF", "LFCR", "LF", "CR"};
  int row = 0;
  for (const Line& line : lines) {
    int column = 0;
    int offset = 0;  // byte offset within the display line
    for (const Piece& piece : line.pieces) {
      const auto* bytes = reinterpret_cast<const unsigned char*>(piece.text.data());
      for (size_t i = 0; i < piece.text.size();) {
        if (column == kWrap) {
          SCOPED_TRACE("wrap mark of row " + std::to_string(row));
          // Its left edge carries the line at the wrap column.
          EXPECT_EQ(Hex(Pixel(X(column), Y(row))), Hex(TextOf(kRAP)));
          EXPECT_EQ(Hex(Pixel(X(column + 1) - 1, Y(row))), Hex(BackOf(kRAP)));
          EXPECT_EQ(Hex(Ink(row, column)), Hex(TextOf(kRAP)));
          ++row;
          column = 0;
          offset = 0;
        }
        SCOPED_TRACE("row " + std::to_string(row) + " column " + std::to_string(column) + " of \"" + piece.text + "\"");
        int size = bytes[i] >= 0x81 && i + 1 < piece.text.size() ? 2 : 1;
        int width = size;
        if (piece.kind == kTabMark) width = kTab - column % kTab;
        EXPECT_EQ(Hex(Back(row, column)), Hex(BackOf(piece.item)));
        const bool inked = !(bytes[i] < 0x20 && piece.kind == kChars);
        EXPECT_EQ(Hex(Ink(row, column)), Hex(inked ? TextOf(piece.item) : BackOf(piece.item)));
        if (piece.kind == kChars) {
          // What the painter drew agrees with the state the pane reports there.
          EXPECT_EQ(ItemOfState(view->GetColorStateAt(view->GetViewDC(), row, offset)), piece.item);
        }
        if (piece.kind == kTabMark && width > 1) {
          // The tab text's blanks after its first character.
          EXPECT_EQ(Hex(Back(row, column + 1)), Hex(BackOf(kTAB)));
        }
        column += width;
        offset += size;
        i += size;
      }
    }
    SCOPED_TRACE("end of row " + std::to_string(row));
    if (!line.eol.empty()) {
      EXPECT_EQ(Hex(Back(row, column)), Hex(BackOf(kEOL)));
      EXPECT_TRUE(CellsHold(row, column, 2, TextOf(kEOL)));
      EXPECT_EQ(Hex(Back(row, column + 2)), Hex(BackOf(kTXT)));
    } else {
      EXPECT_EQ(Hex(Back(row, column)), Hex(BackOf(kEOF)));
      EXPECT_EQ(Hex(Ink(row, column)), Hex(TextOf(kEOF)));
      EXPECT_EQ(Hex(Back(row, column + 5)), Hex(BackOf(kTXT)));
    }
    ++row;
  }
  // Below the text: the text background.
  EXPECT_EQ(Hex(Back(row, 0)), Hex(BackOf(kTXT)));
}

}  // namespace
