// Text copied in an edit window's process outlives it: as that process ends it hands the clipboard
// to the resident's tray window, in another process, which then owns the same formats byte for byte.
#include "editor/shell/process/clipboard_hand_over.h"

#include <QClipboard>
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/prctl.h>

#include "child_copy.h"
#include "editor/foundation/ui/clipboard_formats.h"
#include "editor/shell/process/control_tray.h"
#include "platform/clipboard.h"
#include "platform/clipboard_keeper.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "test_util.h"
#include "tests/editor/foundation/message_box_capture.h"
#include "tests/editor/shell/process/fake_process_launcher.h"
#include "tests/scoped_named_objects.h"

namespace {

constexpr const char* kResidentVariable = "CLIPBOARD_HAND_OVER_TEST_RESIDENT";
const std::string kText = "表\r\n"_sj;

void Pump() {
  MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) platform::DispatchMessage(&msg);
}

// 表 copied as a box, as the pane puts it on the clipboard.
void CopyBox() {
  ASSERT_TRUE(platform::OpenClipboard(nullptr));
  ASSERT_TRUE(platform::EmptyClipboard());
  ASSERT_TRUE(platform::SetClipboardData(CF_OEMTEXT, kText + '\0'));
  ASSERT_TRUE(platform::SetClipboardData(PrivateClipFormat(), MakePrivateClipBlock(kText)));
  ASSERT_TRUE(platform::SetClipboardData(BoxClipFormat(), std::string(1, '\0')));
  ASSERT_TRUE(platform::CloseClipboard());
}

platform::ClipboardSnapshot Sorted(platform::ClipboardSnapshot s) {
  std::sort(s.begin(), s.end(), [](const auto& a, const auto& b) { return a.mimeType < b.mimeType; });
  return s;
}

// A format as one line: its type, then its bytes in hex.
std::string Line(const platform::ClipboardEntry& entry) { return entry.mimeType + " " + HexBytes(entry.bytes); }

// The edit window's process: copies, says what it holds (a line per format), hands over to
// the resident named in the environment and ends.
TEST(ClipboardHandOverCopy, DISABLED_CopyABoxAndEnd) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  platform::EnsureGuiApp();
  CopyBox();
  for (const auto& entry : Sorted(platform::SnapshotClipboard())) dprintf(3, "%s\n", Line(entry).c_str());
  const auto record = std::make_unique<SharedSettings>();
  record->hwndResident = static_cast<uint32_t>(std::strtoul(std::getenv(kResidentVariable), nullptr, 10));
  dprintf(3, "handed %d\n", HandOverClipboardToResident(record.get()) ? 1 : 0);
}

class ClipboardHandOverTest : public testing::Test {
 protected:
  void SetUp() override {
    platform::EnsureGuiApp();
    ASSERT_TRUE(RegisterTrayMenuResource());
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), names.c_str());
    QGuiApplication::clipboard()->setText(QStringLiteral("another program's"));
  }
  void TearDown() override {
    app.reset();
    Pump();
  }

  const ScopedNamedObjects names{"ClipboardHandOver-test"};
  std::unique_ptr<SharedSettings> record = std::make_unique<SharedSettings>();
  CShareData share;
  FakeProcessLauncher launcher;
  MessageBoxCapture boxes;
  std::unique_ptr<CEditApp> app;
};

TEST_F(ClipboardHandOverTest, TheResidentOwnsWhatAnEndedWindowCopied) {
  app = std::make_unique<CEditApp>(share, launcher);
  ASSERT_NE(app->Create(nullptr), nullptr);
  ChildCopy window("ClipboardHandOverCopy.DISABLED_CopyABoxAndEnd",
                   {std::string(kResidentVariable) + "=" + std::to_string(app->GetTrayWindowId())});
  ASSERT_TRUE(window.started());
  std::vector<std::string> copied;
  std::string line;
  while (!(line = window.ReadLine(Pump)).empty() && !line.starts_with("handed")) copied.push_back(line);
  EXPECT_EQ(line, "handed 1");
  EXPECT_EQ(window.Wait(), 0);
  ASSERT_EQ(copied.size(), 3u);  // text, private block, box marker

  std::vector<std::string> owned;
  for (const auto& entry : Sorted(platform::SnapshotClipboard())) owned.push_back(Line(entry));
  EXPECT_EQ(owned, copied);
  EXPECT_TRUE(platform::OwnsClipboard());

  // The resident's panes paste it as the box it was.
  ASSERT_TRUE(platform::OpenClipboard(nullptr));
  const auto block = platform::GetClipboardData(PrivateClipFormat());
  ASSERT_TRUE(block);
  EXPECT_EQ(ReadPrivateClipBlock(*block), kText);
  EXPECT_EQ(platform::GetClipboardData(BoxClipFormat()), std::string(1, '\0'));
  ASSERT_TRUE(platform::CloseClipboard());

  // What a test of real processes asks the resident.
  const auto kept = platform::AskKeptClipboard(app->GetTrayWindowId());
  ASSERT_TRUE(kept);
  EXPECT_EQ(Sorted(*kept), Sorted(platform::SnapshotClipboard()));
}

TEST_F(ClipboardHandOverTest, NothingIsHandedWithoutAResidentElsewhere) {
  CopyBox();
  EXPECT_FALSE(HandOverClipboardToResident(nullptr));
  record->hwndResident = 0;
  EXPECT_FALSE(HandOverClipboardToResident(record.get()));
  // The resident is this process: the clipboard stays where it is.
  app = std::make_unique<CEditApp>(share, launcher);
  ASSERT_NE(app->Create(nullptr), nullptr);
  record->hwndResident = app->GetTrayWindowId();
  EXPECT_FALSE(HandOverClipboardToResident(record.get()));
  EXPECT_TRUE(platform::OwnsClipboard());
}

}  // namespace
