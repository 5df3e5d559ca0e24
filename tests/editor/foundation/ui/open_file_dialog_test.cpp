#include "editor/foundation/ui/open_file_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "editor/foundation/beep_capture.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/ui/system_utils.h"
#include "editor/foundation/message_box_capture.h"
#include "platform/dialog_test.h"
#include "platform/file_dialog_test.h"
#include "platform/gui_app.h"
#include "platform/sjis_literal.h"
#include "platform/win_help.h"
#include "scoped_named_objects.h"
#include "scoped_temp_dir.h"

namespace {

using namespace platform;
namespace dt = platform::dialog_test;
namespace ft = platform::file_dialog_test;

constexpr int kCode = 1146;
constexpr int kRecentFiles = 1167;
constexpr int kRecentFolders = 1169;
constexpr int kEol = 1147;
constexpr int kEolLabel = 1385;
constexpr int kBom = 1478;

class OpenFileDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    record = std::make_unique<SharedSettings>();
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), names.c_str());
    std::filesystem::create_directories(dir.path() / "sub");
    dir.Write("a.txt", "x");
    dir.Write("sub/b.txt", "y");
    previousHelp = SetWinHelpHook([this](const WinHelpRequest& r) {
      help.push_back(r);
      return 1;
    });
  }
  void TearDown() override {
    dt::SetShownHook(nullptr);
    SetWinHelpHook(previousHelp);
  }
  // The dialog set up for the test's folder, with the recent lists given.
  void SetUpDialog(COpenFileDialog& dialog, const char* const* files = nullptr, const char* const* folders = nullptr) {
    dialog.Setup(nullptr, nullptr, nullptr, (root + "/").c_str(), files, folders);
  }
  static void TypeName(HWND d, const std::string& name) {
    SetDlgItemText(d, kFileDialogName, "");
    EXPECT_TRUE(dt::Type(d, kFileDialogName, name));
  }
  static void Pump(HWND d) {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessage(d, &msg)) DispatchMessage(&msg);
    }
  }

  const ScopedNamedObjects names{"CShareData-test-open-file-dialog"};
  std::unique_ptr<SharedSettings> record;
  CShareData share;
  ScopedTempDir dir;
  const std::string root = dir.path().string();
  std::vector<WinHelpRequest> help;
  WinHelpHook previousHelp;
};

TEST_F(OpenFileDialogTest, TheOpenDialogOffersTheTypesCodesAndRecentListsAndGivesTheChoiceBack) {
  const std::string recentFile = root + "/sub/b.txt";
  const char* files[] = {recentFile.c_str(), nullptr};
  const char* folders[] = {root.c_str(), nullptr};
  COpenFileDialog dialog;
  SetUpDialog(dialog, files, folders);
  std::vector<std::string> types, codes, recent, recentFolders;
  std::vector<bool> shown;
  std::string folder;
  dt::SetShownHook([&](HWND d) {
    HWND t = ft::TemplateDialog(d);
    ASSERT_NE(t, nullptr);
    folder = ft::ShownFolder(d);
    types = dt::Query(d, kFileDialogTypes)->items;
    codes = dt::Query(t, kCode)->items;
    recent = dt::Query(t, kRecentFiles)->items;
    recentFolders = dt::Query(t, kRecentFolders)->items;
    shown = {dt::Query(t, kEol)->visible, dt::Query(t, kEolLabel)->visible, dt::Query(t, kBom)->visible,
             dt::Query(d, kFileDialogReadOnly)->visible, dt::Query(d, kFileDialogHelp)->visible};
    dt::Select(t, kCode, 3);  // EUC
    dt::Click(d, kFileDialogReadOnly);
    dt::Select(t, kRecentFiles, 0);
    dt::PressKey(d, dt::Key::kEnter);
  });
  char path[kMaxPath] = "unchanged";
  int code = -1;
  bool readOnly = false;
  ASSERT_TRUE(dialog.RunOpenDialog(path, &code, &readOnly));
  EXPECT_EQ(folder, root);
  ASSERT_GE(types.size(), 3u);
  EXPECT_EQ(types[0], "すべてのファイル (*.*)"_sj);
  EXPECT_EQ(types[1], "テキストファイル (*.txt)"_sj);
  int typesWithExtensions = 0;
  for (const TypeSettings& t : record->TypeList) typesWithExtensions += t.szTypeExts[0] != '\0' ? 1 : 0;
  EXPECT_EQ(types.size(), 2u + static_cast<size_t>(typesWithExtensions));
  EXPECT_EQ(codes, (std::vector<std::string>{"自動選択"_sj, "SJIS", "JIS", "EUC", "Unicode", "UnicodeBE", "UTF-8", "UTF-7"}));
  EXPECT_EQ(recent, (std::vector<std::string>{recentFile}));
  EXPECT_EQ(recentFolders, (std::vector<std::string>{root}));
  EXPECT_EQ(shown, (std::vector<bool>{false, false, false, true, true}));
  EXPECT_STREQ(path, recentFile.c_str());
  EXPECT_EQ(code, 2);
  EXPECT_TRUE(readOnly);
}

