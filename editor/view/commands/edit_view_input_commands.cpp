// Typing and the other commands that put text in at the caret, and indentation.
#include <span>

#include "editor/view/commands/command_handler.h"
#include "editor/view/pane/edit_view.h"

void CEditView::Command_CHAR(int) {}
void CEditView::Command_CHARIME(int) {}
void CEditView::Command_INSTEXT(bool, const char*, int, bool) {}
void CEditView::Command_ADDTAIL(const char*, int) {}
void CEditView::Command_DUPLICATELINE() {}
void CEditView::Command_INDENTTAB() {}
void CEditView::Command_INDENTSPACE(char) {}
void CEditView::Command_UNINDENT(char) {}
void CEditView::Command_INSERTDATE() {}
void CEditView::Command_INSERTTIME() {}
void CEditView::Command_CTRLCODEDIALOG() {}
void CEditView::Command_CHGMODINS() {}
void CEditView::Command_CHGMODEOL(int) {}
void CEditView::Command_IME_RECONVERSION() {}
void CEditView::IndentLines(const char*, int, bool) {}
void CEditView::SmartIndentCpp(char) {}
void CEditView::RTrimPrevLine() {}

// The family's registration table.
std::span<const CommandHandlerEntry> InputCommandFamily() { return {}; }
