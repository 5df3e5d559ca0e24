// Placeholder bodies until this part is built.
#include "editor/view/pane/edit_view.h"

SelectRect CEditView::MakeSelectionRect(int, int, int, int) const { return {}; }
void CEditView::BeginSelectionAtCaret() {}
void CEditView::ClearSelection(bool) {}
void CEditView::ChangeSelectionTo(int, int) {}
void CEditView::ComputeSelection(int, int, SelectRange*) const {}
int CEditView::IsPositionInSelection(int, int) const { return 0; }
int CEditView::ComparePositionWithRange(int, int, const SelectRange&) const { return 0; }
void CEditView::InvertSelection() {}
void CEditView::InvertSelectionLine(int, const SelectRange&) {}
void CEditView::InvertSelectionInRow(HDC, int, int) {}
