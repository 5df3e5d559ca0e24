// Opening files into a document: the code decided, the recent record's caret and bookmarks, new
// files, paths, routing open requests, and the file lock between two real processes.
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "../message_box_capture.h"
#include "child_copy.h"
#include "doc_fixture.h"
#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/job_progress.h"
#include "platform/dialog_test.h"
#include "platform/file_dialog.h"
#include "platform/file_dialog_test.h"
#include "platform/cursor.h"
#include "platform/file_lock.h"
#include "platform/gui_app.h"
#include "platform/ipc.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "scoped_temp_dir.h"
#include "test_util.h"

namespace {

constexpr int kChar = 30200;
constexpr int kCut = 30601;
constexpr int kGoFileEnd = 30351;

const std::string kUtf8Text = U8(u8"日本語の文章です。\nもう一行。\n");

class OpenTest : public DocFixture {
 protected:
  OpenTest() : DocFixture("CEditDoc-open-test") {}
  void SetUp() override {
    DocFixture::SetUp();
    common().nFileShareMode = 0;
    common().bAlertIfFileNotExist = 0;
  }
  std::string File(const char* name) const { return folder.File(name); }
  bool Read(const std::string& path, int code = 99, bool readOnly = false, bool confirm = false) {
    char buffer[kMaxPath] = {};
    std::strncpy(buffer, path.c_str(), kMaxPath - 1);
    return doc->FileRead(buffer, &elsewhere, code, readOnly, confirm);
  }
  void Remember(const std::string& path, int code, int x = 0, int y = 0, const char* marks = "", int top = 0,
                int left = 0) {
    RecentFileRecord r = kEmptyRecentFileRecord;
    std::strcpy(r.szPath, path.c_str());
    r.nCharCode = code;
    r.nX = x;
    r.nY = y;
    r.nViewTopLine = top;
    r.nViewLeftCol = left;
    std::strcpy(r.szMark, marks);
    ASSERT_TRUE(CRecentFileMenu(&share).AddRecord(&r));
  }
  std::string Line(int n) {
    const CDocLine* line = doc->m_cDocLineMgr.GetLine(n);
    if (!line) return "<none>";
    int length = 0;
    const char* text = line->GetText(&length);
    return std::string(text ? text : "", static_cast<size_t>(length));
  }

