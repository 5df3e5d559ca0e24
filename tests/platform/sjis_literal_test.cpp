#include "platform/sjis_literal.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

#include "platform/cp932_encode_table.h"
#include "platform/sjis.h"

namespace {

std::string Hex(std::string_view bytes) {
  std::string out;
  char cell[4];
  for (unsigned char c : bytes) {
    std::snprintf(cell, sizeof cell, "%02X", c);
    out += cell;
  }
  return out;
}

// The characters that Shift-JIS tables disagree on get CP932's own codes: the NEC row 13 codes for
// Roman numerals and circled digits, 8160 for the wave dash, and 5C for the yen sign.
TEST(SjisLiteral, EncodesAsCp932) {
  struct Case {
    const char* name;
    std::string_view literal;
    const char* hex;
  } const cases[] = {
      {"roman numeral one", "Ⅰ"_sj, "8754"},
      {"roman numeral ten", "Ⅹ"_sj, "875D"},
      {"circled digit one", "①"_sj, "8740"},
      {"wave dash", "〜"_sj, "8160"},
      {"fullwidth tilde", "～"_sj, "8160"},
      {"yen sign", "¥"_sj, "5C"},
      {"small roman numeral one", "ⅰ"_sj, "FA40"},
      {"IBM extension kanji", "纊"_sj, "FA5C"},
      {"em dash", "—"_sj, "815C"},
      {"half-width katakana", "ｱｲ"_sj, "B1B2"},
      {"kanji with trail byte 5C", "表"_sj, "955C"},
      {"ASCII and escapes pass through", "a%d\n"_sj, "6125640A"},
      {"mixed", "CPU使用率 %d％"_sj, "4350558E67977097A62025648193"},
  };
  for (const Case& c : cases) EXPECT_EQ(Hex(c.literal), c.hex) << c.name;
}

TEST(SjisLiteral, IsAZeroTerminatedStaticArray) {
  static_assert(sizeof("エラー"_sj) == 7);
  static_assert(sizeof(""_sj) == 1);
  constexpr std::string_view joined =
      "ファイル"
      "が"_sj;
  static_assert(joined.size() == 10);
  EXPECT_EQ("エラー"_sj[6], '\0');
  // The same text gives the same storage in every use.
  EXPECT_EQ(static_cast<const char*>("エラー"_sj), static_cast<const char*>("エラー"_sj));
}

// The checked-in table agrees with the platform's decoding: each code decodes to its code point, or,
// for characters CP932 holds twice or maps one way only, to a character that encodes to the same code.
TEST(SjisLiteral, TableAgreesWithTheDecoder) {
  int oneWay = 0;
  for (const platform::Cp932Pair& pair : platform::kCp932EncodeTable) {
    const char32_t decoded = platform::SjisCodeToUnicode(pair.code);
    ASSERT_NE(decoded, 0xFFFDu) << std::hex << pair.code;
    if (decoded == pair.codePoint) continue;
    ++oneWay;
    if (decoded < 0x80) {  // the yen sign and the overline share the ASCII codes
      EXPECT_EQ(pair.code, decoded) << std::hex << pair.codePoint;
      continue;
    }
    const platform::Cp932Pair* back = nullptr;
    for (const platform::Cp932Pair& other : platform::kCp932EncodeTable)
      if (other.codePoint == decoded) back = &other;
    ASSERT_NE(back, nullptr) << std::hex << pair.codePoint;
    EXPECT_EQ(back->code, pair.code) << std::hex << pair.codePoint;
  }
  EXPECT_GT(oneWay, 0);
  EXPECT_LT(oneWay, 500);
}

}  // namespace
