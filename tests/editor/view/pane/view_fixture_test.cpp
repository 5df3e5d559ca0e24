#include "view_fixture.h"

#include "editor/foundation/text/wrap_line_mgr.h"

namespace {

using ViewFixtureTest = ViewFixture;

TEST_F(ViewFixtureTest, TextKeepsItsLinesAndLineEnds) {
  SetText("ab\r\ncd\nef");
  ASSERT_EQ(doc->m_cDocLineMgr.GetLineCount(), 3);
  int length = 0;
  const char* line = doc->m_cDocLineMgr.GetLineText(0, &length);
  EXPECT_EQ(std::string(line, static_cast<size_t>(length)), "ab\r\n");
  line = doc->m_cDocLineMgr.GetLineText(2, &length);
  EXPECT_EQ(std::string(line, static_cast<size_t>(length)), "ef");
  EXPECT_EQ(doc->m_cLayoutMgr.GetLineCount(), 3);
}

}  // namespace
