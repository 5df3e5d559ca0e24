#include "platform/tray_icon.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

#include "platform/gui_app.h"
#include "platform/sjis_literal.h"
#include "platform/tray_icon_test.h"
#include "recording_window.h"

namespace {

using namespace platform;
using platform_test::SeenMessages;
using Reason = QSystemTrayIcon::ActivationReason;

constexpr UINT kCallback = 0x8064;
constexpr UINT kIconId = 7;

NOTIFYICONDATA Record(HWND hwnd, UINT flags, const char* tip = "") {
  NOTIFYICONDATA data;
  data.hWnd = hwnd;
  data.uID = kIconId;
  data.uFlags = flags;
  data.uCallbackMessage = kCallback;
  data.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  std::strncpy(data.szTip, tip, sizeof data.szTip - 1);
  return data;
}

class TrayIconTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    platform_test::PumpTranslated();
    hwnd = CreateWindowEx(0, platform_test::RecordingClass(), "tray", WS_CAPTION, 0, 0, 100, 100, nullptr, nullptr,
                          nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    SeenMessages().clear();
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    platform_test::PumpTranslated();
    SeenMessages().clear();
  }

  // The callback messages the window got, as "wParam:mouse message" in order.
  std::vector<std::string> Callbacks() const {
    std::vector<std::string> out;
    for (const auto& s : platform_test::SeenBy(hwnd, [](UINT m) { return m == kCallback; })) {
      out.push_back(std::to_string(s.wParam) + ":" + std::to_string(s.lParam));
    }
    return out;
  }

  // Pumps for a while, so that held-back clicks come out.
  static void PumpFor(std::chrono::milliseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < end) {
      platform_test::PumpTranslated();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

  HWND hwnd = nullptr;
};

TEST_F(TrayIconTest, WithoutANotificationAreaAddingFails) {
  if (QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << "this desktop has a notification area";
  const NOTIFYICONDATA data = Record(hwnd, NIF_MESSAGE | NIF_ICON | NIF_TIP, "tovara");
  EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &data));
  EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, &data));
  EXPECT_FALSE(Shell_NotifyIcon(NIM_DELETE, &data));
}

TEST_F(TrayIconTest, AddModifyDeleteKeepWhatTheFlagsName) {
  tray_icon_test::StandInTray tray;
  tray_icon_test::Shown shown;
  NOTIFYICONDATA data = Record(hwnd, NIF_MESSAGE | NIF_ICON | NIF_TIP, "tovara 1.0.0.0");
  ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
  ASSERT_TRUE(tray_icon_test::Inspect(hwnd, kIconId, &shown));
  EXPECT_EQ(shown.tip, "tovara 1.0.0.0");
  EXPECT_EQ(shown.callbackMessage, kCallback);
  EXPECT_EQ(shown.icon.size(), QSize(32, 32));
  EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &data)) << "a second icon of the same id";

  // Only the tip changes: the icon and the callback stay.
  NOTIFYICONDATA tipOnly = Record(hwnd, NIF_TIP, "other");
  tipOnly.hIcon = nullptr;
  tipOnly.uCallbackMessage = 0;
  ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &tipOnly));
  ASSERT_TRUE(tray_icon_test::Inspect(hwnd, kIconId, &shown));
  EXPECT_EQ(shown.tip, "other");
  EXPECT_EQ(shown.callbackMessage, kCallback);
  EXPECT_FALSE(shown.icon.isNull());

  ASSERT_TRUE(Shell_NotifyIcon(NIM_DELETE, &data));
  EXPECT_FALSE(tray_icon_test::Inspect(hwnd, kIconId, &shown));
  EXPECT_FALSE(Shell_NotifyIcon(NIM_DELETE, &data));
  EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, &data));
}

TEST_F(TrayIconTest, RefusedForDeadWindowsAndBadRecords) {
  tray_icon_test::StandInTray tray;
  EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, nullptr));
  const NOTIFYICONDATA noWindow = Record(nullptr, NIF_TIP);
  EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &noWindow));
  const NOTIFYICONDATA data = Record(hwnd, NIF_TIP);
  EXPECT_FALSE(Shell_NotifyIcon(0x1234, &data));
  ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
  DestroyWindow(hwnd);
  EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, &data));
  EXPECT_FALSE(tray_icon_test::Activate(hwnd, kIconId, QSystemTrayIcon::Context));
}

