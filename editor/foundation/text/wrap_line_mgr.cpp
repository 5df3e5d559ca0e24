// The list of display lines: building it, looking pieces up (with the document line each belongs
// to) and converting positions between document and display terms.
#include "editor/foundation/text/wrap_line_mgr.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/sjis_char.h"

namespace {

// Document lines from a to b (b after a), following the links: 1 for neighbours. Lines without
// pieces between two pieces' lines count too.
int DocLinesBetween(const CDocLine* a, const CDocLine* b) {
  int steps = 1;
  for (const CDocLine* line = a->m_pNext; line && line != b; line = line->m_pNext) ++steps;
  return steps;
}

// The document index of piece `to`, a neighbour of piece `from` whose index is known.
int DocAfter(const CWrapLine* from, const CWrapLine* to, int doc) {
  return to->m_pDocLine == from->m_pDocLine ? doc : doc + DocLinesBetween(from->m_pDocLine, to->m_pDocLine);
}
int DocBefore(const CWrapLine* from, const CWrapLine* to, int doc) {
  return to->m_pDocLine == from->m_pDocLine ? doc : doc - DocLinesBetween(to->m_pDocLine, from->m_pDocLine);
}

}  // namespace

const char* CWrapLine::GetText() const {
  const char* text = m_pDocLine ? m_pDocLine->GetText(nullptr) : nullptr;
  return text ? text + m_nOffset : nullptr;
}

CWrapLineMgr::CWrapLineMgr() { RebuildByteClasses(); }

CWrapLineMgr::~CWrapLineMgr() { FreeAllLines(); }

void CWrapLineMgr::Attach(CDocLineMgr* pDocLineMgr) {
  FreeAllLines();
  ResetList();
  m_pDocLineMgr = pDocLineMgr;
}

// ---- List --------------------------------------------------------------------------------------

void CWrapLineMgr::ResetList() {
  m_pFirst = m_pLast = nullptr;
  m_nLines = 0;
  m_nEndColorState = COLOR_NORMAL;
  ClearCache();
}

void CWrapLineMgr::FreeAllLines() {
  if (!m_pool.FreeAll()) {
    for (CWrapLine* line = m_pFirst; line;) {
      CWrapLine* next = line->m_pNext;
      m_pool.Give(line);
      line = next;
    }
  }
  m_pFirst = m_pLast = nullptr;
  m_nLines = 0;
  ClearCache();
}

CWrapLine* CWrapLineMgr::CreateLine(CDocLine* pDocLine, int nOffset, int nLength, int nColorState, int nIndent) {
  CWrapLine* line = new (m_pool.Take()) CWrapLine();
  line->m_pDocLine = pDocLine;
  line->m_nOffset = nOffset;
  line->m_nLength = nLength;
  line->m_nIndent = nIndent;
  line->m_nColorState = nColorState;
  if (pDocLine && nOffset + nLength > pDocLine->GetLengthWithoutEol()) line->m_cLineEnd = pDocLine->m_cLineEnd;
  return line;
}

void CWrapLineMgr::LinkAfter(CWrapLine* pAfter, CWrapLine* pLine) {
  CWrapLine* next = pAfter ? pAfter->m_pNext : m_pFirst;
  pLine->m_pPrev = pAfter;
  pLine->m_pNext = next;
  if (pAfter) {
    pAfter->m_pNext = pLine;
  } else {
    m_pFirst = pLine;
  }
  if (next) {
    next->m_pPrev = pLine;
  } else {
    m_pLast = pLine;
  }
  ++m_nLines;
}

CWrapLine* CWrapLineMgr::RemoveLine(CWrapLine* pLine) {
  CWrapLine* next = pLine->m_pNext;
  if (pLine->m_pPrev) {
    pLine->m_pPrev->m_pNext = next;
  } else {
    m_pFirst = next;
  }
  if (next) {
    next->m_pPrev = pLine->m_pPrev;
  } else {
    m_pLast = pLine->m_pPrev;
  }
  m_pool.Give(pLine);
  --m_nLines;
  return next;
}

void CWrapLineMgr::AppendLine(CWrapLine* pLine) { LinkAfter(m_pLast, pLine); }

void CWrapLineMgr::InsertLineAfter(CWrapLine* pAfter, CWrapLine* pLine) {
  LinkAfter(pAfter, pLine);
  ClearCache();
}

// ---- Lookups -----------------------------------------------------------------------------------

void CWrapLineMgr::SetCache(CWrapLine* pLine, int nIndex, int nDocLine) {
  m_pCache = pLine;
  m_nCacheIndex = pLine ? nIndex : 0;
  m_nCacheDoc = pLine ? nDocLine : 0;
}

void CWrapLineMgr::ClearCache() { SetCache(nullptr, 0, 0); }

