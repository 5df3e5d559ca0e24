// Placeholder bodies until this part is built.
#include "editor/view/pane/edit_view.h"

void CEditView::PaintView(HDC, const RECT*) {}
int CEditView::PaintLine(HDC, int, int, int*, int*, int, bool) { return 0; }
void CEditView::SelectTextColor(HDC, int) {}
int CEditView::DrawTextRun(HDC, int, int, const char*, int) { return 0; }
void CEditView::DrawLineEndMark(HDC, int, int, int, COLORREF, bool) {}
void CEditView::DrawTabArrow(HDC, int, int, COLORREF, bool) {}
void CEditView::DrawEofMark(HDC, int, int) {}
int CEditView::GetColorStateAt(HDC, int, int) { return 0; }
bool CEditView::FindNextSearchHit(const char*, int, int, int*, int*) { return false; }
void CEditView::SetSearchHighlight(const char*, bool, bool, bool) {}