  ScopedTempDir folder;
  bool elsewhere = false;
};

TEST_F(OpenTest, TheCodeComesFromTheRequestTheRecentRecordOrTheFile) {
  folder.Write("text.txt", kUtf8Text);
  enum Answer { kNone = 0, kYes = IDYES, kNo = IDNO, kCancel = IDCANCEL };
  struct Case {
    const char* name;
    bool exists;
    int recorded;  // -2: no recent record
    int requested;
    bool confirm;
    Answer answer;  // kNone: no question may come
    bool result;
    int code;
  };
  const Case cases[] = {
      {"detected without a record", true, -2, 99, true, kNone, true, 4},
      {"last time without a record is Shift-JIS", true, -2, -1, true, kNone, true, 0},
      {"asked for without a record", true, -2, 2, true, kNone, true, 2},
      {"an unknown request keeps the document's code", true, -2, 50, true, kNone, true, 0},
      {"below -1 is unknown too", true, -2, -5, true, kNone, true, 0},
      {"last time takes the record's code", true, 2, -1, true, kNone, true, 2},
      {"a detected code that agrees asks nothing", true, 4, 99, true, kNone, true, 4},
      {"a detected code that differs, yes: the record's", true, 2, 99, true, kYes, true, 2},
      {"a detected code that differs, no: the detected", true, 2, 99, true, kNo, true, 4},
      {"a detected code that differs, cancel: nothing opens", true, 2, 99, true, kCancel, false, 0},
      {"without confirmation the request stands", true, 2, 4, false, kNone, true, 4},
      {"a new file is not detected", false, -2, 99, true, kNone, true, 0},
      {"a new file with a record, last time", false, 2, -1, true, kNone, true, 2},
      {"a new file with a record, detect becomes Shift-JIS and asks", false, 2, 99, true, kNo, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NewDocument();
    CRecentFileMenu(&share).ClearAll();
    const std::string path = File(c.exists ? "text.txt" : "new.txt");
    if (c.recorded != -2) Remember(path, c.recorded);
    MessageBoxCapture boxes(c.answer == kNone ? IDOK : c.answer);
    EXPECT_EQ(Read(path, c.requested, false, c.confirm), c.result);
    EXPECT_EQ(doc->m_nCharCode, c.code);
    EXPECT_STREQ(doc->m_szFilePath, c.result ? path.c_str() : "");
    if (c.answer == kNone) {
      EXPECT_TRUE(boxes.requests.empty());
    } else {
      ASSERT_EQ(boxes.requests.size(), 1u);
      EXPECT_EQ(boxes.requests[0].caption, "文字コード情報"_sj);
      EXPECT_EQ(boxes.requests[0].flags, MB_YESNOCANCEL | MB_ICONQUESTION | MB_TOPMOST);
      const std::string recorded = c.recorded == 2 ? "EUC" : "?";
      const std::string now = c.exists ? "UTF-8" : "SJIS";
      EXPECT_EQ(boxes.requests[0].text,
                path + "\n\nこのファイルは、前回は別の文字コード "_sj + recorded +
                    " で開かれています。\n前回と同じ文字コードを使いますか？\n\n・[はい(Y)]  ＝"_sj + recorded +
                    "\n・[いいえ(N)]＝"_sj + now + "\n・[キャンセル]＝開きません"_sj);
    }
    if (c.exists && c.result && c.code == 4) {
      EXPECT_EQ(Line(0), "日本語の文章です。\n"_sj);
    }
  }
}

TEST_F(OpenTest, ARecordWhoseCodeHasNoNameIsABug) {
  folder.Write("text.txt", kUtf8Text);
  Remember(File("text.txt"), 9);
  MessageBoxCapture boxes(IDNO);
  EXPECT_FALSE(Read(File("text.txt"), 99, false, true));
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].caption, "バグじゃぁあああ！！！"_sj);
  EXPECT_EQ(boxes.requests[0].text, "【対処】エラーの出た状況を作者に連絡してください。"_sj);
  EXPECT_STREQ(doc->m_szFilePath, "");
}

TEST_F(OpenTest, WhatCannotBeReadIsRefusedAndLeavesTheDocumentUntitled) {
  folder.Write("noread.txt", "secret\n");
  ::chmod(File("noread.txt").c_str(), 0200);
  ASSERT_EQ(::mkfifo(File("fifo").c_str(), 0644), 0);  // its code cannot be told
  const std::string bug = "バグじゃぁあああ！！！"_sj;
  const struct {
    const char* name;
    bool nullPath;
    std::string path;
    std::string caption;
    UINT flags;
    std::string text;
  } cases[] = {
      {"no read access", false, File("noread.txt"), "tovara", MB_OK | MB_ICONSTOP,
       "'" + File("noread.txt") + "'\nというファイルを開けません。\n読み込みアクセス権がありません。"_sj},
      {"the code cannot be detected", false, File("fifo"), "tovara", MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST,
       File("fifo") + "\n文字コードの判別処理でエラーが発生しました。"_sj},
      {"no path at all", true, "", bug, MB_YESNO | MB_ICONEXCLAMATION | MB_TOPMOST,
       "CEditDoc::FileRead()\n\nNULL == pszPath\n【対処】エラーの出た状況を作者に連絡してくださいね。"_sj},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NewDocument();
    MessageBoxCapture boxes;
    if (c.nullPath) {
      EXPECT_FALSE(doc->FileRead(nullptr, &elsewhere, 99, false, false));
    } else {
      EXPECT_FALSE(Read(c.path, 99));
    }
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].caption, c.caption);
    EXPECT_EQ(boxes.requests[0].flags, c.flags);
    EXPECT_EQ(boxes.requests[0].text, c.text);
    EXPECT_STREQ(doc->m_szFilePath, "");
    EXPECT_EQ(doc->m_cDocLineMgr.GetLineCount(), 0);
    EXPECT_FALSE(doc->HoldsFileLock());
  }
}

// A pump that meets a quit request from its second call on: a load stops after its first lines.
int pumpCalls = 0;
bool QuitOnSecondPump() { return ++pumpCalls < 2; }

