// SortAsc of a selection of 1,000,000 lines in a pane, as a user runs it: the lines sorted, put
// back as one undoable replacement, cut into display lines again and painted. The baseline is the
// system's sort program on the same lines in the same run (byte order, stable, one thread), from
// a file in the page cache to /dev/null, its process start included.
// Goal: SortAsc within 3x of the baseline.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bench/editor_bench_pane.h"
#include "bench/editor_bench_text.h"
#include "editor/foundation/text/ope_blk.h"
#include "editor/view/commands/command_ids.h"

extern char** environ;

namespace {

constexpr int kLines = 1000000;
constexpr int kSortAsc = 30282;

// The generated Shift-JIS lines (CR LF each), cut to kLines.
const std::string& SortLines() {
  static const std::string lines = [] {
    std::string text = MakeEditorBenchText(static_cast<size_t>(kLines) * 80);
    size_t pos = 0;
    for (int i = 0; i < kLines; ++i) {
      pos = text.find('\n', pos);
      if (pos == std::string::npos) std::abort();
      ++pos;
    }
    text.resize(pos);
    return text;
  }();
  return lines;
}

EditorBenchPane& SortPane() {
  static EditorBenchPane* pane = [] {
    auto* made = new EditorBenchPane("CEditView-sort-bench", 0);
    const std::string& text = SortLines();
    for (size_t start = 0; start < text.size();) {
      const size_t end = text.find('\n', start) + 1;
      made->doc->m_cDocLineMgr.AppendLine(text.data() + start, static_cast<int>(end - start), CLineEnd::CRLF);
      start = end;
    }
    made->Show();
    return made;
  }();
  return *pane;
}

// The whole text selected, from its start to the start of the row after its last line end.
void SelectEverything(CEditView& view) {
  view.PlaceCursor(0, 0, true, 20);
  view.BeginSelectionAtCaret();
  const int rows = view.Layout().GetLineCount();
  view.PlaceCursor(0, rows, true, 20);
  view.ChangeSelectionTo(0, rows);
}

double RunSortProgram(const std::string& path) {
  std::vector<std::string> args = {"/usr/bin/env", "LC_ALL=C", "sort", "-s", "--parallel=1", path};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const auto t0 = std::chrono::steady_clock::now();
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  const auto t1 = std::chrono::steady_clock::now();
  posix_spawn_file_actions_destroy(&actions);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return ElapsedMs(t0, t1);
}

// Reported time: SortAsc. Counters: the sort program's time on the same lines in the same
// iteration, and the ratio.
void BM_SortAsc(benchmark::State& state) {
  EditorBenchPane& pane = SortPane();
  if (!pane.Ready()) {
    state.SkipWithError("the pane could not be set up (font or size)");
    return;
  }
  CEditView& view = *pane.view;
  const std::string original = pane.Bytes();
  const EditorBenchFile file(SortLines());
  double sortTotal = 0;
  double baselineTotal = 0;
  for (auto _ : state) {
    SelectEverything(view);
    const auto t0 = std::chrono::steady_clock::now();
    view.RunCommand(kSortAsc, true, 0, 0, 0, 0);
    const auto t1 = std::chrono::steady_clock::now();
    const double sortMs = ElapsedMs(t0, t1);
    state.SetIterationTime(sortMs / 1000.0);

    state.PauseTiming();
    const double baselineMs = RunSortProgram(file.path());
    if (baselineMs < 0) state.SkipWithError("the sort program failed");
    sortTotal += sortMs;
    baselineTotal += baselineMs;
    if (pane.doc->m_cUndoBuffer.GetCount() != 1) state.SkipWithError("the sort was not one undo step");
    const std::string sorted = pane.Bytes();
    if (sorted.size() != original.size() || sorted == original) state.SkipWithError("the lines were not sorted");
    view.RunCommand(cmd::kUndo, true, 0, 0, 0, 0);
    if (pane.Bytes() != original) state.SkipWithError("undo did not give the text back");
    pane.doc->m_cUndoBuffer.Clear();
    state.ResumeTiming();
  }
  const double n = static_cast<double>(state.iterations());
  if (n == 0 || baselineTotal <= 0) return;
  state.counters["sort_ms"] = sortTotal / n;
  state.counters["sort_program_ms"] = baselineTotal / n;
  state.counters["over_sort_program"] = sortTotal / baselineTotal;
}
BENCHMARK(BM_SortAsc)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
