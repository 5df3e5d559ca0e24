// The function list inside a real edit window: the frame answers the dialog's keys from the key
// assignments and moves the active pane's caret on the dialog's jump.
#include <optional>
#include <string>

#include "edit_wnd_fixture.h"
#include "editor/foundation/clipboard_plain.h"
#include "editor/shell/commands/key_bindings.h"
#include "editor/view/pane/edit_view.h"
#include "platform/clipboard.h"
#include "platform/dialog_test.h"

namespace {

namespace dt = platform::dialog_test;

constexpr int kOutline = 30930;
constexpr int kCopy = 30602;
constexpr int kTree = 1140;

class EditWndOutlineTest : public EditWndFixture {
 protected:
  static HWND FunctionList() {
    for (const HWND dialog : dt::OpenDialogs())
      if (dt::TemplateOf(dialog) == "122") return dialog;
    return nullptr;
  }
  static int TreeIndexOf(HWND dialog, const std::string& text) {
    const auto tree = dt::Query(dialog, kTree).value().tree;
    for (size_t i = 0; i < tree.size(); ++i)
      if (tree[i].text == text) return static_cast<int>(i);
    return -1;
  }
};

TEST_F(EditWndOutlineTest, DialogJumpsThroughTheFrameAndCopiesWithTheBoundKey) {
  record->nKeyAssignCount = 1;
  CShareData::SetKeyAssignment(*record, 0, 'C', "C", {0, 0, kCopy, 0, 0, 0, 0, 0});
  const std::string path = File("outline.cpp", "void first() {\r\n}\r\nvoid second() {\r\n}\r\n");
  CEditWnd* w = Make(path.c_str());
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->KeyCommand(2 * 256 + 'C'), kCopy) << "Ctrl+C";
  EXPECT_EQ(w->KeyCommand('C'), 0);
  EXPECT_EQ(w->KeyCommand(7 * 256 + 'Q'), 0) << "an unassigned key";

  auto* pane = dynamic_cast<CEditView*>(w->Document().Ports().panes[0]);
  ASSERT_NE(pane, nullptr);
  EXPECT_EQ(pane->RunCommand(kOutline, true, 0, 0, 0, 0), 1);
  Pump();
  const HWND dialog = FunctionList();
  ASSERT_NE(dialog, nullptr);

  const int second = TreeIndexOf(dialog, "second");
  ASSERT_GE(second, 0);
  ASSERT_TRUE(dt::DoubleClick(dialog, kTree, second));
  Pump();
  EXPECT_EQ(pane->m_nCaretPosY_PHY, 2);
  EXPECT_EQ(pane->m_nCaretPosX_PHY, 0);

  ASSERT_TRUE(dt::KeyDown(dialog, kTree, 'C', dt::kControl));
  EXPECT_EQ(ClipboardPlain(), path + "(1): first \r\n" + path + "(3): second \r\n");

  // With focus-on-jump the pane takes the focus after the jump; with auto-close the dialog goes.
  record->Common.bFunclistSetFocusOnJump = 1;
  ASSERT_TRUE(dt::Select(dialog, kTree, TreeIndexOf(dialog, "first")));
  ASSERT_TRUE(dt::Click(dialog, IDOK));
  Pump();
  EXPECT_EQ(pane->m_nCaretPosY_PHY, 0);
  EXPECT_EQ(platform::GetFocus(), pane->Window());
  ASSERT_TRUE(dt::Click(dialog, 1306));
  ASSERT_TRUE(dt::Select(dialog, kTree, second));
  ASSERT_TRUE(dt::Click(dialog, IDOK));
  Pump();
  EXPECT_EQ(pane->m_nCaretPosY_PHY, 2);
  EXPECT_EQ(FunctionList(), nullptr);
}

}  // namespace
