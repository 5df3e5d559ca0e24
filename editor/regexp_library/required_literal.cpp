#include "editor/regexp_library/required_literal.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "editor/foundation/text/sjis_char.h"

namespace tovara_regexp {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// What is known of a part of a pattern.
struct Piece {
  bool fixed = false;  // every match of the part is exactly `text`
  std::string text;
  std::string required;  // the longest text inside every match of the part
};

void KeepLonger(std::string& best, const std::string& candidate) {
  if (candidate.size() > best.size()) best = candidate;
}

// A reading of the pattern that gives up, rather than guess, on whatever it does not know for
// certain. Only the parts whose meaning cannot hide a match are read; any other gives no literal.
class Parser {
 public:
  explicit Parser(std::string_view pattern) : m_p(pattern) {}

  std::string Run() {
    const Piece top = Alternation(0);
    if (m_failed || m_pos != m_p.size()) return std::string();
    return top.required;
  }

 private:
  // Deeper nesting than this is rare enough to give up on; it also bounds the recursion.
  static constexpr int kMaxDepth = 64;

  bool AtEnd() const { return m_pos >= m_p.size(); }
  char Peek(size_t ahead = 0) const { return m_pos + ahead < m_p.size() ? m_p[m_pos + ahead] : '\0'; }
  Piece Fail() {
    m_failed = true;
    return Piece();
  }
  static Piece Fixed(std::string_view text) {
    Piece piece;
    piece.fixed = true;
    piece.text = text;
    piece.required = text;
    return piece;
  }

  // Branches up to the closing parenthesis or the end. With more than one branch nothing is
  // required (the branches are read only to find the end).
  Piece Alternation(int depth) {
    if (depth > kMaxDepth) return Fail();
    Piece first = Sequence(depth);
    if (Peek() != '|') return first;
    while (!m_failed && Peek() == '|') {
      ++m_pos;
      Sequence(depth);
    }
    return Piece();
  }

  Piece Sequence(int depth) {
    Piece result;
    result.fixed = true;
    std::string run;  // the fixed parts since the last part that is not
    std::string best;
    while (!m_failed && !AtEnd() && Peek() != '|' && Peek() != ')') {
      Piece atom = Atom(depth);
      if (m_failed) break;
      Quantifiers(atom);
      if (atom.fixed) {
        run += atom.text;
      } else {
        KeepLonger(best, run);
        run.clear();
        KeepLonger(best, atom.required);
        result.fixed = false;
      }
    }
    KeepLonger(best, run);
    if (result.fixed) result.text = run;
    result.required = best;
    return result;
  }

  Piece Atom(int depth) {
    const auto c = static_cast<unsigned char>(Peek());
    switch (c) {
      case '(':
        return Group(depth);
      case '[':
        return Class();
      case '\\':
        return Escape();
      case '.':
      case '^':
      case '$':
      case ']':  // taken literally by the engine; nothing is lost by not saying so
      case '}':
        ++m_pos;
        return Piece();
      case '*':
      case '+':
      case '?':
      case '{':  // a quantifier with nothing before it, or braces taken literally
        return Fail();
      default:
        break;
    }
    if (IsSjisLeadByte(c)) {
      // The engine reads a lead byte and the byte after it as one character, whatever that byte is.
      if (m_pos + 1 >= m_p.size()) return Fail();
      m_pos += 2;
      return Fixed(m_p.substr(m_pos - 2, 2));
    }
    ++m_pos;
    return Fixed(m_p.substr(m_pos - 1, 1));
  }

  Piece Escape() {
    ++m_pos;
    if (AtEnd()) return Fail();
    const char e = Peek();
    if (IsSjisLeadByte(static_cast<unsigned char>(e))) return Fail();
    if (IsDigit(e)) {
      // A back-reference or an octal code: some text, not fixed. All the digits go with it.
      while (IsDigit(Peek())) ++m_pos;
      return Piece();
    }
    ++m_pos;
    if (std::strchr("dDwWsShHbBAzZGKRX", e)) return Piece();  // classes and assertions
    switch (e) {
      case 't':
        return Fixed("\t");
      case 'n':
        return Fixed("\n");
      case 'r':
        return Fixed("\r");
      case 'f':
        return Fixed("\f");
      default:
        break;
    }
    if (std::strchr(".*+?()[]{}|\\^$/-", e)) return Fixed(std::string_view(&e, 1));
    return Fail();
  }

