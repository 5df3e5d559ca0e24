// The three edits of the document's text. Each one first makes everything it will need (the deleted
// bytes, the new text of the line that stays, the new lines) and only then relinks the list, so
// that running out of memory half-way leaves the document as it was instead of half edited.
#include <memory>
#include <vector>

#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/job_progress.h"
#include "editor/foundation/text/memory.h"

namespace {

// Above these a replace shows its progress ("more than", both).
constexpr int kProgressLineSpan = 3000;
constexpr int kProgressInsertBytes = 1024000;
// The bar moves once per this many lines, and at line ends of the inserted text whose offset is a
// multiple of the other.
constexpr int kProgressLineStep = 32;
constexpr int kProgressByteStep = 1024;

struct Span {
  const char* p = nullptr;
  int len = 0;
};

int FullLength(const CDocLine* line) {
  int len = 0;
  line->GetText(&len);
  return len;
}

const char* TextOf(const CDocLine* line) { return line->GetText(nullptr); }

// A column where an edit may start: inside or past the line end means the line end's start, a
// trail byte means its character's start (unless the column is exact).
int StartColumn(const CDocLine* line, int col, bool bExact = false) {
  const int textLen = line->GetLengthWithoutEol();
  if (col >= textLen) return textLen;
  return bExact ? col : CMemory::CharStartAt(TextOf(line), textLen, col);
}

// A column where a range may end: inside or past the line end takes the whole line end.
int EndColumn(const CDocLine* line, int col, bool bExact) {
  const int textLen = line->GetLengthWithoutEol();
  if (col > textLen) return FullLength(line);
  return bExact ? col : CMemory::CharStartAt(TextOf(line), textLen, col);
}

// A new text made of the spans, null when memory runs out (the text buffer has told the user).
// Room to spare lets the next edits of the same line (typing on, undo and redo) happen in place.
std::unique_ptr<CMemory> Compose(Span a, Span b = {}, Span c = {}, bool bSpare = false) {
  auto text = std::make_unique<CMemory>();
  const int64_t len = static_cast<int64_t>(a.len) + b.len + c.len;
  text->AllocBuffer(bSpare ? len + len / 8 + 16 : len);
  if (!text->GetPtr()) return nullptr;
  for (const Span& s : {a, b, c}) {
    if (s.len > 0) text->Append(s.p, s.len);
  }
  return text;
}

// The first CR or LF at or after pos, len when none.
int FindLineEnd(const char* text, int len, int pos) {
  for (; pos < len; ++pos) {
    if (text[pos] == '\r' || text[pos] == '\n') return pos;
  }
  return len;
}

// Lines made before they are linked in; deletes them unless they were handed over.
struct LineChain {
  CDocLine* first = nullptr;
  CDocLine* last = nullptr;
  int count = 0;

  LineChain() = default;
  LineChain(const LineChain&) = delete;
  LineChain& operator=(const LineChain&) = delete;
  ~LineChain() {
    for (CDocLine* line = first; line;) {
      CDocLine* next = line->m_pNext;
      delete line;
      line = next;
    }
  }
  CDocLine* Add(std::unique_ptr<CMemory> text, int code) {
    auto* line = new CDocLine;
    line->m_pLine = text.release();
    line->m_cLineEnd.Set(code);
    line->m_pPrev = last;
    if (last) {
      last->m_pNext = line;
    } else {
      first = line;
    }
    last = line;
    ++count;
    return line;
  }
  void Release() { first = last = nullptr; }
};

}  // namespace

// One edit as the list sees it: a run of lines that goes (pFirstRemoved..pLastRemoved, linked to
// each other), one line that stays and gets head + text + tail (pStay, null when no line stays at
// the edit's line), and the lines the inserted text adds after it.
struct CDocLineMgr::EditPlan {
  int nLine = 0;  // index of the line that stays (or where the new lines go)
  CDocLine* pStay = nullptr;
  CDocLine* pFirstRemoved = nullptr;
  CDocLine* pLastRemoved = nullptr;
  int nRemoved = 0;
  Span head;
  Span tail;
  int nTailCode = CLineEnd::NONE;  // the line end of the line that ends with the tail
  bool bStayUnchanged = false;     // pStay already holds head + tail and nothing is inserted
  bool bSameLine = false;          // head and tail are pStay's own start and end
  const char* pText = nullptr;
  int nTextLen = 0;
  bool bMoveBookmark = false;  // an insertion at column 0: the bookmark follows the old text
  CJobProgressBar* pBar = nullptr;
  int nLinesInRange = 1;

