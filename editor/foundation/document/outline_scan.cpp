#include "editor/foundation/document/outline_scan.h"

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/outline_items.h"
#include "editor/foundation/text/sjis_compare.h"

namespace outline_scan {

LineWalk::LineWalk(CEditDoc& doc)
    : m_doc(doc), m_pLine(doc.m_cDocLineMgr.GetFirstLine()), m_pPiece(doc.m_cLayoutMgr.GetLine(0)) {}

bool LineWalk::Next() {
  if (m_bStarted && m_pLine) {
    // Past the pieces of the line left; a line without pieces leaves the cursor where it is.
    while (m_pPiece && m_pPiece->m_pDocLine == m_pLine) {
      m_pPiece = m_pPiece->m_pNext;
      ++m_nPieceIndex;
    }
    m_pLine = m_pLine->m_pNext;
  }
  m_bStarted = true;
  if (!m_pLine) {
    m_pText = "";
    m_nLength = 0;
    return false;
  }
  ++m_nIndex;
  int len = 0;
  const char* text = m_pLine->GetText(&len);
  m_pText = text ? text : "";
  m_nLength = text ? len : 0;
  return true;
}

bool LineWalk::IsBookmarked() const { return m_pLine && m_pLine->IsBookmarked(); }

int LineWalk::DisplayLineOf(int nLineIndex, int nColumn) const {
  if (nLineIndex == m_nIndex && m_pLine && m_pPiece && m_pPiece->m_pDocLine == m_pLine) {
    // The piece that holds the column; a column beyond the line is in its last piece.
    const CWrapLine* piece = m_pPiece;
    int index = m_nPieceIndex;
    while (nColumn - piece->m_nOffset >= piece->m_nLength && piece->m_pNext && piece->m_pNext->m_pDocLine == m_pLine) {
      piece = piece->m_pNext;
      ++index;
    }
    return index;
  }
  int x = 0;
  int y = 0;
  m_doc.m_cLayoutMgr.DocToWrapPos(nColumn, nLineIndex, &x, &y);
  return y;
}

void Record(const LineWalk& lines, COutlineItemList& list, int nLineIndex, int nColumn, std::string_view name,
            int nKind, int nDepth) {
  list.Append(nLineIndex + 1, lines.DisplayLineOf(nLineIndex, nColumn) + 1, name, nKind, nDepth);
}

int StepCommentOrLiteral(const char* pText, int nLen, int pos, Lex& lex) {
  const auto* s = reinterpret_cast<const unsigned char*>(pText);
  if (lex == Lex::kBlockComment) {
    // "*" and "/" are below every second byte of a two-byte character: a byte search finds only
    // real ones.
    while (pos < nLen) {
      const void* star = std::memchr(pText + pos, '*', static_cast<size_t>(nLen - pos));
      if (!star) return nLen;
      pos = static_cast<int>(static_cast<const char*>(star) - pText) + 1;
      if (pos < nLen && s[pos] == '/') {
        lex = Lex::kNormal;
        return pos + 1;
      }
    }
    return nLen;
  }
  if (s[pos] == (lex == Lex::kCharLiteral ? '\'' : '"')) {
    lex = Lex::kNormal;
    return pos + 1;
  }
  if (s[pos] == '\\') return pos + 1 + SjisCharSize(s, nLen, pos + 1);
  return pos + SjisCharSize(s, nLen, pos);
}

int LengthWithoutLineEnd(const char* pText, int nLen) {
  while (nLen > 0 && IsLineEnd(static_cast<unsigned char>(pText[nLen - 1]))) --nLen;
  return nLen;
}

int SkipBlanksWide(const char* pText, int nLen, int pos) {
  const auto* s = reinterpret_cast<const unsigned char*>(pText);
  while (pos < nLen) {
    if (IsSpaceOrTab(s[pos])) {
      ++pos;
    } else if (pos + 1 < nLen && s[pos] == 0x81 && s[pos + 1] == 0x40) {
      pos += 2;
    } else {
      break;
    }
  }
  return pos;
}

bool EqualsICase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && SjisMemICmp(a.data(), b.data(), static_cast<int>(a.size())) == 0;
}

int LevelStack::DepthOf(std::string_view key) {
  // Keys are kept cut as the buffers cut them, so a long key finds itself again.
  key = key.substr(0, static_cast<size_t>(WholeCharsPrefixLength(key.data(), static_cast<int>(key.size()), kMaxKey)));
  for (int m = 0; m < m_nCount; ++m) {
    if (m_keys[m].View() == key) {
      m_nCount = m + 1;
      return m;
    }
  }
  if (m_nCount >= kMaxLevels) return -1;
  m_keys[m_nCount].Clear();
  m_keys[m_nCount].Append(key);
  return m_nCount++;
}

}  // namespace outline_scan