  Piece Group(int depth) {
    ++m_pos;
    bool assertion = false;
    if (Peek() == '*') return Fail();
    if (Peek() == '?') {
      ++m_pos;
      const char kind = Peek();
      if (kind == ':' || kind == '>') {
        ++m_pos;
      } else if (kind == '=' || kind == '!') {
        ++m_pos;
        assertion = true;
      } else if (kind == '<' && (Peek(1) == '=' || Peek(1) == '!')) {
        m_pos += 2;
        assertion = true;
      } else if (kind == '<') {
        ++m_pos;
        const size_t name = m_pos;
        while (!AtEnd() && (IsAsciiLetter(static_cast<unsigned char>(Peek())) || IsDigit(Peek()) || Peek() == '_')) {
          ++m_pos;
        }
        if (m_pos == name || IsDigit(m_p[name]) || Peek() != '>') return Fail();
        ++m_pos;
      } else {
        return Fail();
      }
    }
    Piece inner = Alternation(depth + 1);
    if (m_failed || Peek() != ')') return Fail();
    ++m_pos;
    return assertion ? Piece() : inner;
  }

  // A bracketed class is one character of a set: skipped to its end. The engine reads "[" inside
  // a class as itself or as a POSIX bracket, and "]" first as itself; neither is followed here.
  Piece Class() {
    ++m_pos;
    if (Peek() == '^') ++m_pos;
    if (Peek() == ']') return Fail();
    while (!AtEnd()) {
      const auto c = static_cast<unsigned char>(Peek());
      if (c == ']') {
        ++m_pos;
        return Piece();
      }
      if (c == '[') return Fail();
      if (c == '\\') {
        const auto e = static_cast<unsigned char>(Peek(1));
        if (e == 0 || std::strchr("cCM", e)) return Fail();  // control forms take the next character
        m_pos += IsSjisLeadByte(e) ? 3 : 2;
      } else {
        m_pos += IsSjisLeadByte(c) ? 2 : 1;
      }
    }
    return Fail();
  }

  // Repetitions after a part: one that may take it no times leaves nothing required, any other
  // leaves what it requires but makes it no longer fixed.
  void Quantifiers(Piece& piece) {
    for (bool first = true;;) {
      const char c = Peek();
      bool optional;
      if (c == '?' || c == '*') {
        ++m_pos;
        optional = true;
      } else if (c == '+') {
        ++m_pos;
        optional = false;
      } else if (c == '{') {
        size_t pos = m_pos + 1;
        unsigned long least = 0;
        const size_t digits = pos;
        while (pos < m_p.size() && IsDigit(m_p[pos])) {
          if (least < 100000) least = least * 10 + static_cast<unsigned long>(m_p[pos] - '0');
          ++pos;
        }
        if (pos == digits) {
          Fail();  // "{,n}" and other braces the engine reads as text
          return;
        }
        if (pos < m_p.size() && m_p[pos] == ',') {
          ++pos;
          while (pos < m_p.size() && IsDigit(m_p[pos])) ++pos;
        }
        if (pos >= m_p.size() || m_p[pos] != '}') {
          Fail();
          return;
        }
        m_pos = pos + 1;
        optional = least == 0;
      } else {
        return;
      }
      if (optional) {
        piece = Piece();
      } else {
        piece.fixed = false;
      }
      // "?" right after the first repetition makes it lazy, with the same least count; after a
      // second one (a possessive "+" among them) it is a repetition of its own.
      if (first && Peek() == '?') ++m_pos;
      first = false;
    }
  }