TEST_F(OpenTest, ALoadStoppedOnTheWayLeavesAnEmptyUntitledDocument) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "line " + std::to_string(i) + "\r\n";
  folder.Write("long.txt", text);
  common().nFileShareMode = CEditDoc::kLockExclusive;
  pumpCalls = 0;
  JobUi ui;
  ui.pump = &QuitOnSecondPump;
  SetJobUi(ui);
  MessageBoxCapture boxes;
  const bool read = Read(File("long.txt"), 0);
  SetJobUi(JobUi{});
  EXPECT_FALSE(read);
  EXPECT_GE(pumpCalls, 2);
  EXPECT_STREQ(doc->m_szFilePath, "");
  EXPECT_EQ(doc->m_cDocLineMgr.GetLineCount(), 0);
  EXPECT_EQ(doc->m_cLayoutMgr.GetLineCount(), 0);
  EXPECT_EQ(doc->m_nFileTime, 0);  // an untitled document has no file time to show
  EXPECT_FALSE(doc->HoldsFileLock());
  EXPECT_EQ(ports.frame.progressShown, ports.frame.progressHidden);
}

TEST_F(OpenTest, TheRecentRecordBringsBackTheCaretAndTheBookmarks) {
  folder.Write("lines.txt", "abc\r\nsecond line\r\nthird\r\n");
  const std::string path = File("lines.txt");
  struct Case {
    const char* name;
    int x, y;
    int top, left;  // of the view, as recorded
    bool goesToTheEnd;
    POINT caret;
    int viewTop, viewLeft;  // -1: the wrap width
  };
  const Case cases[] = {
      {"inside a line", 2, 1, 1, 0, false, {2, 1}, 1, 0},
      {"beyond the line's end: at the end of its text", 9, 0, 0, 0, false, {3, 0}, 0, 0},
      {"beyond the file's end", 0, 40, 0, 0, true, {0, 0}, 0, 0},
      {"a view before the text starts at its top", 2, 1, -7, -3, false, {2, 1}, 0, 0},
      {"a view beyond the text starts on its last line", 2, 1, 1000000, 1 << 30, false, {2, 1}, 2, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NewDocument();
    CRecentFileMenu(&share).ClearAll();
    Remember(path, 0, c.x, c.y, "1,", c.top, c.left);
    MessageBoxCapture boxes;
    ASSERT_TRUE(Read(path, -1));
    FakePane& pane = ports.panes[0];
    if (c.goesToTheEnd) {
      EXPECT_EQ(pane.commands, std::vector<int>{kGoFileEnd});
      EXPECT_TRUE(pane.placements.empty());
    } else {
      EXPECT_TRUE(pane.commands.empty());
      ASSERT_EQ(pane.placements.size(), 1u);
      EXPECT_EQ(pane.placements[0].x, c.caret.x);
      EXPECT_EQ(pane.placements[0].y, c.caret.y);
      EXPECT_EQ(pane.topLine, c.viewTop);
      EXPECT_EQ(pane.leftColumn, c.viewLeft < 0 ? doc->m_cLayoutMgr.GetWrapWidth() : c.viewLeft);
    }
    EXPECT_TRUE(doc->m_cDocLineMgr.GetLine(1)->IsBookmarked());
    EXPECT_FALSE(doc->m_cDocLineMgr.GetLine(0)->IsBookmarked());
  }
  // Neither comes back when the settings say no.
  NewDocument();
  common().m_bRestoreCurPosition = 0;
  common().m_bRestoreBookmarks = 0;
  ASSERT_TRUE(Read(path, -1));
  EXPECT_TRUE(ports.panes[0].placements.empty());
  EXPECT_FALSE(doc->m_cDocLineMgr.GetLine(1)->IsBookmarked());
  // The load itself went on top of the recent files, with the caret where it is now.
  RecentFileRecord top;
  ASSERT_TRUE(CRecentFileMenu(&share).GetRecord(0, &top));
  EXPECT_STREQ(top.szPath, path.c_str());
  EXPECT_EQ(top.nY, 0);
}

TEST_F(OpenTest, TypedLineBreaksTakeTheFirstLinesLineEnd) {
  const struct {
    const char* name;
    const char* text;
    int type;
  } cases[] = {
      {"LF", "a\nb\r\n", CLineEnd::LF},
      {"CR", "a\rb\n", CLineEnd::CR},
      {"no line end", "abc", CLineEnd::CRLF},
      {"empty", "", CLineEnd::CRLF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NewDocument();
    folder.Write("eol.txt", c.text);
    ASSERT_TRUE(Read(File("eol.txt"), 0));
    EXPECT_EQ(doc->m_nNewLineType, c.type);
  }
}

TEST_F(OpenTest, AFolderIsOpenedThroughTheOpenDialogStartingThere) {
  namespace dt = platform::dialog_test;
  platform::EnsureGuiApp();
  std::filesystem::create_directories(File("sub"));
  folder.Write("sub/b.txt", "b\r\n");
  const std::string sub = File("sub");
  struct Case {
    const char* name;
    bool choose;
  };
  for (const Case c : {Case{"cancelled: nothing changes", false}, Case{"a file chosen in the folder", true}}) {
    SCOPED_TRACE(c.name);
    NewDocument();
    std::string shownFolder;
    dt::SetShownHook([&](HWND d) {
      shownFolder = platform::file_dialog_test::ShownFolder(d);
      if (!c.choose) {
        dt::Click(d, IDCANCEL);
        return;
      }
      SetDlgItemText(d, platform::kFileDialogName, "");
      EXPECT_TRUE(dt::Type(d, platform::kFileDialogName, "b.txt"));
      dt::Click(d, platform::kFileDialogReadOnly);
      dt::Click(d, IDOK);
    });
    char buffer[kMaxPath] = {};
    std::strcpy(buffer, sub.c_str());
    const bool opened = doc->FileRead(buffer, &elsewhere, 0, false, false);
    dt::SetShownHook(nullptr);
    EXPECT_EQ(shownFolder.substr(0, sub.size()), sub);
    EXPECT_EQ(opened, c.choose);
    if (c.choose) {
      EXPECT_STREQ(buffer, File("sub/b.txt").c_str());
      EXPECT_STREQ(doc->m_szFilePath, File("sub/b.txt").c_str());
      EXPECT_TRUE(doc->m_bReadOnly);
      EXPECT_EQ(Line(0), "b\r\n");
    } else {
      EXPECT_STREQ(buffer, sub.c_str());
      EXPECT_STREQ(doc->m_szFilePath, "");
      EXPECT_EQ(doc->m_cDocLineMgr.GetLineCount(), 0);
    }
  }
}

TEST_F(OpenTest, TheWaitCursorShowsWhileAFileIsRead) {
  platform::EnsureGuiApp();
  common().bAlertIfFileNotExist = 1;
  bool waitingDuringTheRead = false;
  const platform::MessageBoxHook previous = platform::SetMessageBoxHook([&](const platform::MessageBoxRequest&) {
    waitingDuringTheRead = platform::WaitCursorShown();
    return IDOK;
  });
  ASSERT_TRUE(Read(File("new.txt")));  // the notice about a new file comes from inside the read
  platform::SetMessageBoxHook(previous);
  EXPECT_TRUE(waitingDuringTheRead);
  EXPECT_FALSE(platform::WaitCursorShown());
}

TEST_F(OpenTest, ANewFileGivesAnEmptyDocumentWithItsPath) {
  common().nFileShareMode = CEditDoc::kLockExclusive;
  for (bool alert : {false, true}) {
    SCOPED_TRACE(alert);
    NewDocument();
    common().bAlertIfFileNotExist = alert;
    MessageBoxCapture boxes;
    ASSERT_TRUE(Read(File("new.txt"), 99));
    EXPECT_STREQ(doc->m_szFilePath, File("new.txt").c_str());
    EXPECT_EQ(doc->m_cDocLineMgr.GetLineCount(), 0);
    EXPECT_EQ(doc->m_nLockMode, CEditDoc::kLockNone);
    EXPECT_FALSE(doc->HoldsFileLock());
    EXPECT_FALSE(doc->IsCommandRefusedReadOnly(kChar));
    if (alert) {
      ASSERT_EQ(boxes.requests.size(), 1u);
      EXPECT_EQ(boxes.requests[0].text,
                File("new.txt") +
                    "\nというファイルは存在しません。\n\nファイルを保存したときに、ディスク上にこのファイルが作成されます。"_sj);
    } else {
      EXPECT_TRUE(boxes.requests.empty());
    }
  }
}

TEST_F(OpenTest, RelativeNamesFollowTheEditorsFolderAndTheProcessFolderStays) {
  folder.Write("sub/rel.txt", "x\n");
  folder.Write("other/b.txt", "y\n");
  char before[PATH_MAX];
  ASSERT_NE(::getcwd(before, sizeof before), nullptr);
  const std::string previous = EditorCurrentFolder();

  SetEditorCurrentFolder(folder.File("sub"));
  ASSERT_TRUE(Read("rel.txt", 0));
  EXPECT_STREQ(doc->m_szFilePath, File("sub/rel.txt").c_str());
  NewDocument();
  ASSERT_TRUE(Read(File("other/b.txt"), 0));
  EXPECT_EQ(EditorCurrentFolder(), File("other") + "/");
  char after[PATH_MAX];
  ASSERT_NE(::getcwd(after, sizeof after), nullptr);
  EXPECT_STREQ(after, before);
  // The next relative name is looked up in the folder of the file opened last.
  NewDocument();
  MessageBoxCapture boxes;
  ASSERT_TRUE(Read("../sub/rel.txt", 0));
  EXPECT_STREQ(doc->m_szFilePath, File("sub/rel.txt").c_str());
  SetEditorCurrentFolder(previous);
}

TEST_F(OpenTest, APathTooLongIsRefusedNeverCut) {
  // Cut to 259 bytes this path would name another file, which exists.
  const std::string base = folder.File("") + std::string(300, 'a');
  MessageBoxCapture boxes;
  EXPECT_FALSE(doc->OpenFile(base.c_str(), 99, false));
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].text, "'" + base + "'\nというパスは長すぎます。"_sj);
  EXPECT_STREQ(doc->m_szFilePath, "");
  // A relative name that grows too long in the editor's folder is refused the same way.
  const std::string previous = EditorCurrentFolder();
  SetEditorCurrentFolder(folder.File(""));
  EXPECT_FALSE(Read(std::string(kMaxPath - 10, 'b'), 0));
  EXPECT_EQ(boxes.requests.size(), 2u);
  SetEditorCurrentFolder(previous);
}

