#include "editor/foundation/text/code_detect.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "editor/foundation/text/byte_blocks.h"
#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_walk.h"
#include "platform/file.h"
#include "platform/sjis.h"

int DetectBom(const char* pData, int nDataLen) {
  if (!pData || nDataLen < 2) return kCodeSjis;
  const auto* p = reinterpret_cast<const unsigned char*>(pData);
  if (p[0] == 0xFF && p[1] == 0xFE) return kCodeUtf16Le;
  if (p[0] == 0xFE && p[1] == 0xFF) return kCodeUtf16Be;
  if (nDataLen >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) return kCodeUtf8;
  return kCodeSjis;
}

namespace {

// The EUC, Shift-JIS and UTF-8 scores go through the text 64 bytes at a time (byte_blocks.h): the
// characters of each walk start where the block's masks say, and the score counts characters of
// the block's masks, looking a character up in a table only where its lead byte does not decide.

// A set of byte values as two ranges (a value outside them is taken as not in the set; the
// unused range is the byte 0, which no test here looks for).
struct ByteRanges {
  int count = 0;
  unsigned char lo[2] = {};
  unsigned char hi[2] = {};

  void Add(unsigned char first, unsigned char last) {
    if (count < 2) {
      lo[count] = first;
      hi[count] = last;
      ++count;
    }
  }
  byte_lanes::Lane Test(byte_lanes::Lane x) const {
    return byte_lanes::Or(byte_lanes::InRange(x, lo[0], hi[0]), byte_lanes::InRange(x, lo[1], hi[1]));
  }
};

struct ScoreTables {
  CodeFlags sjisScores;  // a double-byte character that decodes, has a JIS code and is below 0xE380
  // Lead bytes of which every double-byte character scores, and of which none does; the others are
  // looked up in sjisScores.
  ByteRanges allScore;
  ByteRanges noneScore;
  uint8_t kanaUnit[0x100];    // U+3000-U+30FF: a unit whose CP932 code is a kana (no other unit's is)
  uint8_t utf7Unit[0x10000];  // a UTF-16 unit that converts to CP932 (U+0000 among them)

  ScoreTables() {
    const uint16_t* dec = platform::SjisDecodeTable().data();
    const uint16_t* enc = platform::SjisEncodeTable().data();
    for (unsigned code = 0; code < 0x10000; ++code) {
      const unsigned char a = static_cast<unsigned char>(code >> 8), b = static_cast<unsigned char>(code);
      if (IsSjisLeadByte(a) && IsSjisTrailByte(b) && dec[code] != 0xFFFD && SjisCharToJis(a, b) != 0 && code < 0xE380)
        sjisScores.Set(code);
    }
    // Runs of lead bytes alike in scoring; bytes that are no lead byte never start a character and
    // do not break a run.
    int runKind = -1;  // 0 none, 1 all, 2 some
    unsigned char runFirst = 0, runLast = 0;
    const auto endRun = [&] {
      if (runKind == 1) allScore.Add(runFirst, runLast);
      if (runKind == 0) noneScore.Add(runFirst, runLast);
    };
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsSjisLeadByte(static_cast<unsigned char>(lead))) continue;
      int scoring = 0, trails = 0;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (!IsSjisTrailByte(static_cast<unsigned char>(trail))) continue;
        ++trails;
        scoring += static_cast<int>(sjisScores[(lead << 8) | trail]);
      }
      const int kind = scoring == 0 ? 0 : scoring == trails ? 1 : 2;
      if (kind != runKind) {
        endRun();
        runKind = kind;
        runFirst = static_cast<unsigned char>(lead);
      }
      runLast = static_cast<unsigned char>(lead);
    }
    endRun();
    for (unsigned u = 0; u < 0x100; ++u) kanaUnit[u] = IsSjisKana(enc[0x3000 + u]) ? 1 : 0;
    for (unsigned u = 0; u < 0x10000; ++u) {
      utf7Unit[u] = u == 0 || enc[u] != 0 ? 1 : 0;
    }
  }
};

const ScoreTables& Tables() { return BuiltOnce<ScoreTables>(); }

