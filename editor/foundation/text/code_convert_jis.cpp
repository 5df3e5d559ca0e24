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

bool IEqualsAscii(const char* p, const char* upper, int n) {
  for (int i = 0; i < n; ++i) {
    char c = p[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != upper[i]) return false;
  }
  return true;
}

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

namespace {

enum RunMode { kAsciiRun = 0, kKanjiRun = 1, kKanaRun = 2 };

// The kanji run s[a, e) pair by pair: a pair that does not convert gives its first byte unchanged
// (counted) and the conversion goes on at the second byte.
char* KanjiRunToSjis(const unsigned char* s, int a, int e, char* w, int& unconverted) {
  for (int k = a; k < e;) {
    if (k + 1 < e) {
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
  return w;
}

#if defined(__SSE2__)
// Eight JIS pairs to their Shift-JIS codes (JisPairsToSjis), each pair a 16-bit lane, first byte
// low; the lanes of pairs that are not two bytes 0x21-0x7E give nothing useful.
[[gnu::always_inline]] inline __m128i JisPairsToSjis8(__m128i x) {
  const auto k16 = [](int v) { return _mm_set1_epi16(static_cast<int16_t>(v)); };
  const __m128i j1 = _mm_and_si128(x, k16(0xFF)), j2 = _mm_srli_epi16(x, 8);
  __m128i c1 = _mm_add_epi16(_mm_srli_epi16(_mm_sub_epi16(j1, k16(0x21)), 1), k16(0x81));
  c1 = _mm_add_epi16(c1, _mm_and_si128(_mm_cmpgt_epi16(c1, k16(0x9F)), k16(0x40)));
  const __m128i odd = _mm_cmpeq_epi16(_mm_and_si128(j1, k16(1)), k16(1));
  const __m128i c2odd =
      _mm_add_epi16(_mm_add_epi16(j2, k16(0x1F)), _mm_and_si128(_mm_cmpgt_epi16(j2, k16(0x5F)), k16(1)));
  const __m128i c2 = _mm_or_si128(_mm_and_si128(odd, c2odd), _mm_andnot_si128(odd, _mm_add_epi16(j2, k16(0x7E))));
  return _mm_or_si128(c1, _mm_slli_epi16(c2, 8));
}
#endif

// The run s[a, e) of the given mode between two escapes, byte by byte.
char* RunToSjisByBytes(const unsigned char* s, int a, int e, int mode, char* w, int& unconverted) {
  if (mode == kKanjiRun) return KanjiRunToSjis(s, a, e, w, unconverted);
  for (int k = a; k < e; ++k) {
    const bool katakana = mode == kKanaRun && s[k] >= 0x21 && s[k] <= 0x7E;
    *w++ = static_cast<char>(katakana ? s[k] | 0x80 : s[k]);
  }
  return w;
}

// The run s[a, e) of the given mode between two escapes, in Shift-JIS: ASCII as it is; katakana
// with bit 7 set on 0x21-0x7E, the katakana (line ends, blanks, control bytes and anything above
// 0x7F are themselves); kanji pair by pair. The output may lie over the input, behind it. Sixteen
// bytes at a time, each mode's result computed and one chosen: the modes follow each other as the
// text's characters do, so a branch on them would mostly guess wrong. That writes up to 15 bytes
// past the output, over the escape after the run and what follows it, so it needs the output 16
// bytes behind the input (three bytes more for each escape dropped); until then the run goes byte
// by byte.
char* RunToSjis(const unsigned char* s, int len, int a, int e, int mode, char* w, int& unconverted) {
#if defined(__SSE2__)
  using namespace byte_lanes;
  if (reinterpret_cast<const char*>(s + a) - w < 16) [[unlikely]] {
    return RunToSjisByBytes(s, a, e, mode, w, unconverted);
  }
  // Per mode: which bytes take the katakana result, which the kanji one.
  alignas(16) static const uint8_t kPick[3][2][16] = {
      {{}, {}},
      {{}, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
      {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {}}};
  const __m128i kana = _mm_load_si128(reinterpret_cast<const __m128i*>(kPick[mode][0]));
  const __m128i kanji = _mm_load_si128(reinterpret_cast<const __m128i*>(kPick[mode][1]));
  const int n = e - a;
  uint32_t sevens = 0xFFFF;  // bytes 0x21-0x7E, over the whole pairs of the run
  for (int q = 0; q < n; q += 16) {
    unsigned char padded[16] = {};
    const unsigned char* p = s + a + q;
    if (len - (a + q) < 16) [[unlikely]] {
      std::memcpy(padded, p, len - (a + q));
      p = padded;
    }
    const __m128i x = Load(p);
    const __m128i seven = InRange(x, 0x21, 0x7E);
    const __m128i asKana = Or(x, And(seven, _mm_set1_epi8(static_cast<char>(0x80))));
    const __m128i converted = Or(And(asKana, kana), And(JisPairsToSjis8(x), kanji));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(w + q), Or(AndNot(x, Or(kana, kanji)), converted));
    const int pairBytes = n - q >= 16 ? 16 : (n - q) & ~1;
    sevens &= static_cast<uint32_t>(Bits(seven)) | ~((1u << pairBytes) - 1);
  }
  const int kanjiRun = mode == kKanjiRun;
  if (kanjiRun & ((sevens & 0xFFFF) != 0xFFFF)) [[unlikely]] {
    return KanjiRunToSjis(s, a, e, w, unconverted);  // a pair that does not convert
  }
  // A last byte of a kanji run without a partner stays, counted; stored without a branch on it.
  const int alone = kanjiRun & n;
  char spare;
  *(alone ? w + n - 1 : &spare) = static_cast<char>(s[e - 1]);
  unconverted += alone;
  return w + n;
#else
  (void)len;
  return RunToSjisByBytes(s, a, e, mode, w, unconverted);
#endif
}

// The run mode an escape sequence at p (three bytes there) switches to, or -1 for an ESC that
// starts none. Computed rather than branched on: the kinds of escapes follow each other as the
// text's characters do.
[[gnu::always_inline]] inline int RunModeAt(const unsigned char* p) {
  const unsigned char a = p[1], b = p[2];
  const int kanji = (a == '$') & ((b == 'B') | (b == '@'));
  const int kana = (a == '(') & (b == 'I');
  const int ascii = (a == '(') & ((b == 'B') | (b == 'J'));
  return (kanji | kana | ascii) ? kanji * kKanjiRun + kana * kKanaRun : -1;
}

// Converts the escape sequences of JIS text to Shift-JIS in place; returns the output's end.
char* JisToSjis(const unsigned char* s, int len, char* w, int& unconverted) {
  // Locals that no call sees, so that they stay in registers in the loop below.
  int count = 0;
  int mode = kAsciiRun;
  int runStart = 0;     // first byte after the escape that opened the run
  int kanjiStart = -1;  // the opening escape of the current kanji run
  // Only an escape sequence ends a run; an ESC that starts none is a byte of the run's text.
  const auto runToSjis = [s, len](int a, int e, int runMode, char* out, int& counted) {
    int added = 0;
    out = RunToSjis(s, len, a, e, runMode, out, added);
    counted += added;
    return out;
  };
  int i = 0;
#if defined(__SSE2__)
  using namespace byte_lanes;
  // Runs in JIS text are a few bytes long. A block's runs are taken from its bytes converted
  // once for each mode, 16 bytes at a time (kanji for pairs from an even and from an odd byte),
  // rather than each run converting 16 bytes of its own. A run that began in an earlier block, or
  // is longer than 16 bytes, goes through RunToSjis. A run taken here ends inside the block, so
  // the 16 bytes read from its start (up to 79) hold its bytes and spare ones. The escapes are
  // told apart by the block's masks too, which leaves no branch on their kinds.
  alignas(16) unsigned char converted[4][96] = {};  // by mode, then kanji from an odd byte
  for (; len - i >= 96; i += kBlockBytes) {
    const unsigned char* p = s + i;
    uint64_t sevens = 0;  // bytes 0x21-0x7E
    for (int k = 0; k < kBlockBytes; k += 16) {
      const __m128i x = Load(p + k);
      const __m128i seven = InRange(x, 0x21, 0x7E);
      sevens |= Bits(seven) << k;
      const auto put = [k, &converted](int which, int at, __m128i v) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(converted[which] + k + at), v);
      };
      put(kAsciiRun, 0, x);
      put(kKanjiRun, 0, JisPairsToSjis8(x));
      put(kKanaRun, 0, Or(x, And(seven, _mm_set1_epi8(static_cast<char>(0x80)))));
      put(3, 1, JisPairsToSjis8(Load(p + k + 1)));
    }
    // The block's escape sequences of each kind (their bytes after the block are the next
    // block's, which the block may read).
    const uint64_t toKanji = BlockMask(p, [](Lane x, Lane y, Lane z) {
      return And(And(Equal(x, kEsc), Equal(y, '$')), Or(Equal(z, 'B'), Equal(z, '@')));
    });
    const uint64_t toKana =
        BlockMask(p, [](Lane x, Lane y, Lane z) { return And(And(Equal(x, kEsc), Equal(y, '(')), Equal(z, 'I')); });
    const uint64_t toAscii = BlockMask(p, [](Lane x, Lane y, Lane z) {
      return And(And(Equal(x, kEsc), Equal(y, '(')), Or(Equal(z, 'B'), Equal(z, 'J')));
    });
    for (uint64_t m = toKanji | toKana | toAscii; m; m &= m - 1) {
      const int bit = LowestBit(m);
      const int e = i + bit;
      const int next = static_cast<int>(((toKanji >> bit) & 1) * kKanjiRun + ((toKana >> bit) & 1) * kKanaRun);
      const int off = runStart - i;
      const int n = e - runStart;
      if (off < 0 || n > 16 || reinterpret_cast<const char*>(s + runStart) - w < 16) {
        w = runToSjis(runStart, e, mode, w, count);
        mode = next;
        kanjiStart = e;
        runStart = e + 3;
        continue;
      }
      const int kanjiRun = mode == kKanjiRun;
      const unsigned char* src = converted[mode | (kanjiRun & off) << 1] + off;
      _mm_storeu_si128(reinterpret_cast<__m128i*>(w), Load(src));
      // Every whole pair of a kanji run two bytes 0x21-0x7E, or it goes pair by pair.
      if (kanjiRun & (((~sevens >> off) & ((uint64_t{1} << (n & ~1)) - 1)) != 0)) [[unlikely]] {
        w = runToSjis(runStart, e, mode, w, count);
      } else {
        // A last byte of a kanji run without a partner stays, counted.
        const int alone = kanjiRun & n;
        char spare;
        *(alone ? w + n - 1 : &spare) = static_cast<char>(s[e - 1]);
        count += alone;
        w += n;
      }
      mode = next;
      kanjiStart = e;
      runStart = e + 3;
    }
  }
#endif
  for (int e = i; e < len; ++e) {
    if (s[e] != kEsc || len - e < 3) continue;
    const int next = RunModeAt(s + e);
    if (next < 0) continue;
    w = runToSjis(runStart, e, mode, w, count);
    mode = next;
    kanjiStart = e;
    runStart = e + 3;
    e += 2;
  }
  if (mode == kKanjiRun) {
    // A run the text never closes stays as it was, its escape included.
    const int runLen = len - kanjiStart;
    std::memmove(w, s + kanjiStart, runLen);
    w += runLen;
    count += (runLen - 3 + 1) / 2;
  } else {
    w = runToSjis(runStart, len, mode, w, count);
  }
  unconverted += count;
  return w;
}

}  // namespace

