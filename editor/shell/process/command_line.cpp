#include "editor/shell/process/command_line.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/text_utils.h"
#include "editor/foundation/ui/system_utils.h"
#include "platform/path.h"
#include "platform/sjis_literal.h"

namespace {

class HostSystem final : public CommandLineSystem {
 public:
  bool PathExists(const std::string& name) const override {
    if (name.empty()) return false;
    const std::string full = name[0] == '/' ? name : EditorCurrentFolder() + name;
    return CheckPathAccess(full.c_str(), 0);
  }
  std::string ExecutablePath() const override {
    std::string path;
    return platform::ExactModuleFileName(path) ? path : std::string();
  }
};

struct NamedOption {
  std::string_view name;
  int id;
};

// Looked up in this order, so that a longer name never hides behind a shorter one: "VX=" is not
// "X", since the one-letter name must be followed by its separator.
constexpr NamedOption kValueOptions[] = {
    {"X", kOptX},
    {"Y", kOptY},
    {"VX", kOptVX},
    {"VY", kOptVY},
    {"SX", kOptSX},
    {"SY", kOptSY},
    {"WX", kOptWX},
    {"WY", kOptWY},
    {"CODE", kOptCode},
    {"TYPE", kOptType},
    {"GKEY", kOptGrepKey},
    {"GFILE", kOptGrepFile},
    {"GFOLDER", kOptGrepFolder},
    {"GOPT", kOptGrepOptions},
    {"GCODE", kOptGrepCode},
};

constexpr NamedOption kFlags[] = {
    {"R", kOptReadOnly},         {"NOWIN", kOptNoWindow},      {"GREPMODE", kOptGrepMode},
    {"GREPDLG", kOptGrepDialog}, {"DEBUGMODE", kOptDebugMode},
};

// The longest file name the record's path holds.
constexpr size_t kMaxName = kMaxPath - 1;

// The value as atoi reads it, after one leading double quote or apostrophe; held at the ends of
// the 32-bit range instead of overflowing.
int ReadNumber(const char* p) {
  if (*p == '"' || *p == '\'') ++p;
  // strtoll holds its own range's ends, and the program never sets a locale.
  return static_cast<int>(std::clamp<long long>(std::strtoll(p, nullptr, 10), INT32_MIN, INT32_MAX));
}

// A 1-based number as the record's 0-based one; 0 becomes -1, "not given".
int ZeroBased(int value) { return value == INT32_MIN ? INT32_MIN : value - 1; }

// The value without its first and last character (its enclosing quotes, whatever they are), each
// pair of double quotes made one; empty for a value of fewer than two characters.
void UnquoteValue(const char* pszValue, CMemory& out) {
  out.Clear();
  const int len = static_cast<int>(std::min<size_t>(std::strlen(pszValue), INT32_MAX));
  if (len == 0) return;
  const int first = CMemory::CharSizeAt(pszValue, len, 0);
  const int lastStart = CMemory::CharStartAt(pszValue, len, len - 1);
  if (lastStart < first) return;
  out.Assign(pszValue + first, lastStart - first);
  out.ReplaceAllBytes("\"\"", "\"");
}

// Each pair of double quotes made one, left to right.
std::string CollapseQuotePairs(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') ++i;
  }
  return out;
}

// The bytes the check refuses when they stand as characters of their own.
bool IsRefusedNameChar(char c) { return std::strchr("\"*<>?|", c) != nullptr && c != '\0'; }

bool HasRefusedChar(const std::string& name) {
  const auto* p = reinterpret_cast<const unsigned char*>(name.data());
  const int len = static_cast<int>(name.size());
  for (int i = 0; i < len;) {
    const int size = SjisCharSize(p, len, i);
    if (size == 1 && IsRefusedNameChar(name[static_cast<size_t>(i)])) return true;
    i += size;
  }
  return false;
}

void ShowFileNameError(const std::string& name) {
  // The name is cut so that the explanation after it always shows.
  const int shown = WholeCharsPrefixLength(name.data(), static_cast<int>(std::min<size_t>(name.size(), INT32_MAX)),
                                           static_cast<int>(kMaxName));
  const std::string head = name.substr(0, static_cast<size_t>(shown));
  ShowMessageBox(nullptr, MB_OK, "FileNameError",
                 "%s\r\n上記のファイル名は不正です。ファイル名に \\ / : * ? \" < > | の文字は使えません。 "_sj,
                 head.c_str());
}

