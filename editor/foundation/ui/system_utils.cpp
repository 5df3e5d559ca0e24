#include "editor/foundation/ui/system_utils.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "editor/foundation/settings/regexp_dll.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/editor_path.h"
#include "platform/beep.h"
#include "platform/clipboard.h"
#include "platform/dialog.h"
#include "platform/folder_dialog.h"
#include "platform/icon_file.h"
#include "platform/key_state.h"
#include "platform/message_box.h"
#include "platform/path.h"
#include "platform/sjis_literal.h"
#include "platform/win_help.h"

bool PumpPendingMessages(HWND hwndDlgCancel) {
  MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Taking the quit would leave the program running once the job ends.
      platform::PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (hwndDlgCancel && platform::IsDialogMessage(hwndDlgCancel, &msg)) continue;
    platform::TranslateMessage(&msg);
    platform::DispatchMessage(&msg);
  }
  return true;
}

bool SelectFolderDialog(HWND hwndOwner, const char* pszTitle, const char* pszInitialFolder, std::string& folder) {
  std::string initial = pszInitialFolder ? pszInitialFolder : "";
  RemoveTrailingBackslash(initial);
  std::string chosen;
  if (!platform::BrowseForFolder(hwndOwner, pszTitle ? pszTitle : "", initial, &chosen)) return false;
  if (chosen.size() >= static_cast<size_t>(kMaxPath)) return false;
  folder = chosen;
  return true;
}

int GetModifierKeyState() {
  int state = 0;
  if (platform::GetKeyState(VK_SHIFT) < 0) state |= 1;
  if (platform::GetKeyState(VK_CONTROL) < 0) state |= 2;
  if (platform::GetKeyState(VK_MENU) < 0) state |= 4;
  return state;
}

bool GetMonitorRects(HMONITOR hMonitor, RECT* prcWork, RECT* prcMonitor) {
  MONITORINFO info;
  if (!platform::GetMonitorInfo(hMonitor, &info)) return false;
  if (prcWork) *prcWork = info.rcWork;
  if (prcMonitor) *prcMonitor = info.rcMonitor;
  return (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
}

bool GetMonitorRectsOfWindow(HWND hwnd, RECT* prcWork, RECT* prcMonitor) {
  return GetMonitorRects(platform::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), prcWork, prcMonitor);
}

bool GetMonitorRectsOfPoint(int x, int y, RECT* prcWork, RECT* prcMonitor) {
  return GetMonitorRects(platform::MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST), prcWork, prcMonitor);
}

bool SetClipboardText(HWND hwndOwner, const char* pszText, int nLength) {
  if (!pszText || nLength < 0 || !platform::OpenClipboard(hwndOwner)) return false;
  std::string block(pszText, static_cast<size_t>(nLength));
  block.push_back('\0');
  const bool set = platform::EmptyClipboard() && platform::SetClipboardData(CF_OEMTEXT, block);
  platform::CloseClipboard();
  return set;
}

void GetHelpFilePath(char* pszPath, int nSize) {
  if (!pszPath || nSize < 1) return;
  const std::string path = CShareData::ExecutableFolder() + "tovara.hlp";
  if (path.size() + 1 > static_cast<size_t>(nSize)) {
    pszPath[0] = '\0';
    return;
  }
  std::memcpy(pszPath, path.c_str(), path.size() + 1);
}

bool OpenHelpContents(HWND hwndOwner, const char* pszHelpFile) {
  return platform::WinHelp(hwndOwner, pszHelpFile, HELP_COMMAND, reinterpret_cast<uintptr_t>("CONTENTS()")) != 0;
}

