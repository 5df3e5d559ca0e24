#include "editor/regexp_library/required_literal.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "editor/foundation/text/sjis_char.h"

namespace tovara_regexp {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

using Sets = std::vector<ByteSet>;

// Bytes of context kept on each side of a literal: enough to tell most lines apart.
constexpr size_t kMaxContext = 16;

// What is known of a part of a pattern.
struct Piece {
  bool fixed = false;  // every match of the part is exactly `text`
  std::string text;
  std::string required;  // the longest text inside every match of the part
  Sets requiredBefore;   // the bytes next to `required` in every match, nearest first
  Sets requiredAfter;
  // The first bytes of every match (head[0] the first) and the last (tail[0] the last). With
  // `exact`, every match is as long as head and tail, and they hold each of its bytes.
  bool exact = false;
  Sets head;
  Sets tail;
};

void Append(Sets& to, const Sets& more) {
  for (size_t i = 0; i < more.size() && to.size() < kMaxContext; ++i) to.push_back(more[i]);
}

Sets Repeat(const Sets& sets, unsigned long times) {
  Sets repeated;
  for (unsigned long i = 0; i < times && repeated.size() < kMaxContext && !sets.empty(); ++i) Append(repeated, sets);
  return repeated;
}

// The bytes just before part `at` (the tails of the parts before it while they are exact), nearest
// first; and the bytes from part `at` on.
Sets Before(const std::vector<Piece>& parts, size_t at) {
  Sets sets;
  while (at > 0 && sets.size() < kMaxContext) {
    const Piece& part = parts[--at];
    Append(sets, part.tail);
    if (!part.exact) break;
  }
  return sets;
}

Sets From(const std::vector<Piece>& parts, size_t at) {
  Sets sets;
  for (; at < parts.size() && sets.size() < kMaxContext; ++at) {
    Append(sets, parts[at].head);
    if (!parts[at].exact) break;
  }
  return sets;
}

ByteSet CaseFolded(ByteSet set) {
  for (int c = 'A'; c <= 'Z'; ++c) {
    if (set[c] || set[c + 0x20]) set.set(c).set(c + 0x20);
  }
  return set;
}

// A reading of the pattern that gives up, rather than guess, on whatever it does not know for
// certain. Only the parts whose meaning cannot hide a match are read; any other gives no literal.
class Parser {
 public:
  Parser(std::string_view pattern, bool ignoreCase) : m_p(pattern), m_ignoreCase(ignoreCase) {}

