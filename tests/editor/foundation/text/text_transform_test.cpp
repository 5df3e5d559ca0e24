// Letter case and width: named cases for each transformation, round trips, and the fast walks over
// 64-byte blocks against a plain character-by-character reading of the rules on random text.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "editor/foundation/text/memory.h"
#include "platform/sjis_literal.h"
#include "platform/sjis_width.h"
#include "tests/editor/foundation/message_box_capture.h"
#include "tests/editor/foundation/text/largest_text.h"

namespace {

using Transform = std::function<void(CMemory&)>;

std::string Apply(const Transform& transform, std::string_view text) {
  CMemory m(text.data(), static_cast<int>(text.size()));
  transform(m);
  return std::string(m.View());
}

const Transform kToUpper = [](CMemory& m) { m.ToUpper(); };
const Transform kToLower = [](CMemory& m) { m.ToLower(); };
const Transform kToZenKata = [](CMemory& m) { m.ToFullWidth(CMemory::FULLWIDTH_KATAKANA, false); };
const Transform kToZenHira = [](CMemory& m) { m.ToFullWidth(CMemory::FULLWIDTH_HIRAGANA, false); };
const Transform kHanKataToZenKata = [](CMemory& m) { m.ToFullWidth(CMemory::FULLWIDTH_KATAKANA, true); };
const Transform kHanKataToZenHira = [](CMemory& m) { m.ToFullWidth(CMemory::FULLWIDTH_HIRAGANA, true); };
const Transform kToZenEi = [](CMemory& m) { m.ToFullWidth(CMemory::FULLWIDTH_ALNUM, false); };
const Transform kToHankaku = [](CMemory& m) { m.ToHalfWidth(0); };
const Transform kToHankata = [](CMemory& m) { m.ToHalfWidth(CMemory::HALFWIDTH_KATAKANA); };
const Transform kToHanHira = [](CMemory& m) { m.ToHalfWidth(CMemory::HALFWIDTH_HIRAGANA); };
const Transform kToHanEi = [](CMemory& m) { m.ToHalfWidth(CMemory::HALFWIDTH_ALNUM); };
// Flags no command passes: an unknown bit makes nothing a candidate (only 0 takes everything).
const Transform kToHalfUnknownFlag = [](CMemory& m) { m.ToHalfWidth(8); };
const Transform kToHalfUnknownAndAlnum = [](CMemory& m) { m.ToHalfWidth(8 | CMemory::HALFWIDTH_ALNUM); };
// A kind that is neither katakana, hiragana nor letters: one-byte characters widen with their
// sound marks, double-byte ones stay, and no kana moves between the syllabaries.
const Transform kToFullOtherKind = [](CMemory& m) { m.ToFullWidth(3, false); };

struct Case {
  const char* name;
  const Transform* transform;
  std::string_view in;
  std::string_view out;
};

void CheckCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) EXPECT_EQ(Apply(*c.transform, c.in), c.out) << c.name;
}

TEST(TextCase, ChangesAsciiAndFullWidthLatinGreekAndCyrillic) {
  CheckCases({
      {"ascii up", &kToUpper, "abc xyz@[`{019", "ABC XYZ@[`{019"},
      {"ascii down", &kToLower, "ABC XYZ@[`{019", "abc xyz@[`{019"},
      {"full-width latin up", &kToUpper, "ａｚＡ"_sj, "ＡＺＡ"_sj},
      {"full-width latin down", &kToLower, "ＡＺａ"_sj, "ａｚａ"_sj},
      {"greek up", &kToUpper, "αω"_sj, "ΑΩ"_sj},
      {"greek down", &kToLower, "ΑΩ"_sj, "αω"_sj},
      {"cyrillic up", &kToUpper, "аняо"_sj, "АНЯО"_sj},
      {"cyrillic down", &kToLower, "АНЯО"_sj, "аняо"_sj},
      // Capitals 0x844E and 0x844F sit on either side of the small letters' gap at 0x847F.
      {"cyrillic below the gap down", &kToLower, "\x84\x4E", "\x84\x7E"},
      {"cyrillic above the gap down", &kToLower, "\x84\x4F", "\x84\x80"},
      {"cyrillic below the gap up", &kToUpper, "\x84\x7E", "\x84\x4E"},
      {"cyrillic above the gap up", &kToUpper, "\x84\x80", "\x84\x4F"},
      {"the Part's lower", &kToLower, "Ａ漢Αｱ А"_sj, "ａ漢αｱ а"_sj},
      {"kanji and half-width kana stay", &kToUpper, "漢ｱｶﾞ"_sj, "漢ｱｶﾞ"_sj},
      // Second bytes in the ASCII letter range are no letters.
      {"trail byte a", &kToUpper, "ャ表"_sj, "ャ表"_sj},
      {"trail byte A", &kToLower, "ア"_sj, "ア"_sj},
      {"lead byte alone at the end", &kToUpper, "a\x82", "A\x82"},
      {"lead byte before a blank", &kToUpper, "\x82 a", "\x82 A"},
      {"lead byte and a letter pair", &kToLower, "\x82\x61", "\x82\x82"},  // Ｂ to ｂ
      {"empty", &kToUpper, "", ""},
  });
}

