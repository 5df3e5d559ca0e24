#include "editor/foundation/text/editor_path.h"

#include <cstring>
#include <vector>

#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_compare.h"
#include "platform/file.h"
#include "platform/path.h"

namespace {

// The longest name one level of a path may have (bytes, as Linux file systems hold them).
constexpr size_t kLongestLevel = 255;

bool Stat(const std::string& path, platform::PathStatus& status) {
  if (path.empty() || path.size() >= static_cast<size_t>(kMaxPath)) return false;
  return platform::StatPath(path, platform::PathMode::kExact, status);
}

bool Exists(const std::string& path) {
  platform::PathStatus status;
  return Stat(path, status);
}

// Index of the last "/" of the path, -1 when none ("/" is never a trail byte).
int LastSlash(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? -1 : static_cast<int>(slash);
}

bool EndsWithWholeChar(const std::string& path, char c) {
  if (path.empty()) return false;
  const auto* s = reinterpret_cast<const unsigned char*>(path.data());
  const int len = static_cast<int>(path.size());
  int i = 0;
  int last = -1;
  while (i < len) {
    last = i;
    i += SjisCharSize(s, len, i);
  }
  return SjisCharSize(s, len, last) == 1 && path[last] == c;
}

}  // namespace

void SplitFolderAndFile(const char* pszPath, std::string* pFolder, std::string* pFile) {
  const std::string path = pszPath ? pszPath : "";
  const int slash = LastSlash(path);
  if (pFolder) *pFolder = slash < 0 ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
  if (pFile) *pFile = path.substr(slash + 1);
}

void RemoveTrailingBackslash(std::string& path) {
  if (path.size() > 1 && path.back() == '/') path.pop_back();
}

void AddTrailingBackslash(std::string& path) {
  if (!path.empty() && path.back() != '/') path += '/';
}

int AppendCharIfMissing(char* pszText, int nSize, char c) {
  if (!pszText) return -1;
  const int len = static_cast<int>(std::strlen(pszText));
  if (len > 0 && EndsWithWholeChar(std::string(pszText, len), c)) return 0;
  if (len == 0 ? nSize <= 1 : len + 1 >= nSize) return -1;
  pszText[len] = c;
  pszText[len + 1] = '\0';
  return 1;
}

int GetPathDepth(const char* pszPath) {
  if (!pszPath) return 0;
  const std::string path = pszPath;
  int depth = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] != '/') continue;
    ++depth;
    // A run of "." levels after this "/" belongs to it.
    while (i + 1 < path.size() && path[i + 1] == '.' && (i + 2 == path.size() || path[i + 2] == '/')) i += 2;
  }
  if (!path.empty() && path[0] == '/') --depth;
  return depth;
}

void NormalizeExistingPath(std::string& out, const char* pszText) {
  out.clear();
  if (!pszText) return;
  std::string path;
  for (const char* p = pszText; *p; ++p) {
    if (*p != '"') path += *p;
  }
  while (!path.empty()) {
    if (Exists(path)) {
      out = path;
      return;
    }
    // Cut at the last "/" or blank and try the shorter path.
    const char* cut = SjisFindLastOf2(path.c_str(), '/', ' ');
    if (!cut) return;
    size_t at = static_cast<size_t>(cut - path.c_str());
    if (at == 0 && path[0] == '/') {
      if (Exists("/")) out = "/";
      return;
    }
    path.resize(at);
    while (!path.empty() && path.back() == ' ') path.pop_back();
  }
}

void SplitPath(const char* pszPath, std::string* pDrive, std::string* pFolder, std::string* pName, std::string* pExt) {
  if (pDrive) pDrive->clear();
  if (pFolder) pFolder->clear();
  if (pName) pName->clear();
  if (pExt) pExt->clear();
  std::string path;
  NormalizeExistingPath(path, pszPath);
  if (path.empty()) return;
  platform::PathStatus status;
  std::string folder = path;
  if (Stat(path, status) && !status.folder) {
    const int slash = LastSlash(path);
    std::string name = path.substr(slash + 1);
    folder = path.substr(0, slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
      if (pExt) *pExt = name.substr(dot);
      name.resize(dot);
    }
    if (pName) *pName = name;
  }
  if (!folder.empty() && folder.back() != '/' && folder.size() < static_cast<size_t>(kMaxPath - 1)) folder += '/';
  if (pFolder) *pFolder = folder;
}

namespace {
std::string& CurrentFolderStore() {
  static std::string folder = [] {
    std::string current;
    if (!platform::ExactCurrentDirectory(current)) current = "/";
    return current;
  }();
  return folder;
}
}  // namespace

