#include "editor/shell/process/editor_launcher.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/shell/process/tray_command_text.h"
#include "platform/sjis_literal.h"
#include "tests/editor/foundation/message_box_capture.h"
#include "tests/editor/shell/process/fake_process_launcher.h"
#include "tests/scoped_named_objects.h"

namespace {

class EditorLauncherTest : public testing::Test {
 protected:
  void SetUp() override {
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), names.c_str());
    savedFolder = EditorCurrentFolder();
    SetEditorCurrentFolder("/editor/folder/");
  }
  void TearDown() override { SetEditorCurrentFolder(savedFolder); }

  const ScopedNamedObjects names{"EditorLauncher-test"};
  std::unique_ptr<SharedSettings> record = std::make_unique<SharedSettings>();
  CShareData share;
  FakeProcessLauncher fake;
  CEditorLauncher launcher{share, fake};
  std::string savedFolder;
};

TEST_F(EditorLauncherTest, TextFolderAndWait) {
  struct Case {
    const char* name;
    const char* text;
    int code;
    bool readOnly;
    bool wait;
    const char* folder;
    std::string expectedText;
    std::string expectedFolder;
    std::optional<std::chrono::milliseconds> expectedLimit;
  } cases[] = {
      {"new window in the editor's folder", nullptr, 0, false, false, nullptr, "-CODE=0", "/editor/folder/", std::nullopt},
      {"empty folder is the editor's", "a.txt", 99, false, false, "", "a.txt", "/editor/folder/", std::nullopt},
      {"given folder, read-only, waited for", "\"b c.txt\"", 3, true, true, "/given", "\"b c.txt\" -CODE=3 -R",
       "/given", kLaunchReadyLimit},
  };
  for (const Case& c : cases) {
    fake.calls.clear();
    MessageBoxCapture boxes;
    EXPECT_TRUE(launcher.Launch(nullptr, c.text, c.code, c.readOnly, c.wait, c.folder)) << c.name;
    ASSERT_EQ(fake.calls.size(), 1u) << c.name;
    EXPECT_EQ(fake.calls[0].text, c.expectedText) << c.name;
    EXPECT_EQ(fake.calls[0].folder, c.expectedFolder) << c.name;
    EXPECT_EQ(fake.calls[0].limit, c.expectedLimit) << c.name;
    EXPECT_TRUE(boxes.requests.empty()) << c.name;
  }
}

TEST_F(EditorLauncherTest, FailuresAreSaidAndGiveFalse) {
  struct Case {
    const char* name;
    platform::ProcessLauncher::Result answer;
    std::string textEnd;
  } cases[] = {
      {"start failed: the system's text", {platform::ProcessLauncher::Status::kStartFailed, "権限がありません"_sj},
       "\nプロセスの起動に失敗しました。\n権限がありません"_sj},
      {"not ready in time", {platform::ProcessLauncher::Status::kNotReady, {}}, "\nプロセスの起動に失敗しました。"_sj},
  };
  for (const Case& c : cases) {
    fake.answer = c.answer;
    MessageBoxCapture boxes;
    EXPECT_FALSE(launcher.Launch(nullptr, "x", 99, false, true, nullptr)) << c.name;
    ASSERT_EQ(boxes.requests.size(), 1u) << c.name;
    const std::string& text = boxes.requests[0].text;
    EXPECT_EQ(text.front(), '\'') << c.name;
    EXPECT_TRUE(text.ends_with(c.textEnd)) << c.name << ": " << text;
    EXPECT_EQ(boxes.requests[0].flags & MB_ICONERROR, MB_ICONERROR) << c.name;
  }
}

TEST_F(EditorLauncherTest, NoLaunchAtTheWindowLimit) {
  record->nEditWindowCount = kMaxEditWindows;
  MessageBoxCapture boxes;
  EXPECT_FALSE(launcher.Launch(nullptr, "a.txt", 99, false, false, nullptr));
  RecentFileRecord file = kEmptyRecentFileRecord;
  EXPECT_FALSE(launcher.LaunchForFile(nullptr, file, false, false));
  EXPECT_TRUE(fake.calls.empty());
  ASSERT_EQ(boxes.requests.size(), 2u);
  EXPECT_EQ(boxes.requests[0].text, "編集ウィンドウ数の上限は256です。\nこれ以上は同時に開けません。"_sj);
  EXPECT_EQ(boxes.requests[0].caption, "tovara");

  record->nEditWindowCount = kMaxEditWindows - 1;
  EXPECT_TRUE(launcher.Launch(nullptr, "a.txt", 99, false, false, nullptr));
}

TEST_F(EditorLauncherTest, RecentFileWhereItWasLeft) {
  RecentFileRecord file = kEmptyRecentFileRecord;
  std::strcpy(file.szPath, "/my d/a.txt");
  file.nX = 2;
  file.nY = 9;
  file.nViewLeftCol = 0;
  file.nViewTopLine = 5;
  file.nCharCode = 99;
  EXPECT_TRUE(launcher.LaunchForFile(nullptr, file, true, false));
  ASSERT_EQ(fake.calls.size(), 1u);
  EXPECT_EQ(fake.calls[0].text, "\"/my d/a.txt\" -X=3 -Y=10 -VX=1 -VY=6 -R");
  EXPECT_EQ(fake.calls[0].folder, "/editor/folder/");
}

// Installed, it is how documents start windows and how debug texts get their output window.
TEST_F(EditorLauncherTest, InstalledForDocumentsAndTheOutputWindow) {
  {
    CEditorLauncher installed(share, fake);
    installed.Install();
    ASSERT_EQ(GetDocLauncher(), &installed);
    EXPECT_TRUE(GetDocLauncher()->LaunchEditorProcess("n.txt", 99, false, false, nullptr));
    CShareData::SetOutputWindowWait(std::chrono::milliseconds(1));
    share.DebugPrint("hello");
    CShareData::SetOutputWindowWait(std::chrono::milliseconds(10000));
  }
  EXPECT_EQ(GetDocLauncher(), nullptr);
  ASSERT_GE(fake.calls.size(), 2u);
  EXPECT_EQ(fake.calls[0].text, "n.txt");
  EXPECT_EQ(fake.calls[1].text, "-DEBUGMODE -CODE=0");
  EXPECT_EQ(fake.calls[1].limit, kLaunchReadyLimit);
}

}  // namespace
