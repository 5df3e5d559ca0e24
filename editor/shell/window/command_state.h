// Whether a command of the edit window can run now and whether it shows as switched on: the grey
// and check states of the menu items and toolbar buttons. Both read the document (with the panes,
// frame, dialogs and macros it reaches through its ports) and the shared record, and nothing else,
// so the menus, the toolbar and the panes' right-click menus agree.
#pragma once

#include "editor/foundation/settings/shared_settings.h"

class CEditDoc;

// False (grey) when the document refuses the command as read-only or unlocked, or its rule says so.
bool IsCommandEnabled(const CEditDoc& doc, const SharedSettings& record, int command);
// True (check mark) when the command's state is on.
bool IsCommandChecked(const CEditDoc& doc, const SharedSettings& record, int command);
