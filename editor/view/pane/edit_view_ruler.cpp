// Placeholder bodies until this part is built.
#include "editor/view/pane/edit_view.h"

void CEditView::PaintLineNumber(HDC, int, int, int) {}
void CEditView::PaintRuler(HDC) {}
void CEditView::PaintGuideLines(HDC) {}
void CEditView::DrawCursorLineUnderline(bool) {}
void CEditView::EraseCursorLineUnderline(bool) {}

void CCursorLineUnderline::Show(bool) {}
void CCursorLineUnderline::Hide(bool) {}
