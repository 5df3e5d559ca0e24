// What the input method composes for a window: the text being composed (the preedit, which the
// window draws itself) and the text the user commits, which arrives as characters.
//
// A commit becomes WM_IME_COMPOSITION with GCS_RESULTSTR in lParam and the first character's code
// in wParam (lead << 8 | trail for a double-byte one), queued after the input that came before it;
// while the window procedure handles that message, ImeResultString gives the committed text in
// Shift-JIS. DefWindowProc then sends WM_IME_CHAR for each character of it, in order (wParam the
// byte of a single-byte character, lead << 8 | trail of a double-byte one), so a window that leaves
// the message to it sees characters only.
//
// A change of the preedit queues WM_IME_COMPOSITION with GCS_COMPSTR | GCS_CURSORPOS (wParam 0):
// the window reads ImeCompositionString and ImeCompositionCursor and draws them; the preedit never
// becomes characters. A commit ends the preedit, unless the same event starts a new one. Only
// windows that take the input method (input_method.h) are given any of this. GUI thread only.
#pragma once

#include <string>

#include "platform/win_types.h"

constexpr UINT WM_IME_STARTCOMPOSITION = 0x010D;
constexpr UINT WM_IME_ENDCOMPOSITION = 0x010E;
constexpr UINT WM_IME_COMPOSITION = 0x010F;
constexpr UINT WM_IME_CHAR = 0x0286;

// Sent by the input method's side of the window. With IMR_CONFIRMRECONVERTSTRING it is queued just
// before the WM_IME_COMPOSITION of a commit that replaces a range of the text around the caret (or
// alone, when the input method only removes that range before composing its replacement): lParam
// is MAKELPARAM(start, length) of the replaced range in UTF-16 units of the reconversion text the
// window's provider served (platform/ime_query.h). The window makes that range its selection first,
// so that the committed text then takes its place. Its answer is not used.
constexpr UINT WM_IME_REQUEST = 0x0288;
constexpr WPARAM IMR_RECONVERTSTRING = 0x0004;
constexpr WPARAM IMR_CONFIRMRECONVERTSTRING = 0x0005;

// WM_IME_COMPOSITION's lParam: what changed.
constexpr LPARAM GCS_COMPSTR = 0x0008;
constexpr LPARAM GCS_CURSORPOS = 0x0080;
constexpr LPARAM GCS_RESULTSTR = 0x0800;

namespace platform {

// The committed text of the WM_IME_COMPOSITION being handled for the window; empty otherwise.
std::string ImeResultString(HWND hwnd);
// The window's preedit, Shift-JIS, and the caret's byte offset in it.
std::string ImeCompositionString(HWND hwnd);
int ImeCompositionCursor(HWND hwnd);

}  // namespace platform