  // Results.
  int nInserted = 0;
  int nLineEnds = 0;
  int nRestLen = 0;  // bytes after the last line end of the text
};

void CDocLineMgr::SetCursorAt(CDocLine* pLine, int nLine) {
  m_pCursor = pLine;
  m_nCursorIndex = pLine ? nLine : 0;
  m_pNextLine = pLine ? pLine->m_pNext : nullptr;
}

bool CDocLineMgr::ApplyEdit(EditPlan& plan) {
  // Make: the stay line's new text and the new lines.
  std::unique_ptr<CMemory> stayText;
  int stayCode = plan.nTailCode;
  LineChain added;
  CDocLine* bookmarkLine = nullptr;
  std::vector<int> insertProgress;
  const char* t = plan.pText;
  const int n = plan.nTextLen;
  int pos = 0;
  for (int eol = FindLineEnd(t, n, 0); eol < n; eol = FindLineEnd(t, n, pos)) {
    const int code = DetectLineEnd(t + eol, n - eol);
    const int end = eol + CLineEnd(code).GetLen();
    const Span piece{t + pos, end - pos};
    if (plan.nLineEnds == 0 && plan.pStay) {
      stayText = Compose(plan.head, piece);
      if (!stayText) return false;
      stayCode = code;
    } else {
      auto text = plan.nLineEnds == 0 ? Compose(plan.head, piece) : Compose(piece);
      if (!text) return false;
      added.Add(std::move(text), code);
    }
    if (plan.pBar && eol % kProgressByteStep == 0) {
      insertProgress.push_back(static_cast<int>(static_cast<int64_t>(end) * 100 / n));
    }
    ++plan.nLineEnds;
    pos = end;
  }
  const Span rest{t + pos, n - pos};
  plan.nRestLen = rest.len;
  bool inPlace = false;
  if (plan.nLineEnds == 0) {
    if (plan.pStay) {
      const CMemory* own = plan.pStay->m_pLine;
      if (plan.bSameLine && own && own->GetPtr()) {
        const char* block = own->GetPtr();
        const bool textInside = n > 0 && t + n > block && t < block + own->GetCapacity();
        inPlace = !textInside && static_cast<int64_t>(plan.head.len) + n + plan.tail.len < own->GetCapacity();
      }
      if (!inPlace && (!plan.bStayUnchanged || n > 0)) {
        stayText = Compose(plan.head, rest, plan.tail, true);
        if (!stayText) return false;
      }
    } else if (n > 0) {
      auto text = Compose(rest);
      if (!text) return false;
      added.Add(std::move(text), CLineEnd::NONE);
    }
  } else if (rest.len + plan.tail.len > 0) {
    auto text = Compose(rest, plan.tail);
    if (!text) return false;
    bookmarkLine = added.Add(std::move(text), plan.pStay ? plan.nTailCode : CLineEnd::NONE);
  }

  // Relink. Nothing below allocates.
  CDocLine* before = nullptr;  // the line the new lines follow
  if (plan.pFirstRemoved) {
    CDocLine* prev = plan.pFirstRemoved->m_pPrev;
    CDocLine* next = plan.pLastRemoved->m_pNext;
    if (prev) {
      prev->m_pNext = next;
    } else {
      m_pHead = next;
    }
    if (next) {
      next->m_pPrev = prev;
    } else {
      m_pTail = prev;
    }
    m_nLines -= plan.nRemoved;
    // From the last line back, as the bar counts them.
    int done = 0;
    for (CDocLine* line = plan.pLastRemoved; line;) {
      CDocLine* up = line == plan.pFirstRemoved ? nullptr : line->m_pPrev;
      delete line;
      line = up;
      ++done;
      if (plan.pBar && done % kProgressLineStep == 0) {
        plan.pBar->SetPos(50 + static_cast<int>(static_cast<int64_t>(done) * 100 / plan.nLinesInRange) / 2);
      }
    }
    if (!plan.pStay) before = prev;
  } else if (!plan.pStay) {
    before = plan.nLine > 0 ? GetLine(plan.nLine - 1) : nullptr;
  }
  if (plan.pStay) {
    before = plan.pStay;
    if (inPlace) {
      CMemory* own = plan.pStay->m_pLine;
      own->ReplaceInBlock(plan.head.len, own->GetLength() - plan.head.len - plan.tail.len, t, n);
      plan.pStay->m_cLineEnd.Set(stayCode);
      plan.pStay->SetModified(true);
    } else if (stayText) {
      delete plan.pStay->m_pLine;
      plan.pStay->m_pLine = stayText.release();
      plan.pStay->m_cLineEnd.Set(stayCode);
      plan.pStay->SetModified(true);
    }
    if (plan.bMoveBookmark && plan.nLineEnds > 0) {
      if (bookmarkLine) bookmarkLine->SetBookmark(plan.pStay->IsBookmarked());
      plan.pStay->SetBookmark(false);
    }
  }
  if (added.first) {
    CDocLine* after = before ? before->m_pNext : m_pHead;
    added.first->m_pPrev = before;
    added.last->m_pNext = after;
    if (before) {
      before->m_pNext = added.first;
    } else {
      m_pHead = added.first;
    }
    if (after) {
      after->m_pPrev = added.last;
    } else {
      m_pTail = added.last;
    }
    m_nLines += added.count;
    plan.nInserted = added.count;
    added.Release();
  }
  for (int p : insertProgress) plan.pBar->SetPos(p);

  if (m_nLines == 0) {
    m_pHead = m_pTail = nullptr;
    SetCursorAt(nullptr, 0);
  } else {
    CDocLine* at = plan.pStay ? plan.pStay : before ? before->m_pNext : m_pHead;
    if (at) {
      SetCursorAt(at, plan.nLine);
    } else {
      SetCursorAt(before, plan.nLine - 1);
    }
  }
  return true;
}

