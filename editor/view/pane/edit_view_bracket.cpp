// Placeholder bodies until this part is built.
#include "editor/view/pane/edit_view.h"

bool CEditView::FindMatchingBracket(int, int, int*, int*, int*) { return false; }
void CEditView::UpdateBracketPair(bool) {}
void CEditView::DrawBracketHighlight(bool) {}
bool CEditView::IsBracketChar(const char*, int, int*) const { return false; }
