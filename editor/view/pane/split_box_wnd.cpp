#include "editor/view/pane/split_box_wnd.h"

#include <algorithm>

#include "editor/view/pane/edit_view.h"
#include "platform/cursor.h"
#include "platform/dc_draw.h"
#include "platform/invert_overlay.h"
#include "platform/mouse_capture.h"
#include "platform/sys_color.h"
#include "platform/window_dc.h"
#include "platform/window_tree.h"

using namespace platform;

namespace {

constexpr int kBoxThickness = CEditView::kSplitBoxSize;
constexpr int kDragBarWidth = 6;

}  // namespace

CSplitBoxWnd::CSplitBoxWnd() { AppendClassInheritance("CSplitBoxWnd"); }

CSplitBoxWnd::~CSplitBoxWnd() {
  // A box deleted while it is dragged (a split made from the keyboard meanwhile) takes its bar
  // with it: the strip would otherwise stay over the splitter.
  if (m_hWnd && GetCapture() == m_hWnd) {
    DrawDragBar();
    ReleaseCapture();
  }
}

HWND CSplitBoxWnd::Create(HINSTANCE hInstance, HWND hwndParent, int bVertical) {
  m_hInstance = hInstance;
  m_hwndParent = hwndParent;
  m_bVertical = bVertical;
  m_pszClassName = bVertical ? "VSplitBoxWnd" : "HSplitBoxWnd";
  RegisterWC(nullptr, nullptr, LoadCursor(nullptr, bVertical ? IDC_SIZENS : IDC_SIZEWE),
             reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1)), nullptr, m_pszClassName);
  RECT rc{};
  GetClientRect(hwndParent, &rc);
  int x = 0;
  int y = 0;
  int width = kBoxThickness;
  int height = kBoxThickness;
  if (bVertical) {
    width = GetSystemMetrics(SM_CXVSCROLL);
    x = rc.right - width;
  } else {
    height = GetSystemMetrics(SM_CYHSCROLL);
    y = rc.bottom - height;
  }
  return CWnd::Create(0, m_pszClassName, m_pszClassName, WS_CHILD | WS_VISIBLE, x, y, width, height, nullptr);
}

HWND CSplitBoxWnd::Splitter() const { return GetParent(m_hwndParent); }

void CSplitBoxWnd::DrawDragBar() {
  const HWND splitter = Splitter();
  RECT rc{};
  if (!splitter || !GetClientRect(splitter, &rc)) return;
  if (m_bVertical) {
    InvertOverWindow(splitter, RECT{-1, m_nDragPosY, rc.right, m_nDragPosY + kDragBarWidth});
  } else {
    InvertOverWindow(splitter, RECT{m_nDragPosX, 0, m_nDragPosX + kDragBarWidth, rc.bottom});
  }
}

LRESULT CSplitBoxWnd::OnPaint(HWND hwnd, UINT, WPARAM, LPARAM) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  RECT rc{};
  GetClientRect(hwnd, &rc);
  const int width = rc.right - rc.left;
  const int height = rc.bottom - rc.top;
  Draw3DFrame(hdc, 0, 0, width, height, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
  Draw3DFrame(hdc, 1, 1, width - 2, height - 2, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
  EndPaint(hwnd, &ps);
  return 0;
}

LRESULT CSplitBoxWnd::OnLButtonDown(HWND hwnd, UINT, WPARAM, LPARAM) {
  SetCapture(hwnd);
  if (m_bVertical) {
    m_nDragPosY = 1;
  } else {
    m_nDragPosX = 1;
  }
  DrawDragBar();
  return 0;
}

LRESULT CSplitBoxWnd::OnMouseMove(HWND hwnd, UINT, WPARAM, LPARAM lParam) {
  if (GetCapture() != hwnd) return 0;
  const HWND splitter = Splitter();
  RECT rc{};
  if (!splitter || !GetClientRect(splitter, &rc)) return 0;
  POINT pt{static_cast<short>(LOWORD(static_cast<uintptr_t>(lParam))),
           static_cast<short>(HIWORD(static_cast<uintptr_t>(lParam)))};
  MapWindowPoints(hwnd, splitter, &pt, 1);
  if (m_bVertical) {
    const int y = std::max(0, std::min<int>(pt.y, rc.bottom - GetSystemMetrics(SM_CYHSCROLL) - kDragBarWidth));
    if (y == m_nDragPosY) return 0;
    DrawDragBar();
    m_nDragPosY = y;
  } else {
    const int x = std::max(0, std::min<int>(pt.x, rc.right - GetSystemMetrics(SM_CXVSCROLL) - kDragBarWidth));
    if (x == m_nDragPosX) return 0;
    DrawDragBar();
    m_nDragPosX = x;
  }
  DrawDragBar();
  return 0;
}

LRESULT CSplitBoxWnd::OnLButtonUp(HWND hwnd, UINT, WPARAM, LPARAM) {
  if (GetCapture() != hwnd) return 0;
  DrawDragBar();
  if (m_bVertical) {
    PostMessage(m_hwndParent, MYWM_DOSPLIT, 0, m_nDragPosY);
  } else {
    PostMessage(m_hwndParent, MYWM_DOSPLIT, static_cast<WPARAM>(m_nDragPosX), 0);
  }
  ReleaseCapture();
  return 0;
}

LRESULT CSplitBoxWnd::OnLButtonDblClk(HWND, UINT, WPARAM, LPARAM) {
  RECT rc{};
  GetClientRect(m_hwndParent, &rc);
  if (m_bVertical) {
    PostMessage(m_hwndParent, MYWM_DOSPLIT, 0, (rc.bottom - GetSystemMetrics(SM_CYHSCROLL)) / 2);
  } else {
    PostMessage(m_hwndParent, MYWM_DOSPLIT, static_cast<WPARAM>(rc.right / 2), 0);
  }
  return 0;
}

void Draw3DFrame(HDC hdc, int x, int y, int width, int height, COLORREF first, COLORREF second) {
  Brush lit(first);
  Brush shaded(second);
  const RECT top{x, y, x + width - 1, y + 1};
  const RECT left{x, y, x + 1, y + height - 1};
  const RECT right{x + width - 1, y, x + width, y + height};
  const RECT bottom{x, y + height - 1, x + width, y + height};
  FillRect(hdc, &top, &lit);
  FillRect(hdc, &left, &lit);
  FillRect(hdc, &right, &shaded);
  FillRect(hdc, &bottom, &shaded);
}