// A UTF-8 three-byte sequence E3 xx yy of a kana: its unit U+3000 + ((xx & 0x3F) << 6 | yy & 0x3F).
inline int Utf8KanaScore(const ScoreTables& t, const unsigned char* p) {
  return 3 * t.kanaUnit[((p[1] & 0x03) << 6) | (p[2] & 0x3F)];
}

inline bool IsUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Two bytes of the EUC kana rows: JIS 0x2421-0x2473 (hiragana, Shift-JIS 829F-82F1) and
// 0x2521-0x2573 (katakana, 8340-8393), the codes of IsSjisKana.
inline bool IsEucKana(unsigned char a, unsigned char b) { return (a == 0xA4 || a == 0xA5) && b >= 0xA1 && b <= 0xF3; }

struct ByteScores {
  int euc = 0;
  int sjis = 0;
  int utf8 = 0;
};

ByteScores ScoreBytes(const unsigned char* s, int len) {
  using namespace byte_lanes;
  const ScoreTables& t = Tables();
  ByteScores r;
  unsigned sjisCarry = 0;  // the block's first byte ends a Shift-JIS pair begun before it
  unsigned eucCarry = 0;   // the same for EUC
  int i = 0;
  // Each block looks at the two bytes after it.
  for (; len - i >= kBlockBytes + 2; i += kBlockBytes) {
    const unsigned char* p = s + i;
    if (!BlockHasHighByte(p)) {
      // No character of the three walks starts in ASCII, and no pair runs on past it.
      sjisCarry = eucCarry = 0;
      continue;
    }
    const uint64_t sjisPairs =
        PairStarts(BlockMask(p, [](Lane x, Lane y, Lane) { return SjisPairable(x, y); }) & ~uint64_t{sjisCarry});
    sjisCarry = static_cast<unsigned>(sjisPairs >> 63);
    const uint64_t allScore = sjisPairs & BlockMask(p, [&](Lane x, Lane, Lane) { return t.allScore.Test(x); });
    r.sjis += CountBits(allScore);
    const uint64_t noneScore = BlockMask(p, [&](Lane x, Lane, Lane) { return t.noneScore.Test(x); });
    for (uint64_t m = sjisPairs & ~allScore & ~noneScore; m; m &= m - 1) {
      const unsigned char* c = p + LowestBit(m);
      r.sjis += static_cast<int>(t.sjisScores[(c[0] << 8) | c[1]]);
    }

    const uint64_t eucPairs =
        PairStarts(BlockMask(p, [](Lane x, Lane y, Lane) { return EucPairable(x, y); }) & ~uint64_t{eucCarry});
    eucCarry = static_cast<unsigned>(eucPairs >> 63);
    r.euc += CountBits(eucPairs & BlockMask(p, [](Lane x, Lane y, Lane) {
                         return Or(Equal(x, 0x8E), And(InRange(x, 0xA4, 0xA5), InRange(y, 0xA1, 0xF3)));
                       }));

    // A UTF-8 lead byte is never inside another sequence (those hold continuation bytes only), so
    // every E3 followed by two continuation bytes starts a sequence; kana units are all U+30xx.
    for (uint64_t m = BlockMask(p,
                                [](Lane x, Lane y, Lane z) {
                                  return And(Equal(x, 0xE3), And(InRange(y, 0x80, 0x83), InRange(z, 0x80, 0xBF)));
                                });
         m; m &= m - 1) {
      r.utf8 += Utf8KanaScore(t, p + LowestBit(m));
    }
  }
  // The last bytes one at a time, each walk going on from where its blocks left it.
  for (int k = i; k + 2 < len; ++k) {
    if (s[k] == 0xE3 && s[k + 1] >= 0x80 && s[k + 1] <= 0x83 && IsUtf8Continuation(s[k + 2]))
      r.utf8 += Utf8KanaScore(t, s + k);
  }
  for (int k = i + static_cast<int>(sjisCarry); k < len;) {
    if (k + 1 < len && IsSjisLeadByte(s[k]) && IsSjisTrailByte(s[k + 1])) {
      r.sjis += static_cast<int>(t.sjisScores[(s[k] << 8) | s[k + 1]]);
      k += 2;
    } else {
      ++k;
    }
  }
  for (int k = i + static_cast<int>(eucCarry); k < len;) {
    if (s[k] == 0x8E) {  // counts even as the last byte
      ++r.euc;
      k += 2;
    } else if (k + 1 < len && IsEucByte(s[k]) && IsEucByte(s[k + 1])) {
      r.euc += IsEucKana(s[k], s[k + 1]) ? 1 : 0;
      k += 2;
    } else {
      ++k;
    }
  }
  return r;
}