TEST_F(OpenTest, AnOpenRequestGoesToThisDocumentOnlyWhileItIsEmptyAndUntitled) {
  folder.Write("a.txt", "a\n");
  folder.Write("b c.txt", "b\n");
  folder.Write("d.txt", "d\n");
  FakeLauncher launcher;
  LauncherScope scope(&launcher);
  MessageBoxCapture boxes;
  EXPECT_TRUE(doc->OpenFile(File("a.txt").c_str(), 99, false));
  EXPECT_STREQ(doc->m_szFilePath, File("a.txt").c_str());
  EXPECT_TRUE(launcher.launches.empty());

  EXPECT_TRUE(doc->OpenFile(File("b c.txt").c_str(), 2, true));
  EXPECT_TRUE(doc->OpenFile(File("d.txt").c_str(), 99, false));
  ASSERT_EQ(launcher.launches.size(), 2u);
  EXPECT_EQ(launcher.launches[0].text, "\"" + File("b c.txt") + "\"");
  EXPECT_EQ(launcher.launches[0].code, 2);
  EXPECT_TRUE(launcher.launches[0].readOnly);
  EXPECT_FALSE(launcher.launches[0].wait);
  EXPECT_EQ(launcher.launches[0].folder, File(""));
  EXPECT_EQ(launcher.launches[1].text, File("d.txt"));
  EXPECT_STREQ(doc->m_szFilePath, File("a.txt").c_str());

  // A modified untitled document is not empty either; without a launcher nothing opens.
  NewDocument();
  doc->m_bIsModified = true;
  LauncherScope none(nullptr);
  EXPECT_FALSE(doc->OpenFile(File("d.txt").c_str(), 99, false));
  EXPECT_STREQ(doc->m_szFilePath, "");
}