  RequiredText Run() {
    Piece top = Alternation(0);
    if (m_failed || m_pos != m_p.size() || top.required.empty()) return RequiredText();
    return RequiredText{std::move(top.required), std::move(top.requiredBefore), std::move(top.requiredAfter)};
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
  // A part of fixed text; its bytes as sets, an ASCII letter in either case when case is ignored
  // (a double-byte character is never folded, whatever its trail byte).
  Piece Fixed(std::string_view text) const {
    Piece piece;
    piece.fixed = true;
    piece.text = text;
    piece.required = text;
    for (size_t i = 0; i < text.size(); ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      ByteSet set;
      set.set(c);
      piece.head.push_back(IsSjisLeadByte(c) || !m_ignoreCase ? set : CaseFolded(set));
      if (IsSjisLeadByte(c) && i + 1 < text.size())
        piece.head.push_back(ByteSet().set(static_cast<unsigned char>(text[++i])));
    }
    return Exact(std::move(piece));
  }
  // One character of a set of one-byte characters.
  Piece OneOf(const ByteSet& set) const {
    Piece piece;
    piece.head.push_back(m_ignoreCase ? CaseFolded(set) : set);
    return Exact(std::move(piece));
  }
  // An assertion or an anchor: it takes no text, so the parts around it stand side by side.
  static Piece ZeroWidth() {
    Piece piece;
    piece.exact = true;
    return piece;
  }
  // A part whose every match is `head`: its tail is the same bytes from the end.
  static Piece Exact(Piece piece) {
    piece.exact = piece.head.size() <= kMaxContext;
    const size_t kept = std::min(piece.head.size(), kMaxContext);
    piece.tail.assign(piece.head.rbegin(), piece.head.rbegin() + static_cast<std::ptrdiff_t>(kept));
    piece.head.resize(kept);
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
    std::vector<Piece> parts;
    while (!m_failed && !AtEnd() && Peek() != '|' && Peek() != ')') {
      Piece atom = Atom(depth);
      if (m_failed) break;
      Quantifiers(atom);
      parts.push_back(std::move(atom));
    }
    Piece result;
    result.fixed = true;
    result.exact = true;
    size_t width = 0;
    for (const Piece& part : parts) {
      result.fixed = result.fixed && part.fixed;
      result.exact = result.exact && part.exact;
      width += part.head.size();
      if (result.fixed) result.text += part.text;
    }
    result.exact = result.exact && width <= kMaxContext;
    result.head = From(parts, 0);
    result.tail = Before(parts, parts.size());
    // The runs of fixed parts and what the other parts require, the first of the longest kept.
    for (size_t i = 0; i < parts.size();) {
      if (!parts[i].fixed) {
        if (parts[i].required.size() > result.required.size()) {
          result.required = parts[i].required;
          result.requiredBefore = parts[i].requiredBefore;
          result.requiredAfter = parts[i].requiredAfter;
        }
        ++i;
        continue;
      }
      std::string run;
      size_t end = i;
      for (; end < parts.size() && parts[end].fixed; ++end) run += parts[end].text;
      if (run.size() > result.required.size()) {
        result.required = std::move(run);
        result.requiredBefore = Before(parts, i);
        result.requiredAfter = From(parts, end);
      }
      i = end;
    }
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
      case '^':
      case '$':
        ++m_pos;
        return ZeroWidth();
      case '.':
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
    if (e == 'd') return OneOf(Digits());  // in Shift-JIS only the ASCII digits are digits
    if (std::strchr("bBAzZGK", e)) return ZeroWidth();
    if (std::strchr("DwWsShHRX", e)) return Piece();  // classes and assertions
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

  static ByteSet Digits() {
    ByteSet set;
    for (int c = '0'; c <= '9'; ++c) set.set(c);
    return set;
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
    return assertion ? ZeroWidth() : inner;
  }

  // One member of a bracketed class as read here.
  struct Member {
    enum Kind { kByte, kSet, kOther } kind;
    unsigned char byte = 0;  // kByte: a one-byte character written as itself
    ByteSet set;             // kSet: what an escape stands for
  };

  // A bracketed class is one character of a set: skipped to its end. The engine reads "[" inside
  // a class as itself or as a POSIX bracket, and "]" first as itself; neither is followed here.
  // When every member is a one-byte ASCII character, a range of them or an escape read here, the
  // set is known.
  Piece Class() {
    ++m_pos;
    const bool negated = Peek() == '^';
    if (negated) ++m_pos;
    if (Peek() == ']') return Fail();
    std::vector<Member> members;
    while (!AtEnd()) {
      const auto c = static_cast<unsigned char>(Peek());
      if (c == ']') {
        ++m_pos;
        const std::optional<ByteSet> set = negated ? std::nullopt : SetOf(members);
        return set ? OneOf(*set) : Piece();
      }
      if (c == '[') return Fail();
      if (c == '\\') {
        const auto e = static_cast<unsigned char>(Peek(1));
        if (e == 0 || std::strchr("cCM", e)) return Fail();  // control forms take the next character
        m_pos += IsSjisLeadByte(e) ? 3 : 2;
        members.push_back(EscapeMember(e));
      } else {
        m_pos += IsSjisLeadByte(c) ? 2 : 1;
        members.push_back(c < 0x80 ? Member{Member::kByte, c, {}} : Member{Member::kOther, 0, {}});
      }
    }
    return Fail();
  }

  static Member EscapeMember(unsigned char e) {
    ByteSet set;
    if (e == 'd') return Member{Member::kSet, 0, Digits()};
    const char* controls = "tnrf";
    if (const char* at = e ? std::strchr(controls, e) : nullptr) {
      return Member{Member::kSet, 0, set.set(static_cast<unsigned char>("\t\n\r\f"[at - controls]))};
    }
    if (e && std::strchr(".*+?()[]{}|\\^$/-", e)) return Member{Member::kSet, 0, set.set(e)};
    return Member{Member::kOther, 0, {}};
  }

  // The set the members make, or none where any of them is not read here: a "-" between two
  // characters makes a range of them; at either end it is itself; anywhere else (after a range, by
  // an escape) and "&&" are left alone.
  static std::optional<ByteSet> SetOf(const std::vector<Member>& members) {
    ByteSet set;
    auto isByte = [&](size_t i, char c) { return members[i].kind == Member::kByte && members[i].byte == c; };
    for (size_t i = 0; i < members.size(); ++i) {
      const Member& m = members[i];
      if (m.kind == Member::kOther) return std::nullopt;
      if (isByte(i, '&') && i + 1 < members.size() && isByte(i + 1, '&')) return std::nullopt;
      if (i + 2 < members.size() && isByte(i + 1, '-')) {
        const Member& last = members[i + 2];
        if (m.kind != Member::kByte || last.kind != Member::kByte || m.byte == '-' || last.byte < m.byte) {
          return std::nullopt;
        }
        if (i + 3 < members.size() && isByte(i + 3, '-')) return std::nullopt;
        for (unsigned b = m.byte; b <= last.byte; ++b) set.set(b);
        i += 2;
        continue;
      }
      if (isByte(i, '-') && i != 0 && i + 1 != members.size()) return std::nullopt;
      if (m.kind == Member::kSet) {
        set |= m.set;
      } else {
        set.set(m.byte);
      }
    }
    return set;
  }

  // Repetitions after a part: one that may take it no times leaves nothing known, any other
  // leaves what it requires but makes it no longer fixed; the bytes at either end are those of
  // its least count, and it stays exact only with a count of its own.
  void Quantifiers(Piece& piece) {
    for (bool first = true;;) {
      const char c = Peek();
      unsigned long least = 0;
      bool counted = false;  // exactly `least` times
      if (c == '?' || c == '*') {
        ++m_pos;
      } else if (c == '+') {
        ++m_pos;
        least = 1;
      } else if (c == '{') {
        size_t pos = m_pos + 1;
        const size_t digits = pos;
        while (pos < m_p.size() && IsDigit(m_p[pos])) {
          if (least < 100000) least = least * 10 + static_cast<unsigned long>(m_p[pos] - '0');
          ++pos;
        }
        if (pos == digits) {
          Fail();  // "{,n}" and other braces the engine reads as text
          return;
        }
        counted = true;
        if (pos < m_p.size() && m_p[pos] == ',') {
          ++pos;
          const size_t most = pos;
          unsigned long count = 0;
          while (pos < m_p.size() && IsDigit(m_p[pos])) {
            if (count < 100000) count = count * 10 + static_cast<unsigned long>(m_p[pos] - '0');
            ++pos;
          }
          counted = pos > most && count == least;
        }
        if (pos >= m_p.size() || m_p[pos] != '}') {
          Fail();
          return;
        }
        m_pos = pos + 1;
      } else {
        return;
      }
      if (least == 0) {
        piece = Piece();
      } else {
        piece.fixed = false;
        if (piece.exact) {
          const Sets once = piece.head;
          piece.head = Repeat(once, least);
          piece.tail = Repeat(piece.tail, least);
          piece.exact = counted && once.size() * least <= kMaxContext;
        }
      }
      // "?" right after the first repetition makes it lazy, with the same least count; after a
      // second one (a possessive "+" among them) it is a repetition of its own.
      if (first && Peek() == '?') ++m_pos;
      first = false;
    }
  }

  std::string_view m_p;
  bool m_ignoreCase;
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

RequiredText RequiredLiteral(std::string_view pattern, bool ignoreCase) { return Parser(pattern, ignoreCase).Run(); }

LiteralScan::LiteralScan(const RequiredText& required, bool ignoreCase) : LiteralScan(required.literal, ignoreCase) {
  if (m_bytes.empty()) return;
  m_before = required.before;
  m_after = required.after;
}

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

bool LiteralScan::ContextAt(const unsigned char* from, const unsigned char* p, const unsigned char* end) const {
  if (static_cast<size_t>(p - from) < m_before.size()) return false;
  const unsigned char* after = p + m_bytes.size();
  if (static_cast<size_t>(end - after) < m_after.size()) return false;
  for (size_t i = 0; i < m_before.size(); ++i) {
    if (!m_before[i][p[-1 - static_cast<std::ptrdiff_t>(i)]]) return false;
  }
  for (size_t i = 0; i < m_after.size(); ++i) {
    if (!m_after[i][after[i]]) return false;
  }
  return true;
}

bool LiteralScan::Occurs(const char* lineStart, const char* from, const char* end) const {
  const size_t n = m_bytes.size();
  if (n == 0) return true;
  if (from > end || static_cast<size_t>(end - from) < n) return false;
  const auto* line = reinterpret_cast<const unsigned char*>(lineStart);
  const auto* start = reinterpret_cast<const unsigned char*>(from);
  const auto* stop = reinterpret_cast<const unsigned char*>(end);
  const unsigned char* limit = stop - n + 1;  // past the last start
  // Characters are told from the search's start when it starts one; a search starting inside a
  // character (the engine then steps from there) takes every place the bytes are found.
  int fromStartsCharacter = -1;
  auto found = [&](const unsigned char* p) {
    if (!MatchesAt(p) || !ContextAt(start, p, stop)) return false;
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
