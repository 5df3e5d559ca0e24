#include "platform/win_help.h"

#include <cstdio>
#include <mutex>

#include "platform/message_box.h"
#include "platform/sjis_literal.h"

namespace platform {
namespace {

std::mutex hookMutex;
WinHelpHook& Hook() {
  static WinHelpHook hook;
  return hook;
}

BOOL NoHelpFile(const WinHelpRequest& request) {
  char text[600];
  std::snprintf(text, sizeof text, "ヘルプファイル %s が見つかりません。"_sj, request.helpFile.c_str());
  MessageBox(request.window, text, "ヘルプ"_sj, MB_OK | MB_ICONEXCLAMATION);
  return 0;
}

}  // namespace

WinHelpHook SetWinHelpHook(WinHelpHook hook) {
  std::lock_guard lock(hookMutex);
  WinHelpHook old = std::move(Hook());
  Hook() = std::move(hook);
  return old;
}

BOOL WinHelp(HWND window, const char* helpFile, UINT command, uintptr_t data) {
  WinHelpRequest request;
  request.window = window;
  request.helpFile = helpFile ? helpFile : "";
  request.command = command;
  request.data = data;
  if ((command == HELP_WM_HELP || command == HELP_CONTEXTMENU) && data) {
    for (const auto* table = reinterpret_cast<const uint32_t*>(data); table[0] || table[1]; table += 2) {
      request.helpIds.emplace_back(table[0], table[1]);
    }
  }
  WinHelpHook hook;
  {
    std::lock_guard lock(hookMutex);
    hook = Hook();
  }
  return hook ? hook(request) : NoHelpFile(request);
}

}  // namespace platform