TEST(TextWidth, WidensHalfWidthCharacters) {
  CheckCases({
      {"voiced ka", &kToZenKata, "ｶﾞ"_sj, "ガ"_sj},
      {"voiced ka to hiragana", &kToZenHira, "ｶﾞ"_sj, "が"_sj},
      {"vu", &kToZenKata, "ｳﾞ"_sj, "ヴ"_sj},
      {"vu to hiragana", &kToZenHira, "ｳﾞ"_sj, "う゛"_sj},
      {"semi-voiced ha", &kToZenKata, "ﾊﾟﾎﾞ"_sj, "パボ"_sj},
      {"semi-voiced mark after ka", &kToZenKata, "ｶﾟ"_sj, "カ゜"_sj},
      {"voiced mark after a", &kToZenKata, "ｱﾞ"_sj, "ア゛"_sj},
      {"marks alone", &kToZenKata, "ﾞﾟｰ"_sj, "゛゜ー"_sj},
      {"marks of punctuation", &kToZenKata, "｡｢｣､･"_sj, "。「」、・"_sj},
      {"wo to hiragana", &kToZenHira, "ｦｧ"_sj, "をぁ"_sj},
      {"ascii", &kToZenKata, "aZ 0~\\\"'", "ａＺ　０￣￥”’"_sj},
      {"controls stay", &kToZenKata, "\t\r\n\x7F", "\t\r\n\x7F"},
      {"hiragana to katakana", &kToZenKata, "あみむんゎ"_sj, "アミムンヮ"_sj},
      {"katakana to hiragana", &kToZenHira, "アミムンヮヴヵ"_sj, "あみむんゎヴヵ"_sj},
      {"kanji stays", &kToZenHira, "漢"_sj, "漢"_sj},
      {"half-width kana only", &kHanKataToZenKata, "aｶﾞあ"_sj, "aガあ"_sj},
      {"half-width kana only to hiragana", &kHanKataToZenHira, "aｶﾞア"_sj, "aがア"_sj},
      {"letters and digits", &kToZenEi, "aZ9ｶﾞあ"_sj, "ａＺ９ｶﾞあ"_sj},
      {"voiced mark at the end", &kToZenKata, "ｶ"_sj, "カ"_sj},
      {"lead byte alone", &kToZenKata, "\x82", "\x82"},
      {"lead byte before a letter-free byte", &kToZenKata, "\x82 ", "\x82\x81\x40"},
      {"other kind", &kToFullOtherKind, "aｶﾞﾊﾟｳﾞあア"_sj, "ａガパウ゛あア"_sj},
  });
}

