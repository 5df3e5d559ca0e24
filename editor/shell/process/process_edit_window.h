// The edit window as the edit-window process makes and drives it.
#pragma once

#include <memory>

#include "editor/shell/process/edit_window_process.h"
#include "editor/shell/window/edit_wnd.h"

class CProcessEditWindow final : public IProcessEditWindow {
 public:
  // The window's size and place requests come from the command line's.
  CProcessEditWindow(CShareData& share, const RecentFileRecord& request);

  HWND Create(HINSTANCE hInstance, EditWindowId residentWindow, const char* pszPath, int nCharCode, bool bReadOnly,
              int nDocumentType) override;
  std::optional<int> RunMessageLoop() override { return m_wnd.RunMessageLoop(); }
  void BecomeOutputWindow() override;
  void ApplyPositionRequest(const RecentFileRecord& request) override;

  CEditWnd& Window() { return m_wnd; }

 private:
  CShareData& m_share;
  CEditWnd m_wnd;
};

// What the process setup makes its windows with.
std::unique_ptr<IProcessEditWindow> MakeProcessEditWindow(CShareData& share, const RecentFileRecord& request);
