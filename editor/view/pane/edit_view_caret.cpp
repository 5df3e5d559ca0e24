// Placeholder bodies until this part is built.
#include "editor/view/pane/edit_view.h"

void CEditView::UpdateCaret() {}
void CEditView::SetImeCompositionPos() {}
void CEditView::SetImeCompositionFont() {}
void CEditView::ShowCaretOnce() {}
void CEditView::HideCaretOnce() {}
int CEditView::PlaceCursor(int, int, bool, int) { return 0; }
bool CEditView::ClampPositionToEnd(int*, int*) { return false; }
void CEditView::MoveCursorToPoint(int, int) {}
int CEditView::MoveCursorVertically(int, bool) { return 0; }
int CEditView::ScrollToTopLine(int) { return 0; }
int CEditView::ScrollToLeftColumn(int) { return 0; }
void CEditView::FollowVertically(int) {}
void CEditView::FollowHorizontally(int) {}
void CEditView::OnVScrollBar(int, int) {}
void CEditView::OnHScrollBar(int, int) {}
void CEditView::UpdateScrollBars() {}
int CEditView::LineColumnToOffset(int, int) { return 0; }
int CEditView::LineColumnToOffsetEx(int, int, int*) { return 0; }
int CEditView::LineOffsetToColumn(int, int) { return 0; }
int CEditView::DocLineColumnToOffset(int, int) { return 0; }
int CEditView::DocLineOffsetToColumn(int, int) { return 0; }
