// The pane's life and window: construction, the windowless core's image, the pane window with its
// children, the message table, focus, sizing and the document's pane port.
#include "editor/view/pane/edit_view.h"

#include <algorithm>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/ui/tip_wnd.h"
#include "editor/view/commands/command_ids.h"
#include "editor/view/pane/edit_window.h"
#include "editor/view/pane/split_box_wnd.h"
#include "platform/caret.h"
#include "platform/clock.h"
#include "platform/dc_text.h"
#include "platform/first_frame_mark.h"
#include "platform/desktop.h"
#include "platform/ime_composition.h"
#include "platform/ime_query.h"
#include "platform/input_method.h"
#include "platform/key_state.h"
#include "platform/scroll_bar.h"
#include "platform/sjis_literal.h"
#include "platform/timer.h"
#include "platform/wheel_scroll.h"
#include "platform/window_dc.h"

namespace {

constexpr char kClassName[] = "EditorClient";
// The mouse rests this long before the keyword tip shows.
constexpr DWORD kTipDelayMs = 300;

// The pane whose window is being made: its procedure meets WM_CREATE before CreateWindowEx returns.
CEditView* g_creatingPane = nullptr;

CEditView* PaneOf(HWND hwnd) { return reinterpret_cast<CEditView*>(platform::GetWindowLongPtr(hwnd, 0)); }

void EditViewTimerProc(HWND hwnd, UINT, UINT_PTR, DWORD) {
  if (CEditView* pane = PaneOf(hwnd)) pane->OnTimer();
}

}  // namespace

// What the input method asks of the pane window: the caret's cell, the pane's font, the text around
// the caret for reconversion, and the text colours for its preedit.
class PaneImeQueries final : public platform::ImeQueryProvider {
 public:
  explicit PaneImeQueries(CEditView& view) : m_view(view) {}
  RECT ImeCaretRect() override { return m_view.ImeCompositionRect(); }
  const platform::Font* ImeFont() override { return m_view.GetFontFor(false, false); }
  platform::ImeReconversion ImeReconversionText() override {
    CEditView::ReconvertText text = m_view.HandleReconvertString();
    return platform::ImeReconversion{std::move(text.text), text.targetStart, text.targetLength};
  }
  platform::TextColors ImePreeditColors() override {
    const ColorItem& text = m_view.ColorOf(0);
    return platform::TextColors{text.colText, text.colBack, true};
  }

 private:
  CEditView& m_view;
};

namespace {

class NoMacros : public IViewMacros {
 public:
  void RecordCommand(int, int, LPARAM, CEditView*) override {}
  bool ExecuteSlot(int, HINSTANCE, CEditView*) override { return false; }
};
// The desktop's wheel setting.
class NoWheel : public IWheelSettings {
 public:
  std::optional<int> WheelScrollLines() const override { return platform::WheelScrollLines(); }
};
NoMacros g_noMacros;
NoWheel g_noWheel;
IViewMacros* g_macros = &g_noMacros;
IWheelSettings* g_wheel = &g_noWheel;

}  // namespace

IViewMacros* GetViewMacros() { return g_macros; }
void SetViewMacros(IViewMacros* m) { g_macros = m ? m : &g_noMacros; }
IWheelSettings* GetWheelSettings() { return g_wheel; }
void SetWheelSettings(IWheelSettings* s) { g_wheel = s ? s : &g_noWheel; }

// ---- Life ----------------------------------------------------------------------------------------

CEditView::CEditView() {
  CShareData* share = CShareData::GetInstance();
  m_pShareData = share ? share->GetShareData() : nullptr;
  m_hdcView = std::make_unique<platform::MemDC>();
  // Without the library, search hits and keywords of regular expressions are simply not shown.
  m_CurRegexp.Load();
  CreateFonts();
  RecalcGeometry();
  m_dwTipTimer = platform::NowMs();
  m_cUnderLine.Bind(this);
  m_cHistory.SetMaxCount(kHistoryMax);
}