std::string EditorCurrentFolder() { return CurrentFolderStore(); }

void SetEditorCurrentFolder(const std::string& folder) {
  if (folder.empty() || folder[0] != '/') return;
  std::string value = folder;
  AddTrailingBackslash(value);
  CurrentFolderStore() = value;
}

bool GetLongPath(const char* pszName, std::string& out) {
  if (!pszName || !*pszName) return false;
  std::string full = pszName;
  if (full[0] != '/') full = EditorCurrentFolder() + full;
  // Levels without "." and "..": ".." above the root stays at the root.
  std::vector<std::string> levels;
  size_t start = 1;
  while (start <= full.size()) {
    size_t end = full.find('/', start);
    if (end == std::string::npos) end = full.size();
    const std::string level = full.substr(start, end - start);
    if (level == "..") {
      if (!levels.empty()) levels.pop_back();
    } else if (!level.empty() && level != ".") {
      levels.push_back(level);
    }
    start = end + 1;
  }
  std::string result;
  for (const std::string& level : levels) result += "/" + level;
  if (result.empty()) result = "/";
  if (result.size() >= static_cast<size_t>(kMaxPath)) return false;
  out = result;
  return true;
}

bool IsExistingFile(const char* pszPath, bool bNoFolders) {
  platform::PathStatus status;
  if (!pszPath || !Stat(pszPath, status)) return false;
  return !(bNoFolders && status.folder);
}

bool CheckPathAccess(const char* pszPath, int nMode) {
  if (!pszPath || std::strlen(pszPath) >= static_cast<size_t>(kMaxPath)) return false;
  using platform::Access;
  const auto allows = [pszPath](Access access) {
    return platform::PathAllows(pszPath, platform::PathMode::kExact, access);
  };
  if (!allows(Access::kExists)) return false;
  if ((nMode & 2) && !allows(Access::kWrite)) return false;
  if ((nMode & 4) && !allows(Access::kRead)) return false;
  return true;
}

bool IsFixedDrivePath(const char*) { return true; }

bool GetFileWriteTime(const char* pszPath, int64_t* pModifiedNs) {
  platform::PathStatus status;
  if (!pszPath || !Stat(pszPath, status)) return false;
  if (pModifiedNs) *pModifiedNs = status.stamp.modifiedNs;
  return true;
}

bool FindFilePathInLine(const char* pszLine, int* pnStart, int* pnLength, bool bNoFolders) {
  return FindFilePathInLine(pszLine, pnStart, pnLength,
                            [bNoFolders](const std::string& path) { return IsExistingFile(path.c_str(), bNoFolders); });
}

bool FindFilePathInLine(const char* pszLine, int* pnStart, int* pnLength,
                        const std::function<bool(const std::string&)>& isFile) {
  if (!pszLine || !isFile) return false;
  const char* p = pszLine;
  while (*p == '\t' || *p == ' ' || *p == '"') ++p;
  if (*p == '#') {
    // The include forms of C source: the name follows '<' or '"'.
    // Neither byte is ever the trail of a double-byte character, so a byte scan stops where the
    // character walk would; a line of many "#" words is scanned once per word, so it counts.
    p += std::strcspn(p, "<\"");
    if (*p) ++p;
  }
  if (!*p) return false;
  if (pnStart) *pnStart = static_cast<int>(p - pszLine);
  std::string candidate;
  size_t levelStart = 0;  // where the candidate's last level begins
  for (;; p += SjisCharSizeZ(p)) {
    const int size = SjisCharSizeZ(p);
    const char c = *p;
    const bool separator = size <= 1 && (c == '\0' || c == '\t' || c == '\n' || c == '\r' || c == ' ' || c == '(' ||
                                         c == '>' || c == '"' || (c == ':' && candidate.size() >= 2));
    if (separator && !candidate.empty() && isFile(candidate)) break;
    if (size == 0 || (size == 1 && (c == '\r' || c == '\n'))) break;
    if (size == 1 && (c == '"' || c == '*' || c == '<' || c == '>' || c == '?' || c == '|')) return false;
    if (candidate.size() + size > 1023) break;
    candidate.append(p, size);
    // No file system holds a level longer than 255 bytes, and the host spelling of a name is never
    // shorter than its Shift-JIS one: once the last level is longer, no candidate from here on can
    // exist. This keeps a long line of words from being asked about far past any possible name.
    if (c == '/' && size == 1) {
      levelStart = candidate.size();
    } else if (candidate.size() - levelStart > kLongestLevel) {
      return false;
    }
  }
  if (candidate.empty() || !isFile(candidate)) return false;
  if (pnLength) *pnLength = static_cast<int>(candidate.size());
  return true;
}
