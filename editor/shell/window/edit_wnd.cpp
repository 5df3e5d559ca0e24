#include "editor/shell/window/edit_wnd.h"

#include <algorithm>
#include <cstring>

#include "editor/foundation/document/doc_interfaces.h"
#include "editor/foundation/settings/edit_window_limit.h"
#include "editor/foundation/settings/recent_menus.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/job_progress.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/shell/commands/command_catalog.h"
#include "editor/shell/commands/key_bindings.h"
#include "editor/shell/window/command_state.h"
#include "editor/view/pane/edit_view.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/dialog.h"
#include "platform/drop_files.h"
#include "platform/file_type_icon.h"
#include "platform/ime_composition.h"
#include "platform/ipc.h"
#include "platform/scroll_bar.h"
#include "platform/menu.h"
#include "platform/message_box.h"
#include "platform/monitor.h"
#include "platform/mouse_capture.h"
#include "platform/sjis_literal.h"
#include "platform/status_bar.h"
#include "platform/timer.h"
#include "platform/win_help.h"
#include "platform/window_tree.h"

namespace {

constexpr char kCaption[] = "tovara";
constexpr char kClassName[] = "TextEditorWindow";
constexpr DWORD kFrameStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
constexpr UINT WM_COPY_ = 0x0301;
constexpr UINT WM_PASTE_ = 0x0302;
constexpr int kCopyCommand = 30602;
constexpr int kPasteCommand = 30604;
constexpr int kAddTailCommand = 30607;
constexpr int kGoFileEndCommand = 30351;
constexpr int kSearchNextCommand = 30902;
constexpr int kVirtualReturn = 0x0D;
constexpr int kVirtualTab = 0x09;

const char* const kTimerText = "CEditWnd::Create()\nタイマーが起動できません。\nシステムリソースが不足しているのかもしれません。"_sj;

// The top-level window a window lies in (itself when it is one).
HWND TopLevelOf(HWND hwnd) {
  for (HWND parent = nullptr; hwnd && (parent = platform::GetParent(hwnd)) != nullptr;) hwnd = parent;
  return hwnd;
}

}  // namespace

CEditWnd::CEditWnd(CShareData& share)
    : m_share(share),
      m_pFuncKeyBar(std::make_unique<CClosedFrameBar>()),
      m_pTabBar(std::make_unique<CClosedFrameBar>()),
      m_cMenuDrawer(share.GetShareData()),
      m_cMenuBar(m_cEditDoc, share, m_cMenuDrawer),
      m_cRouter(m_cEditDoc, share, *this, m_cMenuBar.WindowList()),
      m_previewMaker(NoPrinterPreviewMaker()) {
  AppendClassInheritance("CEditWnd");
}

CEditWnd::~CEditWnd() {
  if (m_hWnd) platform::DestroyWindow(m_hWnd);
  if (m_hAccel) DestroyAcceleratorTable(m_hAccel);
}

void CEditWnd::SetFrameBars(std::unique_ptr<IFrameBar> funcKeys, std::unique_ptr<IFrameBar> tabs) {
  if (funcKeys) m_pFuncKeyBar = std::move(funcKeys);
  if (tabs) m_pTabBar = std::move(tabs);
}

SharedSettings* CEditWnd::Settings() const { return m_share.GetShareData(); }

void CEditWnd::ShowWindowCountLimit(HWND owner) {
  ShowEditWindowLimit(owner);
}

