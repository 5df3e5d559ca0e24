// Words and search at display positions: the document lines' rules, with the positions converted
// each way.
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/wrap_line_mgr.h"

bool CWrapLineMgr::GetWordRange(int nLine, int nOffset, int* pnLineFrom, int* pnOffsetFrom, int* pnLineTo,
                                int* pnOffsetTo, CMemory* pcmemWord, CMemory* pcmemWordLeft) {
  int col = 0;
  int doc = 0;
  if (!DisplayToDoc(nLine, nOffset, &col, &doc)) return false;
  int start = 0;
  int end = 0;
  if (!m_pDocLineMgr->GetWordRange(doc, col, &start, &end, pcmemWord, pcmemWordLeft)) return false;
  // From the position the start lies back and the end ahead, so a break at either gives the
  // display line that holds the word's part.
  DocToWrapPosFrom(nLine, doc, start, pnLineFrom, pnOffsetFrom);
  DocToWrapPosFrom(nLine, doc, end, pnLineTo, pnOffsetTo);
  return true;
}

bool CWrapLineMgr::GetNextWordPos(int nLine, int nOffset, int* pnLineNew, int* pnOffsetNew, bool bBackward,
                                  bool bStopAtBlanks) {
  int col = 0;
  int doc = 0;
  if (!DisplayToDoc(nLine, nOffset, &col, &doc)) return false;
  int newCol = 0;
  if (!m_pDocLineMgr->GetNextWordPos(doc, col, &newCol, bBackward, bStopAtBlanks)) return false;
  DocToWrapPosFrom(nLine, doc, newCol, pnLineNew, pnOffsetNew);
  return true;
}

bool CWrapLineMgr::FindText(int nLine, int nOffset, const char* pszPattern, bool bForward, bool bRegexp,
                            bool bCaseSensitive, bool bWholeWord, int* pnXFrom, int* pnYFrom, int* pnXTo, int* pnYTo,
                            CRegexpDll* pRegexp) {
  int col = 0;
  int doc = 0;
  if (!DisplayToDoc(nLine, nOffset, &col, &doc)) return false;
  int found = 0;
  int from = 0;
  int to = 0;
  if (!m_pDocLineMgr->FindText(doc, col, pszPattern, bForward, bRegexp, bCaseSensitive, bWholeWord, &found, &from,
                               &to, pRegexp)) {
    return false;
  }
  DocToWrapPos(from, found, pnXFrom, pnYFrom);
  DocToWrapPos(to, found, pnXTo, pnYTo);
  return true;
}
