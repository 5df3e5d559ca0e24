// What the outline parsers share: the walk over the document's lines, the entry recording with
// its display line, and the fixed buffers that keep names bounded.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "editor/foundation/text/sjis_char.h"

class CDocLine;
class CEditDoc;
class COutlineItemList;
class CWrapLine;

namespace outline_scan {

// The document's lines in order, each with its text (line end included), and the display pieces
// walked along with them: an entry on the line being read finds its display line without a search.
class LineWalk {
 public:
  explicit LineWalk(CEditDoc& doc);
  // Moves to the next line (the first at the first call); false past the last.
  bool Next();
  const char* Text() const { return m_pText; }
  int Length() const { return m_nLength; }
  int Index() const { return m_nIndex; }
  bool IsBookmarked() const;
  // The 0-based display line of the column of a 0-based document line, as the wrap manager's
  // DocToWrapPos gives it; an earlier line than the one being read is asked of the wrap manager.
  int DisplayLineOf(int nLineIndex, int nColumn) const;

 private:
  CEditDoc& m_doc;
  const CDocLine* m_pLine = nullptr;
  // The first display piece of the line being read (else the first piece after it) and its index.
  const CWrapLine* m_pPiece = nullptr;
  int m_nPieceIndex = 0;
  bool m_bStarted = false;
  const char* m_pText = "";
  int m_nLength = 0;
  int m_nIndex = -1;
};

// Appends an entry for the 0-based document line (the one being read or an earlier one); its
// display line is that of the column.
void Record(const LineWalk& lines, COutlineItemList& list, int nLineIndex, int nColumn, std::string_view name,
            int nKind, int nDepth);

// At most N bytes of text; what does not fit is cut before the first character that would not.
template <int N>
class BoundedText {
 public:
  void Clear() { m_nLength = 0; }
  // True when all of it fitted.
  bool Append(const char* p, int n) {
    const int kept = WholeCharsPrefixLength(p, n, N - m_nLength);
    std::memcpy(m_szText + m_nLength, p, static_cast<size_t>(kept));
    m_nLength += kept;
    return kept == n;
  }
  bool Append(std::string_view s) { return Append(s.data(), static_cast<int>(s.size())); }
  bool Fits(int n) const { return m_nLength + n <= N; }
  void Truncate(int n) {
    if (n >= 0 && n < m_nLength) m_nLength = n;
  }
  int Length() const { return m_nLength; }
  std::string_view View() const { return std::string_view(m_szText, static_cast<size_t>(m_nLength)); }

 private:
  // Only the first m_nLength bytes are ever read: left unset, a buffer costs nothing to make.
  char m_szText[N];
  int m_nLength = 0;
};

inline bool IsAsciiAlpha(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
inline bool IsAsciiDigit(unsigned char c) { return c >= '0' && c <= '9'; }
inline bool IsAsciiAlnum(unsigned char c) { return IsAsciiAlpha(c) || IsAsciiDigit(c); }
inline bool IsLineEnd(unsigned char c) { return c == '\r' || c == '\n'; }
inline bool IsSpaceOrTab(unsigned char c) { return c == ' ' || c == '\t'; }
// Bytes by what a scanner of C-like sources does with them, so that runs of word bytes and of
// blanks (space, tab, CR, LF) go at once; which bytes make words is the language's.
enum ByteClass : uint8_t { kOtherByte, kWordByte, kBlankByte };
using ByteClassTable = std::array<uint8_t, 256>;
template <class IsWordByte>
ByteClassTable MakeByteClasses(IsWordByte isWordByte) {
  ByteClassTable table{};
  for (int c = 0; c < 256; ++c) {
    const auto b = static_cast<unsigned char>(c);
    table[static_cast<size_t>(c)] = isWordByte(b) ? kWordByte : IsSpaceOrTab(b) || IsLineEnd(b) ? kBlankByte : kOtherByte;
  }
  return table;
}
// Lexical states of the scanners of C-like sources.
enum class Lex { kNormal, kBlockComment, kCharLiteral, kStringLiteral, kLineComment, kSkipWord };
inline bool InCommentOrLiteral(Lex lex) {
  return lex == Lex::kBlockComment || lex == Lex::kCharLiteral || lex == Lex::kStringLiteral;
}
// Steps through the block comment or literal open at pos (a block comment to its "*/" or the line
// end, a literal by one character, a backslash taking the next along); the position after, with
// lex back to normal when that ended it.
int StepCommentOrLiteral(const char* pText, int nLen, int pos, Lex& lex);
// The length of the text without its line end (CR and LF at its end).
int LengthWithoutLineEnd(const char* pText, int nLen);
// The position after spaces, tabs and full-width spaces from pos.
int SkipBlanksWide(const char* pText, int nLen, int pos);
// The two texts are equal, ASCII letters compared without case.
bool EqualsICase(std::string_view a, std::string_view b);

// A stack of at most 32 level keys: the depth of a key is its position; finding it cuts the stack
// after it, a new one is pushed while there is room. -1 when the stack is full.
class LevelStack {
 public:
  static constexpr int kMaxLevels = 32;
  static constexpr int kMaxKey = 255;
  int DepthOf(std::string_view key);

 private:
  BoundedText<kMaxKey> m_keys[kMaxLevels];
  int m_nCount = 0;
};

}  // namespace outline_scan