EditWindowStart EditWindowStartRect(const SharedSettings& s, const RecentFileRecord& request, const RECT& work) {
  const CommonSettings& c = s.Common;
  EditWindowStart start;
  start.cx = c.bSaveWindowSize ? c.nWinSizeCX : CW_USEDEFAULT;
  start.cy = c.bSaveWindowSize ? c.nWinSizeCY : 0;
  if (request.nRequestWidth >= 0) start.cx = request.nRequestWidth;
  if (request.nRequestHeight >= 0) start.cy = request.nRequestHeight;
  start.x = c.nSaveWindowPos ? c.nWinPosX : CW_USEDEFAULT;
  start.y = c.nSaveWindowPos ? c.nWinPosY : 0;
  if (request.nRequestX != kNoWindowPosition) start.x = request.nRequestX;
  if (request.nRequestY != kNoWindowPosition) start.y = request.nRequestY;
  start.tabPlacement = c.bDispTabWnd && !c.bDispTabWndMultiWin && s.wpSavedEditWindow.length != 0;
  if (start.tabPlacement) {
    const RECT& normal = s.wpSavedEditWindow.rcNormalPosition;
    start.x = normal.left + work.left;
    start.y = normal.top + work.top;
    start.cx = normal.right - normal.left;
    start.cy = normal.bottom - normal.top;
  }
  // What no setting decides, a window manager would: two thirds of the work area, at its corner.
  if (start.cx == CW_USEDEFAULT || start.cx <= 0) start.cx = std::max(1, static_cast<int>((work.right - work.left) * 2 / 3));
  if (start.cy == CW_USEDEFAULT || start.cy <= 0) start.cy = std::max(1, static_cast<int>((work.bottom - work.top) * 2 / 3));
  if (start.x == CW_USEDEFAULT || start.y == CW_USEDEFAULT) {
    start.x = work.left;
    start.y = work.top;
  }
  return start;
}

void CEditWnd::ClampToWorkArea() {
  RECT rc{}, client{};
  platform::GetWindowRect(m_hWnd, &rc);
  platform::GetClientRect(m_hWnd, &client);
  RECT work{};
  if (!GetMonitorRectsOfWindow(m_hWnd, &work, nullptr)) return;
  const int width = rc.right - rc.left, height = rc.bottom - rc.top;
  // Each move keeps the size; the cut comes last.
  if (rc.bottom > work.bottom) rc.top = work.bottom - height, rc.bottom = work.bottom;
  if (rc.right > work.right) rc.left = work.right - width, rc.right = work.right;
  if (rc.top < work.top) rc.top = work.top, rc.bottom = work.top + height;
  if (rc.left < work.left) rc.left = work.left, rc.right = work.left + width;
  if (rc.bottom > work.bottom) rc.bottom = work.bottom;
  if (rc.right > work.right) rc.right = work.right;
  // The window is placed by its frame's corner and sized by its client area, which the frame and
  // the menu bar surround.
  const int extraWidth = width - (client.right - client.left);
  const int extraHeight = height - (client.bottom - client.top);
  m_adjusted = RECT{rc.left, rc.top, rc.right - extraWidth, rc.bottom - extraHeight};
}

