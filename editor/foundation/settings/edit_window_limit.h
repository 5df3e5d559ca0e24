// How many edit windows may be open at once, and the one message that says the limit is reached.
#pragma once

#include "editor/foundation/settings/shared_settings.h"
#include "platform/win_types.h"

// The shared window list holds this many windows at most.
inline constexpr int kEditWindowMax = kEditWindowSlots;

// Tells the user that no further edit window can open (OK button, owned by owner or by none).
void ShowEditWindowLimit(HWND owner);
// True while the list has room for another window; at the limit, tells the user and gives false.
// A missing record counts as room: there is no list to be full.
bool BelowEditWindowLimit(const SharedSettings* record, HWND owner);
