#include "editor/foundation/ui/system_utils.h"

bool PumpPendingMessages(HWND hwndDlgCancel) {
  (void)hwndDlgCancel;  // the dialog facility routes a dialog's keys itself
  MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Taking the quit would leave the program running once the job ends.
      platform::PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    platform::TranslateMessage(&msg);
    platform::DispatchMessage(&msg);
  }
  return true;
}