namespace {

// A row of the help table: a command or a range of them, and its topic. The rows without a topic
// of their own take 1000 + their row number.
struct HelpRow {
  int first;
  int last;
  int topic;
};
constexpr int kByRow = 0;

// clang-format off
constexpr HelpRow kHelpRows[] = {
    {10000, 10255, 97}, {11000, 11035, 29}, {12000, 12035, 23}, {30101, 30101, 25}, {30102, 30102, 15},
    {30103, 30103, 20}, {30104, 30104, kByRow}, {30105, 30105, kByRow}, {30107, 30107, kByRow}, {30108, 30108, 15},
    {30111, 30111, kByRow}, {30112, 30112, kByRow}, {30113, 30113, kByRow}, {30114, 30114, kByRow},
    {30115, 30115, kByRow}, {30116, 30116, kByRow}, {30117, 30117, kByRow}, {30119, 30119, kByRow},
    {30150, 30150, kByRow}, {30151, 30151, kByRow}, {30152, 30152, kByRow}, {30160, 30160, kByRow},
    {30161, 30161, kByRow}, {30162, 30162, kByRow}, {30170, 30170, kByRow}, {30171, 30171, kByRow},
    {30180, 30180, kByRow}, {30185, 30185, kByRow}, {30190, 30190, kByRow}, {30195, 30195, kByRow},
    {30210, 30210, kByRow}, {30211, 30211, kByRow}, {30221, 30221, kByRow}, {30222, 30222, kByRow},
    {30230, 30230, kByRow}, {30231, 30231, kByRow}, {30232, 30232, kByRow}, {30233, 30233, kByRow},
    {30240, 30240, kByRow}, {30241, 30241, kByRow}, {30242, 30242, kByRow}, {30243, 30243, kByRow},
    {30244, 30244, kByRow}, {30245, 30245, kByRow}, {30250, 30250, kByRow}, {30260, 30260, kByRow},
    {30261, 30261, kByRow}, {30262, 30262, kByRow}, {30263, 30263, kByRow}, {30280, 30280, kByRow},
    {30281, 30281, kByRow}, {30282, 30282, kByRow}, {30283, 30283, kByRow}, {30284, 30284, kByRow},
    {30285, 30285, kByRow}, {30315, 30315, kByRow}, {30316, 30316, kByRow}, {30320, 30320, kByRow},
    {30321, 30321, kByRow}, {30332, 30332, kByRow}, {30333, 30333, kByRow}, {30340, 30340, kByRow},
    {30341, 30341, kByRow}, {30342, 30342, kByRow}, {30343, 30343, kByRow}, {30350, 30350, kByRow},
    {30351, 30351, kByRow}, {30360, 30360, kByRow}, {30370, 30370, kByRow}, {30371, 30371, kByRow},
    {30372, 30372, kByRow}, {30380, 30380, kByRow}, {30381, 30381, kByRow}, {30382, 30382, kByRow},
    {30383, 30383, kByRow}, {30400, 30400, kByRow}, {30401, 30401, kByRow}, {30410, 30410, kByRow},
    {30415, 30415, kByRow}, {30416, 30416, kByRow}, {30420, 30420, kByRow}, {30421, 30421, kByRow},
    {30432, 30432, kByRow}, {30433, 30433, kByRow}, {30440, 30440, kByRow}, {30441, 30441, kByRow},
    {30442, 30442, kByRow}, {30443, 30443, kByRow}, {30450, 30450, kByRow}, {30451, 30451, kByRow},
    {30482, 30482, kByRow}, {30483, 30483, kByRow}, {30510, 30510, kByRow}, {30601, 30601, kByRow},
    {30602, 30602, kByRow}, {30603, 30603, kByRow}, {30604, 30604, kByRow}, {30605, 30605, kByRow},
    {30608, 30608, kByRow}, {30610, 30610, kByRow}, {30611, 30611, kByRow}, {30612, 30612, kByRow},
    {30620, 30620, kByRow}, {30621, 30621, kByRow}, {30622, 30622, kByRow}, {30630, 30630, kByRow},
    {30790, 30790, kByRow}, {30791, 30791, kByRow}, {30792, 30792, kByRow}, {30800, 30800, kByRow},
    {30801, 30801, kByRow}, {30810, 30810, kByRow}, {30811, 30811, kByRow}, {30812, 30812, kByRow},
    {30813, 30813, kByRow}, {30814, 30814, kByRow}, {30815, 30815, kByRow}, {30816, 30816, kByRow},
    {30817, 30817, kByRow}, {30830, 30830, kByRow}, {30831, 30831, kByRow}, {30850, 30850, kByRow},
    {30851, 30851, kByRow}, {30852, 30852, kByRow}, {30853, 30853, kByRow}, {30854, 30854, kByRow},
    {30855, 30855, kByRow}, {30856, 30856, kByRow}, {30860, 30860, kByRow}, {30861, 30861, kByRow},
    {30862, 30862, kByRow}, {30863, 30863, kByRow}, {30870, 30870, kByRow}, {30880, 30880, kByRow},
    {30901, 30901, kByRow}, {30902, 30902, kByRow}, {30903, 30903, kByRow}, {30904, 30904, kByRow},
    {30905, 30905, kByRow}, {30908, 30908, kByRow}, {30909, 30909, kByRow}, {30910, 30910, kByRow},
    {30920, 30920, kByRow}, {30930, 30930, kByRow}, {30940, 30940, kByRow}, {30941, 30941, kByRow},
    {30942, 30942, kByRow}, {30943, 30943, kByRow}, {30944, 30944, kByRow}, {30950, 30950, kByRow},
    {30960, 30960, kByRow}, {30970, 30970, kByRow}, {30971, 30971, kByRow}, {30972, 30972, kByRow},
    {30973, 30973, kByRow}, {30974, 30974, kByRow}, {30978, 30978, kByRow}, {30979, 30979, kByRow},
    {30980, 30980, kByRow}, {31001, 31001, kByRow}, {31081, 31083, kByRow}, {31099, 31099, kByRow},
    {31100, 31100, kByRow}, {31101, 31101, kByRow}, {31102, 31102, kByRow}, {31103, 31103, kByRow},
    {31110, 31110, kByRow}, {31111, 31111, kByRow}, {31112, 31112, kByRow}, {31113, 31113, kByRow},
    {31115, 31115, kByRow}, {31116, 31116, kByRow}, {31117, 31117, kByRow}, {31118, 31118, kByRow},
    {31120, 31120, kByRow}, {31140, 31140, kByRow}, {31250, 31250, kByRow}, {31251, 31251, kByRow},
    {31252, 31252, kByRow}, {31253, 31253, kByRow}, {31270, 31270, kByRow}, {31310, 31310, kByRow},
    {31311, 31311, kByRow}, {31312, 31312, kByRow}, {31320, 31320, kByRow}, {31321, 31321, kByRow},
    {31330, 31330, kByRow}, {31331, 31331, kByRow}, {31332, 31332, kByRow}, {31340, 31340, kByRow},
    {31341, 31341, kByRow}, {31350, 31350, kByRow}, {31351, 31351, kByRow}, {31352, 31352, kByRow},
    {31360, 31360, kByRow}, {31370, 31370, kByRow}, {31430, 31430, kByRow}, {31440, 31440, kByRow},
    {31441, 31441, kByRow}, {31445, 31445, kByRow}, {31450, 31450, kByRow}, {31451, 31451, kByRow},
    {31455, 31455, kByRow}, {31501, 31524, kByRow}, {31580, 31580, kByRow}, {32000, 32000, kByRow},
    {32001, 32001, kByRow}, {32002, 32002, kByRow}, {32003, 32003, kByRow}, {32004, 32004, kByRow},
    {32005, 32005, kByRow}, {32006, 32006, kByRow}, {32007, 32007, kByRow}, {32008, 32008, kByRow},
    {32009, 32009, kByRow}, {32010, 32010, kByRow}, {32011, 32011, kByRow}, {32012, 32012, kByRow},
    {32013, 32013, kByRow}, {32014, 32014, 277},
};
// clang-format on
static_assert(std::size(kHelpRows) == 220);

}  // namespace

