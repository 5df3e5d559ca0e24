// The window list within one process: windows of this process reached through their ids.
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <vector>

#include "editor/foundation/settings/share_data.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/window.h"
#include "scoped_named_objects.h"

namespace {

std::map<HWND, LRESULT> closeAnswers;
std::vector<std::pair<HWND, WPARAM>> notices;

LRESULT ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MYWM_CLOSE) return closeAnswers[hwnd];
  if (message == MYWM_TAB_WINDOW_NOTIFY) notices.emplace_back(hwnd, wParam);
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) platform::DispatchMessage(&msg);
}

TEST(EditWindowList, RegisterNumberSortCloseAndAFullList) {
  platform::EnsureGuiApp();
  const ScopedNamedObjects names("CShareData-test-list");
  WNDCLASSEX wc;
  wc.lpfnWndProc = ListProc;
  wc.lpszClassName = "EditWindowListTest";
  platform::RegisterClassEx(&wc);
  auto record = std::make_unique<SharedSettings>();
  CShareData::InitDefaults(*record);
  CShareData share;
  share.Attach(record.get(), names.c_str());

  HWND a = platform::CreateWindowEx(0, "EditWindowListTest", "a", 0, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
  HWND b = platform::CreateWindowEx(0, "EditWindowListTest", "b", 0, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
  const auto ida = platform::ipc::RegisterWindow(a, kEditWindowClass);
  const auto idb = platform::ipc::RegisterWindow(b, kEditWindowClass);
  ASSERT_TRUE(share.RegisterEditWindow(ida));
  ASSERT_TRUE(share.RegisterEditWindow(idb));
  EXPECT_EQ(platform::ipc::GetWindowLong(ida, 4), 1);
  EXPECT_EQ(platform::ipc::GetWindowLong(idb, 4), 2);
  EXPECT_EQ(record->EditWindowList[0].hwnd, idb);
  Pump();
  notices.clear();
  // Registering again keeps one entry and its number, moves it to the top and says so with 3.
  ASSERT_TRUE(share.RegisterEditWindow(ida));
  Pump();
  EXPECT_EQ(record->nEditWindowCount, 2);
  EXPECT_EQ(record->EditWindowList[0].hwnd, ida);
  EXPECT_EQ(record->EditWindowList[0].nWindowNumber, 1);
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices.back(), std::make_pair(a, WPARAM{3}));  // the window itself last

  const auto sorted = share.GetEditWindowList(true);
  ASSERT_EQ(sorted.size(), 2u);
  EXPECT_EQ(sorted[0].hwnd, ida);
  EXPECT_EQ(sorted[0].nWindowNumber, 0);  // its index in the shared list
  EXPECT_EQ(sorted[1].hwnd, idb);

  closeAnswers[a] = 1;
  closeAnswers[b] = 0;
  EXPECT_FALSE(share.RequestCloseAllEditWindows());
  closeAnswers[b] = 1;
  EXPECT_TRUE(share.RequestCloseAllEditWindows());

  // A full list: a new window is refused, a listed one still moves to the top.
  for (int i = record->nEditWindowCount; i < kEditWindowSlots; ++i) {
    record->EditWindowList[i] = EditWindowEntry{};
    record->EditWindowList[i].hwnd = 0x100u + static_cast<uint32_t>(i);  // ids nobody answers for
  }
  record->nEditWindowCount = kEditWindowSlots;
  HWND c = platform::CreateWindowEx(0, "EditWindowListTest", "c", 0, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
  const auto idc = platform::ipc::RegisterWindow(c, kEditWindowClass);
  EXPECT_FALSE(share.RegisterEditWindow(idc));
  EXPECT_TRUE(share.RegisterEditWindow(idb));
  EXPECT_EQ(record->EditWindowList[0].hwnd, idb);
  EXPECT_EQ(share.GetEditWindowCount(), 2);  // the dead ids cost no wait and do not count

  share.UnregisterEditWindow(ida);
  EXPECT_EQ(record->nEditWindowCount, kEditWindowSlots - 1);
  for (auto [id, hwnd] : {std::pair{ida, a}, std::pair{idb, b}, std::pair{idc, c}}) {
    platform::ipc::UnregisterWindow(id);
    platform::DestroyWindow(hwnd);
  }
  Pump();
}

}  // namespace
