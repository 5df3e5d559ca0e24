// The three edits in display terms. Each finds, before the document changes, the piece after which
// the touched lines' pieces start and the colour state there; edits the document lines; removes
// the pieces of the lines that were touched (counted from the anchor, so lines the primitive
// deleted are never read) and cuts the lines that now stand there.
#include <algorithm>

#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/wrap_line_mgr.h"

namespace {

void Zero(int* p) {
  if (p) *p = 0;
}

}  // namespace

CWrapLineMgr::EditAnchor CWrapLineMgr::FindEditAnchor(int nDocLine) {
  EditAnchor anchor;
  int index = 0;
  CWrapLine* first = FindFirstPiece(nDocLine, &index);
  if (first) {
    anchor.pAfter = first->m_pPrev;
    anchor.nAfterIndex = index - 1;
    anchor.nState = first->m_nColorState;
    if (anchor.pAfter) {
      int doc = nDocLine - 1;
      if (anchor.pAfter->m_pDocLine != first->m_pDocLine) {
        doc = nDocLine;
        for (const CDocLine* line = anchor.pAfter->m_pDocLine; line && line != first->m_pDocLine; line = line->m_pNext) {
          --doc;
        }
      }
      anchor.nAfterDoc = doc;
    }
  } else if (m_pLast) {
    // A line without pieces lies after all of them.
    anchor.pAfter = m_pLast;
    anchor.nAfterIndex = m_nLines - 1;
    anchor.nAfterDoc = TailDocIndex();
    anchor.nState = m_nEndColorState;
  } else {
    anchor.nState = m_nEndColorState;
  }
  return anchor;
}

int CWrapLineMgr::RemoveDocLines(const EditAnchor& anchor, int nFirstDocLine, int nDocLines, int nEditLine,
                                 int nEditCol, int* pnAfterEdit) {
  int removed = 0;
  int afterEdit = 0;
  int seen = 0;
  int doc = nFirstDocLine - 1;
  CWrapLine* line = anchor.pAfter ? anchor.pAfter->m_pNext : m_pFirst;
  while (line) {
    // A document line's pieces start with the one at offset 0.
    if (line->m_nOffset == 0) {
      if (seen == nDocLines) break;
      ++seen;
      ++doc;
    }
    if (doc > nEditLine || (doc == nEditLine && line->m_nOffset > nEditCol)) ++afterEdit;
    line = RemoveLine(line);
    ++removed;
  }
  SetCache(anchor.pAfter, anchor.nAfterIndex, anchor.nAfterDoc);
  if (pnAfterEdit) *pnAfterEdit = afterEdit;
  return removed;
}

bool CWrapLineMgr::DisplayToDoc(int nLine, int nOffset, int* pnDocCol, int* pnDocLine) {
  *pnDocCol = 0;
  *pnDocLine = 0;
  if (!m_pDocLineMgr || nLine < 0 || nOffset < 0) return false;
  if (const CWrapLine* line = Seek(nLine, pnDocLine)) {
    *pnDocCol = line->m_nOffset + nOffset;
  } else if (const CDocLine* last = m_pDocLineMgr->GetLastLine()) {
    const int count = m_pDocLineMgr->GetLineCount();
    if (last->m_cLineEnd.GetLen() > 0) {
      *pnDocLine = count;
    } else {
      *pnDocLine = count - 1;
      last->GetText(pnDocCol);
    }
  }
  return true;
}

void CWrapLineMgr::LocateForward(int nDocLine, int nDocCol, int* pnLine, int* pnOffset) {
  *pnLine = m_nLines;
  *pnOffset = 0;
  int index = 0;
  CWrapLine* line = FindFirstPiece(nDocLine, &index);
  for (; line; line = line->m_pNext, ++index) {
    if (line->m_nOffset <= nDocCol && nDocCol <= line->m_nOffset + line->m_nLength) {
      SetCache(line, index, nDocLine);
      *pnLine = index;
      *pnOffset = nDocCol - line->m_nOffset;
      return;
    }
    if (!line->m_pNext || line->m_pNext->m_pDocLine != line->m_pDocLine) {
      *pnLine = index + 1;
      return;
    }
  }
}

