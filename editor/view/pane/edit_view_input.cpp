// Placeholder bodies until this part is built.
#include "editor/view/pane/edit_view.h"

void CEditView::HandleLButtonDown(WPARAM, int, int) {}
void CEditView::HandleLButtonUp(WPARAM, int, int) {}
void CEditView::HandleLButtonDblClk(WPARAM, int, int) {}
void CEditView::HandleRButtonUp(WPARAM, int, int) {}
void CEditView::HandleMButtonDown(WPARAM, int, int) {}
void CEditView::HandleXButton1Down(WPARAM, int, int) {}
void CEditView::HandleXButton2Down(WPARAM, int, int) {}
void CEditView::HandleMouseMove(WPARAM, int, int) {}
void CEditView::HandleMouseWheel(WPARAM) {}
bool CEditView::IsUrlAtCaret(int, int, int*, int*, int*, CMemory*) { return false; }
bool CEditView::RunMouseBinding(int, bool) { return false; }
