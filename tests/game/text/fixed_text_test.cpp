// Bounded Shift-JIS copies into fixed fields and the saturating float conversion.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "game/text/fixed_text.h"
#include "game/script/saturate.h"

namespace {

TEST(FixedText, FitLengthNeverSplitsACharacter) {
  struct Case {
    std::string text;
    size_t max;
    size_t fit;
  };
  const Case cases[] = {
      {"abc", 5, 3},
      {"abc", 2, 2},
      {"a\x82\xa0" "b", 2, 1},   // the double-byte character would end past the limit
      {"a\x82\xa0" "b", 3, 3},
      {"\x82\xa0\x82\xa2", 3, 2},
      {"ab\x82", 10, 2},         // a lead byte at the very end has no trail: dropped
      {"\xb1\xb2", 1, 1},        // half-width katakana are single bytes
      {"", 0, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(SjisFitLength(c.text, c.max), c.fit) << c.text << " " << c.max;
}

TEST(FixedText, CopyTerminatesAndClearsTheRest) {
  char buffer[6];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_TRUE(CopyFixedText(buffer, "ab"));
  EXPECT_EQ(std::string(buffer, sizeof buffer), std::string("ab\0\0\0\0", 6));
  EXPECT_FALSE(CopyFixedText(buffer, "abcd\x82\xa0"));
  EXPECT_EQ(std::string(buffer, sizeof buffer), std::string("abcd\0\0", 6));
  EXPECT_EQ(FixedText(buffer), "abcd");
  char unterminated[3] = {'a', 'b', 'c'};
  EXPECT_EQ(FixedText(unterminated), "abc");
}

TEST(Saturate, ToInt32) {
  struct Case {
    double value;
    int32_t expected;
  };
  const Case cases[] = {
      {1.9, 1},
      {-1.9, -1},
      {-1.5, -1},
      {2147483647.5, 2147483647},
      {1e300, 2147483647},
      {-2147483648.0, -2147483647 - 1},
      {-1e300, -2147483647 - 1},
      {std::numeric_limits<double>::infinity(), 2147483647},
      {-std::numeric_limits<double>::infinity(), -2147483647 - 1},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(SaturateToInt32(c.value), c.expected) << c.value;
}

}  // namespace
