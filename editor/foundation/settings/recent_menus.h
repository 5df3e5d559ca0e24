// The recent files and recent folders of the shared record, as the File menu's popups and the
// document use them. Short-lived: made on the stack wherever a list is read or changed.
#pragma once

#include <string>

#include "editor/foundation/settings/menu_drawer_interface.h"
#include "editor/foundation/settings/recent_list.h"

class CShareData;

class CRecentFileMenu {
 public:
  explicit CRecentFileMenu(CShareData* shareData);
  ~CRecentFileMenu() { m_cList.Reset(); }

  HMENU CreatePopup(IMenuDrawer& drawer);
  int GetCount() { return m_cList.GetCount(); }
  bool GetRecord(int i, RecentFileRecord* out);
  // The visible files' paths and a final null; the caller gives capacity + 1 entries.
  int GetPathList(const char** out);
  // The record whose path is exactly this one.
  bool GetRecordByPath(const char* path, RecentFileRecord* out);
  // Adds the record's folder to the recent folders, then the record to the recent files.
  bool AddRecord(const RecentFileRecord* record);
  bool ClearAll() { return m_cList.DeleteAll(); }
  CRecentList& List() { return m_cList; }

 private:
  CShareData* m_pShareData;
  CRecentList m_cList;
};

class CRecentFolderMenu {
 public:
  explicit CRecentFolderMenu(CShareData* shareData);
  ~CRecentFolderMenu() { m_cList.Reset(); }

  HMENU CreatePopup(IMenuDrawer& drawer);
  // The visible folders' paths and a final null; the caller gives capacity + 1 entries.
  int GetPathList(const char** out);
  bool ClearAll() { return m_cList.DeleteAll(); }
  bool AddFolder(const char* path);
  const char* GetPath(int i) { return m_cList.GetItem(i); }
  CRecentList& List() { return m_cList; }

 private:
  CShareData* m_pShareData;
  CRecentList m_cList;
};

// A name as a menu item shows it: each "&" doubled, so that only the item's own access key is one.
std::string DoubleMenuAmpersands(const char* text);
// What a file's menu item adds for its character code: "  [JIS]", "  [EUC]", "  [Unicode]",
// "  [UTF-8]", "  [UTF-7]" or "  [UniBE]" for codes 1 to 6; "" for any other.
const char* MenuCodeSuffix(int code);
