// Help files: WinHelp, behind a hook that tests answer. No help file ships with the program and
// the old help format has no viewer here, so by default every request says that the file is not
// found and fails.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win_types.h"

// Commands.
constexpr UINT HELP_CONTEXT = 0x0001;
constexpr UINT HELP_QUIT = 0x0002;
constexpr UINT HELP_CONTENTS = 0x0003;
constexpr UINT HELP_CONTEXTPOPUP = 0x0008;
constexpr UINT HELP_CONTEXTMENU = 0x000A;
constexpr UINT HELP_FINDER = 0x000B;
constexpr UINT HELP_WM_HELP = 0x000C;
constexpr UINT HELP_KEY = 0x0101;
constexpr UINT HELP_COMMAND = 0x0102;

namespace platform {

struct WinHelpRequest {
  HWND window = nullptr;
  std::string helpFile;  // Shift-JIS
  UINT command = 0;
  uintptr_t data = 0;
  // For HELP_WM_HELP and HELP_CONTEXTMENU: the (control id, help id) pairs of the table that data
  // points at, up to its terminating pair of zeros.
  std::vector<std::pair<uint32_t, uint32_t>> helpIds;
};

using WinHelpHook = std::function<BOOL(const WinHelpRequest&)>;
// Installs a hook (an empty one restores the default) and returns the previous one.
WinHelpHook SetWinHelpHook(WinHelpHook hook);

// data: for HELP_WM_HELP and HELP_CONTEXTMENU a table of DWORD pairs ending in two zeros, for
// HELP_CONTEXT the topic, for HELP_KEY and HELP_COMMAND a Shift-JIS text.
BOOL WinHelp(HWND window, const char* helpFile, UINT command, uintptr_t data);

}  // namespace platform