TEST_F(TrayIconTest, TipsAreCutOnAWholeCharacter) {
  tray_icon_test::StandInTray tray;
  struct Case {
    const char* name;
    std::string tip;
    std::string expected;
  };
  const std::string sixtyTwo(62, 'a');
  const std::string kanji = "表"_sj;
  const Case cases[] = {
      {"short", "tovara", "tovara"},
      {"63 bytes stay", sixtyTwo + "b", sixtyTwo + "b"},
      {"a character across the end goes whole", sixtyTwo + kanji, sixtyTwo},
      {"a character ending at 63 stays", std::string(61, 'a') + kanji, std::string(61, 'a') + kanji},
  };
  for (const Case& c : cases) {
    NOTIFYICONDATA data = Record(hwnd, NIF_TIP);
    std::memcpy(data.szTip, c.tip.data(), std::min(c.tip.size(), sizeof data.szTip));
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data)) << c.name;
    tray_icon_test::Shown shown;
    ASSERT_TRUE(tray_icon_test::Inspect(hwnd, kIconId, &shown)) << c.name;
    EXPECT_EQ(shown.tip, c.expected) << c.name;
    Shell_NotifyIcon(NIM_DELETE, &data);
  }
}

TEST_F(TrayIconTest, ClicksBecomeTheCallbackMessage) {
  tray_icon_test::StandInTray tray;
  QStyleHints* hints = QGuiApplication::styleHints();
  const int interval = hints->mouseDoubleClickInterval();
  hints->setMouseDoubleClickInterval(120);
  const std::string id = std::to_string(kIconId) + ":";
  const std::string down = id + std::to_string(WM_LBUTTONDOWN), up = id + std::to_string(WM_LBUTTONUP),
                    dbl = id + std::to_string(WM_LBUTTONDBLCLK), right = id + std::to_string(WM_RBUTTONUP),
                    middle = id + std::to_string(WM_MBUTTONUP);
  struct Case {
    const char* name;
    std::vector<Reason> reasons;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"a single click, once the double-click time is over", {Reason::Trigger}, {down, up}},
      {"a double click drops the held-back click", {Reason::Trigger, Reason::DoubleClick}, {dbl, up}},
      {"two clicks within the time are a double click", {Reason::Trigger, Reason::Trigger}, {dbl, up}},
      {"a double click alone", {Reason::DoubleClick}, {dbl, up}},
      {"the context request", {Reason::Context}, {right}},
      {"a held-back click keeps its place", {Reason::Trigger, Reason::Context}, {down, up, right}},
      {"the middle button", {Reason::MiddleClick}, {middle}},
      {"an unknown reason", {Reason::Unknown}, {}},
  };
  for (const Case& c : cases) {
    const NOTIFYICONDATA data = Record(hwnd, NIF_MESSAGE | NIF_ICON);
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data)) << c.name;
    SeenMessages().clear();
    for (Reason r : c.reasons) ASSERT_TRUE(tray_icon_test::Activate(hwnd, kIconId, r)) << c.name;
    PumpFor(std::chrono::milliseconds(400));
    EXPECT_EQ(Callbacks(), c.expected) << c.name;
    Shell_NotifyIcon(NIM_DELETE, &data);
  }
  hints->setMouseDoubleClickInterval(interval);
}

TEST_F(TrayIconTest, ASingleClickWaitsForTheDoubleClickTime) {
  tray_icon_test::StandInTray tray;
  QStyleHints* hints = QGuiApplication::styleHints();
  const int interval = hints->mouseDoubleClickInterval();
  hints->setMouseDoubleClickInterval(300);
  const NOTIFYICONDATA data = Record(hwnd, NIF_MESSAGE);
  ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(tray_icon_test::Activate(hwnd, kIconId, Reason::Trigger));
  while (Callbacks().empty() && std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) PumpFor(std::chrono::milliseconds(5));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
  EXPECT_EQ(Callbacks().size(), 2u);
  hints->setMouseDoubleClickInterval(interval);
}

TEST_F(TrayIconTest, WithoutACallbackMessageClicksPostNothing) {
  tray_icon_test::StandInTray tray;
  const NOTIFYICONDATA data = Record(hwnd, NIF_ICON | NIF_TIP, "quiet");
  ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
  ASSERT_TRUE(tray_icon_test::Activate(hwnd, kIconId, Reason::DoubleClick));
  ASSERT_TRUE(tray_icon_test::Activate(hwnd, kIconId, Reason::Context));
  PumpFor(std::chrono::milliseconds(50));
  EXPECT_TRUE(Callbacks().empty());
}

}  // namespace
