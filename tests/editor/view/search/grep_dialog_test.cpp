// The grep dialog driven by control id, offscreen: the folder it accepts and what it makes of it,
// the use-current-file switch, the code rows, and what a confirmation writes to the shared record.
#include "editor/view/search/grep_dialog.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "editor/foundation/message_box_capture.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/editor_path.h"
#include "platform/dialog_test.h"
#include "platform/sjis_literal.h"
#include "scoped_named_objects.h"
#include "scoped_temp_dir.h"

namespace {

namespace dt = platform::dialog_test;

std::string ProcessFolder() {
  char buffer[4096] = {};
  return ::getcwd(buffer, sizeof buffer) ? buffer : "";
}

class GrepDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), names.c_str());
    savedFolder = EditorCurrentFolder();
    SetEditorCurrentFolder(temp.path().string());
  }
  void TearDown() override {
    dt::SetShownHook(nullptr);
    SetEditorCurrentFolder(savedFolder);
  }

  // Runs a new dialog for the document path with the actions inside its loop (Cancel after them
  // unless they end the dialog themselves); its result.
  int Run(const std::string& documentPath, const std::function<void(HWND)>& actions, bool cancelAfter = true) {
    dialog = std::make_unique<CGrepDialog>();
    dt::SetShownHook([&](HWND d) {
      actions(d);
      if (cancelAfter) dt::Click(d, IDCANCEL);
    });
    const int result = dialog->DoModal(nullptr, nullptr, documentPath.c_str());
    dt::SetShownHook(nullptr);
    return result;
  }

  static std::string Text(HWND d, int id) { return dt::Query(d, id)->text; }
  static bool Enabled(HWND d, int id) { return dt::Query(d, id)->enabled; }

  const ScopedNamedObjects names{"CGrepDialog-test"};
  std::unique_ptr<SharedSettings> record = std::make_unique<SharedSettings>();
  CShareData share;
  ScopedTempDir temp;
  std::string savedFolder;
  std::unique_ptr<CGrepDialog> dialog;
  MessageBoxCapture boxes;
};

// The folder is checked where it is, never by moving the process there; a relative one is read
// from the editor's current folder, and an accepted one ends with "/".
TEST_F(GrepDialogTest, FolderIsCheckedWithoutMovingTheProcess) {
  temp.Write("src/a.c", "int a;\r\n");
  temp.Write("notes.txt", "x\r\n");
  ASSERT_EQ(::mkdir(temp.File("locked").c_str(), 0), 0);
  const std::string root = temp.path().string();
  const std::string wrong = "検索対象フォルダが正しくありません。"_sj;
  struct Case {
    const char* name;
    std::string typed;
    int result;
    std::string folder;   // the confirmed folder
    std::string message;  // the one box shown, if any
  } cases[] = {
      {"relative name made absolute", "src", 1, root + "/src/", ""},
      {"absolute with dot levels", root + "/src/../src/.", 1, root + "/src/", ""},
      {"final slash kept once", root + "/src/", 1, root + "/src/", ""},
      {"missing folder", "nothere", 0, "", wrong},
      {"a file", "notes.txt", 0, "", wrong},
      {"a folder that cannot be searched", "locked", 0, "", wrong},
      {"empty folder", "", 0, "", "検索対象フォルダを指定してください。"_sj},
  };
  const std::string processFolder = ProcessFolder();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.requests.clear();
    const int result = Run(
        "",
        [&](HWND d) {
          dt::Type(d, CGrepDialog::kKey, "needle");
          platform::SetDlgItemText(d, CGrepDialog::kFolder, "");  // the history proposes the last one
          if (!c.typed.empty()) {
            EXPECT_TRUE(dt::Type(d, CGrepDialog::kFolder, c.typed));
          }
          EXPECT_TRUE(dt::Click(d, IDOK));
          if (!boxes.requests.empty()) dt::Click(d, IDCANCEL);  // the dialog stayed
        },
        false);
    EXPECT_EQ(result, c.result);
    if (c.message.empty()) {
      EXPECT_TRUE(boxes.requests.empty());
      EXPECT_EQ(dialog->m_szFolder, c.folder);
    } else {
      ASSERT_EQ(boxes.requests.size(), 1u);
      EXPECT_EQ(boxes.requests[0].text, c.message);
      EXPECT_EQ(boxes.requests[0].caption, "tovara");
      EXPECT_NE(boxes.requests[0].flags & MB_ICONEXCLAMATION, 0u);
    }
    EXPECT_EQ(ProcessFolder(), processFolder);
    EXPECT_EQ(EditorCurrentFolder(), root + "/");
  }
  ::chmod(temp.File("locked").c_str(), 0755);
}

