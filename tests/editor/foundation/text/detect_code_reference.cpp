#include "detect_code_reference.h"

#include <cstring>

#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_walk.h"
#include "platform/sjis.h"

namespace {

// The walks of the EUC, Shift-JIS and UTF-8 scores go through random text, where a branch per byte
// is mispredicted half the time. Each step is computed instead, from small tables that stay in the
// first-level cache; only the step itself waits on the bytes, the score is counted beside it.
// Runs of ASCII (most of a JIS, UTF-7 or source text) count for none of the walks below and are
// crossed eight bytes at a time (Ascii8).

struct ScoreTables {
  uint8_t sjisLead[0x100];
  uint8_t sjisTrail[0x100];
  uint8_t eucByte[0x100];
  uint8_t utf8Lead[0x100];  // 3 or 2 for the first byte of a three- or two-byte sequence
  CodeFlags sjisScores;     // a double-byte character that decodes, has a JIS code and is below 0xE380
  CodeFlags eucKana;        // two EUC bytes whose JIS code is a kana
  CodeFlags kanaUnit;       // a UTF-16 unit whose CP932 code is a kana

  ScoreTables() {
    const uint16_t* dec = platform::SjisDecodeTable().data();
    const uint16_t* enc = platform::SjisEncodeTable().data();
    for (unsigned c = 0; c < 0x100; ++c) {
      sjisLead[c] = IsSjisLeadByte(static_cast<unsigned char>(c)) ? 1 : 0;
      sjisTrail[c] = IsSjisTrailByte(static_cast<unsigned char>(c)) ? 1 : 0;
      eucByte[c] = IsEucByte(static_cast<unsigned char>(c)) ? 1 : 0;
      utf8Lead[c] = (c & 0xF0) == 0xE0 ? 3 : (c & 0xE0) == 0xC0 ? 2 : 0;
    }
    for (unsigned code = 0; code < 0x10000; ++code) {
      const unsigned a = code >> 8, b = code & 0xFF;
      if (sjisLead[a] && sjisTrail[b] && dec[code] != 0xFFFD &&
          SjisCharToJis(static_cast<unsigned char>(a), static_cast<unsigned char>(b)) != 0 && code < 0xE380) {
        sjisScores.Set(code);
      }
      if (eucByte[a] && eucByte[b] && IsSjisKana(JisPairsToSjis(a & 0x7F, b & 0x7F))) eucKana.Set(code);
      if (IsSjisKana(enc[code])) kanaUnit.Set(code);
    }
  }
};

const ScoreTables& Tables() {
  static const ScoreTables* tables = new ScoreTables;
  return *tables;
}

// Each walk below moves one byte per step and carries whether a character starts there, so that
// no step waits on the bytes before it; a byte that continues a character adds nothing.

// The EUC, Shift-JIS and UTF-8 walks, one byte per step each, share their bytes and their loop.
struct ByteWalks {
  const ScoreTables& t = Tables();
  unsigned eucStart = 1;
  unsigned sjisStart = 1;
  int utf8Inside = 0;  // bytes of the current UTF-8 sequence still to come
  int euc = 0;
  int sjis = 0;
  int utf8 = 0;

  unsigned AllAtStart() const { return eucStart & sjisStart & static_cast<unsigned>(utf8Inside == 0); }

  // EUC and Shift-JIS at the byte a followed by b.
  void PairStep(unsigned a, unsigned b) {
    const unsigned code = (a << 8) | b;
    const unsigned single = a == 0x8E;
    // Every pair of EUC bytes is a JIS code that maps to Shift-JIS.
    const unsigned eucPair = t.eucByte[a] & t.eucByte[b];
    euc += static_cast<int>(eucStart & (single | t.eucKana[code]));
    eucStart = (eucStart & (single | eucPair)) ^ 1;
    const unsigned sjisPair = sjisStart & t.sjisLead[a] & t.sjisTrail[b];
    sjis += static_cast<int>(sjisPair & t.sjisScores[code]);
    sjisStart = sjisPair ^ 1;
  }

  // UTF-8 at the byte c followed by c1 and c2.
  void Utf8Step(unsigned c, unsigned c1, unsigned c2) {
    const unsigned lead = t.utf8Lead[c];
    const bool cont1 = (c1 & 0xC0) == 0x80;
    const bool cont2 = (c2 & 0xC0) == 0x80;
    const int n = lead == 3 ? (cont1 && cont2 ? 3 : 0) : lead == 2 ? (cont1 ? 2 : 0) : 0;
    const unsigned u = n == 3 ? ((c & 0x0F) << 12) | ((c1 & 0x3F) << 6) | (c2 & 0x3F) : ((c & 0x1F) << 6) | (c1 & 0x3F);
    const bool here = utf8Inside == 0;
    utf8 += here ? static_cast<int>(t.kanaUnit[u & 0xFFFF]) * n : 0;
    utf8Inside = here ? (n > 0 ? n - 1 : 0) : utf8Inside - 1;
  }

