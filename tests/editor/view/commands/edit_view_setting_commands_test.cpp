// The bars, the wrap width, the commands whose dialogs come later, and the file commands that only
// hand the document to someone else (the launcher, the desktop, the frame).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "editor/foundation/beep_capture.h"
#include "editor/foundation/document/fake_ports.h"
#include "editor/foundation/message_box_capture.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/view/commands/wrap_toggle.h"
#include "editor/view/pane/view_fixture.h"
#include "platform/sjis_literal.h"
#include "platform/url_opener.h"
#include "scoped_temp_dir.h"

namespace {

constexpr int kOff = 10240;

class FrameCommands : public FakeEditWindow {
 public:
  void ToggleBar(Bar bar) override { toggled.push_back(bar); }
  void TogglePrintPreview() override {
    printPreview = !printPreview;
    ++previewSwitches;
  }
  std::vector<Bar> toggled;
  int previewSwitches = 0;
};

class SettingCommandsTest : public ViewFixture {
 protected:
  void SetUp() override {
    ViewFixture::SetUp();
    view->SetEditWindow(&frame);
  }
  void Run(int command, LPARAM argument = 0) { view->RunCommand(command, true, argument, 0, 0, 0); }

  FrameCommands frame;
  BeepCapture beeps;
};

// In a 100-column pane on a type that wraps at 80 the command goes round 100, off, 80, 100, and
// each time the text is wrapped again there and shown from its first column.
TEST_F(SettingCommandsTest, WrapWindowWidthGoesRound) {
  type().nWrapColumn = 80;
  SetText(std::string(250, 'a'));
  // The client width at which the pane shows 100 columns: the toggle then turns wrapping off.
  doc->ChangeWrapWidth(false, doc->m_cLayoutMgr.GetTabWidth(), 100);
  int width = 200;
  for (; width < 4000; ++width) {
    view->SetClientSize(width, 300);
    if (view->NextWrapToggle() == kWrapToggleOff) break;
  }
  ASSERT_LT(width, 4000);
  doc->ChangeWrapWidth(false, doc->m_cLayoutMgr.GetTabWidth(), 80);

  const struct {
    int width;
    int lines;
  } steps[] = {{100, 3}, {kOff, 1}, {80, 4}, {100, 3}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.width);
    view->SetViewTopLeft(0, 7);
    Run(31140);
    EXPECT_EQ(doc->m_cLayoutMgr.GetWrapWidth(), step.width);
    EXPECT_EQ(doc->m_cLayoutMgr.GetLineCount(), step.lines);
    EXPECT_EQ(view->ViewLeftColumn(), 0);
  }
  EXPECT_TRUE(beeps.beeps.empty());
}

TEST_F(SettingCommandsTest, EachBarCommandTogglesItsBar) {
  using Bar = IEditWindow::Bar;
  for (const int command : {31100, 31101, 31102, 31103, 31100}) Run(command);
  EXPECT_EQ(frame.toggled,
            (std::vector<Bar>{Bar::kToolBar, Bar::kFuncKeyBar, Bar::kStatusBar, Bar::kTabBar, Bar::kToolBar}));
}

// The type list, the type and common settings, the favourites, the file's properties and the page
// setup have no dialog yet: the command beeps and leaves the settings and the document alone.
TEST_F(SettingCommandsTest, CommandsWhoseDialogComesLaterBeepAndChangeNothing) {
  SetText("text\r\n");
  const struct {
    const char* name;
    int command;
  } cases[] = {
      {"TypeList", 31110},     {"OptionType", 31111},   {"OptionCommon", 31112},
      {"OptionFavorite", 31113}, {"PropertyFile", 30190}, {"PrintPageSetup", 30152},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto before = std::make_unique<SharedSettings>(*record);
    const int settingType = doc->m_nSettingType;
    beeps.beeps.clear();
    Run(c.command);
    EXPECT_EQ(beeps.beeps.size(), 1u);
    EXPECT_EQ(std::memcmp(before.get(), record.get(), sizeof(SharedSettings)), 0);
    EXPECT_EQ(doc->m_nSettingType, settingType);
    EXPECT_EQ(DocBytes(), "text\r\n");
    EXPECT_FALSE(doc->m_bIsModified);
    EXPECT_EQ(frame.previewSwitches, 0);
  }
}

TEST_F(SettingCommandsTest, PrintStartsFromThePreviewWhichPrintPreviewSwitches) {
  Run(30151);
  EXPECT_TRUE(frame.printPreview);
  Run(30151);
  EXPECT_FALSE(frame.printPreview);
  Run(30150);
  EXPECT_TRUE(frame.printPreview);
  EXPECT_EQ(frame.previewSwitches, 3);
}