HWND CEditWnd::Create(HINSTANCE hInstance, EditWindowId residentWindow, const char* pszPath, int nCharCode,
                      bool bReadOnly, int nDocumentType) {
  SharedSettings* s = Settings();
  if (!s || m_hWnd) return nullptr;
  m_hInstance = hInstance;
  m_hwndResident = residentWindow;
  if (s->nEditWindowCount >= kEditWindowLimit) {
    ShowWindowCountLimit(nullptr);
    return nullptr;
  }
  // Every window of the process shares the class; only the first registers it.
  WNDCLASSEX known;
  if (!platform::GetClassInfoEx(hInstance, kClassName, &known)) {
    HICON big = nullptr, small = nullptr;
    LoadAppIcons(&big, &small);
    if (!RegisterWC(big, small, nullptr, nullptr, kEditMenuResourceName, kClassName)) return nullptr;
  }

  RECT work{0, 0, 800, 600};
  platform::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  const EditWindowStart start = EditWindowStartRect(*s, m_request, work);
  if (!CWnd::Create(0, kClassName, kClassName, kFrameStyle, start.x, start.y, start.cx, start.cy, nullptr)) {
    return nullptr;
  }

  m_cIcons.Load(hInstance);
  m_cMenuDrawer.Bind(hInstance, m_hWnd, &m_cIcons);
  DocPorts ports = m_cEditDoc.Ports();
  ports.frame = this;
  m_cEditDoc.SetPorts(ports);
  if (s->Common.bDispTOOLBAR) BuildToolBar();
  if (s->Common.bDispSTATUSBAR) BuildStatusBar();
  if (s->Common.bDispFUNCKEYWND && m_pFuncKeyBar->Open(hInstance, m_hWnd)) {
    m_pFuncKeyBar->SetSizeGrip(s->Common.nFUNCKEYWND_Place != 0 && !m_hwndStatusBar);
  }
  if (s->Common.bDispTabWnd) m_pTabBar->Open(hInstance, m_hWnd);
  if (!m_cEditDoc.Create(hInstance, m_hWnd, static_cast<IEditWindow*>(this))) {
    ShowMessageBox(m_hWnd, MB_OK, kCaption, "%s", "クライアントウィンドウの作成に失敗しました"_sj);
  }
  RebuildAccelerators();

  platform::MoveWindow(m_hWnd, start.x, start.y, start.cx, start.cy, 0);
  ShowAtStart(start.tabPlacement);
  platform::DragAcceptFiles(m_hWnd, 1);

  m_id = platform::ipc::RegisterWindow(m_hWnd, kEditWindowClass);
  if (!m_id || !m_share.RegisterEditWindow(m_id)) {
    ShowWindowCountLimit(m_hWnd);
    if (m_id) platform::ipc::UnregisterWindow(m_id);
    m_id = 0;
    platform::DestroyWindow(m_hWnd);
    return nullptr;
  }

  m_nTimerCount = 0;
  if (!platform::SetTimer(m_hWnd, kTickTimer, 500, nullptr)) {
    ShowMessageBox(m_hWnd, MB_OK | MB_ICONWARNING, kCaption, "%s", kTimerText);
  }
  StartTimer(true);
  platform::InvalidateRect(m_hWnd, nullptr, 1);

  bool loaded = false;
  if (pszPath && *pszPath) {
    char path[kMaxPath] = {};
    std::snprintf(path, sizeof path, "%s", pszPath);
    platform::ShowWindow(m_hWnd, SW_SHOW);
    bool openedElsewhere = false;
    loaded = m_cEditDoc.FileRead(path, &openedElsewhere, nCharCode, bReadOnly, s->Common.bQueryIfCodeChange != 0);
    if (!loaded && openedElsewhere) {
      platform::PostMessage(m_hWnd, WM_CLOSE, 0, 0);
      return m_hWnd;
    }
  }
  if (!loaded) m_cEditDoc.SetImeMode(s->TypeList[0].nImeState);
  if (nDocumentType >= 0 && nDocumentType < kTypeSlots) {
    m_cEditDoc.m_nSettingType = nDocumentType;
    m_cEditDoc.m_bTypeFixed = false;
    ++s->TypeList[nDocumentType].nChangeCounter;
    m_cEditDoc.UpdateFileIcon();
    m_cEditDoc.m_bTypeFixed = true;
    m_cEditDoc.OnSettingsChanged();
  }
  m_cEditDoc.m_bReadOnly = bReadOnly;
  m_cEditDoc.UpdateCaption(false);
  PlaceImeWindow();
  return m_hWnd;
}