TEST(TextWidth, NarrowsFullWidthCharacters) {
  CheckCases({
      {"voiced hiragana", &kToHankaku, "が"_sj, "ｶﾞ"_sj},
      {"semi-voiced katakana", &kToHankaku, "パ"_sj, "ﾊﾟ"_sj},
      {"vu", &kToHankaku, "ヴ"_sj, "ｳﾞ"_sj},
      {"ascii forms", &kToHankaku, "ａＢ１　！￥￣”’"_sj, "aB1 !\\~\"'"},
      {"marks", &kToHankaku, "。「」、・ー゛゜"_sj, "｡｢｣､･ｰﾞﾟ"_sj},
      {"no half-width form", &kToHankaku, "漢＼～ゎヵ"_sj, "漢＼～ゎヵ"_sj},
      {"one-byte characters stay", &kToHankaku, "ｱbc\t"_sj, "ｱbc\t"_sj},
      {"katakana and long vowel", &kToHankata, "カー"_sj, "ｶｰ"_sj},
      {"long vowel alone", &kToHankata, "ー"_sj, "ー"_sj},
      {"long vowel after hiragana", &kToHankata, "あー"_sj, "あー"_sj},
      {"stretch closed by kanji", &kToHankata, "カ゛ー漢ー"_sj, "ｶﾞｰ漢ー"_sj},
      {"stretch closed by a line end", &kToHankata, "カ\r\nー"_sj, "ｶ\r\nー"_sj},
      {"letters stay for katakana", &kToHankata, "ａカ"_sj, "ａｶ"_sj},
      {"voiced katakana", &kToHankata, "ガパ"_sj, "ｶﾞﾊﾟ"_sj},
      {"katakana without a form opens a stretch", &kToHankata, "ヵー"_sj, "ヵｰ"_sj},
      {"hiragana stretch", &kToHanHira, "がー゜カ"_sj, "ｶﾞｰﾟカ"_sj},
      {"letters and digits", &kToHanEi, "ａＺ９！カ"_sj, "aZ9！カ"_sj},
      {"lead byte alone", &kToHankaku, "\x82", "\x82"},
      {"unknown flag alone", &kToHalfUnknownFlag, "ａカが１"_sj, "ａカが１"_sj},
      {"unknown flag beside letters", &kToHalfUnknownAndAlnum, "ａカが１"_sj, "aカが1"_sj},
  });
}

// Printable ASCII, and every half-width kana letter alone and with each sound mark, come back.
TEST(TextWidth, RoundTrips) {
  std::string ascii;
  for (char c = 0x20; c <= 0x7E; ++c) ascii += c;
  EXPECT_EQ(Apply(kToHankaku, Apply(kToZenEi, ascii)), ascii);
  for (int c = 0xA6; c <= 0xDD; ++c) {
    if (c == 0xB0) continue;  // the long-vowel mark is no letter: alone it stays full width
    for (std::string_view mark : {"", "\xDE", "\xDF"}) {
      const std::string kana = std::string(1, static_cast<char>(c)) + std::string(mark);
      EXPECT_EQ(Apply(kToHankata, Apply(kToZenKata, kana)), kana) << "kana " << c << " mark " << mark.size();
    }
  }
  const std::string marks = "｡｢｣､･"_sj;
  EXPECT_EQ(Apply(kToHankaku, Apply(kToZenKata, marks)), marks);
}

void* FailingRealloc(void*, size_t) { return nullptr; }

TEST(TextWidth, WithoutWorkingRoomTheTextStays) {
  for (const Transform* t : {&kToZenKata, &kToHankaku, &kToHankata}) {
    MessageBoxCapture boxes;
    CMemory m("ｶﾞａ"_sj, 4);
    const auto previous = CMemory::SetReallocForTesting(&FailingRealloc);
    (*t)(m);
    CMemory::SetReallocForTesting(previous);
    EXPECT_EQ(std::string(m.View()), "ｶﾞａ"_sj);
    EXPECT_EQ(boxes.requests.size(), 1u);
  }
}

// A text of the largest size a buffer holds has no room beside it: it narrows where it lies. Each
// megabyte is ASCII but for "ａｂ" across its first 64-byte block's end; the text ends in a megabyte
// cut two bytes short.
TEST(TextWidth, NarrowsATextOfTheLargestSize) {
  MessageBoxCapture boxes;
  CMemory m;
  ASSERT_TRUE(FillToLargest(m, 63, "ａｂ"_sj));
  m.ToHalfWidth(0);
  constexpr int kNarrowChunk = kLargestChunk - 2;
  ASSERT_EQ(m.GetLength(), kLargestChunks * kNarrowChunk - 2);
  EXPECT_EQ(m.View().substr(61, 6), "xxabxx");
  // Every narrowed megabyte is the first one again.
  EXPECT_EQ(std::memcmp(m.GetPtr(), m.GetPtr() + kNarrowChunk, m.GetLength() - kNarrowChunk), 0);
  EXPECT_TRUE(boxes.requests.empty());
}

// ---- a plain reading of the rules, one character at a time

struct Char {
  unsigned code;  // one byte, or lead << 8 | trail
  int size;
};

std::vector<Char> Chars(std::string_view text) {
  std::vector<Char> chars;
  for (int at = 0; at < static_cast<int>(text.size());) {
    const int size = CMemory::CharSizeAt(text.data(), static_cast<int>(text.size()), at);
    const auto b = [&](int k) { return static_cast<unsigned>(static_cast<unsigned char>(text[at + k])); };
    chars.push_back({size == 2 ? b(0) << 8 | b(1) : b(0), size});
    at += size;
  }
  return chars;
}

