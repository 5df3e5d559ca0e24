#include "editor/foundation/document/backup_name.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "editor/foundation/settings/shared_settings.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/text_utils.h"
#include "platform/local_time.h"
#include "platform/path.h"

namespace {

constexpr int kDateYear = 0x20;
constexpr int kDateMonth = 0x10;
constexpr int kDateDay = 0x08;
constexpr int kDateHour = 0x04;
constexpr int kDateMinute = 0x02;
constexpr int kDateSecond = 0x01;
constexpr int kFileTimeSource = 4;  // "bBackUpType2_Opt4": the free format uses the file's time
constexpr size_t kExpansionBytes = 1024;

// A text field of the record, which need not hold its terminator.
std::string_view Field(const char (&text)[kMaxPath]) { return {text, strnlen(text, sizeof text)}; }

struct SplitName {
  std::string folder;  // up to and with the last "/"
  std::string name;    // the file name without its extension
  std::string ext;     // from the last "." of the file name, with the dot; may be empty
  std::vector<std::string> levels;  // the folder's names, outermost first
};

SplitName Split(std::string_view path) {
  SplitName s;
  const size_t slash = path.rfind('/');
  const std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (slash != std::string_view::npos) s.folder = std::string(path.substr(0, slash + 1));
  const size_t dot = file.rfind('.');
  s.name = std::string(file.substr(0, dot));
  if (dot != std::string_view::npos) s.ext = std::string(file.substr(dot));
  size_t start = 0;
  // "/" is never a trail byte: the levels split on bytes.
  while (start < s.folder.size()) {
    size_t end = s.folder.find('/', start);
    if (end == std::string::npos) end = s.folder.size();
    if (end > start) s.levels.emplace_back(s.folder, start, end - start);
    start = end + 1;
  }
  return s;
}

std::tm LocalTm(int64_t epochNs) {
  std::tm tm{};
  if (!platform::LocalTimeOf(epochNs, &tm)) tm = std::tm{};
  return tm;
}

int64_t FileTimeOr0(const char* pszPath) {
  int64_t ns = 0;
  return GetFileWriteTime(pszPath, &ns) ? ns : 0;
}

// strftime into at most kExpansionBytes - 1 bytes; false when the expansion does not fit.
bool FormatTime(const std::string& format, const std::tm& tm, std::string& out) {
  if (format.empty()) {
    out.clear();
    return true;
  }
  char buffer[kExpansionBytes];
  const size_t n = std::strftime(buffer, sizeof buffer, format.c_str(), &tm);
  // Nothing written for a format that is not empty means the expansion did not fit (a format
  // that expands to nothing at all makes no name of a backup either).
  if (n == 0) return false;
  out.assign(buffer, n);
  return true;
}

// The date part of naming mode 2: the enabled parts of the current local time, in the order year,
// month, day, hour, minute, second.
std::string CurrentDate(int parts) {
  std::string format;
  if (parts & kDateYear) format += "%Y";
  if (parts & kDateMonth) format += "%m";
  if (parts & kDateDay) format += "%d";
  if (parts & kDateHour) format += "%H";
  if (parts & kDateMinute) format += "%M";
  if (parts & kDateSecond) format += "%S";
  std::string date;
  FormatTime(format, LocalTm(platform::WallClockNs()), date);
  return date;
}

// The date part of naming mode 4: the file's last-write time, the year in full and the other
// enabled parts in two digits.
std::string FileDate(const char* pszPath, int parts) {
  SYSTEMTIME t;
  if (!platform::LocalSystemTimeOf(FileTimeOr0(pszPath), &t)) t = SYSTEMTIME{};
  std::string date;
  char number[16];
  const auto add = [&](int bit, const char* format, int value) {
    if (!(parts & bit)) return;
    std::snprintf(number, sizeof number, format, value);
    date += number;
  };
  add(kDateYear, "%d", t.wYear);
  add(kDateMonth, "%02d", t.wMonth);
  add(kDateDay, "%02d", t.wDay);
  add(kDateHour, "%02d", t.wHour);
  add(kDateMinute, "%02d", t.wMinute);
  add(kDateSecond, "%02d", t.wSecond);
  return date;
}

// The free format: date codes first, then the folder codes, "*" and "?" in one pass over the
// format's own text, so that names put in by "$" codes are never rewritten.
bool ExpandFreeFormat(const CommonSettings& c, const char* pszPath, const SplitName& s, std::string& out) {
  const std::string format(Field(c.szBackUpPathAdvanced));
  std::string dated;
  if (c.bBackUpType2_Opt4 == kFileTimeSource) {
    SYSTEMTIME t;
    if (!platform::LocalSystemTimeOf(FileTimeOr0(pszPath), &t)) t = SYSTEMTIME{};
    char buffer[kExpansionBytes];
    ExpandDateTimeFormat(buffer, sizeof buffer, format.c_str(), t);
    dated = buffer;
  } else if (!FormatTime(format, LocalTm(platform::WallClockNs()), dated)) {
    return false;
  }
  const int len = static_cast<int>(dated.size());
  const auto* bytes = reinterpret_cast<const unsigned char*>(dated.data());
  for (int i = 0; i < len;) {
    const int step = SjisCharSize(bytes, len, i);
    const char c0 = dated[i];
    if (step == 1 && c0 == '$' && i + 1 < len && dated[i + 1] >= '0' && dated[i + 1] <= '9') {
      const int level = dated[i + 1] - '0';
      if (level == 0) {
        out += s.name;
      } else if (level <= static_cast<int>(s.levels.size())) {
        out += s.levels[s.levels.size() - level];
      }
      i += 2;
    } else if (step == 1 && c0 == '$' && i + 1 < len) {
      // "$" and the character after it, whole, stand for themselves.
      const int next = SjisCharSize(bytes, len, i + 1);
      out.append(dated, i, 1 + next);
      i += 1 + next;
    } else if (step == 1 && c0 == '*') {
      if (!s.ext.empty()) out.append(s.ext, 1);
      i += 1;
    } else if (step == 1 && c0 == '?') {
      out += '_';
      i += 1;
    } else {
      out.append(dated, i, step);
      i += step;
    }
  }
  return true;
}

}  // namespace

