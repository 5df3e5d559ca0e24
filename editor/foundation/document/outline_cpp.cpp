// The C and C++ outline: one character scanner over the lines read by the preprocessor tracker,
// a small state machine over words and punctuation outside function bodies, and a stack of the
// enclosing class, struct and namespace names.
#include <cstdint>
#include <cstring>
#include <string_view>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/outline_items.h"
#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/document/outline_scan.h"
#include "editor/foundation/document/preprocessor_tracker.h"
#include "platform/sjis_literal.h"

using namespace outline_scan;

bool EndsWithLineContinuation(const char* pText, int nLen) {
  if (!pText || nLen <= 0) return false;
  // A final LF, then a CR, then an LF.
  if (nLen > 0 && pText[nLen - 1] == '\n') --nLen;
  if (nLen > 0 && pText[nLen - 1] == '\r') --nLen;
  if (nLen > 0 && pText[nLen - 1] == '\n') --nLen;
  if (nLen <= 0 || pText[nLen - 1] != '\\') return false;
  // The backslash counts only where a character starts.
  return CMemory::CharStartAt(pText, nLen, nLen - 1) == nLen - 1;
}

bool IsOperatorName(const char* pWord, int nLen) {
  const std::string_view word(pWord, static_cast<size_t>(nLen > 0 ? nLen : 0));
  return word == "operator" || (word.size() > 8 && word.ends_with(":operator"));
}

