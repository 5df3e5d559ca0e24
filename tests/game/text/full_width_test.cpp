#include "game/text/full_width.h"

#include <gtest/gtest.h>
#include <string>

#include "platform/sjis_literal.h"

namespace {

TEST(ToFullWidth, EveryPrintableAsciiCharacter) {
  std::string ascii;
  for (int c = 0x20; c <= 0x7E; ++c) ascii.push_back(static_cast<char>(c));
  const std::string expected = std::string("　！”＃＄％＆’（）＊＋，－．／０１２３４５６７８９：；＜＝＞？"_sj) +
                               "＠ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ［￥］＾＿"_sj +
                               "‘ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ｛｜｝"_sj + "~";
  EXPECT_EQ(ToFullWidth(ascii), expected);
}

TEST(ToFullWidth, NamedCases) {
  struct Case {
    const char* name;
    std::string text;
    std::string expected;
  } cases[] = {
      {"page 0", "001", "００１"_sj},
      {"page 100", "100", "１００"_sj},
      {"empty", "", ""},
      {"double-byte characters kept whole", "ア1ｱ"_sj, std::string("ア１ｱ"_sj)},
      {"lead byte at the end kept", std::string("A\x83", 2), std::string("Ａ"_sj) + "\x83"},
      {"control and high bytes kept", std::string("\t\x1F\x7F\x82\xA0", 5), std::string("\t\x1F\x7F\x82\xA0", 5)},
  };
  for (const Case& c : cases) EXPECT_EQ(ToFullWidth(c.text), c.expected) << c.name;
}

}  // namespace
