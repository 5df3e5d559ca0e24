// From exec to the first frame, measured against a bare Qt program that opens a window of the same
// size and paints one frame into it. Both tell when their first frame shows (one byte to the
// descriptor VREL_FIRST_FRAME_FD names); at that moment the benchmark reads the child's resident
// peak and page faults. Each iteration runs the baseline and then the game, so that both see the
// same machine, and the counters compare the medians of the two: the goal is a time_ratio within
// 1.5 and an rss_ratio under 2. On a busy machine the clock says more about the other programs than
// about these two: cpu_ratio compares their processor time until the first frame instead.
//
// Two games are measured. The demo as it is, stopped by SIGTERM (a normal quit) once its first
// frame shows: its first frame loads what the title needs. A copy of the demo whose script quits
// in its first statement: its first frame is the engine's start alone, and its exit_ms is the time
// from that frame to the end of the process (the baseline's qt_exit_ms beside it).
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "first_frame_run.h"

namespace {

using Clock = std::chrono::steady_clock;

struct RunCost {
  double firstFrameMs = 0;
  double exitMs = 0;     // from the first frame to the end of the process
  double rssMb = 0;      // the resident peak when the first frame showed
  double faults = 0;     // minor page faults until the first frame showed
  double cpuMs = 0;      // processor time of all its threads until the first frame showed
  double peakRssMb = 0;  // the resident peak of the whole run
};

// Runs a program in a folder until its first frame shows, and, with stop, then asks it to quit;
// an abort on any failure, since a failed start measures nothing.
RunCost RunOnce(const std::string& program, const std::filesystem::path& folder, bool stop) {
  const FirstFrameStart started = StartUntilFirstFrame({program}, folder);
  RunCost cost;
  if (started.marked) {
    const ProcessCost now = ReadProcessCost(started.pid);
    cost.rssMb = now.rssMb;
    cost.faults = now.faults;
    cost.cpuMs = now.cpuMs;
  }
  if (started.marked && stop) kill(started.pid, SIGTERM);
  int status = 0;
  rusage usage{};
  if (wait4(started.pid, &status, 0, &usage) != started.pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
      !started.marked)
    std::abort();
  const auto end = Clock::now();
  cost.firstFrameMs = started.Ms();
  cost.exitMs = std::chrono::duration<double, std::milli>(end - started.firstFrame).count();
  cost.peakRssMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return cost;
}

// A copy of the built demo, with the script replaced when one is given: the game writes its
// records into the folder it runs in. One of this process's own, removed when the benchmark ends,
// so that two benchmarks running at once never share one.
class DemoCopy {
 public:
  DemoCopy(const std::string& name, const char* script)
      : m_dir(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()))) {
    std::filesystem::remove_all(m_dir);
    std::filesystem::copy(VREL_DEMO_GAME_DIR, m_dir, std::filesystem::copy_options::recursive);
    if (script != nullptr) std::ofstream(m_dir / "start.txt", std::ios::binary | std::ios::trunc) << script;
  }
  ~DemoCopy() {
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
  }
  DemoCopy(const DemoCopy&) = delete;
  DemoCopy& operator=(const DemoCopy&) = delete;
  const std::filesystem::path& dir() const { return m_dir; }

 private:
  std::filesystem::path m_dir;
};

void Measure(benchmark::State& state, const std::filesystem::path& folder, bool stop) {
  UseHeadlessDefaults();
  std::vector<RunCost> bare, game;
  for (auto _ : state) {
    bare.push_back(RunOnce(VREL_QT_WINDOW_BASELINE, std::filesystem::temp_directory_path(), false));
    game.push_back(RunOnce(VREL_GAME_EXECUTABLE, folder, stop));
    state.SetIterationTime(game.back().firstFrameMs / 1000.0);
  }
  CountAgainstBaseline(state, game, bare, &RunCost::firstFrameMs, "first_frame_ms", "qt_first_frame_ms", "time_ratio");
  CountAgainstBaseline(state, game, bare, &RunCost::rssMb, "rss_MB", "qt_rss_MB", "rss_ratio");
  CountAgainstBaseline(state, game, bare, &RunCost::cpuMs, "cpu_ms", "qt_cpu_ms", "cpu_ratio");
  state.counters["faults"] = MedianOf(game, &RunCost::faults);
  state.counters["qt_faults"] = MedianOf(bare, &RunCost::faults);
  if (!stop) {
    state.counters["exit_ms"] = MedianOf(game, &RunCost::exitMs);
    state.counters["qt_exit_ms"] = MedianOf(bare, &RunCost::exitMs);
    state.counters["peak_rss_MB"] = MedianOf(game, &RunCost::peakRssMb);
  }
}

void BM_DemoFirstFrame(benchmark::State& state) {
  static const DemoCopy folder("vrel-startup-bench-demo", nullptr);
  Measure(state, folder.dir(), true);
}
BENCHMARK(BM_DemoFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

void BM_QuittingGameFirstFrame(benchmark::State& state) {
  static const DemoCopy folder("vrel-startup-bench-quit", "QUIT\r\n");
  Measure(state, folder.dir(), false);
}
BENCHMARK(BM_QuittingGameFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

}  // namespace

BENCHMARK_MAIN();
