// Half width and full width. The one-byte and double-byte forms of a character come from the
// platform's code page 932 tables (platform/sjis_width.h); the kana rules around them are here.
//
// The text goes 64 bytes at a time, its character starts found from the block's masks (as in the
// code conversions, sjis_walk.h). Widening changes most characters and takes each one's output from
// a table indexed by its code, without a branch on its kind; narrowing changes only the few with
// lead bytes 0x81-0x84 and copies the text between them. What depends on a neighbour goes one
// character at a time: a half-width kana that a sound mark may follow, and the kana stretches that
// carry the marks when only kana are narrowed.
#include <array>
#include <cstdint>
#include <cstring>

#include "editor/foundation/text/byte_blocks.h"
#include "editor/foundation/text/code_writer.h"
#include "editor/foundation/text/forward_copy.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_walk.h"
#include "platform/sjis_literal.h"
#include "platform/sjis_width.h"

namespace {

constexpr unsigned char kVoicedMark = 0xDE;      // ﾞ
constexpr unsigned char kSemiVoicedMark = 0xDF;  // ﾟ
constexpr uint16_t kWideVu = 0x8394;             // ヴ

inline bool IsKatakana(unsigned code) { return code >= 0x8340 && code <= 0x8396; }
inline bool IsHiragana(unsigned code) { return code >= 0x829F && code <= 0x82F1; }
// The sound marks and the long-vowel mark, which belong to the kana before them.
inline bool IsKanaMark(unsigned code) { return code == 0x814A || code == 0x814B || code == 0x815B; }
inline bool IsWideAlnum(unsigned code) {
  return (code >= 0x824F && code <= 0x8258) || (code >= 0x8260 && code <= 0x8279) || (code >= 0x8281 && code <= 0x829A);
}

// Katakana and hiragana lie in the same order a row apart, with a gap at 0x7F in the katakana.
inline unsigned KatakanaToHiragana(unsigned code) {
  if (code >= 0x8340 && code <= 0x837E) return code - 0xA1;
  if (code >= 0x8380 && code <= 0x8393) return code - 0xA2;
  return code;
}
inline unsigned HiraganaToKatakana(unsigned code) {
  if (code >= 0x829F && code <= 0x82DD) return code + 0xA1;
  if (code >= 0x82DE && code <= 0x82F1) return code + 0xA2;
  return code;
}

inline void PutCode(char*& w, unsigned code) {
  if (code > 0xFF) *w++ = static_cast<char>(code >> 8);
  *w++ = static_cast<char>(code);
}

inline uint32_t PackCode(unsigned code) {
  const unsigned char bytes[2] = {static_cast<unsigned char>(code > 0xFF ? code >> 8 : code),
                                  static_cast<unsigned char>(code)};
  return PackOutput(bytes, code > 0xFF ? 2 : 1, false);
}

// The lead and trail byte pairs that are one character: every one (the stepping rules of the
// editor's text, sjis_char.h).
struct SjisPairs {
  CodeFlags flags;
  SjisPairs() {
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsSjisLeadByte(static_cast<unsigned char>(lead))) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (IsSjisTrailByte(static_cast<unsigned char>(trail))) flags.Set(lead << 8 | trail);
      }
    }
  }
};

// ---- half width to full width

struct FullWidthRule {
  int kind;
  bool halfKanaOnly;

  // Whether the one-byte character c is widened.
  bool Widens(unsigned char c) const {
    if (IsHalfwidthKana(c)) return kind != CMemory::FULLWIDTH_ALNUM;
    return !halfKanaOnly && c >= 0x20 && c <= 0x7E;
  }
  // What the sound mark after the one-byte character c adds to its wide code (0: the mark is a
  // character of its own).
  int MarkAdds(unsigned char c, unsigned char mark) const {
    if (kind == CMemory::FULLWIDTH_ALNUM) return 0;
    const bool voicable = (c >= 0xB6 && c <= 0xC4) || (c >= 0xCA && c <= 0xCE);  // ｶ-ﾄ, ﾊ-ﾎ
    if (mark == kVoicedMark && voicable) return 1;
    if (mark == kSemiVoicedMark && c >= 0xCA && c <= 0xCE) return 2;
    return 0;
  }
  bool MayTakeMark(unsigned char c) const {
    return Widens(c) && (MarkAdds(c, kVoicedMark) || MarkAdds(c, kSemiVoicedMark) || (c == 0xB3 && kind == 0));
  }
  unsigned KanaOut(unsigned code) const { return kind == CMemory::FULLWIDTH_HIRAGANA ? KatakanaToHiragana(code) : code; }
  // A double-byte character of the input.
  unsigned Wide(unsigned code) const {
    if (halfKanaOnly) return code;
    if (kind == CMemory::FULLWIDTH_HIRAGANA) return KatakanaToHiragana(code);
    if (kind == CMemory::FULLWIDTH_KATAKANA) return HiraganaToKatakana(code);
    return code;
  }

