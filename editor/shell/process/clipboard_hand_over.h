// What an ending process does with the text it copied: hands it to the resident, which keeps it
// on the clipboard once this process is gone (platform/clipboard_keeper.h). The process classes
// call it as their process ends.
#pragma once

#include "editor/foundation/settings/shared_settings.h"

// True when the resident recorded in the shared record took the clipboard; false when this process
// no longer owns it, no resident is recorded, the resident is this process, or it did not take it
// within the send limit.
bool HandOverClipboardToResident(const SharedSettings* share);
