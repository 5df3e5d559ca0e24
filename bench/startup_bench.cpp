// From exec to the first frame and out again: the game started in a copy of the demo whose script
// quits in its first statement, so one run is the start-up, one frame and the exit. The baseline is
// a bare Qt program that opens a window of the same size and paints one frame. Each run reports
// its resident memory at the peak and its page faults; the goal is within 1.5x of the baseline's
// time and under 2x its resident memory.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct RunCost {
  double seconds = 0;
  long maxRssKb = 0;
  long minorFaults = 0;
};

// Runs a program to its end in a folder; an abort on any failure, since a failed start measures
// nothing.
RunCost RunOnce(const std::string& program, const std::filesystem::path& folder) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv{const_cast<char*>(program.c_str()), nullptr};
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) std::abort();
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) std::abort();
  const auto end = std::chrono::steady_clock::now();
  return {std::chrono::duration<double>(end - start).count(), usage.ru_maxrss, usage.ru_minflt};
}

// A copy of the built demo whose script is one QUIT.
std::filesystem::path QuittingDemo() {
  static const std::filesystem::path folder = [] {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "vrel-startup-bench";
    std::filesystem::remove_all(dir);
    std::filesystem::copy(VREL_DEMO_GAME_DIR, dir, std::filesystem::copy_options::recursive);
    std::ofstream(dir / "start.txt", std::ios::binary | std::ios::trunc) << "QUIT\r\n";
    return dir;
  }();
  return folder;
}

void Measure(benchmark::State& state, const std::string& program, const std::filesystem::path& folder) {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  RunCost last;
  for (auto _ : state) {
    last = RunOnce(program, folder);
    state.SetIterationTime(last.seconds);
  }
  state.counters["maxrss_MB"] = static_cast<double>(last.maxRssKb) / 1024.0;
  state.counters["minor_faults"] = static_cast<double>(last.minorFaults);
}

void BM_BareQtWindow(benchmark::State& state) {
  Measure(state, VREL_QT_WINDOW_BASELINE, std::filesystem::temp_directory_path());
}
BENCHMARK(BM_BareQtWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_GameToFirstFrame(benchmark::State& state) { Measure(state, VREL_GAME_EXECUTABLE, QuittingDemo()); }
BENCHMARK(BM_GameToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
