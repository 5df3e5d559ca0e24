// The Java outline: classes and interfaces with their nesting, and the methods declared or
// defined directly in their bodies.
#include <cstdint>
#include <cstring>
#include <string_view>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/outline_items.h"
#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/document/outline_scan.h"
#include "platform/sjis_literal.h"

using namespace outline_scan;

namespace {

constexpr int kMaxWord = 70;
constexpr int kMaxClasses = 32;
constexpr int kMaxPath = 511;

bool IsWordByte(unsigned char c) { return IsAsciiAlnum(c) || c == '_' || c == '~' || c == ':' || c == '.'; }
const ByteClassTable kClasses = MakeByteClasses(IsWordByte);

class JavaOutline {
 public:
  JavaOutline(const LineWalk& lines, COutlineItemList& list) : m_lines(lines), m_list(list) {}
  void Line(const char* text, int len, int line);

 private:
  struct ClassLevel {
    int nBraceDepth;  // the brace depth around the class: its body is one deeper
    int nPathStart;   // the class path before its name
  };

  void EndWord();
  void Significant(unsigned char c);
  void Punctuation(char c);
  void RecordMethod(int kind);

  const LineWalk& m_lines;
  COutlineItemList& m_list;
  Lex m_lex = Lex::kNormal;
  int m_nLine = 0;

  // The word being read and the one before take turns in two buffers: a word read becomes the
  // word before without a copy.
  BoundedText<kMaxWord>& CurWord() { return m_words[m_nCurrentWord]; }
  const BoundedText<kMaxWord>& PrevWord() const { return m_words[1 - m_nCurrentWord]; }
  BoundedText<kMaxWord> m_words[2];
  int m_nCurrentWord = 0;
  int m_nWordLine = 0;
  int m_nPrevLine = 0;
  bool m_bAfterWord = false;
  bool m_bClassNameNext = false;

  int m_nBraceDepth = 0;
  int m_nParenDepth = 0;
  BoundedText<kMaxWord> m_candidate;
  int m_nCandidateLine = 0;
  bool m_bHasCandidate = false;
  bool m_bAwaitingHeader = false;  // a candidate's parameter list closed; the next character decides
  bool m_bHeaderComplete = false;

