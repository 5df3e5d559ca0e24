#include "sdk/graphics/text_scan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Where the cursor stands after a call, as an offset into the text.
template <typename F>
long Scan(const char* text, F&& f) {
  const char* cursor = text;
  f(cursor);
  return cursor - text;
}

TEST(TextScan, SkipsBlanksAndCommas) {
  struct Case {
    const char* text;
    bool comma;
    bool atEnd;
    long stop;
  } cases[] = {
      {" \t\r\nx", false, false, 4},
      {"  ", false, true, 2},
      {" ,x", false, false, 1},
      {" , ,\tx", true, false, 5},
      {",,", true, true, 2},
      {"", false, true, 0},
  };
  for (const auto& c : cases) {
    bool end = false;
    long stop = Scan(c.text, [&](const char*& p) { end = c.comma ? SkipSpaceComma(p) : SkipSpace(p); });
    EXPECT_EQ(end, c.atEnd) << c.text;
    EXPECT_EQ(stop, c.stop) << c.text;
  }
}

TEST(TextScan, IsTokenFoldsAsciiCaseOnly) {
  struct Case {
    const char* text;
    const char* token;
    bool match;
    long stop;
  } cases[] = {
      {"  <br>rest", "<BR>", true, 6},
      {"<B", "<BR>", false, 0},
      {" <BR>", "<br>", true, 5},
      {"<bx>", "<BR>", false, 0},
      {"\x82\xA0z", "\x82\xA0Z", true, 3},
      {"\x82\xA1", "\x82\xA0", false, 0},  // other bytes compare exactly
      {"abc", nullptr, false, 0},
  };
  for (const auto& c : cases) {
    bool match = false;
    long stop = Scan(c.text, [&](const char*& p) { match = IsToken(p, c.token); });
    EXPECT_EQ(match, c.match) << c.text;
    EXPECT_EQ(stop, c.stop) << c.text;
  }
}

TEST(TextScan, SearchNeverStartsOnATrailByte) {
  struct Case {
    const char* text;
    const char* s;
    int result;
    long stop;
  } cases[] = {
      {"abc>def", ">", 0, 4},
      {"\x83\x41", "A", 1, 0},         // the only 0x41 is the trail of a double-byte character
      {"\x83\x41" "A", "A", 0, 3},
      {"\x95\x5C\\n", "\\", 0, 3},     // 0x5C as trail byte, then a real backslash
      {"abc\x82", "\x82", 0, 4},       // a lead byte before the zero is still a byte of the text
      {"abc\x82", "z", 1, 0},          // and never takes the zero as its trail
      {"", "a", 1, 0},
  };
  for (const auto& c : cases) {
    int result = -9;
    long stop = Scan(c.text, [&](const char*& p) { result = SkipToString(p, c.s); });
    EXPECT_EQ(result, c.result) << c.text;
    EXPECT_EQ(stop, c.stop) << c.text;
  }
}

