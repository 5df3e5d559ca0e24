#include "editor/view/search/tag_jump_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "editor/foundation/text/editor_path.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"

namespace {

// The test answers as IsExistingFile (files only) does for every kind of name a line can hold,
// before and after it has listed the folder; the listing only saves the questions whose answer is
// no.
TEST(TagJumpFilesTest, AnswersAsTheFileSystemDoes) {
  ScopedTempDir dir;
  dir.Write("a.c", "x\n");
  dir.Write("src/b.h", "x\n");
  dir.Write("my file.txt", "x\n");
  dir.Write("deep/er/c.c", "x\n");
  dir.Write("\xe8\xa1\xa8.c", "x\n");  // a kanji name as the file system holds it
  ::symlink(dir.File("a.c").c_str(), dir.File("link.c").c_str());
  ::symlink(dir.File("src").c_str(), dir.File("linkdir").c_str());
  ::symlink(dir.File("gone").c_str(), dir.File("broken.c").c_str());
  ::mkfifo(dir.File("fifo").c_str(), 0600);
  // A folder that can be passed through but not listed.
  dir.Write("closed/in.c", "x\n");
  ::chmod(dir.File("closed").c_str(), 0111);
  const std::string base = dir.File("");
  const std::string absolute = dir.File("src/b.h");
  struct Case {
    const char* name;
    std::string candidate;
    bool file;
  };
  const Case cases[] = {
      {"a file", "a.c", true},
      {"a folder", "src", false},
      {"a folder with its slash", "src/", false},
      {"a file in a folder", "src/b.h", true},
      {"a missing file in a folder", "src/none.h", false},
      {"a file below a missing folder", "none/b.h", false},
      {"below a missing folder two deep", "none/x/b.h", false},
      {"a file two folders down", "deep/er/c.c", true},
      {"a doubled slash", "deep//er/c.c", true},
      {"a dot level", "./src/b.h", true},
      {"a parent level", "src/../a.c", true},
      {"a dot as the name", "src/.", false},
      {"a name with a blank", "my file.txt", true},
      {"its first word", "my", false},
      {"a kanji name", "表.c"_sj, true},
      {"a link to a file", "link.c", true},
      {"through a link to a folder", "linkdir/b.h", true},
      {"a link to a folder", "linkdir", false},
      {"a broken link", "broken.c", false},
      {"a FIFO is not a folder", "fifo", true},
      {"in a folder that cannot be listed", "closed/in.c", true},
      {"missing in it", "closed/none.c", false},
      {"below a file", "a.c/x", false},
      {"an absolute file", absolute, true},
      {"an absolute missing one", absolute + "x", false},
      {"an empty name", "", false},
  };
  CTagJumpFiles files(base);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string full = !c.candidate.empty() && c.candidate[0] == '/' ? c.candidate : base + c.candidate;
    EXPECT_EQ(IsExistingFile(full.c_str(), true), c.file) << "the table itself";
    EXPECT_EQ(files.IsFile(c.candidate), c.file);
  }
  // Enough questions that the folder is listed, then the same again.
  for (int i = 0; i < 100; ++i) EXPECT_FALSE(files.IsFile("word " + std::to_string(i)));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(files.IsFile(c.candidate), c.file);
  }
  // A folder that cannot be listed leaves every question to the file system.
  CTagJumpFiles inClosed(dir.File("closed/"));
  for (int i = 0; i < 100; ++i) EXPECT_FALSE(inClosed.IsFile("word " + std::to_string(i)));
  EXPECT_TRUE(inClosed.IsFile("in.c"));
  EXPECT_FALSE(inClosed.IsFile("none.c"));
  ::chmod(dir.File("closed").c_str(), 0755);
}

}  // namespace
