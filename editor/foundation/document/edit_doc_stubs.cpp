// Temporary definitions so the tree links while the document's parts are built; each part's file
// replaces its block here.
#include "editor/foundation/document/edit_doc.h"

#include "platform/clock.h"

CAutoSaveTimer::CAutoSaveTimer() : m_nStartTick(static_cast<uint32_t>(platform::NowMs())), m_nInterval(60000) {}