  std::string_view m_p;
  size_t m_pos = 0;
  bool m_failed = false;
};

// Whether p starts a character of a text whose character starts at begin: the lead bytes just
// before p pair up from the first of them.
bool StartsCharacter(const unsigned char* begin, const unsigned char* p) {
  const unsigned char* q = p;
  while (q > begin && IsSjisLeadByte(q[-1])) --q;
  return ((p - q) & 1) == 0;
}

// Whether the engine may start or go on with a character at p. Stepping from a character, it reads
// a lead byte with whatever byte follows; but where it finds a place by its own search and steps
// back to a character's start, a byte that cannot be a trail byte is a character of its own, even
// after a lead byte.
bool MayStartCharacter(const unsigned char* begin, const unsigned char* p) {
  return !IsSjisTrailByte(*p) || StartsCharacter(begin, p);
}

}  // namespace

std::string RequiredLiteral(std::string_view pattern) { return Parser(pattern).Run(); }

LiteralScan::LiteralScan(std::string_view literal, bool ignoreCase)
    : m_bytes(literal), m_masks(literal.size(), '\xFF') {
  if (!ignoreCase) return;
  for (size_t i = 0; i < m_bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(m_bytes[i]);
    if (IsSjisLeadByte(c)) {
      ++i;  // the engine folds no double-byte character, whatever its trail byte
    } else if (IsAsciiLetter(c)) {
      m_bytes[i] = static_cast<char>(c & 0xDF);
      m_masks[i] = '\xDF';
    }
  }
}

bool LiteralScan::MatchesAt(const unsigned char* p) const {
  for (size_t i = 0; i < m_bytes.size(); ++i) {
    if ((p[i] & static_cast<unsigned char>(m_masks[i])) != static_cast<unsigned char>(m_bytes[i])) return false;
  }
  return true;
}

bool LiteralScan::Occurs(const char* lineStart, const char* from, const char* end) const {
  const size_t n = m_bytes.size();
  if (n == 0) return true;
  if (from > end || static_cast<size_t>(end - from) < n) return false;
  const auto* line = reinterpret_cast<const unsigned char*>(lineStart);
  const auto* start = reinterpret_cast<const unsigned char*>(from);
  const unsigned char* limit = reinterpret_cast<const unsigned char*>(end) - n + 1;  // past the last start
  // Characters are told from the search's start when it starts one; a search starting inside a
  // character (the engine then steps from there) takes every place the bytes are found.
  int fromStartsCharacter = -1;
  auto found = [&](const unsigned char* p) {
    if (!MatchesAt(p)) return false;
    if (fromStartsCharacter < 0) fromStartsCharacter = StartsCharacter(line, start) ? 1 : 0;
    return fromStartsCharacter == 0 || MayStartCharacter(start, p);
  };
  const unsigned char* p = start;
#if defined(__SSE2__)
  // Sixteen places at a time where the first and the last byte fit; only those are compared whole.
  const __m128i firstMask = _mm_set1_epi8(m_masks.front());
  const __m128i firstByte = _mm_set1_epi8(m_bytes.front());
  const __m128i lastMask = _mm_set1_epi8(m_masks.back());
  const __m128i lastByte = _mm_set1_epi8(m_bytes.back());
  auto candidates = [&](const unsigned char* at) {
    const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i last = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + n - 1));
    const __m128i both = _mm_and_si128(_mm_cmpeq_epi8(_mm_and_si128(first, firstMask), firstByte),
                                       _mm_cmpeq_epi8(_mm_and_si128(last, lastMask), lastByte));
    return static_cast<unsigned>(_mm_movemask_epi8(both));
  };
  auto anyFound = [&](const unsigned char* at, unsigned bits) {
    for (; bits; bits &= bits - 1) {
      if (found(at + __builtin_ctz(bits))) return true;
    }
    return false;
  };
  for (; limit - p >= 16; p += 16) {
    if (anyFound(p, candidates(p))) return true;
  }
  if (p < limit && limit - start >= 16) {
    // The rest as one block ending at the limit, without the places already seen.
    const unsigned char* at = limit - 16;
    return anyFound(at, candidates(at) & (0xFFFFu << (p - at)));
  }
#endif
  for (; p < limit; ++p) {
    if (found(p)) return true;
  }
  return false;
}

}  // namespace tovara_regexp
