// Operations on the shared record that several parts of the editor need: the return ring, the
// histories, file types, help files, dates and times and macro paths.
#include <cstdio>
#include <cstring>
#include <string>

#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/fixed_text.h"
#include "editor/foundation/settings/recent_list.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_compare.h"
#include "platform/sjis_literal.h"

namespace {

bool AddToHistory(CShareData& share, int type, const char* text) {
  SharedSettings* s = share.GetShareData();
  if (!s || !text) return false;
  CShareData::RecordLock lock(share);
  CRecentList list;
  return list.BindToShareData(s, type) && list.AppendItem(text);
}

bool ValidType(int t) { return t >= 0 && t < kTypeSlots; }

// A picture of date and time letters; text in single quotes is copied, "''" gives one quote.
std::string Picture(const SYSTEMTIME& t, const char* picture) {
  static const char* const kDayNames[] = {"日曜日"_sj, "月曜日"_sj, "火曜日"_sj, "水曜日"_sj,
                                          "木曜日"_sj, "金曜日"_sj, "土曜日"_sj};
  static const char* const kDayShort[] = {"日"_sj, "月"_sj, "火"_sj, "水"_sj, "木"_sj, "金"_sj, "土"_sj};
  std::string out;
  const size_t len = std::strlen(picture);
  const auto* bytes = reinterpret_cast<const unsigned char*>(picture);
  const auto number = [&out](int v, int width) {
    char b[16];
    std::snprintf(b, sizeof b, "%0*d", width, v);
    out += b;
  };
  for (size_t i = 0; i < len;) {
    const char c = picture[i];
    const int step = SjisCharSize(bytes, static_cast<int>(len), static_cast<int>(i));
    if (step == 2) {
      out.append(picture + i, 2);
      i += 2;
      continue;
    }
    if (c == '\'') {
      ++i;
      while (i < len) {
        const int s = SjisCharSize(bytes, static_cast<int>(len), static_cast<int>(i));
        if (s == 1 && picture[i] == '\'') {
          if (i + 1 < len && picture[i + 1] == '\'') {
            out += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out.append(picture + i, s);
        i += s;
      }
      continue;
    }
    size_t run = 1;
    while (i + run < len && picture[i + run] == c) ++run;
    const int day = t.wDayOfWeek < 7 ? t.wDayOfWeek : 0;
    switch (c) {
      case 'y':
        if (run >= 3)
          number(t.wYear, 4);
        else
          number(t.wYear % 100, run == 2 ? 2 : 1);
        break;
      case 'M':
        number(t.wMonth, run >= 2 ? 2 : 1);
        if (run >= 3) out += "月"_sj;
        break;
      case 'd':
        if (run >= 4)
          out += kDayNames[day];
        else if (run == 3)
          out += kDayShort[day];
        else
          number(t.wDay, run);
        break;
      case 'h':
        number(t.wHour % 12 == 0 ? 12 : t.wHour % 12, run >= 2 ? 2 : 1);
        break;
      case 'H':
        number(t.wHour, run >= 2 ? 2 : 1);
        break;
      case 'm':
        number(t.wMinute, run >= 2 ? 2 : 1);
        break;
      case 's':
        number(t.wSecond, run >= 2 ? 2 : 1);
        break;
      case 't':
        out += t.wHour < 12 ? "午前"_sj : "午後"_sj;
        break;
      case 'g':
        break;  // no era names here
      default:
        out.append(run, c);
        break;
    }
    i += run;
  }
  return out;
}

const char* CopyOut(const std::string& text, char* buffer, int size) {
  if (!buffer || size < 1) return buffer;
  const int n = WholeCharsPrefixLength(text.data(), static_cast<int>(text.size()), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return buffer;
}

}  // namespace

void CShareData::PushReturnPoint(const TagJumpReturnPoint& point) {
  if (!m_pShareData) return;
  RecordLock lock(*this);
  SharedSettings& s = *m_pShareData;
  int top = s.nReturnPointTop + 1;
  if (top < 0 || top >= kReturnPointSlots) top = 0;
  s.nReturnPointTop = top;
  if (s.nReturnPointCount < 0) s.nReturnPointCount = 0;
  if (s.nReturnPointCount < kReturnPointSlots) ++s.nReturnPointCount;
  s.ReturnPoints[top] = point;
}

bool CShareData::PopReturnPoint(TagJumpReturnPoint* point) {
  if (!m_pShareData || !point) return false;
  RecordLock lock(*this);
  SharedSettings& s = *m_pShareData;
  if (s.nReturnPointCount < 1) return false;
  if (s.nReturnPointCount > kReturnPointSlots) s.nReturnPointCount = kReturnPointSlots;
  if (s.nReturnPointTop < 0 || s.nReturnPointTop >= kReturnPointSlots) s.nReturnPointTop = 0;
  *point = s.ReturnPoints[s.nReturnPointTop];
  s.nReturnPointTop = s.nReturnPointTop == 0 ? kReturnPointSlots - 1 : s.nReturnPointTop - 1;
  --s.nReturnPointCount;
  return true;
}

bool CShareData::AddSearchKey(const char* text) { return AddToHistory(*this, CRecentList::kSearchKeys, text); }
bool CShareData::AddReplaceKey(const char* text) { return AddToHistory(*this, CRecentList::kReplaceKeys, text); }
bool CShareData::AddGrepFile(const char* text) { return AddToHistory(*this, CRecentList::kGrepFiles, text); }
bool CShareData::AddGrepFolder(const char* text) { return AddToHistory(*this, CRecentList::kGrepFolders, text); }

int CShareData::GetTypeByExtension(const char* extension) {
  if (!m_pShareData || !extension) return 0;
  for (int t = 0; t < kTypeSlots; ++t) {
    const char* exts = m_pShareData->TypeList[t].szTypeExts;
    const std::string list(exts, strnlen(exts, sizeof m_pShareData->TypeList[t].szTypeExts));
    size_t start = 0;
    while (start <= list.size()) {
      size_t end = list.find_first_of(" ;,", start);
      if (end == std::string::npos) end = list.size();
      const std::string token = list.substr(start, end - start);
      if (!token.empty() && SjisStrICmp(token.c_str(), extension) == 0) return t;
      start = end + 1;
    }
  }
  return 0;
}

int CShareData::GetTypeByPath(const char* path) {
  if (!path || !*path) return 0;
  std::string file;
  SplitFolderAndFile(path, nullptr, &file);
  const size_t dot = file.rfind('.');
  if (dot == std::string::npos) return GetTypeByExtension("");
  return GetTypeByExtension(file.c_str() + dot + 1);
}

bool CShareData::IsExtHelpSet(int t) {
  if (!m_pShareData) return false;
  if (m_pShareData->Common.szExtHelp[0]) return true;
  return ValidType(t) && m_pShareData->TypeList[t].szExtHelp[0];
}

const char* CShareData::GetExtHelpPath(int t) {
  if (!m_pShareData) return "";
  if (ValidType(t) && m_pShareData->TypeList[t].szExtHelp[0]) return m_pShareData->TypeList[t].szExtHelp;
  return m_pShareData->Common.szExtHelp;
}

bool CShareData::IsExtHtmlHelpSet(int t) {
  if (!m_pShareData) return false;
  if (m_pShareData->Common.szExtHtmlHelp[0]) return true;
  return ValidType(t) && m_pShareData->TypeList[t].szExtHtmlHelp[0];
}

const char* CShareData::GetExtHtmlHelpPath(int t) {
  if (!m_pShareData) return "";
  if (ValidType(t) && m_pShareData->TypeList[t].szExtHtmlHelp[0]) return m_pShareData->TypeList[t].szExtHtmlHelp;
  return m_pShareData->Common.szExtHtmlHelp;
}

bool CShareData::IsHtmlHelpSingle(int t) {
  if (!m_pShareData) return true;
  if (ValidType(t) && m_pShareData->TypeList[t].szExtHtmlHelp[0]) return m_pShareData->TypeList[t].bHtmlHelpIsSingle;
  return m_pShareData->Common.bHtmlHelpIsSingle;
}

const char* CShareData::FormatDateWith(const SYSTEMTIME& time, char* buffer, int size, int type, const char* picture) {
  return CopyOut(Picture(time, type == 0 || !picture ? "yyyy'年'M'月'd'日'"_sj : picture), buffer, size);
}

const char* CShareData::FormatTimeWith(const SYSTEMTIME& time, char* buffer, int size, int type, const char* picture) {
  return CopyOut(Picture(time, type == 0 || !picture ? "H:mm:ss" : picture), buffer, size);
}

const char* CShareData::FormatDate(const SYSTEMTIME& time, char* buffer, int size) {
  if (!m_pShareData) return FormatDateWith(time, buffer, size, 0, nullptr);
  char picture[sizeof m_pShareData->Common.szDateFormat];
  CopyText(picture, m_pShareData->Common.szDateFormat);
  return FormatDateWith(time, buffer, size, m_pShareData->Common.nDateFormatType, picture);
}

const char* CShareData::FormatTime(const SYSTEMTIME& time, char* buffer, int size) {
  if (!m_pShareData) return FormatTimeWith(time, buffer, size, 0, nullptr);
  char picture[sizeof m_pShareData->Common.szTimeFormat];
  CopyText(picture, m_pShareData->Common.szTimeFormat);
  return FormatTimeWith(time, buffer, size, m_pShareData->Common.nTimeFormatType, picture);
}

int CShareData::GetMacroFilePath(int slot, char* buffer, int size) {
  if (!m_pShareData || slot < -1 || slot >= kMacroSlots) return 0;
  char name[kMaxPath];
  if (slot == -1) {
    CopyText(name, "RecKey.mac");
  } else {
    CopyText(name, m_pShareData->MacroSlots[slot].File);
    if (name[0] == '\0') return 0;
  }
  std::string result;
  char* folder = m_pShareData->szMACROFOLDER;
  folder[kMaxPath - 1] = '\0';
  if (name[0] == '/' || folder[0] == '\0') {
    result = name;
  } else {
    AppendCharIfMissing(folder, kMaxPath, '/');
    if (folder[0] != '/') result = ExecutableFolder();
    result += folder;
    result += name;
  }
  const int len = static_cast<int>(result.size());
  if (!buffer || len >= size) return -len;
  std::memcpy(buffer, result.c_str(), len + 1);
  return len;
}

bool CShareData::IsMacroReloadOnExecute(int slot) {
  if (!m_pShareData || slot < 0 || slot >= kMacroSlots) return false;
  const MacroSlotRecord& m = m_pShareData->MacroSlots[slot];
  return m.File[0] != '\0' && m.ReloadWhenExecute == 1;
}

int CShareData::SetExchangeLine(const char* line, int length) {
  if (!m_pShareData || !line || length < 0) return 0;
  const int n = length < kExchangeTextSize ? length : kExchangeTextSize;
  std::memcpy(m_pShareData->szExchangeText, line, n);
  return length;
}
