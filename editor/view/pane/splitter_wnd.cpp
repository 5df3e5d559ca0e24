#include "editor/view/pane/splitter_wnd.h"

#include <algorithm>

#include "editor/foundation/document/edit_doc.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/edit_window.h"
#include "platform/cursor.h"
#include "platform/dc_draw.h"
#include "platform/invert_overlay.h"
#include "platform/message_box.h"
#include "platform/mouse_capture.h"
#include "platform/sjis_literal.h"
#include "platform/sys_color.h"
#include "platform/window_dc.h"
#include "platform/window_tree.h"

using namespace platform;

namespace {

constexpr int kBarWidth = 3;      // the bar between panes
constexpr int kDragBarWidth = 6;  // the inverted bar shown while dragging
constexpr int kMinLeading = 32;   // a split closer to the leading edge is removed
constexpr int kMinTrailing = 64;  // ... and closer to the trailing edge

// Layout kinds: rows - 1 in bit 1, columns - 1 in bit 0; also the index of the last visible pane.
constexpr int kOnePane = 0;
constexpr int kLeftRight = 1;
constexpr int kUpperLower = 2;
constexpr int kFourPanes = 3;

// A pane is visible when its row and column bits are within the layout's.
bool IsVisibleIn(int kind, int pane) { return (pane & kind) == pane; }

int PointX(LPARAM lParam) { return static_cast<short>(LOWORD(static_cast<uintptr_t>(lParam))); }
int PointY(LPARAM lParam) { return static_cast<short>(HIWORD(static_cast<uintptr_t>(lParam))); }

}  // namespace

CSplitterWnd::CSplitterWnd() { AppendClassInheritance("CSplitterWnd"); }

CSplitterWnd::~CSplitterWnd() = default;

HWND CSplitterWnd::Create(HINSTANCE hInstance, HWND hwndParent, IEditWindow* pcEditWnd) {
  m_hInstance = hInstance;
  m_hwndParent = hwndParent;
  m_pcEditWnd = pcEditWnd;
  // A second splitter of the process finds its class there already: only a class that is missing
  // is worth a word.
  WNDCLASSEX existing;
  if (!RegisterWC(nullptr, nullptr, nullptr, nullptr, nullptr, m_pszClassName) &&
      !GetClassInfoEx(hInstance, m_pszClassName, &existing)) {
    MessageBox(nullptr, "SplitterWndクラスの登録に失敗しました。"_sj, "tovara", MB_OK | MB_ICONERROR);
  }
  return CWnd::Create(0, m_pszClassName, m_pszClassName, WS_CHILD | WS_VISIBLE, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                      nullptr);
}

void CSplitterWnd::AttachPanes(const std::array<HWND, 4>& panes) { AttachPanes(panes, {}); }

void CSplitterWnd::AttachPanes(const std::array<CEditView*, 4>& panes) {
  std::array<HWND, 4> windows{};
  for (size_t i = 0; i < panes.size(); ++i) windows[i] = panes[i] ? panes[i]->Window() : nullptr;
  AttachPanes(windows, panes);
}

void CSplitterWnd::AttachPanes(const std::array<HWND, 4>& windows, const std::array<CEditView*, 4>& panes) {
  m_ChildWndArr = windows;
  m_pcEditViewArr = panes;
}

void CSplitterWnd::SetClientSize(int width, int height) {
  m_nClientWidth = std::max(width, 0);
  m_nClientHeight = std::max(height, 0);
  if (!m_hWnd) LayoutPanes();
}

void CSplitterWnd::ClientSize(int* pnWidth, int* pnHeight) const {
  RECT rc{};
  if (m_hWnd && GetClientRect(m_hWnd, &rc)) {
    *pnWidth = rc.right - rc.left;
    *pnHeight = rc.bottom - rc.top;
    return;
  }
  *pnWidth = m_nClientWidth;
  *pnHeight = m_nClientHeight;
}

