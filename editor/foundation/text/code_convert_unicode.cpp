// Shift-JIS to and from UTF-16 (both byte orders), UTF-8 and UTF-7. Shift-JIS characters decode
// and encode through the CP932 tables of the platform layer; a character that has no counterpart
// becomes U+FFFD (towards Unicode) or the geta mark (towards Shift-JIS), and is counted.
#include <algorithm>
#include <cstring>
#include <string>

#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/code_writer.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_walk.h"
#include "platform/sjis.h"

namespace {

constexpr uint16_t kReplacement = 0xFFFD;

inline bool IsSurrogate(uint32_t u) { return u >= 0xD800 && u <= 0xDFFF; }

inline char* PutUtf8(char* w, uint32_t u) {
  if (u < 0x80) {
    *w++ = static_cast<char>(u);
  } else if (u < 0x800) {
    *w++ = static_cast<char>(0xC0 | (u >> 6));
    *w++ = static_cast<char>(0x80 | (u & 0x3F));
  } else {
    *w++ = static_cast<char>(0xE0 | (u >> 12));
    *w++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    *w++ = static_cast<char>(0x80 | (u & 0x3F));
  }
  return w;
}

inline char* PutGeta(char* w) {
  *w++ = static_cast<char>(kGetaLead);
  *w++ = static_cast<char>(kGetaTrail);
  return w;
}

// Tables of the walks from Shift-JIS to Unicode (sjis_walk.h): pairs that are characters of CP932,
// and each code's UTF-8 bytes and UTF-16LE unit (U+FFFD, counted, for a code that decodes to
// nothing).
struct SjisUnicodeTables {
  CodeFlags validPair;
  uint32_t utf8[0x10000];
  uint32_t utf16[0x10000];  // the unit, low byte first

  SjisUnicodeTables() {
    const uint16_t* dec = platform::SjisDecodeTable().data();
    for (unsigned code = 0; code < 0x10000; ++code) {
      if (IsSjisLeadByte(code >> 8) && IsSjisTrailByte(code & 0xFF) && dec[code] != kReplacement) validPair.Set(code);
      char bytes[4] = {};
      const int n = static_cast<int>(PutUtf8(bytes, dec[code]) - bytes);
      utf8[code] = PackOutput(reinterpret_cast<const unsigned char*>(bytes), n, dec[code] == kReplacement);
      const unsigned char unit[2] = {static_cast<unsigned char>(dec[code] & 0xFF),
                                     static_cast<unsigned char>(dec[code] >> 8)};
      utf16[code] = PackOutput(unit, 2, dec[code] == kReplacement);
      if (code > 0xFF && IsSjisLeadByte(code >> 8) && IsSjisTrailByte(code & 0xFF) && !validPair[code]) {
        // Read as its lead byte alone, then the next byte.
        utf8[code] |= kPackedByStep;
        utf16[code] |= kPackedByStep;
      }
    }
  }
};

// Each BMP code point's Shift-JIS output, packed (sjis_walk.h): its one or two bytes, or the geta
// mark counted where CP932 has no code (U+0000 is the byte 0).
struct UnicodeSjisTables {
  uint32_t sjis[0x10000];
  unsigned noCodeUnit = 0xFFFF;  // a unit without a code, whose entry stands for any character without one

  UnicodeSjisTables() {
    const uint16_t* enc = platform::SjisEncodeTable().data();
    for (unsigned u = 0; u < 0x10000; ++u) {
      unsigned code = enc[u];
      const bool none = code == 0 && u != 0;
      if (none) {
        code = (kGetaLead << 8) | kGetaTrail;
        noCodeUnit = u;
      }
      const unsigned char bytes[2] = {static_cast<unsigned char>(code > 0xFF ? code >> 8 : code),
                                      static_cast<unsigned char>(code)};
      sjis[u] = PackOutput(bytes, code > 0xFF ? 2 : 1, none);
    }
  }

