// Undo and redo: the document's undo buffer steps back or forward one command, and the pane
// replays that step's records (backwards for undo) with painting held until the end and the caret
// placed once, so a step of a hundred thousand records repaints once.
#include <algorithm>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/ope_blk.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "editor/foundation/ui/hourglass_cursor.h"
#include "editor/view/commands/command_handler.h"
#include "editor/view/commands/command_ids.h"
#include "editor/view/pane/edit_view.h"
#include "platform/beep.h"

namespace {

// Holds the pane's painting and marks undo or redo running for the length of a replay.
class ReplayScope {
 public:
  explicit ReplayScope(CEditView& view) : m_view(view) {
    m_view.m_bDoing_UndoRedo = true;
    m_view.m_bDrawSWITCH = 0;
  }
  ~ReplayScope() {
    m_view.m_bDrawSWITCH = 1;
    m_view.m_bDoing_UndoRedo = false;
  }
  ReplayScope(const ReplayScope&) = delete;
  ReplayScope& operator=(const ReplayScope&) = delete;

 private:
  CEditView& m_view;
};

// The display position of a document position.
POINT WrapPos(CEditView& view, int nDocCol, int nDocLine) {
  int x = 0;
  int y = 0;
  view.Layout().DocToWrapPos(nDocCol, nDocLine, &x, &y);
  return POINT{x, y};
}

void PlaceAt(CEditView& view, int nDocCol, int nDocLine, bool bRepaint) {
  const POINT at = WrapPos(view, nDocCol, nDocLine);
  view.PlaceCursor(at.x, at.y, bRepaint, 20);
  view.m_nCaretPosX_Prev = view.m_nCaretPosX;
}

// A step of a replace-all holds hundreds of thousands of records, each with its text in a block
// of its own: read one after another they would wait on memory at every one. The records a few
// steps ahead in the direction of the replay are asked for early, then their texts, then the
// texts' bytes.
void PrefetchAhead(std::span<COpeRecord* const> records, int i, int direction) {
  const auto at = [&](int index) -> const COpeRecord* {
    return index >= 0 && static_cast<size_t>(index) < records.size() ? records[static_cast<size_t>(index)] : nullptr;
  };
  if (const COpeRecord* far = at(i + 64 * direction)) __builtin_prefetch(far);
  if (const COpeRecord* mid = at(i + 40 * direction); mid && mid->m_pText) __builtin_prefetch(mid->m_pText);
  if (const COpeRecord* near = at(i + 20 * direction); near && near->m_pText) {
    __builtin_prefetch(near->m_pText->GetPtr());
  }
}

// The records' positions are document positions of bytes, taken exactly: the bytes around a
// record's place may make other characters now than when it was made (a lead byte put before a
// byte that can trail it), and a position snapped to a character start would take or put back the
// wrong bytes. The edits go to the display lines in order, a chunk at a time, so that a run of
// them inside one line cuts that line once; the pane is brought up to date once at the end.
class RecordReplay {
 public:
  explicit RecordReplay(CWrapLineMgr& layout) : m_layout(layout) {
    m_args.reserve(kChunk);
    m_pending.reserve(kChunk);
  }
  RecordReplay(const RecordReplay&) = delete;
  RecordReplay& operator=(const RecordReplay&) = delete;

  // Removes the text from the record's start to its range end; the record keeps it.
  void Take(COpeRecord& ope) {
    auto removed = std::make_unique<CMemory>();
    ReplaceDataArg& arg = Add(ope);
    arg.nDelLineTo = ope.m_nRangeEndY_PHY;
    arg.nDelColTo = ope.m_nRangeEndX_PHY;
    arg.pDeletedText = removed.get();
    m_pending.push_back(Pending{&ope, std::move(removed)});
    if (m_args.size() == kChunk) Flush();
  }

  // Puts the record's text back at its start and lets it go.
  void PutBack(COpeRecord& ope) {
    if (ope.m_pText && ope.m_pText->GetLength() > 0) {
      const char* text = ope.m_pText->GetPtr();
      const int length = ope.m_pText->GetLength();
      if (ReplacesTakenText(ope, text, length)) {
        // A replaced text: taken and put back where it stood, in one edit of the line.
        m_args.back().pInsText = text;
        m_args.back().nInsLen = length;
        m_pending.push_back(Pending{&ope, nullptr});
        return;
      }
      ReplaceDataArg& arg = Add(ope);
      arg.pInsText = text;
      arg.nInsLen = length;
      m_pending.push_back(Pending{&ope, nullptr});
      if (m_args.size() == kChunk) Flush();
      return;
    }
    delete ope.m_pText;
    ope.m_pText = nullptr;
  }

  // Makes the edits so far; the records then hold the text taken and let go of the text put back.
  void Flush() {
    m_layout.ReplaceDocTexts(m_args);
    for (Pending& p : m_pending) {
      delete p.ope->m_pText;
      p.ope->m_pText = nullptr;
      if (p.removed) {
        p.ope->m_nTextLen = p.removed->GetLength();
        p.ope->m_pText = p.removed.release();
      }
    }
    m_args.clear();
    m_pending.clear();
  }

 private:
  static constexpr size_t kChunk = 512;
  struct Pending {
    COpeRecord* ope;
    std::unique_ptr<CMemory> removed;  // the text taken, for the record
  };

