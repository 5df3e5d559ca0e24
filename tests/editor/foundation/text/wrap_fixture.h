// Wrapping settings for tests and the display lines read back as plain records.
#pragma once

#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "editor/foundation/settings/shared_settings.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "platform/sjis_literal.h"
#include "tests/editor/foundation/text/doc_text.h"

// The settings a type may give the wrapping, all off unless set.
struct WrapRules {
  int wrap = 10;
  int tab = 4;
  bool word = false;
  bool head = false;
  bool tail = false;
  bool ret = false;
  bool kuto = false;
  const char* headChars = "";
  const char* tailChars = "";
  int indent = 0;  // nIndentLayout
  bool zenSpace = false;
  const char* indentChars = "";
  bool comments = false;
  bool singleQuotes = false;
  bool doubleQuotes = false;
  int escape = 0;
  const char* lineComment = nullptr;
  int lineCommentColumn = -1;
  const char* blockStart = nullptr;
  const char* blockEnd = nullptr;
  const char* blockStart2 = nullptr;
  const char* blockEnd2 = nullptr;
};

inline void CopyText(char* field, size_t size, const char* text) {
  std::string s(text);
  s.resize(std::min(s.size(), size - 1));
  std::copy(s.begin(), s.end(), field);
  field[s.size()] = 0;
}

inline std::unique_ptr<TypeSettings> MakeType(const WrapRules& r) {
  auto t = std::make_unique<TypeSettings>();
  t->nWrapColumn = r.wrap;
  t->nTabWidth = r.tab;
  t->bEnglishWordWrap = r.word;
  t->bKinsokuHead = r.head;
  t->bKinsokuTail = r.tail;
  t->bKinsokuRet = r.ret;
  t->bKinsokuKuto = r.kuto;
  CopyText(t->szKinsokuHead, sizeof t->szKinsokuHead, r.headChars);
  CopyText(t->szKinsokuTail, sizeof t->szKinsokuTail, r.tailChars);
  t->nIndentLayout = r.indent;
  t->bAutoIndent_ZENSPACE = r.zenSpace;
  CopyText(t->szIndentChars, sizeof t->szIndentChars, r.indentChars);
  t->Colors[CWrapLineMgr::COLOR_LINE_COMMENT].bShow = r.comments;
  t->Colors[CWrapLineMgr::COLOR_SINGLE_QUOTE].bShow = r.singleQuotes;
  t->Colors[CWrapLineMgr::COLOR_DOUBLE_QUOTE].bShow = r.doubleQuotes;
  t->nQuoteEscape = r.escape;
  if (r.lineComment) t->LineComments.Set(0, r.lineComment, r.lineCommentColumn);
  if (r.blockStart) t->BlockComments.SetPair(0, r.blockStart, r.blockEnd);
  if (r.blockStart2) t->BlockComments.SetPair(1, r.blockStart2, r.blockEnd2);
  return t;
}

// One display line as the lookups give it.
struct PieceRecord {
  int doc = 0;
  int offset = 0;
  int length = 0;
  int indent = 0;
  int state = 0;
  int eol = 0;
  bool operator==(const PieceRecord&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const PieceRecord& p) {
  return os << "{doc " << p.doc << " @" << p.offset << "+" << p.length << " indent " << p.indent << " state "
            << p.state << " eol " << p.eol << "}";
}

inline std::vector<PieceRecord> Pieces(CWrapLineMgr& mgr) {
  std::vector<PieceRecord> v;
  for (int i = 0; i < mgr.GetLineCount(); ++i) {
    int doc = -1;
    const CWrapLine* line = mgr.GetLine(i, &doc);
    v.push_back({doc, line->m_nOffset, line->m_nLength, line->m_nIndent, line->m_nColorState,
                 line->m_cLineEnd.GetCode()});
  }
  return v;
}

inline std::vector<std::string> PieceTexts(CWrapLineMgr& mgr) {
  std::vector<std::string> v;
  for (int i = 0; i < mgr.GetLineCount(); ++i) {
    int len = 0;
    const char* p = mgr.GetLineText(i, &len);
    v.emplace_back(p ? p : "", len);
  }
  return v;
}

// A document wrapped from scratch.
struct Wrapped {
  CDocLineMgr doc;
  CWrapLineMgr wrap;
  Wrapped(const std::string& text, const WrapRules& rules) {
    LoadDocText(doc, text);
    wrap.Attach(&doc);
    wrap.SetWrapSettings(true, nullptr, *MakeType(rules));
  }
};

// Any settings, widths below the usual ones and tabs wider than the width among them.
inline WrapRules RandomWrapRules(std::mt19937& rng) {
  auto in = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
  auto coin = [&] { return in(0, 1) == 1; };
  WrapRules r;
  r.wrap = in(0, 4) == 0 ? in(1, 12) : in(10, 90);
  r.tab = in(1, 24);
  r.word = coin();
  r.head = coin();
  r.tail = coin();
  r.ret = coin();
  r.kuto = coin();
  static const char* const heads[] = {"", "」。、)"_sj, "。,.」"_sj, ")"};
  static const char* const tails[] = {"", "「("_sj, "("};
  r.headChars = heads[in(0, 3)];
  r.tailChars = tails[in(0, 2)];
  r.indent = in(0, 2);
  r.zenSpace = coin();
  r.indentChars = coin() ? "*#" : "";
  r.comments = coin();
  r.singleQuotes = coin();
  r.doubleQuotes = coin();
  r.escape = in(0, 2);
  static const char* const lineComments[] = {nullptr, "//", "#", "rem"};
  r.lineComment = lineComments[in(0, 3)];
  r.lineCommentColumn = coin() ? -1 : 0;
  if (coin()) {
    r.blockStart = "/*";
    r.blockEnd = "*/";
  }
  if (coin()) {
    r.blockStart2 = "{";
    r.blockEnd2 = "}";
  }
  return r;
}

// Shift-JIS text made of what the rules react to, with line ends of every kind.
inline std::string RandomWrapText(std::mt19937& rng, int maxAtoms) {
  static const std::vector<std::string> atoms = {
      "a",      "Zq",     "0",      "_",      " ",      "  ",     "\t",    "\"",     "'",      "\\",    "/",
      "*",      "{",      "}",      "#",      "abc",    "word_9", "/*",     "*/",     "//",     "rem",    "x\"y\"",
      "あ"_sj,  "表"_sj,  "」"_sj,  "「"_sj,  "。"_sj,  "、"_sj,  ",",      ".",      "ｱ"_sj,   "　"_sj,  "\x95",
      "漢字かな交じり"_sj, "longidentifier_with_digits_0123", "abcあ」"_sj, "x。"_sj, "「y"_sj, "\\\"", "\"\"",
      "''",     "(",      ")",      "\r\n",   "\n",     "\r",     "\n\r",   "\r\n",
  };
  std::uniform_int_distribution<int> count(0, maxAtoms);
  std::uniform_int_distribution<size_t> pick(0, atoms.size() - 1);
  std::string s;
  for (int n = count(rng); n > 0; --n) s += atoms[pick(rng)];
  return s;
}
