// The process tests' side of tests/process_child: the stand-in's path, a report file in a folder
// of the test's own, and waits for the lines the stand-in reports.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <string>
#include <thread>
#include <vector>

#include "platform/process.h"
#include "scoped_temp_dir.h"

// What the tests start their stand-in with, as the editor starts itself with its own marker.
inline constexpr char kTestMarker[] = "--process-test-launch";

class ProcessChildRun {
 public:
  static std::string Executable() { return VREL_TEST_PROCESS_CHILD; }

  std::string ReportPath() const { return m_dir.File("report.txt"); }
  const ScopedTempDir& dir() const { return m_dir; }

  // The command text of actions that report to this run's file.
  std::string Text(const std::string& actions) const { return "report " + ReportPath() + " " + actions; }

  // A request to start the stand-in with the marker and the actions.
  platform::SpawnRequest Request(const std::string& actions, bool readyPipe = true) const {
    platform::SpawnRequest request;
    request.executable = Executable();
    request.arguments = {kTestMarker, Text(actions)};
    request.readyPipe = readyPipe;
    return request;
  }

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::ifstream in(ReportPath());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  // The first reported line that starts with prefix, waiting up to 10 s for it; empty when none.
  std::string WaitForLine(const std::string& prefix) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
      for (const std::string& line : Lines()) {
        if (line.rfind(prefix, 0) == 0) return line;
      }
      if (std::chrono::steady_clock::now() >= deadline) return {};
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

  // "waitfile" of the file that Release makes.
  std::string Gate() const { return "waitfile " + m_dir.File("gate"); }
  void Release() const { m_dir.Write("gate", "go"); }

 private:
  ScopedTempDir m_dir;
};

// Kills a child started by a test and collects its end, so that no test leaves one behind.
inline void KillAndCollect(platform::ChildProcess& child) {
  if (child.Id() > 0) ::kill(child.Id(), SIGKILL);
  child.WaitForExit(std::chrono::seconds(10));
}
