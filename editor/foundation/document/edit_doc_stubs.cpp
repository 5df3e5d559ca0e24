// Temporary definitions so the tree links while the document's parts are built; each part's file
// replaces its block here.
#include "editor/foundation/document/edit_doc.h"

// The file dialogs come with the file dialog object; until then the dialog counts as cancelled.
bool CEditDoc::ShowOpenDialog(HWND, const char*, char*, int*, bool*) { return false; }
bool CEditDoc::ShowSaveDialog(char*, int*, int*, bool*) { return false; }
