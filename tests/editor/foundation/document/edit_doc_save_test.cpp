#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "child_copy.h"
#include "save_doc_fixture.h"
#include "editor/foundation/document/local_time_pin.h"
#include "editor/foundation/text/file_writer.h"
#include "home_scope.h"
#include "platform/sjis_literal.h"

namespace {

// Whether some other holder locks the file: an exclusive lock on a descriptor of our own is
// refused.
bool LockedElsewhere(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool refused = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
  ::close(fd);
  return refused;
}

class DocSave : public SaveDocFixture {
 protected:
  LocalTimePin time{2006, 1, 1};
};

TEST_F(DocSave, SaveWritesTheFileAndSettlesTheDocument) {
  dir.Write("a.txt", "old\r\n");
  auto doc = MakeDoc(dir.File("a.txt"), {"new"});
  doc->m_bReadOnly = true;
  doc->m_nChangeWatch = CEditDoc::kWatchNotify;
  ASSERT_NE(doc->m_cUndoBuffer.GetSavePoint(), doc->m_cUndoBuffer.GetCurrentPointer());
  ASSERT_TRUE(doc->SaveToPath(doc->m_szFilePath));
  EXPECT_EQ(dir.Read("a.txt"), "new\r\n");
  EXPECT_FALSE(doc->m_bIsModified);
  EXPECT_FALSE(doc->m_bReadOnly);
  EXPECT_EQ(doc->m_cUndoBuffer.GetSavePoint(), doc->m_cUndoBuffer.GetCurrentPointer());
  EXPECT_EQ(doc->m_nChangeWatch, CEditDoc::kWatchNotify);
  int64_t written = 0;
  ASSERT_TRUE(GetFileWriteTime(dir.File("a.txt").c_str(), &written));
  EXPECT_EQ(doc->m_nFileTime, written);
  EXPECT_TRUE(boxes.empty());
}

// Saving under a new name moves the document, and its lock, to the new file.
TEST_F(DocSave, SaveAsMovesTheLock) {
  Common().nFileShareMode = CEditDoc::kLockExclusive;
  dir.Write("a.txt", "old\r\n");
  auto doc = MakeDoc(dir.File("a.txt"), {"new"});
  doc->AcquireFileLock();
  ASSERT_TRUE(LockedElsewhere(dir.File("a.txt")));
  ASSERT_TRUE(doc->SaveToPath(dir.File("b.txt").c_str()));
  EXPECT_EQ(std::string(doc->m_szFilePath), dir.File("b.txt"));
  EXPECT_EQ(dir.Read("a.txt"), "old\r\n");
  EXPECT_EQ(dir.Read("b.txt"), "new\r\n");
  EXPECT_FALSE(LockedElsewhere(dir.File("a.txt")));
  EXPECT_TRUE(LockedElsewhere(dir.File("b.txt")));
}

// Generations: with a.b00 to a.b06 present, the copies beyond the keep count go, the others move
// one number up, and the new copy is a.b00. Only consecutive numbers from 00 count.
TEST_F(DocSave, BackupGenerations) {
  struct Case {
    const char* name;
    int keep;
    std::vector<int> present;
    std::vector<std::pair<int, std::string>> expected;  // number, contents ("new" is the old file)
  };
  const Case cases[] = {
      {"keep 5 of 7", 5, {0, 1, 2, 3, 4, 5, 6}, {{0, "file"}, {1, "0"}, {2, "1"}, {3, "2"}, {4, "3"}}},
      {"keep 1", 1, {0, 1, 2}, {{0, "file"}}},
      {"keep 0", 0, {0, 1}, {{0, "file"}}},
      {"fewer than kept", 10, {0, 1}, {{0, "file"}, {1, "0"}, {2, "1"}}},
      {"a gap", 5, {0, 1, 3}, {{0, "file"}, {1, "0"}, {2, "1"}, {3, "3"}}},
      {"none yet", 3, {}, {{0, "file"}}},
  };
  for (const Case& c : cases) {
    ScopedTempDir folder;
    Common().bBackUp = 1;
    Common().nBackUpType = 3;
    Common().bBackUpType2_Opt2 = ('b' << 16) | c.keep;
    folder.Write("a.txt", "file");
    for (int n : c.present) folder.Write("a.b0" + std::to_string(n), std::to_string(n));
    auto doc = MakeDoc(folder.File("a.txt"), {"new"});
    ASSERT_TRUE(doc->SaveToPath(doc->m_szFilePath)) << c.name;
    std::vector<std::string> names{"a.txt"};
    for (const auto& [n, contents] : c.expected) {
      names.push_back("a.b0" + std::to_string(n));
      EXPECT_EQ(folder.Read(names.back()), contents) << c.name << " " << n;
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(folder.List(), names) << c.name;
    EXPECT_EQ(folder.Read("a.txt"), "new\r\n");
  }
}

// A file not yet on disk, or read-only on disk, gets no copy and no question.
TEST_F(DocSave, NoBackupOfAMissingOrReadOnlyFile) {
  Common().bBackUp = 1;
  Common().bBackUpDialog = 1;
  Common().nBackUpType = 5;
  auto fresh = MakeDoc(dir.File("new.txt"), {"x"});
  ASSERT_TRUE(fresh->SaveToPath(fresh->m_szFilePath));
  dir.Write("ro.txt", "ro");
  ASSERT_EQ(::chmod(dir.File("ro.txt").c_str(), 0444), 0);
  auto readOnly = MakeDoc(dir.File("ro.txt"), {"x"});
  EXPECT_FALSE(readOnly->SaveToPath(readOnly->m_szFilePath));  // the write is refused
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"new.txt", "ro.txt"}));
  for (const auto& b : boxes) EXPECT_NE(b.caption, "バックアップ作成の確認"_sj);
}