void CSplitterWnd::Move(int x, int y, int width, int height) {
  if (m_hWnd) {
    MoveWindow(m_hWnd, x, y, width, height, 1);
  } else {
    SetClientSize(width, height);
  }
}

bool CSplitterWnd::SizeGripCondition() const {
  return m_pcEditWnd && !m_pcEditWnd->HasStatusBar() && !m_pcEditWnd->HasFuncKeyBarAtBottom() &&
         !m_pcEditWnd->IsMaximized();
}

int CSplitterWnd::GetLayoutKind() const { return (m_nAllSplitRows - 1) * 2 + (m_nAllSplitCols - 1); }

void CSplitterWnd::SplitAt(int x, int y) {
  if (x == -1 && y == -1) {
    x = m_nHSplitPos;
    y = m_nVSplitPos;
  }
  const bool bSizeGrip = SizeGripCondition();
  int width = 0;
  int height = 0;
  ClientSize(&width, &height);

  bool bXClosed = false;
  if (x < kMinLeading) {
    bXClosed = x > 0;
    x = 0;
  }
  if (x > width - kMinTrailing) x = 0;
  bool bYClosed = false;
  if (y < kMinLeading) {
    bYClosed = y > 0;
    y = 0;
  }
  if (y > height - kMinTrailing) y = 0;
  m_nVSplitPos = y;
  m_nHSplitPos = x;

  const int oldKind = GetLayoutKind();
  m_nAllSplitRows = y > 0 ? 2 : 1;
  m_nAllSplitCols = x > 0 ? 2 : 1;
  const int newKind = GetLayoutKind();
  for (int i = 0; i < 4; ++i) {
    if (m_ChildWndArr[static_cast<size_t>(i)]) {
      ShowWindow(m_ChildWndArr[static_cast<size_t>(i)], IsVisibleIn(newKind, i) ? SW_SHOW : SW_HIDE);
    }
  }
  ShowPaneBoxes(bSizeGrip);
  LayoutPanes();

  const int prevActive = m_nActivePane;
  CopyStatesFor(oldKind, newKind, bXClosed, bYClosed);

  const int activate = PaneToActivate(newKind, prevActive);
  LayoutPanes();
  if (HWND pane = m_ChildWndArr[static_cast<size_t>(activate)]) {
    PostMessage(pane, MYWM_SETACTIVEPANE, 0, 0);
  } else if (m_pcEditViewArr[static_cast<size_t>(activate)]) {
    // A pane without a window cannot answer; its choice stands as made.
    m_nActivePane = activate;
  }
}

void CSplitterWnd::CopyState(int from, int to) {
  CEditView* source = m_pcEditViewArr[static_cast<size_t>(from)];
  CEditView* target = m_pcEditViewArr[static_cast<size_t>(to)];
  if (source && target) source->CopyViewStateTo(target);
}

void CSplitterWnd::CopyStatesFor(int oldKind, int newKind, bool bXClosed, bool bYClosed) {
  const int active = m_nActivePane;
  const bool allFour = std::all_of(m_pcEditViewArr.begin(), m_pcEditViewArr.end(), [](CEditView* p) { return p; });
  switch (newKind) {
    case kOnePane: {
      if (oldKind == kOnePane) break;
      // A bar dragged to the leading edge leaves the pane after it to stay; otherwise the active
      // pane's view stays.
      const bool xClosed = bXClosed && (oldKind & kLeftRight);
      const bool yClosed = bYClosed && (oldKind & kUpperLower);
      if (xClosed && yClosed) {
        CopyState(3, 0);
      } else if (yClosed) {
        CopyState(2, 0);
      } else if (xClosed) {
        CopyState(1, 0);
      } else if (active != 0) {
        CopyState(active, 0);
      }
      break;
    }
    case kUpperLower:
      if (oldKind == kOnePane) {
        CopyState(0, 2);
        CEditView* upper = m_pcEditViewArr[0];
        CEditView* lower = m_pcEditViewArr[2];
        // The lower pane continues the text where the upper one ends.
        if (upper && lower) lower->m_nViewTopLine = upper->m_nViewTopLine + upper->m_nViewRowNum;
      } else if (oldKind == kFourPanes && (bXClosed || active == 1 || active == 3)) {
        CopyState(1, 0);
        if (allFour) CopyState(3, 2);
      }
      break;
    case kLeftRight:
      if (oldKind == kOnePane) {
        CopyState(0, 1);
      } else if (oldKind == kFourPanes && (bYClosed || active == 2 || active == 3)) {
        CopyState(2, 0);
        if (allFour) CopyState(3, 1);
      }
      break;
    case kFourPanes:
      if (oldKind == kOnePane) {
        CopyState(0, 1);
        CopyState(0, 2);
        CopyState(0, 3);
      } else if (oldKind == kLeftRight) {
        CopyState(0, 2);
        CopyState(1, 3);
      } else if (oldKind == kUpperLower) {
        CopyState(0, 1);
        CopyState(2, 3);
      }
      break;
    default:
      break;
  }
}

