// Shift-JIS to and from ISO-2022-JP and EUC-JP.
#include <cstring>

#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/code_writer.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_walk.h"

namespace {

constexpr unsigned char kEsc = 0x1B;

// The JIS code of the geta mark, written for a character that has none.
constexpr uint16_t kGetaJis = 0x222E;

enum Escape { kNone, kToKanji, kToKana, kToAscii };

// Which escape sequence starts at p (at least three bytes there).
Escape EscapeAt(const unsigned char* p) {
  if (p[0] != kEsc) return kNone;
  if (p[1] == '$' && (p[2] == 'B' || p[2] == '@')) return kToKanji;
  if (p[1] == '(' && p[2] == 'I') return kToKana;
  if (p[1] == '(' && (p[2] == 'B' || p[2] == 'J')) return kToAscii;
  return kNone;
}

bool IEqualsAscii(const char* p, const char* upper, int n) {
  for (int i = 0; i < n; ++i) {
    char c = p[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != upper[i]) return false;
  }
  return true;
}

// A byte of a katakana run: 0x21-0x7E are the katakana with bit 7 cleared; line ends, blanks and
// control bytes (and anything above 0x7F) are themselves.
unsigned char KanaByte(unsigned char c) { return c >= 0x21 && c <= 0x7E ? c | 0x80 : c; }

// Decodes "=?ISO-2022-JP?B?...?=" and "=?ISO-2022-JP?Q?...?=" words in place; returns the new length.
int DecodeMimeWords(char* text, int len) {
  static constexpr char kB[] = "=?ISO-2022-JP?B?";
  static constexpr char kQ[] = "=?ISO-2022-JP?Q?";
  constexpr int kPrefix = 16;
  int out = 0;
  int i = 0;
  while (i < len) {
    if (len - i >= kPrefix && text[i] == '=') {
      const bool b = IEqualsAscii(text + i, kB, kPrefix);
      const bool q = !b && IEqualsAscii(text + i, kQ, kPrefix);
      if (b || q) {
        int end = -1;
        for (int k = i + kPrefix; k + 1 < len; ++k) {
          if (text[k] == '?' && text[k + 1] == '=') {
            end = k;
            break;
          }
        }
        if (end < 0) {
          // Still open at the end: kept as it stands, prefix and all.
          std::memmove(text + out, text + i, len - i);
          return out + (len - i);
        }
        const int wordLen = end - (i + kPrefix);
        // The decoded bytes are never more than the word, so they go where the word started.
        std::memmove(text + out, text + i + kPrefix, wordLen);
        out += b ? Base64DecodeInPlace(text + out, wordLen) : QuotedPrintableDecodeInPlace(text + out, wordLen);
        i = end + 2;
        continue;
      }
    }
    text[out++] = text[i++];
  }
  return out;
}

}  // namespace

namespace {

// The JIS run a Shift-JIS character belongs to: 0 ASCII, 1 half-width katakana, 2 kanji. Half-width
// katakana is the only single byte above 0x7F that JIS can hold; any other (0x80, 0xA0, 0xFD-0xFF,
// a lone lead byte) is a character without a JIS code, as a pair can be, and joins a kanji run.
int JisRunClass(const unsigned char* s, int size, int i) {
  if (size == 2) return 2;
  return s[i] < 0x80 ? 0 : IsHalfwidthKana(s[i]) ? 1 : 2;
}

// How many bytes longer the JIS text is than the Shift-JIS text: three for each escape, one for
// each single byte that becomes a two-byte geta mark. No character gives fewer bytes than it takes,
// so the output is never further ahead of the input than this.
int64_t JisGrowth(const unsigned char* s, int len) {
  int64_t growth = 0;
  int runClass = 0;
  int i = 0;
  while (i < len) {
    if (runClass == 0 && i + 8 <= len && Ascii8(s + i)) {
      i += 8;
      continue;
    }
    const int size = SjisCharSize(s, len, i);
    const int cls = JisRunClass(s, size, i);
    growth += (cls != runClass ? 3 : 0) + (cls == 2 && size == 1 ? 1 : 0);
    runClass = cls;
    i += size;
  }
  return growth + (runClass != 0 ? 3 : 0);
}

char* PutEscape(char* w, unsigned char a, unsigned char b) {
  w[0] = static_cast<char>(kEsc);
  w[1] = static_cast<char>(a);
  w[2] = static_cast<char>(b);
  return w + 3;
}

}  // namespace

