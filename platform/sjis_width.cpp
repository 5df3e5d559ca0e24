#include "platform/sjis_width.h"

#include <array>

#include "platform/sjis_literal.h"

namespace platform {
namespace {

// ASCII 0x20-0x7E and then 0xA1-0xDF, in the order of their bytes, written full width.
constexpr auto& kWideAscii =
    "　！”＃＄％＆’（）＊＋，－．／０１２３４５６７８９：；＜＝＞？＠ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ［￥］＾＿"
    "｀ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ｛｜｝￣"_sj;
constexpr auto& kWideKana =
    "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜"_sj;
static_assert(sizeof kWideAscii == 2 * (0x7F - 0x20) + 1);
static_assert(sizeof kWideKana == 2 * (0xE0 - 0xA1) + 1);

// The voiced and semi-voiced kana, each beside the kana of its base sound, so that narrowing takes
// both to the one-byte form of the base.
constexpr auto& kVoicedKana = "ヴウガカギキグクゲケゴコザサジシズスゼセゾソダタヂチヅツデテドトバハビヒブフベヘボホパハピヒプフペヘポホ"_sj;

uint16_t CodeAt(const char* text, int index) {
  return static_cast<uint16_t>(static_cast<uint8_t>(text[2 * index]) << 8 | static_cast<uint8_t>(text[2 * index + 1]));
}

struct WidthTables {
  std::array<uint16_t, 256> wide{};
  // Double-byte characters from 0x8140 to 0x84FF: kana, marks and the full-width letters.
  static constexpr uint16_t kNarrowFirst = 0x8140;
  std::array<uint8_t, 0x8500 - kNarrowFirst> narrow{};

  WidthTables() {
    for (unsigned c = 0; c < 256; ++c) wide[c] = static_cast<uint16_t>(c);
    for (unsigned c = 0x20; c <= 0x7E; ++c) wide[c] = CodeAt(kWideAscii, static_cast<int>(c - 0x20));
    for (unsigned c = 0xA1; c <= 0xDF; ++c) wide[c] = CodeAt(kWideKana, static_cast<int>(c - 0xA1));
    for (unsigned c = 0; c < 256; ++c) {
      if (wide[c] != c) narrow[wide[c] - kNarrowFirst] = static_cast<uint8_t>(c);
    }
    for (int i = 0; i + 1 < static_cast<int>(sizeof kVoicedKana / 2); i += 2) {
      narrow[CodeAt(kVoicedKana, i) - kNarrowFirst] = narrow[CodeAt(kVoicedKana, i + 1) - kNarrowFirst];
    }
    // Hiragana narrow as the katakana of the same sound (the same order, a row apart).
    for (unsigned h = 0x829F; h <= 0x82F1; ++h) {
      const unsigned k = h <= 0x82DD ? h + 0xA1 : h + 0xA2;
      narrow[h - kNarrowFirst] = narrow[k - kNarrowFirst];
    }
  }
};

const WidthTables& Tables() {
  static const WidthTables tables;
  return tables;
}

}  // namespace

uint16_t SjisToFullWidth(uint8_t c) { return Tables().wide[c]; }

uint16_t SjisToHalfWidth(uint16_t code) {
  if (code < WidthTables::kNarrowFirst || code - WidthTables::kNarrowFirst >= static_cast<int>(Tables().narrow.size()))
    return code;
  const uint8_t narrow = Tables().narrow[code - WidthTables::kNarrowFirst];
  return narrow ? narrow : code;
}

}  // namespace platform
