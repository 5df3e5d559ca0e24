// Placeholder bodies until this part is built.
#include "editor/view/pane/edit_view.h"

CEditView::ReconvertText CEditView::HandleReconvertString() { return {}; }
bool CEditView::HandleConfirmReconvert(int, int) { return false; }
