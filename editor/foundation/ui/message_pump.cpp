#include "editor/foundation/ui/message_pump.h"

#include "platform/dialog.h"

bool PumpPendingMessages(HWND hwndDlgCancel) {
  MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      platform::PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (hwndDlgCancel && platform::IsDialogMessage(hwndDlgCancel, &msg)) continue;
    platform::TranslateMessage(&msg);
    platform::DispatchMessage(&msg);
  }
  return true;
}
