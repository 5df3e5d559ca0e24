// The desktop's settings as the program reads them.
#include "platform/desktop.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QStyleHints>
#include <optional>
#include <thread>

namespace {

// The desktop's value as it stands, whatever it is (no bounds: the reader applies its own), and
// nothing from a thread that cannot ask.
TEST(Desktop, WheelScrollLinesFollowTheDesktopSetting) {
  ASSERT_TRUE(platform::WheelScrollLines().has_value());
  QStyleHints* hints = QGuiApplication::styleHints();
  const int before = hints->wheelScrollLines();
  for (int lines : {1, 7, 100}) {
    hints->setWheelScrollLines(lines);
    EXPECT_EQ(platform::WheelScrollLines(), lines);
  }
  hints->setWheelScrollLines(before);
  std::optional<int> offThread = 0;
  std::thread([&] { offThread = platform::WheelScrollLines(); }).join();
  EXPECT_EQ(offThread, std::nullopt);
}

}  // namespace