  // Writes the unit's bytes (two bytes of room) and counts it when it has no code.
  char* Put(char* w, unsigned u, int& unconverted) const {
    const uint32_t out = sjis[u];
    std::memcpy(w, &out, 2);
    unconverted += static_cast<int>(out >> 31);
    return w + ((out >> 24) & 7);
  }
};

// The surrogate at unit i (of units, read by get(i)) and the low surrogate after a high one are one
// character, which CP932 lacks: one geta mark. Returns the index of the unit after them.
template <typename Get>
int SurrogateToGeta(Get get, int i, int units, char*& w, int& unconverted) {
  const uint16_t u = get(i);
  if (u <= 0xDBFF && i + 1 < units && get(i + 1) >= 0xDC00 && get(i + 1) <= 0xDFFF) ++i;
  w = PutGeta(w);
  ++unconverted;
  return i + 1;
}

// UTF-16 units (read by get(i)) to Shift-JIS: a unit or a surrogate pair without a CP932 code is
// one geta mark. w must have room for 2 bytes per unit.
template <typename Get>
char* UnitsToSjis(Get get, int units, char* w, int& unconverted) {
  const UnicodeSjisTables& t = BuiltOnce<UnicodeSjisTables>();
  int i = 0;
  while (i < units) {
    const uint16_t u = get(i);
    if (IsSurrogate(u)) {
      i = SurrogateToGeta(get, i, units, w, unconverted);
      continue;
    }
    w = t.Put(w, u, unconverted);
    ++i;
  }
  return w;
}

inline uint16_t LoadLe(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Shift-JIS to UTF-16 units, handed one by one to put(unit); returns the unconverted count.
template <typename Put>
int SjisToUnits(const unsigned char* s, int len, Put put) {
  const uint16_t* dec = platform::SjisDecodeTable().data();
  int unconverted = 0;
  int i = 0;
  while (i < len) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      put(c);
      ++i;
      continue;
    }
    if (i + 1 < len && IsSjisLeadByte(c) && IsSjisTrailByte(s[i + 1])) {
      const uint16_t u = dec[(c << 8) | s[i + 1]];
      if (u != kReplacement) {
        put(u);
        i += 2;
        continue;
      }
    }
    // A single byte (half-width katakana), or one that starts no character: then only that byte
    // is replaced and the next one is read on its own.
    const uint16_t u = dec[c];
    if (u == kReplacement) ++unconverted;
    put(u);
    ++i;
  }
  return unconverted;
}

}  // namespace

int CMemory::SJIStoUNICODE() {
  const auto body = [](const unsigned char* s, int len, char* w, int& unconverted) {
    const SjisUnicodeTables& t = BuiltOnce<SjisUnicodeTables>();
    return WalkSjisPacked<2>(s, len, w, unconverted, t.validPair, t.utf16);
  };
  // Two bytes for each byte read, and an eight-byte ASCII step writes sixteen.
  return CodeWriter::Convert(*this, static_cast<int64_t>(m_nLength) + 16, body);
}

int CMemory::SJIStoUNICODEBE() {
  const int unconverted = SJIStoUNICODE();
  SwapByteOrder();
  return unconverted;
}

int CMemory::UNICODEtoSJIS() {
  const auto body = [](const unsigned char* s, int len, char* w, int& unconverted) {
    const int units = len / 2;
    int count = len % 2;  // an odd last byte is no character: dropped
    const UnicodeSjisTables& t = BuiltOnce<UnicodeSjisTables>();
    int i = 0;
    while (i < units) {
      if (i + 4 <= units) {
        uint64_t v;
        std::memcpy(&v, s + 2 * i, 8);
        if ((v & 0xFF80FF80FF80FF80ull) == 0) {  // four ASCII units
          w[0] = static_cast<char>(v);
          w[1] = static_cast<char>(v >> 16);
          w[2] = static_cast<char>(v >> 32);
          w[3] = static_cast<char>(v >> 48);
          w += 4;
          i += 4;
          continue;
        }
      }
      const uint16_t u = LoadLe(s + 2 * i);
      if (IsSurrogate(u)) {
        // Copies for the call, so that the output pointer and the count stay in registers.
        char* out = w;
        int counted = 0;
        i = SurrogateToGeta([s](int k) { return LoadLe(s + 2 * k); }, i, units, out, counted);
        w = out;
        count += counted;
        continue;
      }
      w = t.Put(w, u, count);
      ++i;
    }
    unconverted += count;
    return w;
  };
  return CodeWriter::Convert(*this, 0, body);  // one or two bytes for two: in place
}

int CMemory::UNICODEBEtoSJIS() {
  SwapByteOrder();
  return UNICODEtoSJIS();
}

void CMemory::SwapByteOrder() {
  if (!m_pData) return;
  for (int i = 0; i + 1 < m_nLength; i += 2) std::swap(m_pData[i], m_pData[i + 1]);
}

int CMemory::SJIStoUTF8() {
  const auto body = [](const unsigned char* s, int len, char* w, int& unconverted) {
    const SjisUnicodeTables& t = BuiltOnce<SjisUnicodeTables>();
    return WalkSjisPacked(s, len, w, unconverted, t.validPair, t.utf8);
  };
  // Up to three bytes for each byte read, and each step writes four (an eight-byte ASCII step eight).
  return CodeWriter::Convert(*this, static_cast<int64_t>(m_nLength) * 2 + 16, body);
}