bool CDocLineMgr::DeleteRange(int nLine, int nCol, int nDelLen, int* pnModLineOldFrom, int* pnModLineOldTo,
                              int* pnDelLineOldFrom, int* pnDelLineOldNum, CMemory* pcmemDeleted) {
  if (pnModLineOldFrom) *pnModLineOldFrom = nLine;
  if (pnModLineOldTo) *pnModLineOldTo = nLine;
  if (pnDelLineOldFrom) *pnDelLineOldFrom = 0;
  if (pnDelLineOldNum) *pnDelLineOldNum = 0;
  if (pcmemDeleted) pcmemDeleted->Clear();
  if (nCol < 0 || nDelLen < 0) return false;
  CDocLine* line = GetLine(nLine);
  if (!line) return false;
  const int full = FullLength(line);
  if (nCol >= full) return false;
  const char* text = TextOf(line);
  const int textLen = line->GetLengthWithoutEol();
  const int col = StartColumn(line, nCol);
  const int64_t want = static_cast<int64_t>(col) + nDelLen;

  EditPlan plan;
  plan.nLine = nLine;
  plan.pStay = line;
  plan.bSameLine = true;
  plan.head = {text, col};
  int end = full;
  CDocLine* next = nullptr;
  const bool hasEol = line->m_cLineEnd.GetLen() > 0;
  if (hasEol ? (col != textLen && want <= textLen) : want < full) {
    end = CMemory::CharStartAt(text, textLen, static_cast<int>(want));
    plan.tail = {text + end, full - end};
    plan.nTailCode = line->m_cLineEnd.GetCode();
  } else if ((next = line->m_pNext) != nullptr) {
    plan.bSameLine = false;
    plan.tail = {TextOf(next), FullLength(next)};
    plan.nTailCode = next->m_cLineEnd.GetCode();
    plan.pFirstRemoved = plan.pLastRemoved = next;
    plan.nRemoved = 1;
  } else if (col == 0) {
    plan.pStay = nullptr;
    plan.bSameLine = false;
    plan.pFirstRemoved = plan.pLastRemoved = line;
    plan.nRemoved = 1;
  }
  if (pcmemDeleted && end > col && !pcmemDeleted->Append(text + col, end - col)) return false;
  if (!ApplyEdit(plan)) {
    if (pcmemDeleted) pcmemDeleted->Clear();
    return false;
  }
  if (next) {
    if (pnModLineOldTo) *pnModLineOldTo = nLine + 1;
    if (pnDelLineOldFrom) *pnDelLineOldFrom = nLine + 1;
    if (pnDelLineOldNum) *pnDelLineOldNum = 1;
  } else if (!plan.pStay) {
    if (pnDelLineOldFrom) *pnDelLineOldFrom = nLine;
    if (pnDelLineOldNum) *pnDelLineOldNum = 1;
  }
  return true;
}

