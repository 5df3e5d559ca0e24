#include "editor/foundation/settings/recent_menus.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/fixed_text.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/sjis_char.h"
#include "platform/sjis_literal.h"

namespace {

constexpr int kFileMenuFirstId = 11000;
constexpr int kFolderMenuFirstId = 12000;
constexpr int kOptionFavoriteCommand = 31113;

char AccessChar(int i) { return i < 10 ? static_cast<char>('0' + i) : static_cast<char>('A' + i - 10); }

HMENU BuildPopup(CShareData* shareData, CRecentList& list, IMenuDrawer& drawer, int firstId,
                 const char* (*pathOf)(const char* item), int (*codeOf)(const char* item)) {
  if (shareData) shareData->ExpandNicknameSources();
  HMENU popup = CreatePopupMenu();
  const int n = std::min(list.GetCount(), list.GetVisibleMax());
  for (int i = 0; i < n; ++i) {
    const char* item = list.GetItem(i);
    if (!item) break;
    char path[kMaxPath];
    if (shareData)
      shareData->ApplyFileNameNicknames(pathOf(item), path, sizeof path);
    else
      CopyText(path, pathOf(item));
    const bool favorite = list.IsFavorite(i);
    std::string text = "&";
    text += AccessChar(i);
    text += ' ';
    if (favorite && !drawer.IsMenuIconOn()) text += "★ "_sj;
    text += DoubleMenuAmpersands(path);
    if (codeOf) text += MenuCodeSuffix(codeOf(item));
    drawer.MyAppendMenu(popup, MF_STRING, static_cast<uintptr_t>(firstId + i), text.c_str(), true,
                        favorite ? kOptionFavoriteCommand : 0);
  }
  return popup;
}

const char* RecordPath(const char* item) { return reinterpret_cast<const RecentFileRecord*>(item)->szPath; }
int RecordCode(const char* item) { return reinterpret_cast<const RecentFileRecord*>(item)->nCharCode; }
const char* FolderPath(const char* item) { return item; }

SharedSettings* RecordOf(CShareData* shareData) { return shareData ? shareData->GetShareData() : nullptr; }

}  // namespace

CRecentFileMenu::CRecentFileMenu(CShareData* shareData) : m_pShareData(shareData) {
  m_cList.BindToShareData(RecordOf(shareData), CRecentList::kRecentFiles);
}

HMENU CRecentFileMenu::CreatePopup(IMenuDrawer& drawer) {
  return BuildPopup(m_pShareData, m_cList, drawer, kFileMenuFirstId, RecordPath, RecordCode);
}

int CRecentFileMenu::GetPathList(const char** out) {
  if (!out) return 0;
  const int n = std::min(m_cList.GetCount(), m_cList.GetVisibleMax());
  for (int i = 0; i < n; ++i) out[i] = m_cList.GetItemKey(i);
  out[n] = nullptr;
  return n;
}

bool CRecentFileMenu::GetRecord(int i, RecentFileRecord* out) {
  const char* item = m_cList.GetItem(i);
  if (!item || !out) return false;
  std::memcpy(out, item, sizeof *out);
  return true;
}

bool CRecentFileMenu::GetRecordByPath(const char* path, RecentFileRecord* out) {
  if (!path || !out) return false;
  return GetRecord(m_cList.FindItem(path), out);
}

bool CRecentFileMenu::AddRecord(const RecentFileRecord* record) {
  if (!record || record->szPath[0] == '\0' || !m_cList.IsValid()) return false;
  char path[kMaxPath];
  std::memcpy(path, record->szPath, kMaxPath);
  path[kMaxPath - 1] = '\0';
  std::string folder;
  SplitFolderAndFile(path, &folder, nullptr);
  AddTrailingBackslash(folder);
  if (!folder.empty()) CRecentFolderMenu(m_pShareData).AddFolder(folder.c_str());
  if (!m_pShareData) return m_cList.AppendItem(reinterpret_cast<const char*>(record));
  CShareData::RecordLock lock(*m_pShareData);
  return m_cList.AppendItem(reinterpret_cast<const char*>(record));
}

CRecentFolderMenu::CRecentFolderMenu(CShareData* shareData) : m_pShareData(shareData) {
  m_cList.BindToShareData(RecordOf(shareData), CRecentList::kRecentFolders);
}

HMENU CRecentFolderMenu::CreatePopup(IMenuDrawer& drawer) {
  return BuildPopup(m_pShareData, m_cList, drawer, kFolderMenuFirstId, FolderPath, nullptr);
}

int CRecentFolderMenu::GetPathList(const char** out) {
  if (!out) return 0;
  const int n = std::min(m_cList.GetCount(), m_cList.GetVisibleMax());
  for (int i = 0; i < n; ++i) out[i] = m_cList.GetItem(i);
  out[n] = nullptr;
  return n;
}

bool CRecentFolderMenu::AddFolder(const char* path) {
  if (!path || path[0] == '\0') return false;
  if (!m_pShareData) return m_cList.AppendItem(path);
  CShareData::RecordLock lock(*m_pShareData);
  return m_cList.AppendItem(path);
}

std::string DoubleMenuAmpersands(const char* text) {
  std::string out;
  const size_t len = std::strlen(text);
  for (size_t i = 0; i < len;) {
    const int step =
        SjisCharSize(reinterpret_cast<const unsigned char*>(text), static_cast<int>(len), static_cast<int>(i));
    if (step == 1 && text[i] == '&') out += '&';
    out.append(text + i, step);
    i += step;
  }
  return out;
}

const char* MenuCodeSuffix(int code) {
  switch (code) {
    case 1:
      return "  [JIS]";
    case 2:
      return "  [EUC]";
    case 3:
      return "  [Unicode]";
    case 4:
      return "  [UTF-8]";
    case 5:
      return "  [UTF-7]";
    case 6:
      return "  [UniBE]";
    default:
      return "";
  }
}