namespace {

inline bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// One UTF-8 character at i written in Shift-JIS; returns its size. A sequence of three, two or
// four bytes is one character (three and two bytes when they hold a BMP code point of their own
// length); any other byte alone is one, a geta mark.
int Utf8CharToSjis(const UnicodeSjisTables& t, const unsigned char* s, int len, int i, char*& w, int& unconverted) {
  const unsigned char c = s[i];
  uint32_t cp = 0xFFFFFFFF;  // nothing CP932 encodes
  int size = 1;
  if (c < 0x80) {
    cp = c;
  } else if ((c & 0xF0) == 0xE0 && i + 2 < len && IsContinuation(s[i + 1]) && IsContinuation(s[i + 2])) {
    size = 3;
    const uint32_t v = ((c & 0x0Fu) << 12) | ((s[i + 1] & 0x3Fu) << 6) | (s[i + 2] & 0x3Fu);
    if (v >= 0x800 && !IsSurrogate(v)) cp = v;  // else an overlong form or an encoded surrogate
  } else if ((c & 0xE0) == 0xC0 && i + 1 < len && IsContinuation(s[i + 1])) {
    size = 2;
    if (c >= 0xC2) cp = ((c & 0x1Fu) << 6) | (s[i + 1] & 0x3Fu);  // C0 and C1 start overlong forms
  } else if ((c & 0xF8) == 0xF0 && i + 3 < len && IsContinuation(s[i + 1]) && IsContinuation(s[i + 2]) &&
             IsContinuation(s[i + 3])) {
    size = 4;  // beyond the BMP, or malformed: either way no CP932 code
  }
  if (cp < 0x10000) {
    w = t.Put(w, cp, unconverted);
  } else {
    w = PutGeta(w);
    ++unconverted;
  }
  return size;
}

}  // namespace

int CMemory::UTF8toSJIS() {
  // A byte that starts no sequence becomes a two-byte geta mark: up to two bytes for each byte read,
  // and an ASCII block is written 64 bytes at a time.
  return CodeWriter::Convert(
      *this, static_cast<int64_t>(m_nLength) + 16, [](const unsigned char* s, int len, char* w, int& unconverted) {
        using namespace byte_lanes;
        const UnicodeSjisTables& t = BuiltOnce<UnicodeSjisTables>();
        // The output pointer and the count stay in registers: calls get copies of them.
        int count = 0;
        const auto byChar = [&t, s, len](int at, char*& out, int& counted) {
          char* o = out;
          int c = 0;
          at += Utf8CharToSjis(t, s, len, at, o, c);
          out = o;
          counted += c;
          return at;
        };
        // Japanese text is ASCII and three-byte sequences. A lead byte is never inside another
        // sequence (those hold continuation bytes only), so in a block of those alone the
        // characters start at every byte not inside a three-byte sequence, and each is one or the
        // other. From the first character of another kind the block goes one character at a time.
        int carry = 0;  // bytes at the block's start inside a character begun before it (0-3)
        int i = 0;
        // Each block looks at the three bytes after it.
        for (; len - i >= kBlockBytes + 3; i += kBlockBytes) {
          const unsigned char* p = s + i;
          if (carry == 0 && !BlockHasHighByte(p)) {
            CopyBlock(p, w);
            w += kBlockBytes;
            continue;
          }
          // Three-byte sequences of a BMP code point of their own length: E0 80-9F would be
          // overlong, ED A0-BF a surrogate.
          const uint64_t three = BlockMask(p, [](Lane x, Lane y, Lane z) {
            const Lane cont = And(InRange(y, 0x80, 0xBF), InRange(z, 0x80, 0xBF));
            const Lane bad =
                Or(And(Equal(x, 0xE0), InRange(y, 0x80, 0x9F)), And(Equal(x, 0xED), InRange(y, 0xA0, 0xBF)));
            return AndNot(And(InRange(x, 0xE0, 0xEF), cont), bad);
          });
          const uint64_t ascii = ~BlockMask(p, [](Lane x, Lane, Lane) { return InRange(x, 0x80, 0xFF); });
          // The characters whose output is one byte (OutputBytes): ASCII, U+203E (E2 80 BE) and
          // the half-width katakana U+FF61-U+FF9F (EF BD A1-BF, EF BE 80-9F). Where each output
          // goes then follows from the masks, not from the bytes just read.
          const uint64_t one = ascii | BlockMask(p, [](Lane x, Lane y, Lane z) {
                                 const Lane halfwidth =
                                     And(Equal(x, 0xEF), Or(And(Equal(y, 0xBD), InRange(z, 0xA1, 0xBF)),
                                                            And(Equal(y, 0xBE), InRange(z, 0x80, 0x9F))));
                                 return Or(halfwidth, And(And(Equal(x, 0xE2), Equal(y, 0x80)), Equal(z, 0xBE)));
                               });
          const uint64_t taken = (uint64_t{1} << carry) - 1;
          uint64_t starts = ~((three << 1) | (three << 2) | taken);
          const uint64_t other = starts & ~(three | ascii);
          carry = static_cast<int>(2 * (three >> 63) + ((three >> 62) & 1));
          if (other) starts &= (other & (0 - other)) - 1;  // up to the first character of another kind
          for (; starts; starts &= starts - 1) {
            const int k = LowestBit(starts);
            uint32_t v;
            std::memcpy(&v, p + k, 4);
            const unsigned u3 = ((v & 0x0F) << 12) | ((v & 0x3F00) >> 2) | ((v >> 16) & 0x3F);
            const uint32_t out = t.sjis[Select((three >> k) & 1, u3, v & 0xFF)];
            std::memcpy(w, &out, 2);
            count += static_cast<int>(out >> 31);
            w += 2 - ((one >> k) & 1);
          }
          if (other) {
            int at = i + LowestBit(other);
            while (at < i + kBlockBytes) at = byChar(at, w, count);
            carry = at - (i + kBlockBytes);
          }
        }
        for (int at = i + carry; at < len;) at = byChar(at, w, count);
        unconverted += count;
        return w;
      });
}