int CWrapLineMgr::HeadDocIndex() const {
  int doc = 0;
  for (const CDocLine* line = m_pDocLineMgr->GetFirstLine(); line && line != m_pFirst->m_pDocLine;
       line = line->m_pNext) {
    ++doc;
  }
  return doc;
}

int CWrapLineMgr::TailDocIndex() const {
  int doc = m_pDocLineMgr->GetLineCount() - 1;
  for (const CDocLine* line = m_pDocLineMgr->GetLastLine(); line && line != m_pLast->m_pDocLine;
       line = line->m_pPrev) {
    --doc;
  }
  return doc;
}

CWrapLine* CWrapLineMgr::Seek(int nIndex, int* pnDocLine) {
  if (nIndex < 0 || nIndex >= m_nLines) return nullptr;
  CWrapLine* line;
  int index;
  int doc;
  const int fromCache = m_pCache ? std::abs(nIndex - m_nCacheIndex) : INT_MAX;
  if (fromCache <= nIndex && fromCache <= m_nLines - nIndex) {
    line = m_pCache;
    index = m_nCacheIndex;
    doc = m_nCacheDoc;
  } else if (nIndex < m_nLines / 2) {
    line = m_pFirst;
    index = 0;
    doc = HeadDocIndex();
  } else {
    line = m_pLast;
    index = m_nLines - 1;
    doc = TailDocIndex();
  }
  for (; index < nIndex; ++index) {
    doc = DocAfter(line, line->m_pNext, doc);
    line = line->m_pNext;
  }
  for (; index > nIndex; --index) {
    doc = DocBefore(line, line->m_pPrev, doc);
    line = line->m_pPrev;
  }
  SetCache(line, index, doc);
  if (pnDocLine) *pnDocLine = doc;
  return line;
}

CWrapLine* CWrapLineMgr::FindFirstPiece(int nDocLine, int* pnIndex) {
  if (pnIndex) *pnIndex = m_nLines;
  if (!m_pFirst || !m_pDocLineMgr || nDocLine < 0 || nDocLine >= m_pDocLineMgr->GetLineCount()) return nullptr;
  // Start from whichever known piece is nearest in document lines.
  CWrapLine* line = m_pFirst;
  int index = 0;
  int doc = HeadDocIndex();
  const int tailDoc = TailDocIndex();
  if (std::abs(tailDoc - nDocLine) < std::abs(doc - nDocLine)) {
    line = m_pLast;
    index = m_nLines - 1;
    doc = tailDoc;
  }
  if (m_pCache && std::abs(m_nCacheDoc - nDocLine) < std::abs(doc - nDocLine)) {
    line = m_pCache;
    index = m_nCacheIndex;
    doc = m_nCacheDoc;
  }
  while (doc < nDocLine && line->m_pNext) {
    doc = DocAfter(line, line->m_pNext, doc);
    line = line->m_pNext;
    ++index;
  }
  while ((doc > nDocLine || (doc == nDocLine && line->m_nOffset != 0)) && line->m_pPrev) {
    doc = DocBefore(line, line->m_pPrev, doc);
    line = line->m_pPrev;
    --index;
  }
  SetCache(line, index, doc);
  if (doc != nDocLine) return nullptr;
  if (pnIndex) *pnIndex = index;
  return line;
}

CWrapLine* CWrapLineMgr::GetLine(int nIndex, int* pnDocLine) {
  if (pnDocLine) *pnDocLine = -1;
  return Seek(nIndex, pnDocLine);
}

const char* CWrapLineMgr::GetLineText(int nIndex, int* pnLength) { return GetLineTextAndNode(nIndex, pnLength, nullptr); }

const char* CWrapLineMgr::GetLineTextAndNode(int nIndex, int* pnLength, CWrapLine** ppLine) {
  CWrapLine* line = Seek(nIndex, nullptr);
  if (ppLine) *ppLine = line;
  if (pnLength) *pnLength = line ? line->m_nLength : 0;
  return line ? line->GetText() : nullptr;
}

int CWrapLineMgr::GetDocLineIndex(int nIndex) {
  int doc = -1;
  Seek(nIndex, &doc);
  return doc;
}

bool CWrapLineMgr::IsWrapPoint(int nIndex, int nOffset) {
  const CWrapLine* line = Seek(nIndex, nullptr);
  // The last piece of a text without a final line end has none either, but nothing follows it.
  return line && line->m_cLineEnd.GetCode() == CLineEnd::NONE && nOffset == line->m_nLength && line->m_pNext &&
         line->m_pNext->m_pDocLine == line->m_pDocLine;
}

// ---- Positions ---------------------------------------------------------------------------------

