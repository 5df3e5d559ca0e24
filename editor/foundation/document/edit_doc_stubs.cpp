// Temporary definitions so the tree links while the document's parts are built; each part's file
// replaces its block here.
#include "editor/foundation/document/edit_doc.h"

#include "platform/clock.h"

CAutoSaveTimer::CAutoSaveTimer() : m_nStartTick(static_cast<uint32_t>(platform::NowMs())), m_nInterval(60000) {}

// Weak, so that the real definition wins wherever it is linked in: the auto-save settings are
// built beside the opening.
__attribute__((weak)) void CEditDoc::ReloadAutoSaveSettings() {}

// The file dialogs come with the file dialog object; until then the dialog counts as cancelled.
bool CEditDoc::ShowOpenDialog(HWND, const char*, char*, int*, bool*) { return false; }
bool CEditDoc::ShowSaveDialog(char*, int*, int*, bool*) { return false; }
