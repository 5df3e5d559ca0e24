// The input method is off in full screen and on in a window.
#pragma once

// Each turns the input method of the application's window on or off, once per change: a call in
// the direction already taken does nothing.
void EnableIME();
void DisableIME();