void Put(std::string& out, unsigned code) {
  if (code > 0xFF) out += static_cast<char>(code >> 8);
  out += static_cast<char>(code);
}

std::string ReferenceCase(std::string_view text, bool upper) {
  std::string out;
  for (const Char& c : Chars(text)) {
    unsigned code = c.code;
    const auto move = [&](unsigned lo, unsigned hi, int by) {
      if (code >= lo && code <= hi) code += by;
    };
    if (c.size == 1) {
      if (upper) move('a', 'z', -32); else move('A', 'Z', 32);
    } else if (upper) {
      move(0x8281, 0x829A, -0x21), move(0x83BF, 0x83D6, -0x20), move(0x8470, 0x847E, -0x30), move(0x8480, 0x8491, -0x31);
    } else {
      move(0x8260, 0x8279, 0x21), move(0x839F, 0x83B6, 0x20), move(0x8440, 0x844E, 0x30), move(0x844F, 0x8460, 0x31);
    }
    Put(out, code);
  }
  return out;
}

unsigned ToHiragana(unsigned code) {
  return code >= 0x8340 && code <= 0x837E ? code - 0xA1 : code >= 0x8380 && code <= 0x8393 ? code - 0xA2 : code;
}

std::string ReferenceFullWidth(std::string_view text, int kind, bool kanaOnly) {
  const std::vector<Char> chars = Chars(text);
  std::string out;
  for (size_t i = 0; i < chars.size(); ++i) {
    unsigned code = chars[i].code;
    if (chars[i].size == 2) {
      if (!kanaOnly && kind == 1) code = ToHiragana(code);
      if (!kanaOnly && kind == 0 && code >= 0x829F && code <= 0x82DD) code += 0xA1;
      if (!kanaOnly && kind == 0 && code >= 0x82DE && code <= 0x82F1) code += 0xA2;
      Put(out, code);
      continue;
    }
    const bool kana = code >= 0xA1 && code <= 0xDF;
    if (!((!kanaOnly && code >= 0x20 && code <= 0x7E) || (kind != 2 && kana))) {
      Put(out, code);
      continue;
    }
    const unsigned next = i + 1 < chars.size() ? chars[i + 1].code : 0;
    if (kind == 0 && code == 0xB3 && next == 0xDE) {
      Put(out, 0x8394);
      ++i;
      continue;
    }
    unsigned wide = platform::SjisToFullWidth(static_cast<uint8_t>(code));
    if (kind != 2) {
      const std::string_view voicable = "ｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾊﾋﾌﾍﾎ"_sj;
      const std::string_view semi = "ﾊﾋﾌﾍﾎ"_sj;
      if (next == 0xDE && voicable.find(static_cast<char>(code)) != std::string_view::npos) {
        wide += 1, ++i;
      } else if (next == 0xDF && semi.find(static_cast<char>(code)) != std::string_view::npos) {
        wide += 2, ++i;
      }
    }
    Put(out, kind == 1 ? ToHiragana(wide) : wide);
  }
  return out;
}

bool Among(std::string_view list, unsigned code) {
  for (size_t k = 0; k + 1 < list.size(); k += 2) {
    if (static_cast<unsigned>(static_cast<unsigned char>(list[k]) << 8 | static_cast<unsigned char>(list[k + 1])) == code) return true;
  }
  return false;
}

std::string ReferenceHalfWidth(std::string_view text, int flags) {
  std::string out;
  bool stretch = false;
  for (const Char& c : Chars(text)) {
    const unsigned code = c.code;
    if (c.size == 1) {
      Put(out, code);
      stretch = false;
      continue;
    }
    bool candidate = flags == 0;
    const bool kata = code >= 0x8340 && code <= 0x8396, hira = code >= 0x829F && code <= 0x82F1;
    if (((flags & 1) && kata) || ((flags & 2) && hira)) {
      candidate = stretch = true;
    } else if (stretch && (code == 0x814A || code == 0x814B || code == 0x815B)) {
      candidate = true;
    } else {
      stretch = false;
    }
    if ((flags & 4) && ((code >= 0x824F && code <= 0x8258) || (code >= 0x8260 && code <= 0x8279) ||
                        (code >= 0x8281 && code <= 0x829A)))
      candidate = true;
    const unsigned narrow = platform::SjisToHalfWidth(static_cast<uint16_t>(code));
    if (!candidate || narrow == code) {
      Put(out, code);
      continue;
    }
    Put(out, narrow);
    if (Among("がぎぐげござじずぜぞだぢづでどばびぶべぼガギグゲゴザジズゼゾダヂヅデドバビブベボヴ"_sj, code)) out += '\xDE';
    if (Among("ぱぴぷぺぽパピプペポ"_sj, code)) out += '\xDF';
  }
  return out;
}

