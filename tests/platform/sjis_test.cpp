#include "platform/sjis.h"

#include <gtest/gtest.h>

#include "test_util.h"
#include "platform/sjis_literal.h"

namespace {

struct Case {
  const char* sjis;
  const char8_t* utf8;
};

TEST(Sjis, RoundTripsMixedText) {
  const Case cases[] = {
      {"abc", u8"abc"},
      {"\x95\x5C", u8"表"},        // trail byte 0x5C is a backslash in ASCII
      {"\x82\xA0", u8"あ"},
      {"\xB1\xB2", u8"ｱｲ"},        // half-width katakana
      {"\x83\x5C\x83\x74\x83\x67", u8"ソフト"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::SjisToUtf8(c.sjis), U8(c.utf8));
    EXPECT_EQ(platform::Utf8ToSjis(U8(c.utf8)), c.sjis);
  }
}

TEST(Sjis, NarrowLiteralsAreShiftJis) { EXPECT_STREQ("表"_sj, "\x95\x5C"); }

TEST(Sjis, LeadByteAtEndIsDropped) { EXPECT_EQ(platform::SjisToUtf8(std::string_view("a\x82", 2)), "a"); }

TEST(Sjis, UnmappableBecomesQuestionMark) { EXPECT_EQ(platform::Utf8ToSjis(U8(u8"a\U0001F600b")), "a?b"); }

}  // namespace
