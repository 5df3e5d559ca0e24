#include "editor/view/pane/display_row.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/sjis_literal.h"

namespace {

// A row's characters walked one by one: first byte, first column, columns, bytes.
struct WalkedChar {
  int offset, column, cells, size;
};

std::vector<WalkedChar> Walk(const DisplayRow& row, int* pnEnd) {
  std::vector<WalkedChar> chars;
  int x = row.indent;
  for (int pos = 0; pos < row.length;) {
    const int size = SjisCharSize(row.text, row.length, pos);
    const int cells = row.text[pos] == '\t' ? row.tabWidth - x % row.tabWidth : size;
    chars.push_back({pos, x, cells, size});
    x += cells;
    pos += size;
  }
  *pnEnd = x;
  return chars;
}

DisplayRow RowOf(const std::string& text, int indent, int tabWidth) {
  DisplayRow row;
  row.text = reinterpret_cast<const unsigned char*>(text.data());
  row.length = static_cast<int>(text.size());
  row.indent = indent;
  row.tabWidth = tabWidth;
  row.exists = true;
  return row;
}

TEST(DisplayRow, ColumnsOfNamedRows) {
  struct Case {
    const char* name;
    std::string text;
    int indent, tabWidth, column;
    DisplayRow::Hit want;
  };
  const Case cases[] = {
      {"left of the indent is the first character", "ab", 3, 4, 1, {0, 3, 1, 1}},
      {"inside a double-byte character", "aあb"_sj, 0, 4, 2, {1, 1, 2, 2}},
      {"inside a tab", "a\tb", 0, 4, 2, {1, 1, 3, 1}},
      {"a tab counts from the left edge", "a\tb", 2, 4, 3, {1, 3, 1, 1}},
      {"after a tab", "a\tb", 0, 4, 4, {2, 4, 1, 1}},
      {"a lone lead byte before a tab", "\x95\tx", 0, 8, 1, {1, 1, 7, 1}},
      {"past the text", "a\tb", 0, 4, 9, {3, 5, 0, 0}},
      {"a lead byte at the end stands alone", "a\x95", 0, 4, 1, {1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DisplayRow::Hit hit = RowOf(c.text, c.indent, c.tabWidth).CharAt(c.column);
    EXPECT_EQ(hit.offset, c.want.offset);
    EXPECT_EQ(hit.column, c.want.column);
    EXPECT_EQ(hit.cells, c.want.cells);
    EXPECT_EQ(hit.size, c.want.size);
  }
}

// CharAt and ColumnOf against the walk, at every column and every offset of random rows of tabs,
// kanji, kana, lone lead bytes and letters.
TEST(DisplayRow, ColumnsEqualAWalkOfTheCharacters) {
  static const std::vector<std::string> atoms = {"a", " ", "\t", "\t\t", "あ"_sj, "表"_sj, "ｱ"_sj,
                                                 "\x95", "\x81", "@", "漢字"_sj, "xyz"};
  std::mt19937 rng(2207);
  auto in = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
  for (int round = 0; round < 500; ++round) {
    std::string text;
    // Some rows long enough to be searched for tabs rather than walked byte by byte.
    for (int n = in(0, round % 3 == 0 ? 60 : 12); n > 0; --n) text += atoms[static_cast<size_t>(in(0, static_cast<int>(atoms.size()) - 1))];
    const DisplayRow row = RowOf(text, in(0, 5), in(1, 9));
    int end = 0;
    const std::vector<WalkedChar> chars = Walk(row, &end);
    for (int column = -1; column <= end + 2; ++column) {
      DisplayRow::Hit want{row.length, end, 0, 0};
      for (const WalkedChar& c : chars) {
        if (column < c.column + c.cells) {
          want = {c.offset, c.column, c.cells, c.size};
          break;
        }
      }
      const DisplayRow::Hit hit = row.CharAt(column);
      ASSERT_EQ(hit.offset, want.offset) << "round " << round << " column " << column;
      ASSERT_EQ(hit.column, want.column) << "round " << round << " column " << column;
      ASSERT_EQ(hit.cells, want.cells) << "round " << round << " column " << column;
      ASSERT_EQ(hit.size, want.size) << "round " << round << " column " << column;
    }
    for (int offset = -1; offset <= row.length + 1; ++offset) {
      int want = end;
      for (const WalkedChar& c : chars) {
        if (offset < c.offset + c.size) {
          want = c.column;
          break;
        }
      }
      ASSERT_EQ(row.ColumnOf(offset), want) << "round " << round << " offset " << offset;
    }
  }
}

}  // namespace