int CSplitterWnd::PaneToActivate(int newKind, int prevActive) const {
  switch (newKind) {
    case kUpperLower: {
      if (prevActive == 2 || prevActive == 3) return 2;
      const CEditView* lower = m_pcEditViewArr[2];
      return lower && lower->m_nViewTopLine < lower->m_nCaretPosY ? 2 : 0;
    }
    case kLeftRight:
      return prevActive == 1 || prevActive == 3 ? 1 : 0;
    case kFourPanes:
      return std::clamp(prevActive, 0, 3);
    default:
      return 0;
  }
}

void CSplitterWnd::ShowPaneBoxes(bool bSizeGrip) {
  struct Boxes {
    bool vertical;
    bool horizontal;
    bool grip;  // the corner may be a size grip
  };
  // Per layout kind and pane; panes hidden in a layout are not asked.
  static constexpr Boxes kBoxes[4][4] = {
      {{true, true, true}, {}, {}, {}},
      {{false, false, false}, {true, false, true}, {}, {}},
      {{false, false, false}, {}, {false, true, true}, {}},
      {{false, false, false}, {false, false, false}, {false, false, false}, {false, false, true}},
  };
  const int kind = GetLayoutKind();
  for (int i = 0; i < 4; ++i) {
    CEditView* pane = m_pcEditViewArr[static_cast<size_t>(i)];
    if (!pane || !IsVisibleIn(kind, i)) continue;
    const Boxes& b = kBoxes[kind][i];
    pane->ShowSplitBoxes(b.vertical, b.horizontal, b.grip && bSizeGrip);
  }
}

void CSplitterWnd::PlacePane(int index, int x, int y, int width, int height) {
  if (HWND window = m_ChildWndArr[static_cast<size_t>(index)]) MoveWindow(window, x, y, width, height, 1);
  CEditView* pane = m_pcEditViewArr[static_cast<size_t>(index)];
  if (pane && !pane->Window()) pane->SetClientSize(std::max(width, 0), std::max(height, 0));
}

void CSplitterWnd::LayoutPanes() {
  int w = 0;
  int h = 0;
  ClientSize(&w, &h);
  const int x = m_nHSplitPos;
  const int y = m_nVSplitPos;
  switch (GetLayoutKind()) {
    case kOnePane:
      PlacePane(0, 0, 0, w, h);
      break;
    case kUpperLower:
      PlacePane(0, 0, 0, w, y);
      PlacePane(2, 0, y + kBarWidth, w, h - y - kBarWidth);
      break;
    case kLeftRight:
      PlacePane(0, 0, 0, x, h);
      PlacePane(1, x + kBarWidth, 0, w - x - kBarWidth, h);
      break;
    default:
      PlacePane(0, 0, 0, x, y);
      PlacePane(1, x + kBarWidth, 0, w - x - kBarWidth, y);
      PlacePane(2, 0, y + kBarWidth, x, h - y - kBarWidth);
      PlacePane(3, x + kBarWidth, y + kBarWidth, w - x - kBarWidth, h - y - kBarWidth);
      break;
  }
  ShowPaneBoxes(SizeGripCondition());
}

