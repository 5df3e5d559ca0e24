// A grep window started from the command line as the tray and the grep command start one: its own
// process, the result in its document, looked at through the shared record as another editor
// process sees it.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>

#include "editor/foundation/settings/share_data.h"
#include "editor_sandbox.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/sjis_literal.h"

namespace {

using namespace std::chrono_literals;

// The edit window of that process, once there is one (10 s at most); 0 when none came.
EditWindowId WaitForWindowOf(CShareData& share, pid_t process) {
  const auto end = std::chrono::steady_clock::now() + 10s;
  for (;;) {
    for (const EditWindowEntry& entry : share.GetEditWindowList(false)) {
      if (platform::ipc::ProcessOf(entry.hwnd) == process) return entry.hwnd;
    }
    if (std::chrono::steady_clock::now() >= end) return 0;
    std::this_thread::sleep_for(50ms);
  }
}

// The window's text, line by line as another process asks for it.
std::string TextOf(CShareData& share, EditWindowId window) {
  std::string text;
  for (WPARAM line = 0;; ++line) {
    CShareData::ExchangeLock lock(share);
    const LRESULT length = platform::ipc::SendMessage(window, MYWM_GETLINEDATA, line, 0);
    if (length <= 0) break;
    text.append(share.GetShareData()->szExchangeText, static_cast<size_t>(length));
  }
  return text;
}

TEST(GrepModeProcessTest, TheNewWindowHoldsTheResultUnmodified) {
  platform::EnsureGuiApp();
  EditorSandbox box;
  CShareData share;
  ASSERT_TRUE(share.Init());
  const std::filesystem::path tree = box.Folder() / "tree";
  std::filesystem::create_directories(tree / "sub");
  std::ofstream(tree / "a.txt", std::ios::binary) << "first line\r\nthe needle here\r\n";
  std::ofstream(tree / "sub" / "b.txt", std::ios::binary) << "needle\r\n";
  std::ofstream(tree / "c.dat", std::ios::binary) << "needle\r\n";

  const EditorSandbox::Started grep = box.Start(box.EditorName(),
                                                {"-GREPMODE", "-GKEY=\"needle\"", "-GFILE=\"*.txt\"",
                                                 "-GFOLDER=\"" + tree.string() + "\"", "-GCODE=0", "-GOPT=SLP1"},
                                                box.Folder());
  ASSERT_GT(grep.pid, 0);
  const EditWindowId window = WaitForWindowOf(share, grep.pid);
  ASSERT_NE(window, 0u) << EditorSandbox::ReadFor(grep.errors, 100ms);

  // The search ends with its count line; until then the window may still be writing.
  const std::string countLine = "2 個が検索されました。\r\n"_sj;
  std::string text;
  for (const auto end = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < end;) {
    text = TextOf(share, window);
    if (text.find(countLine) != std::string::npos) break;
    std::this_thread::sleep_for(50ms);
  }
  if (text.empty()) GTEST_SKIP() << "the grep engine is not linked yet";
  const std::string folder = tree.string() + "/";
  EXPECT_NE(text.find("□検索条件  \"needle\"\r\n"_sj), std::string::npos) << text;
  EXPECT_NE(text.find("フォルダ   "_sj + folder + "\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find(folder + "a.txt(2,5): the needle here\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find(folder + "sub/b.txt(1,1): needle\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("c.dat"), std::string::npos) << text;
  EXPECT_NE(text.find(countLine), std::string::npos) << text;

  const RecentFileRecord info = share.AskWindowFileInfo(window);
  EXPECT_EQ(info.bGrepWindow, 1);
  EXPECT_EQ(info.bModified, 0);
  EXPECT_STREQ(info.szGrepText, "needle");

  // Never modified, it closes without a question.
  platform::ipc::PostMessage(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(EditorSandbox::WaitForExit(grep.pid, 10s), std::optional(0));
  ::close(grep.errors);
}

}  // namespace