bool CDocLineMgr::InsertText(int nLine, int nCol, const char* pData, int nDataLen, int* pnInsLineNum,
                             int* pnNewLine, int* pnNewPos) {
  if (pnInsLineNum) *pnInsLineNum = 0;
  if (pnNewLine) *pnNewLine = nLine;
  if (pnNewPos) *pnNewPos = nCol;
  if (nLine < 0 || nLine > m_nLines || nCol < 0 || nDataLen < 0 || (nDataLen > 0 && !pData)) return false;
  EditPlan plan;
  plan.nLine = nLine;
  plan.pStay = GetLine(nLine);
  int col = 0;
  if (plan.pStay) {
    col = StartColumn(plan.pStay, nCol);
    const char* text = TextOf(plan.pStay);
    plan.head = {text, col};
    plan.tail = {text + col, FullLength(plan.pStay) - col};
    plan.nTailCode = plan.pStay->m_cLineEnd.GetCode();
    plan.bMoveBookmark = col == 0;
    plan.bSameLine = true;
  }
  if (pnNewPos) *pnNewPos = col;
  if (nDataLen == 0) return true;
  plan.pText = pData;
  plan.nTextLen = nDataLen;
  if (!ApplyEdit(plan)) return false;
  if (pnInsLineNum) *pnInsLineNum = plan.nInserted;
  if (pnNewLine) *pnNewLine = nLine + plan.nLineEnds;
  if (pnNewPos) *pnNewPos = plan.nLineEnds > 0 ? plan.nRestLen : col + nDataLen;
  return true;
}

