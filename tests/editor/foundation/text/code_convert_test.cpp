#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>

#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/sjis_char.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "test_util.h"

namespace {

const std::string kGeta = "\x81\xAC";

struct Converted {
  std::string bytes;
  int unconverted;
};

Converted Convert(std::string_view in, int (CMemory::*convert)()) {
  CMemory m(in.data(), static_cast<int>(in.size()));
  const int n = (m.*convert)();
  return {std::string(m.View()), n};
}

struct Case {
  const char* name;
  std::string in;
  std::string out;
  int unconverted;
};

template <size_t N>
void CheckAll(const Case (&cases)[N], int (CMemory::*convert)()) {
  for (const Case& c : cases) {
    const Converted r = Convert(c.in, convert);
    EXPECT_EQ(r.bytes, c.out) << c.name;
    EXPECT_EQ(r.unconverted, c.unconverted) << c.name;
  }
}

std::string S(std::string_view s) { return std::string(s); }

TEST(CodeConvert, SjisToJis) {
  const Case cases[] = {
      {"ascii unchanged", "abc\r\n", "abc\r\n", 0},
      {"ends in kanji", "a"_sj + S("亜"_sj), "a\x1B$B0!\x1B(B", 0},
      {"half-width kana", "\xB1x", "\x1B(I1\x1B(Bx", 0},
      {"kanji then kana", S("亜"_sj) + "\xB1", "\x1B$B0!\x1B(I1\x1B(B", 0},
      {"user-defined row has no JIS code", "\xF0\x40", "\x1B$B\x22\x2E\x1B(B", 1},
      {"IBM row goes to its NEC row", "\xFA\x40", "\x1B$B\x7C\x71\x1B(B", 0},
      // A byte that is neither ASCII nor half-width katakana nor part of a pair has no JIS code:
      // one geta mark in a kanji run, never a control byte in a katakana run.
      {"stray byte between letters", "\x41\x80\x42", "\x41\x1B$B\x22\x2E\x1B(B\x42", 1},
      {"stray bytes after half-width kana", "\xB1\xA0\xFD\xFF", "\x1B(I1\x1B$B\x22\x2E\x22\x2E\x22\x2E\x1B(B", 3},
      {"lone lead byte before a blank", "\xB1\x82 ", "\x1B(I1\x1B$B\x22\x2E\x1B(B ", 1},
      {"lead byte last", "a\x82", "a\x1B$B\x22\x2E\x1B(B", 1},
  };
  CheckAll(cases, &CMemory::SJIStoJIS);
}

int JisToSjisMime(CMemory& m) { return m.JIStoSJIS(true); }

TEST(CodeConvert, JisToSjis) {
  const std::string kHello = "こんにちは"_sj;
  const Case cases[] = {
      {"kanji run", "x\x1B$B0!\x1B(By", "x" + S("亜"_sj) + "y", 0},
      {"unclosed kanji run stays", "\x1B$B0!", "\x1B$B0!", 1},
      {"odd kanji run", "\x1B$B0!0\x1B(J", S("亜"_sj) + "0", 1},
      {"katakana run", "\x1B(I1\x1B(B", "\xB1", 0},
      // Only 0x21-0x7E are katakana in a katakana run; line ends, blanks and control bytes stay.
      {"line end in an unclosed katakana run", "\x1B(I1\r\n2", "\xB1\r\n\xB2", 0},
      {"LF and a letter in an unclosed katakana run", "\x1B(I1\nA", "\xB1\n\xC1", 0},
      {"blank, DEL and a stray escape in a katakana run", "\x1B(I1 \x7F\x1B!\x1B(B", "\xB1 \x7F\x1B\xA1", 0},
      {"escape cut at the end", "a\x1B$", "a\x1B$", 0},
      {"B word", "=?ISO-2022-JP?B?GyRCJDMkcyRLJEEkTxsoQg==?=", kHello, 0},
      {"lower-case prefix", "=?iso-2022-jp?b?GyRCJDMkcyRLJEEkTxsoQg==?=!", kHello + "!", 0},
      {"word without end stays", "=?ISO-2022-JP?B?GyRCJDMk", "=?ISO-2022-JP?B?GyRCJDMk", 0},
      {"Q word with a lone =", "=?ISO-2022-JP?Q?=1B$B0!=1B(B=4=?=", S("亜"_sj) + "=4=", 0},
      {"two words keep the blank between", "=?ISO-2022-JP?Q?a?= =?ISO-2022-JP?Q?b?=", "a b", 0},
  };
  for (const Case& c : cases) {
    CMemory m(c.in.data(), static_cast<int>(c.in.size()));
    const int n = JisToSjisMime(m);
    EXPECT_EQ(std::string(m.View()), c.out) << c.name;
    EXPECT_EQ(n, c.unconverted) << c.name;
  }
  CMemory plain("=?ISO-2022-JP?Q?a?=", 19);
  plain.JIStoSJIS(false);
  EXPECT_EQ(std::string(plain.View()), "=?ISO-2022-JP?Q?a?=");
}

TEST(CodeConvert, SjisToEucAndBack) {
  const Case to[] = {
      {"hiragana", "a"_sj + S("あ"_sj), "a\xA4\xA2", 0},
      {"half-width kana", "\xB1", "\x8E\xB1", 0},
      {"no JIS code keeps its bytes", "\xFC\xFC", "\xFC\xFC", 1},
      {"lone lead byte", "\x82", "\x8E\x82", 0},
      {"user area, first code", "\xF0\x40", "\xF5\xA1", 0},
      {"user area, end of the first lead", "\xF0\xFC", "\xF6\xFE", 0},
      {"user area beside the NEC-selected rows", "\xF2\x40", "\x8F\xEF\xA1", 0},
      {"user area, end of the two-byte rows", "\xF4\xFC", "\xFE\xFE", 0},
      {"user area, first three-byte code", "\xF5\x40", "\x8F\xF5\xA1", 0},
      {"user area, last code", "\xF9\xFC", "\x8F\xFE\xFE", 0},
  };
  CheckAll(to, &CMemory::SJIStoEUC);
  const Case from[] = {
      {"hiragana", "a\xA4\xA2", "a"_sj + S("あ"_sj), 0},
      {"half-width kana", "\x8E\xB1", "\xB1", 0},
      {"0x8E last", "a\x8E", "a\x8E", 1},
      {"EUC byte last", "a\xA4", "a\xA4", 0},
      {"own bytes come back", "\xFC\x40", "\xFC\x40", 0},
      {"three-byte form is one geta", "\x8F\xB0\xA1\x41", kGeta + "A", 1},
      {"three-byte form at the end", "a\x8F\xB0\xA1", "a" + kGeta, 1},
      {"user area", "\xF5\xA1\xF6\xFE\xFE\xFE", "\xF0\x40\xF0\xFC\xF4\xFC", 0},
      {"user area in three bytes", "\x8F\xEF\xA1\x8F\xF5\xA1\x8F\xFE\xFE", "\xF2\x40\xF5\x40\xF9\xFC", 0},
      {"NEC-selected row stays", "\xFC\xF1", "\xEE\xEF", 0},
  };
  CheckAll(from, &CMemory::EUCtoSJIS);
}

TEST(CodeConvert, SjisToUtf16) {
  const Case le[] = {
      {"ascii and kana", "a"_sj + S("あ"_sj), std::string("a\0\x42\x30", 4), 0},
      {"half-width kana", "\xB1", "\x71\xFF", 0},
      {"undecodable byte", "\x80", "\xFD\xFF", 1},
      {"lead byte last", "a\x82", std::string("a\0\xFD\xFF", 4), 1},
      {"unmapped pair: first byte only", "\x85\x40", std::string("\xFD\xFF@\0", 4), 1},
      {"NUL", std::string("\0", 1), std::string("\0\0", 2), 0},
  };
  CheckAll(le, &CMemory::SJIStoUNICODE);
  EXPECT_EQ(Convert("a"_sj + S("あ"_sj), &CMemory::SJIStoUNICODEBE).bytes, std::string("\0a\x30\x42", 4));
}

TEST(CodeConvert, Utf16ToSjis) {
  const Case le[] = {
      {"hiragana", std::string("a\0\x42\x30", 4), "a"_sj + S("あ"_sj), 0},
      {"e acute has no code", std::string("\xE9\0", 2), kGeta, 1},
      {"emoji pair is one mark", std::string("\x3D\xD8\x00\xDE", 4), kGeta, 1},
      {"lone surrogate", std::string("\x00\xDCx\0", 4), kGeta + "x", 1},
      {"wave dash", std::string("\x1C\x30", 2), "\x81\x60", 0},
      {"em dash", std::string("\x14\x20", 2), "\x81\x5C", 0},
      {"yen sign", std::string("\xA5\x00", 2), "\\", 0},
      {"odd last byte dropped", std::string("a\0b", 3), "a", 1},
      {"NUL", std::string("\0\0", 2), std::string("\0", 1), 0},
  };
  CheckAll(le, &CMemory::UNICODEtoSJIS);
  EXPECT_EQ(Convert(std::string("\0a\x30\x42", 4), &CMemory::UNICODEBEtoSJIS).bytes, "a"_sj + S("あ"_sj));
}

TEST(CodeConvert, SjisAndUtf8) {
  const Case to[] = {
      {"hiragana", "a"_sj + S("あ"_sj), U8(u8"aあ"), 0},
      {"half-width kana", "\xB1", U8(u8"ｱ"), 0},
      {"undecodable byte", "\x80z", "\xEF\xBF\xBDz", 1},
      {"NEC row", "\x87\x54", U8(u8"Ⅰ"), 0},
  };
  CheckAll(to, &CMemory::SJIStoUTF8);
  const Case from[] = {
      {"hiragana", U8(u8"aあ"), "a"_sj + S("あ"_sj), 0},
      {"e acute", "\xC3\xA9x", kGeta + "x", 1},
      {"emoji", "\xF0\x9F\x98\x80x", kGeta + "x", 1},
      {"em dash", "\xE2\x80\x94x", "\x81\x5Cx", 0},
      {"no code", "\xE0\xB8\x81x", kGeta + "x", 1},
      {"overlong NUL", "\xC0\x80x", kGeta + "x", 1},
      {"encoded surrogate", "\xED\xA0\x80x", kGeta + "x", 1},
      {"stray continuation", "\x80x", kGeta + "x", 1},
      {"cut sequence", "x\xE3\x81", "x" + kGeta + kGeta, 2},
      {"small roman one", U8(u8"ⅰ"), "\xFA\x40", 0},
      {"IBM kanji", U8(u8"纊"), "\xFA\x5C", 0},
      {"roman one", U8(u8"Ⅰ"), "\x87\x54", 0},
      {"wave dash", U8(u8"\u301C"), "\x81\x60", 0},
  };
  CheckAll(from, &CMemory::UTF8toSJIS);
  for (const Case& c : from)
    EXPECT_EQ(Convert(c.in, &CMemory::UTF8toSJIS).bytes.find('\0'), std::string::npos) << c.name;
}

TEST(CodeConvert, SjisAndUtf7) {
  const Case to[] = {
      {"plus", "a+b", "a+-b", 0},
      {"kanji run then a blank", "漢字 "_sj, "+byJbVw- ", 0},
      {"run at the end", "x"_sj + S("亜"_sj), "x+Tpw-", 0},
  };
  CheckAll(to, &CMemory::SJIStoUTF7);
  const Case from[] = {
      {"plus minus", "+-", "+", 0},
      {"short run copied", "+A-", "+A-", 0},
      {"kanji run", "+byJbVw- ", "漢字 "_sj, 0},
      {"run ended by another byte", "+byJbVw!", "漢字!"_sj, 0},
      {"run at the end", "+Tpw", "亜"_sj, 0},
      {"odd byte count copied", "+AAAA-", "+AAAA-", 0},
      {"unit without code", "+AOk-", kGeta, 1},
  };
  CheckAll(from, &CMemory::UTF7toSJIS);
}

TEST(CodeConvert, Base64AndUudecode) {
  CMemory b64("QUJD\r\nREVG\r\nRw==", 16);
  b64.Base64Decode();
  EXPECT_EQ(std::string(b64.View()), "ABCDEFG");
  CMemory enc("ABCDEFG", 7);
  enc.Base64Encode(8, true);
  EXPECT_EQ(std::string(enc.View()), "QUJDREVG\r\nRw==");

  std::string name;
  const std::string uu = "junk\r\nbegin 644 a b.txt\n#86)C\n`\nend\n";
  CMemory m(uu.data(), static_cast<int>(uu.size()));
  m.Uudecode(name);
  EXPECT_EQ(std::string(m.View()), "abc");
  EXPECT_EQ(name, "a b.txt");
  // The length character claims 45 bytes; the line holds four characters: three bytes, and the
  // decoder stops at the line's end.
  const std::string shortLine = "begin 644 f\nM86)C\nend\n";
  CMemory s(shortLine.data(), static_cast<int>(shortLine.size()));
  s.Uudecode(name);
  EXPECT_EQ(std::string(s.View()), "abc");
  CMemory none("#86)C\n", 6);
  none.Uudecode(name);
  EXPECT_EQ(none.GetLength(), 0);
  EXPECT_EQ(name, "");
}

// The table of the IBM rows against the NEC rows, at both ends of every remapped range; each pair
// must also be the same character in CP932.
TEST(CodeConvert, SjisCharToJisRemapsIbmRows) {
  const std::pair<uint16_t, uint16_t> ends[] = {
      {0xFA40, 0xEEEF}, {0xFA49, 0xEEF8}, {0xFA4A, 0x8754}, {0xFA53, 0x875D}, {0xFA54, 0xEEF9}, {0xFA57, 0xEEFC},
      {0xFA58, 0x878A}, {0xFA59, 0x8782}, {0xFA5A, 0x8784}, {0xFA5B, 0x879A}, {0xFA5C, 0xED40}, {0xFA7E, 0xED62},
      {0xFA80, 0xED63}, {0xFA9B, 0xED7E}, {0xFA9C, 0xED80}, {0xFAFC, 0xEDE0}, {0xFB40, 0xEDE1}, {0xFB5B, 0xEDFC},
      {0xFB5C, 0xEE40}, {0xFB7E, 0xEE62}, {0xFB80, 0xEE63}, {0xFB9B, 0xEE7E}, {0xFB9C, 0xEE80}, {0xFBFC, 0xEEE0},
      {0xFC40, 0xEEE1}, {0xFC4B, 0xEEEC},
  };
  for (auto [ibm, nec] : ends) {
    const uint16_t jis = SjisCharToJis(ibm >> 8, ibm & 0xFF);
    EXPECT_NE(jis, 0) << std::hex << ibm;
    EXPECT_EQ(jis, SjisCharToJis(nec >> 8, nec & 0xFF)) << std::hex << ibm;
    EXPECT_EQ(platform::SjisCodeToUnicode(ibm), platform::SjisCodeToUnicode(nec)) << std::hex << ibm;
  }
  const auto decode = platform::SjisDecodeTable();
  for (unsigned code = 0xFA40; code <= 0xFC4B; ++code) {
    if (!IsSjisTrailByte(code & 0xFF)) continue;
    const uint16_t jis = SjisCharToJis(code >> 8, code & 0xFF);
    ASSERT_NE(jis, 0) << std::hex << code;
    EXPECT_EQ(decode[JisPairsToSjis(jis >> 8, jis & 0xFF)], decode[code]) << std::hex << code;
  }
  EXPECT_EQ(SjisCharToJis(0xFC, 0x4C), 0);
  EXPECT_EQ(SjisCharToJis(0xF0, 0x40), 0);
  EXPECT_EQ(SjisCharToJis(0x88, 0x9F), 0x3021);
  EXPECT_EQ(SjisCharToJis(0x81, 0x7F), 0);  // no trail byte
  EXPECT_EQ(JisPairsToSjis(0x30, 0x21), 0x889F);
  EXPECT_EQ(JisPairsToSjis(0x7F, 0x21), 0);
}

// Every CP932 character comes back through every code that can hold it: as itself, or as the one
// code preferred for a character that CP932 holds twice (NEC and IBM rows): CP932's encoder's choice
// through Unicode, the NEC-selected row (the one with a JIS code) through EUC and JIS. EUC also
// holds the user-defined area, which has no JIS code: every CP932 code goes through it.
TEST(CodeConvert, EveryCharacterComesBack) {
  const auto decode = platform::SjisDecodeTable();
  std::string all;
  std::vector<uint16_t> codes;
  for (unsigned code = 0x80; code < 0x10000; ++code) {
    if (decode[code] == 0xFFFD) continue;
    if (code > 0xFF && (!IsSjisLeadByte(code >> 8) || !IsSjisTrailByte(code & 0xFF))) continue;
    if (code <= 0xFF && IsSjisLeadByte(code)) continue;
    codes.push_back(static_cast<uint16_t>(code));
  }
  ASSERT_GT(codes.size(), 7000u);
  enum Through { kUnicode, kEuc, kJis };
  const auto check = [&](const char* name, auto to, auto from, Through through) {
    std::string text;
    std::vector<uint16_t> kept;
    for (uint16_t code : codes) {
      if (through == kJis && code > 0xFF && SjisCharToJis(code >> 8, code & 0xFF) == 0) continue;
      kept.push_back(code);
      if (code > 0xFF) text += static_cast<char>(code >> 8);
      text += static_cast<char>(code & 0xFF);
      text += ' ';  // keeps single bytes from pairing with what follows
    }
    if (through == kEuc) {
      EXPECT_EQ(kept.size(), codes.size());
    }
    CMemory m(text.data(), static_cast<int>(text.size()));
    EXPECT_EQ(to(m), 0) << name;
    EXPECT_EQ(from(m), 0) << name;
    const std::string back(m.View());
    size_t pos = 0;
    for (uint16_t code : kept) {
      ASSERT_LT(pos, back.size()) << name;
      const int size = SjisCharSize(reinterpret_cast<const unsigned char*>(back.data()), static_cast<int>(back.size()),
                                    static_cast<int>(pos));
      const uint16_t got = size == 2 ? static_cast<uint16_t>((static_cast<unsigned char>(back[pos]) << 8) |
                                                             static_cast<unsigned char>(back[pos + 1]))
                                     : static_cast<unsigned char>(back[pos]);
      ASSERT_EQ(decode[got], decode[code]) << name << std::hex << " code " << code << " came back as " << got;
      if (got != code) {
        uint16_t preferred = platform::UnicodeToSjisCode(decode[code]);
        if (through != kUnicode) {
          const uint16_t jis = SjisCharToJis(code >> 8, code & 0xFF);
          preferred = JisPairsToSjis(jis >> 8, jis & 0xFF);
        }
        EXPECT_EQ(got, preferred) << name << std::hex << " code " << code;
      }
      pos += size + 1;
    }
    EXPECT_EQ(pos, back.size()) << name;
  };
  check(
      "UTF-16", [](CMemory& m) { return m.SJIStoUNICODE(); }, [](CMemory& m) { return m.UNICODEtoSJIS(); }, kUnicode);
  check(
      "UTF-16BE", [](CMemory& m) { return m.SJIStoUNICODEBE(); }, [](CMemory& m) { return m.UNICODEBEtoSJIS(); },
      kUnicode);
  check(
      "UTF-8", [](CMemory& m) { return m.SJIStoUTF8(); }, [](CMemory& m) { return m.UTF8toSJIS(); }, kUnicode);
  check(
      "UTF-7", [](CMemory& m) { return m.SJIStoUTF7(); }, [](CMemory& m) { return m.UTF7toSJIS(); }, kUnicode);
  check(
      "EUC", [](CMemory& m) { return m.SJIStoEUC(); }, [](CMemory& m) { return m.EUCtoSJIS(); }, kEuc);
  check(
      "JIS", [](CMemory& m) { return m.SJIStoJIS(); }, [](CMemory& m) { return m.JIStoSJIS(false); }, kJis);
}

// All 1,880 codes of the user-defined area F040-F9FC decode (to the private use area) and come
// back through EUC as themselves.
TEST(CodeConvert, UserDefinedAreaComesBackThroughEuc) {
  std::string text;
  int count = 0;
  for (unsigned lead = 0xF0; lead <= 0xF9; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (!IsSjisTrailByte(trail)) continue;
      ASSERT_NE(platform::SjisCodeToUnicode(static_cast<uint16_t>(lead << 8 | trail)), 0xFFFDu);
      text += static_cast<char>(lead);
      text += static_cast<char>(trail);
      ++count;
    }
  }
  ASSERT_EQ(count, 1880);
  CMemory m(text.data(), static_cast<int>(text.size()));
  EXPECT_EQ(m.SJIStoEUC(), 0);
  EXPECT_EQ(m.EUCtoSJIS(), 0);
  EXPECT_EQ(std::string(m.View()), text);
}

