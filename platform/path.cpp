#include "platform/path.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

#include "platform/sjis.h"

namespace platform {
namespace {

std::string AsciiLower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// Program form of a host path that Shift-JIS may spell lossily.
std::string SeparatorsToProgram(std::string sjis) {
  for (size_t i = 0; i < sjis.size(); ++i) {
    auto c = static_cast<unsigned char>(sjis[i]);
    if (IsSjisLead(c)) {
      ++i;
    } else if (c == '/' && i != 0) {
      sjis[i] = '\\';
    }
  }
  return sjis;
}

std::string WithSeparator(std::string path) {
  if (!EndsWithSeparator(path)) path += '\\';
  return path;
}

std::string JoinHost(const std::string& dir, std::string_view name) {
  if (dir.empty()) return std::string(name);
  if (dir.back() == '/') return dir + std::string(name);
  return dir + "/" + std::string(name);
}

bool Exists(const std::string& hostPath) {
  struct stat st;
  return ::lstat(hostPath.c_str(), &st) == 0;
}

// Folder listings remembered by the case-insensitive lookup. A listing stays good while the
// folder's identity and modification time are unchanged. Timestamps are coarse, so a listing taken
// within a moment of the folder's last change is trusted for hits only: a miss rescans it.
class ListingCache {
 public:
  bool Find(const std::string& dir, std::string_view name, std::string& match) {
    struct stat st;
    if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    const std::string lower = AsciiLower(name);
    std::lock_guard lock(m_mutex);
    auto it = m_listings.find(dir);
    if (it != m_listings.end() && it->second.SameFolder(st)) {
      if (it->second.Lookup(lower, match)) return true;
      if (it->second.Settled()) return false;
    }
    if (m_listings.size() >= kMaxFolders) m_listings.clear();
    Listing& listing = m_listings[dir];
    if (!listing.Scan(dir, st)) {
      m_listings.erase(dir);
      return false;
    }
    return listing.Lookup(lower, match);
  }

  void Clear() {
    std::lock_guard lock(m_mutex);
    m_listings.clear();
  }

 private:
  static constexpr size_t kMaxFolders = 512;
  static constexpr int64_t kTimestampSlackNs = 1'000'000'000;

  struct Listing {
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{};
    timespec scanned{};
    std::unordered_map<std::string, std::string> byLower;

    bool SameFolder(const struct stat& st) const {
      return st.st_dev == device && st.st_ino == inode && st.st_mtim.tv_sec == modified.tv_sec &&
             st.st_mtim.tv_nsec == modified.tv_nsec;
    }
    bool Settled() const {
      int64_t age = (static_cast<int64_t>(scanned.tv_sec) - modified.tv_sec) * 1'000'000'000 +
                    (scanned.tv_nsec - modified.tv_nsec);
      return age > kTimestampSlackNs;
    }
    bool Lookup(const std::string& lower, std::string& match) const {
      auto it = byLower.find(lower);
      if (it == byLower.end()) return false;
      match = it->second;
      return true;
    }
    bool Scan(const std::string& dir, const struct stat& st) {
      DIR* d = ::opendir(dir.c_str());
      if (!d) return false;
      device = st.st_dev;
      inode = st.st_ino;
      modified = st.st_mtim;
      ::clock_gettime(CLOCK_REALTIME, &scanned);
      byLower.clear();
      while (dirent* e = ::readdir(d)) {
        std::string_view n = e->d_name;
        if (n == "." || n == "..") continue;
        auto [it, added] = byLower.try_emplace(AsciiLower(n), n);
        if (!added && n < it->second) it->second = n;
      }
      ::closedir(d);
      return true;
    }
  };

