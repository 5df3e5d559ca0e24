// The selection as text, the clipboard in the editor's formats, and conversions of the selection.
#include "editor/view/pane/edit_view.h"

int CEditView::GetSelectedText(CMemory*, bool, const char*, bool, bool, int) { return 0; }
void CEditView::CopySelectedLines(const char*, bool) {}
void CEditView::GetSelectionOrWord(CMemory*) {}
int CEditView::GetWordBeforeCaret(CMemory*) { return 0; }
void CEditView::ConvertSelection(int) {}
void CEditView::ConvertText(CMemory*, int) {}
bool CEditView::GetClipboardText(CMemory*, bool*) { return false; }
bool CEditView::SetClipboardText(const char*, int, bool) { return false; }
