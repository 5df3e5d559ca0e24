// The splitter: the child window of an edit window that holds the document's four panes in one,
// two or four places around 3-pixel bars, lets the user drag the bars, and decides which pane
// inherits which caret and scroll state when panes appear or disappear.
#pragma once

#include <array>

#include "editor/foundation/document/doc_interfaces.h"
#include "editor/foundation/ui/wnd.h"

class IEditWindow;

class CSplitterWnd : public CWnd, public IDocSplitter {
 public:
  CSplitterWnd();
  ~CSplitterWnd() override;

  // Makes the splitter as a visible child of the parent; the edit window (may be null) decides
  // the size grip.
  HWND Create(HINSTANCE hInstance, HWND hwndParent, IEditWindow* pcEditWnd);
  void AttachPanes(const std::array<HWND, 4>& panes);
  void SplitAt(int x, int y);
  void ToggleSplitV();
  void ToggleSplitH();
  void ToggleSplitVH();
  void SetActivePaneIndex(int index);
  int PrevPaneIndex() const;
  int NextPaneIndex() const;
  int GetLayoutKind() const;

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
  int m_nVSplitPos = 0;
  int m_nHSplitPos = 0;
  std::array<HWND, 4> m_ChildWndArr{};
  int m_bDragging = 0;
  int m_nDragPosX = 0;
  int m_nDragPosY = 0;
  int m_nActivePane = 0;
};