CEditView::~CEditView() {
  if (m_hWnd) platform::DestroyWindow(m_hWnd);
  m_pcTipWnd.reset();
  m_pcsbwVSplitBox.reset();
  m_pcsbwHSplitBox.reset();
  if (m_hdcView) {
    platform::SelectFont(m_hdcView.get(), nullptr);
    m_hdcView->SelectBitmap(nullptr);
  }
}

void CEditView::AttachDocument(CEditDoc* pcEditDoc, int nMyIndex) {
  m_pcEditDoc = pcEditDoc;
  m_nMyIndex = nMyIndex;
  if (pcEditDoc && pcEditDoc->m_pShareData) m_pShareData = pcEditDoc->m_pShareData;
  m_pRegexKeyword = std::make_unique<CRegexHighlighter>();
  m_pRegexKeyword->BindType(&Type());
  CreateFonts();
  UpdateCharMetrics();
  m_cUnderLine.Bind(this);
}

void CEditView::SetClientSize(int width, int height) {
  ResizeImage(width, height);
  RecalcGeometry();
  RepaintAll();
}

int CEditView::Create(HINSTANCE hInstance, HWND hwndParent, CEditDoc* pcEditDoc, int nMyIndex, bool bShow) {
  m_hInstance = hInstance;
  m_hwndParent = hwndParent;
  AttachDocument(pcEditDoc, nMyIndex);

  WNDCLASSEX wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = EditViewWindowProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = hInstance;
  wc.hIcon = platform::LoadIcon(nullptr, IDI_APPLICATION);
  wc.hIconSm = wc.hIcon;
  wc.lpszClassName = kClassName;
  platform::RegisterClassEx(&wc);  // 0 once the class exists: harmless

  // Hidden unless asked: the splitter shows the panes a split needs.
  const DWORD style = WS_CHILD | WS_CLIPCHILDREN | (bShow ? WS_VISIBLE : 0);
  g_creatingPane = this;
  const HWND hwnd = platform::CreateWindowEx(0, kClassName, kClassName, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                             CW_USEDEFAULT, CW_USEDEFAULT, hwndParent, nullptr, hInstance, this);
  g_creatingPane = nullptr;
  if (!hwnd) {
    m_hWnd = nullptr;
    return 0;
  }
  m_hWnd = hwnd;
  // Typed Japanese reaches the pane through the input method, which asks the pane where and how.
  platform::EnableInputMethod(m_hWnd, true);
  m_pImeQueries = std::make_unique<PaneImeQueries>(*this);
  platform::SetImeQueryProvider(m_hWnd, m_pImeQueries.get());
  RegisterDropTarget();

  m_pcTipWnd = std::make_unique<CTipWnd>();
  m_pcTipWnd->Create(hInstance, m_hWnd);
  m_pcsbwVSplitBox = std::make_unique<CSplitBoxWnd>();
  m_pcsbwVSplitBox->Create(hInstance, m_hWnd, 1);
  m_pcsbwHSplitBox = std::make_unique<CSplitBoxWnd>();
  m_pcsbwHSplitBox->Create(hInstance, m_hWnd, 0);
  m_hwndVScrollBar = platform::CreateWindowEx(0, "SCROLLBAR", nullptr, WS_VISIBLE | WS_CHILD | SBS_VERT, 0, 0, 0, 0,
                                              m_hWnd, nullptr, hInstance, nullptr);
  if (Common().bScrollBarHorz) {
    m_hwndHScrollBar = platform::CreateWindowEx(0, "SCROLLBAR", nullptr, WS_VISIBLE | WS_CHILD | SBS_HORZ, 0, 0, 0, 0,
                                                m_hWnd, nullptr, hInstance, nullptr);
  }
  CreateCornerBox(Common().nFUNCKEYWND_Place == 0);

  UpdateCharMetrics();
  if (bShow) platform::ShowWindow(m_hWnd, SW_SHOW);
  RepaintAll();

  if (!platform::SetTimer(m_hWnd, kTimerId, kTimerInterval, EditViewTimerProc)) {
    ShowMessageBox(
        m_hWnd, MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST, "tovara", "%s",
        "CEditView::Create()\nタイマーが起動できません。\nシステムリソースが不足しているのかもしれません。"_sj);
  }
  m_cUnderLine.Bind(this);
  return 1;
}

