// The edit window as the edit-window process drives it: the view and caret a command line asks
// for, and the output window of debug mode.
#include "editor/shell/process/process_edit_window.h"

#include <string>

#include "editor/shell/process/command_line.h"
#include "tests/editor/shell/window/edit_wnd_fixture.h"

namespace {

class ProcessEditWindowTest : public EditWndFixture {
 protected:
  ProcessEditWindowTest() : EditWndFixture("ProcessEditWindow-test") {}

  // A window on the file as the command line asks, or null.
  std::unique_ptr<CProcessEditWindow> Open(const std::string& commandLine) {
    CCommandLineOptions parsed;
    parsed.Parse(commandLine, HostCommandLineSystem());
    request = parsed.m_fi;
    auto window = std::make_unique<CProcessEditWindow>(share, request);
    if (!window->Create(nullptr, 0, request.szPath[0] ? request.szPath : nullptr, 99, false, -1)) return nullptr;
    Pump();
    return window;
  }
  static IDocPane& ActivePane(CProcessEditWindow& window) {
    CEditDoc& doc = window.Window().Document();
    return *doc.Ports().panes[static_cast<size_t>(doc.GetActivePane())];
  }

  RecentFileRecord request{};
};

// Lines "line 1" ... "line 300", CR LF each: more than a pane shows.
std::string ManyLines() {
  std::string text;
  for (int i = 1; i <= 300; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

TEST_F(ProcessEditWindowTest, TheCommandLinePlacesViewAndCaret) {
  const std::string path = File("many.txt", ManyLines());
  struct Case {
    const char* name;
    const char* options;
    int top, left;  // the view's top display line and left column
    POINT caret;    // display cells
  } cases[] = {
      {"view and caret", "-VY=5 -VX=1 -Y=10 -X=3", 4, 0, {2, 9}},
      {"view alone", "-VY=5 -VX=3", 4, 2, {0, 0}},
      {"a top line at the last line is kept", "-VY=300 -VX=1", 299, 0, {0, 0}},
      {"a top line at the line count is ignored, the caret still placed", "-VY=301 -VX=1 -Y=3 -X=2", 0, 0, {1, 2}},
      {"a column past the text is the line's end", "-Y=2 -X=40", 0, 0, {6, 1}},
      {"a line alone starts the line", "-Y=7", 0, 0, {0, 6}},
      {"nothing asked leaves the start", "", 0, 0, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<CProcessEditWindow> window = Open(path + " " + c.options);
    ASSERT_NE(window, nullptr);
    window->ApplyPositionRequest(request);
    IDocPane& pane = ActivePane(*window);
    EXPECT_EQ(pane.ViewTopLine(), c.top);
    EXPECT_EQ(pane.ViewLeftColumn(), c.left);
    EXPECT_EQ(pane.Caret().x, c.caret.x);
    EXPECT_EQ(pane.Caret().y, c.caret.y);
    EXPECT_TRUE(boxes.empty());
  }
}

TEST_F(ProcessEditWindowTest, DebugModeMakesTheOutputWindowOfTheOutputType) {
  // The last type takes the "output" extension.
  const int type = kTypeSlots - 1;
  std::snprintf(record->TypeList[type].szTypeExts, sizeof record->TypeList[type].szTypeExts, "%s", "log output");
  const int32_t counter = record->TypeList[type].nChangeCounter;
  std::unique_ptr<CProcessEditWindow> window = Open("");
  ASSERT_NE(window, nullptr);
  window->Window().Document().m_bTypeFixed = true;

  window->BecomeOutputWindow();
  const CEditDoc& doc = window->Window().Document();
  EXPECT_EQ(record->hwndOutput, window->Window().WindowId());
  EXPECT_TRUE(doc.m_bOutputWindow);
  EXPECT_EQ(doc.m_nSettingType, type);
  EXPECT_FALSE(doc.m_bTypeFixed);
  EXPECT_EQ(record->TypeList[type].nChangeCounter, counter + 1);

  // A live output window keeps its role: a second one stays an ordinary window.
  std::unique_ptr<CProcessEditWindow> second = Open("");
  ASSERT_NE(second, nullptr);
  second->BecomeOutputWindow();
  EXPECT_EQ(record->hwndOutput, window->Window().WindowId());
  EXPECT_FALSE(second->Window().Document().m_bOutputWindow);
}

}  // namespace