// The free format "$1/$0_%Y%m%d.*" puts the copy one level down, in a folder named after the
// file's own, made when missing.
TEST_F(DocSave, FreeFormatMakesItsFolder) {
  Common().bBackUp = 1;
  Common().bBackUpPathAdvanced = 1;
  std::strcpy(Common().szBackUpPathAdvanced, "$1/$0_%Y%m%d.*");
  dir.Write("src/main.c", "old");
  auto doc = MakeDoc(dir.File("src/main.c"), {"new"});
  ASSERT_TRUE(doc->SaveToPath(doc->m_szFilePath));
  EXPECT_EQ(dir.Read("src/src/main_20060101.c"), "old");
  EXPECT_EQ(dir.Read("src/main.c"), "new\r\n");
}

TEST_F(DocSave, MissingBackupFolderAsks) {
  Common().bBackUp = 1;
  Common().bBackUpFolder = 1;
  Common().nBackUpType = 5;
  const std::string folder = dir.File("none") + "/";
  std::strcpy(Common().szBackUpFolder, folder.c_str());
  dir.Write("a.txt", "old");
  auto doc = MakeDoc(dir.File("a.txt"), {"new"});
  answers["バックアップエラー"_sj] = IDNO;
  EXPECT_FALSE(doc->SaveToPath(doc->m_szFilePath));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text,
            "以下のバックアップフォルダが見つかりません．\n"_sj + folder +
                "\nバックアップを作成せずに上書き保存してよろしいですか．"_sj);
  EXPECT_EQ(dir.Read("a.txt"), "old");
  EXPECT_TRUE(doc->m_bIsModified);
  answers["バックアップエラー"_sj] = IDYES;
  ASSERT_TRUE(doc->SaveToPath(doc->m_szFilePath));
  EXPECT_EQ(dir.Read("a.txt"), "new\r\n");
  EXPECT_EQ(dir.List(), std::vector<std::string>{"a.txt"});
}