int CommandToHelpId(int nCommand) {
  for (size_t row = 0; row < std::size(kHelpRows); ++row) {
    const HelpRow& r = kHelpRows[row];
    if (nCommand >= r.first && nCommand <= r.last) return r.topic != kByRow ? r.topic : 1000 + static_cast<int>(row);
  }
  return 0;
}

bool LoadRegexDllOrWarn(HWND hwnd, CRegexpDll& regexp, bool bWarn) {
  if (regexp.Load() == 0) return true;
  if (bWarn) {
    platform::MessageBeep(MB_ICONEXCLAMATION);
    platform::MessageBox(hwnd,
                         "BREGEXP.DLLが見つかりません。\r\n正規表現を利用するにはBREGEXP.DLLが必要です。\r\n入手方法はヘルプを参照してください。"_sj,
                         "情報"_sj, MB_OK | MB_ICONEXCLAMATION);
  }
  return false;
}

bool ShowRegexDllVersion(HWND hwndDlg, int nControlId, bool bWarn) {
  CRegexpDll regexp;
  const bool loaded = LoadRegexDllOrWarn(hwndDlg, regexp, bWarn);
  platform::SetDlgItemText(hwndDlg, nControlId, loaded ? regexp.GetVersion() : " ");
  return loaded;
}