void CEditView::CreateCornerBox(bool bSizeGrip) {
  if (m_hwndSizeBox) platform::DestroyWindow(m_hwndSizeBox);
  m_bSizeBoxIsGrip = bSizeGrip;
  m_hwndSizeBox =
      bSizeGrip ? platform::CreateWindowEx(0, "SCROLLBAR", nullptr, WS_VISIBLE | WS_CHILD | SBS_SIZEBOX | SBS_SIZEGRIP,
                                           0, 0, 0, 0, m_hWnd, nullptr, m_hInstance, nullptr)
                : platform::CreateWindowEx(0, "STATIC", "", WS_VISIBLE | WS_CHILD, 0, 0, 0, 0, m_hWnd, nullptr,
                                           m_hInstance, nullptr);
}

void CEditView::ShowSplitBoxes(bool bVertical, bool bHorizontal, bool bSizeGrip) {
  if (!m_hWnd) return;
  if (bVertical && !m_pcsbwVSplitBox) {
    m_pcsbwVSplitBox = std::make_unique<CSplitBoxWnd>();
    m_pcsbwVSplitBox->Create(m_hInstance, m_hWnd, 1);
  } else if (!bVertical) {
    m_pcsbwVSplitBox.reset();
  }
  if (bHorizontal && !m_pcsbwHSplitBox) {
    m_pcsbwHSplitBox = std::make_unique<CSplitBoxWnd>();
    m_pcsbwHSplitBox->Create(m_hInstance, m_hWnd, 0);
  } else if (!bHorizontal) {
    m_pcsbwHSplitBox.reset();
  }
  CreateCornerBox(bSizeGrip);
  if (m_hwndSizeBox) platform::ShowWindow(m_hwndSizeBox, SW_SHOW);
  HandleSize(m_nClientWidth, m_nClientHeight);
}

// ---- Messages ------------------------------------------------------------------------------------

LRESULT CEditView::EditViewWindowProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  CEditView* pane = PaneOf(hwnd);
  if (!pane && uMsg == WM_CREATE) pane = g_creatingPane;
  if (!pane) return platform::DefWindowProc(hwnd, uMsg, wParam, lParam);
  if (uMsg == WM_COMMAND) {
    // Commands of the pane's children belong to the splitter and the edit window above it.
    platform::SendMessage(pane->m_hwndParent, WM_COMMAND, wParam, lParam);
    return platform::DefWindowProc(hwnd, uMsg, wParam, lParam);
  }
  return pane->DispatchEvent(hwnd, uMsg, wParam, lParam);
}

void CEditView::ActivateFromInput() {
  if (m_pEditWnd) {
    m_pEditWnd->TakeFocus();
  } else if (m_hWnd) {
    platform::SetFocus(m_hWnd);
  }
  if (m_pcEditDoc && !IsActivePane()) m_pcEditDoc->SetActivePane(m_nMyIndex);
}

