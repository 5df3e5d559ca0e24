// The editor's start: from posix_spawn of `tovara FILE` on a 1 MB Shift-JIS file to the first
// paint of the edit window's pane, which the pane marks on the descriptor VREL_FIRST_FRAME_FD names
// (first_frame_run.h). The baseline, in the same iterations, is the same executable making its
// application object and showing an empty main window (VREL_BENCH_BARE_WINDOW), marked the same
// way. The goal is a time_ratio within 1.5 for the warm start, the resident already running (a
// second window on another file keeps it: without a tray it ends with the last window). The cold
// start waits for the resident to end before each run, so its time holds the resident's start. The
// warm start on a file of one line beside it tells what the loading of the large file costs.
// On a busy machine cpu_ratio, the processor time until the mark, says more than the clock.
//
// Everything runs in a private copy of the executable and its regular-expression module with its
// own runtime folder (the real-process tests' sandbox), so the settings file and the locks are the
// benchmark's own; whatever of the copy still runs at the end is killed.
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

#include "editor_bench_text.h"
#include "editor_sandbox.h"
#include "first_frame_run.h"

namespace {

constexpr auto kLimit = std::chrono::seconds(20);

struct Sandbox {
  EditorSandbox box;
  std::filesystem::path bigFile, smallFile, keepFile;
  Sandbox() {
    std::filesystem::copy_file(VREL_REGEXP_LIBRARY, box.AppFolder() / std::filesystem::path(VREL_REGEXP_LIBRARY).filename());
    bigFile = box.Folder() / "big.txt";
    smallFile = box.Folder() / "small.txt";
    keepFile = box.Folder() / "keep.txt";
    std::ofstream(bigFile, std::ios::binary) << MakeEditorBenchText(size_t{1} << 20);
    std::ofstream(smallFile, std::ios::binary) << "one line\r\n";
    std::ofstream(keepFile, std::ios::binary) << "keeps the resident\r\n";
  }
};

Sandbox& TheSandbox() {
  static Sandbox sandbox;
  return sandbox;
}

// A failed start measures nothing. The exit (not an abort) runs the sandbox's end, which kills
// what the copy still runs and removes its folder.
[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "editor_start_bench: %s\n", what);
  std::exit(1);
}

struct Run {
  double ms = 0;
  double cpuMs = 0;
  double rssMb = 0;
};

enum class After { kEnds, kClose, kKeep };

// Starts the copy under the editor's name with the arguments until its first paint. Then kEnds
// waits for it to end by itself, kClose ends it as a quit signal does (closing its window), and
// kKeep leaves it running with its id in left.
Run RunOnce(const std::vector<std::string>& args, const std::vector<std::string>& extra, After after, pid_t* left = nullptr) {
  Sandbox& sandbox = TheSandbox();
  std::vector<std::string> argv{sandbox.box.EditorName().string()};
  argv.insert(argv.end(), args.begin(), args.end());
  const FirstFrameStart started = StartUntilFirstFrame(argv, sandbox.box.Folder(), extra);
  if (!started.marked) {
    kill(started.pid, SIGKILL);
    waitpid(started.pid, nullptr, 0);
    Fail("the program ended without its first paint");
  }
  const ProcessCost cost = ReadProcessCost(started.pid);
  if (after == After::kKeep) {
    *left = started.pid;
  } else {
    if (after == After::kClose) kill(started.pid, SIGTERM);
    int status = 0;
    if (waitpid(started.pid, &status, 0) != started.pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
      Fail("the program did not end with status 0");
  }
  return {started.Ms(), cost.cpuMs, cost.rssMb};
}

Run RunBare() { return RunOnce({}, {"VREL_BENCH_BARE_WINDOW=1"}, After::kEnds); }
Run RunEditor(const std::filesystem::path& file) { return RunOnce({file.string()}, {}, After::kClose); }

// Waits until no resident of the copy runs; one that stays is asked to end.
void WaitNoResident() {
  const EditorSandbox& box = TheSandbox().box;
  for (pid_t pid : box.ProcessesOfCopy("-NOWIN")) {
    if (!EditorSandbox::WaitGone(pid, std::chrono::seconds(5))) {
      kill(pid, SIGTERM);
      if (!EditorSandbox::WaitGone(pid, kLimit)) Fail("the resident did not end");
    }
  }
}

void Report(benchmark::State& state, const std::vector<Run>& editor, const std::vector<Run>& bare) {
  CountAgainstBaseline(state, editor, bare, &Run::ms, "start_ms", "bare_ms", "time_ratio");
  CountAgainstBaseline(state, editor, bare, &Run::cpuMs, "cpu_ms", "bare_cpu_ms", "cpu_ratio");
  CountAgainstBaseline(state, editor, bare, &Run::rssMb, "rss_MB", "bare_rss_MB", "rss_ratio");
}

void BM_EditorWarmStart(benchmark::State& state) {
  UseHeadlessDefaults();
  // The window that keeps the resident running; its own start is not measured.
  pid_t keeper = -1;
  RunOnce({TheSandbox().keepFile.string()}, {}, After::kKeep, &keeper);
  std::vector<Run> editor, bare;
  for (auto _ : state) {
    bare.push_back(RunBare());
    editor.push_back(RunEditor(state.range(0) ? TheSandbox().bigFile : TheSandbox().smallFile));
    state.SetIterationTime(editor.back().ms / 1000.0);
  }
  kill(keeper, SIGTERM);
  waitpid(keeper, nullptr, 0);
  WaitNoResident();
  Report(state, editor, bare);
}
// 1: the 1 MB file; 0: a file of one line, which tells what the loading of the large one costs.
BENCHMARK(BM_EditorWarmStart)->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

void BM_EditorColdStart(benchmark::State& state) {
  UseHeadlessDefaults();
  std::vector<Run> editor, bare;
  for (auto _ : state) {
    state.PauseTiming();
    WaitNoResident();
    state.ResumeTiming();
    bare.push_back(RunBare());
    editor.push_back(RunEditor(TheSandbox().bigFile));
    state.SetIterationTime(editor.back().ms / 1000.0);
  }
  WaitNoResident();
  Report(state, editor, bare);
}
BENCHMARK(BM_EditorColdStart)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
