#include "editor/foundation/ui/dialog_base.h"

#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/ui/system_utils.h"
#include "platform/win_help.h"

using namespace platform;

namespace {

// A table with nothing in it: context help offers nothing.
constexpr DWORD kNoHelpIds[] = {0, 0};

}  // namespace

CDialogBase::CDialogBase() {
  // The help file lies beside the executable; none ships, so asking for help says so.
  GetHelpFilePath(m_szHelpFile, sizeof m_szHelpFile);
  if (CShareData* share = CShareData::GetInstance()) m_pShareData = share->GetShareData();
}

CDialogBase::~CDialogBase() { Close(0); }

INT_PTR CDialogBase::DoModal(HINSTANCE hInstance, HWND hwndParent, int nDlgTemplete, LPARAM lParam) {
  m_hInstance = hInstance;
  m_hwndParent = hwndParent;
  m_lParam = lParam;
  m_bModal = 1;
  m_bInited = 0;
  return DialogBoxParam(m_hInstance, MAKEINTRESOURCE(nDlgTemplete), m_hwndParent, DialogProc,
                        reinterpret_cast<LPARAM>(this));
}

HWND CDialogBase::DoModeless(HINSTANCE hInstance, HWND hwndParent, int nDlgTemplete, LPARAM lParam, int nCmdShow) {
  m_hInstance = hInstance;
  m_hwndParent = hwndParent;
  m_lParam = lParam;
  m_bModal = 0;
  m_bInited = 0;
  m_hWnd = CreateDialogParam(m_hInstance, MAKEINTRESOURCE(nDlgTemplete), m_hwndParent, DialogProc,
                             reinterpret_cast<LPARAM>(this));
  if (m_hWnd) ShowWindow(m_hWnd, nCmdShow);
  return m_hWnd;
}

BOOL CDialogBase::Close(int nModalRetVal) {
  if (!m_hWnd) return 0;
  const BOOL result = m_bModal ? EndDialog(m_hWnd, nModalRetVal) : DestroyWindow(m_hWnd);
  m_hWnd = nullptr;
  return result;
}

void CDialogBase::CreateSizeGrip() {
  m_hwndSizeBox = CreateWindowEx(WS_EX_CONTROLPARENT, "SCROLLBAR", nullptr,
                                 WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, 0, 0, 0, 0, m_hWnd,
                                 nullptr, m_hInstance, nullptr);
  ShowWindow(m_hwndSizeBox, SW_SHOW);
}

INT_PTR CDialogBase::DialogProc(HWND hwndDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  // The object comes with WM_INITDIALOG and is kept in the dialog from then on; what arrives
  // before it has no object to go to.
  if (uMsg == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<CDialogBase*>(lParam);
    return dialog ? dialog->DispatchEvent(hwndDlg, uMsg, wParam, lParam) : 0;
  }
  auto* dialog = reinterpret_cast<CDialogBase*>(GetWindowLongPtr(hwndDlg, DWLP_USER));
  return dialog ? dialog->DispatchEvent(hwndDlg, uMsg, wParam, lParam) : 0;
}

INT_PTR CDialogBase::DispatchEvent(HWND hwndDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_INITDIALOG:
      return OnInitDialog(hwndDlg, wParam, lParam);
    case WM_DESTROY:
      return OnDestroy();
    case WM_MOVE:
      m_hWnd = hwndDlg;
      return OnMove(wParam, lParam);
    case WM_SIZE:
      m_hWnd = hwndDlg;
      return OnSize(wParam, lParam);
    case WM_ACTIVATE:
      return OnActivate(wParam, lParam);
    case WM_KILLFOCUS:
      return OnKillFocus(wParam, lParam);
    case WM_DRAWITEM:
      return OnDrawItem(wParam, lParam);
    case WM_VKEYTOITEM:
      return OnVKeyToItem(wParam, lParam);
    case WM_CHARTOITEM:
      return OnCharToItem(wParam, lParam);
    case WM_NOTIFY:
      return OnNotify(wParam, lParam);
    case WM_HELP:
      return OnHelp(wParam, lParam);
    case WM_CONTEXTMENU:
      return OnContextMenu(wParam, lParam);
    case WM_KEYDOWN:
      return OnKeyDown(wParam, lParam);
    case WM_TIMER:
      return OnTimer(wParam);
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const auto hwndCtl = reinterpret_cast<HWND>(lParam);
      switch (HIWORD(wParam)) {
        case 0:  // a button or a menu item
          return OnButtonClicked(id);
        case 1:
          return OnSelChange(hwndCtl, id);
        case 2:
          return OnDoubleClick(id);
        case 5:
          return OnComboEditChange(hwndCtl, id);
        case 0x300:
          return OnEditChange(hwndCtl, id);
        default:
          return 0;
      }
    }
    default:
      return 0;
  }
}