void SetPath(RecentFileRecord& fi, std::string_view path) {
  const size_t n = std::min(path.size(), kMaxName);
  std::memcpy(fi.szPath, path.data(), n);
  fi.szPath[n] = '\0';
}

// A digit 0-6 right before the last "." of the executable's file name (never of a folder above it)
// is the code files open in; -1 when there is none.
int CodeFromExecutableName(std::string_view exe) {
  const size_t slash = exe.rfind('/');
  if (slash != std::string_view::npos) exe.remove_prefix(slash + 1);
  const size_t dot = exe.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return -1;
  const char digit = exe[dot - 1];
  return digit >= '0' && digit <= '6' ? digit - '0' : -1;
}

}  // namespace

const CommandLineSystem& HostCommandLineSystem() {
  static const HostSystem system;
  return system;
}

CCommandLineOptions::CCommandLineOptions() : m_fi(kEmptyRecentFileRecord) {
  m_fi.nViewTopLine = -1;
  m_fi.nViewLeftCol = -1;
  m_fi.nX = -1;
  m_fi.nY = -1;
  m_fi.nCharCode = kCodeDetect;
}

CCommandLineOptions* CCommandLineOptions::GetInstance(const char* pszCmdLine, const CommandLineSystem& system) {
  static std::unique_ptr<CCommandLineOptions> instance;
  const bool fresh = !instance;
  if (fresh) {
    instance.reset(new (std::nothrow) CCommandLineOptions);
    if (!instance) return nullptr;
  }
  if (pszCmdLine || fresh) instance->Parse(pszCmdLine ? pszCmdLine : "", system);
  return instance.get();
}

int CCommandLineOptions::LookupOption(const char* pszToken, const char** ppszValue) {
  if (!pszToken) return kOptNone;
  const std::string_view token(pszToken);
  for (const NamedOption& option : kValueOptions) {
    const size_t n = option.name.size();
    if (token.size() > n && token.starts_with(option.name) && (token[n] == '=' || token[n] == ':')) {
      if (ppszValue) *ppszValue = pszToken + n + 1;
      return option.id;
    }
  }
  for (const NamedOption& flag : kFlags) {
    if (token == flag.name) return flag.id;
  }
  return kOptNone;
}

void CCommandLineOptions::Parse(std::string_view cmdLine, const CommandLineSystem& system) {
  *this = CCommandLineOptions();
  cmdLine = cmdLine.substr(0, cmdLine.find('\0'));
  m_szCmdLine.assign(cmdLine);

  const int code = CodeFromExecutableName(system.ExecutablePath());
  if (code >= 0) m_fi.nCharCode = code;

  // A leading file name may hold spaces: of the prefixes that end at a space (or the end) the
  // longest existing one wins, so "My Documents/a.txt" is not taken for a folder "My".
  size_t start = 0;
  bool leadingName = false;
  if (!cmdLine.empty() && cmdLine[0] != '-') {
    size_t best = 0;
    for (size_t end = 1; end <= std::min(cmdLine.size(), kMaxName); ++end) {
      if (end < cmdLine.size() && cmdLine[end] != ' ') continue;
      if (system.PathExists(std::string(cmdLine.substr(0, end)))) best = end;
    }
    if (best > 0) {
      SetPath(m_fi, cmdLine.substr(0, best));
      leadingName = true;
      start = std::min(best + 1, cmdLine.size());
    }
  }

  std::string buffer(cmdLine);
  const int len = static_cast<int>(std::min<size_t>(buffer.size(), INT32_MAX));
  int pos = static_cast<int>(start);
  while (char* token = NextTokenOutsideQuotes(buffer.data(), len, &pos, " ")) {
    if (leadingName || token[0] == '-') {
      const char* value = nullptr;
      const int id = LookupOption(token + 1, &value);
      ApplyOption(id, value);
    } else {
      TakeFileNameToken(token);
    }
  }

  if (m_fi.szPath[0] != '\0') {
    char target[kMaxPath] = {};
    if (ResolveShortcut(nullptr, m_fi.szPath, target)) CopyWholeChars(m_fi.szPath, kMaxPath, target);
    std::string full;
    if (GetLongPath(m_fi.szPath, full)) SetPath(m_fi, full);
  }
}