void CEditWnd::ShowAtStart(bool tabPlacement) {
  const CommonSettings& c = Settings()->Common;
  if (tabPlacement) {
    platform::ShowWindow(m_hWnd, c.nWinSizeType == 2 ? SW_MAXIMIZE : SW_SHOW);
    return;
  }
  // Only a shown window knows the size of what surrounds its client area (the menu bar, the
  // window manager's frame), so it is shown before it is kept inside the work area.
  platform::ShowWindow(m_hWnd, SW_SHOW);
  ClampToWorkArea();
  platform::SetWindowPos(m_hWnd, nullptr, m_adjusted.left, m_adjusted.top, m_adjusted.right - m_adjusted.left,
                         m_adjusted.bottom - m_adjusted.top, SWP_NOZORDER);
  if (c.bSaveWindowSize && c.nWinSizeType == 2) {
    platform::ShowWindow(m_hWnd, SW_MAXIMIZE);
  } else if (c.bSaveWindowSize == 2 && c.nWinSizeType == 1) {
    platform::ShowWindow(m_hWnd, SW_SHOWMINIMIZED);
  }
}

void CEditWnd::RebuildAccelerators() {
  if (m_hAccel) DestroyAcceleratorTable(m_hAccel);
  const SharedSettings* s = Settings();
  m_hAccel = s ? CreateKeyAccelerators(s->nKeyAssignCount, s->KeyAssigns) : nullptr;
}

std::optional<int> CEditWnd::RunMessageLoop() {
  m_othersQuit.reset();
  MSG msg;
  while (m_hWnd) {
    const BOOL got = platform::GetMessage(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      // The window's own quit comes only with its end, so one taken while it stands is whoever
      // shares the process (the game): the window closes as from its close button, asking about
      // unsaved changes, and the request is handed back for its owner to see again.
      if (!m_othersQuit) m_othersQuit = static_cast<int>(msg.wParam);
      platform::PostMessage(m_hWnd, WM_CLOSE, 0, 0);
      continue;
    }
    if (m_hwndSearchBox && platform::IsDialogMessage(m_hwndSearchBox, &msg)) {
      HandleSearchBoxKey(msg);
      continue;
    }
    if (m_hAccel && msg.hwnd && TranslateAccelerator(m_hWnd, m_hAccel, &msg)) continue;
    platform::TranslateMessage(&msg);
    platform::DispatchMessage(&msg);
  }
  return m_othersQuit;
}

bool CEditWnd::HandleSearchBoxKey(MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  if (msg.wParam == kVirtualReturn) {
    const std::string text = SearchBoxText();
    if (text.empty()) return true;
    m_share.AddSearchKey(text.c_str());
    FocusActivePane();
    if (CEditView* view = dynamic_cast<CEditView*>(ActivePane())) {
      view->m_nSrchStartPosX_PHY = view->m_nCaretPosX_PHY;
      view->m_nSrchStartPosY_PHY = view->m_nCaretPosY_PHY;
    }
    platform::SendMessage(m_hWnd, WM_COMMAND, MAKEWPARAM(kSearchNextCommand, 0), 0);
    return true;
  }
  if (msg.wParam == kVirtualTab) {
    platform::SetFocus(m_hWnd);
    return true;
  }
  return false;
}

IDocPane* CEditWnd::ActivePane() const {
  const int index = m_cEditDoc.GetActivePane();
  if (index < 0 || index >= static_cast<int>(m_cEditDoc.Ports().panes.size())) return nullptr;
  return m_cEditDoc.Ports().panes[static_cast<size_t>(index)];
}

HWND CEditWnd::ActivePaneWindow() const {
  const IDocPane* pane = ActivePane();
  return pane ? pane->Window() : nullptr;
}

void CEditWnd::PlaceImeWindow() {
  if (CEditView* view = dynamic_cast<CEditView*>(ActivePane())) view->SetImeCompositionPos();
}

void CEditWnd::RunPaneCommand(int command, LPARAM lparam1, LPARAM lparam2) {
  if (CEditView* view = dynamic_cast<CEditView*>(ActivePane())) {
    view->RunCommand(command, true, lparam1, lparam2, 0, 0);
  } else if (IDocPane* pane = ActivePane()) {
    pane->RunCommand(command);
  }
}

// ---- Messages ------------------------------------------------------------------------------------

