// Folder names between percent signs, as nicknames and macro paths write them, turned into the
// folders of this system.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_compare.h"
#include "platform/sjis.h"

namespace {

struct Alias {
  const char* alias;
  const char* name;
};

constexpr Alias kAliases[] = {
    {"COMDESKTOP", "Common Desktop"}, {"COMMUSIC", "CommonMusic"},    {"COMVIDEO", "CommonVideo"},
    {"MYMUSIC", "My Music"},          {"MYVIDEO", "Video"},           {"COMPICT", "CommonPictures"},
    {"MYPICT", "My Pictures"},        {"COMDOC", "Common Documents"}, {"MYDOC", "Personal"},
};

// The user's folders by their shell names, and the XDG entry and fallback under the home folder.
struct UserFolder {
  const char* name;
  const char* xdgKey;
  const char* fallback;
};

constexpr UserFolder kUserFolders[] = {
    {"Desktop", "XDG_DESKTOP_DIR", "Desktop"},       {"Personal", "XDG_DOCUMENTS_DIR", "Documents"},
    {"My Music", "XDG_MUSIC_DIR", "Music"},          {"My Pictures", "XDG_PICTURES_DIR", "Pictures"},
    {"Video", "XDG_VIDEOS_DIR", "Videos"},           {"My Video", "XDG_VIDEOS_DIR", "Videos"},
    {"Templates", "XDG_TEMPLATES_DIR", "Templates"},
};

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

// The folder user-dirs.dirs gives for the key ("$HOME/..." expanded), or empty.
std::string XdgUserDir(const char* key) {
  const std::string home = Env("HOME");
  std::string config = Env("XDG_CONFIG_HOME");
  if (config.empty() && !home.empty()) config = home + "/.config";
  std::ifstream in(config + "/user-dirs.dirs");
  std::string line;
  const std::string prefix = std::string(key) + "=\"";
  while (std::getline(in, line)) {
    if (line.compare(0, prefix.size(), prefix) != 0) continue;
    std::string value = line.substr(prefix.size());
    if (!value.empty() && value.back() == '"') value.pop_back();
    if (value.compare(0, 5, "$HOME") == 0) value = home + value.substr(5);
    return value;
  }
  return {};
}

// The folder a name stands for in the host's UTF-8, or empty when the name is none of ours.
std::string HostFolderOf(const std::string& name) {
  for (const UserFolder& f : kUserFolders) {
    if (SjisStrICmp(name.c_str(), f.name) != 0) continue;
    std::string dir = Env(f.xdgKey);
    if (dir.empty()) dir = XdgUserDir(f.xdgKey);
    if (dir.empty() && !Env("HOME").empty()) dir = Env("HOME") + "/" + f.fallback;
    return dir;
  }
  if (SjisStrICmp(name.c_str(), "Cache") == 0) {
    std::string dir = Env("XDG_CACHE_HOME");
    if (dir.empty() && !Env("HOME").empty()) dir = Env("HOME") + "/.cache";
    return dir;
  }
  if (SjisStrICmp(name.c_str(), "TEMP") == 0 || SjisStrICmp(name.c_str(), "TMP") == 0) {
    std::string dir = Env("TMPDIR");
    return dir.empty() ? std::string("/tmp") : dir;
  }
  return {};
}

// The expansion of one name in Shift-JIS, or false when the name stands for nothing.
bool ExpandName(std::string name, std::string& out) {
  if (SjisStrICmp(name.c_str(), "TOVARA") == 0) {
    out = CShareData::ExecutableFolder();
  } else {
    for (const Alias& a : kAliases)
      if (SjisStrICmp(name.c_str(), a.alias) == 0) name = a.name;
    std::string host = HostFolderOf(name);
    // "Common ..." folders and everything else fall through to the environment.
    if (host.empty()) host = Env(platform::SjisToUtf8(name).c_str());
    if (host.empty()) return false;
    out = platform::Utf8ToSjis(host);
  }
  if (out.size() > 1 && out.back() == '/') out.pop_back();
  return !out.empty();
}

}  // namespace

