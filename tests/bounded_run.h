// Runs a piece of work in a child process and reports how much memory it took at its peak, so that a
// test can show that a small hostile input is refused without allocating what it claims. The peak
// is the child's highest resident size over what it had when it began; the work's result comes back
// as a small integer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

struct BoundedRun {
  bool finished = false;  // the child ended normally and reported
  int result = -1;        // what the work returned
  int64_t peakGrowthBytes = 0;
};

namespace bounded_run_detail {

inline int64_t ResidentBytes() {
  long pages = 0, resident = 0;
  FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return 0;
  const bool ok = std::fscanf(f, "%ld %ld", &pages, &resident) == 2;
  std::fclose(f);
  return ok ? int64_t{resident} * sysconf(_SC_PAGESIZE) : 0;
}

}  // namespace bounded_run_detail

inline BoundedRun RunBounded(const std::function<int()>& work) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return {};
  if (pid == 0) {
    close(fds[0]);
    const int64_t start = bounded_run_detail::ResidentBytes();
    const int64_t report[2] = {work(), 0};
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const int64_t out[2] = {report[0], int64_t{usage.ru_maxrss} * 1024 - start};
    const bool written = write(fds[1], out, sizeof out) == static_cast<ssize_t>(sizeof out);
    _exit(written ? 0 : 1);  // no exit handlers: the parent's state is not the child's to tidy
  }
  close(fds[1]);
  int64_t in[2] = {0, 0};
  const bool got = read(fds[0], in, sizeof in) == static_cast<ssize_t>(sizeof in);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  BoundedRun run;
  run.finished = got && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  run.result = static_cast<int>(in[0]);
  run.peakGrowthBytes = in[1];
  return run;
}