// The confirmation: Yes/No/Cancel, or Yes/No when the copy goes to the trash; the change watch is
// off while it is open.
TEST_F(DocSave, ConfirmationAnswers) {
  HomeScope home(dir.File("home"));
  Common().bBackUp = 1;
  Common().bBackUpDialog = 1;
  Common().nBackUpType = 5;
  struct Case {
    const char* name;
    bool recycle;
    int answer;
    bool saved;
    bool copyBeside;
    bool copyInTrash;
  };
  const Case cases[] = {
      {"yes", false, IDYES, true, true, false},
      {"no saves without a copy", false, IDNO, true, false, false},
      {"cancel saves nothing", false, IDCANCEL, false, false, false},
      {"yes with the trash", true, IDYES, true, false, true},
      {"no with the trash", true, IDNO, true, false, false},
  };
  for (const Case& c : cases) {
    ScopedTempDir folder;
    folder.Write("a.txt", "old");
    std::filesystem::remove_all(dir.File("home/.local/share/Trash"));
    Common().bBackUpDustBox = c.recycle;
    auto doc = MakeDoc(folder.File("a.txt"), {"new"});
    doc->m_nChangeWatch = CEditDoc::kWatchAsk;
    boxes.clear();
    answers["バックアップ作成の確認"_sj] = c.answer;
    int watchWhileAsked = -1;
    onBox = [&](const platform::MessageBoxRequest&) { watchWhileAsked = doc->m_nChangeWatch; };
    EXPECT_EQ(doc->SaveToPath(doc->m_szFilePath), c.saved) << c.name;
    onBox = nullptr;
    ASSERT_EQ(boxes.size(), 1u) << c.name;
    EXPECT_EQ(boxes[0].flags, (c.recycle ? MB_YESNO : MB_YESNOCANCEL) | MB_ICONQUESTION | MB_TOPMOST) << c.name;
    const std::string paths = "\n\n" + folder.File("a.txt") + "\n    ↓\n"_sj + folder.File("a.txt.bak") + "\n\n";
    EXPECT_NE(boxes[0].text.find(paths), std::string::npos) << c.name;
    EXPECT_EQ(boxes[0].text.find("ごみ箱"_sj) != std::string::npos, c.recycle) << c.name;
    EXPECT_EQ(watchWhileAsked, CEditDoc::kWatchOff) << c.name;
    EXPECT_EQ(doc->m_nChangeWatch, CEditDoc::kWatchAsk) << c.name;
    EXPECT_EQ(folder.Read("a.txt"), c.saved ? "new\r\n" : "old") << c.name;
    EXPECT_EQ(folder.Exists("a.txt.bak"), c.copyBeside) << c.name;
    EXPECT_EQ(std::filesystem::exists(dir.File("home/.local/share/Trash/files/a.txt.bak")), c.copyInTrash) << c.name;
  }
}

