// The set of edit windows: closing one or all, the output window, splitting the document window,
// arranging the windows over the work area, the window list. The windows belong to other
// processes; each arranges its own frame when asked through the window requests of platform/ipc.
#include <span>
#include <string>
#include <vector>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/view/commands/command_handler.h"
#include "editor/view/commands/window_arrangement.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/edit_window.h"
#include "editor/view/pane/splitter_wnd.h"
#include "platform/ipc.h"
#include "platform/monitor.h"
#include "platform/window.h"

namespace {

constexpr int kCodeDetect = 99;
// wParam of the tab-bar notice: the windows are now grouped under the tab bar, or separate.
constexpr WPARAM kTabGrouped = 5;
constexpr WPARAM kTabSeparate = 6;

bool GroupedUnderTabs(const CommonSettings& c) { return c.bDispTabWnd && !c.bDispTabWndMultiWin; }

// The listed edit windows that take part in an arrangement, in the order they were made, this
// one (self) last. A minimised window takes no part; one that is also hidden is shown, still
// minimised and without taking the focus, so that it can be found again.
std::vector<EditWindowId> ArrangedWindows(CShareData& share, EditWindowId self) {
  std::vector<EditWindowId> windows;
  bool selfTakesPart = false;
  for (const EditWindowEntry& entry : share.GetEditWindowList(true)) {
    const EditWindowId id = entry.hwnd;
    if (platform::ipc::IsIconic(id)) {
      if (!platform::ipc::IsWindowVisible(id)) platform::ipc::ShowWindow(id, SW_SHOWMINNOACTIVE);
      continue;
    }
    if (id == self) {
      selfTakesPart = true;
      continue;
    }
    windows.push_back(id);
  }
  if (selfTakesPart) windows.push_back(self);
  return windows;
}

// The work area of the screen the pane is on (its edit window's, for a pane without a window).
RECT WorkAreaOf(HWND pane, const IEditWindow* editWindow) {
  RECT work{};
  const HWND anchor = pane ? pane : editWindow ? editWindow->Window() : nullptr;
  if (anchor && GetMonitorRectsOfWindow(anchor, &work, nullptr)) return work;
  if (!platform::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0)) work = RECT{};
  return work;
}

}  // namespace

void CEditView::Command_WINCLOSE() {
  if (m_pEditWnd && m_pEditWnd->Window()) platform::PostMessage(m_pEditWnd->Window(), WM_CLOSE, 0, 0);
}

void CEditView::Command_WINCLOSEALL() {
  if (CShareData* share = CShareData::GetInstance()) share->RequestCloseAllEditWindows();
}

void CEditView::Command_ACTIVATE_OUTPUT() {
  CShareData* share = CShareData::GetInstance();
  const SharedSettings* s = share ? share->GetShareData() : nullptr;
  if (s && s->hwndOutput != 0 && IsEditWindow(s->hwndOutput)) {
    ActivateEditWindow(s->hwndOutput);
    return;
  }
  if (IDocLauncher* launcher = GetDocLauncher()) {
    launcher->LaunchEditorProcess("-DEBUGMODE", kCodeDetect, false, false, EditorCurrentFolder().c_str());
  }
}

void CEditView::Command_SPLIT(bool bVertical, bool bHorizontal) {
  if (!m_pcEditDoc) return;
  auto* splitter = dynamic_cast<CSplitterWnd*>(m_pcEditDoc->Ports().splitter);
  if (!splitter) return;
  if (bVertical && bHorizontal) splitter->ToggleSplitVH();
  else if (bVertical) splitter->ToggleSplitV();
  else splitter->ToggleSplitH();
}

void CEditView::Command_CASCADE() {
  CShareData* share = CShareData::GetInstance();
  if (!share || !share->GetShareData()) return;
  CommonSettings& c = share->GetShareData()->Common;
  if (GroupedUnderTabs(c)) c.bDispTabWndMultiWin = 1;
  const EditWindowId self = m_pEditWnd ? m_pEditWnd->WindowId() : 0;
  const std::vector<EditWindowId> windows = ArrangedWindows(*share, self);
  const int stepX = platform::GetSystemMetrics(SM_CXFRAME) + platform::GetSystemMetrics(SM_CXSIZE);
  const int stepY = platform::GetSystemMetrics(SM_CYFRAME) + platform::GetSystemMetrics(SM_CYSIZE);
  const std::vector<RECT> rects =
      CascadeRects(WorkAreaOf(m_hWnd, m_pEditWnd), static_cast<int>(windows.size()), stepX, stepY);
  // Each window goes on top of the ones placed before it, so that every caption shows and this
  // window, placed last, ends on top. Window managers follow a raise more readily than a restack
  // behind a window of another program.
  for (size_t i = 0; i < windows.size(); ++i) {
    const RECT& r = rects[i];
    platform::ipc::ShowWindow(windows[i], SW_RESTORE);
    platform::ipc::SetWindowPos(windows[i], 0, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                windows[i] == self ? 0 : SWP_NOACTIVATE);
  }
  if (self && !windows.empty() && windows.back() == self) platform::ipc::Activate(self);
}

