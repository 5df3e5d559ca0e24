#include "editor/view/pane/split_box_wnd.h"

CSplitBoxWnd::CSplitBoxWnd() = default;
CSplitBoxWnd::~CSplitBoxWnd() = default;
HWND CSplitBoxWnd::Create(HINSTANCE, HWND, int) { return nullptr; }
LRESULT CSplitBoxWnd::OnPaint(HWND h, UINT m, WPARAM w, LPARAM l) { return CWnd::OnPaint(h, m, w, l); }
LRESULT CSplitBoxWnd::OnLButtonDown(HWND h, UINT m, WPARAM w, LPARAM l) { return CWnd::OnLButtonDown(h, m, w, l); }
LRESULT CSplitBoxWnd::OnMouseMove(HWND h, UINT m, WPARAM w, LPARAM l) { return CWnd::OnMouseMove(h, m, w, l); }
LRESULT CSplitBoxWnd::OnLButtonUp(HWND h, UINT m, WPARAM w, LPARAM l) { return CWnd::OnLButtonUp(h, m, w, l); }
LRESULT CSplitBoxWnd::OnLButtonDblClk(HWND h, UINT m, WPARAM w, LPARAM l) { return CWnd::OnLButtonDblClk(h, m, w, l); }
void Draw3DFrame(HDC, int, int, int, int, COLORREF, COLORREF) {}