TEST(TextScan, CopyToStringCopiesTheStretchBeforeTheMatchWithinTheBuffer) {
  const char* text = "\x82\xA0\x82\xA2=x";
  const char* p = text;
  char buffer[16];
  ASSERT_EQ(CopyToString(p, "=", buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "\x82\xA0\x82\xA2");
  EXPECT_STREQ(p, "x");

  // A small buffer is cut at a character boundary, never overrun; the cursor still moves on.
  p = text;
  char small[4] = {'#', '#', '#', '#'};
  ASSERT_EQ(CopyToString(p, "=", small, sizeof small), 0);
  EXPECT_STREQ(small, "\x82\xA0");
  EXPECT_STREQ(p, "x");

  p = text;
  std::strcpy(buffer, "keep");
  EXPECT_EQ(CopyToString(p, ";", buffer, sizeof buffer), 1);
  EXPECT_EQ(p, text);
  EXPECT_STREQ(buffer, "keep");
}

TEST(TextScan, Numbers) {
  struct Case {
    int which;  // 0 GetNum, 1 GetQuotedNum, 2 GetFieldNum, 3 GetFieldNum in field mode
    const char* text;
    int result;
    int value;
    long stop;
  } cases[] = {
      {0, "-12,", 0, -12, 3},
      {0, " +7x", 0, 7, 3},
      {0, "x", 1, 0, 0},
      {0, "  ", -1, 99, 2},
      {0, "4294967297", 0, 1, 10},  // wraps like a 32-bit register, no trap
      {1, " \"-35\"", 0, -35, 6},
      {1, "35", 3, 99, 0},
      {1, "\"35", 3, 35, 3},
      {1, "\"\"", 1, 0, 1},
      {1, "", -1, 99, 0},
      {2, ",5", 0, 5, 2},
      {2, " , ", 1, 99, 3},
      {2, ",x", 2, 0, 1},
      {3, ",5", 0, 0, 1},
      {3, "\t5", 0, 0, 1},
      {3, "5,6", 0, 5, 2},
      {3, "x", 2, 0, 0},
  };
  for (const auto& c : cases) {
    int result = -9;
    int value = 99;
    long stop = Scan(c.text, [&](const char*& p) {
      switch (c.which) {
        case 0: result = GetNum(p, value); break;
        case 1: result = GetQuotedNum(p, value); break;
        default: result = GetFieldNum(p, value, c.which == 3); break;
      }
    });
    EXPECT_EQ(result, c.result) << c.which << " " << c.text;
    EXPECT_EQ(value, c.value) << c.which << " " << c.text;
    EXPECT_EQ(stop, c.stop) << c.which << " " << c.text;
  }
}

TEST(TextScan, GetQuotedColorPutsRedInTheLowByte) {
  struct Case {
    const char* text;
    int result;
    COLORREF colour;
    long stop;
  } cases[] = {
      {"\"#FF8000\"", 0, 0x000080FF, 9},
      {" \"#0a0B0c\"x", 0, 0x000C0B0A, 10},
      {"\"#123\"", 0, 0x00230100, 6},     // fewer digits are still a value
      {"\"#FF8000", 3, 0xDEAD, 8},
      {"#FF8000\"", 3, 0xDEAD, 0},
      {"\"FF8000\"", 3, 0xDEAD, 1},
      {"\"#\"", 1, 0xDEAD, 2},
      {"  ", -1, 0xDEAD, 2},
  };
  for (const auto& c : cases) {
    int result = -9;
    COLORREF colour = 0xDEAD;
    long stop = Scan(c.text, [&](const char*& p) { result = GetQuotedColor(p, colour); });
    EXPECT_EQ(result, c.result) << c.text;
    EXPECT_EQ(colour, c.colour) << c.text;
    EXPECT_EQ(stop, c.stop) << c.text;
  }
}

TEST(TextScan, ReplaceAll) {
  struct Case {
    const char* text;
    const char* from;
    const char* to;
    bool exact;
    const char* expected;
  } cases[] = {
      {"data001.SAV", ".sav", ".bmp", false, "data001.bmp"},
      {"data001.SAV", ".sav", ".bmp", true, "data001.SAV"},
      {"aaaa", "aa", "b", true, "bb"},
      {"abab", "ab", "", true, ""},
      {"x", "x", "yyy", true, "yyy"},
      {"\x83\x61" "a", "a", "!", false, "\x83\x61!"},  // trail byte 0x61 is not a letter
      {"\x83\x61", "\x83\x41", "!", false, "\x83\x61"},  // trail bytes compare exactly when folded
      {"abc\x82", "\x82", "!", true, "abc!"},            // a lead byte at the very end
      {"", "a", "b", true, ""},
      {"abc", "", "b", true, "abc"},
  };
  for (const auto& c : cases) {
    std::string s = c.text;
    ReplaceAll(s, c.from, c.to, c.exact);
    EXPECT_EQ(s, c.expected) << c.text << " " << c.from;
  }
}

}  // namespace
