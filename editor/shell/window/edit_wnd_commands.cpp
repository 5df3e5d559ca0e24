// What the view's file, view and window commands ask of the frame: the bars on and off and the
// window-list popup.
#include <algorithm>

#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/shell/window/edit_wnd.h"
#include "editor/shell/window/window_list_menu.h"
#include "platform/desktop.h"

void CEditWnd::ToggleBar(Bar bar) {
  SharedSettings* s = Settings();
  if (!s || !m_hWnd) return;
  CommonSettings& c = s->Common;
  switch (bar) {
    case Bar::kToolBar:
      if (m_hwndToolBar) RemoveToolBar();
      else BuildToolBar();
      c.bDispTOOLBAR = m_hwndToolBar ? 1 : 0;
      break;
    case Bar::kStatusBar:
      if (m_hwndStatusBar) RemoveStatusBar();
      else BuildStatusBar();
      c.bDispSTATUSBAR = m_hwndStatusBar ? 1 : 0;
      // The frame's caption area shows the message the status bar no longer does, and the other way.
      platform::InvalidateRect(m_hWnd, nullptr, 1);
      break;
    case Bar::kFuncKeyBar:
    case Bar::kTabBar: {
      // Until these bars are built their places hold bars that never open: the setting alone says
      // whether the bar is on, and it still follows each toggle.
      IFrameBar& frameBar = bar == Bar::kFuncKeyBar ? *m_pFuncKeyBar : *m_pTabBar;
      int32_t& setting = bar == Bar::kFuncKeyBar ? c.bDispFUNCKEYWND : c.bDispTabWnd;
      if (frameBar.IsOpen() || setting) {
        frameBar.Close();
        setting = 0;
      } else {
        frameBar.Open(m_hInstance, m_hWnd);
        setting = 1;
      }
      if (bar == Bar::kFuncKeyBar && m_pFuncKeyBar->IsOpen()) {
        m_pFuncKeyBar->SetSizeGrip(c.nFUNCKEYWND_Place != 0 && !m_hwndStatusBar && !IsMaximized());
      }
      break;
    }
  }
  SendSizeAgain();
  PlaceImeWindow();
}

void CEditWnd::ShowWindowListMenu(bool atMouse) {
  if (!m_hWnd) return;
  POINT cursor{};
  platform::GetCursorPos(&cursor);
  RECT pane{};
  if (HWND paneWindow = ActivePaneWindow()) platform::GetWindowRect(paneWindow, &pane);
  else platform::GetWindowRect(m_hWnd, &pane);
  RECT work{};
  GetMonitorRectsOfWindow(m_hWnd, &work, nullptr);
  const POINT at = WindowListMenuAnchor(atMouse, cursor, pane, work);
  const int command = m_cMenuBar.TrackWindowListMenu(m_hWnd, at);
  if (command != 0) platform::PostMessage(m_hWnd, WM_COMMAND, static_cast<WPARAM>(command), 0);
}
