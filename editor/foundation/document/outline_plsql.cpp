// The PL/SQL outline: functions, procedures and packages, declared or defined.
#include <string_view>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/outline_items.h"
#include "editor/foundation/document/outline_parsers.h"
#include "editor/foundation/document/outline_scan.h"

using namespace outline_scan;

namespace {

constexpr int kMaxWord = 70;

class PlsqlOutline {
 public:
  PlsqlOutline(const LineWalk& lines, COutlineItemList& list) : m_lines(lines), m_list(list) {}
  void Line(const char* text, int len, int line);

 private:
  enum Lex { kNormal, kBlockComment, kString, kSkipWord };
  enum Keyword { kNone, kFunction, kProcedure, kPackage, kPackageBody };
  enum Stage { kAtRest, kAfterKeyword, kAfterName };

  void Word(std::string_view word, int line);

  const LineWalk& m_lines;
  COutlineItemList& m_list;
  Lex m_lex = kNormal;
  BoundedText<kMaxWord> m_word;
  bool m_bInWord = false;
  int m_nWordLine = 0;

  Stage m_stage = kAtRest;
  Keyword m_keyword = kNone;
  int m_nKeywordLine = 0;
  BoundedText<kMaxWord> m_name;
};

bool IsWordStart(const unsigned char* s, int len, int pos) {
  const unsigned char c = s[pos];
  return IsAsciiAlnum(c) || c == '_' || c == '~' || SjisCharSize(s, len, pos) == 2;
}

void PlsqlOutline::Line(const char* text, int len, int line) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  int pos = 0;
  auto endWord = [&] {
    if (m_bInWord) Word(m_word.View(), m_nWordLine);
    m_bInWord = false;
  };
  while (pos < len) {
    const unsigned char c = s[pos];
    const int size = SjisCharSize(s, len, pos);
    if (m_lex == kBlockComment) {
      if (c == '*' && pos + 1 < len && s[pos + 1] == '/') {
        m_lex = kNormal;
        ++pos;
      }
      pos += size;
      continue;
    }
    if (m_lex == kString) {
      // Two quotes inside a string stand for one: the string ends and the next starts at once.
      if (c == '\'') m_lex = kNormal;
      pos += size;
      continue;
    }
    if (IsWordStart(s, len, pos)) {
      if (m_lex == kSkipWord) {
        pos += size;
        continue;
      }
      if (!m_bInWord) {
        m_bInWord = true;
        m_word.Clear();
        m_nWordLine = line;
      }
      if (!m_word.Fits(size)) {
        m_bInWord = false;
        m_lex = kSkipWord;
      } else {
        m_word.Append(text + pos, size);
      }
      pos += size;
      continue;
    }
    if (m_lex == kSkipWord) m_lex = kNormal;
    endWord();
    if (c == '-' && pos + 1 < len && s[pos + 1] == '-') break;
    if (c == '/' && pos + 1 < len && s[pos + 1] == '*') {
      m_lex = kBlockComment;
      pos += 2;
      continue;
    }
    if (c == '\'') {
      m_lex = kString;
    } else if (c == ';') {
      if (m_stage == kAfterName && (m_keyword == kFunction || m_keyword == kProcedure)) {
        const int kind = m_keyword == kFunction ? outline_kind::kPlsqlFunctionDecl : outline_kind::kPlsqlProcedureDecl;
        Record(m_lines, m_list, m_nKeywordLine, 0, m_name.View(), kind, 0);
      }
      m_stage = kAtRest;
      m_keyword = kNone;
    }
    ++pos;
  }
  endWord();
  if (m_lex == kSkipWord) m_lex = kNormal;
}

void PlsqlOutline::Word(std::string_view word, int line) {
  switch (m_stage) {
    case kAtRest:
      if (EqualsICase(word, "FUNCTION")) {
        m_keyword = kFunction;
      } else if (EqualsICase(word, "PROCEDURE")) {
        m_keyword = kProcedure;
      } else if (EqualsICase(word, "PACKAGE")) {
        m_keyword = kPackage;
      } else {
        return;
      }
      m_nKeywordLine = line;
      m_stage = kAfterKeyword;
      return;
    case kAfterKeyword:
      if (m_keyword == kPackage && EqualsICase(word, "BODY")) {
        m_keyword = kPackageBody;
        return;
      }
      m_name.Clear();
      m_name.Append(word);
      m_stage = kAfterName;
      return;
    case kAfterName: {
      const bool package = m_keyword == kPackage || m_keyword == kPackageBody;
      if (!EqualsICase(word, "IS") && !(package && EqualsICase(word, "AS"))) return;
      static constexpr int kKinds[] = {0, outline_kind::kPlsqlFunction, outline_kind::kPlsqlProcedure,
                                       outline_kind::kPlsqlPackageSpec, outline_kind::kPlsqlPackageBody};
      Record(m_lines, m_list, m_nKeywordLine, 0, m_name.View(), kKinds[m_keyword], 0);
      m_stage = kAtRest;
      m_keyword = kNone;
      return;
    }
  }
}

}  // namespace

void ParseOutlinePlsql(CEditDoc& doc, COutlineItemList& list) {
  LineWalk lines(doc);
  PlsqlOutline outline(lines, list);
  while (lines.Next()) outline.Line(lines.Text(), lines.Length(), lines.Index());
}