int allocations = 0;
void* CountingRealloc(void* block, size_t size) {
  ++allocations;
  return std::realloc(block, size);
}

// A buffer converted again and again (a file written line by line through one working buffer)
// gets its block once: assigning the next text and converting it work in the block it has.
TEST(CodeConvert, ConversionsKeepTheirBlock) {
  const std::string sjis = S("漢字とかなとカナと"_sj) + "\xB6\xC5+ASCII\r\n";
  using Step = int (*)(CMemory&);
  const struct {
    const char* name;
    Step to;
    Step from;
  } codes[] = {
      {"JIS", [](CMemory& m) { return m.SJIStoJIS(); }, [](CMemory& m) { return m.JIStoSJIS(true); }},
      {"EUC", [](CMemory& m) { return m.SJIStoEUC(); }, [](CMemory& m) { return m.EUCtoSJIS(); }},
      {"UTF-16", [](CMemory& m) { return m.SJIStoUNICODE(); }, [](CMemory& m) { return m.UNICODEtoSJIS(); }},
      {"UTF-16BE", [](CMemory& m) { return m.SJIStoUNICODEBE(); }, [](CMemory& m) { return m.UNICODEBEtoSJIS(); }},
      {"UTF-8", [](CMemory& m) { return m.SJIStoUTF8(); }, [](CMemory& m) { return m.UTF8toSJIS(); }},
      {"UTF-7", [](CMemory& m) { return m.SJIStoUTF7(); }, [](CMemory& m) { return m.UTF7toSJIS(); }},
  };
  // Assigning the text again and converting it a second time asks for no block.
  const auto again = [](const std::string& in, Step step) {
    CMemory m(in.data(), static_cast<int>(in.size()));
    step(m);
    allocations = 0;
    const auto previous = CMemory::SetReallocForTesting(&CountingRealloc);
    m.Assign(in.data(), static_cast<int>(in.size()));
    step(m);
    CMemory::SetReallocForTesting(previous);
    return std::pair(allocations, std::string(m.View()));
  };
  for (const auto& c : codes) {
    CMemory m(sjis.data(), static_cast<int>(sjis.size()));
    c.to(m);
    const std::string encoded(m.View());
    EXPECT_EQ(again(sjis, c.to), std::pair(0, encoded)) << c.name;
    EXPECT_EQ(again(encoded, c.from), std::pair(0, sjis)) << c.name;
  }
  CMemory utf16("\x42\x30", 2);
  utf16.UNICODEtoUTF8();
  EXPECT_EQ(again("\x42\x30", [](CMemory& m) { return m.UNICODEtoUTF8(); }), std::pair(0, std::string(utf16.View())));
}

