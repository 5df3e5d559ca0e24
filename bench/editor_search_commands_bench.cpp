// The pane's search and replace commands on a document of 1,000,000 generated Shift-JIS lines of
// 60 bytes (kanji, kana, ASCII, CR LF; editor_bench_pane.h), each beside a GNU tool run on the
// same text in a file in the same run (LC_ALL=C, started with posix_spawn and timed from its start
// to its exit, the file warm in the page cache):
//   BM_SearchNext   SearchNext from the top to each of the 100 hits of a literal, one command per
//                   hit with the caret and the view following, against grep -cF counting them.
//                   Goal: no slower than grep (without painting; with it, reported).
//   BM_ReplaceAll   ReplaceAll of 100,000 hits of the literal by a longer one (one command, one undo
//                   step), against sed 's/literal/longer/g' writing to /dev/null. Goal: no slower
//                   than sed. Reported too: the undo of that replace-all (goal under 50 ms).
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "bench/editor_bench_pane.h"
#include "bench/editor_bench_text.h"
#include "editor/view/commands/command_ids.h"
#include "editor/view/search/search_dialogs.h"

namespace {

constexpr int kLines = 1000000;
// Upper case: the generated lines hold only lower-case letters, so the literal is only where it
// was put.
constexpr char kLiteral[] = "XYZZY";
constexpr char kLonger[] = "PLUGHXYZ";
constexpr int kSearchNext = 30902;
constexpr int kReplaceAll = 30907;

// A document of kLines lines with the literal on every `every`-th line, in a pane, and the same
// bytes in a file.
struct Document {
  explicit Document(int every, const char* stem) : pane(stem, 0) {
    EditorBenchLines lines;
    std::string text;
    text.reserve(static_cast<size_t>(kLines) * 60);
    for (int i = 0; i < kLines; ++i) {
      const std::string line = lines.Next(i % every == every / 2 ? kLiteral : "");
      pane.AppendLine(line);
      text += line;
    }
    pane.Type().nWrapColumn = 200;
    pane.Show();
    bytes = text;
    file = std::make_unique<EditorBenchFile>(text);
    share().nSearchKeyCount = 0;
    share().nReplaceKeyCount = 0;
    pane.share.AddSearchKey(kLiteral);
    pane.share.AddReplaceKey(kLonger);
    CommonSettings& c = pane.record->Common;
    c.bSearchRegularExp = c.bSearchLoHiCase = c.bSearchWordOnly = 0;
    c.bSearchAll = 0;
    c.bSearchNOTIFYNOTFOUND = 0;
    c.bSearchSelectedArea = 0;
  }
  SharedSettings& share() { return *pane.record; }

  EditorBenchPane pane;
  std::string bytes;
  std::unique_ptr<EditorBenchFile> file;
};

// A GNU tool with LC_ALL=C, its output into a pipe (kept) or /dev/null; from its start to its exit.
struct ToolRun {
  double ms = 0;
  std::string output;
};
ToolRun RunTool(std::vector<std::string> args, bool keepOutput) {
  int out[2] = {-1, -1};
  if (keepOutput && pipe(out) != 0) std::abort();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (keepOutput) {
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
  } else {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  }
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  char lcAll[] = "LC_ALL=C";
  char* envp[] = {lcAll, nullptr};
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp) != 0) std::abort();
  posix_spawn_file_actions_destroy(&actions);
  ToolRun run;
  if (keepOutput) {
    close(out[1]);
    char buffer[256];
    for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) > 0;) run.output.append(buffer, got);
    close(out[0]);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) > 1) std::abort();
  run.ms = ElapsedMs(start, std::chrono::steady_clock::now());
  return run;
}

// state.range(0): 1 the pane paints each hit as it goes to it (a pane without a window paints at
// once what a window would paint on its next WM_PAINT), 0 painting switched off as while a macro
// runs: the search and the selection alone.
void BM_SearchNext(benchmark::State& state) {
  static Document* doc = new Document(kLines / 100, "CEditView-search-bench");
  CEditView& view = *doc->pane.view;
  view.m_bDrawSWITCH = static_cast<int>(state.range(0));
  double own = 0, grep = 0;
  long found = 0;
  for (auto _ : state) {
    view.ClearSelection(false);
    view.PlaceCursor(0, 0, false, 20);
    const auto t0 = std::chrono::steady_clock::now();
    found = 0;
    for (int i = 0; i < 100; ++i) found += view.Command_SEARCHNEXT(false, nullptr, nullptr);
    const auto t1 = std::chrono::steady_clock::now();
    const ToolRun g = RunTool({"grep", "-cF", kLiteral, doc->file->path()}, true);
    if (found != 100 || std::atol(g.output.c_str()) != 100) state.SkipWithError("not 100 hits");
    own += ElapsedMs(t0, t1);
    grep += g.ms;
    state.SetIterationTime(ElapsedMs(t0, t1) / 1000.0);
  }
  const double n = static_cast<double>(state.iterations());
  if (n == 0 || grep <= 0) return;
  state.counters["grep_ms"] = grep / n;
  state.counters["over_grep"] = own / grep;
  view.m_bDrawSWITCH = 1;
}
BENCHMARK(BM_SearchNext)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ReplaceAll(benchmark::State& state) {
  static Document* doc = new Document(10, "CEditView-replace-bench");
  CEditView& view = *doc->pane.view;
  CSearchDialogs dialogs;
  view.SetSearchDialogs(&dialogs);
  double own = 0, sed = 0, undo = 0;
  const std::string script = std::string("s/") + kLiteral + "/" + kLonger + "/g";
  for (auto _ : state) {
    view.ClearSelection(false);
    view.PlaceCursor(0, 0, false, 20);
    const auto t0 = std::chrono::steady_clock::now();
    view.RunCommand(kReplaceAll, true, 0, 0, 0, 0);
    const auto t1 = std::chrono::steady_clock::now();
    view.RunCommand(cmd::kUndo, true, 0, 0, 0, 0);
    const auto t2 = std::chrono::steady_clock::now();
    const ToolRun s = RunTool({"sed", script, doc->file->path()}, false);
    own += ElapsedMs(t0, t1);
    undo += ElapsedMs(t1, t2);
    sed += s.ms;
    state.SetIterationTime(ElapsedMs(t0, t1) / 1000.0);
    state.PauseTiming();
    if (dialogs.Replace().m_nReplaceCnt != kLines / 10) state.SkipWithError("not 100,000 replacements");
    if (doc->pane.doc->m_cUndoBuffer.GetCount() != 1) state.SkipWithError("not one undo step");
    doc->pane.doc->m_cUndoBuffer.Clear();
    state.ResumeTiming();
  }
  view.SetSearchDialogs(nullptr);
  if (doc->pane.Bytes() != doc->bytes) state.SkipWithError("undo did not give the text back");
  const double n = static_cast<double>(state.iterations());
  if (n == 0 || sed <= 0) return;
  state.counters["sed_ms"] = sed / n;
  state.counters["over_sed"] = own / sed;
  state.counters["undo_ms"] = undo / n;
}
BENCHMARK(BM_ReplaceAll)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
