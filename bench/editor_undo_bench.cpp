// Undo of a large change: a replace-all of one word on each of 100,000 lines, recorded as the
// editing commands record it (a deletion and an insertion per hit, all in one undo step), then the
// step replayed backwards. The baseline is the forward pass of the same run: undoing a change
// should cost about what making it did. The edits go where the commands send them: to the display
// lines' replace at display positions, which edits the document lines and cuts the touched lines
// again; the records keep document positions.
//
// BM_UndoCommand is the same in a pane, as a user runs it: one command makes 100,000 replacements
// of a 5-byte word by a 7-byte one (every other line of 200,000) through ReplaceRangeUndoable, the
// records a replace-all makes, all one undo step; Command_UNDO takes the step back (timed) and
// Command_REDO makes it again (reported). The baseline is making the change in the same run.
// Goal: the undo under 50 ms, with no hourglass a user would see.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <utility>

#include "bench/editor_bench_pane.h"
#include "bench/editor_bench_text.h"
#include "editor/view/commands/command_handler_table.h"
#include "editor/view/commands/command_ids.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/ope_blk.h"
#include "editor/foundation/text/wrap_line_mgr.h"

namespace {

constexpr int kLines = 100000;
constexpr char kWord[] = "fox";
constexpr char kReplacement[] = "wolverine";

// Lines of ASCII and Shift-JIS with the word once, somewhere along the line.
void Fill(CDocLineMgr& mgr) {
  static const char* const kana = "\x82\xa0\x82\xa2\x82\xa4\x8a\xbf\x8e\x9a";  // あいう漢字
  for (int i = 0; i < kLines; ++i) {
    std::string line = std::to_string(i) + ": ";
    for (int k = 0; k < i % 7; ++k) line += kana;
    line += " the quick brown ";
    line += kWord;
    line += " jumps over the lazy dog ";
    line += kana;
    line += "\r\n";
    mgr.AppendLine(line.data(), static_cast<int>(line.size()), CLineEnd::CRLF);
  }
}

// Replaces the document range by the text at display positions, as the commands do; the end of
// the inserted text comes back as a document position.
void Replace(CWrapLineMgr& wrap, int colFrom, int lineFrom, int colTo, int lineTo, const char* text, int len,
             CMemory* deleted, int* newCol, int* newLine) {
  WrapReplaceArg a;
  wrap.DocToWrapPos(colFrom, lineFrom, &a.nDelColFrom, &a.nDelLineFrom);
  wrap.DocToWrapPos(colTo, lineTo, &a.nDelColTo, &a.nDelLineTo);
  a.pDeletedText = deleted;
  a.pInsText = text;
  a.nInsLen = len;
  wrap.ReplaceText(&a);
  if (newCol) wrap.WrapToDocPos(a.nNewPos, a.nNewLine, newCol, newLine);
}

// The replace-all: find the word in each line, replace it, and record the deletion and the
// insertion. Returns the undo step.
COpeBlk* ReplaceAll(CDocLineMgr& mgr, CWrapLineMgr& wrap) {
  auto* step = new COpeBlk;
  const int wordLen = static_cast<int>(std::strlen(kWord));
  const int count = mgr.GetLineCount();
  for (int line = 0; line < count; ++line) {
    int len = 0;
    const char* text = mgr.GetLineTextNoLineEnd(line, &len);
    const void* hit = memmem(text, len, kWord, wordLen);
    if (!hit) continue;
    const int col = static_cast<int>(static_cast<const char*>(hit) - text);
    auto* deleted = new CMemory;
    int newCol = 0;
    int newLine = 0;
    Replace(wrap, col, line, col + wordLen, line, kReplacement, static_cast<int>(sizeof kReplacement - 1), deleted,
            &newCol, &newLine);

    auto* del = new COpeRecord;
    del->m_nKind = COpeRecord::OPE_DELETE;
    del->m_nCaretPosX_PHY_Before = del->m_nCaretPosX_PHY_After = col;
    del->m_nCaretPosY_PHY_Before = del->m_nCaretPosY_PHY_After = line;
    del->m_nRangeEndX_PHY = col + wordLen;
    del->m_nRangeEndY_PHY = line;
    del->m_nTextLen = deleted->GetLength();
    del->m_pText = deleted;
    step->AppendOpe(del);

    auto* ins = new COpeRecord;
    ins->m_nKind = COpeRecord::OPE_INSERT;
    ins->m_nCaretPosX_PHY_Before = col;
    ins->m_nCaretPosY_PHY_Before = line;
    ins->m_nCaretPosX_PHY_After = ins->m_nRangeEndX_PHY = newCol;
    ins->m_nCaretPosY_PHY_After = ins->m_nRangeEndY_PHY = newLine;
    step->AppendOpe(ins);
  }
  return step;
}

// Undo: the records from the last to the first. An insertion is taken out again (its text kept
// for a redo); a deletion puts its text back (and drops it).
void Undo(CWrapLineMgr& wrap, COpeBlk& step) {
  for (int i = step.GetNum() - 1; i >= 0; --i) {
    COpeRecord* r = step.GetRecord(i);
    if (r->m_nKind == COpeRecord::OPE_INSERT) {
      r->m_pText = new CMemory;
      Replace(wrap, r->m_nCaretPosX_PHY_Before, r->m_nCaretPosY_PHY_Before, r->m_nCaretPosX_PHY_After,
              r->m_nCaretPosY_PHY_After, nullptr, 0, r->m_pText, nullptr, nullptr);
      r->m_nTextLen = r->m_pText->GetLength();
    } else if (r->m_nKind == COpeRecord::OPE_DELETE) {
      Replace(wrap, r->m_nCaretPosX_PHY_Before, r->m_nCaretPosY_PHY_Before, r->m_nCaretPosX_PHY_Before,
              r->m_nCaretPosY_PHY_Before, r->m_pText->GetPtr(), r->m_pText->GetLength(), nullptr, nullptr, nullptr);
      delete r->m_pText;
      r->m_pText = nullptr;
    }
  }
}

// Reported time: the undo. Counters: the forward pass of the same iteration and their ratio (goal:
// the undo under 50 ms and within 1.2 times the forward pass).
void BM_UndoReplaceAll(benchmark::State& state) {
  double forwardTotal = 0;
  double undoTotal = 0;
  const auto type = MakeEditorBenchWrapType();
  for (auto _ : state) {
    CDocLineMgr mgr;
    Fill(mgr);
    CWrapLineMgr wrap;
    wrap.Attach(&mgr);
    wrap.SetWrapSettings(true, nullptr, *type);
    const std::string before = [&] {
      std::string s;
      for (const CDocLine* l = mgr.GetFirstLine(); l; l = l->m_pNext) s += l->m_pLine->View();
      return s;
    }();
    const auto t0 = std::chrono::steady_clock::now();
    COpeBlk* step = ReplaceAll(mgr, wrap);
    const auto t1 = std::chrono::steady_clock::now();
    Undo(wrap, *step);
    const auto t2 = std::chrono::steady_clock::now();
    forwardTotal += ElapsedMs(t0, t1);
    undoTotal += ElapsedMs(t1, t2);
    state.SetIterationTime(ElapsedMs(t1, t2) / 1000.0);
    if (step->GetNum() != 2 * kLines) state.SkipWithError("not one hit per line");
    std::string after;
    for (const CDocLine* l = mgr.GetFirstLine(); l; l = l->m_pNext) after += l->m_pLine->View();
    if (after != before) state.SkipWithError("undo did not give the text back");
    CWrapLineMgr fresh;
    fresh.Attach(&mgr);
    fresh.SetWrapSettings(true, nullptr, *type);
    if (fresh.GetLineCount() != wrap.GetLineCount()) state.SkipWithError("the display lines went wrong");
    delete step;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["forward_ms"] = forwardTotal / n;
  state.counters["undo_ms"] = undoTotal / n;
  state.counters["undo_over_forward"] = undoTotal / forwardTotal;
  state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_UndoReplaceAll)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// ---- The command in a pane ---------------------------------------------------------------------

constexpr int kPaneLines = 200000;
constexpr char kPaneWord[] = "fives";
constexpr char kPaneReplacement[] = "sevens!";
// An id no command has: its handler makes the change, so that it is one command's undo step.
constexpr int kReplaceAllCommand = 39991;

// The pane over 200,000 lines, the word on the even ones.
EditorBenchPane& UndoPane() {
  static EditorBenchPane* pane = [] {
    auto* made = new EditorBenchPane("CEditView-undo-bench", 0);
    EditorBenchLines lines;
    for (int i = 0; i < kPaneLines; ++i) made->AppendLine(lines.Next(i % 2 == 0 ? kPaneWord : ""));
    made->Show();
    return made;
  }();
  return *pane;
}

// Every even line's word replaced, each hit through the primitive a replace-all uses.
LRESULT ReplaceEveryWord(CEditView& view, const CommandCall&) {
  const int wordLen = static_cast<int>(sizeof kPaneWord - 1);
  for (int line = 0; line < kPaneLines; line += 2) {
    int fromX = 0;
    int fromY = 0;
    int toX = 0;
    int toY = 0;
    view.Layout().DocToWrapPos(EditorBenchLines::kWordAt, line, &fromX, &fromY);
    view.Layout().DocToWrapPos(EditorBenchLines::kWordAt + wordLen, line, &toX, &toY);
    view.ReplaceRangeUndoable(fromY, fromX, toY, toX, nullptr, kPaneReplacement,
                              static_cast<int>(sizeof kPaneReplacement - 1), false);
  }
  view.RepaintAll();
  return 1;
}

// Reported time: the undo. Counters: the change, the undo and the redo of the same iteration and
// the undo's ratio to the change.
void BM_UndoCommand(benchmark::State& state) {
  EditorBenchPane& pane = UndoPane();
  if (!pane.Ready()) {
    state.SkipWithError("the pane could not be set up (font or size)");
    return;
  }
  CEditView& view = *pane.view;
  CCommandHandlerTable::Handler saved = CCommandHandlerTable::Get().Replace(kReplaceAllCommand, &ReplaceEveryWord);
  view.PlaceCursor(0, 0, true, 20);
  const std::string original = pane.Bytes();
  double changeTotal = 0;
  double undoTotal = 0;
  double redoTotal = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    view.RunCommand(kReplaceAllCommand, true, 0, 0, 0, 0);
    const auto t1 = std::chrono::steady_clock::now();
    view.RunCommand(cmd::kUndo, true, 0, 0, 0, 0);
    const auto t2 = std::chrono::steady_clock::now();
    view.RunCommand(cmd::kRedo, true, 0, 0, 0, 0);
    const auto t3 = std::chrono::steady_clock::now();
    changeTotal += ElapsedMs(t0, t1);
    undoTotal += ElapsedMs(t1, t2);
    redoTotal += ElapsedMs(t2, t3);
    state.SetIterationTime(ElapsedMs(t1, t2) / 1000.0);

    state.PauseTiming();
    if (pane.doc->m_cUndoBuffer.GetCount() != 1) state.SkipWithError("the change was not one undo step");
    const std::string changed = pane.Bytes();
    if (changed.size() != original.size() + kPaneLines / 2 * 2) state.SkipWithError("not one hit on every other line");
    view.RunCommand(cmd::kUndo, true, 0, 0, 0, 0);
    if (pane.Bytes() != original) state.SkipWithError("undo did not give the text back");
    pane.doc->m_cUndoBuffer.Clear();
    state.ResumeTiming();
  }
  CCommandHandlerTable::Get().Replace(kReplaceAllCommand, std::move(saved));
  const double n = static_cast<double>(state.iterations());
  if (n == 0 || changeTotal <= 0) return;
  state.counters["change_ms"] = changeTotal / n;
  state.counters["undo_ms"] = undoTotal / n;
  state.counters["redo_ms"] = redoTotal / n;
  state.counters["undo_over_change"] = undoTotal / changeTotal;
}
BENCHMARK(BM_UndoCommand)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