int CMemory::JIStoSJIS(bool bMimeDecode) {
  if (!m_pData) return 0;
  if (bMimeDecode) SetLength(DecodeMimeWords(m_pData, m_nLength));  // in place: it only shortens
  // Escapes and pairs never give more bytes than they take: written in place.
  return CodeWriter::Convert(*this, 0, JisToSjis);
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
};

}  // namespace

int CMemory::SJIStoEUC() {
  const auto body = [](const unsigned char* s, int len, char* w, int& unconverted) {
    const SjisEucTables& t = BuiltOnce<SjisEucTables>();
    return WalkSjisPacked(s, len, w, unconverted, t.pair, t.euc);
  };
  // Up to two bytes for each byte read, and each step writes four (an eight-byte ASCII step eight).
  return CodeWriter::Convert(*this, static_cast<int64_t>(m_nLength) + 16, body);
}

namespace {

// One character of EUC-JP text at i, written in Shift-JIS; returns its size. 0x8E and any byte is
// a half-width katakana; two bytes A1-FE are the character of their JIS code; 0x8F and two such
// bytes a character of the supplementary set, which CP932 lacks, unless it is of the user rows.
int EucCharToSjis(const unsigned char* s, int len, int i, char*& w, int& unconverted) {
  const unsigned char c = s[i];
  if (c == 0x8E) {
    if (i + 1 < len) {
      *w++ = static_cast<char>(s[i + 1]);
      return 2;
    }
    *w++ = static_cast<char>(c);  // nothing follows: kept, never read past the text
    ++unconverted;
    return 1;
  }
  if (c == kEucThreeByte && i + 2 < len && IsEucByte(s[i + 1]) && IsEucByte(s[i + 2])) {
    const int row = UserRowOfEuc(s[i + 1], true);
    const uint16_t code = row >= 0 ? UserAreaToSjis(row, s[i + 2]) : (kGetaLead << 8) | kGetaTrail;
    unconverted += row < 0 ? 1 : 0;
    *w++ = static_cast<char>(code >> 8);
    *w++ = static_cast<char>(code & 0xFF);
    return 3;
  }
  if (IsEucByte(c) && i + 1 < len && IsEucByte(s[i + 1])) {
    const int row = UserRowOfEuc(c, false);
    const uint16_t code = row >= 0 ? UserAreaToSjis(row, s[i + 1]) : JisPairsToSjis(c & 0x7F, s[i + 1] & 0x7F);
    *w++ = static_cast<char>(code >> 8);
    *w++ = static_cast<char>(code & 0xFF);
    return 2;
  }
  *w++ = static_cast<char>(c);
  return 1;
}

// Each EUC-JP code's Shift-JIS bytes, as EucCharToSjis gives them: a single byte, or a byte that
// starts a two-byte character (0x8E, an EUC byte before another) << 8 | the next. 0x8F, which may
// start three bytes, is left to EucCharToSjis.
struct EucSjisTable {
  uint32_t sjis[0x10000];

