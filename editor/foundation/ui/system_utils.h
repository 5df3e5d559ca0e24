// How the editor meets the system around it: letting waiting messages through during a long job,
// and (as they are built) activation of edit windows, help topics, version queries and the other
// services a window-bound part of the editor asks of the platform.
//
// Everything here runs on the windows' thread.
#pragma once

#include "platform/window.h"

// Removes and dispatches every waiting message; one meant for the given dialog (null for none)
// goes to that dialog first. True once the queue is empty. A quit request ends the pump with false
// and is posted again, so the loop outside the job still ends the program. Whatever is dispatched
// may act on the windows around the job (even close them): the caller is ready for that.
bool PumpPendingMessages(HWND hwndDlgCancel);
