#include "editor/foundation/settings/comment_delimiters.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

int Len(const char* s) { return static_cast<int>(std::strlen(s)); }

TEST(CLineCommentSet, StartsEmptyAndRefusesTextsThatDoNotFit) {
  CLineCommentSet set;
  for (int i = 0; i < CLineCommentSet::kCount; ++i) {
    EXPECT_STREQ(set.GetText(i), "");
    EXPECT_EQ(set.GetColumn(i), -1);
  }
  set.Set(0, "//", 4);
  EXPECT_STREQ(set.GetText(0), "//");
  EXPECT_EQ(set.GetColumn(0), 4);
  EXPECT_EQ(set.GetLength(0), 2);
  set.Set(0, "0123456789abcdef", 2);  // 16 bytes
  EXPECT_STREQ(set.GetText(0), "");
  EXPECT_EQ(set.GetColumn(0), -1);
  EXPECT_EQ(set.GetLength(0), 0);
  set.Set(1, "0123456789abcde", 0);  // 15 bytes fit
  EXPECT_EQ(set.GetLength(1), 15);
  set.Set(3, "#", 0);  // no fourth entry: nothing changes and nothing is written
  set.Set(-1, "#", 0);
  EXPECT_EQ(set.GetLength(2), 0);
}

TEST(CLineCommentSet, MatchesAtItsColumnIgnoringAsciiCase) {
  const char line[] = "x = 1 rem note";
  struct Case {
    const char* name;
    int column;
    int offset;
    bool match;
  } cases[] = {
      {"any column, middle of the line", -1, 6, true},
      {"any column, wrong place", -1, 5, false},
      {"column 0 only at the start", 0, 6, false},
      {"an unchecked column n is stored as -n and counts anywhere", -7, 6, true},
      {"its own column", 6, 6, true},
  };
  for (const Case& c : cases) {
    CLineCommentSet set;
    set.Set(2, "REM", c.column);
    EXPECT_EQ(set.MatchAt(c.offset, Len(line), line), c.match) << c.name;
  }
  CLineCommentSet set;
  set.Set(0, "REM", 0);
  EXPECT_TRUE(set.MatchAt(0, 3, "rem"));
  EXPECT_FALSE(set.MatchAt(0, 2, "rem"));  // does not fit before the line's end
  // The full-width letters keep their case.
  set.Set(1, "\x82\x60", -1);                   // Ａ
  EXPECT_FALSE(set.MatchAt(0, 2, "\x82\x81"));  // ａ
}

TEST(CCommentDelimiters, APairNeedsBothTexts) {
  CCommentDelimiters d;
  d.SetPair(0, "/*", "*/");
  d.SetPair(1, "(*", "");
  EXPECT_TRUE(d.MatchStart(0, 2, 6, "a /* b"));
  EXPECT_FALSE(d.MatchStart(0, 1, 6, "a /* b"));
  EXPECT_FALSE(d.MatchStart(1, 0, 2, "(*"));  // no end text: never a block comment
  EXPECT_EQ(d.GetStartLength(1), 2);
  d.SetPair(1, "0123456789abcdef", "*)");
  EXPECT_EQ(d.GetStartLength(1), 0);
  EXPECT_EQ(d.GetEndLength(1), 2);
  EXPECT_FALSE(d.MatchStart(1, 0, 2, "*)"));
  EXPECT_FALSE(d.MatchStart(2, 0, 2, "/*"));
}

TEST(CCommentDelimiters, FindEndStepsOverDoubleByteCharacters) {
  CCommentDelimiters d;
  d.SetPair(0, "{", "}");
  d.SetPair(1, "<!--", "-->");
  struct Case {
    const char* name;
    int pair;
    const char* line;
    int from;
    int expected;
  } cases[] = {
      {"end after the start", 1, "a <!-- b --> c", 6, 12},
      {"no end on the line", 1, "a <!-- b", 6, 8},
      {"end text cut by the line's end", 1, "a --", 0, 4},
      // "}" is 0x7D, the trail byte of the kanji 0x88 0x7D; only the real one ends the comment.
      {"trail byte is not an end", 0,
       "\x88\x7D"
       "a}",
       0, 4},
      {"trail byte alone on the line", 0, "\x88\x7D", 0, 2},
  };
  for (const Case& c : cases) EXPECT_EQ(d.FindEnd(c.pair, c.from, Len(c.line), c.line), c.expected) << c.name;
  d.SetPair(0, "/*", "END");
  EXPECT_EQ(d.FindEnd(0, 0, 7, "x end y"), 5);  // letters match without regard to case
}

}  // namespace