  EucSjisTable() {
    for (unsigned code = 0; code < 0x10000; ++code) {
      const unsigned char bytes[2] = {static_cast<unsigned char>(code > 0xFF ? code >> 8 : code),
                                      static_cast<unsigned char>(code)};
      const bool pair = code > 0xFF && (bytes[0] == 0x8E || (IsEucByte(bytes[0]) && IsEucByte(bytes[1])));
      if (code == kEucThreeByte) {
        sjis[code] = kPackedByStep;
      } else if (code <= 0xFF || pair) {
        char out[4];
        char* w = out;
        int unconverted = 0;
        EucCharToSjis(bytes, pair ? 2 : 1, 0, w, unconverted);
        sjis[code] = PackOutput(reinterpret_cast<unsigned char*>(out), static_cast<int>(w - out), unconverted > 0);
      } else {
        sjis[code] = 0;  // never read: only pairs are looked up above 0xFF
      }
    }
  }
};

}  // namespace

int CMemory::EUCtoSJIS() {
  const auto body = [](const unsigned char* s, int len, char* w, int& unconverted) {
    const auto step = [s, len](int at, char*& out, int& count) { return EucCharToSjis(s, len, at, out, count); };
    return WalkPacked<1>(s, len, w, unconverted, BuiltOnce<EucSjisTable>().sjis, EucPairable, step);
  };
  // Never more bytes than it reads, but each character writes four.
  return CodeWriter::Convert(*this, 16, body);
}
