// Mouse messages of a child window: the MK_ state of buttons and modifiers, the side buttons, and
// wheel notches made of a touchpad's small distances.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/simulated_input.h"
#include "recording_window.h"

namespace {

using namespace platform;
using platform_test::ChildWindowFixture;
using platform_test::PumpTranslated;
using platform_test::Seen;

bool IsMouse(UINT message) { return message >= WM_MOUSEMOVE && message <= WM_XBUTTONDBLCLK; }

struct Expected {
  UINT message;
  WPARAM wParam;
};

TEST(MouseInputTest, ButtonsCarryTheirStateAndModifiers) {
  struct Case {
    const char* name;
    std::function<void(HWND)> input;
    std::vector<Expected> messages;
  };
  const Case cases[] = {
      {"left with Shift",
       [](HWND h) {
         SimulateMouseButton(h, MouseButton::Left, true, 5, 6, kSimShift);
         SimulateMouseButton(h, MouseButton::Left, false, 5, 6, kSimShift);
       },
       {{WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT}, {WM_LBUTTONUP, MK_SHIFT}}},
      {"right with Ctrl",
       [](HWND h) {
         SimulateMouseButton(h, MouseButton::Right, true, 5, 6, kSimControl);
         SimulateMouseButton(h, MouseButton::Right, false, 5, 6);
       },
       {{WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL}, {WM_RBUTTONUP, 0}}},
      {"a drag with Shift and Ctrl",
       [](HWND h) {
         SimulateMouseButton(h, MouseButton::Middle, true, 5, 6);
         SimulateMouseMove(h, 5, 6, kSimShift | kSimControl);
         SimulateMouseButton(h, MouseButton::Middle, false, 5, 6);
       },
       {{WM_MBUTTONDOWN, MK_MBUTTON}, {WM_MOUSEMOVE, MK_MBUTTON | MK_SHIFT | MK_CONTROL}, {WM_MBUTTONUP, 0}}},
      {"the back side button",
       [](HWND h) {
         SimulateMouseButton(h, MouseButton::X1, true, 5, 6);
         SimulateMouseButton(h, MouseButton::X1, false, 5, 6);
       },
       {{WM_XBUTTONDOWN, MK_XBUTTON1 | (WPARAM{XBUTTON1} << 16)}, {WM_XBUTTONUP, WPARAM{XBUTTON1} << 16}}},
      {"the forward side button with Ctrl",
       [](HWND h) {
         SimulateMouseButton(h, MouseButton::X2, true, 5, 6, kSimControl);
         SimulateMouseButton(h, MouseButton::X2, false, 5, 6);
       },
       {{WM_XBUTTONDOWN, MK_XBUTTON2 | MK_CONTROL | (WPARAM{XBUTTON2} << 16)}, {WM_XBUTTONUP, WPARAM{XBUTTON2} << 16}}},
      {"a side button's double click",
       [](HWND h) {
         SimulateMouseButton(h, MouseButton::X1, true, 5, 6);
         SimulateMouseButton(h, MouseButton::X1, false, 5, 6);
         SimulateMouseDoubleClick(h, MouseButton::X1, 5, 6);
         SimulateMouseButton(h, MouseButton::X1, false, 5, 6);
       },
       {{WM_XBUTTONDOWN, MK_XBUTTON1 | (WPARAM{XBUTTON1} << 16)},
        {WM_XBUTTONUP, WPARAM{XBUTTON1} << 16},
        {WM_XBUTTONDBLCLK, MK_XBUTTON1 | (WPARAM{XBUTTON1} << 16)},
        {WM_XBUTTONUP, WPARAM{XBUTTON1} << 16}}},
  };
  for (const Case& c : cases) {
    ChildWindowFixture windows;
    c.input(windows.child);
    PumpTranslated();
    const std::vector<Seen> seen = platform_test::SeenBy(windows.child, IsMouse);
    ASSERT_EQ(seen.size(), c.messages.size()) << c.name;
    for (size_t i = 0; i < seen.size(); ++i) {
      EXPECT_EQ(seen[i].message, c.messages[i].message) << c.name << " #" << i;
      EXPECT_EQ(seen[i].wParam, c.messages[i].wParam) << c.name << " #" << i;
      EXPECT_EQ(seen[i].lParam, MAKELPARAM(5, 6)) << c.name << " #" << i;
    }
    EXPECT_TRUE(platform_test::SeenBy(windows.parent, IsMouse).empty()) << c.name;
  }
}

TEST(MouseInputTest, WheelDistancesBecomeWholeNotches) {
  struct Turn {
    int units;  // angle, or pixels when touchpad
    bool touchpad;
  };
  struct Case {
    const char* name;
    std::vector<Turn> turns;
    std::vector<int> notches;
  };
  const Case cases[] = {
      {"a notch", {{120, false}}, {120}},
      {"a notch towards the user", {{-120, false}}, {-120}},
      {"two notches at once", {{240, false}}, {240}},
      {"two and a half notches, then a half", {{300, false}, {60, false}}, {240, 120}},
      {"quarters add up", {{30, false}, {30, false}, {30, false}, {30, false}}, {120}},
      {"short of a notch", {{100, false}}, {}},
      {"turning back drops the rest", {{100, false}, {-40, false}, {100, false}}, {}},
      {"turning back far enough", {{100, false}, {-140, false}}, {-120}},
      {"a touchpad's 48 pixels", {{48, true}}, {120}},
      {"a touchpad's small moves", {{20, true}, {20, true}, {20, true}, {-10, true}}, {120}},
  };
  for (const Case& c : cases) {
    ChildWindowFixture windows;
    for (const Turn& t : c.turns) {
      if (t.touchpad) {
        SimulateWheelPixels(windows.child, t.units, 7, 8);
      } else {
        SimulateWheel(windows.child, t.units, 7, 8);
      }
    }
    PumpTranslated();
    std::vector<int> notches;
    for (const Seen& s : platform_test::SeenBy(windows.child, [](UINT m) { return m == WM_MOUSEWHEEL; })) {
      notches.push_back(static_cast<int16_t>(HIWORD(s.wParam)));
      EXPECT_EQ(s.lParam, MAKELPARAM(7, 8)) << c.name;
    }
    EXPECT_EQ(notches, c.notches) << c.name;
  }
}

TEST(MouseInputTest, WheelCarriesTheKeyState) {
  ChildWindowFixture windows;
  SimulateMouseButton(windows.child, MouseButton::Left, true, 1, 1);
  SimulateWheel(windows.child, -120, 3, 4, kSimControl);
  SimulateMouseButton(windows.child, MouseButton::Left, false, 1, 1);
  PumpTranslated();
  const auto wheel = platform_test::SeenBy(windows.child, [](UINT m) { return m == WM_MOUSEWHEEL; });
  ASSERT_EQ(wheel.size(), 1u);
  EXPECT_EQ(LOWORD(wheel[0].wParam), MK_LBUTTON | MK_CONTROL);
  EXPECT_EQ(static_cast<int16_t>(HIWORD(wheel[0].wParam)), -120);
}

}  // namespace