TEST_F(OpenTest, ReloadingInAnotherCodeKeepsTheCaret) {
  folder.Write("euc.txt", "\xC6\xFC\xCB\xDC\n");  // 日本 in EUC
  ASSERT_TRUE(Read(File("euc.txt"), 0));
  ports.panes[0].caret = POINT{2, 0};
  doc->ReloadWithCode(2, false);
  EXPECT_EQ(doc->m_nCharCode, 2);
  EXPECT_EQ(Line(0), "日本\n"_sj);
  ASSERT_FALSE(ports.panes[0].placements.empty());
  EXPECT_EQ(ports.panes[0].placements.back().x, 2);
  EXPECT_STREQ(doc->m_szFilePath, File("euc.txt").c_str());
  // A file not on disk only changes its code.
  NewDocument();
  ASSERT_TRUE(Read(File("none.txt"), 0));
  doc->ReloadWithCode(3, false);
  EXPECT_EQ(doc->m_nCharCode, 3);
  EXPECT_TRUE(doc->m_bBomExist);
}

TEST_F(OpenTest, AFileReadOnlyOnDiskOpensAndIsRefusedOnlyUnderALockMode) {
  folder.Write("ro.txt", "x\n");
  std::filesystem::permissions(File("ro.txt"), std::filesystem::perms::owner_read);
  for (int mode : {CEditDoc::kLockNone, CEditDoc::kLockExclusive, CEditDoc::kLockDenyWrite}) {
    SCOPED_TRACE(mode);
    NewDocument();
    common().nFileShareMode = mode;
    MessageBoxCapture boxes;
    ASSERT_TRUE(Read(File("ro.txt"), 0));
    EXPECT_TRUE(boxes.requests.empty());
    EXPECT_FALSE(doc->HoldsFileLock());
    EXPECT_EQ(doc->IsCommandRefusedReadOnly(kChar), mode != CEditDoc::kLockNone);
  }
}