void CWrapLineMgr::DocToWrapPos(int nDocCol, int nDocLine, int* pnX, int* pnY) {
  int index = m_nLines;
  CWrapLine* line = nullptr;
  if (m_pCache && m_nCacheDoc == nDocLine && m_pCache->m_nOffset <= nDocCol) {
    // Further along the line the cursor is on: positions taken one after another along a long
    // line cost a step each, not a walk from its start.
    line = m_pCache;
    index = m_nCacheIndex;
  } else {
    line = FindFirstPiece(nDocLine, &index);
  }
  for (; line; line = line->m_pNext, ++index) {
    const int len = line->m_nLength;
    const bool last = !line->m_pNext || line->m_pNext->m_pDocLine != line->m_pDocLine;
    // The piece that holds the column; a column beyond the line is the end of its last piece.
    if (nDocCol - line->m_nOffset >= len && !last) continue;
    SetCache(line, index, nDocLine);
    const int byte = std::clamp(nDocCol - line->m_nOffset, 0, len);
    const auto* s = reinterpret_cast<const unsigned char*>(line->GetText());
    // The byte after the piece is still the line's (or the NUL after it), and a piece never ends
    // inside a character.
    const int charStart = CharStartsAt(s, 0, byte) ? byte : byte - 1;
    *pnX = SjisCellOfByte(s, charStart, line->m_nIndent, m_nTabWidth);
    *pnY = index;
    return;
  }
  *pnX = 0;
  *pnY = index;
}

void CWrapLineMgr::WrapToDocPos(int nX, int nY, int* pnDocCol, int* pnDocLine) {
  *pnDocCol = 0;
  *pnDocLine = 0;
  if (m_nLines == 0 || nY < 0 || !m_pDocLineMgr) return;
  if (nY >= m_nLines) {
    if (m_pLast->m_cLineEnd.GetCode() != CLineEnd::NONE) {
      *pnDocLine = m_pDocLineMgr->GetLineCount();
    } else {
      *pnDocLine = TailDocIndex();
      m_pLast->m_pDocLine->GetText(pnDocCol);
    }
    return;
  }
  int doc = 0;
  const CWrapLine* line = Seek(nY, &doc);
  *pnDocLine = doc;
  const int len = line->m_nLength;
  // The character whose cells hold the column. Between tabs a column moves as bytes do: only the
  // tabs are stepped over one by one.
  const auto* s = reinterpret_cast<const unsigned char*>(line->GetText());
  int x = line->m_nIndent;
  for (int from = 0; from < len;) {
    const void* tab = std::memchr(s + from, '\t', static_cast<size_t>(len - from));
    const int stretchEnd = tab ? static_cast<int>(static_cast<const unsigned char*>(tab) - s) : len;
    if (stretchEnd > from && nX < x + (stretchEnd - from)) {
      const int at = from + std::max(0, nX - x);
      *pnDocCol = line->m_nOffset + (CharStartsAt(s, from, at) ? at : at - 1);
      return;
    }
    x += stretchEnd - from;
    if (!tab) break;
    const int cells = m_nTabWidth - x % m_nTabWidth;
    if (x + cells > nX) {
      *pnDocCol = line->m_nOffset + stretchEnd;
      return;
    }
    x += cells;
    from = stretchEnd + 1;
  }
  *pnDocCol = line->m_nOffset + len;
}

void CWrapLineMgr::DocToWrapPosFrom(int nFromIndex, int nDocLine, int nDocCol, int* pnLine, int* pnOffset) {
  *pnLine = 0;
  *pnOffset = 0;
  if (m_nLines == 0) return;
  int index = nFromIndex < 0 ? 0 : nFromIndex >= m_nLines ? m_nLines - 1 : nFromIndex;
  int doc = 0;
  CWrapLine* line = Seek(index, &doc);
  auto holds = [&](const CWrapLine* l) {
    return l->m_nOffset <= nDocCol && nDocCol <= l->m_nOffset + l->m_nLength;
  };
  if (doc > nDocLine || (doc == nDocLine && line->m_nOffset > nDocCol)) {
    while (line && doc >= nDocLine) {
      if (doc == nDocLine && holds(line)) {
        SetCache(line, index, doc);
        *pnLine = index;
        *pnOffset = nDocCol - line->m_nOffset;
        return;
      }
      if (line->m_pPrev) doc = DocBefore(line, line->m_pPrev, doc);
      line = line->m_pPrev;
      --index;
    }
    *pnLine = index + 1;
    return;
  }
  while (line && doc <= nDocLine) {
    if (doc == nDocLine && holds(line)) {
      SetCache(line, index, doc);
      *pnLine = index;
      *pnOffset = nDocCol - line->m_nOffset;
      return;
    }
    if (line->m_pNext) doc = DocAfter(line, line->m_pNext, doc);
    line = line->m_pNext;
    ++index;
  }
  *pnLine = index;
}
