// The bracket pair at the caret: finding the partner of a bracket by counting nesting over the
// document lines, remembering the pair, and drawing it highlighted or in its normal colours.
#include <algorithm>
#include <span>
#include <string_view>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/view/pane/color_items.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/pane_drawing.h"
#include "platform/dc_text.h"
#include "platform/sjis_literal.h"

namespace {

struct BracketPair {
  std::string_view open;
  std::string_view close;
};

const BracketPair kSingleByteBrackets[] = {
    {"(", ")"}, {"[", "]"}, {"{", "}"}, {"<", ">"}, {"｢"_sj, "｣"_sj},
};
const BracketPair kDoubleByteBrackets[] = {
    {"【"_sj, "】"_sj}, {"『"_sj, "』"_sj}, {"「"_sj, "」"_sj}, {"＜"_sj, "＞"_sj}, {"≪"_sj, "≫"_sj},
    {"《"_sj, "》"_sj}, {"（"_sj, "）"_sj}, {"〈"_sj, "〉"_sj}, {"｛"_sj, "｝"_sj}, {"〔"_sj, "〕"_sj},
    {"［"_sj, "］"_sj}, {"“"_sj, "”"_sj},   {"〝"_sj, "〟"_sj},
};

// The pair a character of size bytes belongs to, and whether it opens; no pair for any other.
struct BracketKind {
  const BracketPair* pair = nullptr;
  bool opens = false;
};
BracketKind ClassifyBracket(std::string_view ch) {
  const std::span<const BracketPair> table = ch.size() == 1 ? std::span<const BracketPair>(kSingleByteBrackets)
                                                            : std::span<const BracketPair>(kDoubleByteBrackets);
  for (const BracketPair& pair : table) {
    if (ch == pair.open) return {&pair, true};
    if (ch == pair.close) return {&pair, false};
  }
  return {};
}

const unsigned char* Bytes(const char* text) { return reinterpret_cast<const unsigned char*>(text); }

// The start of the character that ends at or covers pos (pos clamped to the text); -1 at the start.
int PreviousCharStart(const char* text, int len, int pos) {
  const int end = std::min(pos, len);
  return end <= 0 ? -1 : static_cast<int>(CMemory::PrevCharPos(text, len, text + end) - text);
}

bool IsCharStart(const char* text, int len, int pos) {
  return pos >= 0 && pos < len && CMemory::CharStartAt(text, len, pos) == pos;
}

// The colour item a painter state is drawn with, and whether it applies even while the item is
// not shown (comments and regular-expression keywords, as the painter draws them); TXT for states
// without one.
struct StateItem {
  int code = kColorText;
  bool always = false;
};
StateItem ItemOfState(int state) {
  if (state == CEditView::kStateLineComment || state == CEditView::kStateBlockComment1 ||
      state == CEditView::kStateBlockComment2)
    return {kColorComment, true};
  if (state >= CEditView::kStateRegexKeyword) {
    const int code = state - CEditView::kStateRegexKeyword;
    return code < kColorItemCount ? StateItem{code, true} : StateItem{};
  }
  const bool own = state == CEditView::kStateNormal || state == CEditView::kStateControl ||
                   (state >= CEditView::kStateNumber && state <= CEditView::kStateUrl) || state == kColorBracket;
  return own ? StateItem{state, false} : StateItem{};
}

}  // namespace

const char* CEditView::BracketDocLine(int nDocLine, int* pnLength) const {
  *pnLength = 0;
  if (!m_pcEditDoc) return nullptr;
  const char* text = m_pcEditDoc->m_cDocLineMgr.GetLineTextNoLineEnd(nDocLine, pnLength);
  if (!text) *pnLength = 0;
  return text;
}

bool CEditView::IsBracketChar(const char* pLine, int nOffset, int* pnSize) const {
  if (!pLine || nOffset < 0) return false;
  const int size = SjisCharSizeZ(pLine + nOffset);
  if (pnSize) *pnSize = size;
  return size > 0 && ClassifyBracket(std::string_view(pLine + nOffset, static_cast<size_t>(size))).pair != nullptr;
}