  // The character at s[at]; returns its size (with a sound mark it took).
  int Step(const unsigned char* s, int len, int at, char*& w) const {
    const int size = SjisCharSize(s, len, at);
    if (size == 2) {
      PutCode(w, Wide(static_cast<unsigned>(s[at] << 8 | s[at + 1])));
      return 2;
    }
    const unsigned char c = s[at];
    if (!Widens(c)) {
      *w++ = static_cast<char>(c);
      return 1;
    }
    const unsigned char next = at + 1 < len ? s[at + 1] : 0;
    if (kind == CMemory::FULLWIDTH_KATAKANA && c == 0xB3 && next == kVoicedMark) {
      PutCode(w, kWideVu);
      return 2;
    }
    const int adds = MarkAdds(c, next);
    PutCode(w, KanaOut(platform::SjisToFullWidth(c) + adds));
    return adds ? 2 : 1;
  }
};

struct FullWidthTable {
  std::array<uint32_t, 0x10000> packed{};
  explicit FullWidthTable(const FullWidthRule& rule, const CodeFlags& pairs) {
    for (unsigned c = 0; c < 0x100; ++c) {
      const auto b = static_cast<unsigned char>(c);
      if (rule.MayTakeMark(b)) {
        packed[c] = kPackedByStep;
      } else {
        packed[c] = PackCode(rule.Widens(b) ? rule.KanaOut(platform::SjisToFullWidth(b)) : c);
      }
    }
    for (unsigned code = 0x100; code < 0x10000; ++code) {
      if (pairs[code]) packed[code] = PackCode(rule.Wide(code));
    }
  }
};

// Text through a table of packed outputs, 64 bytes at a time; a code flagged kPackedByStep goes
// through the rule's own step, which may take the character after it too. Each character writes
// four bytes: the output needs that room beyond what it keeps.
char* WalkFullWidth(const unsigned char* s, int len, char* w, const FullWidthRule& rule, const uint32_t* packed) {
  using namespace byte_lanes;
  int carry = 0;  // bytes at the block's start that belong to a character begun before it (0-1)
  int i = 0;
  for (; len - i >= kBlockBytes + 2; i += kBlockBytes) {
    const unsigned char* p = s + i;
    if (rule.halfKanaOnly && carry == 0 && !BlockHasHighByte(p)) {
      CopyBlock(p, w);
      w += kBlockBytes;
      continue;
    }
    const uint64_t taken = (uint64_t{1} << carry) - 1;
    const uint64_t pairs = PairStarts(BlockMask(p, [](Lane x, Lane y, Lane) { return SjisPairable(x, y); }) & ~taken);
    uint64_t starts = ~((pairs << 1) | taken);
    carry = static_cast<int>(pairs >> 63);
    while (starts) {
      const int k = LowestBit(starts);
      starts &= starts - 1;
      const uint32_t out = packed[Select((pairs >> k) & 1, (p[k] << 8) | p[k + 1], p[k])];
      if (out & kPackedByStep) [[unlikely]] {
        const int next = k + rule.Step(s, len, i + k, w);
        if (next >= kBlockBytes) {
          carry = next - kBlockBytes;
          break;
        }
        starts &= ~uint64_t{0} << next;
        continue;
      }
      std::memcpy(w, &out, 4);
      w += (out >> 24) & 7;
    }
  }
  for (int at = i + carry; at < len;) at += rule.Step(s, len, at, w);
  return w;
}

// ---- full width to half width

