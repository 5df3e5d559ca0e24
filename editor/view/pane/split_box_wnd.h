// The small drag boxes at the ends of a pane's scroll bars: dragging or double-clicking one asks
// the splitter (through the pane) to split there. A vertical box splits into upper and lower panes
// and sits at the top of the vertical scroll bar; a horizontal box splits into left and right panes
// and sits at the left end of the horizontal scroll bar. While a box is dragged, an inverted bar
// over the splitter shows where the split will be.
#pragma once

#include "editor/foundation/ui/wnd.h"
#include "platform/mem_dc.h"

class CSplitBoxWnd : public CWnd {
 public:
  CSplitBoxWnd();
  ~CSplitBoxWnd() override;

  // Makes the box as a visible child of the pane window; null when it cannot be made.
  HWND Create(HINSTANCE hInstance, HWND hwndParent, int bVertical);

  const char* m_pszClassName = "VSplitBoxWnd";
  int m_bVertical = 1;
  int m_nDragPosY = 0;  // splitter client coordinates
  int m_nDragPosX = 0;

 protected:
  LRESULT OnPaint(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnLButtonDown(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnMouseMove(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnLButtonUp(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnLButtonDblClk(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

 private:
  // The splitter: the pane's parent.
  HWND Splitter() const;
  // Inverts the bar at the drag position on the splitter; drawn twice, it is gone.
  void DrawDragBar();
};

// A one-pixel frame: top and left edges in the first colour, right and bottom in the second.
void Draw3DFrame(HDC hdc, int x, int y, int width, int height, COLORREF first, COLORREF second);
