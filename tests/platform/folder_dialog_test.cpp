#include "platform/folder_dialog.h"

#include <QFileDialog>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/beep.h"
#include "platform/dialog_test.h"
#include "platform/gui_app.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "platform/window_qt.h"
#include "scoped_temp_dir.h"

namespace {

using namespace platform;
namespace dt = platform::dialog_test;

class FolderDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    std::filesystem::create_directories(dir.path() / "alpha" / "beta");
    std::filesystem::create_directories(dir.path() / U8(u8"日本語"));
    dir.Write("a file", "x");
    previousBeep = SetBeepHook([this](UINT type) { beeps.push_back(type); });
  }
  void TearDown() override {
    dt::SetShownHook(nullptr);
    SetBeepHook(previousBeep);
  }
  static std::string U8(std::u8string_view s) { return std::string(s.begin(), s.end()); }
  std::string Root() const { return dir.path().string(); }
  // Runs the chooser with a hook that acts as the user.
  bool Run(const std::function<void(HWND)>& user, const std::string& initial, std::string* chosen) {
    dt::SetShownHook(user);
    return BrowseForFolder(nullptr, "保存先のフォルダーを選んでください"_sj, initial, chosen);
  }
  // Clears the edit and types the path, as the user would select the text and type over it.
  static void TypePath(HWND dialog, const std::string& sjisPath) {
    SetDlgItemText(dialog, kFolderChooserPath, "");
    EXPECT_TRUE(dt::Type(dialog, kFolderChooserPath, sjisPath));
  }

  ScopedTempDir dir;
  std::vector<UINT> beeps;
  BeepHook previousBeep;
};

TEST_F(FolderDialogTest, ShowsTheTitleAndTheInitialFolderAndGivesTheTypedOne) {
  std::string shownPath, shownTitle, templateName;
  std::string chosen = "unchanged";
  const bool ok = Run(
      [&](HWND d) {
        templateName = dt::TemplateOf(d);
        shownPath = dt::Query(d, kFolderChooserPath)->text;
        for (const auto& c : dt::Controls(d)) {
          if (c.kind == ControlKind::kStaticText && c.text.find("フォルダーを選んで"_sj) != std::string::npos) shownTitle = c.text;
        }
        TypePath(d, Root() + "/alpha/beta/");
        dt::PressKey(d, dt::Key::kEnter);
      },
      Root() + "/alpha/", &chosen);
  EXPECT_TRUE(ok);
  EXPECT_EQ(templateName, "FolderChooser");
  EXPECT_EQ(shownPath, Root() + "/alpha");  // without its final "/"
  EXPECT_EQ(shownTitle, "保存先のフォルダーを選んでください"_sj);
  EXPECT_EQ(chosen, Root() + "/alpha/beta");
  EXPECT_TRUE(beeps.empty());
}

TEST_F(FolderDialogTest, ANameIsTakenWithinTheFolderShownAndJapaneseNamesKeepTheirCharacters) {
  std::string chosen;
  EXPECT_TRUE(Run(
      [&](HWND d) {
        TypePath(d, "日本語"_sj);
        dt::Click(d, IDOK);
      },
      Root(), &chosen));
  EXPECT_EQ(chosen, Root() + "/" + "日本語"_sj);
}

TEST_F(FolderDialogTest, AFileOrAMissingFolderBeepsAndTheDialogStays) {
  std::string chosen = "unchanged";
  std::vector<std::string> stillThere;
  EXPECT_FALSE(Run(
      [&](HWND d) {
        for (const std::string& wrong : {Root() + "/missing", Root() + "/a file", std::string("missing")}) {
          TypePath(d, wrong);
          dt::PressKey(d, dt::Key::kEnter);
          stillThere.push_back(IsWindow(d) ? "open" : "closed");
        }
        dt::PressKey(d, dt::Key::kEscape);
      },
      Root(), &chosen));
  EXPECT_EQ(stillThere, (std::vector<std::string>{"open", "open", "open"}));
  EXPECT_EQ(beeps.size(), 3u);
  EXPECT_EQ(chosen, "unchanged");
}

TEST_F(FolderDialogTest, AFolderPickedInTheBrowserIsWrittenIntoTheEdit) {
  std::string picked, chosen;
  EXPECT_TRUE(Run(
      [&](HWND d) {
        auto* browser = WindowFromHandle(d)->findChild<QFileDialog*>();
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(browser->fileMode(), QFileDialog::Directory);
        EXPECT_TRUE(browser->testOption(QFileDialog::DontUseNativeDialog));
        // The user goes into a folder, then points at a file there (shown, never taken).
        emit browser->directoryEntered(QString::fromStdString(Root() + "/alpha/beta"));
        emit browser->currentChanged(QString::fromStdString(Root() + "/a file"));
        picked = dt::Query(d, kFolderChooserPath)->text;
        dt::Click(d, IDOK);
      },
      Root(), &chosen));
  EXPECT_EQ(picked, Root() + "/alpha/beta");
  EXPECT_EQ(chosen, Root() + "/alpha/beta");
}

TEST_F(FolderDialogTest, AnEmptyEditTakesTheFolderShown) {
  std::string chosen;
  EXPECT_TRUE(Run(
      [&](HWND d) {
        SetDlgItemText(d, kFolderChooserPath, "");
        dt::Click(d, IDOK);
      },
      Root() + "/alpha", &chosen));
  EXPECT_EQ(chosen, Root() + "/alpha");
}

TEST_F(FolderDialogTest, CancelGivesNothing) {
  std::string chosen = "unchanged";
  EXPECT_FALSE(Run([](HWND d) { dt::Click(d, IDCANCEL); }, Root(), &chosen));
  EXPECT_EQ(chosen, "unchanged");
  EXPECT_FALSE(Run([](HWND d) { dt::CloseButton(d); }, Root(), &chosen));
}

}  // namespace
