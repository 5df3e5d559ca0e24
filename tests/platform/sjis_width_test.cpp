#include "platform/sjis_width.h"

#include <gtest/gtest.h>

#include "platform/sjis.h"

namespace {

struct Case {
  const char* name;
  uint16_t narrow;
  uint16_t wide;
};

TEST(SjisWidth, WidensTheOneByteCharacters) {
  const Case cases[] = {
      {"space", 0x20, 0x8140},          {"exclamation", 0x21, 0x8149},   {"digit 0", 0x30, 0x824F},
      {"digit 9", 0x39, 0x8258},        {"capital A", 0x41, 0x8260},     {"capital Z", 0x5A, 0x8279},
      {"small a", 0x61, 0x8281},        {"small z", 0x7A, 0x829A},       {"hyphen-minus", 0x2D, 0x817C},
      {"backslash is yen", 0x5C, 0x818F}, {"tilde is overline", 0x7E, 0x8150},
      {"double quote", 0x22, 0x8168},   {"single quote", 0x27, 0x8166},  {"grave accent", 0x60, 0x814D},
      {"vertical bar", 0x7C, 0x8162},   {"full stop", 0xA1, 0x8142},     {"opening bracket", 0xA2, 0x8175},
      {"closing bracket", 0xA3, 0x8176}, {"comma", 0xA4, 0x8141},        {"middle dot", 0xA5, 0x8145},
      {"wo", 0xA6, 0x8392},             {"small a kana", 0xA7, 0x8340},  {"long vowel", 0xB0, 0x815B},
      {"a kana", 0xB1, 0x8341},         {"n kana", 0xDD, 0x8393},        {"voiced mark", 0xDE, 0x814A},
      {"semi-voiced mark", 0xDF, 0x814B},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::SjisToFullWidth(static_cast<uint8_t>(c.narrow)), c.wide) << c.name;
    EXPECT_EQ(platform::SjisToHalfWidth(c.wide), c.narrow) << c.name;
  }
}

// The rest of ASCII widens to the full-width forms as the CP932 encoder writes them.
TEST(SjisWidth, AsciiWidensToTheEncodersFullWidthForms) {
  for (unsigned c = 0x21; c <= 0x7E; ++c) {
    if (c == '\\' || c == '~' || c == '"' || c == '\'') continue;
    EXPECT_EQ(platform::SjisToFullWidth(static_cast<uint8_t>(c)), platform::UnicodeToSjisCode(0xFF01 + c - 0x21))
        << "byte " << c;
  }
}

TEST(SjisWidth, LeavesCharactersWithoutAnotherForm) {
  for (unsigned c : {0x00u, 0x09u, 0x0Au, 0x1Fu, 0x7Fu, 0x80u, 0x81u, 0xA0u, 0xE0u, 0xFCu, 0xFFu}) {
    EXPECT_EQ(platform::SjisToFullWidth(static_cast<uint8_t>(c)), c) << "byte " << c;
  }
  const Case unchanged[] = {
      {"small wa hiragana", 0, 0x82EC}, {"wi hiragana", 0, 0x82EE},   {"small wa katakana", 0, 0x838E},
      {"small ka", 0, 0x8395},          {"small ke", 0, 0x8396},      {"full-width backslash", 0, 0x815F},
      {"wave dash", 0, 0x8160},         {"IBM double quote", 0, 0xFA57}, {"kanji", 0, 0x8ABF},
      {"just below the table", 0, 0x813F}, {"just above the table", 0, 0x8500}, {"one byte", 0, 0x41},
      {"largest code", 0, 0xFFFF},      {"alpha", 0, 0x839F},
  };
  for (const Case& c : unchanged) EXPECT_EQ(platform::SjisToHalfWidth(c.wide), c.wide) << c.name;
}

TEST(SjisWidth, NarrowsKanaToTheirBaseSound) {
  const Case cases[] = {
      {"hiragana ga", 0xB6, 0x82AA}, {"hiragana pa", 0xCA, 0x82CF}, {"katakana vu", 0xB3, 0x8394},
      {"katakana ga", 0xB6, 0x834B}, {"katakana po", 0xCE, 0x837C}, {"hiragana small a", 0xA7, 0x829F},
      {"hiragana a", 0xB1, 0x82A0},  {"hiragana mi", 0xD0, 0x82DD}, {"hiragana mu", 0xD1, 0x82DE},
      {"hiragana wo", 0xA6, 0x82F0}, {"hiragana n", 0xDD, 0x82F1},  {"hiragana small tsu", 0xAF, 0x82C1},
      {"hiragana do", 0xC4, 0x82C7},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::SjisToHalfWidth(c.wide), c.narrow) << c.name;
}

// Widening never gives two bytes the same character, and every character that narrows gives a byte.
TEST(SjisWidth, NarrowingInvertsWidening) {
  for (unsigned c = 0; c < 256; ++c) {
    const uint16_t wide = platform::SjisToFullWidth(static_cast<uint8_t>(c));
    if (wide != c) {
      EXPECT_GE(wide, 0x8140u) << "byte " << c;
      EXPECT_EQ(platform::SjisToHalfWidth(wide), c) << "byte " << c;
    }
  }
  for (unsigned code = 0x100; code <= 0xFFFF; ++code) {
    const uint16_t narrow = platform::SjisToHalfWidth(static_cast<uint16_t>(code));
    if (narrow != code) EXPECT_LT(narrow, 0x100u) << "code " << code;
  }
}

}  // namespace
