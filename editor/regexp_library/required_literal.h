// The text that every match of a pattern must hold, and a fast search for it, so that a line
// without it is passed over without running the engine.
#pragma once

#include <bitset>
#include <string>
#include <string_view>
#include <vector>

namespace tovara_regexp {

using ByteSet = std::bitset<256>;

struct RequiredText {
  // The longest run of fixed characters that every match of the pattern (Shift-JIS, the library's
  // syntax) holds, written as in the pattern; empty when there is none or when the pattern holds
  // anything whose reading is not certain here (option groups, quoting, escapes with arguments,
  // nested or POSIX brackets, conditionals, calls): a wrong literal would hide matches.
  std::string literal;
  // The bytes that stand next to the literal in every match, as far as they are certain (one-byte
  // classes, fixed text, counted repetitions): before[0] is the byte just before it, after[0] the
  // one just after. A literal that most lines hold (a full stop) still tells lines apart by these.
  std::vector<ByteSet> before;
  std::vector<ByteSet> after;
};

// ignoreCase: the sets take ASCII letters in either case, as the engine's ignore-case option does.
RequiredText RequiredLiteral(std::string_view pattern, bool ignoreCase = false);

class LiteralScan {
 public:
  LiteralScan() = default;
  // ignoreCase: ASCII letters match either case, as the engine's ignore-case option reads them.
  LiteralScan(std::string_view literal, bool ignoreCase);
  LiteralScan(const RequiredText& required, bool ignoreCase);

  bool Empty() const { return m_bytes.empty(); }
  // Whether the literal occurs in [from, end) where the engine may see a character start, with the
  // bytes it requires around it inside [from, end). lineStart is where the text begins, to tell the
  // characters; a literal seen at a trail byte is none.
  bool Occurs(const char* lineStart, const char* from, const char* end) const;

 private:
  bool MatchesAt(const unsigned char* p) const;
  bool ContextAt(const unsigned char* from, const unsigned char* p, const unsigned char* end) const;
  std::string m_bytes;  // letters folded to upper case when case is ignored
  std::string m_masks;  // per byte: 0xDF for a letter whose case is ignored, else 0xFF
  std::vector<ByteSet> m_before;
  std::vector<ByteSet> m_after;
};

// Whether searching for the literal pays: it costs a small part of what the engine costs on a line,
// so while it lets the engine pass over almost no line (a literal that nearly every line holds) it
// stops for a while, then tries again.
class PrefilterGate {
 public:
  static constexpr unsigned kWindow = 64;   // searches judged together
  static constexpr unsigned kWorthIt = 16;  // it pays when at least one in this many is passed over
  static constexpr unsigned kPause = 1024;  // searches without it after a window that did not pay

  bool Open() {
    if (m_paused == 0) return true;
    --m_paused;
    return false;
  }
  void Record(bool passedOver) {
    m_passedOver += passedOver ? 1 : 0;
    if (++m_tried < kWindow) return;
    if (m_passedOver * kWorthIt < m_tried) m_paused = kPause;
    m_tried = m_passedOver = 0;
  }

 private:
  unsigned m_tried = 0;
  unsigned m_passedOver = 0;
  unsigned m_paused = 0;
};

}  // namespace tovara_regexp