  std::mutex m_mutex;
  std::unordered_map<std::string, Listing> m_listings;
};

ListingCache& Listings() {
  static ListingCache cache;
  return cache;
}

std::vector<std::string_view> SplitHost(std::string_view host) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= host.size()) {
    size_t end = host.find('/', start);
    if (end == std::string_view::npos) end = host.size();
    if (end > start) parts.push_back(host.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

bool HostCurrentDirectory(std::string& host) {
  std::vector<char> buffer(256);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return false;
    buffer.resize(buffer.size() * 2);
  }
  host = buffer.data();
  return true;
}

bool HostExecutablePath(std::string& host) {
  std::vector<char> buffer(256);
  for (;;) {
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return false;
    if (static_cast<size_t>(n) < buffer.size()) {
      host.assign(buffer.data(), static_cast<size_t>(n));
      return true;
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

bool EndsWithSeparator(std::string_view programPath) {
  bool separator = false;
  for (size_t i = 0; i < programPath.size(); ++i) {
    const auto c = static_cast<unsigned char>(programPath[i]);
    separator = !IsSjisLead(c) && (c == '\\' || c == '/');
    if (IsSjisLead(c)) ++i;
  }
  return separator;
}

std::string HostPath(std::string_view programPath) {
  // A trail byte 0x5C becomes part of a multi-byte UTF-8 sequence, so after the conversion every
  // "\" left is a real separator.
  std::string host = SjisToUtf8(programPath);
  for (char& c : host) {
    if (c == '\\') c = '/';
  }
  return host;
}

bool ProgramPathFromHost(std::string_view hostPath, std::string& programPath) {
  std::string sjis = Utf8ToSjis(hostPath);
  if (SjisToUtf8(sjis) != hostPath) return false;
  programPath = SeparatorsToProgram(std::move(sjis));
  return true;
}

std::string ResolveHostPath(std::string_view programPath) {
  std::string host = HostPath(programPath);
  if (host.empty() || Exists(host)) return host;
  const bool absolute = host.front() == '/';
  const bool trailing = host.back() == '/';
  std::vector<std::string_view> parts = SplitHost(host);
  std::string resolved = absolute ? "/" : "";
  size_t i = 0;
  for (; i < parts.size(); ++i) {
    std::string_view part = parts[i];
    std::string exact = JoinHost(resolved, part);
    if (part == "." || part == ".." || Exists(exact)) {
      resolved = std::move(exact);
      continue;
    }
    std::string match;
    if (!Listings().Find(resolved.empty() ? "." : resolved, part, match)) break;
    resolved = JoinHost(resolved, match);
  }
  for (; i < parts.size(); ++i) resolved = JoinHost(resolved, parts[i]);
  if (trailing && (resolved.empty() || resolved.back() != '/')) resolved += '/';
  return resolved;
}

bool CurrentDirectory(std::string& programPath) {
  std::string host;
  if (!HostCurrentDirectory(host)) return false;
  std::string program;
  if (!ProgramPathFromHost(host, program)) return false;
  programPath = WithSeparator(std::move(program));
  return true;
}

std::string TempDirectory() {
  std::string program;
  const char* env = std::getenv("TMPDIR");
  if (env && env[0] == '/' && ProgramPathFromHost(env, program)) return WithSeparator(std::move(program));
  return "/tmp\\";
}

std::string UserDataDirectory() {
  std::string base;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/') {
    base = data;
  } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
    base = std::string(home) + "/.local/share";
  } else {
    return {};
  }
  std::string dir = base + "/vrel";
  // Create every missing level, like mkdir -p.
  for (size_t pos = 1; pos <= dir.size(); ++pos) {
    if (pos == dir.size() || dir[pos] == '/') {
      std::string level = dir.substr(0, pos);
      if (::mkdir(level.c_str(), 0700) != 0 && errno != EEXIST) return {};
    }
  }
  struct stat st;
  if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
  std::string program;
  if (!ProgramPathFromHost(dir, program)) return {};
  return WithSeparator(std::move(program));
}

std::string ModuleFileName() {
  std::string host;
  if (!HostExecutablePath(host)) return {};
  return SeparatorsToProgram(Utf8ToSjis(host));
}

bool ExactHostPath(std::string_view path, std::string& hostPath) {
  if (path.empty()) return false;
  const auto table = SjisDecodeTable();
  for (size_t i = 0; i < path.size(); ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    if (c == 0) return false;
    if (c < 0x80) continue;
    uint16_t code = c;
    if (IsSjisLead(c)) {
      if (i + 1 >= path.size()) return false;
      code = static_cast<uint16_t>((c << 8) | static_cast<unsigned char>(path[++i]));
    }
    if (table[code] == 0xFFFD) return false;
  }
  // Every character decodes, so the conversion below spells each one and drops nothing.
  hostPath = SjisToUtf8(path);
  return true;
}

bool ExactPathFromHost(std::string_view hostPath, std::string& path) {
  if (hostPath.empty() || hostPath.find('\0') != std::string_view::npos) return false;
  std::string sjis = Utf8ToSjis(hostPath);
  std::string back;
  if (!ExactHostPath(sjis, back) || back != hostPath) return false;
  path = std::move(sjis);
  return true;
}

bool ExactCurrentDirectory(std::string& path) {
  std::string host;
  std::string exact;
  if (!HostCurrentDirectory(host) || !ExactPathFromHost(host, exact)) return false;
  if (exact.back() != '/') exact += '/';
  path = std::move(exact);
  return true;
}

bool ExactModuleFileName(std::string& path) {
  std::string host;
  return HostExecutablePath(host) && ExactPathFromHost(host, path);
}

bool HostPathFor(std::string_view path, PathMode mode, std::string& hostPath) {
  if (mode == PathMode::kExact) return ExactHostPath(path, hostPath);
  hostPath = ResolveHostPath(path);
  return true;
}

void ForgetPathCache() { Listings().Clear(); }

}  // namespace platform
