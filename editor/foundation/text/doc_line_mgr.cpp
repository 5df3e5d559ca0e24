#include "editor/foundation/text/doc_line_mgr.h"

#include <cstdio>
#include <cstdlib>
#include <string>

CDocLineMgr::CDocLineMgr() { ResetList(); }

CDocLineMgr::~CDocLineMgr() { FreeAllLines(); }

void CDocLineMgr::ResetList() {
  m_pHead = nullptr;
  m_pTail = nullptr;
  m_pNextLine = nullptr;
  m_nLines = 0;
  m_nCursorIndex = 0;
  m_pCursor = nullptr;
  m_bDiffPresent = 0;
}

void CDocLineMgr::FreeAllLines() {
  CDocLine* line = m_pHead;
  while (line) {
    CDocLine* next = line->m_pNext;
    delete line;
    line = next;
  }
  // The members still name the deleted lines until ResetList; nothing may follow them.
  m_pHead = m_pTail = m_pNextLine = m_pCursor = nullptr;
}

CDocLine* CDocLineMgr::GetLine(int nLine) {
  const int count = m_nLines;
  if (count == 0 || nLine < 0 || nLine >= count) return nullptr;
  CDocLine* line = nullptr;
  if (m_pCursor) {
    const int d = nLine > m_nCursorIndex ? nLine - m_nCursorIndex : m_nCursorIndex - nLine;
    if (d <= nLine && d <= count - nLine) {
      line = m_pCursor;
      const bool forward = nLine > m_nCursorIndex;
      for (int i = 0; i < d && line; ++i) {
        line = forward ? line->m_pNext : line->m_pPrev;
        ++m_nWalkSteps;
      }
      if (!line) return nullptr;
      m_nCursorIndex = nLine;
      m_pCursor = line;
      m_pNextLine = line->m_pNext;
      return line;
    }
  }
  if (nLine < count / 2) {
    line = m_pHead;
    for (int i = 0; i < nLine && line; ++i, ++m_nWalkSteps) line = line->m_pNext;
  } else {
    line = m_pTail;
    for (int i = count - 1; i > nLine && line; --i, ++m_nWalkSteps) line = line->m_pPrev;
  }
  if (!line) return nullptr;
  m_nCursorIndex = nLine;
  m_pCursor = line;
  m_pNextLine = line->m_pNext;
  return line;
}

const char* CDocLineMgr::GetLineText(int nLine, int* pnLen) {
  CDocLine* line = GetLine(nLine);
  if (!line) {
    if (pnLen) *pnLen = 0;
    return nullptr;
  }
  return line->GetText(pnLen);
}

const char* CDocLineMgr::GetLineTextNoLineEnd(int nLine, int* pnLen) {
  CDocLine* line = GetLine(nLine);
  if (!line) {
    if (pnLen) *pnLen = 0;
    return nullptr;
  }
  const char* text = line->GetText(nullptr);
  if (pnLen) *pnLen = line->GetLengthWithoutEol();
  return text;
}

CDocLine* CDocLineMgr::AppendLine(const char* pData, int nDataLen, int nEolCode) {
  auto* line = new CDocLine;
  line->m_pLine = new CMemory(pData, nDataLen);
  line->m_cLineEnd.Set(nEolCode);
  line->m_pPrev = m_pTail;
  if (m_pTail) {
    m_pTail->m_pNext = line;
  } else {
    m_pHead = line;
  }
  m_pTail = line;
  if (m_pCursor && m_pCursor->m_pNext == line) m_pNextLine = line;
  ++m_nLines;
  return line;
}

void CDocLineMgr::RemoveLine(CDocLine* pLine) {
  if (!pLine || m_nLines == 0) return;
  --m_nLines;
  if (m_nLines == 0) {
    delete pLine;
    ResetList();
    return;
  }
  if (pLine->m_pPrev) {
    pLine->m_pPrev->m_pNext = pLine->m_pNext;
  } else {
    m_pHead = pLine->m_pNext;
  }
  if (pLine->m_pNext) {
    pLine->m_pNext->m_pPrev = pLine->m_pPrev;
  } else {
    m_pTail = pLine->m_pPrev;
  }
  if (pLine == m_pCursor) {
    // The following line takes the index that the removed one had.
    m_pCursor = pLine->m_pNext;
  } else if (m_pCursor) {
    // Whether the removed line lay before the cursor is not known without a walk, and then the
    // cursor's index would be one too high: forget the cursor instead.
    m_pCursor = nullptr;
  }
  m_pNextLine = m_pCursor ? m_pCursor->m_pNext : nullptr;
  delete pLine;
}

