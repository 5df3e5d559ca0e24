// What /proc tells of a process, for tests that check that children end and leave no zombie.
#pragma once

#include <chrono>
#include <fstream>
#include <string>
#include <sys/types.h>
#include <thread>

// A process state as /proc tells it: 'Z' for a zombie, 0 once the process is gone.
inline char ProcessState(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat;
  if (!std::getline(in, stat)) return 0;
  const size_t close = stat.rfind(')');
  return close != std::string::npos && close + 2 < stat.size() ? stat[close + 2] : 0;
}

inline bool GoneWithin(pid_t pid, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (ProcessState(pid) != 0) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}