  // Whether the edit before is the taking of a range inside one line that starts where this text
  // goes back, and the text holds no line end: taking the range and putting the text there is
  // then one replacement inside the line, which the document lines make as one edit.
  bool ReplacesTakenText(const COpeRecord& ope, const char* text, int length) const {
    if (m_args.empty()) return false;
    const ReplaceDataArg& last = m_args.back();
    if (last.pInsText || !last.pDeletedText || last.nDelLineTo != last.nDelLineFrom ||
        last.nDelLineFrom != ope.m_nCaretPosY_PHY_Before || last.nDelColFrom != ope.m_nCaretPosX_PHY_Before) {
      return false;
    }
    return std::none_of(text, text + length, [](char c) { return c == '\r' || c == '\n'; });
  }

  // An empty range at the record's start.
  ReplaceDataArg& Add(const COpeRecord& ope) {
    ReplaceDataArg& arg = m_args.emplace_back();
    arg.nDelLineFrom = arg.nDelLineTo = ope.m_nCaretPosY_PHY_Before;
    arg.nDelColFrom = arg.nDelColTo = ope.m_nCaretPosX_PHY_Before;
    arg.bExactColumns = true;
    return arg;
  }

  CWrapLineMgr& m_layout;
  std::vector<ReplaceDataArg> m_args;
  std::vector<Pending> m_pending;
};

// What every replay ends with: the modified flag of the step, the bracket pair, the pane and its
// siblings painted once.
void FinishReplay(CEditView& view, bool bModified) {
  view.m_pcEditDoc->SetModified(bModified, true);
  view.m_pcEditDoc->UpdatePanesTextAreaLeft(false);
  view.UpdateBracketPair(true);
  view.m_bRedrawRuler = true;
  view.RepaintAll();
  view.m_pcEditDoc->RedrawSiblingPanes();
}

// Whether the pane may replay now: not during a drag-selection (it beeps) and only with a step.
bool MayReplay(CEditView& view, bool bCan) {
  if (view.m_bBeginSelect) {
    platform::MessageBeep(MB_ICONHAND);
    return false;
  }
  return bCan;
}

// Selection and its modes off, as the cancel command leaves them.
void CancelSelection(CEditView& view) {
  if (view.IsTextSelected()) view.ClearSelection(true);
  view.m_bSelectingLock = false;
  view.m_bBeginBoxSelect = false;
}

}  // namespace

void CEditView::Command_UNDO() {
  if (!m_pcEditDoc || !MayReplay(*this, m_pcEditDoc->m_cUndoBuffer.CanUndo())) return;
  CHourglassCursor hourglass(m_hWnd);
  CancelSelection(*this);
  bool bModified = true;
  {
    ReplayScope replay(*this);
    COpeBlk* block = m_pcEditDoc->m_cUndoBuffer.StepBack(&bModified);
    const std::span<COpeRecord* const> records = block ? block->Records() : std::span<COpeRecord* const>{};
    const int count = static_cast<int>(records.size());
    RecordReplay edits(Layout());
    for (int i = count - 1; i >= 0; --i) {
      PrefetchAhead(records, i, -1);
      COpeRecord& ope = *records[static_cast<size_t>(i)];
      if (ope.m_nKind == COpeRecord::OPE_INSERT) {
        edits.Take(ope);
      } else if (ope.m_nKind == COpeRecord::OPE_DELETE) {
        edits.PutBack(ope);
      }
    }
    edits.Flush();
    // Every record carries its own positions, so the caret is placed once, where the step's first
    // record found it: its stops between the records would never be seen, and cost as much as
    // the edits in a step of many records.
    if (count > 0) {
      const COpeRecord& first = *records.front();
      PlaceAt(*this, first.m_nCaretPosX_PHY_Before, first.m_nCaretPosY_PHY_Before, true);
    }
  }
  FinishReplay(*this, bModified);
}

void CEditView::Command_REDO() {
  if (!m_pcEditDoc || !MayReplay(*this, m_pcEditDoc->m_cUndoBuffer.CanRedo())) return;
  CHourglassCursor hourglass(m_hWnd);
  CancelSelection(*this);
  bool bModified = true;
  {
    ReplayScope replay(*this);
    COpeBlk* block = m_pcEditDoc->m_cUndoBuffer.StepForward(&bModified);
    const std::span<COpeRecord* const> records = block ? block->Records() : std::span<COpeRecord* const>{};
    const int count = static_cast<int>(records.size());
    // The view goes to where the step begins, then the caret to where its last record leaves it
    // (as in the undo, no stops between).
    if (count > 0) {
      const COpeRecord& first = *records.front();
      PlaceAt(*this, first.m_nCaretPosX_PHY_Before, first.m_nCaretPosY_PHY_Before, true);
    }
    RecordReplay edits(Layout());
    for (int i = 0; i < count; ++i) {
      PrefetchAhead(records, i, 1);
      COpeRecord& ope = *records[static_cast<size_t>(i)];
      if (ope.m_nKind == COpeRecord::OPE_INSERT) {
        edits.PutBack(ope);
      } else if (ope.m_nKind == COpeRecord::OPE_DELETE) {
        edits.Take(ope);
      }
    }
    edits.Flush();
    if (count > 0) {
      const COpeRecord& last = *records.back();
      PlaceAt(*this, last.m_nCaretPosX_PHY_After, last.m_nCaretPosY_PHY_After, true);
    }
  }
  FinishReplay(*this, bModified);
}

// The family's registration table.
namespace {

LRESULT Undo(CEditView& view, const CommandCall&) {
  view.Command_UNDO();
  return 1;
}

LRESULT Redo(CEditView& view, const CommandCall&) {
  view.Command_REDO();
  return 1;
}

constexpr CommandHandlerEntry kUndoCommands[] = {
    {cmd::kUndo, cmd::kUndo, &Undo},
    {cmd::kRedo, cmd::kRedo, &Redo},
};

}  // namespace

std::span<const CommandHandlerEntry> UndoCommandFamily() { return kUndoCommands; }
