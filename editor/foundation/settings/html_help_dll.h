// Compiled HTML help through the help control "HHCTRL.OCX", loaded when help is first asked for.
// One instance serves the process. Nothing stands for the control on this system, so every request
// takes the absent path and the next one tries again.
#pragma once

#include <cstdint>

#include "editor/foundation/settings/dll_loader.h"
#include "platform/win_types.h"

class CHtmlHelpDll : public CDllLoader {
 public:
  using HtmlHelpAFunc = HWND (*)(HWND owner, const char* file, UINT command, uintptr_t data);

  HtmlHelpAFunc HtmlHelpA() const { return m_HtmlHelpA; }

 protected:
  int InitDll() override;
  const char* GetDllName(const char* arg) override;

 private:
  HtmlHelpAFunc m_HtmlHelpA = nullptr;
};

// The process's help library.
CHtmlHelpDll& GetHtmlHelpDll();

// Shows help from a compiled help file: the control's window, or null when the control cannot be
// loaded (then, when asked to warn, a box owned by the owner says so).
HWND OpenHtmlHelp(HWND owner, const char* file, UINT command, uintptr_t data, bool warnWhenMissing);
