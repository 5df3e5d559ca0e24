#include "platform/sjis.h"

#include <gtest/gtest.h>

#include "platform/sjis_literal.h"
#include "test_util.h"

namespace {

struct Case {
  const char* sjis;
  const char8_t* utf8;
};

TEST(Sjis, RoundTripsMixedText) {
  const Case cases[] = {
      {"abc", u8"abc"},
      {"\x95\x5C", u8"表"},  // trail byte 0x5C is a backslash in ASCII
      {"\x82\xA0", u8"あ"},
      {"\xB1\xB2", u8"ｱｲ"},  // half-width katakana
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

namespace {

// The encoder is CP932's own: characters that Linux text writes for CP932 codes whose decoding
// gives another code point still get those codes, and IBM extension characters their IBM rows.
TEST(Sjis, EncoderTakesCp932sOneWayCharactersAndIbmRows) {
  struct Case {
    const char* name;
    char32_t cp;
    uint16_t code;
  };
  const Case cases[] = {
      {"wave dash", 0x301C, 0x8160}, {"full-width tilde", 0xFF5E, 0x8160}, {"yen sign", 0x00A5, 0x5C},
      {"em dash", 0x2014, 0x815C},   {"small roman one", 0x2170, 0xFA40},  {"IBM kanji", 0x7E8A, 0xFA5C},
      {"roman one", 0x2160, 0x8754}, {"hiragana a", 0x3042, 0x82A0},       {"half-width ka", 0xFF76, 0xB6},
      {"emoji", 0x1F600, 0},         {"private use", 0xE000, 0xF040},      {"no code", 0x0E01, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::UnicodeToSjisCode(c.cp), c.code) << c.name;
  // The decoder keeps CP932's first choices.
  EXPECT_EQ(platform::SjisCodeToUnicode(0x8160), U'\uFF5E');
  EXPECT_EQ(platform::SjisCodeToUnicode(0xED40), U'\u7E8A');
  EXPECT_EQ(platform::SjisCodeToUnicode(0x80), U'\uFFFD');
  EXPECT_EQ(platform::SjisCodeToUnicode(0x82), U'\uFFFD');  // a lone lead byte
}

TEST(Sjis, TablesAgreeWithTheSingleLookups) {
  const auto decode = platform::SjisDecodeTable();
  const auto encode = platform::SjisEncodeTable();
  for (unsigned code = 0; code < 0x10000; code += 7)
    EXPECT_EQ(decode[code], platform::SjisCodeToUnicode(static_cast<uint16_t>(code)));
  for (char32_t cp = 0; cp < 0x10000; cp += 7) EXPECT_EQ(encode[cp], platform::UnicodeToSjisCode(cp));
  // Every character that decodes encodes to a code that decodes to it again.
  for (unsigned code = 0x80; code < 0x10000; ++code) {
    const uint16_t u = decode[code];
    if (u == 0xFFFD) continue;
    ASSERT_EQ(decode[encode[u]], u) << std::hex << code;
  }
}

}  // namespace

#include <iconv.h>

namespace {

// The encode table is checked in; it must still be what iconv's strict UTF-32 to CP932 conversion
// gives for every BMP code point.
TEST(Sjis, EncodeTableIsIconvsEncodeDirection) {
  iconv_t cd = iconv_open("CP932", "UTF-32LE");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  const auto encode = platform::SjisEncodeTable();
  for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    char32_t in = cp;
    unsigned char out[4];
    char* ip = reinterpret_cast<char*>(&in);
    char* op = reinterpret_cast<char*>(out);
    size_t il = sizeof in, ol = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    uint16_t expected = 0;
    if (iconv(cd, &ip, &il, &op, &ol) != static_cast<size_t>(-1)) {
      expected = sizeof out - ol == 1 ? out[0] : static_cast<uint16_t>(out[0] << 8 | out[1]);
    }
    ASSERT_EQ(encode[cp], expected) << std::hex << static_cast<uint32_t>(cp);
  }
  iconv_close(cd);
}

// The decode table is checked in too; every code, one byte or lead and trail (a lead byte alone and
// the bytes CP932 leaves empty included), must decode as iconv's CP932 to UTF-32 conversion does,
// U+FFFD where it has nothing.
TEST(Sjis, DecodeTableIsIconvsDecodeDirection) {
  iconv_t cd = iconv_open("UTF-32LE", "CP932");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  const auto decode = platform::SjisDecodeTable();
  auto expected = [&](const char* bytes, size_t length) -> uint16_t {
    char in[2] = {bytes[0], length > 1 ? bytes[1] : '\0'};
    char32_t out = 0;
    char* ip = in;
    char* op = reinterpret_cast<char*>(&out);
    size_t il = length, ol = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || ol != 0 || out > 0xFFFF) return 0xFFFD;
    return static_cast<uint16_t>(out);
  };
  for (unsigned c = 0; c < 0x100; ++c) {
    if (platform::IsSjisLead(static_cast<unsigned char>(c))) continue;
    const char byte = static_cast<char>(c);
    ASSERT_EQ(decode[c], expected(&byte, 1)) << std::hex << c;
  }
  int twoByteCodes = 0;
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!platform::IsSjisLead(static_cast<unsigned char>(lead))) continue;
    for (unsigned trail = 0; trail < 0x100; ++trail) {
      const unsigned code = lead << 8 | trail;
      const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      const bool validTrail = trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
      ASSERT_EQ(decode[code], validTrail ? expected(bytes, 2) : 0xFFFD) << std::hex << code;
      twoByteCodes += decode[code] != 0xFFFD;
    }
  }
  // Guards the comparison itself: a converter that decoded nothing would agree with an empty table.
  EXPECT_GT(twoByteCodes, 7000);
  iconv_close(cd);
}

}  // namespace