int CEditView::SearchBracketPartner(int nDocLine, int nOffset, int nLine, bool bWholeDocument, int* pnDocColumn,
                                    int* pnDocLine) {
  int len = 0;
  const char* text = BracketDocLine(nDocLine, &len);
  if (!text || nOffset < 0 || nOffset >= len) return -1;
  const int size = SjisCharSize(Bytes(text), len, nOffset);
  const BracketKind kind = ClassifyBracket(std::string_view(text + nOffset, static_cast<size_t>(size)));
  if (!kind.pair) return -1;
  m_nCharSize = size;
  const int lineCount = m_pcEditDoc->m_cDocLineMgr.GetLineCount();
  // Without the whole document, as many further lines as display rows remain in that direction.
  int linesLeft = kind.opens ? m_nViewTopLine + m_nViewRowNum - nLine : nLine - m_nViewTopLine;
  auto matches = [&](const char* line, int lineLength, int pos, int* depth) {
    if (SjisCharSize(Bytes(line), lineLength, pos) != size) return false;
    const std::string_view ch(line + pos, static_cast<size_t>(size));
    if (ch == kind.pair->open) *depth += kind.opens ? 1 : -1;
    if (ch == kind.pair->close) *depth += kind.opens ? -1 : 1;
    return *depth == 0;
  };

  int depth = kind.opens ? 0 : 1;
  int docLine = nDocLine;
  for (;;) {
    int lineLength = 0;
    const char* line = BracketDocLine(docLine, &lineLength);
    if (kind.opens) {
      for (int p = docLine == nDocLine ? nOffset : 0; p < lineLength; p += SjisCharSize(Bytes(line), lineLength, p)) {
        if (!matches(line, lineLength, p, &depth)) continue;
        *pnDocColumn = p;
        *pnDocLine = docLine;
        return 1;
      }
    } else {
      for (int p = PreviousCharStart(line, lineLength, docLine == nDocLine ? nOffset : lineLength); p >= 0;
           p = PreviousCharStart(line, lineLength, p)) {
        if (!matches(line, lineLength, p, &depth)) continue;
        *pnDocColumn = p;
        *pnDocLine = docLine;
        return 1;
      }
    }
    if (!bWholeDocument && --linesLeft < 0) return 0;
    docLine += kind.opens ? 1 : -1;
    if (docLine < 0 || docLine >= lineCount) return 0;
  }
}

bool CEditView::FindMatchingBracket(int nColumn, int nLine, int* pnColumnOut, int* pnLineOut, int* pnFlags) {
  if (!m_pcEditDoc || !pnColumnOut || !pnLineOut) return false;
  int flags = pnFlags ? (*pnFlags & ~4) : 0;
  int docColumn = 0;
  int docLine = 0;
  Layout().WrapToDocPos(nColumn, nLine, &docColumn, &docLine);
  const bool wholeDocument = (flags & 1) != 0;
  int partnerColumn = 0;
  int partnerLine = 0;
  int found = SearchBracketPartner(docLine, docColumn, nLine, wholeDocument, &partnerColumn, &partnerLine);
  if (found < 0 && (flags & 2)) {
    flags |= 4;
    int len = 0;
    const char* text = BracketDocLine(docLine, &len);
    const int before = text ? PreviousCharStart(text, len, docColumn) : -1;
    if (before >= 0) found = SearchBracketPartner(docLine, before, nLine, wholeDocument, &partnerColumn, &partnerLine);
  }
  if (pnFlags) *pnFlags = flags;
  if (found <= 0) return false;
  Layout().DocToWrapPos(partnerColumn, partnerLine, pnColumnOut, pnLineOut);
  return true;
}

void CEditView::UpdateBracketPair(bool bSearch) {
  if (m_bDoing_UndoRedo || !m_bDrawSWITCH || !ColorOf(kColorBracket).bShow) return;
  m_nBracketCaretPosX_PHY = m_nBracketCaretPosY_PHY = -1;
  m_nBracketPairPosX_PHY = m_nBracketPairPosY_PHY = -1;
  if (!bSearch || !m_pcEditDoc || IsTextSelected() || m_bDrawSelectArea || m_bBeginBoxSelect) return;
  int flags = 2;
  int column = 0;
  int line = 0;
  if (!FindMatchingBracket(m_nCaretPosX, m_nCaretPosY, &column, &line, &flags)) return;
  if (column < m_nViewLeftCol || column >= m_nViewLeftCol + m_nViewColNum || line < m_nViewTopLine ||
      line >= m_nViewTopLine + m_nViewRowNum)
    return;
  int caretColumn = 0;
  int caretLine = 0;
  Layout().WrapToDocPos(m_nCaretPosX, m_nCaretPosY, &caretColumn, &caretLine);
  if (flags & 4) {
    int len = 0;
    const char* text = BracketDocLine(caretLine, &len);
    caretColumn = text ? PreviousCharStart(text, len, caretColumn) : -1;
    if (caretColumn < 0) return;
  }
  Layout().WrapToDocPos(column, line, &m_nBracketPairPosX_PHY, &m_nBracketPairPosY_PHY);
  m_nBracketCaretPosX_PHY = caretColumn;
  m_nBracketCaretPosY_PHY = caretLine;
}

