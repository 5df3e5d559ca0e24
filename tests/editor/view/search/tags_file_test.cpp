#include "editor/view/search/tags_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/foundation/ui/tag_candidate_list.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"

namespace {

struct Candidate {
  std::string keyword;
  std::string file;
  int line;
  int kind;
  std::string note;
  int depth;
  bool operator==(const Candidate&) const = default;
};

std::vector<Candidate> Candidates(const CTagCandidateList& list) {
  std::vector<Candidate> out;
  char keyword[260], file[260], note[260];
  int line = 0, kind = 0, depth = 0;
  for (int i = 0; list.GetAt(i, keyword, file, &line, &kind, note, &depth); ++i) {
    out.push_back({keyword, file, line, kind, note, depth});
  }
  return out;
}

std::vector<std::string> Keywords(const CTagCandidateList& list) {
  std::vector<std::string> out;
  for (const Candidate& c : Candidates(list)) out.push_back(c.keyword);
  return out;
}

TEST(TagsLineTest, OnlyLinesWithNameFileLineAndKindAreUsed) {
  struct Case {
    const char* name;
    std::string text;
    bool used;
    int line = 0;
    std::string kind = {};
    std::string remark = {};
  };
  const Case cases[] = {
      {"a full line", "main\tsrc/main.c\t12;\"\tf\ttyperef:int", true, 12, "f", "typeref:int"},
      {"no remark", "N\ta.c\t3;\"\tv", true, 3, "v", ""},
      {"a remark is its first word", "N\ta.c\t3;\"\tm\tclass:A extra", true, 3, "m", "class:A"},
      {"line number 0", "N\ta.c\t0;\"\tf", false},
      {"a negative line", "N\ta.c\t-4;\"\tf", false},
      {"a line number too big for an int", "N\ta.c\t2147483648;\"\tf", false},
      {"no kind field", "N\ta.c\t7;\"", false},
      {"no ;\" after the number", "N\ta.c\t7\tf", false},
      {"no line number", "N\ta.c\t;\"\tf", false},
      {"a search pattern instead of a number", "N\ta.c\t/^int N;$/;\"\tv", false},
      {"no file", "N", false},
      {"a pseudo-tag", "!_TAG_FILE_SORTED\t1\t/0=unsorted/", false},
      {"an empty line", "", false},
      {"a leading blank", " N\ta.c\t1;\"\tf", false},
      {"a leading control byte", "\x01N\ta.c\t1;\"\tf", false},
      {"a leading byte from 0x80", "\x82\xa0\ta.c\t1;\"\tf", false},
      {"a name starting with \" is above !", "\"q\ta.c\t1;\"\tf", true, 1, "f", ""},
  };
  for (const Case& c : cases) {
    TagsLine line;
    ASSERT_EQ(ScanTagsLine(c.text, &line), c.used) << c.name;
    if (!c.used) continue;
    EXPECT_EQ(line.line, c.line) << c.name;
    EXPECT_EQ(line.kind, c.kind) << c.name;
    EXPECT_EQ(line.remark, c.remark) << c.name;
  }
  TagsLine line;
  ASSERT_TRUE(ScanTagsLine("main\tsrc/main.c\t12;\"\tf", &line));
  EXPECT_EQ(line.name, "main");
  EXPECT_EQ(line.file, "src/main.c");
}

TEST(TagsFoldersTest, EveryFolderFromTheDocumentsUpToTheRootCutAtSlashes) {
  EXPECT_EQ(TagsFolders("/a/b/c/x.c"), (std::vector<std::string>{"/a/b/c/", "/a/b/", "/a/", "/"}));
  EXPECT_EQ(TagsFolders("/x.c"), (std::vector<std::string>{"/"}));
  EXPECT_TRUE(TagsFolders("x.c").empty());
  // A trail byte equal to "\" is no separator, nor is "\" itself.
  EXPECT_EQ(TagsFolders("/表/a\\b.c"_sj), (std::vector<std::string>{"/表/"_sj, "/"}));
  std::string deep;
  for (int i = 0; i < 140; ++i) deep += "/d";
  deep += "/x.c";
  EXPECT_EQ(TagsBaseDepth(deep), 130);
  EXPECT_EQ(TagsFolders(deep).size(), 131u) << "at most 131 files";
  EXPECT_EQ(TagsBaseDepth("/a/b/c/x.c"), 3);
}

// A tree a/b/c/x.c with tags files where a test puts them.
class TagsTreeTest : public testing::Test {
 protected:
  std::string Root() const { return dir.path().string() + "/"; }
  std::string Doc() const { return Root() + "a/b/c/x.c"; }
  void Tags(const std::string& folder, const std::string& text) const { dir.Write(folder + "tags", text); }
  // The depth of a folder of the tree (relative to the root) above the document's.
  static int Depth(const std::string& folder) {
    return folder == "a/b/c/" ? 0 : folder == "a/b/" ? 1 : folder == "a/" ? 2 : 3;
  }