int CMemory::SJIStoJIS() {
  if (!m_pData) return 0;
  const int64_t growth = JisGrowth(reinterpret_cast<const unsigned char*>(m_pData), m_nLength);
  return CodeWriter::Convert(*this, growth, [](const unsigned char* s, int len, char* w, int& unconverted) {
    int runClass = 0;
    int i = 0;
    while (i < len) {
      if (runClass == 0 && i + 8 <= len && Ascii8(s + i)) {
        std::memmove(w, s + i, 8);  // the input may lie right behind the output
        w += 8;
        i += 8;
        continue;
      }
      const int size = SjisCharSize(s, len, i);
      const int cls = JisRunClass(s, size, i);
      const unsigned char c = s[i];
      const unsigned char trail = size == 2 ? s[i + 1] : 0;
      if (cls != runClass) {
        w = PutEscape(w, cls == 2 ? '$' : '(', cls == 2 ? 'B' : cls == 1 ? 'I' : 'B');
        runClass = cls;
      }
      if (cls == 2) {
        uint16_t jis = size == 2 ? SjisCharToJis(c, trail) : 0;
        if (jis == 0) {
          jis = kGetaJis;
          ++unconverted;
        }
        *w++ = static_cast<char>(jis >> 8);
        *w++ = static_cast<char>(jis & 0xFF);
      } else {
        *w++ = static_cast<char>(cls == 1 ? c - 0x80 : c);
      }
      i += size;
    }
    if (runClass != 0) w = PutEscape(w, '(', 'B');
    return w;
  });
}

int CMemory::JIStoSJIS(bool bMimeDecode) {
  if (!m_pData) return 0;
  if (bMimeDecode) SetLength(DecodeMimeWords(m_pData, m_nLength));  // in place: it only shortens
  // Escapes and pairs never give more bytes than they take: written in place.
  return CodeWriter::Convert(*this, 0, [](const unsigned char* s, int len, char* w, int& unconverted) {
    Escape mode = kToAscii;
    int kanjiStart = -1;  // the opening escape of the current kanji run
    auto flushKanji = [&](int end) {
      int k = kanjiStart + 3;
      while (k < end) {
        if (k + 1 < end) {
          const uint16_t code = JisPairsToSjis(s[k], s[k + 1]);
          if (code != 0) [[likely]] {
            *w++ = static_cast<char>(code >> 8);
            *w++ = static_cast<char>(code & 0xFF);
            k += 2;
            continue;
          }
        }
        *w++ = static_cast<char>(s[k]);
        ++unconverted;
        ++k;
      }
      kanjiStart = -1;
    };
    int i = 0;
    while (i < len) {
      // Between escapes the mode does not change: take the whole stretch at once (runs are short in
      // mixed text, so a plain loop beats a library search).
      int stop = i;
      if (mode == kToKanji) {
        while (stop < len && s[stop] != kEsc) ++stop;  // collected until the escape that closes it
      } else if (mode == kToKana) {
        for (; stop < len && s[stop] != kEsc; ++stop) *w++ = static_cast<char>(KanaByte(s[stop]));
      } else {
        for (; stop < len && s[stop] != kEsc; ++stop) *w++ = static_cast<char>(s[stop]);
      }
      i = stop;
      if (i >= len) break;
      const Escape e = len - i >= 3 ? EscapeAt(s + i) : kNone;
      if (e == kNone) {
        // An ESC that starts no sequence is a byte of text like any other of its run.
        if (mode != kToKanji) *w++ = static_cast<char>(mode == kToKana ? KanaByte(s[i]) : s[i]);
        ++i;
        continue;
      }
      if (mode == kToKanji) flushKanji(i);
      mode = e;
      if (e == kToKanji) kanjiStart = i;
      i += 3;
    }
    if (mode == kToKanji) {
      // A run the text never closes stays as it was, its escape included.
      const int runLen = len - kanjiStart;
      std::memmove(w, s + kanjiStart, runLen);
      w += runLen;
      unconverted += (runLen - 3 + 1) / 2;
    }
    return w;
  });
}

namespace {

// The user-defined area F040-F9FC has no JIS code. Its 1,880 codes are twenty rows of 94 (two rows
// a lead byte, as the arithmetic mapping counts them), and go where EUC keeps its user rows: rows
// 0-3 and 8-9 as the two-byte codes F5A1-F8FE and FDA1-FEFE, rows 10-19 as the three-byte codes
// 8F F5A1-8F FEFE. Rows 4-7 would be F9A1-FCFE, which hold the NEC-selected IBM rows here (the JIS
// codes SjisCharToJis gives them), so they take the three-byte rows 8F EF-F2, which no JIS set uses.
constexpr unsigned char kEucThreeByte = 0x8F;

bool IsUserAreaLead(unsigned char lead) { return lead >= 0xF0 && lead <= 0xF9; }

// EUC bytes of a user-defined code (lead F0-F9, any trail byte); returns their count, 2 or 3.
int UserAreaToEuc(unsigned char lead, unsigned char trail, unsigned char* out) {
  const int index = (lead - 0xF0) * 188 + (trail - 0x40 - (trail > 0x7F ? 1 : 0));
  const int row = index / 94;
  const auto cell = static_cast<unsigned char>(0xA1 + index % 94);
  if (row < 4 || row == 8 || row == 9) {
    out[0] = static_cast<unsigned char>(0xF5 + row);
    out[1] = cell;
    return 2;
  }
  out[0] = kEucThreeByte;
  out[1] = static_cast<unsigned char>(row < 8 ? 0xEF + (row - 4) : 0xF5 + (row - 10));
  out[2] = cell;
  return 3;
}

// The user-defined row (0-19) of an EUC row byte: of a two-byte code, or after 0x8F; -1 for others.
int UserRowOfEuc(unsigned char row, bool threeByte) {
  if (threeByte) {
    if (row >= 0xEF && row <= 0xF2) return 4 + (row - 0xEF);
    return row >= 0xF5 && row <= 0xFE ? 10 + (row - 0xF5) : -1;
  }
  return (row >= 0xF5 && row <= 0xF8) || row == 0xFD || row == 0xFE ? row - 0xF5 : -1;
}

// The Shift-JIS code of a user-defined row and an EUC cell byte (0xA1-0xFE).
uint16_t UserAreaToSjis(int row, unsigned char cell) {
  const int index = row * 94 + (cell - 0xA1);
  const int offset = index % 188;
  return static_cast<uint16_t>(((0xF0 + index / 188) << 8) | (0x40 + offset + (offset >= 0x3F ? 1 : 0)));
}

// Each Shift-JIS code's EUC-JP bytes: a double-byte character its JIS code with bit 7 set in both
// bytes, or its own two bytes (counted) when it has none; a single byte of 0x80 or above (half-width
// katakana) 0x8E and the byte; ASCII itself.
struct SjisEucTables {
  CodeFlags pair;  // a lead byte followed by a trail byte
  uint32_t euc[0x10000];

