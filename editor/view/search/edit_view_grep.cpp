#include "editor/view/pane/edit_view.h"

int CEditView::RunGrep(const char*, const char*, const char*, bool, bool, bool, int, bool, bool, int) { return 0; }