  void Run(const unsigned char* s, int len) {
    int i = 0;
    while (i + 2 < len) {
      if (i + 8 <= len && (static_cast<unsigned>(Ascii8(s + i)) & AllAtStart())) {
        i += 8;
        continue;
      }
      PairStep(s[i], s[i + 1]);
      Utf8Step(s[i], s[i + 1], s[i + 2]);
      ++i;
    }
    // The last bytes, where a walk's look-ahead would pass the end.
    for (int k = i; k + 1 < len; ++k) PairStep(s[k], s[k + 1]);
    // A 0x8E that starts a character counts even as the last byte.
    if (len > 0 && eucStart && s[len - 1] == 0x8E) ++euc;
    for (int k = i + utf8Inside; k < len;) {
      const int n = Utf8SequenceLength(s + k, len - k);
      if (n == 0) {
        ++k;
        continue;
      }
      utf8 += static_cast<int>(t.kanaUnit[Utf8SequenceToUcs2(s + k, n)]) * n;
      k += n;
    }
  }
};

int JisScore(const unsigned char* s, int len) {
  int score = 0;
  int kanjiStart = -1;  // first byte after the escape of an open kanji run
  bool kana = false;
  int i = 0;
  while (i < len) {
    // Only escapes change anything; every byte of a katakana run counts.
    const void* esc = std::memchr(s + i, 0x1B, len - i);
    const int at = esc ? static_cast<int>(static_cast<const unsigned char*>(esc) - s) : len;
    if (kana) score += at - i;
    i = at;
    if (i >= len) break;
    if (len - i >= 3) {
      const unsigned char a = s[i + 1], b = s[i + 2];
      if (a == '$' && (b == 'B' || b == '@')) {
        // A kanji run followed by another kanji escape counts nothing.
        kanjiStart = i + 3;
        kana = false;
        i += 3;
        continue;
      }
      if (a == '(' && (b == 'I' || b == 'B' || b == 'J')) {
        if (kanjiStart >= 0 && i > kanjiStart) score += (i - kanjiStart) / 2;
        kanjiStart = -1;
        kana = b == 'I';
        i += 3;
        continue;
      }
    }
    if (kana) ++score;
    ++i;
  }
  return score;
}

bool NotUtf7Byte(unsigned char c) { return c > 0x7F || c == '=' || c == '\\' || c == '~'; }

int Utf7Score(const unsigned char* s, int len) {
  const uint16_t* enc = platform::SjisEncodeTable().data();
  int good = 0;
  int bad = 0;
  int i = 0;
  while (i < len) {
    const unsigned char c = s[i];
    if (c == '+' && len - i >= 3 && s[i + 1] == '-') {
      i += 2;
      continue;
    }
    if (c == '+' && len - i >= 3 && Base64CharValue(s[i + 1]) >= 0) {
      const int start = i + 1;
      int end = start;
      while (end < len && Base64CharValue(s[end]) >= 0) ++end;
      if (end < len && s[end] == '-') {
        const int runLen = end - start;
        const int bytes = runLen * 6 / 8;  // what Base64DecodeInPlace gives for the run
        if (runLen >= 3 && bytes % 2 == 0) {
          uint32_t bits = 0;
          int nbits = 0;
          for (int k = start; k < end; ++k) {
            bits = (bits << 6) | static_cast<uint32_t>(Base64CharValue(s[k]));
            nbits += 6;
            if (nbits >= 16) {
              nbits -= 16;
              const auto u = static_cast<uint16_t>(bits >> nbits);
              if (u == 0 || enc[u] != 0) {
                ++good;
              } else {
                ++bad;
              }
            }
          }
        }
        i = end + 1;
        continue;
      }
      // A run ended by the text's end, a line end or any other byte is not decoded.
      if (end < len && NotUtf7Byte(s[end])) return 0;
      i = end < len ? end + 1 : end;
      continue;
    }
    if (NotUtf7Byte(c)) return 0;
    ++i;
  }
  return bad > good / 2 ? 0 : good;
}

}  // namespace

CodeScores ReferenceCodeScores(const unsigned char* s, int len) {
  CodeScores scores;
  if (!s || len <= 0) return scores;
  ByteWalks walks;
  walks.Run(s, len);
  scores.euc = walks.euc;
  scores.sjis = walks.sjis;
  scores.jis = JisScore(s, len);
  scores.utf8 = walks.utf8;
  scores.utf7 = Utf7Score(s, len);
  return scores;
}