void CCommandLineOptions::ApplyOption(int id, const char* pszValue) {
  switch (id) {
    case kOptX:
      m_fi.nX = ZeroBased(ReadNumber(pszValue));
      break;
    case kOptY:
      m_fi.nY = ZeroBased(ReadNumber(pszValue));
      break;
    case kOptVX:
      m_fi.nViewLeftCol = ZeroBased(ReadNumber(pszValue));
      break;
    case kOptVY:
      m_fi.nViewTopLine = ZeroBased(ReadNumber(pszValue));
      break;
    case kOptSX:
      m_fi.nRequestWidth = ZeroBased(ReadNumber(pszValue));
      break;
    case kOptSY:
      m_fi.nRequestHeight = ZeroBased(ReadNumber(pszValue));
      break;
    case kOptWX:
      m_fi.nRequestX = ReadNumber(pszValue);
      break;
    case kOptWY:
      m_fi.nRequestY = ReadNumber(pszValue);
      break;
    case kOptCode:
      m_fi.nCharCode = ReadNumber(pszValue);
      break;
    // Whole characters only: half of one would name no type.
    case kOptType:
      CopyWholeChars(m_fi.szTypeText, sizeof m_fi.szTypeText, pszValue);
      break;
    case kOptGrepKey:
      UnquoteValue(pszValue, m_cmGrepKey);
      break;
    case kOptGrepFile:
      UnquoteValue(pszValue, m_cmGrepFile);
      break;
    case kOptGrepFolder:
      UnquoteValue(pszValue, m_cmGrepFolder);
      break;
    case kOptGrepOptions:
      // By characters: the trail byte of a double-byte character is no letter.
      for (const char* p = pszValue; *p; p += SjisCharSizeZ(p)) {
        if (SjisCharSizeZ(p) != 1) continue;
        switch (*p) {
          case 'S':
            m_bGrepSubFolder = true;
            break;
          case 'L':
            m_bGrepLoHiCase = true;
            break;
          case 'R':
            m_bGrepRegularExp = true;
            break;
          case 'P':
            m_bGrepOutputLine = true;
            break;
          case 'W':
            m_bGrepWordOnly = true;
            break;
          case 'K':
            m_nGrepCharSet = kCodeDetect;
            break;
          case '1':
            m_nGrepOutputStyle = 1;
            break;
          case '2':
            m_nGrepOutputStyle = 2;
            break;
          default:
            break;
        }
      }
      break;
    case kOptGrepCode:
      m_nGrepCharSet = ReadNumber(pszValue);
      break;
    case kOptReadOnly:
      m_bReadOnly = true;
      break;
    case kOptNoWindow:
      m_bNoWindow = true;
      break;
    case kOptGrepMode:
      m_bGrepMode = true;
      break;
    case kOptGrepDialog:
      m_bGrepDlg = true;
      break;
    case kOptDebugMode:
      m_bDebugMode = true;
      break;
    default:
      break;
  }
}

void CCommandLineOptions::TakeFileNameToken(const char* pszToken) {
  std::string name;
  if (pszToken[0] == '"') {
    std::string_view inner(pszToken + 1);
    if (!inner.empty() && inner.back() == '"') inner.remove_suffix(1);
    name = CollapseQuotePairs(inner);
  } else {
    name = pszToken;
  }
  m_fi.szPath[0] = '\0';
  if (name.empty()) return;
  // A file URL's path: the scheme goes, the path's own "/" stays.
  if (name.starts_with("file:///")) name.erase(0, std::strlen("file://"));
  // The record holds 259 bytes: a longer name is refused whole, never cut into another name.
  if (name.size() > kMaxName || HasRefusedChar(name)) {
    ShowFileNameError(name);
    return;
  }
  SetPath(m_fi, name);
}
