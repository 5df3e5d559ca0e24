#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "editor/foundation/settings/share_data.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/window.h"
#include "scoped_named_objects.h"

namespace {

std::string received;
LRESULT OutputProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MYWM_ADDSTRING) {
    received = CShareData::GetInstance()->GetShareData()->szExchangeText;
    return 1;
  }
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

TEST(DebugPrint, WaitsForTheOutputWindowThenFallsBackToStderr) {
  platform::EnsureGuiApp();
  const ScopedNamedObjects names("CShareData-test-debug");
  auto record = std::make_unique<SharedSettings>();
  CShareData::InitDefaults(*record);
  CShareData share;
  share.Attach(record.get(), names.c_str());

  // No output window and no one to start it: the text goes to stderr at once.
  testing::internal::CaptureStderr();
  share.DebugPrint("line %d\n", 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "line 1\n");

  // A launcher that registers the output window late: the text waits for it.
  WNDCLASSEX wc;
  wc.lpfnWndProc = OutputProc;
  wc.lpszClassName = kEditWindowClass;
  platform::RegisterClassEx(&wc);
  HWND hwnd =
      platform::CreateWindowEx(0, kEditWindowClass, "output", 0, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  const auto id = platform::ipc::RegisterWindow(hwnd, kEditWindowClass);
  int launched = 0;
  CShareData::SetOutputWindowLauncher([&] {
    ++launched;
    record->hwndOutput = id;
  });
  share.DebugPrint("%s=%d", "x", 42);
  EXPECT_EQ(launched, 1);
  EXPECT_EQ(received, "x=42");
  // A long text is cut to what the exchange takes from one request.
  share.DebugPrint("%s", std::string(5000, 'y').c_str());
  EXPECT_EQ(received.size(), 1023u);
  EXPECT_EQ(launched, 1);

  // A launcher that never brings a window: the wait ends at its limit.
  record->hwndOutput = 0;
  CShareData::SetOutputWindowLauncher([] {});
  CShareData::SetOutputWindowWait(std::chrono::milliseconds(50));
  testing::internal::CaptureStderr();
  const auto start = std::chrono::steady_clock::now();
  share.DebugPrint("late");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "late");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

  CShareData::SetOutputWindowLauncher(nullptr);
  CShareData::SetOutputWindowWait(std::chrono::milliseconds(10000));
  platform::ipc::UnregisterWindow(id);
  platform::DestroyWindow(hwnd);
}

}  // namespace