LRESULT CEditView::DispatchEvent(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  const int x = static_cast<int16_t>(LOWORD(lParam));
  const int y = static_cast<int16_t>(HIWORD(lParam));
  switch (uMsg) {
    case WM_CREATE:
      platform::SetWindowLongPtr(hwnd, 0, reinterpret_cast<LONG_PTR>(this));
      m_hWnd = hwnd;
      return 0;
    case WM_DESTROY:
      platform::KillTimer(hwnd, kTimerId);
      RevokeDropTarget();
      for (HWND* child : {&m_hwndVScrollBar, &m_hwndHScrollBar, &m_hwndSizeBox}) {
        if (*child) platform::DestroyWindow(*child);
        *child = nullptr;
      }
      m_pcsbwVSplitBox.reset();
      m_pcsbwHSplitBox.reset();
      platform::SetWindowLongPtr(hwnd, 0, 0);
      m_hWnd = nullptr;
      return 0;
    case WM_SIZE:
      HandleSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_SETFOCUS:
      HandleSetFocus();
      if (m_pcEditDoc) m_pcEditDoc->UpdateCaption(false);
      return 0;
    case WM_KILLFOCUS:
      HandleKillFocus();
      return 0;
    case WM_PAINT: {
      // The window shows the pane's image: painting the part into it is all a paint needs.
      PAINTSTRUCT ps;
      platform::BeginPaint(hwnd, &ps);
      PaintView(GetViewDC(), &ps.rcPaint);
      platform::EndPaint(hwnd, &ps);
      // The start-up benchmark's moment; nothing without its variable.
      platform::MarkFirstFramePainted();
      return 0;
    }
    case WM_CLOSE:
      platform::DestroyWindow(hwnd);
      return 0;
    case WM_KEYUP:
      m_nLastCommand = 0;
      return 0;
    case WM_SYSKEYUP:
      m_nLastCommand = 0;
      return platform::DefWindowProc(hwnd, uMsg, wParam, lParam);
    case WM_CHAR:
      RunCommand(cmd::kChar, true, static_cast<LPARAM>(wParam), 0, 0, 0);
      return 0;
    case WM_IME_CHAR:
      // In insert mode the whole result string came with WM_IME_COMPOSITION.
      if (!IsInsertMode()) RunCommand(cmd::kCharIme, true, static_cast<LPARAM>(wParam), 0, 0, 0);
      return 0;
    case WM_IME_COMPOSITION:
      if (IsInsertMode() && (lParam & GCS_RESULTSTR)) {
        const std::string text = platform::ImeResultString(hwnd);
        if (!text.empty()) {
          RunCommand(cmd::kInsText, true, reinterpret_cast<LPARAM>(text.c_str()), static_cast<LPARAM>(text.size()), 1,
                     0);
        }
      }
      return platform::DefWindowProc(hwnd, uMsg, wParam, lParam);
    case WM_IME_REQUEST:
      // The text around the caret is served through the pane's query provider; what comes here is
      // the input method replacing part of it.
      if (wParam == IMR_CONFIRMRECONVERTSTRING) HandleConfirmReconvert(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL: {
      if (m_pEditWnd) m_pEditWnd->TakeFocus();
      const HWND bar = reinterpret_cast<HWND>(lParam);
      int pos = static_cast<int16_t>(HIWORD(wParam));
      SCROLLINFO info;
      info.fMask = SIF_TRACKPOS;
      if (bar && platform::GetScrollInfo(bar, SB_CTL, &info)) pos = info.nTrackPos;
      const bool follow = platform::GetKeyState(VK_SHIFT) >= 0;
      if (uMsg == WM_VSCROLL) {
        const int before = m_nViewTopLine;
        OnVScrollBar(LOWORD(wParam), pos * m_nVScrollRate);
        if (follow && m_nViewTopLine != before) FollowVertically(m_nViewTopLine - before);
      } else {
        const int before = m_nViewLeftCol;
        OnHScrollBar(LOWORD(wParam), pos);
        if (follow && m_nViewLeftCol != before) FollowHorizontally(m_nViewLeftCol - before);
      }
      if (m_pcEditDoc && !IsActivePane()) m_pcEditDoc->SetActivePane(m_nMyIndex);
      return 0;
    }
    case WM_MOUSEMOVE:
      HandleMouseMove(wParam, x, y);
      return 0;
    case WM_LBUTTONDOWN:
      ActivateFromInput();
      HandleLButtonDown(wParam, x, y);
      return 0;
    case WM_LBUTTONUP:
      HandleLButtonUp(wParam, x, y);
      return 0;
    case WM_LBUTTONDBLCLK:
      HandleLButtonDblClk(wParam, x, y);
      return 0;
    case WM_RBUTTONUP:
      HandleRButtonUp(wParam, x, y);
      return 0;
    case WM_RBUTTONDBLCLK:
      if (m_pEditWnd) m_pEditWnd->TakeFocus();
      return 0;
    case WM_MBUTTONDOWN:
      HandleMButtonDown(wParam, x, y);
      return 0;
    case WM_XBUTTONDOWN:
      if (HIWORD(wParam) == XBUTTON1) HandleXButton1Down(LOWORD(wParam), x, y);
      if (HIWORD(wParam) == XBUTTON2) HandleXButton2Down(LOWORD(wParam), x, y);
      return 1;
    case WM_MOUSEWHEEL:
      HandleMouseWheel(wParam);
      return 0;
    case WM_ENTERMENULOOP:
      m_bInMenuLoop = true;
      m_dwTipTimer = platform::NowMs();
      if (m_pcTipWnd) m_pcTipWnd->HideTip();
      return 0;
    case WM_EXITMENULOOP:
      m_bInMenuLoop = false;
      return 0;
    case MYWM_DOSPLIT:
      return platform::SendMessage(m_hwndParent, uMsg, wParam, lParam);
    case MYWM_SETACTIVEPANE:
      if (m_pcEditDoc) m_pcEditDoc->SetActivePane(m_nMyIndex);
      platform::PostMessage(m_hwndParent, MYWM_SETACTIVEPANE, static_cast<WPARAM>(m_nMyIndex), 0);
      return 0;
    default:
      return platform::DefWindowProc(hwnd, uMsg, wParam, lParam);
  }
}

void CEditView::OnTimer() {
  if (m_bDragSource) return;
  if (m_bBeginSelect) {
    // A drag held outside the pane keeps the selection growing and the text scrolling.
    if (m_hWnd && !IsMouseInPane()) HandleMouseMove(0, m_ptMouseRollPos.x, m_ptMouseRollPos.y);
    return;
  }
  if (!Type().bUseKeyWordHelp || m_nCaretWidth <= 0 || m_bInMenuLoop || m_dwTipTimer == 0 || !IsMouseInPane()) return;
  if (platform::NowMs() - m_dwTipTimer <= kTipDelayMs) return;
  CMemory word;
  if (!m_pcTipWnd || !GetSelectedFirstLine(&word) || !LookUpKeyword(word.GetPtr(), word.GetLength())) return;
  POINT mouse{};
  platform::GetCursorPos(&mouse);
  m_pcTipWnd->m_cKey.AssignFrom(m_cTipWord);
  m_pcTipWnd->m_KeyWasHit = 1;
  m_pcTipWnd->ShowTip(mouse.x, mouse.y + m_nCharHeight, m_cTipText.GetPtr(), nullptr);
  m_dwTipTimer = 0;
  m_poTipCurPos = mouse;
}

// ---- Size and focus ------------------------------------------------------------------------------

void CEditView::PlaceChildWindows(int width, int height) {
  const int barWidth = platform::GetSystemMetrics(SM_CXVSCROLL);
  const int barHeight = platform::GetSystemMetrics(SM_CYHSCROLL);
  const int right = width - barWidth;
  const int bottom = height - barHeight;
  int vTop = 0;
  if (m_pcsbwVSplitBox && m_pcsbwVSplitBox->GetHwnd()) {
    platform::MoveWindow(m_pcsbwVSplitBox->GetHwnd(), right, 0, barWidth, kSplitBoxSize, 1);
    vTop = kSplitBoxSize;
  }
  if (m_hwndVScrollBar) platform::MoveWindow(m_hwndVScrollBar, right, vTop, barWidth, std::max(0, bottom - vTop), 1);
  int hLeft = 0;
  if (m_pcsbwHSplitBox && m_pcsbwHSplitBox->GetHwnd()) {
    platform::MoveWindow(m_pcsbwHSplitBox->GetHwnd(), 0, bottom, kSplitBoxSize, barHeight, 1);
    hLeft = kSplitBoxSize;
  }
  if (m_hwndHScrollBar) platform::MoveWindow(m_hwndHScrollBar, hLeft, bottom, std::max(0, right - hLeft), barHeight, 1);
  if (m_hwndSizeBox) platform::MoveWindow(m_hwndSizeBox, right, bottom, barWidth, barHeight, 1);
}

void CEditView::HandleSize(int nWidth, int nHeight) {
  if (!m_hWnd || (nWidth == 0 && nHeight == 0)) return;
  ResizeImage(nWidth, nHeight);
  PlaceChildWindows(nWidth, nHeight);
  RecalcGeometry();
  UpdateScrollBars();
  RepaintAll();
}

void CEditView::HandleSetFocus() {
  int column = m_nCaretPosX;
  int line = m_nCaretPosY;
  if (m_pcEditDoc && ClampPositionToEnd(&column, &line)) PlaceCursor(column, line, false, 20);
  UpdateCaret();
  SetImeCompositionFont();
  m_bRedrawRuler = true;
  RepaintRulerNow();
  m_bFocused = true;
  DrawBracketHighlight(true);
}

void CEditView::HandleKillFocus() {
  DrawBracketHighlight(false);
  m_bFocused = false;
  if (m_hWnd && m_nCaretWidth > 0) platform::DestroyCaret();
  m_nCaretWidth = 0;
  m_bCaretShowFlag = false;
  m_bRedrawRuler = true;
  RepaintRulerNow();
  m_dwTipTimer = platform::NowMs();
  if (m_pcTipWnd) m_pcTipWnd->HideTip();
}

bool CEditView::IsInsertMode() const { return m_pcEditDoc ? m_pcEditDoc->m_bInsMode : true; }

void CEditView::SetInsertMode(bool insert) {
  if (m_pcEditDoc) m_pcEditDoc->m_bInsMode = insert;
}

// ---- The document's pane port --------------------------------------------------------------------

LRESULT CEditView::DispatchMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchEvent(window ? window : m_hWnd, message, wParam, lParam);
}

