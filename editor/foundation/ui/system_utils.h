// How the editor meets the system around it: the message pump of long jobs, the folder chooser,
// modifier keys, monitors, the clipboard's text, help topics, the regular-expression library's
// standard warnings, version queries, files beside the executable and icons. What the desktop has
// no counterpart for answers as a system without it would: there are no resource counters (the
// check passes), no registry, no shell links to resolve (a link is followed by the file system)
// and no network shares to connect.
//
// Everything here runs on the windows' thread. Text and paths are Shift-JIS; a path is absolute
// when it starts with "/".
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/monitor.h"
#include "platform/window.h"

class CRegexpDll;

// --- Windows and the message pump (edit-window activation is with the window list, in
// settings/share_data.h) ---

// Removes and dispatches every waiting message; one meant for the given dialog (null for none)
// goes through that dialog first (IsDialogMessage). True once the queue is empty. A quit request
// ends the pump with false and is posted again, so the loop outside the job still ends the
// program. Whatever is dispatched may act on the windows around the job (even close them): the
// caller is ready for that.
bool PumpPendingMessages(HWND hwndDlgCancel);

// Lets the user choose a folder (platform/folder_dialog.h), starting at the initial folder (its
// final "/" dropped); true and the folder's path when one was chosen. A path longer than the
// editor's paths may be is not taken.
bool SelectFolderDialog(HWND hwndOwner, const char* pszTitle, const char* pszInitialFolder, std::string& folder);

// Bit 0 Shift, bit 1 Ctrl, bit 2 Alt, for each key held.
int GetModifierKeyState();

// The work area and the whole rectangle of the monitor nearest to the window, the point or the
// monitor itself; either output may be null. True when it is the primary monitor.
bool GetMonitorRectsOfWindow(HWND hwnd, RECT* prcWork, RECT* prcMonitor);
bool GetMonitorRectsOfPoint(int x, int y, RECT* prcWork, RECT* prcMonitor);
bool GetMonitorRects(HMONITOR hMonitor, RECT* prcWork, RECT* prcMonitor);

// --- Clipboard ---

// Puts the bytes (with a NUL after them) on the clipboard as CF_OEMTEXT, replacing what was there;
// false when the clipboard cannot be had.
bool SetClipboardText(HWND hwndOwner, const char* pszText, int nLength);

// --- Help ---

// The help file beside the executable, "tovara.hlp"; empty when it does not fit nSize bytes.
void GetHelpFilePath(char* pszPath, int nSize);
// The help file's contents page (through WinHelp, which says that the file is missing when it is);
// WinHelp's result.
bool OpenHelpContents(HWND hwndOwner, const char* pszHelpFile);
// The topic of a command in the help file; 0 for a command without one.
int CommandToHelpId(int nCommand);

// --- The regular-expression library ---

// Loads the library into the engine; true when it is there. Otherwise, when asked to warn, a beep
// and a box owned by the window say that it is missing.
bool LoadRegexDllOrWarn(HWND hwnd, CRegexpDll& regexp, bool bWarn);
// The library's version text in the dialog's control, and true, when it loads in an engine of its
// own; otherwise a single blank there (and, when asked to warn, LoadRegexDllOrWarn's warning) and
// false.
bool ShowRegexDllVersion(HWND hwndDlg, int nControlId, bool bWarn);
// True when the pattern compiles with the options (CRegexpDll's option bits) in an engine of its
// own; otherwise, when asked to warn, a box shows the engine's error. Without the library: false,
// and the box tells that (with bWarn) as LoadRegexDllOrWarn does.
bool CheckRegexSyntax(const char* pszPattern, HWND hwnd, bool bWarn, int nOptions);

// --- System information ---

// The product version of a module: for the executable (null) the editor's own version, as its
// high and low 32 bits; 0 and 0 for any other module. Either output may be null.
void ReadVersionResource(HINSTANCE hModule, int nResourceId, DWORD* pdwVersionMS, DWORD* pdwVersionLS);
// No counters of free resources exist here: false, outputs untouched.
bool GetFreeSystemResources(int* pnSystem, int* pnUser, int* pnGdi);
// True when the system has room for another window; here always, without a word.
bool CheckSystemResources(const char* pszProductName);
// Registry roots, as the callers name them.
using HKEY = uintptr_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
// There is no registry: no key opens, so false and the buffer untouched.
bool ReadRegistryString(HKEY hRoot, const char* pszSubKey, const char* pszValue, char* pszBuffer, int nBufferSize);

// --- Files and shells ---

// Whether a path is absolute: it starts with "/".
bool IsAbsolutePath(const char* pszPath);
// The executable's folder without a final "/" (the root stays "/"), or that folder and the name
// joined by "/".
std::string GetExeRelativePath(const char* pszName);
// fopen of an absolute path as it is, of any other relative to the executable's folder (not the
// current one); null when it cannot be opened.
FILE* OpenFileExeRelative(const char* pszPath, const char* pszMode);
// The icon file of that name beside the executable at 16 x 16 (small) or 32 x 32 pixels; when it
// cannot be read, the icon resource of that id (registered under "#" and the number); null when
// neither is there.
HICON LoadIconFile(HINSTANCE hModule, int nResourceId, const char* pszFileName, bool bSmall);
// Links are followed by the file system, so there is nothing to resolve: false, target untouched.
bool ResolveShortcut(HWND hwnd, const char* pszShortcut, char* pszTarget);
// No network shares are connected here: ERROR_BAD_NET_NAME (67) for every path.
constexpr DWORD ERROR_BAD_NET_NAME = 67;
DWORD ConnectNetworkShare(const char* pszPath);
