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

// A record of the test's own with every default, the process's instance for the test.
class EditWindowList : public testing::Test {
 protected:
  void SetUp() override {
    platform::EnsureGuiApp();
    WNDCLASSEX wc;
    wc.lpfnWndProc = ListProc;
    wc.lpszClassName = "EditWindowListTest";
    platform::RegisterClassEx(&wc);
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), names.c_str());
  }
  const ScopedNamedObjects names{"CShareData-test-list"};
  std::unique_ptr<SharedSettings> record = std::make_unique<SharedSettings>();
  CShareData share;
};

TEST_F(EditWindowList, RegisterNumberSortCloseAndAFullList) {

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

// The window's normal rectangle and whether it is minimised.
std::string PlaceOf(HWND hwnd) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  platform::GetWindowPlacement(hwnd, &wp);
  const RECT& r = wp.rcNormalPosition;
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right - r.left) + "," +
         std::to_string(r.bottom - r.top) + (platform::IsIconic(hwnd) ? " min" : "");
}

TEST_F(EditWindowList, ActivationTakesTheSavedPlacementOnlyWhenTabsShareOneFrame) {
  WINDOWPLACEMENT& saved = record->wpSavedEditWindow;
  saved = WINDOWPLACEMENT{};
  saved.length = sizeof saved;
  saved.showCmd = SW_SHOWNORMAL;
  saved.rcNormalPosition = RECT{60, 70, 360, 270};

  HWND edit = platform::CreateWindowEx(0, "EditWindowListTest", "edit", WS_CAPTION, 10, 20, 100, 80, nullptr, nullptr,
                                       nullptr, nullptr);
  HWND other = platform::CreateWindowEx(0, "EditWindowListTest", "other", WS_CAPTION, 10, 20, 100, 80, nullptr,
                                        nullptr, nullptr, nullptr);
  const auto editId = platform::ipc::RegisterWindow(edit, kEditWindowClass);
  const auto otherId = platform::ipc::RegisterWindow(other, "NotAnEditWindow");

  struct Case {
    const char* name;
    int tabs;
    int multiWin;
    UINT length;
    bool placed;
  };
  const Case cases[] = {
      {"tabs in one frame", 1, 0, sizeof(WINDOWPLACEMENT), true},
      {"tabs off", 0, 0, sizeof(WINDOWPLACEMENT), false},
      {"a frame per window", 1, 1, sizeof(WINDOWPLACEMENT), false},
      {"no saved placement", 1, 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    record->Common.bDispTabWnd = c.tabs;
    record->Common.bDispTabWndMultiWin = c.multiWin;
    saved.length = c.length;
    ASSERT_TRUE(platform::SetWindowPos(edit, nullptr, 10, 20, 100, 80, SWP_NOZORDER));
    platform::ShowWindow(edit, SW_MINIMIZE);
    Pump();
    ASSERT_TRUE(ActivateEditWindow(editId));
    Pump();
    // Restored in either case; placed only when the tabs share one frame.
    EXPECT_EQ(PlaceOf(edit), c.placed ? "60,70,300,200" : "10,20,100,80");
  }

  // A window of another class is brought forward as it is.
  record->Common.bDispTabWnd = 1;
  record->Common.bDispTabWndMultiWin = 0;
  saved.length = sizeof saved;
  ASSERT_TRUE(ActivateEditWindow(otherId));
  Pump();
  EXPECT_TRUE(platform::IsWindowVisible(other));
  EXPECT_EQ(PlaceOf(other), "10,20,100,80");

  platform::ipc::UnregisterWindow(editId);
  EXPECT_FALSE(ActivateEditWindow(editId));
  platform::ipc::UnregisterWindow(otherId);
  platform::DestroyWindow(edit);
  platform::DestroyWindow(other);
  Pump();
}

}  // namespace
