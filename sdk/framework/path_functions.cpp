#include "sdk/framework/path_functions.h"

#include <mutex>

#include "platform/file.h"
#include "platform/path.h"
#include "platform/sjis.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }
bool IsLead(char c) { return platform::IsSjisLead(static_cast<unsigned char>(c)); }

struct CurrentDirCache {
  std::mutex mutex;
  std::string path;  // empty until first filled
};

CurrentDirCache& CurrentDir() {
  static CurrentDirCache cache;
  return cache;
}

std::string ProcessCurrentDir() {
  std::string dir;
  if (!platform::CurrentDirectory(dir)) dir = ".\\";
  return dir;
}

}  // namespace

std::string CanonicalizePath(std::string_view path) {
  std::string result;
  const bool absolute = path.starts_with('/') || path.starts_with("\\\\") || path.find(':') != std::string_view::npos;
  if (absolute) {
    result = path;
  } else {
    std::string base = GetCurrentDir();
    std::string_view rest = path;
    for (;;) {
      if (rest.starts_with("..\\") || rest.starts_with("../")) {
        GetParentDir(base);  // at a root the base stays
        rest.remove_prefix(3);
      } else if (rest.starts_with(".\\") || rest.starts_with("./")) {
        rest.remove_prefix(2);
      } else if (!rest.empty() && IsSeparator(rest.front())) {
        rest.remove_prefix(1);
      } else {
        break;
      }
    }
    result = base;
    result += rest;
  }
  for (size_t i = 0; i < result.size(); ++i) {
    if (IsLead(result[i])) {
      ++i;
    } else if (result[i] == '/' && i != 0) {
      result[i] = '\\';
    }
  }
  return result;
}

int GetParentDir(std::string& path) {
  if (path.empty()) return 1;
  size_t start = 0;
  if (path.starts_with("\\\\")) {
    // Skip the server name: the share root \\server\share\ has no parent.
    start = 2;
    if (start >= path.size()) return 1;
    while (start < path.size() && !IsSeparator(path[start])) start += IsLead(path[start]) ? 2 : 1;
    if (start < path.size()) ++start;
  }
  size_t last = std::string::npos;
  size_t beforeLast = std::string::npos;
  bool endsInCharacter = false;
  for (size_t i = start; i < path.size(); ++i) {
    if (IsLead(path[i])) {
      if (i + 1 >= path.size()) endsInCharacter = true;
      ++i;
    } else if (IsSeparator(path[i])) {
      beforeLast = last;
      last = i;
    }
  }
  // A path cut in the middle of a character counts as ending with a separator.
  const bool endsWithSeparator = endsInCharacter || last == path.size() - 1;
  if (!endsWithSeparator) {
    if (last == std::string::npos) {
      path += '\\';
    } else {
      path.resize(last + 1);
    }
    return 0;
  }
  if (beforeLast == std::string::npos) return 1;
  path.resize(beforeLast + 1);
  return 0;
}

std::string GetFileNamePart(std::string_view path) {
  size_t begin = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsLead(path[i])) {
      ++i;
    } else if (IsSeparator(path[i])) {
      begin = i + 1;
    }
  }
  return std::string(path.substr(std::min(begin, path.size())));
}

std::string GetExtensionOf(std::string_view path) {
  std::string name = GetFileNamePart(path);
  size_t dot = name.rfind('.');  // "." is never a trail byte
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

void ToLowerSJIS(std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsLead(text[i])) {
      ++i;
    } else if (text[i] >= 'A' && text[i] <= 'Z') {
      text[i] = static_cast<char>(text[i] - 'A' + 'a');
    }
  }
}

std::string GetCurrentDir() {
  CurrentDirCache& cache = CurrentDir();
  std::lock_guard lock(cache.mutex);
  if (cache.path.empty()) cache.path = ProcessCurrentDir();
  return cache.path;
}

void RecordCurrentDir() {
  std::string dir = ProcessCurrentDir();
  CurrentDirCache& cache = CurrentDir();
  std::lock_guard lock(cache.mutex);
  cache.path = std::move(dir);
}

void SetCurrentDir(std::string_view path) {
  if (path.empty()) return;
  std::string dir(path);
  if (!platform::EndsWithSeparator(dir)) dir += '\\';
  CurrentDirCache& cache = CurrentDir();
  std::lock_guard lock(cache.mutex);
  cache.path = std::move(dir);
}

std::string GetWindowsDir() { return platform::UserDataDirectory(); }

int MakeTempFileName(std::string& out) {
  return platform::CreateUniqueFile(platform::TempDirectory(), "QIB", out) ? 0 : 2;
}
