// Replace-all in a real pane window: while it runs and serves its cancel dialog, the pane and the
// frame around it take no input; afterwards they do again.
#include <gtest/gtest.h>
#include <string>

#include "editor/view/pane/pane_window_fixture.h"
#include "platform/dialog_test.h"
#include "platform/timer.h"

namespace {

namespace dt = platform::dialog_test;

class ReplaceAllWindowTest : public PaneWindowFixture {};

// What the timer saw while the cancel dialog was up.
struct Seen {
  HWND pane = nullptr;
  HWND frame = nullptr;
  int looks = 0;
  bool paneEnabled = true;
  bool frameEnabled = true;
};
Seen g_seen;

void LookThenCancel(HWND, UINT, UINT_PTR, DWORD) {
  for (HWND dialog : dt::OpenDialogs()) {
    if (dt::TemplateOf(dialog) != "160" || g_seen.looks > 0) continue;
    const auto count = dt::Query(dialog, 1197);
    if (!count || count->text == "0") continue;
    g_seen.paneEnabled = platform::IsWindowEnabled(g_seen.pane) != 0;
    g_seen.frameEnabled = platform::IsWindowEnabled(g_seen.frame) != 0;
    if (dt::Click(dialog, IDCANCEL)) ++g_seen.looks;
  }
}

TEST_F(ReplaceAllWindowTest, ThePaneAndItsFrameTakeNoInputWhileItRuns) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "a\r\n";
  SetText(text);
  share.AddSearchKey("a");
  share.AddReplaceKey("bc");
  common().bSearchRegularExp = 0;
  common().bSearchSelectedArea = 0;
  g_seen = Seen{view->Window(), top};
  ASSERT_TRUE(platform::IsWindowEnabled(view->Window()));
  ASSERT_NE(platform::SetTimer(top, 78, 10, &LookThenCancel), 0u);
  view->RunCommand(30907, true, 0, 0, 0, 0);
  platform::KillTimer(top, 78);

  ASSERT_EQ(g_seen.looks, 1) << "the run lasted until the cancel";
  EXPECT_FALSE(g_seen.paneEnabled);
  EXPECT_FALSE(g_seen.frameEnabled);
  EXPECT_TRUE(platform::IsWindowEnabled(view->Window())) << "enabled again afterwards";
  EXPECT_TRUE(platform::IsWindowEnabled(top));
  EXPECT_TRUE(DocBytes() != text) << "some hits were replaced before the cancel";
}

}  // namespace
