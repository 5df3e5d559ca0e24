// Edit windows started from the command line as a person starts them, each in a process of its
// own, looked at through the shared record as the editor's own processes see it.
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>

#include "editor/foundation/settings/recent_menus.h"
#include "editor/foundation/settings/share_data.h"
#include "edit_window_waits.h"
#include "editor_sandbox.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/named_mutex.h"

namespace {

using namespace std::chrono_literals;

// The caret of a window, 0-based (column, line), as another editor process asks for it.
std::pair<int32_t, int32_t> CaretOf(CShareData& share, EditWindowId window) {
  CShareData::ExchangeLock lock(share);
  platform::ipc::SendMessage(window, MYWM_GETCARETPOS, 0, 0);
  int32_t column = -1, line = -1;
  std::memcpy(&column, share.GetShareData()->szExchangeText, 4);
  std::memcpy(&line, share.GetShareData()->szExchangeText + 4, 4);
  return {column, line};
}

class CommandLineProcessTest : public testing::Test {
 protected:
  void SetUp() override {
    platform::EnsureGuiApp();
    std::string text;
    for (int i = 1; i <= 20; ++i) text += "line " + std::to_string(i) + "\r\n";
    std::ofstream(file, std::ios::binary) << text;
    ASSERT_TRUE(share.Init());
  }

  EditorSandbox box;
  const std::string file = (box.Folder() / "notes.txt").string();
  CShareData share;
};

TEST_F(CommandLineProcessTest, ASecondStartOnTheFileMovesTheFirstWindowsCaretAndEnds) {
  const EditorSandbox::Started first = box.Start(box.EditorName(), {"notes.txt"}, box.Folder());
  ASSERT_GT(first.pid, 0);
  const EditWindowId window = WaitForWindowOn(share, file);
  ASSERT_NE(window, 0u) << "no window on " << file;
  EXPECT_EQ(platform::ipc::ProcessOf(window), first.pid);
  EXPECT_EQ(CaretOf(share, window), std::make_pair(0, 0));

  const EditorSandbox::Started second = box.Start(box.EditorName(), {file, "-Y=5"}, "/");
  ASSERT_GT(second.pid, 0);
  EXPECT_EQ(EditorSandbox::WaitForExit(second.pid, 10s), std::optional(0)) << "ends without a window";
  EXPECT_EQ(CaretOf(share, window), std::make_pair(0, 4));
  EXPECT_EQ(share.GetEditWindowCount(), 1);

  // Closed, the window's process ends, and with the last window the resident (no tray) does too.
  const pid_t resident = box.WaitForOne("-NOWIN", 1s);
  ASSERT_GT(resident, 0);
  platform::ipc::PostMessage(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(EditorSandbox::WaitForExit(first.pid, 10s), std::optional(0));
  EXPECT_TRUE(EditorSandbox::WaitGone(resident, 10s));
  EXPECT_FALSE(platform::NamedMutex::OwnerExists("MutexTovaraEditorCP"));
  for (int fd : {first.errors, second.errors}) ::close(fd);
}

TEST_F(CommandLineProcessTest, TwoStartsAtOnceOnOneFileGiveOneWindow) {
  const EditorSandbox::Started a = box.Start(box.EditorName(), {"notes.txt"}, box.Folder());
  const EditorSandbox::Started b = box.Start(box.EditorName(), {file}, "/");
  ASSERT_GT(a.pid, 0);
  ASSERT_GT(b.pid, 0);
  const EditWindowId window = WaitForWindowOn(share, file);
  ASSERT_NE(window, 0u);
  // The one that found the window open ends; the other keeps its window.
  const pid_t kept = platform::ipc::ProcessOf(window);
  const pid_t ended = kept == a.pid ? b.pid : a.pid;
  ASSERT_TRUE(kept == a.pid || kept == b.pid);
  EXPECT_EQ(EditorSandbox::WaitForExit(ended, 10s), std::optional(0));
  EXPECT_EQ(share.GetEditWindowCount(), 1);
  platform::ipc::PostMessage(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(EditorSandbox::WaitForExit(kept, 10s), std::optional(0));
  for (int fd : {a.errors, b.errors}) ::close(fd);
}

// The editor's folder follows the file a window opened, the process's own folder stays where it was
// started: a window started from that window's menu (here its recent-file item for another file)
// runs in the editor's folder.
TEST_F(CommandLineProcessTest, AWindowStartedFromAnothersMenuRunsInThatWindowsEditorFolder) {
  const std::filesystem::path sub = box.Folder() / "sub";
  std::filesystem::create_directories(sub);
  const std::string own = (sub / "a.txt").string();
  std::ofstream(own, std::ios::binary) << "a\r\n";
  const EditorSandbox::Started first = box.Start(box.EditorName(), {"sub/a.txt"}, box.Folder());
  ASSERT_GT(first.pid, 0);
  const EditWindowId window = WaitForWindowOn(share, own);
  ASSERT_NE(window, 0u) << "no window on " << own;

  // The other file is the menu's item: the user opened it some time before.
  RecentFileRecord other = kEmptyRecentFileRecord;
  std::snprintf(other.szPath, sizeof other.szPath, "%s", file.c_str());
  CRecentFileMenu recent(&share);
  ASSERT_TRUE(recent.AddRecord(&other));
  int item = -1;
  RecentFileRecord listed{};
  for (int i = 0; i < recent.GetCount() && item < 0; ++i)
    if (recent.GetRecord(i, &listed) && file == listed.szPath) item = i;
  ASSERT_GE(item, 0);
  platform::ipc::PostMessage(window, WM_COMMAND, MAKEWPARAM(11000 + item, 0), 0);

  const EditWindowId started = WaitForWindowOn(share, file);
  ASSERT_NE(started, 0u) << "the menu item started no window on " << file;
  const pid_t second = platform::ipc::ProcessOf(started);
  ASSERT_GT(second, 0);
  EXPECT_NE(second, first.pid);
  const auto folderOf = [](pid_t pid) {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/cwd", error);
  };
  EXPECT_EQ(folderOf(second), std::filesystem::canonical(sub)) << "the new window runs in the editor's folder";
  EXPECT_EQ(folderOf(first.pid), std::filesystem::canonical(box.Folder())) << "the first process stayed where it was";

  platform::ipc::PostMessage(started, WM_CLOSE, 0, 0);
  EXPECT_TRUE(EditorSandbox::WaitGone(second, 10s)) << "not a child of the test: it can only be seen to go";
  platform::ipc::PostMessage(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(EditorSandbox::WaitForExit(first.pid, 10s), std::optional(0));
  ::close(first.errors);
}

}  // namespace