// A backup path over 259 bytes (here 300, through the backup folder) is no copy: the save asks
// whether to go on without one, and no copy under a cut name is made.
TEST_F(DocSave, OverlongBackupPathAsksAndCutsNothing) {
  std::string folder = dir.path().string();
  while (folder.size() < 240) folder += "/" + std::string(std::min<size_t>(60, 240 - folder.size()), 'f');
  std::filesystem::create_directories(folder);
  folder += "/";
  Common().bBackUp = 1;
  Common().bBackUpFolder = 1;
  Common().nBackUpType = 5;
  std::strcpy(Common().szBackUpFolder, folder.c_str());
  const std::string name = std::string(300 - folder.size() - 8, 'n') + ".txt";
  ASSERT_EQ((folder + name + ".bak").size(), 300u);
  dir.Write(name, "old");
  auto doc = MakeDoc(dir.File(name), {"new"});
  answers["ファイル保存"_sj] = IDNO;
  EXPECT_FALSE(doc->SaveToPath(doc->m_szFilePath));
  ASSERT_EQ(Captions(), std::vector<std::string>{"ファイル保存"_sj});
  EXPECT_EQ(boxes[0].flags, MB_YESNO | MB_ICONQUESTION | MB_TOPMOST);
  EXPECT_EQ(dir.Read(name), "old");
  EXPECT_TRUE(std::filesystem::is_empty(folder));
  answers["ファイル保存"_sj] = IDYES;
  EXPECT_TRUE(doc->SaveToPath(doc->m_szFilePath));
  EXPECT_EQ(dir.Read(name), "new\r\n");
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

// A failed or refused save leaves the document as it was: modified, its undo state unmarked, its
// old path, and its lock held again so that no other process takes the file meanwhile.
TEST_F(DocSave, FailedSaveKeepsStateAndLock) {
  struct FailingCommit {
    static bool Write(platform::AtomicFileWriter& file, std::span<const unsigned char> bytes) { return file.Write(bytes); }
    static platform::WriteStatus Commit(platform::AtomicFileWriter&) { return platform::WriteStatus::kCommitFailed; }
  };
  struct Case {
    const char* name;
    bool failWrite;
    int backupAnswer;  // 0: no backup
    const char* target;
  };
  const Case cases[] = {
      {"the write fails", true, 0, "b.txt"},
      {"the backup question is cancelled", false, IDCANCEL, "a.txt"},
  };
  for (const Case& c : cases) {
    Common().nFileShareMode = CEditDoc::kLockExclusive;
    Common().bBackUp = c.backupAnswer != 0;
    Common().bBackUpDialog = 1;
    Common().nBackUpType = 5;
    answers["バックアップ作成の確認"_sj] = c.backupAnswer;
    dir.Write("a.txt", "old");
    auto doc = MakeDoc(dir.File("a.txt"), {"new"});
    doc->AcquireFileLock();
    ASSERT_TRUE(doc->HoldsFileLock());
    const int savePoint = doc->m_cUndoBuffer.GetSavePoint();
    const int64_t fileTime = doc->m_nFileTime = 42;
    CFileWriter::Output previous{};
    if (c.failWrite) previous = CFileWriter::SetOutputForTesting({&FailingCommit::Write, &FailingCommit::Commit});
    const bool saved = doc->SaveToPath(dir.File(c.target).c_str());
    if (c.failWrite) CFileWriter::SetOutputForTesting(previous);
    EXPECT_FALSE(saved) << c.name;
    EXPECT_TRUE(doc->m_bIsModified) << c.name;
    EXPECT_EQ(doc->m_cUndoBuffer.GetSavePoint(), savePoint) << c.name;
    EXPECT_EQ(doc->m_nFileTime, fileTime) << c.name;
    EXPECT_EQ(std::string(doc->m_szFilePath), dir.File("a.txt")) << c.name;
    EXPECT_TRUE(doc->HoldsFileLock()) << c.name;
    EXPECT_TRUE(LockedElsewhere(dir.File("a.txt"))) << c.name;
    EXPECT_EQ(dir.Read("a.txt"), "old") << c.name;
  }
}

// A lock mode whose lock could not be taken (the file is read-only on disk) refuses editing, and a
// failed save does not end that: only a lock that is taken does.
TEST_F(DocSave, FailedSaveKeepsTheRefusalOfAMissingLock) {
  constexpr int kChar = 30200;
  Common().nFileShareMode = CEditDoc::kLockExclusive;
  dir.Write("ro.txt", "ro");
  ASSERT_EQ(::chmod(dir.File("ro.txt").c_str(), 0444), 0);
  auto doc = MakeDoc(dir.File("ro.txt"), {"new"});
  doc->AcquireFileLock();
  ASSERT_FALSE(doc->HoldsFileLock());
  ASSERT_TRUE(doc->IsCommandRefusedReadOnly(kChar));
  EXPECT_FALSE(doc->SaveToPath(doc->m_szFilePath));
  EXPECT_EQ(doc->m_nLockMode, CEditDoc::kLockExclusive);
  EXPECT_TRUE(doc->IsCommandRefusedReadOnly(kChar));
  EXPECT_EQ(dir.Read("ro.txt"), "ro");
}

// The other process of the lock test: it locks the file named by DOC_SAVE_LOCK as another
// editor process does in its "deny write" mode, reports, and holds it until its input closes.
TEST(DocSaveChild, DISABLED_HoldFileLock) {
  const char* path = std::getenv("DOC_SAVE_LOCK");
  if (!path) return;
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  const bool locked = fd >= 0 && ::flock(fd, LOCK_SH | LOCK_NB) == 0;
  const char* report = locked ? "locked\n" : "failed\n";
  (void)!::write(3, report, std::strlen(report));
  char c;
  while (::read(0, &c, 1) > 0) {
  }
}

// A file that another editor process locks is not saved: the save message, no backup, the file
// as it was, and the document still modified. Once the other process lets go, the save succeeds.
TEST_F(DocSave, RefusedWhileAnotherProcessLocksTheFile) {
  Common().bBackUp = 1;
  Common().nBackUpType = 5;
  dir.Write("a.txt", "old");
  auto doc = MakeDoc(dir.File("a.txt"), {"new"});
  {
    ChildCopy child("DocSaveChild.DISABLED_HoldFileLock", {"DOC_SAVE_LOCK=" + dir.File("a.txt")});
    ASSERT_TRUE(child.started());
    ASSERT_EQ(child.ReadLine(), "locked");
    EXPECT_FALSE(doc->SaveToPath(doc->m_szFilePath));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "'"_sj + dir.File("a.txt") +
                  "'\nファイルを保存できません。\nパスが存在しないか、他のアプリケーションで使用されている可能性があります。"_sj);
    EXPECT_EQ(boxes[0].flags, MB_OK | MB_ICONERROR);
    EXPECT_EQ(dir.Read("a.txt"), "old");
    EXPECT_EQ(dir.List(), std::vector<std::string>{"a.txt"});
    EXPECT_TRUE(doc->m_bIsModified);
    child.CloseInput();
    EXPECT_EQ(child.Wait(), 0);
  }
  EXPECT_TRUE(doc->SaveToPath(doc->m_szFilePath));
  EXPECT_EQ(dir.Read("a.txt"), "new\r\n");
  EXPECT_EQ(dir.Read("a.txt.bak"), "old");
}

}  // namespace
