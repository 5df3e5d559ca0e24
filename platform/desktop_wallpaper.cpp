#include "platform/desktop_wallpaper.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string_view>

extern char** environ;

namespace platform {
namespace {

int RunProgram(const std::vector<std::string>& argv) {
  if (argv.empty()) return -1;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Runner {
  std::mutex mutex;
  CommandRunner runner;
};

Runner& CurrentRunner() {
  static Runner r;
  return r;
}

int Run(const std::vector<std::string>& argv) {
  CommandRunner runner;
  {
    std::lock_guard lock(CurrentRunner().mutex);
    runner = CurrentRunner().runner;
  }
  return runner ? runner(argv) : RunProgram(argv);
}

std::string FileUri(const std::string& path) {
  std::string uri = "file://";
  for (unsigned char c : path) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '-' ||
        c == '.' || c == '_' || c == '~') {
      uri += static_cast<char>(c);
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof(escaped), "%%%02X", c);
      uri += escaped;
    }
  }
  return uri;
}

bool DesktopIs(std::string_view desktops, std::string_view name) {
  while (!desktops.empty()) {
    size_t colon = desktops.find(':');
    if (desktops.substr(0, colon) == name) return true;
    if (colon == std::string_view::npos) break;
    desktops.remove_prefix(colon + 1);
  }
  return false;
}

}  // namespace

bool SetDesktopWallpaperImage(const std::string& hostPath) {
  if (hostPath.empty() || hostPath.front() != '/') return false;
  const char* env = std::getenv("XDG_CURRENT_DESKTOP");
  const std::string_view desktop = env ? env : "";
  const std::string uri = FileUri(hostPath);
  if (DesktopIs(desktop, "KDE")) return Run({"plasma-apply-wallpaperimage", hostPath}) == 0;
  if (DesktopIs(desktop, "X-Cinnamon") || DesktopIs(desktop, "Cinnamon")) {
    return Run({"gsettings", "set", "org.cinnamon.desktop.background", "picture-uri", uri}) == 0;
  }
  if (DesktopIs(desktop, "MATE")) {
    return Run({"gsettings", "set", "org.mate.background", "picture-filename", hostPath}) == 0;
  }
  if (DesktopIs(desktop, "GNOME") || DesktopIs(desktop, "Unity") || DesktopIs(desktop, "Budgie") ||
      DesktopIs(desktop, "Pantheon")) {
    if (Run({"gsettings", "set", "org.gnome.desktop.background", "picture-uri", uri}) != 0) return false;
    // Newer GNOME shows a separate picture in its dark style; older ones lack the key.
    Run({"gsettings", "set", "org.gnome.desktop.background", "picture-uri-dark", uri});
    return true;
  }
  return false;
}

CommandRunner SetCommandRunner(CommandRunner runner) {
  std::lock_guard lock(CurrentRunner().mutex);
  CommandRunner previous = std::move(CurrentRunner().runner);
  CurrentRunner().runner = std::move(runner);
  return previous;
}

}  // namespace platform