// A confirmation writes the options to the shared record, adds the texts to their histories and
// gives empty patterns as every file.
TEST_F(GrepDialogTest, ConfirmationWritesOptionsAndHistories) {
  temp.Write("src/a.c", "x");
  record->Common.bGrepSubFolder = 0;
  record->nGrepFileCount = 0;  // no pattern proposed
  const int result = Run(
      "",
      [&](HWND d) {
        EXPECT_EQ(Text(d, CGrepDialog::kFiles), "");
        dt::Type(d, CGrepDialog::kKey, "表示"_sj);
        dt::Type(d, CGrepDialog::kFolder, "src");
        dt::Click(d, CGrepDialog::kSubFolder);
        dt::Click(d, CGrepDialog::kLoHiCase);
        dt::Click(d, CGrepDialog::kWordOnly);
        dt::Click(d, CGrepDialog::kOutputMatch);
        dt::Click(d, CGrepDialog::kStyle2);
        dt::Click(d, IDOK);
      },
      false);
  ASSERT_EQ(result, 1);
  const CommonSettings& c = record->Common;
  EXPECT_EQ(c.bGrepSubFolder, 1);
  EXPECT_EQ(c.bSearchLoHiCase, 1);
  EXPECT_EQ(c.bSearchWordOnly, 1);
  EXPECT_EQ(c.bSearchRegularExp, 0);
  EXPECT_EQ(c.bGrepOutputLine, 0);
  EXPECT_EQ(c.nGrepOutputStyle, 2);
  const GrepLaunchRequest request = dialog->Request();
  EXPECT_EQ(request.key, "表示"_sj);
  EXPECT_EQ(request.files, "*.*");
  EXPECT_EQ(request.folder, temp.path().string() + "/src/");
  EXPECT_TRUE(request.subFolder && request.loHiCase && request.wordOnly);
  EXPECT_FALSE(request.outputLine);
  EXPECT_EQ(request.outputStyle, 2);
  ASSERT_GE(record->nSearchKeyCount, 1);
  EXPECT_STREQ(record->szSearchKeys[0], "表示"_sj);
  ASSERT_GE(record->nGrepFileCount, 1);
  EXPECT_STREQ(record->szGrepFiles[0], "*.*");
  ASSERT_GE(record->nGrepFolderCount, 1);
  EXPECT_EQ(std::string(record->szGrepFolders[0]), temp.path().string() + "/src/");

  // The next dialog starts from the histories.
  CGrepDialog next;
  EXPECT_EQ(next.m_szText, "表示"_sj);
  EXPECT_EQ(next.m_szFile, "*.*");
  EXPECT_EQ(next.m_szFolder, temp.path().string() + "/src/");
}