// Texts of the bytes that matter, some mostly ASCII so that whole blocks are, in lengths around
// the walks' 64-byte blocks.
std::string RandomText(std::mt19937& rng) {
  static const unsigned char kBytes[] = {'a', 'z', 'A', 'Z', 'm', ' ', '\t', '\r', '\n', '0', '~', 0x7F, 0x80, 0xA0, 0xA1,
                                         0xB0, 0xB3, 0xB6, 0xC4, 0xCA, 0xCE, 0xDD, 0xDE, 0xDF, 0xFD, 0x82, 0x83, 0x84};
  static const unsigned short kPairs[] = {0x8260, 0x8279, 0x8281, 0x829A, 0x824F, 0x839F, 0x83B6, 0x83BF, 0x83D6,
                                          0x8440, 0x844E, 0x844F, 0x8460, 0x8470, 0x847E, 0x8480, 0x8491, 0x829F,
                                          0x82AA, 0x82CF, 0x82F1, 0x8340, 0x834B, 0x8370, 0x837E, 0x8380, 0x8394,
                                          0x8396, 0x814A, 0x814B, 0x815B, 0x8140, 0x818F, 0x8ABF, 0x8341, 0x8361};
  const bool mostlyAscii = rng() % 4 == 0;
  std::string text(rng() % 400, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    if (mostlyAscii && rng() % 16 != 0) {
      text[i] = static_cast<char>(0x20 + rng() % 0x5F);
    } else if (rng() % 3 == 0 && i + 1 < text.size()) {
      const unsigned code = kPairs[rng() % std::size(kPairs)];
      text[i] = static_cast<char>(code >> 8);
      text[++i] = static_cast<char>(code);
    } else {
      text[i] = static_cast<char>(kBytes[rng() % std::size(kBytes)]);
    }
  }
  return text;
}

TEST(TextTransform, BlockWalksAgreeWithThePlainRules) {
  struct Against {
    const char* name;
    const Transform* transform;
    std::function<std::string(std::string_view)> reference;
  };
  const Against all[] = {
      {"ToUpper", &kToUpper, [](std::string_view t) { return ReferenceCase(t, true); }},
      {"ToLower", &kToLower, [](std::string_view t) { return ReferenceCase(t, false); }},
      {"ToZenKata", &kToZenKata, [](std::string_view t) { return ReferenceFullWidth(t, 0, false); }},
      {"ToZenHira", &kToZenHira, [](std::string_view t) { return ReferenceFullWidth(t, 1, false); }},
      {"HanKataToZenKata", &kHanKataToZenKata, [](std::string_view t) { return ReferenceFullWidth(t, 0, true); }},
      {"HanKataToZenHira", &kHanKataToZenHira, [](std::string_view t) { return ReferenceFullWidth(t, 1, true); }},
      {"ToZenEi", &kToZenEi, [](std::string_view t) { return ReferenceFullWidth(t, 2, false); }},
      {"other kind", &kToFullOtherKind, [](std::string_view t) { return ReferenceFullWidth(t, 3, false); }},
      {"ToHankaku", &kToHankaku, [](std::string_view t) { return ReferenceHalfWidth(t, 0); }},
      {"ToHankata", &kToHankata, [](std::string_view t) { return ReferenceHalfWidth(t, 1); }},
      {"ToHanHira", &kToHanHira, [](std::string_view t) { return ReferenceHalfWidth(t, 2); }},
      {"ToHanEi", &kToHanEi, [](std::string_view t) { return ReferenceHalfWidth(t, 4); }},
      {"unknown flag", &kToHalfUnknownFlag, [](std::string_view t) { return ReferenceHalfWidth(t, 8); }},
  };
  std::mt19937 rng(932);
  for (int round = 0; round < 3000; ++round) {
    const std::string text = RandomText(rng);
    for (const Against& a : all) {
      ASSERT_EQ(Apply(*a.transform, text), a.reference(text)) << a.name << " round " << round;
    }
  }
}

}  // namespace