bool BackupKeepsGenerations(const CommonSettings& settings) {
  return !settings.bBackUpPathAdvanced && (settings.nBackUpType == 3 || settings.nBackUpType == 6);
}

int BackupKeepCount(const CommonSettings& settings) {
  const int keep = settings.bBackUpType2_Opt2 & 0xFFFF;
  return keep > 99 ? 99 : keep;
}

char BackupGenerationLetter(const CommonSettings& settings) {
  const int letter = (settings.bBackUpType2_Opt2 >> 16) & 0xFF;
  return letter >= 0x20 && letter <= 0x7E && letter != '/' ? static_cast<char>(letter) : 'b';
}

bool BuildBackupPath(const CommonSettings& settings, const char* pszPath, char* pszOut) {
  if (!pszOut) return false;
  pszOut[0] = '\0';
  if (!pszPath) return false;
  const SplitName s = Split(std::string_view(pszPath, strnlen(pszPath, kMaxPath)));
  std::string path;
  if (settings.bBackUpFolder) {
    path = std::string(Field(settings.szBackUpFolder));
    AddTrailingBackslash(path);
  } else {
    path = s.folder;
  }
  if (settings.bBackUpPathAdvanced) {
    if (!ExpandFreeFormat(settings, pszPath, s, path)) return false;
  } else {
    const std::string generation = std::string(1, BackupGenerationLetter(settings)) + "00";
    switch (settings.nBackUpType) {
      case 1:
        path += s.name + ".bak";
        break;
      case 2:
        path += s.name + "_" + CurrentDate(settings.bBackUpType2_Opt1) + s.ext;
        break;
      case 3:
        path += s.name + "." + generation;
        break;
      case 4:
        path += s.name + "_" + FileDate(pszPath, settings.bBackUpType2_Opt1) + s.ext;
        break;
      case 5:
        path += s.name + s.ext + ".bak";
        break;
      case 6:
        path += s.name + s.ext + "." + generation;
        break;
      default:
        return false;  // no name: the copy would have to be the folder itself
    }
  }
  std::string host;
  if (path.size() >= static_cast<size_t>(kMaxPath) || !platform::ExactHostPath(path, host)) return false;
  std::memcpy(pszOut, path.c_str(), path.size() + 1);
  return true;
}
