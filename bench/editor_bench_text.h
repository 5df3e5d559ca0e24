// The editor benchmarks' document: generated Shift-JIS text of kanji, hiragana, katakana,
// half-width katakana and ASCII words, lines ending in CR LF, most lines within 80 cells and one in
// 20 longer. VREL_BENCH_MB sets its size (default 100).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

namespace editor_bench {

inline size_t TextBytes() {
  const char* mb = std::getenv("VREL_BENCH_MB");
  const long n = mb ? std::atol(mb) : 100;
  return static_cast<size_t>(n > 0 ? n : 100) << 20;
}

// The kanji no generated character uses (lead byte 0x9F); the text holds it where rare() says.
inline constexpr char kRareKanji[] = "\x9F\xAC";

// ASCII words; "the" also stands inside others.
inline constexpr const char* kWords[] = {"the",  "int",    "return", "value", "other", "data",
                                         "then", "string", "line",   "count", "bathe", "for"};

// One line in rareEvery holds the rare kanji somewhere. A trail byte 0x9F followed by half-width
// katakana also happens, which holds the kanji's bytes without the kanji.
inline std::string MakeText(size_t bytes, unsigned rareEvery = 2000) {
  std::mt19937 rng(20240);
  std::string text;
  text.reserve(bytes + 512);
  auto kanji = [&](std::string& s) {
    const unsigned lead = 0x89 + rng() % 22;  // 0x89-0x9E
    unsigned trail = 0x40 + rng() % 188;
    if (trail >= 0x7F) ++trail;
    s += static_cast<char>(lead);
    s += static_cast<char>(trail);
  };
  while (text.size() < bytes) {
    const bool longLine = rng() % 20 == 0;
    const size_t cells = longLine ? 81 + rng() % 120 : 4 + rng() % 77;
    std::string line;
    size_t rareAt = rng() % rareEvery == 0 ? rng() % cells : SIZE_MAX;
    while (line.size() < cells) {
      if (line.size() >= rareAt) {
        line += kRareKanji;
        rareAt = SIZE_MAX;
        continue;
      }
      const unsigned kind = rng() % 16;
      if (kind < 5) {
        kanji(line);
      } else if (kind < 8) {
        line += '\x82';
        line += static_cast<char>(0x9F + rng() % 83);  // hiragana
      } else if (kind < 10) {
        line += '\x83';
        unsigned trail = 0x40 + rng() % 87;  // katakana
        if (trail >= 0x7F) ++trail;
        line += static_cast<char>(trail);
      } else if (kind < 11) {
        line += static_cast<char>(0xA6 + rng() % 56);  // half-width katakana
      } else if (kind < 14) {
        line += kWords[rng() % (sizeof kWords / sizeof kWords[0])];
        line += rng() % 3 ? ' ' : ',';
      } else if (kind < 15) {
        line += static_cast<char>('0' + rng() % 10);
      } else {
        line += rng() % 2 ? "\x81\x41" : "\x81\x42";  // ideographic comma and full stop
      }
    }
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace editor_bench
