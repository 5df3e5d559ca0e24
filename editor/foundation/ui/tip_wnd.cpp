#include "editor/foundation/ui/tip_wnd.h"

#include <algorithm>
#include <string_view>

#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/sjis_char.h"
#include "platform/cursor.h"
#include "platform/dc_text.h"
#include "platform/sys_color.h"
#include "platform/window_dc.h"

using namespace platform;

namespace {

constexpr UINT kTipFormat = DT_WORDBREAK | DT_EXPANDTABS | DT_EXTERNALLEADING;

// Calls f(line) for each line of a tip text; an empty line comes as " ", which has a height.
template <typename F>
void ForEachTipLine(std::string_view text, F&& f) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const int len = static_cast<int>(text.size());
  int lineStart = 0;
  int i = 0;
  while (i < len) {
    if (p[i] == '\\' && i + 1 < len && p[i + 1] == 'n') {
      f(text.substr(lineStart, i - lineStart));
      i += 2;
      lineStart = i;
      continue;
    }
    i += SjisCharSize(p, len, i);
  }
  f(text.substr(lineStart));
}

std::string_view Shown(std::string_view line) { return line.empty() ? std::string_view(" ") : line; }

LOGFONT KeywordHelpFont() {
  if (CShareData* share = CShareData::GetInstance(); share && share->GetShareData()) {
    return share->GetShareData()->Common.khlf;
  }
  return InterfaceFont();
}

}  // namespace

CTipWnd::CTipWnd() { AppendClassInheritance("CTipWnd"); }

CTipWnd::~CTipWnd() = default;

void CTipWnd::Create(HINSTANCE hInstance, HWND hwndParent) {
  m_hInstance = hInstance;
  m_hwndParent = hwndParent;
  RegisterWC(nullptr, nullptr, LoadCursor(nullptr, IDC_ARROW),
             reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_INFOBK + 1)), nullptr, m_pszClassName);
  CWnd::Create(WS_EX_TOOLWINDOW, m_pszClassName, nullptr, WS_POPUP | WS_CLIPCHILDREN | WS_BORDER, CW_USEDEFAULT, 0,
               CW_USEDEFAULT, 0, nullptr);
  m_hFont.reset();
  const LOGFONT lf = KeywordHelpFont();
  m_hFont = CreateFontIndirect(&lf);
}

void CTipWnd::AfterCreate() {}

void CTipWnd::ShowTip(int x, int y, const char* pszText, const RECT* pRect) {
  if (pszText) m_cInfo.AssignString(pszText);
  RECT rc;
  if (pRect) {
    rc = *pRect;
  } else {
    MeasureText(&rc);
  }
  MoveWindow(m_hWnd, x, y, rc.right - rc.left + 8, rc.bottom - rc.top + 8, 1);
  ShowWindow(m_hWnd, SW_SHOWNA);
}

void CTipWnd::HideTip() { ShowWindow(m_hWnd, SW_HIDE); }

void CTipWnd::MeasureText(RECT* pRect) {
  // Without a window the text is measured as the screen would measure it: by a context without
  // pixels.
  MemDC screen;
  HDC hdc = GetDC(m_hWnd);
  HDC dc = hdc ? hdc : &screen;
  const Font* old = SelectFont(dc, m_hFont ? &*m_hFont : nullptr);
  const int cxScreen = GetSystemMetrics(SM_CXSCREEN);
  int widest = 0;
  int height = 0;
  ForEachTipLine(m_cInfo.View(), [&](std::string_view line) {
    const std::string_view shown = Shown(line);
    RECT rc{0, 0, cxScreen, 0};
    DrawTextA(dc, shown.data(), static_cast<int>(shown.size()), &rc, kTipFormat | DT_CALCRECT);
    widest = std::max<int>(widest, rc.right - rc.left);
    height += rc.bottom - rc.top;
  });
  SelectFont(dc, old);
  if (hdc) ReleaseDC(m_hWnd, hdc);
  *pRect = RECT{0, 0, widest + 4, height + 2};
}

LRESULT CTipWnd::OnPaint(HWND hwnd, UINT, WPARAM, LPARAM) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  if (!dc) return 0;
  SetBkMode(dc, TRANSPARENT);
  const Font* old = SelectFont(dc, m_hFont ? &*m_hFont : nullptr);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  const int cxScreen = GetSystemMetrics(SM_CXSCREEN);
  int y = 0;
  ForEachTipLine(m_cInfo.View(), [&](std::string_view line) {
    const std::string_view shown = Shown(line);
    RECT rc{4, y, cxScreen, y + 200};
    y += DrawTextA(dc, shown.data(), static_cast<int>(shown.size()), &rc, kTipFormat);
  });
  SelectFont(dc, old);
  EndPaint(hwnd, &ps);
  return 0;
}