// A long text converts as its characters do one by one (each of them a text alone): the walks that
// take 64 bytes at a time must find the same characters as the rules, wherever a block ends.
TEST(CodeConvert, LongTextsConvertAsTheirCharacters) {
  using Size = int (*)(const unsigned char*, int, int);
  // The size of the character at i by the rules of each conversion.
  const Size sjisChar = [](const unsigned char* s, int len, int i) { return SjisCharSize(s, len, i); };
  const Size sjisUnicodeChar = [](const unsigned char* s, int len, int i) {
    return SjisCharSize(s, len, i) == 2 && platform::SjisCodeToUnicode((s[i] << 8) | s[i + 1]) != 0xFFFD ? 2 : 1;
  };
  const Size eucChar = [](const unsigned char* s, int len, int i) {
    const auto euc = [](unsigned char c) { return c >= 0xA1 && c <= 0xFE; };
    if (s[i] == 0x8E) return i + 1 < len ? 2 : 1;
    if (s[i] == 0x8F && i + 2 < len && euc(s[i + 1]) && euc(s[i + 2])) return 3;
    return euc(s[i]) && i + 1 < len && euc(s[i + 1]) ? 2 : 1;
  };
  const Size utf8Char = [](const unsigned char* s, int len, int i) {
    const auto cont = [&](int k) { return k < len && (s[k] & 0xC0) == 0x80; };
    if ((s[i] & 0xF0) == 0xE0 && cont(i + 1) && cont(i + 2)) return 3;
    if ((s[i] & 0xE0) == 0xC0 && cont(i + 1)) return 2;
    if ((s[i] & 0xF8) == 0xF0 && cont(i + 1) && cont(i + 2) && cont(i + 3)) return 4;
    return 1;
  };
  const struct {
    const char* name;
    int (CMemory::*convert)();
    Size size;
  } walks[] = {
      {"SJIStoEUC", &CMemory::SJIStoEUC, sjisChar},
      {"SJIStoUNICODE", &CMemory::SJIStoUNICODE, sjisUnicodeChar},
      {"SJIStoUTF8", &CMemory::SJIStoUTF8, sjisUnicodeChar},
      {"EUCtoSJIS", &CMemory::EUCtoSJIS, eucChar},
      {"UTF8toSJIS", &CMemory::UTF8toSJIS, utf8Char},
  };
  static const unsigned char kBytes[] = {'a',  ' ',  '\r', 0x80, 0x81, 0x82, 0x85, 0x88, 0x8E, 0x8F, 0x9F, 0xA0,
                                         0xA1, 0xA4, 0xB1, 0xDF, 0xE0, 0xEA, 0xF0, 0xF5, 0xF9, 0xFA, 0xFC, 0xFD,
                                         0xFE, 0xFF, 0x40, 0x7E, 0x7F, 0xA2, 0xC8, 0xEF, 0xC3, 0xE3, 0xED, 0xBF};
  // Whole characters of every code, and single bytes that matter to one of them.
  static const char* const kPieces[] = {"\xE3\x81\x82", "\xE6\xBC\xA2", "\xEF\xBD\xB1", "\xC3\xA9", "\xF0\x9F\x98\x80",
                                        "\xED\xA0\x80", "\xE0\x9F\xBF", "\xC0\x80",     "\x88\x9F", "\x82\xA0",
                                        "\x85\x40",     "\xF0\x40",     "\xA4\xA2",     "\xB4\xC1", "\x8E\xB1",
                                        "\x8F\xB0\xA1", "\x8F\xF5\xA1"};
  std::mt19937 rng(17);
  for (int round = 0; round < 400; ++round) {
    std::string text;
    const size_t size = rng() % 600;
    // Every third text is whole characters alone (kana, kanji, half-width katakana and the other
    // characters of one-byte codes, ASCII), which the walks take a whole block at a time.
    static const char* const kWhole[] = {
        "\xE3\x81\x82", "\xE6\xBC\xA2", "\xEF\xBD\xB1", "\xEF\xBE\x9F", "\xE2\x80\xBE", "\xC2\xA5", "a", "\r\n"};
    const bool whole = round % 3 == 2;
    while (text.size() < size) {
      const unsigned kind = rng() % 8;
      if (whole) {
        text += kWhole[rng() % (sizeof kWhole / sizeof kWhole[0])];
      } else if (kind < 4) {
        text += kPieces[rng() % (sizeof kPieces / sizeof kPieces[0])];
      } else {
        text += static_cast<char>(kind < 7 ? kBytes[rng() % sizeof kBytes] : rng() % 256);
      }
    }
    // Now and then a long ASCII stretch, which goes a block at a time.
    if (round % 4 == 0) text.insert(rng() % (text.size() + 1), std::string(64 + rng() % 130, 'x'));
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const int len = static_cast<int>(text.size());
    for (const auto& walk : walks) {
      std::string pieces;
      int unconverted = 0;
      for (int i = 0; i < len;) {
        const int size = walk.size(s, len, i);
        const Converted one = Convert(text.substr(i, size), walk.convert);
        pieces += one.bytes;
        unconverted += one.unconverted;
        i += size;
      }
      const Converted whole = Convert(text, walk.convert);
      ASSERT_EQ(whole.bytes, pieces) << walk.name << " round " << round;
      ASSERT_EQ(whole.unconverted, unconverted) << walk.name << " round " << round;
    }
  }
}

