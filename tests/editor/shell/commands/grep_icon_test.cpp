#include <gtest/gtest.h>

#include "editor/foundation/ui/system_utils.h"
#include "editor/shell/commands/editor_icon_strip.h"
#include "platform/icon_file.h"
#include "platform/window.h"

namespace {

// Without "my_grepicon.ico" beside the program, the grep window's icon is the drawn resource 240,
// not the application's icon.
TEST(GrepIcon, DrawnResource240WithoutAFileBesideTheProgram) {
  RegisterEditorAppIcon();
  for (const bool small : {false, true}) {
    HICON grep = LoadIconFile(nullptr, 240, "my_grepicon.ico", small);
    HICON app = LoadIconFile(nullptr, 230, nullptr, small);
    ASSERT_NE(grep, nullptr) << small;
    ASSERT_NE(app, nullptr) << small;
    EXPECT_NE(grep, app) << small;
  }
  SIZE size{};
  ASSERT_TRUE(platform::GetIconSize(LoadIconFile(nullptr, 240, "my_grepicon.ico", false), &size));
  EXPECT_EQ(size.cx, 32);
  EXPECT_EQ(size.cy, 32);
}

}  // namespace