TEST_F(OpenTest, TheReadOnlyFilterRefusesEditingCommandsOnly) {
  folder.Write("a.txt", "x\n");
  ASSERT_TRUE(Read(File("a.txt"), 0, true));
  for (int command : {kChar, 30201, kCut, 30604, 30907, 31001, 31430, 30856, 30245}) {
    EXPECT_TRUE(doc->IsCommandRefusedReadOnly(command)) << command;
  }
  for (int command : {kGoFileEnd, 30602, 30103, 30104, 31340, 30901}) {
    EXPECT_FALSE(doc->IsCommandRefusedReadOnly(command)) << command;
  }
  // A read-only document takes no lock.
  EXPECT_FALSE(doc->HoldsFileLock());
}

TEST_F(OpenTest, ASettingsChangeOfTheLockModeTakesTheLockAgain) {
  folder.Write("a.txt", "x\n");
  const std::string path = File("a.txt");
  common().nFileShareMode = CEditDoc::kLockDenyWrite;
  ASSERT_TRUE(Read(path, 0));
  ASSERT_TRUE(doc->HoldsFileLock());
  EXPECT_FALSE(platform::IsLockedExclusively(path));
  common().nFileShareMode = CEditDoc::kLockExclusive;
  doc->OnSettingsChanged();
  EXPECT_TRUE(doc->HoldsFileLock());
  EXPECT_EQ(doc->m_nLockMode, CEditDoc::kLockExclusive);
  EXPECT_TRUE(platform::IsLockedExclusively(path));
  common().nFileShareMode = CEditDoc::kLockNone;
  doc->OnSettingsChanged();
  EXPECT_FALSE(doc->HoldsFileLock());
  EXPECT_TRUE(platform::CanLockExclusively(path));
  EXPECT_FALSE(doc->IsCommandRefusedReadOnly(kChar));
  EXPECT_EQ(ports.frame.progressShown, ports.frame.progressHidden);
}

// ---- Two processes ------------------------------------------------------------------------------

