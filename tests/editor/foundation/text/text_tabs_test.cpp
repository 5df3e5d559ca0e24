#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "editor/foundation/text/memory.h"
#include "platform/sjis_literal.h"
#include "tests/editor/foundation/message_box_capture.h"
#include "tests/editor/foundation/text/largest_text.h"

namespace {

std::string Tabs(std::string_view text, int width) {
  CMemory m(text.data(), static_cast<int>(text.size()));
  m.TABToSPACE(width);
  return std::string(m.View());
}

std::string Spaces(std::string_view text, int width) {
  CMemory m(text.data(), static_cast<int>(text.size()));
  m.SPACEToTAB(width);
  return std::string(m.View());
}

struct Case {
  const char* name;
  std::string_view in;
  int width;
  std::string_view out;
};

TEST(TextTabs, TabsBecomeSpacesToTheNextStop) {
  const Case cases[] = {
      {"double-byte character then a tab", "漢\tx"_sj, 8, "漢      x"_sj},
      {"tab at the start", "\tA", 4, "    A"},
      {"tab after two", "ab\tc", 4, "ab  c"},
      {"tab on a stop", "abcd\te", 4, "abcd    e"},
      {"two tabs", "a\t\tb", 4, "a       b"},
      {"CR LF resets the column", "abc\r\n\tb", 4, "abc\r\n    b"},
      {"LF CR resets the column", "abc\n\r\tb", 4, "abc\n\r    b"},
      {"CR alone", "ab\r\tb", 4, "ab\r    b"},
      {"tab last", "a\t", 3, "a  "},
      {"width one", "\ta\t", 1, " a "},
      {"no tabs", "a b\r\n", 4, "a b\r\n"},
      {"width zero changes nothing", "\ta", 0, "\ta"},
      {"negative width changes nothing", "\ta", -4, "\ta"},
      {"empty", "", 4, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Tabs(c.in, c.width), c.out) << c.name;
}

TEST(TextTabs, BlankRunsBecomeTabsAtEachStopPassed) {
  const Case cases[] = {
      {"three spaces to a stop", "a   b", 4, "a\tb"},
      {"a single space on a stop stays", "abc b", 4, "abc b"},
      {"a single space elsewhere stays", "a b", 4, "a b"},
      {"past a stop", "a    b", 4, "a\t b"},
      {"two stops", "        x", 4, "\t\tx"},
      {"no stop reached", "  x", 4, "  x"},
      {"space then tab", " \tx", 4, "\tx"},
      {"tab then space", "\t x", 4, "\t x"},
      {"space, tab, space", "a \t b", 4, "a\t b"},
      {"blanks at a line end", "a   \r\nb", 4, "a\t\r\nb"},
      {"after a double-byte character", "漢  x"_sj, 4, "漢\tx"_sj},
      {"line end resets the column", "ab\r  c", 4, "ab\r  c"},
      {"a lone tab stays", "a\tb", 4, "a\tb"},
      {"line ends stay as they are", "a\n\r  \r\n", 2, "a\n\r\t\r\n"},
      {"width zero changes nothing", "a   b", 0, "a   b"},
      {"empty", "", 4, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Spaces(c.in, c.width), c.out) << c.name;
}

// Tabs written for spaces land every character where it was: expanded again, both agree.
TEST(TextTabs, SpacesToTabsKeepEveryColumn) {
  std::mt19937 rng(4);
  const std::string pieces[] = {" ", " ", " ", "\t", "a", "漢"_sj, "\r\n", "\n", "\r", "\x82"};
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int n = static_cast<int>(rng() % 60);
    for (int i = 0; i < n; ++i) text += pieces[rng() % std::size(pieces)];
    const int width = 1 + static_cast<int>(rng() % 9);
    const std::string tabbed = Spaces(text, width);
    ASSERT_LE(tabbed.size(), text.size()) << "round " << round;
    ASSERT_EQ(Tabs(tabbed, width), Tabs(text, width)) << "round " << round << " width " << width;
  }
}

// The result's length is counted before it is written: a result no buffer holds is refused
// as a failed allocation is, and the text stays.
TEST(TextTabs, AResultBeyondABuffersSizeLeavesTheText) {
  MessageBoxCapture boxes;
  const std::string tabs(2100, '\t');
  CMemory m(tabs.data(), static_cast<int>(tabs.size()));
  m.TABToSPACE(1 << 20);  // 2,100 tabs of 1,048,576 columns: above INT32_MAX bytes
  EXPECT_EQ(std::string(m.View()), tabs);
  EXPECT_EQ(boxes.requests.size(), 1u);
}

// The largest text a buffer holds is INT32_MAX - 1 bytes: a tab widened to exactly that is
// written, one byte more is refused.
TEST(TextTabs, AResultOfTheLargestSizeIsWritten) {
  {
    MessageBoxCapture boxes;
    CMemory m("\t", 1);
    m.TABToSPACE(kLargestText + 1);
    EXPECT_EQ(std::string(m.View()), "\t");
    EXPECT_EQ(boxes.requests.size(), 1u);
  }
  MessageBoxCapture boxes;
  CMemory m("\t", 1);
  m.TABToSPACE(kLargestText);
  ASSERT_EQ(m.GetLength(), kLargestText);
  // Every byte a space: the first is, and each equals the one after it.
  EXPECT_EQ(m.GetPtr()[0], ' ');
  EXPECT_EQ(std::memcmp(m.GetPtr(), m.GetPtr() + 1, kLargestText - 1), 0);
  EXPECT_EQ(m.GetPtr()[kLargestText], '\0');
  EXPECT_TRUE(boxes.requests.empty());
}

// A text of that size has no room beside it: its spaces become tabs where they lie. Each megabyte
// is letters but for three spaces before its first tab stop of width 4 at 64.
TEST(TextTabs, ATextOfTheLargestSizeTakesTabs) {
  MessageBoxCapture boxes;
  CMemory m;
  ASSERT_TRUE(FillToLargest(m, 61, "   "));
  m.SPACEToTAB(4);
  constexpr int kTabbedChunk = kLargestChunk - 2;
  ASSERT_EQ(m.GetLength(), kLargestChunks * kTabbedChunk - 2);
  EXPECT_EQ(m.View().substr(60, 3), "x\tx");
  // Every megabyte is the first one again.
  EXPECT_EQ(std::memcmp(m.GetPtr(), m.GetPtr() + kTabbedChunk, m.GetLength() - kTabbedChunk), 0);
  EXPECT_TRUE(boxes.requests.empty());
}

}  // namespace