TEST_F(GrepDialogTest, UseCurrentFileNamesTheFileAndLocksTheWhereControls) {
  temp.Write("doc/my file.txt", "x");
  const std::string path = temp.File("doc/my file.txt");
  constexpr int kWhere[] = {CGrepDialog::kFiles, CGrepDialog::kFolder, CGrepDialog::kBrowse, CGrepDialog::kSubFolder};
  record->Common.bGrepSubFolder = 1;
  const int result = Run(
      path,
      [&](HWND d) {
        EXPECT_TRUE(Enabled(d, CGrepDialog::kFromThisFile));
        EXPECT_TRUE(dt::Click(d, CGrepDialog::kFromThisFile));
        EXPECT_EQ(Text(d, CGrepDialog::kFiles), "\"my file.txt\"");
        EXPECT_EQ(Text(d, CGrepDialog::kFolder), temp.path().string() + "/doc/");
        EXPECT_EQ(dt::Query(d, CGrepDialog::kSubFolder)->check, BST_UNCHECKED);
        for (const int id : kWhere) EXPECT_FALSE(Enabled(d, id)) << id;
        EXPECT_TRUE(dt::Click(d, CGrepDialog::kFromThisFile));
        for (const int id : kWhere) EXPECT_TRUE(Enabled(d, id)) << id;
        EXPECT_TRUE(dt::Click(d, CGrepDialog::kFromThisFile));
        dt::Type(d, CGrepDialog::kKey, "x");
        dt::Click(d, IDOK);
      },
      false);
  ASSERT_EQ(result, 1);
  EXPECT_EQ(dialog->m_szFile, "\"my file.txt\"");
  EXPECT_EQ(dialog->m_szFolder, temp.path().string() + "/doc/");
  EXPECT_FALSE(dialog->m_bSubFolder);

  // Without a file there is nothing to search in.
  Run("", [&](HWND d) {
    EXPECT_FALSE(Enabled(d, CGrepDialog::kFromThisFile));
    EXPECT_FALSE(dt::Click(d, CGrepDialog::kFromThisFile));
  });
}

TEST_F(GrepDialogTest, CodeComboRowsAndTheirValues) {
  temp.Write("src/a.c", "x");
  record->Common.nGrepCharSet = 4;
  const int result = Run(
      "",
      [&](HWND d) {
        const auto combo = dt::Query(d, CGrepDialog::kCharSet);
        ASSERT_TRUE(combo);
        EXPECT_EQ(combo->items, (std::vector<std::string>{"自動選択"_sj, "SJIS", "JIS", "EUC", "Unicode", "UnicodeBE",
                                                          "UTF-8", "UTF-7"}));
        EXPECT_EQ(combo->selection, 6) << "the row of code 4";
        const int values[] = {99, 0, 1, 2, 3, 6, 4, 5};
        for (int row = 0; row < 8; ++row) {
          EXPECT_EQ(platform::SendDlgItemMessage(d, CGrepDialog::kCharSet, CB_GETITEMDATA, static_cast<WPARAM>(row), 0),
                    values[row])
              << row;
        }
        EXPECT_TRUE(dt::Select(d, CGrepDialog::kCharSet, 5));
        dt::Type(d, CGrepDialog::kFolder, "src");
        dt::Click(d, IDOK);
      },
      false);
  ASSERT_EQ(result, 1);
  EXPECT_EQ(dialog->m_nGrepCharSet, 6);
  EXPECT_EQ(record->Common.nGrepCharSet, 6);
}

