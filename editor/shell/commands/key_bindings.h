// Key assignments of the shared settings turned into an accelerator table, back into commands, and
// into the key texts of menus and of the key list.
//
// A record binds one key to eight commands, indexed by the modifiers m = Shift 1 + Ctrl 2 + Alt 4.
// An accelerator's id is m × 256 + key code.
#pragma once

#include <string>
#include <vector>

#include "editor/foundation/text/memory.h"
#include "editor/foundation/settings/shared_settings.h"
#include "platform/accelerator.h"
#include "platform/win_types.h"

class CCommandCatalog;

// Null when no record assigns anything. Each process builds its own: the handle is not shared.
HACCEL CreateKeyAccelerators(int nKeyNameArrNum, const KeyAssignRecord* pKeyNameArr);
// The command of an accelerator id, 0 when none.
int FindKeyCommand(int nAccelCmd, int nKeyNameArrNum, const KeyAssignRecord* pKeyNameArr);
// The key list (the text the key-list copy puts on the clipboard) into cMemList; the number of lines.
int MakeKeyAssignList(HINSTANCE hInstance, int nKeyNameArrNum, const KeyAssignRecord* pKeyNameArr, CMemory& cMemList,
                      const CCommandCatalog* pcCatalog);
// The first key text bound to the command; false when none.
bool GetKeyNameForCommand(int nKeyNameArrNum, const KeyAssignRecord* pKeyNameArr, CMemory& cMemList, int nFuncId);
// Every key text bound to the command, in search order; the count.
int GetAllKeyNamesForCommand(int nKeyNameArrNum, const KeyAssignRecord* pKeyNameArr, std::vector<std::string>& names,
                             int nFuncId);
// A menu label with the command's display name where it has none, and with its key after a TAB.
void GetMenuLabelWithKey(HINSTANCE hInstance, int nKeyNameArrNum, const KeyAssignRecord* pKeyNameArr, int nFuncId,
                         std::string& label, bool bGetKeyStr);
