// The editor's one way to show a message: printf-style formatting into a 1024-byte text, then the
// platform's message box (which tests answer through its hook).
#pragma once

#include "platform/win_types.h"

// Formats the text (cut on a whole character when it would exceed 1023 bytes) and shows it;
// returns the button pressed.
int ShowMessageBox(HWND hwndOwner, UINT uType, const char* pszCaption, const char* pszFormat, ...)
    __attribute__((format(printf, 4, 5)));
