// The splitter: the child window of an edit window that holds the document's four panes in one,
// two or four places around 3-pixel bars, lets the user drag the bars, and decides which pane
// inherits which caret and scroll state when panes appear or disappear.
//
// Panes: index 0 upper left, 1 upper right, 2 lower left, 3 lower right. Every change of the
// layout goes through SplitAt. A split position of 0 means no split in that direction; a position
// closer than 32 pixels to the leading edge or 64 to the trailing one removes the split.
//
// The drag bars are inverted strips shown over the panes (the splitter's own picture lies under
// them). Without a window (tests) the splitter lays its panes out in the size given by
// SetClientSize. GUI thread only.
#pragma once

#include <array>

#include "editor/foundation/document/doc_interfaces.h"
#include "editor/foundation/ui/wnd.h"

class CEditView;
class IEditWindow;

class CSplitterWnd : public CWnd, public IDocSplitter {
 public:
  CSplitterWnd();
  ~CSplitterWnd() override;

  // Makes the splitter as a visible child of the parent; the edit window (may be null) decides
  // the size grip.
  HWND Create(HINSTANCE hInstance, HWND hwndParent, IEditWindow* pcEditWnd);
  // The pane windows alone: their pane objects are unknown, so no state is copied between them.
  void AttachPanes(const std::array<HWND, 4>& panes);
  // The pane objects, each with its window.
  void AttachPanes(const std::array<CEditView*, 4>& panes);
  // Windows and pane objects given apart; a pane object without a window of its own is sized
  // (SetClientSize) where its window would be placed.
  void AttachPanes(const std::array<HWND, 4>& windows, const std::array<CEditView*, 4>& panes);
  void SplitAt(int x, int y);
  void ToggleSplitV();
  void ToggleSplitH();
  void ToggleSplitVH();
  void SetActivePaneIndex(int index);
  int PrevPaneIndex() const;
  int NextPaneIndex() const;
  int GetLayoutKind() const;
  // 0 no bar, 1 the bar between the rows, 2 the bar between the columns, 3 their crossing.
  int HitTestBar(int x, int y) const;
  // The client size when there is no window.
  void SetClientSize(int width, int height);

  // IDocSplitter
  HWND Window() const override { return GetHwnd(); }
  void Move(int x, int y, int width, int height) override;
  int Columns() const override { return m_nAllSplitCols; }
  int Rows() const override { return m_nAllSplitRows; }
  int NextVisiblePane(int index) const override;
  int PrevVisiblePane(int index) const override;
  void SetActivePane(int index) override { SetActivePaneIndex(index); }

  const char* m_pszClassName = "SplitterWndClass";
  IEditWindow* m_pcEditWnd = nullptr;
  int m_nAllSplitRows = 1;
  int m_nAllSplitCols = 1;
  int m_nVSplitPos = 0;  // y of the bar between the rows
  int m_nHSplitPos = 0;  // x of the bar between the columns
  std::array<HWND, 4> m_ChildWndArr{};
  int m_bDragging = 0;  // bit 1 the row bar, bit 2 the column bar
  int m_nDragPosX = 0;
  int m_nDragPosY = 0;
  int m_nActivePane = 0;

 protected:
  LRESULT OnAppMessage(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnPaint(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnLButtonDown(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnLButtonUp(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnLButtonDblClk(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnMouseMove(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnSize(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

 private:
  // Where a toggle command splits: no split, half the client size, or the current position.
  struct ToggleTarget {
    enum Take { kNone, kHalf, kCurrent };
    Take x;
    Take y;
  };
  void Toggle(const std::array<ToggleTarget, 4>& targets);
  void LayoutPanes();
  // Split boxes and corner of each visible pane for the current layout.
  void ShowPaneBoxes(bool bSizeGrip);
  bool SizeGripCondition() const;
  void ClientSize(int* pnWidth, int* pnHeight) const;
  void PlacePane(int index, int x, int y, int width, int height);
  // Copies the view state of pane from into pane to when both exist.
  void CopyState(int from, int to);
  void CopyStatesFor(int oldKind, int newKind, bool bXClosed, bool bYClosed);
  int PaneToActivate(int newKind, int prevActive) const;
  void DrawDragBars(int x, int y);
  void SetCursorFor(int hit) const;

  std::array<CEditView*, 4> m_pcEditViewArr{};
  int m_nClientWidth = 0;
  int m_nClientHeight = 0;
};