// The voiced and semi-voiced kana, which narrow to their base and a sound mark.
struct SoundMarks {
  CodeFlags voiced, semiVoiced;
  SoundMarks() {
    const auto mark = [](CodeFlags& flags, const char* text) {
      for (; text[0] && text[1]; text += 2) flags.Set(static_cast<unsigned char>(text[0]) << 8 | static_cast<unsigned char>(text[1]));
    };
    mark(voiced, "がぎぐげござじずぜぞだぢづでどばびぶべぼガギグゲゴザジズゼゾダヂヅデドバビブベボヴ"_sj);
    mark(semiVoiced, "ぱぴぷぺぽパピプペポ"_sj);
  }
};

// A double-byte character that is to narrow: its one-byte form and sound mark, or itself.
void PutNarrow(char*& w, unsigned code, const SoundMarks& marks) {
  const unsigned narrow = platform::SjisToHalfWidth(static_cast<uint16_t>(code));
  PutCode(w, narrow);
  if (narrow == code) return;
  if (marks.voiced[code]) *w++ = static_cast<char>(kVoicedMark);
  if (marks.semiVoiced[code]) *w++ = static_cast<char>(kSemiVoicedMark);
}

// One character after another, for the flags whose candidates depend on the characters before.
char* NarrowByStretch(const unsigned char* s, int len, char* w, int flags, const SoundMarks& marks) {
  bool inKana = false;  // inside a run of the kana being narrowed and their marks
  for (int at = 0; at < len;) {
    const int size = SjisCharSize(s, len, at);
    if (size == 1) {
      *w++ = static_cast<char>(s[at++]);
      inKana = false;
      continue;
    }
    const unsigned code = static_cast<unsigned>(s[at] << 8 | s[at + 1]);
    at += 2;
    bool candidate = (flags & CMemory::HALFWIDTH_ALNUM) && IsWideAlnum(code);
    if (((flags & CMemory::HALFWIDTH_KATAKANA) && IsKatakana(code)) ||
        ((flags & CMemory::HALFWIDTH_HIRAGANA) && IsHiragana(code))) {
      candidate = inKana = true;
    } else if (inKana && IsKanaMark(code)) {
      candidate = true;
    } else {
      inKana = false;
    }
    if (candidate) {
      PutNarrow(w, code, marks);
    } else {
      PutCode(w, code);
    }
  }
  return w;
}

// Where every character narrows or not by itself alone (every one, or the letters and digits).
struct HalfWidthTable {
  std::array<uint32_t, 0x10000> packed{};
  HalfWidthTable(bool alnumOnly, const CodeFlags& pairs, const SoundMarks& marks) {
    for (unsigned c = 0; c < 0x100; ++c) packed[c] = PackCode(c);
    for (unsigned code = 0x100; code < 0x10000; ++code) {
      if (!pairs[code]) continue;
      char bytes[2];
      char* w = bytes;
      if (!alnumOnly || IsWideAlnum(code)) {
        PutNarrow(w, code, marks);
      } else {
        PutCode(w, code);
      }
      packed[code] = PackOutput(reinterpret_cast<const unsigned char*>(bytes), static_cast<int>(w - bytes), false);
    }
  }
};

// Text through a half-width table. Only double-byte characters with lead bytes 0x81-0x84 (marks,
// letters, kana) have one-byte forms: the text between them is copied as it stands, and each of
// them goes through the table. The output is never longer than the input; lagged, it stays
// kForwardCopyLag bytes behind it and writes in whole pieces, else it writes only its own bytes.
template <bool kLagged>
char* WalkHalfWidth(const unsigned char* s, int len, char* w, const uint32_t* packed) {
  using namespace byte_lanes;
  const char* text = reinterpret_cast<const char*>(s);
  const char* end = text + len;
  int from = 0;  // the start of the text not yet copied
  const auto copy = [&](int to) {
    w = CopyForward(w, text + from, to - from, ForwardCopyEnd(kLagged, text + from, to - from, end));
  };
  const auto narrow = [&](int at) {
    copy(at);
    const uint32_t out = packed[s[at] << 8 | s[at + 1]];
    const int size = static_cast<int>((out >> 24) & 7);
    if constexpr (kLagged) {
      std::memcpy(w, &out, 4);
    } else {
      for (int k = 0; k < size; ++k) w[k] = static_cast<char>(out >> (8 * k));
    }
    w += size;
    from = at + 2;
  };
  int carry = 0;
  int i = 0;
  for (; len - i >= kBlockBytes + 2; i += kBlockBytes) {
    const unsigned char* p = s + i;
    if (carry == 0 && !BlockHasHighByte(p)) continue;
    const uint64_t taken = (uint64_t{1} << carry) - 1;
    const uint64_t pairs = PairStarts(BlockMask(p, [](Lane x, Lane y, Lane) { return SjisPairable(x, y); }) & ~taken);
    carry = static_cast<int>(pairs >> 63);
    const uint64_t marked = BlockMask(p, [](Lane x, Lane, Lane) { return InRange(x, 0x81, 0x84); }) & pairs;
    for (uint64_t b = marked; b; b &= b - 1) narrow(i + LowestBit(b));
  }
  for (int at = i + carry; at < len;) {
    const int size = SjisCharSize(s, len, at);
    if (size == 2 && s[at] <= 0x84) narrow(at);
    at += size;
  }
  copy(len);
  return w;
}