bool CheckRegexSyntax(const char* pszPattern, HWND hwnd, bool bWarn, int nOptions) {
  CRegexpDll regexp;
  if (!LoadRegexDllOrWarn(hwnd, regexp, bWarn)) return false;
  if (regexp.Compile(pszPattern, nullptr, nOptions)) return true;
  if (bWarn) platform::MessageBox(hwnd, regexp.GetErrorText(), "正規表現エラー"_sj, MB_OK | MB_ICONEXCLAMATION);
  return false;
}

void ReadVersionResource(HINSTANCE hModule, int, DWORD* pdwVersionMS, DWORD* pdwVersionLS) {
  const bool executable = hModule == nullptr;
  if (pdwVersionMS) *pdwVersionMS = executable ? static_cast<DWORD>(ProductVersionHigh()) : 0;
  if (pdwVersionLS) *pdwVersionLS = executable ? static_cast<DWORD>(ProductVersionLow()) : 0;
}

bool GetFreeSystemResources(int*, int*, int*) { return false; }

bool CheckSystemResources(const char*) { return true; }

bool ReadRegistryString(HKEY, const char*, const char*, char*, int) { return false; }

bool IsAbsolutePath(const char* pszPath) { return pszPath && pszPath[0] == '/'; }

std::string GetExeRelativePath(const char* pszName) {
  std::string folder = CShareData::ExecutableFolder();
  RemoveTrailingBackslash(folder);
  if (!pszName) return folder;
  AddTrailingBackslash(folder);
  return folder + pszName;
}

FILE* OpenFileExeRelative(const char* pszPath, const char* pszMode) {
  if (!pszPath || !pszMode) return nullptr;
  const std::string path = IsAbsolutePath(pszPath) ? std::string(pszPath) : GetExeRelativePath(pszPath);
  std::string hostPath;
  if (!platform::ExactHostPath(path, hostPath)) return nullptr;
  return std::fopen(hostPath.c_str(), pszMode);
}

HICON LoadIconFile(HINSTANCE hModule, int nResourceId, const char* pszFileName, bool bSmall) {
  const int size = bSmall ? 16 : 32;
  if (pszFileName) {
    const std::string path = GetExeRelativePath(pszFileName);
    if (HICON icon = platform::LoadImage(hModule, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE | LR_SHARED)) {
      return icon;
    }
  }
  const std::string resource = "#" + std::to_string(nResourceId);
  return platform::LoadImage(hModule, resource.c_str(), IMAGE_ICON, size, size, LR_SHARED);
}

bool ResolveShortcut(HWND, const char*, char*) { return false; }

DWORD ConnectNetworkShare(const char*) { return ERROR_BAD_NET_NAME; }
