// Typing in a large document: 1,000,000 generated Shift-JIS lines of 60 bytes (kanji, kana, ASCII,
// tabs, CR LF) in an 80 x 50 pane of the text type, shown at line 500,000. Without a window the
// pane paints what a command invalidates at once, so each timed command includes its painting.
//
// - BM_TypeChar: one iteration is the Char command of 'a' at the caret, which starts at column 20
//   and moves on as typing moves it (25 characters a line, then column 20 of the next line); the
//   undo buffer grows by a step a character as in real typing. Baseline in the same iteration:
//   CDocLineMgr::InsertText of the same byte at the same place of a copy of the document.
//   Goal: under 0.1 ms a character (each key drawn before the next screen refresh).
// - BM_TypeEnter: Enter (Char CR) at column 20 of successive lines, against the document lines'
//   insert of a CR LF there: every display line after it is numbered again.
// - BM_UndoOneChar: Undo of one typed character, against the document lines' delete of it.
// Reported time: the command's; counters: both and their ratio.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "bench/editor_bench_pane.h"
#include "bench/editor_bench_text.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/view/commands/command_ids.h"

namespace {

constexpr int kLines = 1000000;
constexpr int kAtLine = 500000;
constexpr int kColumn = 20;
constexpr int kTextType = 1;
constexpr int kCharsPerLine = 25;

// The pane over the document, and the document's lines again for the baseline.
struct Typing {
  Typing() {
    EditorBenchLines pane_lines;
    EditorBenchLines copy_lines;
    for (int i = 0; i < kLines; ++i) {
      pane.AppendLine(pane_lines.Next());
      const std::string line = copy_lines.Next();
      copy.AppendLine(line.data(), static_cast<int>(line.size()), CLineEnd::CRLF);
    }
    pane.Show();
    GoTo(kAtLine);
  }

  // The caret to column 20 of a document line, the pane scrolled there when it is not in view.
  void GoTo(int docLine) {
    CEditView& view = *pane.view;
    int x = 0;
    int y = 0;
    view.Layout().DocToWrapPos(0, docLine, &x, &y);
    if (y < view.m_nViewTopLine || y >= view.m_nViewTopLine + EditorBenchPane::kRows - 5) {
      view.m_nViewTopLine = y - 10;
      view.RepaintAll();
    }
    view.PlaceCursor(kColumn, y, true, 20);
    view.m_nCaretPosX_Prev = view.m_nCaretPosX;
  }

  POINT DocCaret() const { return POINT{pane.view->m_nCaretPosX_PHY, pane.view->m_nCaretPosY_PHY}; }

  // The pane's document line and the copy's are the same bytes.
  bool SameLine(int docLine) {
    int a = 0;
    int b = 0;
    const char* mine = pane.doc->m_cDocLineMgr.GetLine(docLine)->GetText(&a);
    const char* theirs = copy.GetLine(docLine)->GetText(&b);
    return std::string(mine, static_cast<size_t>(a)) == std::string(theirs, static_cast<size_t>(b));
  }