  SjisEucTables() {
    for (unsigned code = 0; code < 0x10000; ++code) {
      const unsigned char a = static_cast<unsigned char>(code >> 8), b = static_cast<unsigned char>(code);
      if (code > 0xFF && IsSjisLeadByte(a) && IsSjisTrailByte(b)) {
        pair.Set(code);
        if (IsUserAreaLead(a)) {
          unsigned char bytes[3];
          const int n = UserAreaToEuc(a, b, bytes);
          euc[code] = PackOutput(bytes, n, false);
          continue;
        }
        const uint16_t jis = SjisCharToJis(a, b);
        const unsigned char bytes[2] = {static_cast<unsigned char>(jis ? (jis >> 8) | 0x80 : a),
                                        static_cast<unsigned char>(jis ? (jis & 0xFF) | 0x80 : b)};
        euc[code] = PackOutput(bytes, 2, jis == 0);
      } else if (code <= 0xFF) {
        const unsigned char bytes[2] = {static_cast<unsigned char>(code < 0x80 ? code : 0x8E), b};
        euc[code] = PackOutput(bytes, code < 0x80 ? 1 : 2, false);
      } else {
        euc[code] = 0;  // never read: only pairs are looked up above 0xFF
      }
    }
  }

  static const SjisEucTables& Get() {
    static const SjisEucTables* tables = new SjisEucTables;
    return *tables;
  }
};

}  // namespace

int CMemory::SJIStoEUC() {
  const auto body = [](const unsigned char* s, int len, char* w, int& unconverted) {
    const SjisEucTables& t = SjisEucTables::Get();
    return WalkSjisPacked(s, len, w, unconverted, t.pair, t.euc);
  };
  // Up to two bytes for each byte read, and each step writes four (an eight-byte ASCII step eight).
  return CodeWriter::Convert(*this, static_cast<int64_t>(m_nLength) + 16, body);
}

int CMemory::EUCtoSJIS() {
  const auto body = [](const unsigned char* s, int len, char* w, int& unconverted) {
    int i = 0;
    while (i < len) {
      const unsigned char c = s[i];
      if (c < 0x80) {
        *w++ = static_cast<char>(c);
        ++i;
      } else if (c == 0x8E) {
        if (i + 1 < len) {
          *w++ = static_cast<char>(s[i + 1]);
          i += 2;
        } else {
          *w++ = static_cast<char>(c);  // nothing follows: kept, never read past the text
          ++unconverted;
          ++i;
        }
      } else if (c == kEucThreeByte && i + 2 < len && IsEucByte(s[i + 1]) && IsEucByte(s[i + 2])) {
        // A character of the supplementary set, which CP932 lacks, unless it is of the user rows.
        const int row = UserRowOfEuc(s[i + 1], true);
        const uint16_t code = row >= 0 ? UserAreaToSjis(row, s[i + 2]) : (kGetaLead << 8) | kGetaTrail;
        unconverted += row < 0 ? 1 : 0;
        *w++ = static_cast<char>(code >> 8);
        *w++ = static_cast<char>(code & 0xFF);
        i += 3;
      } else if (IsEucByte(c) && i + 1 < len && IsEucByte(s[i + 1])) {
        const int row = UserRowOfEuc(c, false);
        const uint16_t code = row >= 0 ? UserAreaToSjis(row, s[i + 1]) : JisPairsToSjis(c & 0x7F, s[i + 1] & 0x7F);
        if (code != 0) {
          *w++ = static_cast<char>(code >> 8);
          *w++ = static_cast<char>(code & 0xFF);
        } else {
          *w++ = static_cast<char>(c & 0x7F);
          *w++ = static_cast<char>(s[i + 1] & 0x7F);
          ++unconverted;
        }
        i += 2;
      } else {
        *w++ = static_cast<char>(c);
        ++i;
      }
    }
    return w;
  };
  return CodeWriter::Convert(*this, 0, body);  // never more bytes than it reads: in place
}