LRESULT CEditWnd::DispatchEvent(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_PAINT:
      if (m_pPrintPreview) return m_pPrintPreview->DispatchEvent(hwnd, uMsg, wParam, lParam);
      return platform::DefWindowProc(hwnd, uMsg, wParam, lParam);
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) m_cEditDoc.UpdateCaption(false);
      OnSizeFrame(wParam, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_MOVE:
      KeepPlacement();
      return platform::DefWindowProc(hwnd, uMsg, wParam, lParam);
    case WM_ACTIVATE:
      OnActivateFrame(wParam, lParam);
      return platform::DefWindowProc(hwnd, uMsg, wParam, lParam);
    case WM_SETFOCUS:
      return OnSetFocusFrame(hwnd, wParam, lParam);
    case WM_KILLFOCUS:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYUP:
    case WM_ENTERMENULOOP:
    case WM_IME_CHAR:
    case WM_IME_REQUEST:
      return m_cEditDoc.DispatchToViews(hwnd, uMsg, wParam, lParam);
    case WM_IME_COMPOSITION:
      if (lParam & GCS_RESULTSTR) return m_cEditDoc.DispatchToViews(hwnd, uMsg, wParam, lParam);
      return platform::DefWindowProc(hwnd, uMsg, wParam, lParam);
    case WM_CLOSE:
      if (OnClose()) platform::DestroyWindow(hwnd);
      return 0;
    case WM_QUERYENDSESSION:
      if (!OnClose()) return 0;
      platform::DestroyWindow(hwnd);
      return 1;
    case MYWM_CLOSE: {
      const bool allowed = OnClose();
      if (allowed) platform::DestroyWindow(hwnd);
      return allowed ? 1 : 0;
    }
    case WM_DESTROY:
      OnDestroyFrame();
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item && item->CtlID == kStatusBarId && item->itemID == kStatusRecPart) DrawRecPart(*item);
      return 1;
    }
    case WM_NOTIFY:
      return OnNotifyFrame(lParam);
    case WM_HELP:
      ShowMenuItemHelp(reinterpret_cast<const HELPINFO*>(lParam));
      return 1;
    case WM_MOUSEWHEEL:
      if (m_pPrintPreview) return m_pPrintPreview->DispatchEvent(hwnd, uMsg, wParam, lParam);
      return m_cEditDoc.DispatchToViews(hwnd, uMsg, wParam, lParam);
    case WM_HSCROLL:
    case WM_VSCROLL:
      return m_pPrintPreview ? m_pPrintPreview->DispatchEvent(hwnd, uMsg, wParam, lParam) : 0;
    case WM_MOUSEMOVE:
      if (m_pPrintPreview) return m_pPrintPreview->DispatchEvent(hwnd, uMsg, wParam, lParam);
      return 0;
    case WM_LBUTTONDOWN:
      m_ptDragPosOrg = POINT{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
      platform::SetCapture(hwnd);
      m_bDragMode = true;
      return 0;
    case WM_LBUTTONUP:
      if (m_bDragMode) {
        platform::ReleaseCapture();
        m_bDragMode = false;
        platform::InvalidateRect(hwnd, nullptr, 1);
      }
      return 0;
    case WM_COMMAND:
      m_cRouter.OnCommand(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_INITMENUPOPUP:
      m_cMenuBar.OnInitMenuPopup(platform::GetMenu(hwnd), reinterpret_cast<HMENU>(wParam), LOWORD(lParam),
                                 HIWORD(lParam) != 0);
      return 0;
    case WM_MENUSELECT:
      OnMenuSelect(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_EXITMENULOOP:
      SetStatusText("");
      return m_cEditDoc.DispatchToViews(hwnd, uMsg, wParam, lParam);
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_COPY_:
      RunPaneCommand(kCopyCommand, 0, 0);
      return 0;
    case WM_PASTE_:
      RunPaneCommand(kPasteCommand, 0, 0);
      return 0;
    case WM_TIMER:
      if (wParam == kTickTimer) OnTimerTick();
      else if (wParam == kToolbarTimer) UpdateToolbarStates();
      return 0;
    case MYWM_GETFILEINFO:
      m_cEditDoc.FillRecentFileRecord(&Settings()->ExchangeFileInfo);
      return 0;
    case MYWM_SETCARETPOS:
      SetExchangePosition();
      return 0;
    case MYWM_GETCARETPOS:
      WriteCaretToExchange();
      return 0;
    case MYWM_ADDSTRING:
      AddTextAtEnd();
      return 0;
    case MYWM_GETLINEDATA:
      return CopyLineToExchange(wParam);
    case MYWM_TAB_WINDOW_NOTIFY:
      if (m_pTabBar->IsOpen()) m_pTabBar->OnWindowListChanged(wParam, lParam);
      return 0;
    case MYWM_SETACTIVEPANE:
      if (static_cast<int>(wParam) == -1) {
        int pane = 0;
        // The last visible pane: the splitter's visible panes followed from the first one.
        if (const IDocSplitter* splitter = m_cEditDoc.Ports().splitter; lParam != 0 && splitter) {
          for (int step = 0, next = 0; step < 4 && (next = splitter->NextVisiblePane(pane)) > pane; ++step) {
            pane = next;
          }
        }
        m_cEditDoc.SetActivePane(pane);
      }
      return 0;
    case MYWM_CHANGESETTING:
      OnSettingsChanged();
      return 0;
    default:
      return platform::DefWindowProc(hwnd, uMsg, wParam, lParam);
  }
}

void CEditWnd::KeepPlacement() {
  SharedSettings* s = Settings();
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!s || !m_hWnd || !platform::GetWindowPlacement(m_hWnd, &placement)) return;
  s->wpSavedEditWindow = placement;
  if (s->Common.nSaveWindowPos == 1 && placement.showCmd != SW_MAXIMIZE && placement.showCmd != SW_SHOWMINIMIZED) {
    RECT rc{};
    platform::GetWindowRect(m_hWnd, &rc);
    s->Common.nWinPosX = rc.left;
    s->Common.nWinPosY = rc.top;
  }
}