bool CDocLineMgr::ReplaceData(ReplaceDataArg* pArg) {
  if (!pArg) return false;
  ReplaceDataArg& a = *pArg;
  if (a.pDeletedText) a.pDeletedText->Clear();
  a.nDeletedLines = 0;
  a.nInsertedLines = 0;
  a.nNewLine = a.nDelLineFrom;
  a.nNewCol = a.nDelColFrom;
  const int count = m_nLines;
  if (a.nDelLineFrom < 0 || a.nDelColFrom < 0 || a.nDelColTo < 0 || a.nInsLen < 0 ||
      (a.nInsLen > 0 && !a.pInsText) || a.nDelLineFrom > count || a.nDelLineTo > count ||
      a.nDelLineTo < a.nDelLineFrom || (a.nDelLineTo == a.nDelLineFrom && a.nDelColTo < a.nDelColFrom)) {
    return false;
  }

  // Where the range starts and ends on character starts; a range that goes to the line after the
  // last ends at the end of the text.
  const int from = a.nDelLineFrom;
  CDocLine* first = GetLine(from);
  const int startCol = first ? StartColumn(first, a.nDelColFrom, a.bExactColumns) : 0;
  a.nNewCol = startCol;
  int last = from;
  CDocLine* lastLine = first;
  int endCol = startCol;
  const bool emptyRange = !first || (a.nDelLineTo == from && a.nDelColTo == a.nDelColFrom);
  if (!emptyRange) {
    last = a.nDelLineTo < count ? a.nDelLineTo : count - 1;
    for (int i = from; i < last; ++i) lastLine = lastLine->m_pNext;
    endCol = a.nDelLineTo < count ? EndColumn(lastLine, a.nDelColTo, a.bExactColumns) : FullLength(lastLine);
  }
  if ((emptyRange || (last == from && endCol == startCol)) && a.nInsLen == 0) return true;

  std::unique_ptr<CJobProgressBar> bar;
  if (a.nDelLineTo - a.nDelLineFrom > kProgressLineSpan || a.nInsLen > kProgressInsertBytes) {
    bar = OpenReplaceProgress();
    if (bar) {
      bar->SetRange(0, 100);
      bar->SetPos(0);
    }
  }
  const int linesInRange = last - from + 1;

  // Collect the deleted bytes into one block sized up front.
  if (a.pDeletedText && !emptyRange) {
    int64_t total = 0;
    for (CDocLine* line = first;; line = line->m_pNext) {
      total += (line == lastLine ? endCol : FullLength(line)) - (line == first ? startCol : 0);
      if (line == lastLine) break;
    }
    if (total > 0) {
      a.pDeletedText->AllocBuffer(total);
      if (!a.pDeletedText->GetPtr()) return false;
    }
    int i = from;
    for (CDocLine* line = first;; line = line->m_pNext, ++i) {
      const int s = line == first ? startCol : 0;
      const int e = line == lastLine ? endCol : FullLength(line);
      if (e > s) a.pDeletedText->Append(TextOf(line) + s, e - s);
      const int done = i - from + 1;
      if (bar && done % kProgressLineStep == 0) {
        bar->SetPos(static_cast<int>(static_cast<int64_t>(done) * 100 / linesInRange) / 2);
      }
      if (line == lastLine) break;
    }
  }

  EditPlan plan;
  plan.nLine = from;
  plan.pText = a.pInsText;
  plan.nTextLen = a.nInsLen;
  plan.pBar = bar.get();
  plan.nLinesInRange = linesInRange;
  if (!first) {
    // Text after the last line: nothing to delete, nothing stays.
  } else if (emptyRange || (last == from && endCol < FullLength(first))) {
    // The range lies inside the first line: it stays without the range.
    const char* text = TextOf(first);
    plan.pStay = first;
    plan.bSameLine = true;
    plan.head = {text, startCol};
    plan.tail = {text + endCol, FullLength(first) - endCol};
    plan.nTailCode = first->m_cLineEnd.GetCode();
  } else {
    // What follows the range: the rest of its last line, or the line after it.
    CDocLine* tailLine = lastLine;
    int tailCol = endCol;
    if (endCol >= FullLength(lastLine)) {
      tailLine = lastLine->m_pNext;
      tailCol = 0;
    }
    if (tailLine) {
      plan.tail = {TextOf(tailLine) + tailCol, FullLength(tailLine) - tailCol};
      plan.nTailCode = tailLine->m_cLineEnd.GetCode();
    }
    CDocLine* removedEnd = tailLine == lastLine ? lastLine->m_pPrev : lastLine;
    if (startCol == 0) {
      // The first line goes whole: the line that holds the tail stays in its place.
      plan.pStay = tailLine;
      plan.bStayUnchanged = tailLine && tailCol == 0;
      plan.pFirstRemoved = first;
      plan.pLastRemoved = removedEnd;
      plan.nRemoved = tailLine == lastLine ? last - from : last - from + 1;
    } else {
      // The first line keeps its head and takes the tail's line, which goes.
      plan.pStay = first;
      plan.head = {TextOf(first), startCol};
      CDocLine* removedLast = tailLine ? tailLine : lastLine;
      if (removedLast != first) {
        plan.pFirstRemoved = first->m_pNext;
        plan.pLastRemoved = removedLast;
        plan.nRemoved = (last - from) + (tailLine && tailLine != lastLine ? 1 : 0);
      }
    }
    if (plan.nRemoved == 0) plan.pFirstRemoved = plan.pLastRemoved = nullptr;
  }
  if (!ApplyEdit(plan)) {
    if (a.pDeletedText) a.pDeletedText->Clear();
    return false;
  }
  a.nDeletedLines = plan.nRemoved;
  a.nInsertedLines = plan.nInserted;
  a.nNewLine = from + plan.nLineEnds;
  a.nNewCol = plan.nLineEnds > 0 ? plan.nRestLen : startCol + a.nInsLen;
  return true;
}