LRESULT CEditView::RunCommand(int command) { return RunCommand(command, true, 0, 0, 0, 0); }

void CEditView::ResetForNewText() {
  m_cHistory.MoveToNewest();
  ClearSelection(false);
  UpdateFonts();
  PlaceCursor(0, 0, true, 20);
  m_nCaretPosX_Prev = 0;
}

void CEditView::OnFocusLost() {
  DrawBracketHighlight(false);
  if (m_hWnd && m_nCaretWidth > 0) platform::DestroyCaret();
  m_nCaretWidth = 0;
  m_bCaretShowFlag = false;
  m_cUnderLine.Hide(true);
}

void CEditView::OnFocusGained() {
  if (m_hWnd) platform::SetFocus(m_hWnd);
  RepaintAll();
}

void CEditView::Redraw() { RepaintAll(); }

void CEditView::Invalidate() { InvalidateClient(nullptr); }

void CEditView::RecreateFonts() { UpdateFonts(); }

POINT CEditView::Caret() const { return POINT{m_nCaretPosX, m_nCaretPosY}; }

void CEditView::SetViewTopLeft(int topLine, int leftColumn) {
  m_nViewTopLine = std::max(0, topLine);
  m_nViewLeftCol = std::max(0, leftColumn);
  UpdateScrollBars();
  InvalidateClient(nullptr);
}

void CEditView::PlaceCaret(POINT position) {
  PlaceCursor(position.x, position.y, true, 20);
  m_nCaretPosX_Prev = m_nCaretPosX;
}

PaneMarks CEditView::GetMarks() const {
  PaneMarks marks;
  marks.caret = Caret();
  const SelectRange* ranges[3] = {&m_sSelect, &m_sSelectBgn, &m_sSelectOld};
  for (size_t i = 0; i < 3; ++i) {
    marks.ranges[2 * i] = POINT{ranges[i]->nColumnFrom, ranges[i]->nLineFrom};
    marks.ranges[2 * i + 1] = POINT{ranges[i]->nColumnTo, ranges[i]->nLineTo};
  }
  return marks;
}

void CEditView::RestoreMarks(const PaneMarks& marks) {
  PlaceCaret(marks.caret);
  SelectRange* ranges[3] = {&m_sSelect, &m_sSelectBgn, &m_sSelectOld};
  for (size_t i = 0; i < 3; ++i) {
    const POINT from = marks.ranges[2 * i];
    const POINT to = marks.ranges[2 * i + 1];
    if (from.y < 0) continue;
    *ranges[i] = SelectRange{from.y, from.x, to.y, to.x};
  }
}