// The copy: a document on a record of its own opens the file in the lock mode it is given, reports,
// and keeps the file until its input closes.
TEST(DocumentCopy, DISABLED_HoldsAFile) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  const char* path = std::getenv("TOVARA_DOC_PATH");
  const char* mode = std::getenv("TOVARA_LOCK_MODE");
  ASSERT_TRUE(path && mode);
  const ScopedNamedObjects names("CEditDoc-copy");
  auto record = std::make_unique<SharedSettings>();
  CShareData::InitDefaults(*record);
  record->Common.nFileShareMode = std::atoi(mode);
  CShareData share;
  share.Attach(record.get(), names.c_str());
  MessageBoxCapture boxes;
  CEditDoc doc;
  char buffer[kMaxPath] = {};
  std::strncpy(buffer, path, kMaxPath - 1);
  bool elsewhere = false;
  const bool read = doc.FileRead(buffer, &elsewhere, 0, false, false);
  dprintf(3, "read=%d locked=%d\n", read ? 1 : 0, doc.HoldsFileLock() ? 1 : 0);
  WaitForInputToClose();
}

TEST_F(OpenTest, LockModesBetweenTwoProcesses) {
  folder.Write("shared.txt", "text\n");
  const std::string path = File("shared.txt");
  const std::string inUse =
      "'" + path + "'\nというファイルを開けません。\n他のアプリケーションで使用されている可能性があります。"_sj;
  const std::string writeDenied = path + "\nは現在他のプロセスによって書込みが禁止されています。"_sj;
  struct Case {
    const char* name;
    int theirs, mine;
    bool read;
    std::string message;
    bool refused;
  };
  const Case cases[] = {
      {"their exclusive lock keeps me from reading", 16, 16, false, inUse, false},
      {"their exclusive lock, mine none", 16, 0, false, inUse, false},
      {"their deny-write lock, mine none: told, not refused", 32, 0, true, writeDenied, false},
      {"their deny-write lock, mine deny-write: refused", 32, 32, true, writeDenied, true},
      {"their deny-write lock, mine exclusive: refused", 32, 16, true, writeDenied, true},
      {"no lock of theirs: mine is taken", 0, 16, true, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NewDocument();
    common().nFileShareMode = c.mine;
    ChildCopy child("DocumentCopy.DISABLED_HoldsAFile",
                    {"TOVARA_DOC_PATH=" + path, "TOVARA_LOCK_MODE=" + std::to_string(c.theirs)});
    ASSERT_TRUE(child.started());
    ASSERT_EQ(child.ReadLine(), c.theirs ? "read=1 locked=1" : "read=1 locked=0");
    MessageBoxCapture boxes;
    EXPECT_EQ(Read(path, 0), c.read);
    if (c.message.empty()) {
      EXPECT_TRUE(boxes.requests.empty());
    } else {
      ASSERT_EQ(boxes.requests.size(), 1u);
      EXPECT_EQ(boxes.requests[0].text, c.message);
    }
    EXPECT_EQ(doc->HoldsFileLock(), c.read && c.refused == false && c.mine != 0);
    EXPECT_EQ(doc->IsCommandRefusedReadOnly(kChar), c.refused);
    EXPECT_EQ(doc->IsCommandRefusedReadOnly(kCut), c.refused);
    EXPECT_FALSE(doc->IsCommandRefusedReadOnly(kGoFileEnd));

    child.CloseInput();
    EXPECT_EQ(child.Wait(), 0);
    if (c.refused) {
      // Once the other process has let go, the next attempt succeeds and editing is allowed.
      doc->ReleaseFileLock();
      doc->AcquireFileLock();
      EXPECT_TRUE(doc->HoldsFileLock());
      EXPECT_FALSE(doc->IsCommandRefusedReadOnly(kChar));
      EXPECT_EQ(boxes.requests.size(), 1u);
    }
  }
}

// The copy: an edit window on the parent's record whose document has the file open in EUC; it
// answers the file-information request from its document.
CEditDoc* copyDocument = nullptr;

LRESULT CopyWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MYWM_GETFILEINFO && copyDocument) {
    SharedSettings* s = CShareData::GetInstance()->GetShareData();
    copyDocument->FillRecentFileRecord(&s->ExchangeFileInfo);
    return 0;
  }
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) platform::DispatchMessage(&msg);
}