int CMemory::UNICODEtoUTF8() {
  const auto body = [](const unsigned char* s, int len, char* w, int& unconverted) {
    unconverted += len % 2;
    // Surrogates are written one by one, as the units stand.
    for (int i = 0; i < len / 2; ++i) w = PutUtf8(w, LoadLe(s + 2 * i));
    return w;
  };
  // Up to three bytes for each unit of two.
  return CodeWriter::Convert(*this, static_cast<int64_t>(m_nLength / 2) + 8, body);
}

int CMemory::SJIStoUTF7() {
  const int unconverted = SJIStoUNICODE();
  return unconverted + UNICODEtoUTF7();
}

int CMemory::UNICODEtoUTF7() {
  // A run of n units gives 2 + ceil(8n / 3) bytes for its 2n, and runs are parted by direct
  // characters, one byte for two: the output stays less than the input's length ahead.
  return CodeWriter::Convert(
      *this, static_cast<int64_t>(m_nLength) + 8, [](const unsigned char* s, int len, char* w, int& unconverted) {
        static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        unconverted += len % 2;
        const int units = len / 2;
        int i = 0;
        while (i < units) {
          const uint16_t u = LoadLe(s + 2 * i);
          if (IsUtf7DirectChar(u)) {
            *w++ = static_cast<char>(u);
            ++i;
            continue;
          }
          if (u == '+') {
            *w++ = '+';
            *w++ = '-';
            ++i;
            continue;
          }
          // A run up to the next direct character: Base64 of its big-endian units, without padding
          // or line breaks, and a '-' always.
          *w++ = '+';
          uint32_t bits = 0;  // only the low nbits + 6 bits matter
          int nbits = 0;
          for (; i < units; ++i) {
            const uint16_t v = LoadLe(s + 2 * i);
            if (IsUtf7DirectChar(v)) break;
            bits = (bits << 16) | v;
            nbits += 16;
            while (nbits >= 6) {
              nbits -= 6;
              *w++ = kAlphabet[(bits >> nbits) & 0x3F];
            }
          }
          if (nbits > 0) *w++ = kAlphabet[(bits << (6 - nbits)) & 0x3F];
          *w++ = '-';
        }
        return w;
      });
}

int CMemory::UTF7toSJIS() {
  // Every form gives at most the bytes it takes: written in place.
  return CodeWriter::Convert(*this, 0, [](const unsigned char* s, int len, char* w, int& unconverted) {
    std::string run;
    int i = 0;
    while (i < len) {
      if (s[i] == '+' && i + 1 < len && s[i + 1] == '-') {
        *w++ = '+';
        i += 2;
        continue;
      }
      if (s[i] == '+' && len - i >= 3 && Base64CharValue(s[i + 1]) >= 0) {
        int end = i + 1;
        while (end < len && Base64CharValue(s[end]) >= 0) ++end;
        const int runLen = end - (i + 1);
        const int copyEnd = end < len ? end + 1 : end;  // the run and the byte that ended it
        if (runLen >= 3) {
          run.assign(reinterpret_cast<const char*>(s + i + 1), runLen);
          const int bytes = Base64DecodeInPlace(run.data(), runLen);
          if (bytes % 2 == 0) {
            const auto* b = reinterpret_cast<const unsigned char*>(run.data());
            w = UnitsToSjis([b](int k) { return static_cast<uint16_t>((b[2 * k] << 8) | b[2 * k + 1]); }, bytes / 2, w,
                            unconverted);
            i = end < len && s[end] == '-' ? end + 1 : end;
            continue;
          }
        }
        std::memmove(w, s + i, copyEnd - i);
        w += copyEnd - i;
        i = copyEnd;
        continue;
      }
      *w++ = static_cast<char>(s[i]);
      ++i;
    }
    return w;
  });
}
