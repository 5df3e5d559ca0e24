#include "editor/view/pane/color_state_walker.h"

#include "editor/foundation/document/regex_highlighter.h"
#include "editor/foundation/settings/keyword_set_table.h"
#include "editor/foundation/settings/shared_settings.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/text_scanners.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/view/pane/edit_view.h"

// The states of numbers, keywords, comments, strings, URLs and control codes are drawn with the
// colour item of the same code, whose shown flag switches them on.
namespace {
constexpr int kItemComment = CEditView::kStateLineComment;
}  // namespace

bool CColorStateWalker::IsKeywordChar(unsigned char c) {
  return c == '#' || c == '$' || (c >= '0' && c <= '9') || c == '@' || (c >= 'A' && c <= 'Z') || c == '\\' ||
         c == '_' || (c >= 'a' && c <= 'z');
}

bool CColorStateWalker::IsControlByte(unsigned char c) {
  return c != '\t' && c != '\n' && c != '\r' && !(c >= 0x20 && c <= 0x7E) && !IsHalfwidthKana(c);
}

void CColorStateWalker::BeginLine(const char* line, int lineLength, int textLength, int state) {
  m_pLine = line;
  m_nLineLength = line ? lineLength : 0;
  m_nTextLength = line ? textLength : 0;
  m_nState = state;
  m_nTokenEnd = -1;
  m_nSavedState = CEditView::kStateNormal;
  m_nSavedEnd = -1;
  m_bWordStart = true;
  m_bOverlay = false;
  m_nHitStart = -1;
  m_nHitEnd = -1;
  m_bMoreHits = true;
  if (m_src.regexKeywords) m_src.regexKeywords->BeginLine();
}

int CColorStateWalker::DrawState() const { return m_bOverlay ? CEditView::kStateFound : m_nState; }

int CColorStateWalker::CharSize(int pos) const {
  const int size = SjisCharSize(reinterpret_cast<const unsigned char*>(m_pLine), m_nTextLength, pos);
  return size > 0 ? size : 1;
}

void CColorStateWalker::Visit(int pos) {
  if (m_src.searchHits) Overlay(pos);
  if (pos >= m_nTextLength) return;
  TokenRules(pos);
  const auto c = static_cast<unsigned char>(m_pLine[pos]);
  if (m_nState != CEditView::kStateControl && !m_bOverlay && m_src.type->Colors[CEditView::kStateControl].bShow &&
      IsControlByte(c) && CharSize(pos) == 1) {
    m_nSavedState = m_nState;
    m_nSavedEnd = m_nTokenEnd;
    m_nState = CEditView::kStateControl;
  }
}

bool CColorStateWalker::FindHit(int pos) {
  if (!m_bMoreHits) return false;
  int start = -1;
  int end = -1;
  if (m_src.regexSearch) {
    // A hit found ahead is kept until the walk reaches it; once the engine finds none, the rest of
    // the line is not searched again.
    if (m_nHitStart < pos) {
      if (!m_src.searchHits->FindNextSearchHit(m_pLine, m_nLineLength, pos, &start, &end)) {
        m_bMoreHits = false;
        return false;
      }
      m_nHitStart = start;
      m_nHitEnd = end;
    }
  } else if (m_src.searchHits->FindNextSearchHit(m_pLine, m_nLineLength, pos, &start, &end)) {
    m_nHitStart = start;
    m_nHitEnd = end;
  } else {
    return false;
  }
  // A hit of no bytes would end where it begins and be found there again: it starts nothing.
  return m_nHitStart == pos && m_nHitEnd > pos;
}

void CColorStateWalker::Overlay(int pos) {
  if (m_bOverlay) {
    if (pos < m_nHitEnd) return;
    m_bOverlay = false;
  }
  // Straight on: a hit that starts where the last one ended joins it.
  if (FindHit(pos)) m_bOverlay = true;
}

