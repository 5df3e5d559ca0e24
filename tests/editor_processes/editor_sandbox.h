// A private editor installation for tests that start the real program: its own copy of the
// executable (so the settings file beside it is the test's) with the editor's name beside it, and
// its own runtime folder (so its locks and shared record meet no other editor). The test process
// points its own runtime folder there too, to look at the locks. Every process of the copy still
// running at the end is killed, by its id.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "scoped_temp_dir.h"

extern char** environ;

class EditorSandbox {
 public:
  EditorSandbox() {
    namespace fs = std::filesystem;
    fs::create_directories(AppFolder());
    fs::copy_file(std::string(VREL_BINARY_DIR) + "/app/vrel", Executable());
    fs::create_symlink("vrel", AppFolder() / "tovara");
    fs::create_directories(RuntimeFolder());
    fs::permissions(RuntimeFolder(), fs::perms::owner_all);
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) m_oldRuntime = old;
    ::setenv("XDG_RUNTIME_DIR", RuntimeFolder().c_str(), 1);
  }
  ~EditorSandbox() {
    for (pid_t pid : ProcessesOfCopy()) ::kill(pid, SIGKILL);
    for (pid_t pid : m_started) ::waitpid(pid, nullptr, WNOHANG);
    if (m_oldRuntime) {
      ::setenv("XDG_RUNTIME_DIR", m_oldRuntime->c_str(), 1);
    } else {
      ::unsetenv("XDG_RUNTIME_DIR");
    }
  }
  EditorSandbox(const EditorSandbox&) = delete;
  EditorSandbox& operator=(const EditorSandbox&) = delete;

  std::filesystem::path Folder() const { return m_temp.path(); }
  std::filesystem::path AppFolder() const { return m_temp.path() / "app"; }
  std::filesystem::path Executable() const { return AppFolder() / "vrel"; }
  std::filesystem::path EditorName() const { return AppFolder() / "tovara"; }
  std::filesystem::path RuntimeFolder() const { return m_temp.path() / "runtime"; }
  std::filesystem::path SettingsFile() const { return AppFolder() / "vrel.ini"; }

  struct Started {
    pid_t pid = -1;
    int errors = -1;  // the read end of the process's standard error
  };
  // Starts program with the arguments in the folder, its standard error into a pipe.
  Started Start(const std::filesystem::path& program, const std::vector<std::string>& args,
                const std::filesystem::path& folder) {
    Started started;
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) return started;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    std::vector<std::string> argv{program.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> argp;
    for (auto& a : argv) argp.push_back(a.data());
    argp.push_back(nullptr);
    if (posix_spawn(&started.pid, program.c_str(), &actions, nullptr, argp.data(), environ) != 0) started.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    started.errors = pipe[0];
    if (started.pid > 0) m_started.push_back(started.pid);
    return started;
  }

  // The exit status within the limit (a signal's end as 128 + the signal).
  static std::optional<int> WaitForExit(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
      int status = 0;
      const pid_t got = ::waitpid(pid, &status, WNOHANG);
      if (got == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      if (got < 0) return std::nullopt;
      if (std::chrono::steady_clock::now() >= end) return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  // Lines read from a descriptor until it ends or the limit passes.
  static std::string ReadFor(int fd, std::chrono::milliseconds limit) {
    std::string text;
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
      char buffer[256];
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n <= 0) break;
      text.append(buffer, static_cast<size_t>(n));
    }
    return text;
  }

  // Every running process of this copy (whoever started it), with its arguments.
  std::vector<pid_t> ProcessesOfCopy(const std::string& withArgument = {}) const {
    std::vector<pid_t> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
      const std::string name = entry.path().filename().string();
      if (name.find_first_not_of("0123456789") != std::string::npos) continue;
      std::error_code e;
      const auto exe = std::filesystem::read_symlink(entry.path() / "exe", e);
      if (e || exe != Executable()) continue;
      if (IsZombie(entry.path())) continue;
      if (!withArgument.empty()) {
        std::ifstream in(entry.path() / "cmdline", std::ios::binary);
        std::string cmdline((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        bool has = false;
        for (size_t at = 0; at < cmdline.size();) {
          const size_t nul = cmdline.find('\0', at);
          const std::string arg = cmdline.substr(at, nul == std::string::npos ? std::string::npos : nul - at);
          if (arg == withArgument) has = true;
          if (nul == std::string::npos) break;
          at = nul + 1;
        }
        if (!has) continue;
      }
      found.push_back(static_cast<pid_t>(std::stoi(name)));
    }
    return found;
  }

  // Waits until the copy runs exactly one process with the argument; its id, or -1.
  pid_t WaitForOne(const std::string& withArgument, std::chrono::milliseconds limit) const {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
      const std::vector<pid_t> found = ProcessesOfCopy(withArgument);
      if (found.size() == 1) return found[0];
      if (std::chrono::steady_clock::now() >= end) return -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  // Waits until the process is gone (it is not ours to collect).
  static bool WaitGone(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
      const std::filesystem::path proc = "/proc/" + std::to_string(pid);
      if (!std::filesystem::exists(proc) || IsZombie(proc)) return true;
      if (std::chrono::steady_clock::now() >= end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

 private:
  static bool IsZombie(const std::filesystem::path& proc) {
    std::ifstream in(proc / "stat");
    std::string stat;
    std::getline(in, stat);
    const size_t close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'Z';
  }

  ScopedTempDir m_temp;
  std::optional<std::string> m_oldRuntime;
  std::vector<pid_t> m_started;
};
