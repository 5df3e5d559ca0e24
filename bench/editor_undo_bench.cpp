// Undo of a large change: a replace-all of one word on each of 100,000 lines, recorded as the
// editing commands record it (a deletion and an insertion per hit, all in one undo step), then the
// step replayed backwards. The baseline is the forward pass of the same run: undoing a change
// should cost about what making it did. The edits go where the commands send them: to the display
// lines' replace at display positions, which edits the document lines and cuts the touched lines
// again; the records keep document positions.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>

#include "bench/editor_bench_text.h"
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

}  // namespace

BENCHMARK_MAIN();