void CEditWnd::OnMenuSelect(int command, int flags) {
  const SharedSettings* s = Settings();
  if (!s || (flags & MF_POPUP) || (flags & MF_SEPARATOR) || command == 0) return;
  std::vector<std::string> names;
  GetAllKeyNamesForCommand(s->nKeyAssignCount, s->KeyAssigns, names, command);
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i) text += " , ";
    text += names[i];
  }
  SetStatusText(text.c_str());
}

void CEditWnd::ShowMenuItemHelp(const HELPINFO* info) {
  if (!info || info->iContextType != kHelpOnMenuItem) return;
  const int topic = CommandToHelpId(info->iCtrlId);
  if (topic == 0) return;
  char helpFile[kMaxPath];
  GetHelpFilePath(helpFile, sizeof helpFile);
  platform::WinHelp(m_hWnd, helpFile, HELP_CONTEXT, static_cast<uintptr_t>(topic));
}

void CEditWnd::OnActivateFrame(WPARAM wParam, LPARAM lParam) {
  const WORD state = LOWORD(wParam);
  bool active = state == WA_ACTIVE || state == WA_CLICKACTIVE;
  // A window of the frame's taking the activation keeps it active: one inside the frame, or one
  // the frame owns (a dialog, a pane's pop-up: an owner is always a top-level window). A dialog
  // owned by such a dialog is not the frame's.
  if (!active && lParam) {
    const HWND taker = reinterpret_cast<HWND>(lParam);
    for (HWND inside = taker; inside && !active; inside = platform::GetParent(inside)) active = inside == m_hWnd;
    if (!active) active = TopLevelOf(platform::GetWindow(taker, platform::GW_OWNER)) == m_hWnd;
  }
  m_cEditDoc.UpdateCaption(!active);
  m_pFuncKeyBar->SetTimer(active);
  StartTimer(active);
}