TEST_F(OpenFileDialogTest, AReadOnlyRequestStartsChecked) {
  COpenFileDialog dialog;
  SetUpDialog(dialog);
  UINT check = BST_UNCHECKED;
  std::string codeShown;
  dt::SetShownHook([&](HWND d) {
    check = dt::Query(d, kFileDialogReadOnly)->check;
    const auto code = dt::Query(ft::TemplateDialog(d), kCode);
    codeShown = code->items[static_cast<size_t>(code->selection)];
    TypeName(d, "a.txt");
    dt::Click(d, IDOK);
  });
  char path[kMaxPath] = {};
  int code = 0;
  bool readOnly = true;
  ASSERT_TRUE(dialog.RunOpenDialog(path, &code, &readOnly));
  EXPECT_EQ(check, BST_CHECKED);
  EXPECT_EQ(codeShown, "自動選択"_sj);
  EXPECT_EQ(code, 99);
  EXPECT_TRUE(readOnly);
}

TEST_F(OpenFileDialogTest, ARecentFolderMovesTheDialogThereAtOnce) {
  const std::string sub = root + "/sub";
  const char* folders[] = {sub.c_str(), nullptr};
  COpenFileDialog dialog;
  SetUpDialog(dialog, nullptr, folders);
  std::string folder, typed;
  dt::SetShownHook([&](HWND d) {
    dt::Select(ft::TemplateDialog(d), kRecentFolders, 0);
    Pump(d);
    folder = ft::ShownFolder(d);
    typed = dt::Query(d, kFileDialogName)->text;
    TypeName(d, "b.txt");
    dt::Click(d, IDOK);
  });
  char path[kMaxPath] = {};
  ASSERT_TRUE(dialog.RunOpenDialog(path, nullptr, nullptr));
  EXPECT_EQ(folder, sub);
  EXPECT_EQ(typed, "");
  EXPECT_STREQ(path, (sub + "/b.txt").c_str());
}

// The byte-order-mark box of the save dialog as the code changes, for the code the dialog starts
// with and the value given.
TEST_F(OpenFileDialogTest, TheSaveDialogsByteOrderMarkFollowsTheCode) {
  struct Case {
    const char* name;
    int startCode;
    bool givenBom;
    int chosenRow;  // of the save dialog's list, which starts at "SJIS"
    bool enabled;
    UINT check;
    int code;
  };
  const std::vector<Case> cases = {
      {"UTF-8 clears it", 0, true, 5, true, BST_UNCHECKED, 4},
      {"Unicode sets it", 0, false, 3, true, BST_CHECKED, 3},
      {"UnicodeBE sets it", 0, false, 4, true, BST_CHECKED, 6},
      {"the starting code keeps the value given", 3, false, 3, true, BST_UNCHECKED, 3},
      {"UTF-8 as the starting code keeps the mark", 4, true, 5, true, BST_CHECKED, 4},
      {"SJIS disables and clears it", 4, true, 0, false, BST_UNCHECKED, 0},
  };
  for (const Case& c : cases) {
    COpenFileDialog dialog;
    SetUpDialog(dialog);
    dt::ControlState bom;
    std::vector<std::string> codes;
    dt::SetShownHook([&](HWND d) {
      HWND t = ft::TemplateDialog(d);
      codes = dt::Query(t, kCode)->items;
      dt::Select(t, kCode, 2);  // another code first: the box is judged afresh
      dt::Select(t, kCode, c.chosenRow);
      bom = *dt::Query(t, kBom);
      TypeName(d, "new.txt");
      dt::Click(d, IDOK);
    });
    MessageBoxCapture boxes(IDYES);
    char path[kMaxPath] = {};
    int code = c.startCode;
    bool withBom = c.givenBom;
    ASSERT_TRUE(dialog.RunSaveDialog(path, &code, nullptr, &withBom)) << c.name;
    ASSERT_FALSE(codes.empty()) << c.name;
    EXPECT_EQ(codes.front(), "SJIS") << c.name << ": no detection when saving";
    EXPECT_EQ(bom.enabled, c.enabled) << c.name;
    EXPECT_EQ(bom.check, c.check) << c.name;
    EXPECT_EQ(code, c.code) << c.name;
    EXPECT_EQ(withBom, c.check == BST_CHECKED) << c.name;
  }
}