namespace {

constexpr int kMaxWord = 100;
constexpr int kMaxScopes = 32;
constexpr int kMaxScopeText = 511;

enum State { kIdle = 0, kInitialiser = 5, kTypeName = 17, kTemplateArgs = 18, kBaseList = 19, kParamsClosed = 20,
             kAfterParams = 22 };

bool IsWordByte(unsigned char c) { return IsAsciiAlnum(c) || c == '_' || c == '~' || c == ':'; }
bool IsBlankByte(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

const ByteClassTable kClasses = MakeByteClasses(IsWordByte);
// Inside a function body what matters is a brace, a comment, a literal, an escape and a character
// of two bytes (whose second byte may look like any of these).
const std::array<bool, 256> kBodyQuiet = [] {
  std::array<bool, 256> quiet{};
  for (int c = 1; c < 0x80; ++c) quiet[static_cast<size_t>(c)] = std::strchr("{}/\"'\\", c) == nullptr;
  return quiet;
}();

// The length of the operator symbol at p (within n bytes) that follows "operator"; 0 for none.
int OperatorSymbolLength(const char* p, int n) {
  auto at = [&](int i) { return i < n ? p[i] : '\0'; };
  const char c = at(0);
  switch (c) {
    case '!': case '%': case '*': case '/': case '=': case '^':
      return at(1) == '=' ? 2 : 1;
    case '&': case '+': case '|':
      return at(1) == c || at(1) == '=' ? 2 : 1;
    case '-':
      if (at(1) == '>') return at(2) == '*' ? 3 : 2;
      return at(1) == '-' || at(1) == '=' ? 2 : 1;
    case '<': case '>': {
      int len = at(1) == c ? 2 : 1;
      if (at(len) == '=') ++len;
      return len;
    }
    case ',': case '~':
      return 1;
    case '(':
      return at(1) == ')' ? 2 : 0;
    case '[':
      return at(1) == ']' ? 2 : 0;
    default:
      return 0;
  }
}

class CppOutline {
 public:
  CppOutline(const LineWalk& lines, COutlineItemList& list) : m_lines(lines), m_list(list) {}
  void Line(const char* text, int len, int line);

 private:

  void EndWord();
  void Word(std::string_view word);
  void Punctuation(char c);
  void RecordDeclaration();
  void OpenBrace();
  void CloseBrace();
  void PushScope(bool named, std::string_view name);
  bool IsPrevWord(std::string_view w) const { return m_words[1 - m_nCurrentWord].View() == w; }
  // The word being read and the one before take turns in two buffers: a word read becomes the
  // word before without a copy.
  BoundedText<kMaxWord>& CurWord() { return m_words[m_nCurrentWord]; }
  BoundedText<kMaxWord>& PrevWord() { return m_words[1 - m_nCurrentWord]; }

  const LineWalk& m_lines;
  COutlineItemList& m_list;
  CPreprocessorTracker m_tracker;
  Lex m_lex = Lex::kNormal;
  int m_nLine = 0;

  // The word being read.
  BoundedText<kMaxWord> m_words[2];
  int m_nCurrentWord = 0;
  bool m_bInWord = false;
  int m_nWordLine = 0;
  // The word before, and whether nothing but blanks came after it.
  int m_nPrevLine = 0;
  bool m_bAfterWord = false;
  bool m_bOperatorPending = false;
  bool m_bDroppingName = false;
  bool m_bDroppedEndsColons = false;

  int m_nState = kIdle;
  bool m_bPureSpecifier = false;  // "=" after a closed parameter list ("= 0", "= delete")
  int m_nParenDepth = 0;
  int m_nAngleDepth = 0;
  int m_nBodyDepth = 0;
  int m_nPendingKind = 0;
  int m_nPendingLine = 0;
  BoundedText<kMaxWord> m_typeName;
  BoundedText<kMaxWord> m_candidate;
  int m_nCandidateLine = 0;

  // Enclosing scopes: the length of the scope text before each; levels past the maximum only
  // count, so that their braces still match.
  BoundedText<kMaxScopeText> m_scopeText;
  int m_scopeStart[kMaxScopes] = {};
  int m_nScopeDepth = 0;
  int m_nScopeOverflow = 0;
};

void CppOutline::Line(const char* text, int len, int line) {
  m_nLine = line;
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  int pos = 0;
  if (m_lex == Lex::kLineComment) {
    if (!EndsWithLineContinuation(text, len)) m_lex = Lex::kNormal;
    return;
  }
  if (m_lex != Lex::kBlockComment) {
    pos = m_tracker.ScanLine(text, len);
    if (pos < 0) return;
  }
  while (pos < len) {
    if (InCommentOrLiteral(m_lex)) {
      pos = StepCommentOrLiteral(text, len, pos, m_lex);
      continue;
    }
    if (m_lex == Lex::kNormal && m_nBodyDepth > 0 && !m_bInWord && !m_bOperatorPending) {
      // Nothing there starts a word that counts or ends one: the quiet bytes go at once.
      while (pos < len && kBodyQuiet[s[pos]]) ++pos;
      if (pos >= len) break;
    }
    const unsigned char c = s[pos];
    switch (m_lex) {
      case Lex::kSkipWord:
        if (IsBlankByte(c)) m_lex = Lex::kNormal;
        pos += SjisCharSize(s, len, pos);
        break;
      case Lex::kLineComment:
        pos = len;
        break;
      case Lex::kNormal: {
        const uint8_t kind = kClasses[c];
        if (kind == kWordByte) {
          int end = pos + 1;
          while (end < len && kClasses[s[end]] == kWordByte) ++end;
          if (m_nBodyDepth > 0) {
            // Inside a function body only the braces count.
            pos = end;
            break;
          }
          if (!m_bInWord) {
            m_bInWord = true;
            CurWord().Clear();
            m_nWordLine = line;
          }
          if (!CurWord().Append(text + pos, end - pos)) {
            // Longer than any name kept: the word is skipped up to the next blank.
            m_bInWord = false;
            m_bAfterWord = false;
            m_bOperatorPending = false;
            m_lex = Lex::kSkipWord;
          }
          pos = end;
          break;
        }
        if (m_bInWord) EndWord();
        if (kind == kBlankByte) {
          ++pos;
          while (pos < len && kClasses[s[pos]] == kBlankByte) ++pos;
          break;
        }
        if (SjisCharSize(s, len, pos) == 2) {
          m_bAfterWord = false;
          m_bOperatorPending = false;
          pos += 2;
          break;
        }
        if (c == '/' && pos + 1 < len && (s[pos + 1] == '/' || s[pos + 1] == '*')) {
          m_bAfterWord = false;
          m_bOperatorPending = false;
          if (s[pos + 1] == '*') {
            m_lex = Lex::kBlockComment;
            pos += 2;
          } else {
            if (EndsWithLineContinuation(text, len)) m_lex = Lex::kLineComment;
            pos = len;
          }
          break;
        }
        if (c == '"' || c == '\'') {
          m_bAfterWord = false;
          m_bOperatorPending = false;
          m_lex = c == '"' ? Lex::kStringLiteral : Lex::kCharLiteral;
          ++pos;
          break;
        }
        if (c == '\\') {
          pos += 1 + SjisCharSize(s, len, pos + 1);
          break;
        }
        if (m_bOperatorPending) {
          const int n = OperatorSymbolLength(text + pos, len - pos);
          m_bOperatorPending = false;
          if (n > 0) {
            // The symbol belongs to the name: "operator==", "operator()".
            if (PrevWord().Fits(n)) PrevWord().Append(text + pos, n);
            m_bAfterWord = false;
            pos += n;
            break;
          }
        }
        Punctuation(static_cast<char>(c));
        m_bAfterWord = false;
        ++pos;
        break;
      }
      default:  // comments and literals, stepped through above
        break;
    }
  }
  if (m_bInWord) EndWord();
  // Literals end with their line unless it continues.
  if ((m_lex == Lex::kCharLiteral || m_lex == Lex::kStringLiteral || m_lex == Lex::kSkipWord) && !EndsWithLineContinuation(text, len)) {
    m_lex = Lex::kNormal;
  }
}

void CppOutline::EndWord() {
  m_bInWord = false;
  const std::string_view word = CurWord().View();
  // "A:: B", "A ::B" and "operator new" are one name.
  if (m_bAfterWord && m_bDroppingName) {
    // The rest of a name too long to keep goes with it.
    if (m_bDroppedEndsColons || word.starts_with("::")) {
      m_bDroppedEndsColons = word.ends_with("::");
      return;
    }
  }
  m_bDroppingName = false;
  if (m_bAfterWord && !PrevWord().View().empty()) {
    const std::string_view prev = PrevWord().View();
    const bool operatorName = IsOperatorName(prev.data(), static_cast<int>(prev.size()));
    if (prev.ends_with("::") || word.starts_with("::") || operatorName) {
      const int extra = static_cast<int>(word.size()) + (operatorName ? 1 : 0);
      if (!PrevWord().Fits(extra)) {
        // Too long for a name: dropped as an over-long word is.
        PrevWord().Clear();
        m_bDroppingName = true;
        m_bDroppedEndsColons = word.ends_with("::");
        m_bOperatorPending = false;
        return;
      }
      if (operatorName) PrevWord().Append(" ", 1);
      PrevWord().Append(word);
      m_bOperatorPending = false;
      Word(PrevWord().View());
      return;
    }
  }
  if (word == "PARAMS" || word == "_") return;  // macro wrappers around parameter lists
  m_nCurrentWord = 1 - m_nCurrentWord;
  m_nPrevLine = m_nWordLine;
  m_bAfterWord = true;
  m_bOperatorPending = IsOperatorName(word.data(), static_cast<int>(word.size()));
  Word(word);
}

void CppOutline::Word(std::string_view word) {
  m_bAfterWord = true;
  if (m_nBodyDepth > 0) return;
  switch (m_nState) {
    case kIdle: {
      static constexpr std::string_view kKeywords[] = {"class", "struct", "enum", "union", "namespace"};
      for (int i = 0; i < 5; ++i) {
        if (word == kKeywords[i]) {
          m_nPendingKind = outline_kind::kClass + i;
          m_nPendingLine = m_nPrevLine;
          m_typeName.Clear();
          m_typeName.Append("無名"_sj);
          m_nState = kTypeName;
          break;
        }
      }
      break;
    }
    case kTypeName: {
      // A single ":" starts the base list; what stands before it is the name.
      size_t colon = std::string_view::npos;
      for (size_t i = 0; i < word.size(); ++i) {
        if (word[i] != ':') continue;
        if (i + 1 < word.size() && word[i + 1] == ':') {
          ++i;
          continue;
        }
        colon = i;
        break;
      }
      if (colon == std::string_view::npos) {
        m_typeName.Clear();
        m_typeName.Append(word);
      } else {
        if (colon > 0) {
          m_typeName.Clear();
          m_typeName.Append(word.substr(0, colon));
        }
        m_nState = kBaseList;
      }
      break;
    }
    case kTemplateArgs:
      m_typeName.Append(word);
      break;
    case kParamsClosed:
      if (!m_bPureSpecifier) m_nState = kAfterParams;
      break;
    default:
      break;
  }
}

void CppOutline::Punctuation(char c) {
  if (m_nBodyDepth > 0) {
    if (c == '{') {
      ++m_nBodyDepth;
    } else if (c == '}') {
      --m_nBodyDepth;
    }
    return;
  }
  switch (c) {
    case '(':
      if (m_nState == kIdle || m_nState == kTypeName || m_nState == kBaseList) {
        if (IsPrevWord("__declspec")) break;
        if (m_nParenDepth == 0) {
          m_candidate.Clear();
          m_candidate.Append(PrevWord().View());
          m_nCandidateLine = m_nPrevLine;
        }
        ++m_nParenDepth;
      } else if (m_nState == kAfterParams && m_nParenDepth == 0) {
        m_nParenDepth = 1;
      } else if (m_nParenDepth > 0) {
        ++m_nParenDepth;
      }
      break;
    case ')':
      if (m_nParenDepth > 0 && --m_nParenDepth == 0) {
        m_nState = kParamsClosed;
        m_bPureSpecifier = false;
        m_nPendingKind = outline_kind::kDefinition;
      }
      break;
    case '=':
      if (m_nState == kIdle) {
        const std::string_view prev = PrevWord().View();
        if (!IsOperatorName(prev.data(), static_cast<int>(prev.size()))) m_nState = kInitialiser;
      } else if (m_nState == kTypeName) {
        m_nState = kIdle;
      } else if (m_nState == kParamsClosed || m_nState == kAfterParams) {
        m_nState = kParamsClosed;
        m_bPureSpecifier = true;
      }
      break;
    case ',':
      if (m_nState == kTypeName) m_nState = kIdle;
      if (m_nState == kTemplateArgs) m_typeName.Append(",", 1);
      break;
    case '<':
      if (m_nState == kTypeName) {
        m_nState = kTemplateArgs;
        m_nAngleDepth = 1;
        m_typeName.Append("<", 1);
      } else if (m_nState == kTemplateArgs) {
        ++m_nAngleDepth;
        m_typeName.Append("<", 1);
      }
      break;
    case '>':
      if (m_nState == kTypeName) {
        m_nState = kIdle;
      } else if (m_nState == kTemplateArgs) {
        m_typeName.Append(">", 1);
        if (--m_nAngleDepth == 0) m_nState = kTypeName;
      }
      break;
    case ';': {
      // Specifiers after a parameter list end a declaration; other words there are the old-style
      // parameter declarations of C.
      static constexpr std::string_view kEnders[] = {"const", "throw", "noexcept", "override", "final", "volatile"};
      bool ender = false;
      for (const std::string_view e : kEnders) ender = ender || IsPrevWord(e);
      if (m_nState == kAfterParams && !ender) {
        m_nState = kParamsClosed;
      } else if (m_nState == kParamsClosed || m_nState == kAfterParams) {
        RecordDeclaration();
        m_nState = kIdle;
        m_nParenDepth = 0;
      } else {
        m_nState = kIdle;
        m_nParenDepth = 0;
      }
      break;
    }
    case '{':
      OpenBrace();
      break;
    case '}':
      CloseBrace();
      break;
    default:
      break;
  }
}

void CppOutline::RecordDeclaration() {
  if (m_candidate.Length() == 0 || m_nScopeDepth >= kMaxScopes || m_nScopeOverflow > 0) return;
  BoundedText<kMaxScopeText> name;
  name.Append(m_scopeText.View());
  if (!name.Append(m_candidate.View())) return;
  Record(m_lines, m_list, m_nCandidateLine, 0, name.View(), outline_kind::kDeclaration, 0);
}

void CppOutline::OpenBrace() {
  const int state = m_nState;
  m_nState = kIdle;
  m_nParenDepth = 0;
  m_bPureSpecifier = false;
  if (state < kTypeName) {
    PushScope(false, {});
    return;
  }
  const bool function = m_nPendingKind == outline_kind::kDefinition;
  const std::string_view name = function ? m_candidate.View() : m_typeName.View();
  // A name dropped as too long gives no entry.
  const bool room = !name.empty() && m_nScopeDepth < kMaxScopes && m_nScopeOverflow == 0 &&
                    m_scopeText.Fits(static_cast<int>(name.size()) + (function ? 0 : 2));
  if (room) {
    BoundedText<kMaxScopeText> item;
    item.Append(m_scopeText.View());
    item.Append(name);
    if (m_nPendingKind == outline_kind::kNamespace) item.Append("::定義位置"_sj);
    Record(m_lines, m_list, function ? m_nCandidateLine : m_nPendingLine, 0, item.View(), m_nPendingKind, 0);
  }
  if (function) {
    m_nBodyDepth = 1;
  } else {
    PushScope(room, name);
  }
}

void CppOutline::PushScope(bool named, std::string_view name) {
  if (m_nScopeDepth >= kMaxScopes || m_nScopeOverflow > 0) {
    ++m_nScopeOverflow;
    return;
  }
  m_scopeStart[m_nScopeDepth++] = m_scopeText.Length();
  if (named) {
    m_scopeText.Append(name);
    m_scopeText.Append("::", 2);
  }
}

void CppOutline::CloseBrace() {
  m_nState = kIdle;
  m_nParenDepth = 0;
  if (m_nScopeOverflow > 0) {
    --m_nScopeOverflow;
  } else if (m_nScopeDepth > 0) {
    m_scopeText.Truncate(m_scopeStart[--m_nScopeDepth]);
  }
  // A "}" outside every scope closes nothing.
}

}  // namespace

void ParseOutlineCpp(CEditDoc& doc, COutlineItemList& list) {
  LineWalk lines(doc);
  CppOutline outline(lines, list);
  while (lines.Next()) outline.Line(lines.Text(), lines.Length(), lines.Index());
}
