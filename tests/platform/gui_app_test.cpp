// The end of a program's run: a real copy of this test program plays a short life of a window and
// ends through its main(), which owns the toolkit's application object as the game's does.
#include "platform/gui_app.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <unistd.h>

#include "child_copy.h"
#include "platform/cursor.h"
#include "platform/cursor_pos.h"
#include "platform/message_box.h"
#include "platform/simulated_input.h"
#include "platform/window.h"

namespace {

using namespace platform;

void Pump() {
  MSG msg;
  for (int i = 0; i < 5; ++i) {
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  }
}

// A shown window whose procedure is the default one: a close request destroys it.
HWND MakeWindow() {
  WNDCLASSEX wc;
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "GuiAppEndClass";
  RegisterClassEx(&wc);
  HWND hwnd = CreateWindowEx(0, "GuiAppEndClass", "end", WS_CAPTION | WS_SYSMENU | WS_VISIBLE, CW_USEDEFAULT,
                             CW_USEDEFAULT, 320, 200, nullptr, nullptr, nullptr, nullptr);
  Pump();
  return hwnd;
}

// The pointer comes over the window, which shows the pointing hand as the game does, and leaves it.
void PointerInAndOut(HWND hwnd) {
  SetCursorClientPos(hwnd, 100, 100);
  Pump();
  SetWindowCursor(hwnd, CursorShape::kPointingHand);
  SimulateMouseMove(hwnd, 100, 100);
  Pump();
  SetCursorClientPos(hwnd, -50, -50);
  Pump();
}

TEST(GuiAppEnd, DISABLED_ABoxAndALeaveThenTheEnd) {
  HWND hwnd = MakeWindow();
  ASSERT_NE(hwnd, nullptr);
  PointerInAndOut(hwnd);
  MessageBox(hwnd, "box", "caption", MB_OK);
  Pump();
  DestroyWindow(hwnd);
  Pump();
  dprintf(3, "ending\n");
}

TEST(GuiAppEnd, DISABLED_TheCloseRequestThenTheEnd) {
  HWND hwnd = MakeWindow();
  ASSERT_NE(hwnd, nullptr);
  PointerInAndOut(hwnd);  // on its way to the title bar's close button
  SimulateCloseButton(hwnd);
  Pump();
  // Destroyed by its procedure while the toolkit was still delivering the request.
  dprintf(3, "closed=%d\n", IsWindow(hwnd) ? 0 : 1);
}

struct EndCase {
  const char* test;
  const char* report;
};
void PrintTo(const EndCase& c, std::ostream* out) { *out << c.test; }

class GuiAppEndTest : public testing::TestWithParam<EndCase> {};

TEST_P(GuiAppEndTest, TheProgramExitsWithZero) {
  ChildCopy child(std::string("GuiAppEnd.DISABLED_") + GetParam().test, {"QT_QPA_PLATFORM=offscreen"});
  ASSERT_TRUE(child.started());
  EXPECT_EQ(child.ReadLine(), GetParam().report);
  EXPECT_EQ(child.Wait(), 0);
}

INSTANTIATE_TEST_SUITE_P(Ends, GuiAppEndTest,
                         testing::Values(EndCase{"ABoxAndALeaveThenTheEnd", "ending"},
                                         EndCase{"TheCloseRequestThenTheEnd", "closed=1"}),
                         [](const testing::TestParamInfo<EndCase>& info) {
                           return std::string(info.param.test);
                         });

}  // namespace