TEST_F(OpenFileDialogTest, TheSaveDialogReadsBackCodeLineEndAndMarkWhenTheFileIsOk) {
  COpenFileDialog dialog;
  SetUpDialog(dialog);
  std::vector<std::string> eols;
  int eolSelection = -1;
  dt::ControlState bomAtStart;
  dt::SetShownHook([&](HWND d) {
    HWND t = ft::TemplateDialog(d);
    eols = dt::Query(t, kEol)->items;
    eolSelection = dt::Query(t, kEol)->selection;
    bomAtStart = *dt::Query(t, kBom);
    dt::Select(t, kEol, 2);
    dt::Click(t, kBom);  // off
    TypeName(d, "a.txt");
    dt::Click(d, IDOK);
  });
  MessageBoxCapture boxes(IDYES);
  char path[kMaxPath] = "new name";
  int code = 6;
  CLineEnd eol(CLineEnd::CRLF);
  bool withBom = true;
  ASSERT_TRUE(dialog.RunSaveDialog(path, &code, &eol, &withBom));
  EXPECT_EQ(eols, (std::vector<std::string>{"変換なし"_sj, "CR+LF", "LF (UNIX)", "CR (Mac)"}));
  EXPECT_EQ(eolSelection, 0);
  EXPECT_TRUE(bomAtStart.enabled);
  EXPECT_EQ(bomAtStart.check, BST_CHECKED);
  ASSERT_EQ(boxes.requests.size(), 1u);  // the overwrite question
  EXPECT_EQ(boxes.requests[0].text, root + "/a.txt は既に存在します。\n上書きしますか？"_sj);
  EXPECT_STREQ(path, (root + "/a.txt").c_str());
  EXPECT_EQ(code, 6);
  EXPECT_EQ(eol.GetCode(), CLineEnd::LF);
  EXPECT_FALSE(withBom);
}

TEST_F(OpenFileDialogTest, ASaveWithoutCodeAndLineEndHasNoAdditions) {
  COpenFileDialog dialog;
  SetUpDialog(dialog);
  HWND t = reinterpret_cast<HWND>(1);
  std::string typed;
  dt::SetShownHook([&](HWND d) {
    t = ft::TemplateDialog(d);
    typed = dt::Query(d, kFileDialogName)->text;
    dt::Click(d, IDCANCEL);
  });
  char path[kMaxPath];
  std::strcpy(path, (root + "/sub/c.txt").c_str());
  bool withBom = true;
  EXPECT_FALSE(dialog.RunSaveDialog(path, nullptr, nullptr, &withBom));
  EXPECT_EQ(t, nullptr);
  EXPECT_EQ(typed, "c.txt");
  EXPECT_STREQ(path, (root + "/sub/c.txt").c_str());
  EXPECT_TRUE(withBom);
}

TEST_F(OpenFileDialogTest, SelectOpenPathFillsTheNameOnlyForAFile) {
  struct Case {
    const char* name;
    std::string path;
    std::string typed;
    std::string folder;
  };
  const std::vector<Case> cases = {
      {"a folder", root + "/sub", "", root},
      {"a file", root + "/sub/b.txt", "b.txt", root + "/sub"},
  };
  for (const Case& c : cases) {
    COpenFileDialog dialog;
    dialog.Setup(nullptr, nullptr, "*.mac", (root + "/").c_str());
    std::string typed, folder;
    std::vector<std::string> types;
    dt::SetShownHook([&](HWND d) {
      typed = dt::Query(d, kFileDialogName)->text;
      folder = ft::ShownFolder(d);
      types = dt::Query(d, kFileDialogTypes)->items;
      dt::Click(d, IDCANCEL);
    });
    char path[kMaxPath];
    std::strcpy(path, c.path.c_str());
    EXPECT_FALSE(dialog.SelectOpenPath(path, false)) << c.name;
    EXPECT_EQ(typed, c.typed) << c.name;
    EXPECT_EQ(folder, c.folder) << c.name;
    EXPECT_EQ(types, (std::vector<std::string>{"ユーザー指定 (*.mac)"_sj, "テキストファイル (*.txt)"_sj,
                                               "すべてのファイル (*.*)"_sj}))
        << c.name;
    EXPECT_EQ(std::string(path), c.path) << c.name << ": a cancel leaves the path";
  }
}