void CColorStateWalker::TokenRules(int pos) {
  const TypeSettings& type = *m_src.type;
  switch (m_nState) {
    case CEditView::kStateNormal:
      NormalChecks(pos);
      return;
    case CEditView::kStateControl:
      if (IsControlByte(static_cast<unsigned char>(m_pLine[pos])) && CharSize(pos) == 1) return;
      m_nState = m_nSavedState;
      m_nTokenEnd = m_nSavedEnd;
      // The byte after the control run is examined again in the state it interrupted.
      if (m_nState != CEditView::kStateControl) TokenRules(pos);
      return;
    case CEditView::kStateLineComment:
      return;
    case CEditView::kStateSingleQuote:
    case CEditView::kStateDoubleQuote:
      if (m_nTokenEnd < 0) {
        const char quote = m_nState == CEditView::kStateSingleQuote ? '\'' : '"';
        m_nTokenEnd = m_src.layout->FindQuoteEnd(quote, pos, m_nLineLength, m_pLine);
      }
      break;
    case CEditView::kStateBlockComment1:
    case CEditView::kStateBlockComment2:
      if (m_nTokenEnd < 0) {
        const int pair = m_nState == CEditView::kStateBlockComment1 ? 0 : 1;
        m_nTokenEnd = type.BlockComments.FindEnd(pair, pos, m_nLineLength, m_pLine);
      }
      break;
    default:
      break;
  }
  // Tokens end at their end; a state without a known end (none recorded) ends here too rather
  // than colouring the rest of the line.
  if (pos >= m_nTokenEnd) {
    m_nState = CEditView::kStateNormal;
    m_nTokenEnd = -1;
    NormalChecks(pos);
  }
}

int CColorStateWalker::WordLength(int pos) const {
  int end = pos;
  while (end < m_nTextLength && IsKeywordChar(static_cast<unsigned char>(m_pLine[end]))) ++end;
  return end - pos;
}

int CColorStateWalker::KeywordState(int pos) {
  const TypeSettings& type = *m_src.type;
  if (!m_src.keywords || type.nKeywordSelect[0] == -1 || !type.Colors[CEditView::kStateKeyword1].bShow) return 0;
  const int length = WordLength(pos);
  if (length == 0) return 0;
  const char* word = m_pLine + pos;
  if (m_src.keywords->Find(type.nKeywordSelect[0], word, length) >= 0) return CEditView::kStateKeyword1;
  for (int set = 1; set < kKeywordColorCount; ++set) {
    if (type.nKeywordSelect[set] == -1) break;
    if (!type.Colors[CEditView::kStateKeyword1 + set].bShow) continue;
    if (m_src.keywords->Find(type.nKeywordSelect[set], word, length) >= 0) return CEditView::kStateKeyword1 + set;
  }
  return 0;
}

void CColorStateWalker::NormalChecks(int pos) {
  const TypeSettings& type = *m_src.type;
  const auto c = static_cast<unsigned char>(m_pLine[pos]);
  const bool wordStart = m_bWordStart;
  m_bWordStart = !IsKeywordChar(c);

  int length = 0;
  int code = 0;
  if (m_src.regexKeywords && m_src.regexKeywords->MatchAt(m_pLine, pos, m_nLineLength, &length, &code) && length > 0) {
    m_nState = CEditView::kStateRegexKeyword + code;
    m_nTokenEnd = pos + length;
    return;
  }
  if (type.Colors[kItemComment].bShow) {
    if (type.LineComments.MatchAt(pos, m_nLineLength, m_pLine)) {
      m_nState = CEditView::kStateLineComment;
      return;
    }
    for (int pair = 0; pair < CCommentDelimiters::kPairs; ++pair) {
      if (type.BlockComments.MatchStart(pair, pos, m_nLineLength, m_pLine)) {
        m_nState = pair == 0 ? CEditView::kStateBlockComment1 : CEditView::kStateBlockComment2;
        m_nTokenEnd =
            type.BlockComments.FindEnd(pair, pos + type.BlockComments.GetStartLength(pair), m_nLineLength, m_pLine);
        return;
      }
    }
  }
  if (c == '\'' && type.Colors[CEditView::kStateSingleQuote].bShow) {
    m_nState = CEditView::kStateSingleQuote;
    m_nTokenEnd = m_src.layout->FindQuoteEnd('\'', pos + 1, m_nLineLength, m_pLine);
    return;
  }
  if (c == '"' && type.Colors[CEditView::kStateDoubleQuote].bShow) {
    m_nState = CEditView::kStateDoubleQuote;
    m_nTokenEnd = m_src.layout->FindQuoteEnd('"', pos + 1, m_nLineLength, m_pLine);
    return;
  }
  if (!wordStart) return;
  if (type.Colors[CEditView::kStateUrl].bShow && IsURLAt(m_pLine + pos, m_nTextLength - pos, &length) && length > 0) {
    m_nState = CEditView::kStateUrl;
    m_nTokenEnd = pos + length;
    return;
  }
  if (type.Colors[CEditView::kStateNumber].bShow &&
      (length = GetNumberLiteralLength(m_pLine, pos, m_nTextLength)) > 0) {
    m_nState = CEditView::kStateNumber;
    m_nTokenEnd = pos + length;
    return;
  }
  if (IsKeywordChar(c)) {
    const int keyword = KeywordState(pos);
    if (keyword != 0) {
      m_nState = keyword;
      m_nTokenEnd = pos + WordLength(pos);
    }
  }
}