void CEditView::DrawBracketHighlight(bool bDraw) {
  if (m_bDoing_UndoRedo || !m_bDrawSWITCH || !ColorOf(kColorBracket).bShow) return;
  if (m_nBracketPairPosY_PHY < 0 || m_nBracketCaretPosY_PHY < 0) return;
  if (IsTextSelected() || m_bDrawSelectArea || m_bBeginBoxSelect || !m_bFocused || !IsActivePane()) return;
  HDC hdc = GetViewDC();
  if (!hdc || !m_pcEditDoc) return;
  const POINT positions[2] = {{m_nBracketPairPosX_PHY, m_nBracketPairPosY_PHY},
                              {m_nBracketCaretPosX_PHY, m_nBracketCaretPosY_PHY}};
  for (const POINT& pos : positions) {
    int column = 0;
    int line = 0;
    Layout().DocToWrapPos(pos.x, pos.y, &column, &line);
    if (column < m_nViewLeftCol || column >= m_nViewLeftCol + m_nViewColNum || line < m_nViewTopLine ||
        line >= m_nViewTopLine + m_nViewRowNum)
      continue;
    // The text may have changed since the pair was found: a position that no longer holds a
    // bracket ends the pair.
    int len = 0;
    const char* text = BracketDocLine(pos.y, &len);
    int size = 0;
    if (!text || !IsCharStart(text, len, pos.x) || !IsBracketChar(text, pos.x, &size) || pos.x + size > len) {
      m_nBracketCaretPosX_PHY = m_nBracketCaretPosY_PHY = -1;
      m_nBracketPairPosX_PHY = m_nBracketPairPosY_PHY = -1;
      return;
    }
    int state = kColorBracket;
    if (!bDraw) {
      const CWrapLine* piece = Layout().GetLine(line);
      state = GetColorStateAt(hdc, line, pos.x - (piece ? piece->m_nOffset : 0));
    }
    const StateItem item = ItemOfState(state);
    const bool caretOnCell =
        m_bCaretShowFlag && line == m_nCaretPosY && m_nCaretPosX >= column && m_nCaretPosX < column + size;
    if (caretOnCell) HideCaretOnce();
    DrawBracketCell(hdc, column, line, text + pos.x, size, item.code, item.always);
    if (caretOnCell) ShowCaretOnce();
    if (line == m_nCaretPosY || line == m_nCaretPosY + 1) m_cUnderLine.Show(true);
  }
}

void CEditView::DrawBracketCell(HDC hdc, int nColumn, int nLine, const char* pBytes, int nSize, int nColorCode,
                                bool bAlways) {
  const ColorItem& base = ColorOf(kColorText);
  const ColorItem& over = ColorOf(nColorCode);
  const ColorItem& chosen = over.bShow || bAlways ? over : base;
  const int columnWidth = ColumnWidth();
  const int x = ColumnX(nColumn);
  const int y = LineY(nLine);
  const RECT cell{x, y, std::min(x + nSize * columnWidth, m_nViewAlignLeft + m_nViewCx), y + LineHeight()};
  pane_drawing::FillBox(hdc, cell.left, cell.top, cell.right, cell.bottom, chosen.colBack);
  if (const platform::Font* font = GetFontFor(chosen.bBold != 0, chosen.bUnderline != 0)) {
    const platform::Font* oldFont = platform::SelectFont(hdc, font);
    const COLORREF oldText = platform::SetTextColor(hdc, chosen.colText);
    const int oldMode = platform::SetBkMode(hdc, platform::TRANSPARENT);
    platform::ExtTextOutA(hdc, x, y, platform::ETO_CLIPPED, &cell, pBytes, static_cast<UINT>(nSize), columnWidth);
    platform::SetBkMode(hdc, oldMode);
    platform::SetTextColor(hdc, oldText);
    platform::SelectFont(hdc, oldFont);
  }
  FlushImage(&cell);
}
