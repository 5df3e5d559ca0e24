// The window list within one process: windows of this process reached through their ids.
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editor/foundation/settings/share_data.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/named_lock.h"
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

  // A list filled up by windows that are gone (processes that ended without taking them off, or
  // that never listened): a listed window still moves to the top, and a new one makes room by
  // dropping them. (A full list of windows that are there refuses a new one: the two-process test.)
  for (int i = record->nEditWindowCount; i < kEditWindowSlots; ++i) {
    record->EditWindowList[i] = EditWindowEntry{};
    const auto n = static_cast<uint32_t>(i);
    record->EditWindowList[i].hwnd = i % 2 ? (0xFFFFFEu << 8) | n  // a process number the system never gives
                                           : 0x100u | n;           // process 1, which has no listener
  }
  record->nEditWindowCount = kEditWindowSlots;
  EXPECT_TRUE(share.RegisterEditWindow(idb));
  EXPECT_EQ(record->EditWindowList[0].hwnd, idb);
  EXPECT_EQ(record->nEditWindowCount, kEditWindowSlots);
  EXPECT_EQ(share.GetEditWindowCount(), 2);  // the gone ids cost no wait and do not count
  HWND c = platform::CreateWindowEx(0, "EditWindowListTest", "c", 0, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
  const auto idc = platform::ipc::RegisterWindow(c, kEditWindowClass);
  EXPECT_TRUE(share.RegisterEditWindow(idc));
  EXPECT_EQ(record->nEditWindowCount, 3);
  EXPECT_EQ(record->EditWindowList[0].hwnd, idc);
  EXPECT_EQ(record->EditWindowList[1].hwnd, idb);
  EXPECT_EQ(record->EditWindowList[2].hwnd, ida);

  share.UnregisterEditWindow(ida);
  EXPECT_EQ(record->nEditWindowCount, 2);
  for (auto [id, hwnd] : {std::pair{ida, a}, std::pair{idb, b}, std::pair{idc, c}}) {
    platform::ipc::UnregisterWindow(id);
    platform::DestroyWindow(hwnd);
  }
  Pump();
}

// A holder of the record's lock that never lets go (a stopped process) holds a change up for the
// lock's wait only; the change then goes ahead without the lock, and the log says so.
TEST(RecordLock, AHolderThatDoesNotLetGoIsPassedAfterTheWaitAndTheLogSaysSo) {
  const ScopedNamedObjects names("CShareData-test-lock");
  auto record = std::make_unique<SharedSettings>();
  CShareData::InitDefaults(*record);
  CShareData share;
  share.Attach(record.get(), names.c_str());
  platform::NamedLock holder;  // an open file of its own conflicts as another process's would
  ASSERT_EQ(holder.Open(names.name() + ".record"), platform::NamedLock::Result::kAcquired);

  testing::internal::CaptureStderr();
  EXPECT_TRUE(share.AddSearchKey("waited"));
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_STREQ(record->szSearchKeys[0], "waited");
  EXPECT_NE(log.find("lock of the shared settings was not had within 2000 ms"), std::string::npos) << log;

  holder.Close();
  testing::internal::CaptureStderr();
  EXPECT_TRUE(share.AddSearchKey("free"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_STREQ(record->szSearchKeys[0], "free");
}

}  // namespace