// A long JIS text converts as its runs do, each a text alone with its opening escape (and ESC ( B
// after it, which closes a kanji run): the decoder takes many runs 16 bytes at a time.
TEST(CodeConvert, LongJisTextsConvertAsTheirRuns) {
  const auto escapeAt = [](const std::string& t, size_t i) {
    if (t[i] != '\x1B' || t.size() - i < 3) return false;
    const std::string_view e(t.data() + i + 1, 2);
    return e == "$B" || e == "$@" || e == "(I" || e == "(B" || e == "(J";
  };
  static const char* const kPieces[] = {"\x1B$B", "\x1B$@", "\x1B(I", "\x1B(B", "\x1B(J", "\x1B", "0!",  "F|",
                                        "~~",     "!",      "\r\n",   " ",      "\x7F",   "\xB1", "\x20"};
  std::mt19937 rng(1);
  for (int round = 0; round < 300; ++round) {
    // JIS text made from Shift-JIS, with escapes, pairs and bytes of every kind put in at random.
    const std::string sjis = S("漢字とかなとカナと"_sj) + "\xB6\xC5 abc\r\n" + S("亜唖娃阿哀愛挨姶逢葵茜穐悪握渥"_sj);
    std::string text;
    while (text.size() < 100 + rng() % 700) {
      if (rng() % 3 == 0) {
        text += kPieces[rng() % (sizeof kPieces / sizeof kPieces[0])];
      } else {
        const size_t from = rng() % sjis.size();
        text += Convert(sjis.substr(from, rng() % 24), &CMemory::SJIStoJIS).bytes;
      }
    }
    std::string pieces;
    int unconverted = 0;
    std::string open;  // the escape of the current run
    size_t start = 0;
    const auto run = [&](size_t end, bool last) {
      const bool kanji = open == "\x1B$B" || open == "\x1B$@";
      const std::string alone = open + text.substr(start, end - start) + (kanji && !last ? "\x1B(B" : "");
      CMemory m(alone.data(), static_cast<int>(alone.size()));
      unconverted += m.JIStoSJIS(false);
      pieces += m.View();
    };
    for (size_t i = 0; i < text.size(); ++i) {
      if (!escapeAt(text, i)) continue;
      run(i, false);
      open = text.substr(i, 3);
      start = i + 3;
      i += 2;
    }
    run(text.size(), true);
    CMemory whole(text.data(), static_cast<int>(text.size()));
    const int n = whole.JIStoSJIS(false);
    ASSERT_EQ(std::string(whole.View()), pieces) << "round " << round;
    ASSERT_EQ(n, unconverted) << "round " << round;
  }
}