int JisScore(const unsigned char* s, int len) {
  int score = 0;
  int mode = 0;      // 0 ASCII, 1 kanji, 2 katakana
  int runStart = 0;  // first byte after the escape that opened the run
  // Only escapes change anything. A kanji run counts its bytes halved when an ASCII or katakana
  // escape closes it, nothing when another kanji escape or the end does; a katakana run counts
  // every byte of it, escapes that start no sequence included. Computed rather than branched on:
  // the kinds of escapes follow each other as the text's characters do.
  ForEachByte(s, len, 0x1B, [&](int e) {
    if (len - e < 3) return e + 1;
    const unsigned char a = s[e + 1], b = s[e + 2];
    const int kanji = a == '$' && (b == 'B' || b == '@');
    const int kana = a == '(' && b == 'I';
    const int ascii = a == '(' && (b == 'B' || b == 'J');
    if ((kanji | kana | ascii) == 0) return e + 1;
    const int run = e - runStart;
    score += (mode == 2) * run + (mode == 1 && !kanji) * (run / 2);
    mode = kanji + 2 * kana;
    runStart = e + 3;
    return e + 3;
  });
  return mode == 2 ? score + (len - runStart) : score;
}

// A byte that no UTF-7 text holds: above 0x7F, '=', '\\' or '~'.
bool HasNonUtf7Byte(const unsigned char* s, int len) {
  using namespace byte_lanes;
  int i = 0;
  for (; len - i >= kBlockBytes + 2; i += kBlockBytes) {
    if (BlockHasHighByte(s + i)) return true;
    if (BlockMask(s + i, [](Lane x, Lane, Lane) { return Or(Equal(x, '='), Or(Equal(x, '\\'), Equal(x, '~'))); }) !=
        0) {
      return true;
    }
  }
  for (; i < len; ++i) {
    if (s[i] > 0x7F || s[i] == '=' || s[i] == '\\' || s[i] == '~') return true;
  }
  return false;
}

// Where the run of Base64 characters from start ends (its first other byte, or the end).
[[gnu::always_inline]] inline int Base64RunEnd(const unsigned char* s, int len, int start) {
  using namespace byte_lanes;
  int k = start;
  for (; len - k >= 16; k += 16) {
    const uint64_t base64 = SpanMask<16>(s + k, [](Lane x) {
      return Or(Or(InRange(x, 'A', 'Z'), InRange(x, 'a', 'z')),
                Or(InRange(x, '0', '9'), Or(Equal(x, '+'), Equal(x, '/'))));
    });
    if (base64 != 0xFFFF) return k + LowestBit(~base64);
  }
  while (k < len && Base64CharValue(s[k]) >= 0) ++k;
  return k;
}

// How many of the UTF-16 units of a run of Base64 characters (run, chars long) have a CP932 code.
// Eight characters are three whole units; the last eight are taken whole too (a character past the
// run as 0, without reading it), and only the units inside the run are counted.
[[gnu::always_inline]] inline int CountCodedUnits(const unsigned char* run, int chars, const uint8_t* hasCode) {
  int units = chars * 6 / 16;
  int coded = 0;
  for (int at = 0; units > 0; units -= 3, at += 8) {
    uint64_t bits = 0;
#pragma GCC unroll 8
    for (int k = at; k < at + 8; ++k) {
      const int value = Base64CharValue(run[k < chars ? k : 0]) & 0x3F;
      bits = (bits << 6) | static_cast<uint64_t>(k < chars ? value : 0);
    }
    coded += hasCode[(bits >> 32) & 0xFFFF] + (hasCode[(bits >> 16) & 0xFFFF] & (units > 1)) +
             (hasCode[bits & 0xFFFF] & (units > 2));
  }
  return coded;
}

