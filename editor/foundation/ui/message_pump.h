// Letting waiting messages through while a long job runs on the window's thread.
#pragma once

#include "platform/window.h"

// Dispatches every waiting message (those of the dialog, when one is given, through it) and
// returns true once the queue is empty. A quit request ends it with false and stays in the queue,
// so that the loop outside the job still ends the program. What is dispatched may act on the
// windows around the job: the caller is prepared for that.
bool PumpPendingMessages(HWND hwndDlgCancel);