bool CWrapLineMgr::DeleteData(int nLine, int nOffset, int nDelLen, int* pnRemovedAfter, int* pnCreatedAfter,
                              int* pnAffected, CMemory* pcmemDeleted) {
  Zero(pnRemovedAfter);
  Zero(pnCreatedAfter);
  Zero(pnAffected);
  if (pcmemDeleted) pcmemDeleted->Clear();
  int doc = 0;
  const CWrapLine* line = m_pDocLineMgr ? Seek(nLine, &doc) : nullptr;
  if (!line || nOffset < 0) return false;
  const int col = line->m_nOffset + nOffset;
  const EditAnchor anchor = FindEditAnchor(doc);
  int modFrom = 0;
  int modTo = 0;
  int delFrom = 0;
  int delNum = 0;
  if (!m_pDocLineMgr->DeleteRange(doc, col, nDelLen, &modFrom, &modTo, &delFrom, &delNum, pcmemDeleted)) {
    return false;
  }
  const int before = m_nLines;
  const int touched = modTo - modFrom + 1;
  int removedAfter = 0;
  RemoveDocLines(anchor, doc, touched, doc, col, &removedAfter);
  int updated = 0;
  const int createdAfter =
      RewrapRange(anchor.pAfter, anchor.nAfterIndex, doc, touched - delNum, doc, col, anchor.nState, &updated);
  if (pnRemovedAfter) *pnRemovedAfter = removedAfter;
  if (pnCreatedAfter) *pnCreatedAfter = createdAfter;
  if (pnAffected) *pnAffected = updated + (before - m_nLines);
  return true;
}

bool CWrapLineMgr::InsertData(int nLine, int nOffset, const char* pData, int nDataLen, int* pnRemovedAfter,
                              int* pnAffected, int* pnNewLine, int* pnNewOffset) {
  Zero(pnRemovedAfter);
  Zero(pnAffected);
  Zero(pnNewLine);
  Zero(pnNewOffset);
  int doc = 0;
  int col = 0;
  if (!DisplayToDoc(nLine, nOffset, &col, &doc)) return false;
  const int docCount = m_pDocLineMgr->GetLineCount();
  const EditAnchor anchor = FindEditAnchor(doc);
  int inserted = 0;
  int newLine = 0;
  int newCol = 0;
  if (!m_pDocLineMgr->InsertText(doc, col, pData, nDataLen, &inserted, &newLine, &newCol)) return false;
  const int before = m_nLines;
  const int oldTouched = doc < docCount ? 1 : 0;
  const int newTouched = std::max(0, std::min(doc + inserted, m_pDocLineMgr->GetLineCount() - 1) - doc + 1);
  int removedAfter = 0;
  RemoveDocLines(anchor, doc, oldTouched, doc, col, &removedAfter);
  int updated = 0;
  RewrapRange(anchor.pAfter, anchor.nAfterIndex, doc, newTouched, doc, col, anchor.nState, &updated);
  if (pnRemovedAfter) *pnRemovedAfter = removedAfter;
  if (pnAffected) *pnAffected = m_nLines + updated - before;
  int caretLine = 0;
  int caretOffset = 0;
  LocateForward(newLine, newCol, &caretLine, &caretOffset);
  if (pnNewLine) *pnNewLine = caretLine;
  if (pnNewOffset) *pnNewOffset = caretOffset;
  return true;
}

bool CWrapLineMgr::ReplaceDocText(ReplaceDataArg* pArg, int* pnRemovedAfter, int* pnCreatedAfter) {
  Zero(pnRemovedAfter);
  Zero(pnCreatedAfter);
  if (!pArg || !m_pDocLineMgr) return false;
  ReplaceDataArg& r = *pArg;
  const int lineFrom = r.nDelLineFrom;
  const int colFrom = r.nDelColFrom;
  const EditAnchor anchor = FindEditAnchor(lineFrom);
  const int oldDocCount = m_pDocLineMgr->GetLineCount();
  if (!m_pDocLineMgr->ReplaceData(&r)) return false;
  // The lines the replace touched: the first and those it removed, and the first and those it
  // added (a text after the last line has no first line of its own).
  const int oldTouched = std::max(0, std::min(lineFrom + r.nDeletedLines, oldDocCount - 1) - lineFrom + 1);
  const int newTouched =
      std::max(0, std::min(lineFrom + r.nInsertedLines, m_pDocLineMgr->GetLineCount() - 1) - lineFrom + 1);
  int removedAfter = 0;
  int createdAfter = 0;
  // An edit inside one line mostly leaves it as many pieces, which then take their new cuts.
  const bool inPlace = oldTouched == 1 && newTouched == 1 && r.nDeletedLines == 0 && r.nInsertedLines == 0 &&
                       RecutInPlace(anchor, m_pDocLineMgr->GetLine(lineFrom), colFrom, &removedAfter, &createdAfter);
  if (!inPlace) {
    RemoveDocLines(anchor, lineFrom, oldTouched, lineFrom, colFrom, &removedAfter);
    int updated = 0;
    createdAfter = RewrapRange(anchor.pAfter, anchor.nAfterIndex, lineFrom, newTouched, lineFrom, colFrom,
                               anchor.nState, &updated);
  }
  if (pnRemovedAfter) *pnRemovedAfter = removedAfter;
  if (pnCreatedAfter) *pnCreatedAfter = createdAfter;
  return true;
}