#if defined(__SSE2__)
// Sixteen characters of Base64 text at p: how many of them from the first are Base64 (16 when all
// are), and for each of the six UTF-16 units they hold (bit j for unit j) whether it has a CP932
// code. The characters are valued and packed 16 at a time, and every unit looked up whatever the
// characters, so that nothing branches on the run's length.
[[gnu::always_inline]] inline int Base64Chunk(const unsigned char* p, const uint8_t* hasCode, unsigned& coded) {
  using namespace byte_lanes;
  const __m128i x = Load(p);
  const __m128i upper = InRange(x, 'A', 'Z'), lower = InRange(x, 'a', 'z'), digit = InRange(x, '0', '9');
  const __m128i plus = Equal(x, '+'), slash = Equal(x, '/');
  const __m128i valid = Or(Or(upper, lower), Or(digit, Or(plus, slash)));
  // Each character plus the distance from it to its value.
  const __m128i offset = Or(Or(And(upper, _mm_set1_epi8(-'A')), And(lower, _mm_set1_epi8(26 - 'a'))),
                            Or(And(digit, _mm_set1_epi8(52 - '0')),
                               Or(And(plus, _mm_set1_epi8(62 - '+')), And(slash, _mm_set1_epi8(63 - '/')))));
  const __m128i v = And(_mm_add_epi8(x, offset), valid);
  // Two values to 12 bits in each 16-bit lane, two of those to 24 bits in each 32-bit lane.
  const __m128i w = Or(_mm_slli_epi16(And(v, _mm_set1_epi16(0xFF)), 6), _mm_srli_epi16(v, 8));
  const __m128i g = Or(_mm_slli_epi32(And(w, _mm_set1_epi32(0xFFFF)), 12), _mm_srli_epi32(w, 16));
  const uint64_t g01 = static_cast<uint64_t>(_mm_cvtsi128_si64(g));
  const uint64_t g23 = static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_srli_si128(g, 8)));
  const uint32_t g0 = static_cast<uint32_t>(g01), g1 = static_cast<uint32_t>(g01 >> 32);
  const uint32_t g2 = static_cast<uint32_t>(g23), g3 = static_cast<uint32_t>(g23 >> 32);
  coded = hasCode[g0 >> 8] | hasCode[((g0 & 0xFF) << 8) | (g1 >> 16)] << 1 | hasCode[g1 & 0xFFFF] << 2 |
          hasCode[g2 >> 8] << 3 | hasCode[((g2 & 0xFF) << 8) | (g3 >> 16)] << 4 | hasCode[g3 & 0xFFFF] << 5;
  return LowestBit(~Bits(valid) & 0x1FFFF);
}

// How many of the six bits of a chunk's units are set.
inline int CountUnits(unsigned six) {
  static constexpr uint8_t kCount[64] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4, 1, 2, 2, 3, 2, 3,
                                         3, 4, 2, 3, 3, 4, 3, 4, 4, 5, 1, 2, 2, 3, 2, 3, 3, 4, 2, 3, 3, 4,
                                         3, 4, 4, 5, 2, 3, 3, 4, 3, 4, 4, 5, 3, 4, 4, 5, 4, 5, 5, 6};
  return kCount[six & 0x3F];
}

// The run of Base64 characters at s + start, 16 characters (six units) at a time while 16 bytes
// are there to read: returns where it ends and gives how many of its units have a CP932 code.
[[gnu::always_inline]] inline int Base64RunByChunks(const unsigned char* s, int len, int start, const uint8_t* hasCode,
                                                    int& coded) {
  coded = 0;
  int at = start;
  for (; len - at >= 16; at += 16) {
    unsigned ok;
    const int n = Base64Chunk(s + at, hasCode, ok);
    if (n < 16) {
      // The units wholly inside the run.
      coded += CountUnits(ok & ((1u << (n * 6 / 16)) - 1));
      return at + n;
    }
    coded += CountUnits(ok);
  }
  const int end = Base64RunEnd(s, len, at);
  coded += CountCodedUnits(s + at, end - at, hasCode);
  return end;
}
#endif

