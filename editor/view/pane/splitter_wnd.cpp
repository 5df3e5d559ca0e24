#include "editor/view/pane/splitter_wnd.h"

CSplitterWnd::CSplitterWnd() = default;
CSplitterWnd::~CSplitterWnd() = default;
HWND CSplitterWnd::Create(HINSTANCE, HWND, IEditWindow*) { return nullptr; }
void CSplitterWnd::AttachPanes(const std::array<HWND, 4>& panes) { m_ChildWndArr = panes; }
void CSplitterWnd::SplitAt(int, int) {}
void CSplitterWnd::ToggleSplitV() {}
void CSplitterWnd::ToggleSplitH() {}
void CSplitterWnd::ToggleSplitVH() {}
void CSplitterWnd::SetActivePaneIndex(int index) { m_nActivePane = index; }
int CSplitterWnd::PrevPaneIndex() const { return -1; }
int CSplitterWnd::NextPaneIndex() const { return -1; }
int CSplitterWnd::GetLayoutKind() const { return 0; }
void CSplitterWnd::Move(int, int, int, int) {}
int CSplitterWnd::NextVisiblePane(int) const { return -1; }
int CSplitterWnd::PrevVisiblePane(int) const { return -1; }