LRESULT CEditWnd::OnSetFocusFrame(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  m_nTimerCount = 9;
  if (m_id) m_share.RegisterEditWindow(m_id);
  const LRESULT result = m_cEditDoc.DispatchToViews(hwnd, WM_SETFOCUS, wParam, lParam);
  if (m_pPrintPreview) m_pPrintPreview->DispatchEvent(hwnd, WM_SETFOCUS, wParam, lParam);
  FillSearchBox();
  return result;
}

void CEditWnd::FillSearchBox() {
  const SharedSettings* s = Settings();
  if (!m_hwndSearchBox || !s) return;
  platform::SendMessage(m_hwndSearchBox, CB_RESETCONTENT, 0, 0);
  const int count = std::clamp(s->nSearchKeyCount, 0, kHistorySlots);
  for (int i = 0; i < count; ++i) {
    const std::string key(s->szSearchKeys[i], strnlen(s->szSearchKeys[i], kMaxPath - 1));
    platform::SendMessage(m_hwndSearchBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(key.c_str()));
  }
  if (count > 0) platform::SendMessage(m_hwndSearchBox, CB_SETCURSEL, 0, 0);
}

void CEditWnd::OnTimerTick() {
  if (++m_nTimerCount > 6) m_nTimerCount = 0;
  if (m_nTimerCount == 0 && !platform::GetCapture()) m_cEditDoc.CheckFileChangedOnDisk();
  m_cEditDoc.CheckAutoSave();
}

void CEditWnd::StartTimer(bool on) {
  if (!m_hWnd) return;
  if (!on) {
    platform::KillTimer(m_hWnd, kToolbarTimer);
    return;
  }
  if (!platform::SetTimer(m_hWnd, kToolbarTimer, 300, nullptr)) {
    ShowMessageBox(m_hWnd, MB_OK | MB_ICONWARNING, kCaption, "%s", kTimerText);
  }
}

void CEditWnd::OnSettingsChanged() {
  if (m_hwndToolBar) {
    RemoveToolBar();
    BuildToolBar();
  }
  // The bars' heights may have changed with the settings, toolbar or not.
  SendSizeAgain();
  PlaceImeWindow();
  m_pFuncKeyBar->SetSizeGrip(m_pFuncKeyBar->IsOpen() && Settings()->Common.nFUNCKEYWND_Place != 0 &&
                             !m_hwndStatusBar && !IsMaximized());
  RebuildAccelerators();
  m_cEditDoc.ReloadAutoSaveSettings();
  m_cEditDoc.UpdateFileIcon();
  m_cEditDoc.OnSettingsChanged();
}

void CEditWnd::SendSizeAgain() {
  RECT rc{};
  platform::GetClientRect(m_hWnd, &rc);
  platform::SendMessage(m_hWnd, WM_SIZE, m_nWinSizeType, MAKELPARAM(rc.right - rc.left, rc.bottom - rc.top));
}

// ---- The other processes' requests ------------------------------------------------------------

void CEditWnd::SetExchangePosition() {
  IDocPane* pane = ActivePane();
  SharedSettings* s = Settings();
  if (!pane || !s) return;
  if (pane->HasSelection()) pane->ClearSelection(true);
  int32_t column = 0, line = 0;
  ReadExchangePosition(*s, &column, &line);
  int x = 0, y = 0;
  m_cEditDoc.m_cLayoutMgr.DocToWrapPos(column, line, &x, &y);
  if (y >= m_cEditDoc.m_cLayoutMgr.GetLineCount()) {
    RunPaneCommand(kGoFileEndCommand, 0, 0);
    return;
  }
  // A sixth of the rows around the caret: the requested line shows with some of its context.
  if (CEditView* view = dynamic_cast<CEditView*>(pane)) {
    view->PlaceCursor(x, y, true, 6);
    view->m_nCaretPosX_Prev = view->m_nCaretPosX;
    return;
  }
  pane->PlaceCaret(POINT{x, y});
}

