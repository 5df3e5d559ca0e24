// WM_COPYDATA through an ipc id: the window gets the sender, the tag and the bytes, exactly.
#include <gtest/gtest.h>
#include <string>

#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/window.h"

namespace {

using namespace platform;

struct Received {
  WPARAM from = 0;
  uintptr_t tag = 0;
  std::string bytes;
  int calls = 0;
};

Received& Last() {
  static Received received;
  return received;
}

LRESULT CopyDataProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COPYDATA) return DefWindowProc(hwnd, message, wParam, lParam);
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  Last() = {wParam, data->dwData, std::string(static_cast<const char*>(data->lpData), data->cbData), Last().calls + 1};
  return 7;
}

TEST(IpcCopyData, TheWindowGetsSenderTagAndBytes) {
  EnsureGuiApp();
  WNDCLASSEX wc;
  wc.lpfnWndProc = CopyDataProc;
  wc.lpszClassName = "IpcCopyDataTestWindow";
  ASSERT_NE(RegisterClassEx(&wc), 0);
  HWND hwnd = CreateWindowEx(0, "IpcCopyDataTestWindow", "w", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  const ipc::WindowId id = ipc::RegisterWindow(hwnd, "IpcCopyDataTestWindow");
  ASSERT_NE(id, 0u);

  const std::string bytes("a\0\xFF\x81\x40", 5);
  EXPECT_EQ(ipc::SendCopyData(id, 0x123, 0xABCD, bytes), 7);
  EXPECT_EQ(Last().from, 0x123u);
  EXPECT_EQ(Last().tag, 0xABCDu);
  EXPECT_EQ(Last().bytes, bytes);
  EXPECT_EQ(ipc::SendCopyData(id, 0, 1, {}), 7);
  EXPECT_EQ(Last().bytes, "");
  EXPECT_EQ(Last().calls, 2);

  ipc::UnregisterWindow(id);
  EXPECT_EQ(ipc::SendCopyData(id, 0, 1, bytes), 0);
  EXPECT_EQ(Last().calls, 2);
  DestroyWindow(hwnd);
}

}  // namespace
