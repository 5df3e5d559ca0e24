// Placeholder bodies until this part is built.
#include "editor/view/pane/edit_view.h"

LRESULT CEditView::RunCommand(int, bool, LPARAM, LPARAM, LPARAM, LPARAM) { return 0; }
void CEditView::Command_SETMSGQUOTESTR(const char*) {}