void CEditWnd::WriteCaretToExchange() {
  const IDocPane* pane = ActivePane();
  SharedSettings* s = Settings();
  if (!s) return;
  int column = 0, line = 0;
  if (pane) {
    const POINT caret = pane->Caret();
    m_cEditDoc.m_cLayoutMgr.WrapToDocPos(caret.x, caret.y, &column, &line);
  }
  WriteExchangePosition(*s, column, line);
}

void CEditWnd::AddTextAtEnd() {
  SharedSettings* s = Settings();
  if (!s) return;
  const int length = static_cast<int>(strnlen(s->szExchangeText, kExchangeTextSize - 1));
  std::string text(s->szExchangeText, static_cast<size_t>(length));
  RunPaneCommand(kAddTailCommand, reinterpret_cast<LPARAM>(text.c_str()), length);
  RunPaneCommand(kGoFileEndCommand, 0, 0);
}

LRESULT CEditWnd::CopyLineToExchange(WPARAM line) {
  const CDocLine* docLine = nullptr;
  if (line < static_cast<WPARAM>(m_cEditDoc.m_cDocLineMgr.GetLineCount())) {
    docLine = m_cEditDoc.m_cDocLineMgr.GetLine(static_cast<int>(line));
  }
  if (!docLine) return 0;
  int length = 0;
  const char* text = docLine->GetText(&length);
  return m_share.SetExchangeLine(text, length);
}

// ---- Closing ---------------------------------------------------------------------------------

bool CEditWnd::OnClose() {
  if (!m_cEditDoc.QueryClose()) return false;
  const std::vector<EditWindowEntry> list = m_share.GetEditWindowList(false);
  if (list.size() > 1) {
    size_t next = 0;
    for (size_t i = 0; i < list.size(); ++i) {
      if (list[i].hwnd == m_id) {
        next = (i + 1) % list.size();
        break;
      }
    }
    const EditWindowId other = list[next].hwnd;
    const CommonSettings& c = Settings()->Common;
    if (c.bDispTabWnd && !c.bDispTabWndMultiWin) {
      for (int i = 0; i < 20 && platform::ipc::IsWindowVisible(other); ++i) platform::SleepMs(1);
    }
    if (!platform::ipc::IsWindowVisible(other)) ActivateEditWindow(other);
  }
  return true;
}

void CEditWnd::OnDestroyFrame() {
  // Each move keeps the place; the end keeps it once more, so that a change of size since the
  // last move is in the saved placement too.
  KeepPlacement();
  SharedSettings* s = Settings();
  if (s && s->bKeyMacroRecording && s->hwndKeyMacroRecorder == m_id) {
    s->bKeyMacroRecording = 0;
    s->hwndKeyMacroRecorder = 0;
  }
  platform::KillTimer(m_hWnd, kToolbarTimer);
  platform::KillTimer(m_hWnd, kTickTimer);
  platform::DragAcceptFiles(m_hWnd, 0);
  if (m_id) {
    m_share.UnregisterEditWindow(m_id);
    platform::ipc::UnregisterWindow(m_id);
  }
  if (s && m_id && s->hwndOutput == m_id) s->hwndOutput = 0;
  m_hWnd = nullptr;
  if (m_hwndResident) platform::ipc::PostMessage(m_hwndResident, MYWM_NOTIFYCLOSE, 0, 0);
  m_id = 0;
  // The bars go with the frame.
  m_hwndToolBar = m_hwndStatusBar = m_hwndProgress = m_hwndSearchBox = nullptr;
  m_pProgress.reset();
  // There is one quit at a time: one still waiting is whoever shares the process (the game), and
  // the window's own would replace its code.
  if (const std::optional<int> waiting = platform::PendingQuitCode()) m_othersQuit = waiting;
  platform::PostQuitMessage(0);
}