  EditorBenchPane pane{"CEditView-typing-bench", kTextType};
  CDocLineMgr copy;
};

Typing& TheTyping() {
  static Typing* typing = new Typing;
  return *typing;
}

struct Totals {
  double command = 0;
  double baseline = 0;
};

// Times the baseline and then the command, the command as the iteration's time.
template <typename Baseline, typename Command>
void TimeBoth(benchmark::State& state, Totals& totals, Baseline baseline, Command command) {
  const auto t0 = std::chrono::steady_clock::now();
  baseline();
  const auto t1 = std::chrono::steady_clock::now();
  command();
  const auto t2 = std::chrono::steady_clock::now();
  totals.baseline += ElapsedMs(t0, t1);
  totals.command += ElapsedMs(t1, t2);
  state.SetIterationTime(ElapsedMs(t1, t2) / 1000.0);
}

// The shared pane, or null (the benchmark skipped) when it could not be set up.
Typing* ReadyTyping(benchmark::State& state) {
  Typing& t = TheTyping();
  if (t.pane.Ready()) return &t;
  state.SkipWithError("the pane could not be set up (font or size)");
  return nullptr;
}

void Report(benchmark::State& state, const Totals& totals, const char* name) {
  const double n = static_cast<double>(state.iterations());
  if (n == 0 || totals.baseline <= 0) return;
  state.counters[std::string(name) + "_ms"] = totals.command / n;
  state.counters["baseline_ms"] = totals.baseline / n;
  state.counters[std::string(name) + "_over_baseline"] = totals.command / totals.baseline;
}

void BM_TypeChar(benchmark::State& state) {
  Typing* typing = ReadyTyping(state);
  if (!typing) return;
  Typing& t = *typing;
  CEditView& view = *t.pane.view;
  const int firstStep = t.pane.doc->m_cUndoBuffer.GetCount();
  int line = kAtLine;
  int typed = 0;
  Totals totals;
  for (auto _ : state) {
    if (typed > 0 && typed % kCharsPerLine == 0) t.GoTo(++line);
    const POINT at = t.DocCaret();
    TimeBoth(
        state, totals, [&] { t.copy.InsertText(at.y, at.x, "a", 1, nullptr, nullptr, nullptr); },
        [&] { view.RunCommand(cmd::kChar, true, 'a', 0, 0, 0); });
    ++typed;
  }
  if (t.pane.doc->m_cUndoBuffer.GetCount() != firstStep + typed) state.SkipWithError("not one undo step a character");
  for (int l = kAtLine; l <= line; ++l) {
    if (!t.SameLine(l)) {
      state.SkipWithError("the pane typed elsewhere than the baseline");
      break;
    }
  }
  Report(state, totals, "char");
}
BENCHMARK(BM_TypeChar)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

void BM_TypeEnter(benchmark::State& state) {
  Typing* typing = ReadyTyping(state);
  if (!typing) return;
  Typing& t = *typing;
  CEditView& view = *t.pane.view;
  // Below what the typing benchmark touched.
  int line = kAtLine + 200;
  Totals totals;
  for (auto _ : state) {
    t.GoTo(line);
    const POINT at = t.DocCaret();
    TimeBoth(
        state, totals, [&] { t.copy.InsertText(at.y, at.x, "\r\n", 2, nullptr, nullptr, nullptr); },
        [&] { view.RunCommand(cmd::kChar, true, '\r', 0, 0, 0); });
    // The split line's head, its tail, then the next line to split.
    line += 2;
  }
  // Auto indent may put blanks after the line end the copy has not got: the head lines compare.
  for (int l = kAtLine + 200; l < line; l += 2) {
    if (!t.SameLine(l)) {
      state.SkipWithError("the pane split elsewhere than the baseline");
      break;
    }
  }
  Report(state, totals, "enter");
}
BENCHMARK(BM_TypeEnter)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(500);

void BM_UndoOneChar(benchmark::State& state) {
  Typing* typing = ReadyTyping(state);
  if (!typing) return;
  Typing& t = *typing;
  CEditView& view = *t.pane.view;
  const int line = kAtLine + 2000;
  Totals totals;
  for (auto _ : state) {
    t.GoTo(line);
    const POINT at = t.DocCaret();
    view.RunCommand(cmd::kChar, true, 'a', 0, 0, 0);
    t.copy.InsertText(at.y, at.x, "a", 1, nullptr, nullptr, nullptr);
    TimeBoth(
        state, totals, [&] { t.copy.DeleteRange(at.y, at.x, 1, nullptr, nullptr, nullptr, nullptr, nullptr); },
        [&] { view.RunCommand(cmd::kUndo, true, 0, 0, 0, 0); });
  }
  if (!t.SameLine(line)) state.SkipWithError("undo did not give the line back");
  Report(state, totals, "undo");
}
BENCHMARK(BM_UndoOneChar)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(500);

}  // namespace

BENCHMARK_MAIN();
