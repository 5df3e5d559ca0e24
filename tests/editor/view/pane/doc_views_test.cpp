// The views CEditDoc::Create makes through the installed factory: a splitter and four panes inside
// the parent window, pane 0 shown.
#include "editor/view/pane/doc_views.h"

#include "pane_window_fixture.h"

namespace {

using DocViewsTest = PaneWindowFixture;

TEST_F(DocViewsTest, DocumentCreatesSplitterAndFourPanesWithPaneZeroShown) {
  InstallDocViews();
  CEditDoc shown;
  ASSERT_TRUE(shown.Create(nullptr, top, &editWindow));
  const DocPorts& ports = shown.Ports();
  ASSERT_NE(ports.splitter, nullptr);
  ASSERT_NE(ports.splitter->Window(), nullptr);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    ASSERT_NE(ports.panes[i], nullptr);
    ASSERT_NE(ports.panes[i]->Window(), nullptr);
    EXPECT_EQ(platform::IsWindowVisible(ports.panes[i]->Window()) != 0, i == 0);
  }
  SetDocViewsFactory(nullptr);
}

}  // namespace