bool ExpandSpecialFolder(const char* text, char* out, int outSize) {
  if (!out || outSize < 1) return false;
  out[0] = '\0';
  if (!text) return false;
  std::string result;
  const size_t len = std::strlen(text);
  size_t i = 0;
  while (i < len) {
    const int step =
        SjisCharSize(reinterpret_cast<const unsigned char*>(text), static_cast<int>(len), static_cast<int>(i));
    if (step == 1 && text[i] == '%') {
      if (i + 1 < len && text[i + 1] == '%') {
        result += '%';
        i += 2;
        continue;
      }
      // Find the closing "%" outside double-byte characters.
      size_t j = i + 1;
      while (j < len && text[j] != '%')
        j += SjisCharSize(reinterpret_cast<const unsigned char*>(text), static_cast<int>(len), static_cast<int>(j));
      if (j >= len) {
        result.append(text + i, len - i);
        break;
      }
      const std::string name(text + i + 1, j - i - 1);
      if (name.size() >= static_cast<size_t>(kMaxPath)) {
        const int n = WholeCharsPrefixLength(result.data(), static_cast<int>(result.size()), outSize - 1);
        std::memcpy(out, result.data(), n);
        out[n] = '\0';
        return false;
      }
      std::string folder;
      if (ExpandName(name, folder))
        result += folder;
      else
        result.append(text + i, j - i + 1);
      i = j + 1;
      continue;
    }
    result.append(text + i, step);
    i += step;
  }
  const int n = WholeCharsPrefixLength(result.data(), static_cast<int>(result.size()), outSize - 1);
  std::memcpy(out, result.data(), n);
  out[n] = '\0';
  return n == static_cast<int>(result.size());
}

void ReplaceSubstringICase(const char* text, char* out, int outSize, const char* find, const char* replacement) {
  if (!out || outSize < 1) return;
  out[0] = '\0';
  if (!text) return;
  const int findLen = find ? static_cast<int>(std::strlen(find)) : 0;
  const int replLen = replacement ? static_cast<int>(std::strlen(replacement)) : 0;
  const int len = static_cast<int>(std::strlen(text));
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  int o = 0;
  const int limit = outSize - 1;
  for (int i = 0; i < len && o < limit;) {
    if (findLen > 0 && i + findLen <= len && SjisMemICmp(text + i, find, findLen) == 0) {
      const int n = WholeCharsPrefixLength(replacement, replLen, limit - o);
      std::memcpy(out + o, replacement, n);
      o += n;
      if (n < replLen) break;
      i += findLen;
      continue;
    }
    const int step = SjisCharSize(bytes, len, i);
    if (o + step > limit) break;
    std::memcpy(out + o, text + i, step);
    o += step;
    i += step;
  }
  out[o] = '\0';
}

int CShareData::ExpandNicknameSources() {
  m_nNicknameCount = 0;
  if (!m_pShareData) return 0;
  int n = m_pShareData->nNicknameCount;
  if (n < 0) n = 0;
  if (n > kNicknameSlots) n = kNicknameSlots;
  for (int i = 0; i < n; ++i) {
    char source[kMaxPath];
    std::memcpy(source, m_pShareData->szNicknameFrom[i], kMaxPath);
    source[kMaxPath - 1] = '\0';
    if (source[0] == '\0') continue;
    if (!ExpandSpecialFolder(source, m_szNicknameSources[m_nNicknameCount], kMaxPath)) continue;
    m_nNicknameIndex[m_nNicknameCount++] = i;
  }
  return m_nNicknameCount;
}

const char* CShareData::ApplyFileNameNicknames(const char* path, char* out, int outSize) {
  if (!out || outSize < 1) return out;
  out[0] = '\0';
  if (!path) return out;
  if (m_nNicknameCount < 0) ExpandNicknameSources();
  const int len = static_cast<int>(std::strlen(path));
  const int n = WholeCharsPrefixLength(path, len, outSize - 1);
  std::memcpy(out, path, n);
  out[n] = '\0';
  for (int k = 0; k < m_nNicknameCount && m_pShareData; ++k) {
    char display[kMaxPath];
    std::memcpy(display, m_pShareData->szNicknameTo[m_nNicknameIndex[k]], kMaxPath);
    display[kMaxPath - 1] = '\0';
    const std::string input(out);
    ReplaceSubstringICase(input.c_str(), out, outSize, m_szNicknameSources[k], display);
  }
  return out;
}
