// Text copied in an edit window outlives its process: the resident keeps it.
#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>

#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/ui/clipboard_formats.h"
#include "editor_sandbox.h"
#include "platform/clipboard.h"
#include "platform/clipboard_keeper.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/sjis_literal.h"

namespace {

using namespace std::chrono_literals;

constexpr UINT kSelectAllCommand = 30401;
constexpr UINT kCopyCommand = 30602;
constexpr UINT kUndoCommand = 30210;

class ClipboardProcessTest : public testing::Test {
 protected:
  void SetUp() override {
    platform::EnsureGuiApp();
    std::ofstream(file, std::ios::binary) << "keeps the resident\r\n";
    ASSERT_TRUE(share.Init());
    // A window on a file keeps the resident running (it has no tray to stay for).
    keeper = box.Start(box.EditorName(), {"notes.txt"}, box.Folder());
    ASSERT_GT(keeper.pid, 0);
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (!share.FindEditWindowByPath(file.c_str(), &keeperWindow) && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(50ms);
    ASSERT_NE(keeperWindow, 0u);
    // Then an empty window, which copies.
    copier = box.Start(box.EditorName(), {}, box.Folder());
    ASSERT_GT(copier.pid, 0);
    while (copierWindow == 0 && std::chrono::steady_clock::now() < end + 10s) {
      for (const EditWindowEntry& entry : share.GetEditWindowList(false))
        if (entry.hwnd != keeperWindow && platform::ipc::ProcessOf(entry.hwnd) == copier.pid) copierWindow = entry.hwnd;
      std::this_thread::sleep_for(50ms);
    }
    ASSERT_NE(copierWindow, 0u);
  }
  void TearDown() override {
    if (keeperWindow) platform::ipc::PostMessage(keeperWindow, WM_CLOSE, 0, 0);
    EditorSandbox::WaitForExit(keeper.pid, 10s);
    for (int fd : {keeper.errors, copier.errors}) ::close(fd);
  }
  // 表 typed into the empty window, all selected and copied; then the typing undone, since an
  // untitled window with changes asks for a name before it closes.
  void CopyKanji() {
    for (const unsigned char c : kanji) platform::ipc::SendMessage(copierWindow, WM_CHAR, c, 0);
    platform::ipc::SendMessage(copierWindow, WM_COMMAND, kSelectAllCommand, 0);
    platform::ipc::SendMessage(copierWindow, WM_COMMAND, kCopyCommand, 0);
    platform::ipc::SendMessage(copierWindow, WM_COMMAND, kUndoCommand, 0);
    EXPECT_EQ(share.AskWindowFileInfo(copierWindow).bModified, 0);
  }

  EditorSandbox box;
  const std::string file = (box.Folder() / "notes.txt").string();
  const std::string kanji = "表"_sj;
  CShareData share;
  EditorSandbox::Started keeper, copier;
  EditWindowId keeperWindow = 0, copierWindow = 0;
};

TEST_F(ClipboardProcessTest, TheResidentKeepsWhatAnEndedWindowCopied) {
  CopyKanji();
  EXPECT_EQ(platform::ipc::SendMessage(copierWindow, MYWM_CLOSE, 0, 0), 1);
  EXPECT_EQ(EditorSandbox::WaitForExit(copier.pid, 10s), std::optional(0));

  const auto kept = platform::AskKeptClipboard(share.GetShareData()->hwndResident);
  ASSERT_TRUE(kept);
  platform::ClipboardSnapshot got = *kept;
  std::sort(got.begin(), got.end(), [](const auto& a, const auto& b) { return a.mimeType < b.mimeType; });
  const platform::ClipboardSnapshot want = {
      {platform::RegisteredFormatMimeType(PrivateClipFormat()), MakePrivateClipBlock(kanji)},
      {"text/plain", reinterpret_cast<const char*>(u8"表")},
  };
  EXPECT_EQ(got, want);
}

TEST_F(ClipboardProcessTest, AWindowEndsWithinTheSendLimitWhenTheResidentIsGone) {
  const pid_t resident = box.WaitForOne("-NOWIN", 5s);
  ASSERT_GT(resident, 0);
  CopyKanji();
  ::kill(resident, SIGKILL);
  ASSERT_TRUE(EditorSandbox::WaitGone(resident, 5s));
  const auto start = std::chrono::steady_clock::now();
  platform::ipc::PostMessage(copierWindow, MYWM_CLOSE, 0, 0);
  EXPECT_EQ(EditorSandbox::WaitForExit(copier.pid, 10s), std::optional(0));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 6s) << "at most the send limit (5 s) and its own end";
}

}  // namespace