  ScopedTempDir dir;
};

TEST_F(TagsTreeTest, DirectSearchStopsAtTheNearestFileThatNamesTheTag) {
  dir.Write("a/b/c/x.c", "");
  Tags("a/b/", "!_TAG_FILE_FORMAT\t2\t/extended format/\nother\to.c\t1;\"\tf\n");
  Tags("a/", "func\tsub/y.cpp\t40;\"\tf\nfunc\t/abs/z.c\t41;\"\tp\n");
  Tags("", "func\tfar.c\t50;\"\tf\n");

  DirectTagHits hits;
  ASSERT_TRUE(FindTagsDirect(Doc(), "func", &hits));
  EXPECT_EQ(hits.depth, 2);
  EXPECT_EQ(hits.folder, Root() + "a/");
  ASSERT_EQ(hits.entries.size(), 2u);
  EXPECT_EQ(TagEntryPath(hits.folder, hits.entries[0].file), Root() + "a/sub/y.cpp") << "relative: the tags file's folder";
  EXPECT_EQ(hits.entries[0].line, 40);
  EXPECT_EQ(hits.entries[0].kind, 'f');
  EXPECT_EQ(TagEntryPath(hits.folder, hits.entries[1].file), "/abs/z.c") << "absolute as it is";

  EXPECT_FALSE(FindTagsDirect(Doc(), "fun", &hits)) << "names compare whole";
  EXPECT_FALSE(FindTagsDirect(Doc(), "FUNC", &hits)) << "and by bytes";
}

TEST_F(TagsTreeTest, DirectSearchTakesTheRunOfHitsOnlyAndPassesOverNamesWithoutAForm) {
  Tags("a/b/c/",
       "f\ta.c\t1;\"\tf\n"
       "f\t\xff.c\t2;\"\tf\n"  // no Shift-JIS form: passed over, the run goes on
       "f\t\xe8\xa1\xa8.c\t3;\"\tf\n"
       "g\tg.c\t4;\"\tf\n"
       "f\tlate.c\t5;\"\tf\n");
  DirectTagHits hits;
  ASSERT_TRUE(FindTagsDirect(Doc(), "f", &hits));
  EXPECT_EQ(hits.depth, 0);
  ASSERT_EQ(hits.entries.size(), 2u);
  EXPECT_EQ(hits.entries[0].file, "a.c");
  EXPECT_EQ(hits.entries[1].file, "表.c"_sj) << "the host name in Shift-JIS";
}

TEST_F(TagsTreeTest, AMissingOrUnreadableTagsFileIsSkipped) {
  std::filesystem::create_directories(dir.path() / "a/b/c/tags");  // a folder named tags
  Tags("a/", "h\th.c\t9;\"\td\n");
  DirectTagHits hits;
  ASSERT_TRUE(FindTagsDirect(Doc(), "h", &hits));
  EXPECT_EQ(hits.depth, 2);
  EXPECT_FALSE(FindTagsDirect(Root() + "nowhere/x.c", "zzz", &hits));
}

TEST_F(TagsTreeTest, KeywordSearchListsEveryLevelWithItsDepth) {
  Tags("a/b/c/", "name\tnear.c\t1;\"\tf\tnote\n");
  Tags("a/", "name\tfar.c\t2;\"\tv\nnameless\tfar2.c\t3;\"\tf\n");
  CTagCandidateList list(100);
  FindTagsByKeyword(Doc(), "name", false, false, list);
  EXPECT_EQ(Candidates(list), (std::vector<Candidate>{{"name", "near.c", 1, 'f', "note", 0},
                                                      {"name", "far.c", 2, 'v', "", 2},
                                                      {"nameless", "far2.c", 3, 'f', "", 2}}));
  FindTagsByKeyword(Doc(), "", false, false, list);
  EXPECT_EQ(list.GetCount(), 0) << "an empty keyword finds nothing";
}

TEST_F(TagsTreeTest, KeywordModes) {
  // Not sorted on purpose: the byte-prefix mode stops at the first name past the keyword.
  Tags("a/b/c/",
       "abc\ta.c\t1;\"\tf\n"
       "Abd\ta.c\t2;\"\tf\n"
       "b\ta.c\t3;\"\tf\n"
       "abz\ta.c\t4;\"\tf\n"
       "xab\ta.c\t5;\"\tf\n"
       "x\x83\x41\ta.c\t6;\"\tf\n");  // "xア": its trail byte is "A"
  struct Case {
    const char* name;
    const char* keyword;
    bool ignoreCase;
    bool anywhere;
    std::vector<std::string> found;
  };
  const Case cases[] = {
      {"prefix, bytes: stops at b", "ab", false, false, {"abc"}},
      {"prefix, no case: reads on", "ab", true, false, {"Abd", "abc", "abz"}},
      {"anywhere, bytes", "ab", false, true, {"abc", "abz", "xab"}},
      {"anywhere, no case", "AB", true, true, {"Abd", "abc", "abz", "xab"}},
      {"anywhere, no case, never inside a character", "a", true, true, {"Abd", "abc", "abz", "xab"}},
  };
  for (const Case& c : cases) {
    CTagCandidateList list(100);
    FindTagsByKeyword(Doc(), c.keyword, c.ignoreCase, c.anywhere, list);
    EXPECT_EQ(Keywords(list), c.found) << c.name;
  }
}

TEST_F(TagsTreeTest, OneHundredFiftyHitsKeepOneHundredAndSayTheRestWasDropped) {
  std::string text;
  for (int i = 0; i < 150; ++i) text += "k" + std::to_string(1000 + i) + "\tk.c\t" + std::to_string(i + 1) + ";\"\tf\n";
  Tags("a/b/c/", text);
  CTagCandidateList list(100);
  FindTagsByKeyword(Doc(), "k", false, false, list);
  EXPECT_EQ(list.GetCount(), 100);
  EXPECT_TRUE(list.IsDropped());
  EXPECT_EQ(Keywords(list).back(), "k1099");
}

TEST_F(TagsTreeTest, TheRestOfALongLineIsNeverReadAsATag) {
  // Each search reads a piece of the line; what follows the piece looks like a tag of its own.
  const std::string bogus = "bogus\tb.c\t5;\"\tf\n";
  for (const int piece : {kDirectTagsPiece, kKeywordTagsPiece}) {
    std::string line = "real\tr.c\t1;\"\tf\t";
    line += std::string(static_cast<size_t>(piece) - line.size(), 'x');
    line += bogus;
    line += std::string(3000 - line.size(), 'y') + "\n";
    Tags("a/b/c/", line + "tail\tn.c\t2;\"\tf\n");
    DirectTagHits hits;
    EXPECT_FALSE(FindTagsDirect(Doc(), "bogus", &hits)) << piece;
    ASSERT_TRUE(FindTagsDirect(Doc(), "real", &hits)) << "the first piece is a line";
    EXPECT_TRUE(FindTagsDirect(Doc(), "tail", &hits)) << "the line after it is read";
    CTagCandidateList list(100);
    FindTagsByKeyword(Doc(), "bog", false, true, list);
    EXPECT_EQ(list.GetCount(), 0) << piece;
    FindTagsByKeyword(Doc(), "tail", false, false, list);
    EXPECT_EQ(list.GetCount(), 1) << piece;
  }
}

TEST_F(TagsTreeTest, ALineLongerThanItsPieceAcrossReadBlocksStillLosesItsRest) {
  // Lines that straddle the reader's blocks, one far longer than a block.
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "t" + std::to_string(i) + "\tt.c\t" + std::to_string(i + 1) + ";\"\tf\n";
  text += "huge\th.c\t1;\"\tf\t" + std::string(200000, 'z') + "\tbogus\tb.c\t5;\"\tf\n";
  text += "t1999x\tt.c\t7;\"\tf\n";
  Tags("a/b/c/", text);
  CTagCandidateList list(5000);
  FindTagsByKeyword(Doc(), "t", false, false, list);
  EXPECT_EQ(list.GetCount(), 2001);
  DirectTagHits hits;
  EXPECT_FALSE(FindTagsDirect(Doc(), "bogus", &hits));
  ASSERT_TRUE(FindTagsDirect(Doc(), "t1999x", &hits));
  EXPECT_EQ(hits.entries[0].line, 7);
}

TEST_F(TagsTreeTest, KeywordSearchPassesOverFilesACandidateCannotHold) {
  Tags("a/b/c/", "k\t" + std::string(300, 'f') + ".c\t1;\"\tf\nk\tshort.c\t2;\"\tf\n");
  CTagCandidateList list(100);
  FindTagsByKeyword(Doc(), "k", false, false, list);
  ASSERT_EQ(list.GetCount(), 1);
  EXPECT_EQ(Candidates(list)[0].file, "short.c");
}

TEST(TagKindNameTest, ByExtensionWithoutCaseAndByLetterWithCase) {
  struct Case {
    const char* name;
    const char* file;
    int letter;
    const char* kind;
  };
  const Case cases[] = {
      {"c function", "a/x.c", 'f', "function"},
      {"C++ shares the C names", "x.cpp", 'c', "class"},
      {"the extension without case", "X.HPP", 's', "struct"},
      {"no extension is c", "Makefile", 'd', "macro"},
      {"a dot in a folder is not an extension", "v1.2/README", 'm', "member"},
      {"an empty extension is none of the table's", "x.", 'f', ""},
      {"letters with case: sql P", "q.sql", 'P', "package"},
      {"letters with case: sql p", "q.sql", 'p', "procedure"},
      {"ruby F", "r.rb", 'F', "singleton method"},
      {"fortran block data", "m.f90", 'b', "block data"},
      {"a letter the row lacks", "x.c", 'z', ""},
      {"an extension no row has", "x.txt", 'f', ""},
      {"the first row decides", "a.s", 'm', "macro"},
  };
  for (const Case& c : cases) EXPECT_EQ(TagKindName(c.file, c.letter), c.kind) << c.name;
}

}  // namespace
