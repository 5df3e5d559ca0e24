// The desktop's lines per wheel notch.
#include "platform/wheel_scroll.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <gtest/gtest.h>
#include <optional>
#include <thread>

#include "platform/gui_app.h"

namespace {

TEST(WheelScrollTest, TheDesktopsSettingFollowsItsChanges) {
  platform::EnsureGuiApp();
  QStyleHints* hints = QGuiApplication::styleHints();
  const int before = hints->wheelScrollLines();
  hints->setWheelScrollLines(11);
  EXPECT_EQ(platform::WheelScrollLines(), 11);
  hints->setWheelScrollLines(before);
  EXPECT_EQ(platform::WheelScrollLines(), before);
}

TEST(WheelScrollTest, NoneOffTheGuiThread) {
  platform::EnsureGuiApp();
  std::optional<int> lines = 0;
  std::thread([&] { lines = platform::WheelScrollLines(); }).join();
  EXPECT_EQ(lines, std::nullopt);
}

}  // namespace