TEST_F(OpenFileDialogTest, AnEmojiNameIsRefusedWhileTheDialogStaysOpen) {
  const std::string emoji = "\xF0\x9F\x98\x80.txt";  // U+1F600, which Shift-JIS lacks
  dir.Write(emoji, "z");
  COpenFileDialog dialog;
  SetUpDialog(dialog);
  std::vector<std::string> typed;
  dt::SetShownHook([&](HWND d) {
    dt::TypeUtf8(d, kFileDialogName, "\xF0\x9F\x98\x80");
    typed.push_back(dt::Query(d, kFileDialogName)->text);
    ft::Point(d, emoji);
    typed.push_back(dt::Query(d, kFileDialogName)->text);
    dt::Click(d, IDOK);
    ft::Open(d, emoji);
    // Still open: another name is taken.
    TypeName(d, "a.txt");
    dt::Click(d, IDOK);
  });
  MessageBoxCapture boxes;
  BeepCapture beeps;
  char path[kMaxPath] = {};
  int code = 0;
  ASSERT_TRUE(dialog.RunOpenDialog(path, &code, nullptr));
  EXPECT_EQ(typed, (std::vector<std::string>{"", ""}));
  ASSERT_EQ(boxes.requests.size(), 2u);
  for (const auto& box : boxes.requests) {
    EXPECT_EQ(box.text, "この名前には Shift_JIS で表せない文字があるため、使えません。"_sj);
    EXPECT_EQ(box.caption, "開く"_sj);
  }
  EXPECT_FALSE(beeps.beeps.empty());  // the typed character was refused
  EXPECT_STREQ(path, (root + "/a.txt").c_str());
}

TEST_F(OpenFileDialogTest, MovingTheDialogKeepsItsRectangle) {
  COpenFileDialog dialog;
  SetUpDialog(dialog);
  RECT expected{};
  RECT afterMove{};
  dt::SetShownHook([&](HWND d) {
    record->Common.rcOpenDialog = RECT{};
    dt::MoveTo(d, 60, 70);
    GetWindowRect(d, &expected);
    afterMove = record->Common.rcOpenDialog;
    dt::ResizeTo(d, 900, 700);
    GetWindowRect(d, &expected);
    dt::Click(d, IDCANCEL);
  });
  char path[kMaxPath] = {};
  EXPECT_FALSE(dialog.RunOpenDialog(path, nullptr, nullptr));
  EXPECT_EQ(afterMove.left, 60);
  EXPECT_EQ(afterMove.top, 70);
  const RECT& kept = record->Common.rcOpenDialog;
  EXPECT_EQ(kept.right - kept.left, 900);
  EXPECT_EQ(kept.bottom - kept.top, 700);
  EXPECT_EQ(kept.left, expected.left);
}

TEST_F(OpenFileDialogTest, HelpGoesToTheHelpFile) {
  COpenFileDialog dialog;
  SetUpDialog(dialog);
  dt::SetShownHook([&](HWND d) {
    dt::Click(d, kFileDialogHelp);
    HWND t = ft::TemplateDialog(d);
    SetFocus(GetDlgItem(t, kCode));
    dt::PressKey(t, dt::Key::kF1);
    dt::Click(d, IDCANCEL);
  });
  char path[kMaxPath] = {};
  EXPECT_FALSE(dialog.RunOpenDialog(path, nullptr, nullptr));
  ASSERT_EQ(help.size(), 2u);
  EXPECT_EQ(help[0].command, HELP_CONTEXT);
  EXPECT_EQ(help[0].data, static_cast<uintptr_t>(CommandToHelpId(30102)));
  EXPECT_EQ(help[1].command, HELP_WM_HELP);
  EXPECT_EQ(help[1].helpIds, (std::vector<std::pair<uint32_t, uint32_t>>{{1146, 13103}, {1167, 13104}, {1169, 13105}, {1147, 13106}}));
  EXPECT_TRUE(help[0].helpFile.ends_with("tovara.hlp"));
}

TEST_F(OpenFileDialogTest, AFailureToShowBeepsAndSaysWhyACancelSaysNothing) {
  COpenFileDialog dialog;
  SetUpDialog(dialog);
  MessageBoxCapture boxes;
  BeepCapture beeps;
  dt::SetShownHook([](HWND d) { dt::Click(d, IDCANCEL); });
  char path[kMaxPath] = "kept";
  EXPECT_FALSE(dialog.RunOpenDialog(path, nullptr, nullptr));
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_TRUE(beeps.beeps.empty());

  // Off the windows' thread the system dialog cannot start.
  bool chosen = true;
  std::thread([&] { chosen = dialog.RunOpenDialog(path, nullptr, nullptr); }).join();
  EXPECT_FALSE(chosen);
  EXPECT_STREQ(path, "kept");
  EXPECT_EQ(beeps.beeps, (std::vector<UINT>{MB_ICONHAND}));
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].text, "ダイアログが開けません。\n\nエラー:CDERR_INITIALIZATION "_sj);
  EXPECT_EQ(boxes.requests[0].caption, "tovara");
  EXPECT_EQ(boxes.requests[0].flags, MB_TOPMOST | MB_ICONHAND);
}

}  // namespace