  BoundedText<kMaxPath> m_path;
  ClassLevel m_classes[kMaxClasses] = {};
  int m_nClasses = 0;
};

void JavaOutline::Line(const char* text, int len, int line) {
  m_nLine = line;
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  int pos = 0;
  while (pos < len) {
    if (InCommentOrLiteral(m_lex)) {
      pos = StepCommentOrLiteral(text, len, pos, m_lex);
      continue;
    }
    const unsigned char c = s[pos];
    const uint8_t kind = kClasses[c];
    if (kind == kWordByte) {
      int end = pos + 1;
      while (end < len && kClasses[s[end]] == kWordByte) ++end;
      Significant(c);
      CurWord().Clear();
      m_nWordLine = line;
      if (CurWord().Append(text + pos, end - pos)) {
        EndWord();
      } else {
        // Longer than any name kept: skipped.
        m_bAfterWord = false;
      }
      pos = end;
      continue;
    }
    if (kind == kBlankByte) {
      ++pos;
      while (pos < len && kClasses[s[pos]] == kBlankByte) ++pos;
      continue;
    }
    if (c == '/' && pos + 1 < len && s[pos + 1] == '/') break;
    if (c == '/' && pos + 1 < len && s[pos + 1] == '*') {
      m_lex = Lex::kBlockComment;
      pos += 2;
      continue;
    }
    Significant(c);
    if (SjisCharSize(s, len, pos) == 2) {
      pos += 2;
    } else if (c == '\\') {
      pos += 1 + SjisCharSize(s, len, pos + 1);
    } else if (c == '"' || c == '\'') {
      m_lex = c == '"' ? Lex::kStringLiteral : Lex::kCharLiteral;
      ++pos;
    } else {
      Punctuation(static_cast<char>(c));
      ++pos;
    }
    m_bAfterWord = false;
  }
  if (m_lex == Lex::kCharLiteral || m_lex == Lex::kStringLiteral) m_lex = Lex::kNormal;
}

// The first character after a closed parameter list, past blanks, comments and line ends, says
// whether a method header stands there.
void JavaOutline::Significant(unsigned char c) {
  if (!m_bAwaitingHeader) return;
  m_bAwaitingHeader = false;
  m_bHeaderComplete = c == '{' || c == ';' || IsAsciiAlnum(c) || c == '_';
  if (!m_bHeaderComplete) m_bHasCandidate = false;
}

void JavaOutline::EndWord() {
  const std::string_view word = CurWord().View();
  if (m_bClassNameNext) {
    m_bClassNameNext = false;
    // A class nested deeper than the levels kept is not recorded.
    if (m_nClasses < kMaxClasses) {
      m_classes[m_nClasses++] = {m_nBraceDepth, m_path.Length()};
      if (m_nClasses > 1) m_path.Append("\\", 1);
      m_path.Append(word);
      BoundedText<kMaxPath> item;
      item.Append(m_path.View());
      item.Append("::定義位置"_sj);
      Record(m_lines, m_list, m_nWordLine, 0, item.View(), outline_kind::kPlain, 0);
    }
  } else if (word == "class" || word == "interface") {
    m_bClassNameNext = true;
  }
  m_nCurrentWord = 1 - m_nCurrentWord;
  m_nPrevLine = m_nWordLine;
  m_bAfterWord = true;
}

void JavaOutline::Punctuation(char c) {
  switch (c) {
    case '(':
      // A word inside an open parameter list (an annotation's arguments) names no method.
      if (m_nParenDepth == 0 && m_nClasses > 0 && m_bAfterWord && PrevWord().View() != "new") {
        m_candidate.Clear();
        m_candidate.Append(PrevWord().View());
        m_nCandidateLine = m_nPrevLine;
        m_bHasCandidate = true;
        m_bHeaderComplete = false;
      }
      ++m_nParenDepth;
      break;
    case ')':
      if (m_nParenDepth > 0 && --m_nParenDepth == 0 && m_bHasCandidate) m_bAwaitingHeader = true;
      break;
    case ';':
      RecordMethod(outline_kind::kDeclaration);
      break;
    case '{':
      RecordMethod(outline_kind::kDefinition);
      ++m_nBraceDepth;
      break;
    case '}':
      if (m_nBraceDepth > 0) --m_nBraceDepth;
      while (m_nClasses > 0 && m_nBraceDepth <= m_classes[m_nClasses - 1].nBraceDepth) {
        m_path.Truncate(m_classes[--m_nClasses].nPathStart);
      }
      m_bHasCandidate = false;
      m_bHeaderComplete = false;
      break;
    default:
      break;
  }
}

void JavaOutline::RecordMethod(int kind) {
  const bool complete = m_bHasCandidate && m_bHeaderComplete;
  m_bHasCandidate = false;
  m_bHeaderComplete = false;
  if (!complete || m_nClasses == 0 || m_nBraceDepth != m_classes[m_nClasses - 1].nBraceDepth + 1) return;
  static constexpr std::string_view kStatements[] = {"sizeof", "if", "for", "do", "while", "catch", "switch", "return"};
  for (const std::string_view s : kStatements) {
    if (m_candidate.View() == s) return;
  }
  BoundedText<kMaxPath> item;
  item.Append(m_path.View());
  item.Append("::", 2);
  item.Append(m_candidate.View());
  Record(m_lines, m_list, m_nCandidateLine, 0, item.View(), kind, 0);
}

}  // namespace

void ParseOutlineJava(CEditDoc& doc, COutlineItemList& list) {
  LineWalk lines(doc);
  JavaOutline outline(lines, list);
  while (lines.Next()) outline.Line(lines.Text(), lines.Length(), lines.Index());
}
