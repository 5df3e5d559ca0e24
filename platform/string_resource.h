// String resources by id: the program registers its texts (Shift-JIS) at start-up, and LoadString
// reads them back the way the editor's lists and menus expect.
//
// Contract: RegisterString stores a copy under the id, replacing an earlier one. LoadString copies
// at most size - 1 bytes of the text, cut on a whole Shift-JIS character, and a NUL; it returns the
// bytes copied, 0 for an unknown id, an empty text, a null buffer or a size below 1. The instance
// handle is accepted for the callers' shape and not used. Safe from any thread.
#pragma once

#include <string_view>

#include "platform/win_types.h"

namespace platform {

void RegisterString(UINT id, std::string_view text);
// The registered text, or an empty view; the view stays valid until the id is registered again.
std::string_view FindString(UINT id);

}  // namespace platform

int LoadString(HINSTANCE hInstance, UINT uID, char* lpBuffer, int cchBufferMax);