bool CWrapLineMgr::StaysInsideLine(const ReplaceDataArg& arg) const {
  const int line = arg.nDelLineFrom;
  if (line < 0 || line >= m_pDocLineMgr->GetLineCount() || arg.nDelLineTo != line || arg.nDelColFrom < 0 ||
      arg.nDelColTo < arg.nDelColFrom) {
    return false;
  }
  // The cursor of the document lines stands on or next to the line in a run of edits there.
  const CDocLine* docLine = m_pDocLineMgr->GetLine(line);
  int full = 0;
  docLine->GetText(&full);
  // A range that reaches the line end takes it; one that empties a last line without a line end
  // takes the line.
  if (arg.nDelColTo > docLine->GetLengthWithoutEol() || (arg.nDelColTo >= full && arg.nDelColTo > arg.nDelColFrom)) {
    return false;
  }
  // The texts put back are mostly a few bytes: one pass beats a search per line-end byte.
  if (arg.nInsLen <= 0 || !arg.pInsText) return true;
  return std::none_of(arg.pInsText, arg.pInsText + arg.nInsLen, [](char c) { return c == '\r' || c == '\n'; });
}

bool CWrapLineMgr::ReplaceDocTexts(std::span<ReplaceDataArg> args) {
  if (!m_pDocLineMgr) return false;
  bool all = true;
  for (size_t i = 0; i < args.size();) {
    // The texts put back lie each in a block of its own: asked for a few edits early, they are
    // there when their turn comes.
    for (size_t ahead = i + 1; ahead < std::min(args.size(), i + 9); ++ahead) {
      if (args[ahead].pInsText) __builtin_prefetch(args[ahead].pInsText);
    }
    if (!StaysInsideLine(args[i])) {
      all = ReplaceDocText(&args[i]) && all;
      ++i;
      continue;
    }
    // The run: the pieces of the line are found before it changes and the line cut after; in
    // between only the document line changes (the same line object, so its pieces stay valid).
    const int line = args[i].nDelLineFrom;
    const int col = args[i].nDelColFrom;
    const EditAnchor anchor = FindEditAnchor(line);
    do {
      all = m_pDocLineMgr->ReplaceData(&args[i]) && all;
      ++i;
    } while (i < args.size() && args[i].nDelLineFrom == line && StaysInsideLine(args[i]));
    int removedAfter = 0;
    int createdAfter = 0;
    if (!RecutInPlace(anchor, m_pDocLineMgr->GetLine(line), col, &removedAfter, &createdAfter)) {
      RemoveDocLines(anchor, line, 1, line, col, &removedAfter);
      int updated = 0;
      RewrapRange(anchor.pAfter, anchor.nAfterIndex, line, 1, line, col, anchor.nState, &updated);
    }
  }
  return all;
}

bool CWrapLineMgr::ReplaceText(WrapReplaceArg* pArg) {
  if (!pArg) return false;
  const WrapReplaceArg& a = *pArg;
  int colFrom = 0, lineFrom = 0, colTo = 0, lineTo = 0;
  WrapToDocPos(a.nDelColFrom, a.nDelLineFrom, &colFrom, &lineFrom);
  WrapToDocPos(a.nDelColTo, a.nDelLineTo, &colTo, &lineTo);
  return ReplaceConvertedText(pArg, colFrom, lineFrom, colTo, lineTo);
}

bool CWrapLineMgr::ReplaceConvertedText(WrapReplaceArg* pArg, int nDocColFrom, int nDocLineFrom, int nDocColTo,
                                        int nDocLineTo) {
  if (!pArg) return false;
  WrapReplaceArg& a = *pArg;
  a.nAddLineNum = 0;
  a.nModLineFrom = 0;
  a.nModLineTo = 0;
  a.nNewLine = 0;
  a.nNewPos = 0;
  a.nNewDocLine = 0;
  a.nNewDocCol = 0;
  if (a.pDeletedText) a.pDeletedText->Clear();
  if (!m_pDocLineMgr) return false;
  ReplaceDataArg r;
  r.nDelColFrom = nDocColFrom;
  r.nDelLineFrom = nDocLineFrom;
  r.nDelColTo = nDocColTo;
  r.nDelLineTo = nDocLineTo;
  r.pDeletedText = a.pDeletedText;
  r.pInsText = a.pInsText;
  r.nInsLen = a.nInsLen;
  const int before = m_nLines;
  int removedAfter = 0;
  int createdAfter = 0;
  if (!ReplaceDocText(&r, &removedAfter, &createdAfter)) return false;
  a.nAddLineNum = before != m_nLines ? before - m_nLines : removedAfter - createdAfter;
  a.nModLineFrom = a.nDelLineFrom;
  a.nModLineTo = a.nDelLineFrom + createdAfter - 1;
  a.nNewDocLine = r.nNewLine;
  a.nNewDocCol = r.nNewCol;
  int x = 0;
  int y = 0;
  DocToWrapPos(r.nNewCol, r.nNewLine, &x, &y);
  a.nNewLine = y;
  a.nNewPos = x;
  return true;
}