int Utf7Score(const unsigned char* s, int len) {
  // Every byte is outside a run, inside one (Base64 only) or the byte that ended one, and each of
  // those is tested: one byte that UTF-7 never holds, wherever it stands, makes the score 0.
  if (HasNonUtf7Byte(s, len)) return 0;
  const uint8_t* hasCode = Tables().utf7Unit;
  int good = 0;
  int bad = 0;
  // The run that starts at the '+' at i (if one does); returns where the scan goes on.
  const auto run = [&](int i) {
    if (len - i < 3) return i + 1;
    if (s[i + 1] == '-') return i + 2;
    if (Base64CharValue(s[i + 1]) < 0) return i + 1;
    // Only a run closed by '-' of at least three characters and an even number of bytes (what
    // Base64DecodeInPlace gives for it) counts. It is decoded whatever its parity, which half the
    // runs have of either kind, and counted by it.
    const int start = i + 1;
    int coded;
#if defined(__SSE2__)
    const int end = Base64RunByChunks(s, len, start, hasCode, coded);
#else
    const int end = Base64RunEnd(s, len, start);
    coded = CountCodedUnits(s + start, end - start, hasCode);
#endif
    const int runLen = end - start;
    const int counts = (end < len && s[end] == '-') & (runLen >= 3) & ((runLen * 6 / 8) % 2 == 0);
    good += counts * coded;
    bad += counts * (runLen * 6 / 16 - coded);
    return end < len ? end + 1 : end;
  };
  // Runs start at '+'; the bytes between them count for nothing. The loop is written out here
  // (rather than through ForEachByte) so that the counts stay in registers.
  using namespace byte_lanes;
  int next = 0;
  int i = 0;
  for (; len - i >= kBlockBytes + 2; i += kBlockBytes) {
    if (next >= i + kBlockBytes) continue;
    for (uint64_t m = SpanMask<kBlockBytes>(s + i, [](Lane x) { return Equal(x, '+'); }); m; m &= m - 1) {
      const int at = i + LowestBit(m);
      if (at >= next) next = run(at);
    }
  }
  for (int at = next > i ? next : i; at < len;) at = s[at] == '+' ? run(at) : at + 1;
  return bad > good / 2 ? 0 : good;
}

}  // namespace

CodeScores ScoreCodes(const unsigned char* s, int len) {
  const ByteScores bytes = ScoreBytes(s, len);
  CodeScores scores;
  scores.euc = bytes.euc;
  scores.sjis = bytes.sjis;
  scores.utf8 = bytes.utf8;
  scores.jis = JisScore(s, len);
  scores.utf7 = Utf7Score(s, len);
  return scores;
}

int CMemory::DetectCode(const char* pData, int nDataLen) {
  if (!pData || nDataLen <= 0) return kCodeSjis;
  if (const int bom = DetectBom(pData, nDataLen); bom != kCodeSjis) return bom;
  const CodeScores s = ScoreCodes(reinterpret_cast<const unsigned char*>(pData), nDataLen);
  const struct {
    int code;
    int score;
  } order[] = {{kCodeEuc, s.euc}, {kCodeUtf7, s.utf7}, {kCodeUtf8, s.utf8}, {kCodeJis, s.jis}};
  const int all[] = {s.euc, s.sjis, s.jis, s.utf8, s.utf7};
  const int best = *std::max_element(std::begin(all), std::end(all));
  for (const auto& candidate : order) {
    if (candidate.score > 0 && candidate.score >= best) return candidate.code;
  }
  return kCodeSjis;
}

int CMemory::DetectFileCode(std::string_view path) {
  platform::ReadOnlyFile file;
  if (!file.Open(path, platform::PathMode::kExact)) return -1;
  platform::FileStamp stamp;
  if (!file.Stamp(stamp)) return -1;
  if (stamp.size == 0) return kCodeSjis;
  const size_t size = static_cast<size_t>(std::min<uint64_t>(stamp.size, kDetectFileBytes));
  std::vector<unsigned char> block(size + 1, 0);
  if (!file.ReadAt(0, std::span(block.data(), size))) return -1;
  return DetectCode(reinterpret_cast<const char*>(block.data()), static_cast<int>(size));
}

int CMemory::AutoToSJIS() {
  switch (DetectCode(m_pData, m_nLength)) {
    case kCodeJis:
      return JIStoSJIS(true);
    case kCodeEuc:
      return EUCtoSJIS();
    case kCodeUtf16Le:
      return UNICODEtoSJIS();
    case kCodeUtf8:
      return UTF8toSJIS();
    case kCodeUtf7:
      return UTF7toSJIS();
    case kCodeUtf16Be:
      return UNICODEBEtoSJIS();
    default:
      return 0;
  }
}
