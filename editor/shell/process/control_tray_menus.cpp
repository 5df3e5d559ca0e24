// The tray's two menus (both the popup of menu 113, filled afresh each time) and the commands of
// the main one.
#include "editor/shell/process/control_tray.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/recent_menus.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/ui/open_file_dialog.h"
#include "platform/desktop.h"
#include "platform/foreground_window.h"
#include "platform/popup_menu.h"
#include "platform/sjis_literal.h"

namespace {

using Entry = platform::MenuResourceEntry;
using Kind = Entry::Kind;

// One popup; its items are made each time a tray menu opens.
constexpr Entry kTrayMenu[] = {{Kind::kPopup, 0, "tray"}, {Kind::kEnd, 0, nullptr}};

constexpr const char* kCaption = "tovara";
constexpr int kFirstWindowCommand = 10000;
constexpr int kFirstRecentFileCommand = 11000;
constexpr int kFirstRecentFolderCommand = 12000;
constexpr int kRecentFileCommandSlots = 1000;

const char* CodeName(int code) {
  const char* name = CharCodeName(code);
  return name ? name : "";
}

bool IsExistingFolder(const char* path) { return IsExistingFile(path, false) && !IsExistingFile(path, true); }

}  // namespace

bool RegisterTrayMenuResource() { return platform::RegisterMenuResource(kTrayMenuResourceName, kTrayMenu); }

HMENU CEditApp::LoadTrayPopup(HMENU* menu) {
  *menu = platform::LoadMenuResourceByName(kTrayMenuResourceName);
  if (!*menu) return nullptr;
  platform::MenuItemInfo first;
  if (!GetMenuItemInfoAt(*menu, 0, first) || !first.submenu) return nullptr;
  m_CMenuDrawer.ClearItems();
  while (GetMenuItemCount(first.submenu) > 0)
    if (!DeleteMenu(first.submenu, 0, MF_BYPOSITION)) return nullptr;
  return first.submenu;
}

int CEditApp::TrackTrayMenu(HMENU popup) {
  m_bUseTrayMenu = true;
  POINT at{0, 0};
  platform::GetCursorPos(&at);
  platform::SetForegroundWindow(m_hWnd);
  const int chosen = platform::TrackPopupMenu(popup, TPM_BOTTOMALIGN | TPM_RIGHTALIGN | TPM_RETURNCMD | TPM_LEFTBUTTON,
                                              at.x, at.y - 4, 0, m_hWnd, nullptr);
  platform::PostMessage(m_hWnd, WM_USER + 1, 0, 0);
  m_bUseTrayMenu = false;
  return chosen;
}

void CEditApp::AddItem(HMENU menu, int id, const char* text, UINT flags) {
  if (id == 0)
    m_CMenuDrawer.MyAppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  else
    m_CMenuDrawer.MyAppendMenu(menu, flags, static_cast<uintptr_t>(id), text, false);
}

int CEditApp::ShowTrayMenu(const std::function<void(HMENU)>& fill) {
  if (m_bUseTrayMenu) return -1;
  HMENU menu = nullptr;
  HMENU popup = LoadTrayPopup(&menu);
  int chosen = 0;
  if (popup) {
    fill(popup);
    chosen = TrackTrayMenu(popup);
  }
  if (menu) DestroyMenu(menu);
  return chosen;
}

int CEditApp::ShowMainMenu() {
  return ShowTrayMenu([this](HMENU popup) {
    AddItem(popup, 30101, "新規作成(&N)"_sj);
    AddItem(popup, 30102, "開く(&O)..."_sj);
    AddItem(popup, 30910, "Grep(&G)..."_sj);
    AddItem(popup, 0, nullptr);

    CRecentFileMenu files(&m_share);
    HMENU filesPopup = files.CreatePopup(m_CMenuDrawer);
    m_CMenuDrawer.MyAppendMenu(popup, MF_POPUP | (files.GetCount() == 0 ? MF_GRAYED : 0),
                               reinterpret_cast<uintptr_t>(filesPopup), "最近使ったファイル(&F)"_sj, false);
    CRecentFolderMenu folders(&m_share);
    HMENU foldersPopup = folders.CreatePopup(m_CMenuDrawer);
    m_CMenuDrawer.MyAppendMenu(popup, MF_POPUP | (folders.List().GetCount() == 0 ? MF_GRAYED : 0),
                               reinterpret_cast<uintptr_t>(foldersPopup), "最近使ったフォルダ(&D)"_sj, false);
    AddItem(popup, 0, nullptr);

    m_windowItems.fill(0);
    std::vector<EditWindowEntry> live;
    for (const EditWindowEntry& entry : m_share.GetEditWindowList(false))
      if (entry.nWindowNumber >= 0 && entry.nWindowNumber < kEditWindowSlots && IsEditWindow(entry.hwnd))
        live.push_back(entry);
    const UINT grey = live.empty() ? MF_GRAYED : MF_STRING;
    AddItem(popup, 30120, "すべて上書き保存(&Z)"_sj, grey);
    AddItem(popup, 31321, "すべてのウィンドウを閉じる(&Q)"_sj, grey);
    if (!live.empty()) {
      AddItem(popup, 0, nullptr);
      m_share.ExpandNicknameSources();
      int place = 0;
      for (const EditWindowEntry& entry : live) {
        const RecentFileRecord info = m_share.AskWindowFileInfo(entry.hwnd);
        const std::string text = TrayWindowItemText(place++, info, &m_share);
        AddItem(popup, kFirstWindowCommand + entry.nWindowNumber, text.c_str());
        m_windowItems[static_cast<size_t>(entry.nWindowNumber)] = entry.hwnd;
      }
    }
    AddItem(popup, 0, nullptr);
    AddItem(popup, 30195, "トヴァラエディタの全終了(&X)"_sj);
  });
}

