// The start-up benchmarks' way of timing a program to its first frame: the program is started
// with posix_spawn, and VREL_FIRST_FRAME_FD in its environment names the write end of a pipe to
// which it writes one byte when its first frame shows (platform/first_frame_mark.h). Also what the
// benchmarks read of the process at that moment, and the median they compare.
#pragma once

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

extern char** environ;

struct FirstFrameStart {
  pid_t pid = -1;
  bool marked = false;  // false: the program ended (or closed the descriptor) without a frame
  std::chrono::steady_clock::time_point start, firstFrame;
  double Ms() const { return std::chrono::duration<double, std::milli>(firstFrame - start).count(); }
};

// Starts argv[0] with argv in folder, this process's environment plus extra ("NAME=value" each),
// standard output and error to /dev/null, and waits for its first frame; the caller collects the
// child. An abort when it cannot be started: a failed start measures nothing.
inline FirstFrameStart StartUntilFirstFrame(const std::vector<std::string>& argv, const std::filesystem::path& folder,
                                            const std::vector<std::string>& extra = {}) {
  int mark[2];
  if (pipe2(mark, O_CLOEXEC) != 0 || fcntl(mark[1], F_SETFD, 0) != 0) std::abort();
  std::vector<std::string> variables{"VREL_FIRST_FRAME_FD=" + std::to_string(mark[1])};
  variables.insert(variables.end(), extra.begin(), extra.end());
  std::vector<char*> env;
  for (std::string& v : variables) env.push_back(v.data());
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string_view entry(*e);
    const bool replaced = std::any_of(variables.begin(), variables.end(), [&](const std::string& v) {
      const size_t eq = v.find('=');
      return entry.substr(0, eq + 1) == std::string_view(v).substr(0, eq + 1);
    });
    if (!replaced) env.push_back(*e);
  }
  env.push_back(nullptr);
  std::vector<std::string> args = argv;
  std::vector<char*> argp;
  for (std::string& a : args) argp.push_back(a.data());
  argp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  FirstFrameStart started;
  started.start = std::chrono::steady_clock::now();
  if (posix_spawn(&started.pid, argp[0], &actions, nullptr, argp.data(), env.data()) != 0) std::abort();
  posix_spawn_file_actions_destroy(&actions);
  close(mark[1]);
  char byte = 0;
  started.marked = read(mark[0], &byte, 1) == 1;
  started.firstFrame = std::chrono::steady_clock::now();
  close(mark[0]);
  return started;
}

// What a running process has cost so far.
struct ProcessCost {
  double rssMb = 0;   // the resident peak (VmHWM)
  double faults = 0;  // minor page faults
  double cpuMs = 0;   // processor time of all its threads, which a busy machine disturbs less than the clock
};

inline ProcessCost ReadProcessCost(pid_t pid) {
  ProcessCost cost;
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) cost.rssMb = std::stod(line.substr(6)) / 1024.0;
  std::ifstream statFile("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
  // The fields after the command name, which is in parentheses and may hold spaces: minflt is the
  // 10th field of the line, the 8th after the name.
  const size_t close = stat.rfind(')');
  if (close != std::string::npos && close + 2 < stat.size()) {
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    for (int i = 0; i < 8 && fields >> field; ++i) {
    }
    if (!field.empty()) cost.faults = std::stod(field);
  }
  const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
  std::error_code error;
  for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
    double ns = 0;
    if (std::ifstream(task.path() / "schedstat") >> ns) cost.cpuMs += ns / 1e6;
  }
  return cost;
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

template <typename Run>
double MedianOf(const std::vector<Run>& runs, double Run::*field) {
  std::vector<double> values;
  for (const Run& run : runs) values.push_back(run.*field);
  return Median(values);
}

// The median of a field over the runs and over the baseline's runs, and their ratio, as counters.
template <typename Run>
void CountAgainstBaseline(benchmark::State& state, const std::vector<Run>& runs, const std::vector<Run>& baseline,
                          double Run::*field, const char* name, const char* baselineName, const char* ratioName) {
  const double measured = MedianOf(runs, field), base = MedianOf(baseline, field);
  state.counters[name] = measured;
  state.counters[baselineName] = base;
  state.counters[ratioName] = measured / base;
}

// Without a display the programs run on the offscreen platform; sound never plays.
inline void UseHeadlessDefaults() {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
}