void CEditView::Command_TILE(bool bSideBySide) {
  CShareData* share = CShareData::GetInstance();
  if (!share || !share->GetShareData()) return;
  CommonSettings& c = share->GetShareData()->Common;
  if (GroupedUnderTabs(c)) c.bDispTabWndMultiWin = 1;
  const EditWindowId self = m_pEditWnd ? m_pEditWnd->WindowId() : 0;
  std::vector<EditWindowId> windows = ArrangedWindows(*share, self);
  // This window first: the leftmost or the top one.
  if (!windows.empty() && windows.back() == self) {
    windows.pop_back();
    windows.insert(windows.begin(), self);
  }
  const std::vector<RECT> rects = TileRects(WorkAreaOf(m_hWnd, m_pEditWnd), static_cast<int>(windows.size()), bSideBySide);
  for (size_t i = 0; i < windows.size(); ++i) {
    const RECT& r = rects[i];
    platform::ipc::ShowWindow(windows[i], SW_RESTORE);
    platform::ipc::SetWindowPos(windows[i], 0, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (self && !windows.empty() && windows.front() == self) {
    platform::ipc::Activate(self);
    if (m_pEditWnd) m_pEditWnd->TakeFocus();
  }
}

void CEditView::Command_MAXIMIZE(bool bVertical) {
  if (!m_pEditWnd || !m_pEditWnd->WindowId() || !m_pEditWnd->Window()) return;
  RECT frame{};
  if (!platform::GetWindowRect(m_pEditWnd->Window(), &frame)) return;
  const RECT work = WorkAreaOf(m_hWnd, m_pEditWnd);
  RECT r = frame;
  if (bVertical) {
    r.top = work.top;
    r.bottom = work.bottom;
  } else {
    r.left = work.left;
    r.right = work.right;
  }
  platform::ipc::SetWindowPos(m_pEditWnd->WindowId(), 0, r.left, r.top, r.right - r.left, r.bottom - r.top,
                              SWP_NOZORDER);
}

void CEditView::Command_MINIMIZEALL() {
  CShareData* share = CShareData::GetInstance();
  if (!share || !share->GetShareData()) return;
  const bool grouped = GroupedUnderTabs(share->GetShareData()->Common);
  for (const EditWindowEntry& entry : share->GetEditWindowList(true)) {
    if (!IsEditWindow(entry.hwnd)) continue;
    // Under the tab bar the windows not shown stay hidden: minimising would show them.
    const bool hidden = grouped && !platform::ipc::IsWindowVisible(entry.hwnd);
    platform::ipc::ShowWindow(entry.hwnd, hidden ? SW_HIDE : SW_MINIMIZE);
  }
}

void CEditView::Command_TOGGLESHAREDPLACEMENT() {
  if (!m_pcEditDoc) return;
  const IDocFrame* frame = m_pcEditDoc->Ports().frame;
  CShareData* share = CShareData::GetInstance();
  SharedSettings* s = share ? share->GetShareData() : nullptr;
  if (!frame || !frame->HasTabBar() || !s) return;
  CommonSettings& c = s->Common;
  c.bDispTabWndMultiWin = c.bDispTabWndMultiWin ? 0 : 1;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (platform::GetWindowPlacement(frame->FrameWindow(), &placement)) s->wpSavedEditWindow = placement;
  share->PostToAllEditWindows(MYWM_TAB_WINDOW_NOTIFY, c.bDispTabWndMultiWin ? kTabSeparate : kTabGrouped,
                              static_cast<LPARAM>(frame->WindowId()), 0);
}

void CEditView::Command_WINTOPMOST(int nMode) {
  if (m_pEditWnd) m_pEditWnd->SetTopMost(nMode);
}

void CEditView::Command_WINLIST(int nSource) {
  if (m_pEditWnd) m_pEditWnd->ShowWindowListMenu(nSource == kSourceMouse);
}

// ---------------------------------------------------------------- registration

namespace {

template <bool kVertical, bool kHorizontal>
LRESULT Split(CEditView& v, const CommandCall&) {
  v.Command_SPLIT(kVertical, kHorizontal);
  return 1;
}

template <bool kSideBySide>
LRESULT Tile(CEditView& v, const CommandCall&) {
  v.Command_TILE(kSideBySide);
  return 1;
}

template <bool kVertical>
LRESULT Maximize(CEditView& v, const CommandCall&) {
  v.Command_MAXIMIZE(kVertical);
  return 1;
}

LRESULT TopMost(CEditView& v, const CommandCall& call) {
  v.Command_WINTOPMOST(static_cast<int>(call.lparam[0]));
  return 1;
}

LRESULT WindowList(CEditView& v, const CommandCall& call) {
  v.Command_WINLIST(call.nSource);
  return 1;
}

constexpr CommandHandlerEntry kWindowCommands[] = {
    {31310, 31310, &Split<true, false>},
    {31311, 31311, &Split<false, true>},
    {31312, 31312, &Split<true, true>},
    {31320, 31320, &PlainHandler<&CEditView::Command_WINCLOSE>},
    {31321, 31321, &PlainHandler<&CEditView::Command_WINCLOSEALL>},
    {31330, 31330, &PlainHandler<&CEditView::Command_CASCADE>},
    {31331, 31331, &Tile<false>},
    {31332, 31332, &Tile<true>},
    {31333, 31333, &PlainHandler<&CEditView::Command_TOGGLESHAREDPLACEMENT>},
    {31334, 31334, &TopMost},
    {31336, 31336, &WindowList},
    {31350, 31350, &Maximize<true>},
    {31351, 31351, &PlainHandler<&CEditView::Command_MINIMIZEALL>},
    {31352, 31352, &Maximize<false>},
    {31370, 31370, &PlainHandler<&CEditView::Command_ACTIVATE_OUTPUT>},
};

}  // namespace

std::span<const CommandHandlerEntry> WindowCommandFamily() { return kWindowCommands; }