int CEditApp::ShowHelpMenu() {
  return ShowTrayMenu([this](HMENU popup) {
    AddItem(popup, 31440, "ヘルプ目次(&O)"_sj);
    AddItem(popup, 31441, "ヘルプキーワード検索(&S)"_sj);
    AddItem(popup, 0, nullptr);
    AddItem(popup, 31455, "バージョン情報(&A)"_sj);
    AddItem(popup, 0, nullptr);
    AddItem(popup, 30195, "トヴァラエディタの全終了(&X)"_sj);
  });
}

void CEditApp::OnMainMenuCommand(int command) {
  switch (command) {
    case 30101:
      LaunchNewEditor();
      return;
    case 30102: {
      CRecentFolderMenu folders(&m_share);
      const char* first = folders.List().GetCount() > 0 ? folders.GetPath(0) : nullptr;
      OpenFileFromDialog(first ? first : "");
      return;
    }
    case 30120:
      m_share.PostToAllEditWindows(WM_COMMAND, 30121, 0, 0);
      return;
    case 30195:
      QuitResidentProcess();
      return;
    case 31321:
      CloseAllEditWindows();
      return;
    case 30910:
      LaunchGrep();
      return;
    default:
      break;
  }
  if (command >= kFirstWindowCommand && command < kFirstWindowCommand + kEditWindowSlots) {
    // The item names the window it was made for: the list may have changed since, and a window
    // that has gone is not replaced by whichever holds its place now.
    const EditWindowId window = m_windowItems[static_cast<size_t>(command - kFirstWindowCommand)];
    if (window != 0 && IsEditWindow(window)) ActivateEditWindow(window);
    return;
  }
  if (command >= kFirstRecentFileCommand && command < kFirstRecentFileCommand + kRecentFileCommandSlots) {
    CRecentFileMenu files(&m_share);
    RecentFileRecord record;
    if (!files.GetRecord(command - kFirstRecentFileCommand, &record)) return;
    if (m_pShareData && m_pShareData->Common.m_bRestoreCurPosition) {
      LaunchEditorForFile(m_hWnd, record, false, false);
    } else {
      record.szPath[kMaxPath - 1] = '\0';
      LaunchEditorProcess(m_hWnd, PathToken(record.szPath).c_str(), record.nCharCode, false, false, nullptr);
    }
    return;
  }
  if (command >= kFirstRecentFolderCommand && command < kFirstRecentFolderCommand + kRecentFileCommandSlots) {
    CRecentFolderMenu folders(&m_share);
    const int n = command - kFirstRecentFolderCommand;
    if (n >= folders.List().GetCount()) return;
    const char* folder = folders.GetPath(n);
    if (!folder) return;
    const std::string start(folder);  // no network shares to connect here
    OpenFileFromDialog(start.c_str());
  }
}

void CEditApp::OpenFileFromDialog(const char* startFolder) {
  CRecentFileMenu files(&m_share);
  CRecentFolderMenu folders(&m_share);
  std::vector<const char*> mru(static_cast<size_t>(files.List().GetCapacity()) + 1, nullptr);
  files.GetPathList(mru.data());
  std::vector<const char*> opened(static_cast<size_t>(folders.List().GetCapacity()) + 1, nullptr);
  folders.GetPathList(opened.data());

  COpenFileDialog dialog;
  dialog.Setup(m_hInstance, nullptr, "*.*", startFolder, mru.data(), opened.data());
  char path[kMaxPath] = {};
  int code = kDetectCharCode;
  bool readOnly = false;
  if (!dialog.RunOpenDialog(path, &code, &readOnly) || !m_hWnd) return;

  EditWindowId window = 0;
  if (m_share.FindEditWindowByPath(path, &window)) {
    const RecentFileRecord info = m_share.AskWindowFileInfo(window);
    if (code == kDetectCharCode) {
      const int detected = CMemory::DetectFileCode(path);
      if (detected >= 0) code = detected;
    }
    // A failed detection names no code to compare with: the window comes to the front as it stands.
    if (code != kDetectCharCode && code != info.nCharCode)
      ShowMessageBox(m_hWnd, MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST, kCaption,
                     "%s\n\n既に開いているファイルを違う文字コードで開く場合は、\n一旦閉じてからでないと開けません。\n\n"
                     "現在の文字コードセット＝%s\n新しい文字コードセット＝%s"_sj,
                     path, CodeName(info.nCharCode), CodeName(code));
    ActivateEditWindow(window);
    return;
  }
  LaunchEditorProcess(m_hWnd, PathToken(path).c_str(), code, readOnly, false, nullptr);
}

void CEditApp::LaunchGrep() {
  if (!m_pGrepDialog) return;
  if (m_pGrepDialog->IsOpen()) {
    m_pGrepDialog->Raise();
    return;
  }
  std::string seed;
  if (m_pShareData && m_pShareData->nSearchKeyCount > 0)
    seed.assign(m_pShareData->szSearchKeys[0], strnlen(m_pShareData->szSearchKeys[0], kMaxPath));
  GrepLaunchRequest request;
  if (!m_pGrepDialog->Run(seed, &request) || !m_hWnd) return;
  LaunchEditorProcess(nullptr, GrepLaunchText(request).c_str(), 0, false, false, nullptr);
}

bool CEditApp::LaunchNewEditor() {
  std::string folder;
  CRecentFolderMenu folders(&m_share);
  const int count = folders.List().GetCount();
  for (int i = 0; i < count; ++i) {
    const char* path = folders.GetPath(i);
    if (path && IsExistingFolder(path)) {
      folder = path;
      break;
    }
  }
  return LaunchEditorProcess(m_hWnd, nullptr, 0, false, false, folder.c_str());
}

