// A window that starts another and waits for it to be ready for input (a tag jump to a file not yet
// open): the wait ends when the new window is up, not at its limit, and nothing is said.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>

#include "editor/foundation/settings/share_data.h"
#include "editor/shell/process/editor_launcher.h"
#include "edit_window_waits.h"
#include "editor_sandbox.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"

namespace {

using namespace std::chrono_literals;

// Waits until the window's GUI thread carries out a request again (its pump runs); false when it
// did not within the limit.
bool WaitUntilAnswering(EditWindowId window, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  while (!platform::ipc::GetWindowPlacement(window, &placement)) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

struct JumpCase {
  const char* name;
  UINT command;
  // The starting window's file and what it holds; the target is the other file.
  const char* startFile;
  const char* startText;
  const char* targetFile;
};

class LaunchWaitProcessTest : public testing::TestWithParam<JumpCase> {
 protected:
  void SetUp() override {
    platform::EnsureGuiApp();
    ASSERT_TRUE(share.Init());
  }

  EditorSandbox box;
  CShareData share;
};

TEST_P(LaunchWaitProcessTest, TheStarterWaitsOnlyUntilTheNewWindowIsReady) {
  const JumpCase& c = GetParam();
  const std::filesystem::path tree = box.Folder() / "tree";
  std::filesystem::create_directories(tree);
  const std::string target = (tree / c.targetFile).string();
  std::string startText = c.startText;
  if (const size_t at = startText.find("@"); at != std::string::npos) startText.replace(at, 1, target);
  std::ofstream(tree / c.startFile, std::ios::binary) << startText;
  std::ofstream(target, std::ios::binary) << "int main(void)\r\n{\r\n  return 0;\r\n}\r\n";

  const EditorSandbox::Started first = box.Start(box.EditorName(), {c.startFile}, tree);
  ASSERT_GT(first.pid, 0);
  const EditWindowId starter = WaitForWindowOn(share, (tree / c.startFile).string());
  ASSERT_NE(starter, 0u) << EditorSandbox::ReadFor(first.errors, 100ms);
  ASSERT_TRUE(WaitUntilAnswering(starter, 10s));

  const auto posted = std::chrono::steady_clock::now();
  ASSERT_TRUE(platform::ipc::PostMessage(starter, WM_COMMAND, MAKEWPARAM(c.command, 0), 0));
  const EditWindowId opened = WaitForWindowOn(share, target);
  ASSERT_NE(opened, 0u) << "no window on " << target << EditorSandbox::ReadFor(first.errors, 100ms);
  EXPECT_NE(platform::ipc::ProcessOf(opened), first.pid);

  // The starter takes requests again once its launch returned: before the wait's limit, since the
  // new window became ready long before.
  ASSERT_TRUE(WaitUntilAnswering(starter, kLaunchReadyLimit + 5s));
  const auto waited = std::chrono::steady_clock::now() - posted;
  EXPECT_LT(waited, kLaunchReadyLimit) << "the starter sat out the ready wait's limit";
  // Offscreen, a message box is written to the standard error as "[caption] text".
  const std::string said = EditorSandbox::ReadFor(first.errors, 300ms);
  EXPECT_EQ(said.find("[tovara]"), std::string::npos) << said;

  for (EditWindowId window : {opened, starter}) platform::ipc::PostMessage(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(EditorSandbox::WaitForExit(first.pid, 10s), std::optional(0));
  ::close(first.errors);
}

const JumpCase kJumps[] = {
    // A grep result's line names the file and the place.
    {"TagJumpOnAResultLine", 30940, "hits.txt", "@(2,1): {\r\n", "a.c"},
    {"OpeningTheHeaderOfASource", 30162, "b.c", "#include \"b.h\"\r\n", "b.h"},
};

INSTANTIATE_TEST_SUITE_P(Jumps, LaunchWaitProcessTest, testing::ValuesIn(kJumps),
                         [](const testing::TestParamInfo<JumpCase>& info) { return std::string(info.param.name); });

}  // namespace