INT_PTR CDialogBase::OnInitDialog(HWND hwndDlg, WPARAM, LPARAM lParam) {
  m_hWnd = hwndDlg;
  SetWindowLongPtr(hwndDlg, DWLP_USER, lParam);
  FillControls();
  if (m_nXPos != -1 && m_nYPos != -1) {
    WINDOWPLACEMENT placement;
    placement.length = sizeof placement;
    GetWindowPlacement(m_hWnd, &placement);
    placement.showCmd = static_cast<UINT>(m_nShowCmd);
    placement.rcNormalPosition = RECT{m_nXPos, m_nYPos, m_nXPos + m_nWidth, m_nYPos + m_nHeight};
    SetWindowPlacement(m_hWnd, &placement);
  }
  m_bInited = 1;
  return 1;
}

INT_PTR CDialogBase::OnDestroy() {
  WINDOWPLACEMENT placement;
  placement.length = sizeof placement;
  if (GetWindowPlacement(m_hWnd, &placement)) {
    m_nShowCmd = static_cast<int>(placement.showCmd);
    m_nXPos = placement.rcNormalPosition.left;
    m_nYPos = placement.rcNormalPosition.top;
    m_nWidth = placement.rcNormalPosition.right - placement.rcNormalPosition.left;
    m_nHeight = placement.rcNormalPosition.bottom - placement.rcNormalPosition.top;
  }
  if (m_hwndSizeBox) {
    DestroyWindow(m_hwndSizeBox);
    m_hwndSizeBox = nullptr;
  }
  m_hWnd = nullptr;
  return 1;
}

void CDialogBase::SavePlacementRect() {
  RECT rc;
  if (!GetWindowRect(m_hWnd, &rc)) return;
  m_nXPos = rc.left;
  m_nYPos = rc.top;
  m_nWidth = rc.right - rc.left;
  m_nHeight = rc.bottom - rc.top;
}

INT_PTR CDialogBase::OnSize(WPARAM wParam, LPARAM) {
  SavePlacementRect();
  if (m_hwndSizeBox) {
    RECT client;
    GetClientRect(m_hWnd, &client);
    const int cx = GetSystemMetrics(SM_CXVSCROLL);
    const int cy = GetSystemMetrics(SM_CYHSCROLL);
    MoveWindow(m_hwndSizeBox, client.right - cx, client.bottom - cy, cx, cy, 1);
    // A maximised window cannot be resized from its corner.
    ShowWindow(m_hwndSizeBox, wParam == SIZE_MAXIMIZED ? SW_HIDE : SW_SHOW);
    InvalidateRect(m_hwndSizeBox, nullptr, 1);
  }
  return 0;
}

INT_PTR CDialogBase::OnMove(WPARAM, LPARAM) {
  // Moves made while the dialog is being set up (restoring the placement) are not the user's.
  if (m_bInited) SavePlacementRect();
  return 1;
}

INT_PTR CDialogBase::OnNotify(WPARAM, LPARAM) { return 0; }
INT_PTR CDialogBase::OnDrawItem(WPARAM, LPARAM) { return 1; }
INT_PTR CDialogBase::OnTimer(WPARAM) { return 1; }
INT_PTR CDialogBase::OnKeyDown(WPARAM, LPARAM) { return 1; }
int CDialogBase::ReadControls() { return 1; }
void CDialogBase::FillControls() {}

INT_PTR CDialogBase::OnButtonClicked(int wID) {
  if (wID == IDOK || wID == IDCANCEL) {
    Close(0);
    return 1;
  }
  return 0;
}

INT_PTR CDialogBase::OnSelChange(HWND, int) { return 0; }
INT_PTR CDialogBase::OnComboEditChange(HWND, int) { return 0; }
INT_PTR CDialogBase::OnEditChange(HWND, int) { return 0; }
INT_PTR CDialogBase::OnDoubleClick(int) { return 0; }
INT_PTR CDialogBase::OnKillFocus(WPARAM, LPARAM) { return 0; }
INT_PTR CDialogBase::OnActivate(WPARAM, LPARAM) { return 0; }
INT_PTR CDialogBase::OnVKeyToItem(WPARAM, LPARAM) { return -1; }
INT_PTR CDialogBase::OnCharToItem(WPARAM, LPARAM) { return -1; }

INT_PTR CDialogBase::OnHelp(WPARAM, LPARAM lParam) {
  const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
  WinHelp(info ? info->hItemHandle : m_hWnd, m_szHelpFile, HELP_WM_HELP, reinterpret_cast<uintptr_t>(GetHelpIds()));
  return 1;
}

INT_PTR CDialogBase::OnContextMenu(WPARAM, LPARAM) {
  WinHelp(m_hWnd, m_szHelpFile, HELP_CONTEXTMENU, reinterpret_cast<uintptr_t>(GetHelpIds()));
  return 1;
}

const DWORD* CDialogBase::GetHelpIds() { return kNoHelpIds; }
