// Deleting characters, words and lines; cut, copy and paste; copying names, tags and the key list.
#include <span>

#include "editor/view/commands/command_handler.h"
#include "editor/view/pane/edit_view.h"

void CEditView::Command_DELETE() {}
void CEditView::Command_DELETEBACK() {}
void CEditView::Command_WORDDELETETOSTART() {}
void CEditView::Command_WORDDELETETOEND() {}
void CEditView::Command_WORDCUT() {}
void CEditView::Command_WORDDELETE() {}
void CEditView::Command_LINECUTTOSTART() {}
void CEditView::Command_LINECUTTOEND() {}
void CEditView::Command_LINEDELETETOSTART() {}
void CEditView::Command_LINEDELETETOEND() {}
void CEditView::Command_CUTLINE() {}
void CEditView::Command_DELETELINE() {}
void CEditView::Command_CUT() {}
void CEditView::Command_COPY(bool, bool, int) {}
void CEditView::Command_PASTE() {}
void CEditView::Command_PASTEBOX() {}
void CEditView::Command_COPYLINES() {}
void CEditView::Command_COPYLINESASPASSAGE() {}
void CEditView::Command_COPYLINESWITHLINENUMBER() {}
void CEditView::Command_COPYPATH() {}
void CEditView::Command_COPYFILENAME() {}
void CEditView::Command_COPYTAG() {}
void CEditView::Command_COPYKEYBINDLIST() {}
void CEditView::PasteBoxText(const char*, int) {}

// The family's registration table.
std::span<const CommandHandlerEntry> ClipboardCommandFamily() { return {}; }