// The Unicode decoders take the length of a unit's output from the unit: one byte for ASCII,
// U+00A5, U+203E and U+FF61-U+FF9F, two for every other unit (the geta mark where there is no code).
TEST(CodeConvert, OneByteCodesAreOfFewUnits) {
  for (unsigned u = 0; u < 0x10000; ++u) {
    if (u >= 0xD800 && u <= 0xDFFF) continue;
    const char unit[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    const Converted c = Convert(std::string_view(unit, 2), &CMemory::UNICODEtoSJIS);
    const bool one = u < 0x80 || u == 0xA5 || u == 0x203E || (u >= 0xFF61 && u <= 0xFF9F);
    ASSERT_EQ(c.bytes.size(), one ? 1u : 2u) << std::hex << u;
  }
}

TEST(CodeConvert, NewBuffersOfUtf16) {
  int unconverted = -1;
  const std::string text = "a"_sj + S("あ"_sj) + "\x80";
  const auto units = SjisToUcs2Alloc(text.data(), static_cast<int>(text.size()), &unconverted);
  EXPECT_EQ(std::string(units->View()), std::string("a\0\x42\x30\xFD\xFF", 6));
  EXPECT_EQ(unconverted, 1);
  const auto back = Ucs2ToSjisAlloc(units->GetPtr(), units->GetLength(), &unconverted);
  EXPECT_EQ(std::string(back->View()), "a"_sj + S("あ"_sj) + kGeta);
  EXPECT_EQ(unconverted, 1);
}

TEST(CodeConvert, NamesOfTheCodes) {
  const char* const longNames[] = {"SJIS", "JIS", "EUC", "Unicode", "UTF-8", "UTF-7", "UniBE"};
  const char* const shortNames[] = {"SJIS", "JIS", "EUC", "Uni", "UTF-8", "UTF-7", "UniBE"};
  for (int code = kCodeSjis; code < kCodeCount; ++code) {
    EXPECT_STREQ(kCodeLongNames[code], longNames[code]);
    EXPECT_STREQ(kCodeShortNames[code], shortNames[code]);
    EXPECT_EQ(std::string(kCodeMenuSuffixes[code]), std::string("  [") + longNames[code] + "]");
  }
  EXPECT_EQ(kCodeUtf16Be, 6);
  EXPECT_EQ(kCodeDetect, 99);
}

TEST(CodeConvert, SwapByteOrderKeepsAnOddLastByte) {
  CMemory m("abc", 3);
  m.SwapByteOrder();
  EXPECT_EQ(std::string(m.View()), "bac");
}

}  // namespace