void CSplitterWnd::Toggle(const std::array<ToggleTarget, 4>& targets) {
  int w = 0;
  int h = 0;
  ClientSize(&w, &h);
  const ToggleTarget& t = targets[static_cast<size_t>(GetLayoutKind())];
  const auto value = [](ToggleTarget::Take take, int half, int current) {
    return take == ToggleTarget::kHalf ? half : take == ToggleTarget::kCurrent ? current : 0;
  };
  SplitAt(value(t.x, w / 2, m_nHSplitPos), value(t.y, h / 2, m_nVSplitPos));
}

// Targets by layout kind: one pane, left and right, upper and lower, four panes.
void CSplitterWnd::ToggleSplitV() {
  using T = ToggleTarget;
  Toggle({T{T::kNone, T::kHalf}, T{T::kCurrent, T::kHalf}, T{T::kNone, T::kNone}, T{T::kCurrent, T::kNone}});
}

void CSplitterWnd::ToggleSplitH() {
  using T = ToggleTarget;
  Toggle({T{T::kHalf, T::kNone}, T{T::kNone, T::kNone}, T{T::kHalf, T::kCurrent}, T{T::kNone, T::kCurrent}});
}

void CSplitterWnd::ToggleSplitVH() {
  using T = ToggleTarget;
  Toggle({T{T::kHalf, T::kHalf}, T{T::kCurrent, T::kHalf}, T{T::kHalf, T::kCurrent}, T{T::kNone, T::kNone}});
}

void CSplitterWnd::SetActivePaneIndex(int index) {
  if (index >= 0 && index < 4) m_nActivePane = index;
}

int CSplitterWnd::NextVisiblePane(int index) const {
  switch (GetLayoutKind()) {
    case kUpperLower:
      return index == 0 ? 2 : -1;
    case kLeftRight:
      return index == 0 ? 1 : -1;
    case kFourPanes:
      return index >= 0 && index < 3 ? index + 1 : -1;
    default:
      return -1;
  }
}

int CSplitterWnd::PrevVisiblePane(int index) const {
  switch (GetLayoutKind()) {
    case kUpperLower:
      return index == 2 ? 0 : -1;
    case kLeftRight:
      return index == 1 ? 0 : -1;
    case kFourPanes:
      return index > 0 && index <= 3 ? index - 1 : -1;
    default:
      return -1;
  }
}

int CSplitterWnd::PrevPaneIndex() const { return PrevVisiblePane(m_nActivePane); }

int CSplitterWnd::NextPaneIndex() const { return NextVisiblePane(m_nActivePane); }

int CSplitterWnd::HitTestBar(int x, int y) const {
  int hit = 0;
  if (m_nAllSplitRows == 2 && m_nVSplitPos - 2 < y && y < m_nVSplitPos + 5) hit |= 1;
  if (m_nAllSplitCols == 2 && m_nHSplitPos - 2 < x && x < m_nHSplitPos + 5) hit |= 2;
  return hit;
}

void CSplitterWnd::DrawDragBars(int x, int y) {
  if (!m_hWnd) return;
  int w = 0;
  int h = 0;
  ClientSize(&w, &h);
  if (m_bDragging & 1) InvertOverWindow(m_hWnd, RECT{-1, y, w, y + kDragBarWidth});
  if (m_bDragging & 2) InvertOverWindow(m_hWnd, RECT{x, 0, x + kDragBarWidth, h});
}

void CSplitterWnd::SetCursorFor(int hit) const {
  static const char* const kCursors[4] = {nullptr, IDC_SIZENS, IDC_SIZEWE, IDC_SIZEALL};
  if (hit > 0 && hit < 4) SetCursor(LoadCursor(nullptr, kCursors[hit]));
}

