// Another copy of the running test program that runs one (disabled) test of it, for tests that
// need a second process: it reads its input on descriptor 0 (closed by CloseInput) and reports on
// descriptor 3, one line per event.
#pragma once

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

class ChildCopy {
 public:
  // test: the full name of the test the copy runs; env: variables added to this process's own.
  ChildCopy(const std::string& test, std::vector<std::string> env) {
    int input[2], report[2];
    if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(report, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_adddup2(&actions, report[1], 3);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string self = "/proc/self/exe";
    std::string filter = "--gtest_filter=" + test;
    std::string disabled = "--gtest_also_run_disabled_tests";
    char* argv[] = {self.data(), filter.data(), disabled.data(), nullptr};
    if (posix_spawn(&m_pid, self.c_str(), &actions, nullptr, argv, envp.data()) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(input[0]);
    ::close(report[1]);
    m_input = input[1];
    m_report = report[0];
  }
  ~ChildCopy() {
    CloseInput();
    if (m_pid > 0) {
      Kill();
      Wait();
    }
    if (m_report >= 0) ::close(m_report);
  }
  ChildCopy(const ChildCopy&) = delete;
  ChildCopy& operator=(const ChildCopy&) = delete;

  bool started() const { return m_pid > 0; }

  // The next line the copy reports; empty when it has ended without one. With idle, the wait
  // calls it every few milliseconds (a process serving its own windows) and ends after 5 s.
  std::string ReadLine(const std::function<void()>& idle = {}) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    char c;
    for (;;) {
      if (idle) {
        if (std::chrono::steady_clock::now() >= deadline) break;
        pollfd p{m_report, POLLIN, 0};
        if (::poll(&p, 1, 5) <= 0) {
          idle();
          continue;
        }
      }
      if (::read(m_report, &c, 1) != 1 || c == '\n') break;
      line += c;
    }
    return line;
  }
  void CloseInput() {
    if (m_input >= 0) ::close(m_input);
    m_input = -1;
  }
  void Kill() {
    if (m_pid > 0) ::kill(m_pid, SIGKILL);
  }
  // Stops the copy as SIGSTOP does and waits until it has stopped; false when it cannot be.
  bool Stop() {
    int status = 0;
    return m_pid > 0 && ::kill(m_pid, SIGSTOP) == 0 && ::waitpid(m_pid, &status, WUNTRACED) == m_pid &&
           WIFSTOPPED(status);
  }
  pid_t pid() const { return m_pid; }
  // The exit status, or -signal.
  int Wait() {
    int status = 0;
    if (m_pid <= 0 || ::waitpid(m_pid, &status, 0) != m_pid) return -1000;
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }

 private:
  pid_t m_pid = -1;
  int m_input = -1;
  int m_report = -1;
};

// In the copy: returns once the parent has closed the copy's input (CloseInput), or has ended.
inline void WaitForInputToClose() {
  for (;;) {
    pollfd p{0, POLLIN, 0};
    if (::poll(&p, 1, 1000) > 0) {
      char c;
      if (::read(0, &c, 1) <= 0) return;
    }
  }
}