class UrlCapture {
 public:
  UrlCapture() {
    m_previous = platform::SetUrlOpenerHook([this](const std::string& url) {
      urls.push_back(url);
      return true;
    });
  }
  ~UrlCapture() { platform::SetUrlOpenerHook(m_previous); }
  std::vector<std::string> urls;

 private:
  platform::UrlOpenerHook m_previous;
};

TEST_F(SettingCommandsTest, BrowseHandsTheFileToTheDesktopAndBeepsWhenUntitled) {
  UrlCapture opened;
  Run(30180);
  EXPECT_EQ(beeps.beeps.size(), 1u);
  EXPECT_TRUE(opened.urls.empty());

  // "#", "?" and "%" would end the path or start an escape; the Shift-JIS name stays as it is.
  const std::string path = "/tmp/a #1?%20"_sj + std::string("表.txt"_sj);
  doc->SetFilePath(path.c_str());
  Run(30180);
  ASSERT_EQ(opened.urls.size(), 1u);
  EXPECT_EQ(opened.urls[0], "file:///tmp/a %231%3F%2520"_sj + std::string("表.txt"_sj));
  EXPECT_EQ(beeps.beeps.size(), 1u);
}

TEST_F(SettingCommandsTest, ReadOnlyToggles) {
  Run(30185);
  EXPECT_TRUE(doc->m_bReadOnly);
  Run(30185);
  EXPECT_FALSE(doc->m_bReadOnly);
}

TEST_F(SettingCommandsTest, NewWindowsAndTheOutputWindowStartThroughTheLauncher) {
  FakeLauncher launcher;
  LauncherScope scope(&launcher);
  record->hwndOutput = 0;
  Run(30101);
  Run(31370);
  ASSERT_EQ(launcher.launches.size(), 2u);
  EXPECT_EQ(launcher.launches[0].text, "");
  EXPECT_EQ(launcher.launches[0].code, 99);
  EXPECT_FALSE(launcher.launches[0].readOnly);
  EXPECT_FALSE(launcher.launches[0].wait);
  EXPECT_EQ(launcher.launches[1].text, "-DEBUGMODE");
}

class FileReopenTest : public SettingCommandsTest {
 protected:
  ScopedTempDir dir;
};

// A modified document asks before its changes are lost; the do-not-ask argument skips the question.
TEST_F(FileReopenTest, ReopenAsksBeforeLosingChanges) {
  struct Case {
    const char* name;
    int command;
    LPARAM noAsk;
    int answer;
    bool reloaded;
  };
  const Case cases[] = {
      {"cancelled keeps the changes", 30119, 0, IDCANCEL, false},
      {"OK reloads", 30119, 0, IDOK, true},
      {"without asking", 30115, 1, IDCANCEL, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MakeDocumentAndPane();
    view->SetEditWindow(&frame);
    dir.Write("r.txt", "on disk\r\n");
    doc->SetFilePath(dir.File("r.txt").c_str());
    SetText("edited\r\n");
    doc->SetModified(true, false);
    MessageBoxCapture boxes(c.answer);
    Run(c.command, c.noAsk);
    EXPECT_EQ(boxes.requests.size(), c.noAsk ? 0u : 1u);
    if (!boxes.requests.empty()) {
      EXPECT_EQ(boxes.requests[0].flags, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION | MB_TOPMOST));
      EXPECT_EQ(boxes.requests[0].text,
                dir.File("r.txt") + "\n\nこのファイルは変更されています。\n再ロードを行うと変更が失われますが、よろしいですか?"_sj);
    }
    EXPECT_EQ(DocBytes(), c.reloaded ? "on disk\r\n" : "edited\r\n");
    EXPECT_EQ(doc->m_bIsModified, !c.reloaded);
    if (c.command == 30115 && c.reloaded) EXPECT_EQ(doc->m_nCharCode, 4);
  }
}

TEST_F(FileReopenTest, FileCloseLeavesAnEmptyUntitledDocument) {
  dir.Write("c.txt", "x\r\n");
  doc->SetFilePath(dir.File("c.txt").c_str());
  SetText("x\r\n");
  doc->m_bReadOnly = true;
  Run(30105);
  EXPECT_EQ(doc->m_szFilePath[0], '\0');
  EXPECT_EQ(DocBytes(), "");
  EXPECT_FALSE(doc->m_bReadOnly);
  EXPECT_EQ(view->ViewTopLine(), 0);
}

}  // namespace
