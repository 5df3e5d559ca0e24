// Edit windows started from the command line as a person starts them, each in a process of its
// own, looked at through the shared record as the editor's own processes see it.
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>

#include "editor/foundation/settings/share_data.h"
#include "editor_sandbox.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/named_mutex.h"

namespace {

using namespace std::chrono_literals;

// The edit window that has the file open, once one has (10 s at most); 0 when none came.
EditWindowId WaitForWindowOn(CShareData& share, const std::string& path) {
  const auto end = std::chrono::steady_clock::now() + 10s;
  EditWindowId window = 0;
  while (!share.FindEditWindowByPath(path.c_str(), &window) && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(50ms);
  return window;
}

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

}  // namespace