TEST_F(GrepDialogTest, DialogControlsAndTheirLimits) {
  Run("", [&](HWND d) {
    for (const int id : {CGrepDialog::kKey, CGrepDialog::kFiles, CGrepDialog::kFolder}) {
      const auto combo = dt::Query(d, id);
      ASSERT_TRUE(combo) << id;
      EXPECT_EQ(combo->kind, platform::ControlKind::kComboBox) << id;
      EXPECT_EQ(combo->limit, 259) << id;
    }
    for (const int id : {CGrepDialog::kBrowse, CGrepDialog::kCurrentFolder, CGrepDialog::kHelp, IDOK, IDCANCEL})
      EXPECT_EQ(dt::Query(d, id)->kind, platform::ControlKind::kPushButton) << id;
    for (const int id : {CGrepDialog::kSubFolder, CGrepDialog::kFromThisFile, CGrepDialog::kLoHiCase,
                         CGrepDialog::kWordOnly, CGrepDialog::kRegularExp, CGrepDialog::kDefaultFolder})
      EXPECT_EQ(dt::Query(d, id)->kind, platform::ControlKind::kCheckBox) << id;
    for (const int id :
         {CGrepDialog::kOutputLine, CGrepDialog::kOutputMatch, CGrepDialog::kStyle1, CGrepDialog::kStyle2})
      EXPECT_EQ(dt::Query(d, id)->kind, platform::ControlKind::kRadioButton) << id;
    EXPECT_EQ(dt::Query(d, CGrepDialog::kOutputLine)->check, BST_CHECKED);
    EXPECT_EQ(dt::Query(d, CGrepDialog::kStyle1)->check, BST_CHECKED);
    EXPECT_EQ(dt::TemplateOf(d), "132");
  });
}

// The default-folder box is written the moment it is clicked, confirmed or not; with it set the
// folder proposed is the document's.
TEST_F(GrepDialogTest, DefaultFolderBoxWritesAtOnceAndProposesTheDocumentsFolder) {
  temp.Write("doc/a.txt", "x");
  share.AddGrepFolder("/elsewhere/");
  record->Common.bGrepDefaultFolder = 0;
  Run(temp.File("doc/a.txt"), [&](HWND d) {
    EXPECT_EQ(Text(d, CGrepDialog::kFolder), "/elsewhere/");
    EXPECT_TRUE(dt::Click(d, CGrepDialog::kDefaultFolder));
    EXPECT_EQ(record->Common.bGrepDefaultFolder, 1);
  });
  EXPECT_EQ(record->Common.bGrepDefaultFolder, 1) << "kept after Cancel";
  Run(temp.File("doc/a.txt"), [&](HWND d) {
    EXPECT_EQ(Text(d, CGrepDialog::kFolder), temp.path().string() + "/doc/");
    EXPECT_EQ(dt::Query(d, CGrepDialog::kDefaultFolder)->check, BST_CHECKED);
  });
}

// The current-folder button takes the document's folder, or the editor's current folder for a
// document without a file.
TEST_F(GrepDialogTest, CurrentFolderButton) {
  temp.Write("doc/a.txt", "x");
  const std::string processFolder = ProcessFolder();
  Run(temp.File("doc/a.txt"), [&](HWND d) {
    EXPECT_TRUE(dt::Click(d, CGrepDialog::kCurrentFolder));
    EXPECT_EQ(Text(d, CGrepDialog::kFolder), temp.path().string() + "/doc/");
  });
  Run("", [&](HWND d) {
    EXPECT_TRUE(dt::Click(d, CGrepDialog::kCurrentFolder));
    EXPECT_EQ(Text(d, CGrepDialog::kFolder), temp.path().string() + "/");
  });
  EXPECT_EQ(ProcessFolder(), processFolder);
}

TEST_F(GrepDialogTest, RegularExpressionDisablesWholeWord) {
  record->Common.bSearchRegularExp = 1;
  Run("", [&](HWND d) { EXPECT_FALSE(Enabled(d, CGrepDialog::kWordOnly)); });
  record->Common.bSearchRegularExp = 0;
  Run("", [&](HWND d) {
    EXPECT_TRUE(Enabled(d, CGrepDialog::kWordOnly));
    // Switched off again it gives whole word back, whether or not the library was there.
    dt::Click(d, CGrepDialog::kRegularExp);
    if (dt::Query(d, CGrepDialog::kRegularExp)->check == BST_CHECKED) {
      EXPECT_FALSE(Enabled(d, CGrepDialog::kWordOnly));
      dt::Click(d, CGrepDialog::kRegularExp);
    }
    EXPECT_TRUE(Enabled(d, CGrepDialog::kWordOnly));
  });
}

}  // namespace