void CDocLineMgr::ClearModifiedFlags() {
  for (CDocLine* line = m_pHead; line; line = line->m_pNext) line->SetModified(false);
}

void CDocLineMgr::ClearAllBookmarks() {
  for (CDocLine* line = m_pHead; line; line = line->m_pNext) line->SetBookmark(false);
}

bool CDocLineMgr::FindFlagged(int nLine, bool bForward, int* pnFound, bool (*test)(const CDocLine&)) {
  CDocLine* line = GetLine(nLine);
  if (!line) return false;
  int index = nLine;
  for (line = bForward ? line->m_pNext : line->m_pPrev; line; line = bForward ? line->m_pNext : line->m_pPrev) {
    index += bForward ? 1 : -1;
    if (test(*line)) {
      if (pnFound) *pnFound = index;
      return true;
    }
  }
  return false;
}

bool CDocLineMgr::FindBookmark(int nLine, bool bForward, int* pnFound) {
  return FindFlagged(nLine, bForward, pnFound, [](const CDocLine& l) { return l.IsBookmarked(); });
}

const char* CDocLineMgr::BookmarksToText() {
  // One text shared by all documents, as the recent-file record takes it.
  static char s_text[1024];
  int len = 0;
  s_text[0] = '\0';
  int index = 0;
  for (CDocLine* line = m_pHead; line; line = line->m_pNext, ++index) {
    if (!line->IsBookmarked()) continue;
    char number[16];
    const int n = std::snprintf(number, sizeof number, "%d,", index);
    if (len + n > 1023) break;
    for (int i = 0; i <= n; ++i) s_text[len + i] = number[i];
    len += n;
  }
  return s_text;
}

void CDocLineMgr::BookmarksFromText(const char* pszText) {
  if (!pszText) return;
  // Read from a copy: the text may be the shared record's.
  const std::string text(pszText);
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ',' || text[i] == ' ')) ++i;
    const size_t start = i;
    while (i < text.size() && text[i] != ',' && text[i] != ' ') ++i;
    if (i == start) continue;
    // A decimal index as its leading digits read it; numbers past any line saturate.
    size_t k = start;
    bool negative = false;
    if (text[k] == '-' || text[k] == '+') negative = text[k++] == '-';
    if (k >= i || text[k] < '0' || text[k] > '9') continue;
    int64_t value = 0;
    for (; k < i && text[k] >= '0' && text[k] <= '9'; ++k) {
      value = value * 10 + (text[k] - '0');
      if (value > INT32_MAX) value = INT32_MAX;
    }
    if (negative) continue;
    if (CDocLine* line = GetLine(static_cast<int>(value))) line->SetBookmark(true);
  }
}

void CDocLineMgr::ClearAllDiffMarks() {
  for (CDocLine* line = m_pHead; line; line = line->m_pNext) line->SetDiffState(CDocLine::DIFF_NONE);
  m_bDiffPresent = 0;
}

bool CDocLineMgr::FindDiffMark(int nLine, bool bForward, int* pnFound) {
  return FindFlagged(nLine, bForward, pnFound,
                     [](const CDocLine& l) { return l.GetDiffState() != CDocLine::DIFF_NONE; });
}

void CDocLineMgr::SetDiffStateRange(int nState, int nFirst, int nLast) {
  m_bDiffPresent = 1;
  if (m_nLines == 0) return;  // no line to mark, not even "deleted after the last line"
  if (nLast >= m_nLines) {
    nLast = m_nLines - 1;
    m_pTail->SetDiffState(CDocLine::DIFF_DELETED_AFTER);
  }
  if (nFirst < 0) nFirst = 0;
  if (nFirst > nLast) return;
  CDocLine* line = GetLine(nFirst);
  for (int i = nFirst; i <= nLast && line; ++i, line = line->m_pNext) line->SetDiffState(nState & 7);
}