LRESULT CSplitterWnd::OnAppMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case MYWM_DOSPLIT: {
      // An existing split stays where it is; only a direction not yet split takes the request.
      const int x = m_nHSplitPos != 0 ? m_nHSplitPos : static_cast<int>(wParam);
      const int y = m_nVSplitPos != 0 ? m_nVSplitPos : static_cast<int>(lParam);
      SplitAt(x, y);
      return 0;
    }
    case MYWM_SETACTIVEPANE:
      SetActivePaneIndex(static_cast<int>(wParam));
      return 0;
    default:
      return 0;
  }
}

LRESULT CSplitterWnd::OnPaint(HWND hwnd, UINT, WPARAM, LPARAM) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  RECT rc{};
  GetClientRect(hwnd, &rc);
  const HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  if (m_nAllSplitRows == 2) {
    const RECT bar{rc.left, m_nVSplitPos, rc.right, m_nVSplitPos + kBarWidth};
    FillRect(hdc, &bar, face);
  }
  if (m_nAllSplitCols == 2) {
    const RECT bar{m_nHSplitPos, rc.top, m_nHSplitPos + kBarWidth, rc.bottom};
    FillRect(hdc, &bar, face);
  }
  EndPaint(hwnd, &ps);
  return 0;
}

LRESULT CSplitterWnd::OnLButtonDown(HWND hwnd, UINT, WPARAM, LPARAM lParam) {
  const int px = PointX(lParam);
  const int py = PointY(lParam);
  SetFocus(m_hwndParent);
  m_bDragging = HitTestBar(px, py);
  if (m_bDragging == 0) return 0;
  SetCapture(hwnd);
  m_nDragPosX = px;
  m_nDragPosY = py;
  DrawDragBars(px, py);
  return 0;
}

LRESULT CSplitterWnd::OnMouseMove(HWND, UINT, WPARAM, LPARAM lParam) {
  int px = PointX(lParam);
  int py = PointY(lParam);
  SetCursorFor(HitTestBar(px, py));
  if (m_bDragging == 0) return 0;
  int w = 0;
  int h = 0;
  ClientSize(&w, &h);
  px = std::max(1, std::min(px, w - kDragBarWidth));
  py = std::max(1, std::min(py, h - kDragBarWidth));
  DrawDragBars(m_nDragPosX, m_nDragPosY);
  m_nDragPosX = px;
  m_nDragPosY = py;
  DrawDragBars(px, py);
  return 0;
}

LRESULT CSplitterWnd::OnLButtonUp(HWND, UINT, WPARAM, LPARAM) {
  if (m_bDragging == 0) return 0;
  DrawDragBars(m_nDragPosX, m_nDragPosY);
  const int mode = m_bDragging;
  m_bDragging = 0;
  ReleaseCapture();
  const int dragX = m_nAllSplitCols == 2 ? m_nDragPosX : 0;
  const int dragY = m_nAllSplitRows == 2 ? m_nDragPosY : 0;
  switch (mode) {
    case 1:
      SplitAt(m_nHSplitPos, dragY);
      break;
    case 2:
      SplitAt(dragX, m_nVSplitPos);
      break;
    default:
      SplitAt(dragX, dragY);
      break;
  }
  return 0;
}

LRESULT CSplitterWnd::OnLButtonDblClk(HWND, UINT, WPARAM, LPARAM lParam) {
  const int px = PointX(lParam);
  const int py = PointY(lParam);
  switch (HitTestBar(px, py)) {
    case 1:
      SplitAt(m_nAllSplitCols == 2 ? m_nHSplitPos : 0, 0);
      break;
    case 2:
      SplitAt(0, m_nAllSplitRows == 2 ? m_nVSplitPos : 0);
      break;
    case 3:
      SplitAt(0, 0);
      break;
    default:
      break;
  }
  SetCursorFor(HitTestBar(px, py));
  return 0;
}

LRESULT CSplitterWnd::OnSize(HWND, UINT, WPARAM, LPARAM) {
  LayoutPanes();
  return 0;
}
