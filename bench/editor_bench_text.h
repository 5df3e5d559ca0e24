// The text the editor's load, wrap and search benchmarks work on: Shift-JIS lines of kanji,
// hiragana, katakana, half-width katakana and ASCII words ending in CR LF, most shorter than 80
// cells and one in 20 longer, with the comments and strings a source file has. Made the same way
// on every run. VREL_BENCH_MB sets its size (default 100). Also the type settings the benchmarks
// wrap with.
#pragma once

#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "editor/foundation/settings/shared_settings.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "platform/sjis_literal.h"

inline size_t EditorBenchTextBytes() {
  const char* mb = std::getenv("VREL_BENCH_MB");
  const long n = mb ? std::atol(mb) : 100;
  return static_cast<size_t>(n > 0 ? n : 100) << 20;
}

inline std::string MakeEditorBenchText(size_t bytes) {
  std::mt19937 rng(932);
  auto below = [&](unsigned n) { return static_cast<unsigned>(rng() % n); };
  std::string text;
  text.reserve(bytes + 512);
  for (unsigned line = 0; text.size() < bytes; ++line) {
    // Cells of the line: 8-78, or 81-200 on every 20th.
    const int cells = line % 20 == 19 ? 81 + static_cast<int>(below(120)) : 8 + static_cast<int>(below(71));
    int x = 0;
    if (line % 16 == 3) {
      text += "// ";
      x = 3;
    } else if (line % 64 == 10) {
      text += "/* ";
      x = 3;
    } else if (line % 64 == 13) {
      text += "*/ ";
      x = 3;
    }
    while (x < cells) {
      const unsigned kind = below(20);
      if (x + 2 <= cells && kind < 7) {  // kanji of the first level
        const unsigned lead = 0x89 + below(15);
        unsigned trail = 0x40 + below(188);
        if (trail >= 0x7F) ++trail;
        text += static_cast<char>(lead);
        text += static_cast<char>(trail);
        x += 2;
      } else if (x + 2 <= cells && kind < 11) {  // hiragana
        text += '\x82';
        text += static_cast<char>(0x9F + below(83));
        x += 2;
      } else if (x + 2 <= cells && kind < 13) {  // katakana
        unsigned trail = 0x40 + below(86);
        if (trail >= 0x7F) ++trail;
        text += '\x83';
        text += static_cast<char>(trail);
        x += 2;
      } else if (x + 2 <= cells && kind < 14) {  // the ideographic full stop and comma
        text += kind % 2 ? "\x81\x42" : "\x81\x41";
        x += 2;
      } else if (kind < 15) {  // half-width katakana
        text += static_cast<char>(0xA6 + below(58));
        x += 1;
      } else if (kind < 16 && x + 6 <= cells) {  // a short string
        text += "\"abc\"";
        x += 5;
      } else {  // an ASCII word and a space
        const int len = 1 + static_cast<int>(below(8));
        for (int i = 0; i < len && x < cells; ++i, ++x) text += static_cast<char>('a' + below(26));
        if (x < cells) {
          text += ' ';
          ++x;
        }
      }
    }
    text += "\r\n";
  }
  return text;
}

// Width 80 with every rule on, the Japanese line-head and line-end characters, and comments and
// strings coloured.
inline std::unique_ptr<TypeSettings> MakeEditorBenchWrapType() {
  auto t = std::make_unique<TypeSettings>();
  t->nWrapColumn = 80;
  t->nTabWidth = 4;
  t->bEnglishWordWrap = 1;
  t->bKinsokuHead = t->bKinsokuTail = t->bKinsokuRet = t->bKinsokuKuto = 1;
  std::strcpy(t->szKinsokuHead, "!%),.:;?]}°’”‰′″℃、。々〉》」』】〕゛゜ゝゞ・ヽヾ！％），．：；？］｝｡｣､･ﾞﾟ"_sj);
  std::strcpy(t->szKinsokuTail, "$([{\\‘“〈《「『【〔＄（［｛｢"_sj);
  t->LineComments.Set(0, "//", -1);
  t->BlockComments.SetPair(0, "/*", "*/");
  t->Colors[CWrapLineMgr::COLOR_LINE_COMMENT].bShow = 1;
  t->Colors[CWrapLineMgr::COLOR_SINGLE_QUOTE].bShow = 1;
  t->Colors[CWrapLineMgr::COLOR_DOUBLE_QUOTE].bShow = 1;
  return t;
}