TEST(DocumentCopy, DISABLED_EditWindowWithAFile) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  const char* path = std::getenv("TOVARA_DOC_PATH");
  const char* recordName = std::getenv("TOVARA_RECORD");
  ASSERT_TRUE(path && recordName);
  platform::EnsureGuiApp();
  platform::ipc::SetSendTimeout(std::chrono::milliseconds(2000));
  CShareData share;
  if (!share.Init(recordName)) {
    dprintf(3, "init failed\n");
    return;
  }
  MessageBoxCapture boxes;
  CEditDoc doc;
  char buffer[kMaxPath] = {};
  std::strncpy(buffer, path, kMaxPath - 1);
  bool elsewhere = false;
  const bool read = doc.FileRead(buffer, &elsewhere, 2, false, false);
  copyDocument = &doc;
  WNDCLASSEX wc;
  wc.lpfnWndProc = CopyWindowProc;
  wc.lpszClassName = kEditWindowClass;
  platform::RegisterClassEx(&wc);
  const HWND hwnd =
      platform::CreateWindowEx(0, kEditWindowClass, "copy", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  const auto id = platform::ipc::RegisterWindow(hwnd, kEditWindowClass);
  const bool registered = share.RegisterEditWindow(id);
  dprintf(3, "read=%d registered=%d\n", read ? 1 : 0, registered ? 1 : 0);
  for (;;) {
    Pump();
    pollfd p{0, POLLIN, 0};
    if (::poll(&p, 1, 2) > 0) break;
  }
  share.UnregisterEditWindow(id);
  copyDocument = nullptr;
}

TEST(DocumentProcesses, AFileOpenInAnotherProcessIsHandedToItsWindow) {
  platform::EnsureGuiApp();
  platform::ipc::SetSendTimeout(std::chrono::milliseconds(2000));
  ScopedTempDir folder;
  folder.Write("open.txt", "text\n");
  folder.Write("mine.txt", "mine\n");
  const std::string path = folder.File("open.txt");
  const ScopedNamedObjects names("CEditDoc-elsewhere");
  CShareData share;
  ASSERT_TRUE(share.Init(names.c_str()));
  SharedSettings* s = share.GetShareData();
  s->Common.nFileShareMode = 0;

  ChildCopy child("DocumentCopy.DISABLED_EditWindowWithAFile",
                  {"TOVARA_DOC_PATH=" + path, "TOVARA_RECORD=" + names.name()});
  ASSERT_TRUE(child.started());
  ASSERT_EQ(child.ReadLine(Pump), "read=1 registered=1");

  // Something else on top of the recent files first.
  {
    RecentFileRecord r = kEmptyRecentFileRecord;
    std::strcpy(r.szPath, folder.File("mine.txt").c_str());
    ASSERT_TRUE(CRecentFileMenu(&share).AddRecord(&r));
  }
  {
    FakePorts ports;
    CEditDoc doc;
    ports.Bind(doc);
    MessageBoxCapture boxes;
    char buffer[kMaxPath] = {};
    std::strcpy(buffer, path.c_str());
    bool elsewhere = false;
    EXPECT_FALSE(doc.FileRead(buffer, &elsewhere, 99, false, true));
    EXPECT_TRUE(elsewhere);
    EXPECT_STREQ(doc.m_szFilePath, "");
    EXPECT_EQ(doc.m_cDocLineMgr.GetLineCount(), 0);
    EXPECT_TRUE(boxes.requests.empty());
    RecentFileRecord top;
    ASSERT_TRUE(CRecentFileMenu(&share).GetRecord(0, &top));
    EXPECT_STREQ(top.szPath, path.c_str());
    EXPECT_EQ(top.nCharCode, 2);  // what the other window told

    // An open request in another code is told that the file is open in EUC already.
    EXPECT_TRUE(doc.OpenFile(path.c_str(), 4, false));
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].text,
              path + "\n\n\n既に開いているファイルを違う文字コードで開く場合は、\n一旦閉じてから開いてください。\n\n"
                     "現在の文字コードセット=[EUC]\n新しい文字コードセット=[UTF-8]"_sj);
    EXPECT_STREQ(doc.m_szFilePath, "");
  }
  const pid_t pid = child.pid();
  child.CloseInput();
  EXPECT_EQ(child.Wait(), 0);
  platform::ipc::RemoveSocketOfEndedProcess(pid);
}

}  // namespace