template <int kKind, bool kHalfKanaOnly>
struct FullWidthTableOf {
  FullWidthTable table{FullWidthRule{kKind, kHalfKanaOnly}, BuiltOnce<SjisPairs>().flags};
};
template <bool kAlnumOnly>
struct HalfWidthTableOf {
  HalfWidthTable table{kAlnumOnly, BuiltOnce<SjisPairs>().flags, BuiltOnce<SoundMarks>()};
};

template <int kKind>
const uint32_t* FullWidthPacked(bool halfKanaOnly) {
  return halfKanaOnly ? BuiltOnce<FullWidthTableOf<kKind, true>>().table.packed.data()
                      : BuiltOnce<FullWidthTableOf<kKind, false>>().table.packed.data();
}

}  // namespace

void CMemory::ToFullWidth(int nKind, bool bHalfKanaOnly) {
  // Any other kind widens the one-byte characters with their sound marks and moves no kana
  // between the syllabaries: every kind shares one table.
  constexpr int kOtherKind = FULLWIDTH_ALNUM + 1;
  if (nKind != FULLWIDTH_KATAKANA && nKind != FULLWIDTH_HIRAGANA && nKind != FULLWIDTH_ALNUM) nKind = kOtherKind;
  const FullWidthRule rule{nKind, bHalfKanaOnly};
  const uint32_t* packed = nKind == FULLWIDTH_KATAKANA   ? FullWidthPacked<FULLWIDTH_KATAKANA>(bHalfKanaOnly)
                           : nKind == FULLWIDTH_HIRAGANA ? FullWidthPacked<FULLWIDTH_HIRAGANA>(bHalfKanaOnly)
                           : nKind == FULLWIDTH_ALNUM    ? FullWidthPacked<FULLWIDTH_ALNUM>(bHalfKanaOnly)
                                                         : FullWidthPacked<kOtherKind>(bHalfKanaOnly);
  // Every byte becomes at most two, and a step writes four.
  CodeWriter::Convert(*this, static_cast<int64_t>(m_nLength) + 16, [&](const unsigned char* s, int len, char* w, int&) {
    return WalkFullWidth(s, len, w, rule, packed);
  });
}

void CMemory::ToHalfWidth(int nFlags) {
  // 0 takes every character; otherwise each known flag adds its candidates and an unknown one none.
  const bool every = nFlags == 0;
  nFlags &= HALFWIDTH_KATAKANA | HALFWIDTH_HIRAGANA | HALFWIDTH_ALNUM;
  if (!every && nFlags == 0) return;
  const SoundMarks& marks = BuiltOnce<SoundMarks>();
  // The output is never longer than the input: the lag is the only room it asks for.
  const int64_t ahead = RoomAhead(m_nLength, 0, kMaxDataLength);
  CodeWriter::Convert(*this, ahead, [&](const unsigned char* s, int len, char* w, int&) {
    if (every || nFlags == HALFWIDTH_ALNUM) {
      const uint32_t* packed = every ? BuiltOnce<HalfWidthTableOf<false>>().table.packed.data()
                                     : BuiltOnce<HalfWidthTableOf<true>>().table.packed.data();
      return ahead > 0 ? WalkHalfWidth<true>(s, len, w, packed) : WalkHalfWidth<false>(s, len, w, packed);
    }
    // One character at a time, each read before its output is written: it needs no lag.
    return NarrowByStretch(s, len, w, nFlags, marks);
  });
}
