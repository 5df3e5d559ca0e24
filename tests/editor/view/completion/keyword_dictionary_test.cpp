// The keyword dictionary and the word list: entries and candidates from small files written by
// each case, the paths they are found by, and the pieces long lines are read in.
#include "editor/view/completion/keyword_dictionary.h"

#include <fstream>
#include <string>
#include <vector>

#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/memory.h"
#include "editor/view/completion/text_mode_lines.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"

namespace {

class KeywordDictionaryTest : public ::testing::Test {
 protected:
  // Writes the bytes as a file of the temporary folder and gives its absolute path.
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = (folder.path() / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  ScopedTempDir folder;
  CKeywordDictionary dictionary;
};

struct SearchCase {
  const char* name;
  std::string file;
  std::string word;
  bool found;
  std::string text;
};

TEST_F(KeywordDictionaryTest, SearchFindsTheFirstEntryWithTheWordAmongItsKeys) {
  const std::string tail(10239 - 6, 'x');
  const std::vector<SearchCase> cases = {
      {"keys split by a comma", "printf,fprintf /// print formatted\n", "fprintf", true, "print formatted"},
      {"letter case aside", "printf,fprintf /// print formatted\n", "PRINTF", true, "print formatted"},
      {"a blank after the comma belongs to the key", "printf, fprintf /// print\n", "fprintf", false, ""},
      {"that key with its blank", "printf, fprintf /// print\n", " fprintf", true, "print"},
      {"a comment even with the separator", ";printf /// print\n", "printf", false, ""},
      {"a line without the separator", "printf // print\nprintf ///print\n", "printf", false, ""},
      {"the first match ends the search", "a /// one\nb,a /// two\n", "a", true, "one"},
      {"the description ends at a CR", "a /// one\rtwo\n", "a", true, "one"},
      {"a CR LF file", "a /// one\r\nb /// two\r\n", "b", true, "two"},
      {"backslash n is left for the consumer", "a /// one\\ntwo\n", "a", true, "one\\ntwo"},
      {"the description after the first separator", "a /// b /// c\n", "a", true, "b /// c"},
      {"an empty description", "a /// \n", "a", true, ""},
      {"a last line without a line end", "x /// y\na /// one", "a", true, "one"},
      {"a word of a key's part", "printf /// print\n", "print", false, ""},
      {"no keys before the separator", " /// nothing\n", "x", false, ""},
      {"kanji keys compare whole", "漢字,表 /// kanji\n"_sj, "表"_sj, true, "kanji"},
      {"double-byte bytes never fold", "\x95\x61 /// lower\n", "\x95\x41", false, ""},
      // A line of 10,239 bytes and its "\n": the "\n" is a piece of its own, the line is whole.
      {"a 10,239-byte line is whole", "k /// " + tail + "\n", "k", true, tail},
      // Longer: the rest past 10,239 bytes is read as a line of its own.
      {"the rest of a longer line is a line", "k /// " + tail + "r /// rest\n", "r", true, "rest"},
      {"the cut keeps a kanji whole", "k /// " + std::string(10239 - 7, 'x') + "表 /// rest\n"_sj, "表"_sj, true,
       "rest"},
  };
  for (const SearchCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write("keywords.khp", c.file);
    CMemory out;
    out.AssignString("untouched");
    EXPECT_EQ(dictionary.Search(c.word, &out, path), c.found);
    EXPECT_EQ(out.View(), c.found ? c.text : "untouched");
  }
}

TEST_F(KeywordDictionaryTest, NoFileNoPathOrNoWordFindsNothing) {
  const std::string path = Write("keywords.khp", "a /// one\n");
  CMemory out;
  EXPECT_FALSE(dictionary.Search("a", &out, (folder.path() / "missing.khp").string()));
  EXPECT_FALSE(dictionary.Search("a", &out, ""));
  EXPECT_FALSE(dictionary.Search("", &out, path));
  EXPECT_FALSE(dictionary.Search("a", &out, folder.path().string())) << "a folder is no file";
  EXPECT_EQ(out.GetLength(), 0);
}

TEST_F(KeywordDictionaryTest, FileIsReadAfreshForEveryLookup) {
  const std::string path = Write("keywords.khp", "a /// one\n");
  CMemory out;
  ASSERT_TRUE(dictionary.Search("a", &out, path));
  Write("keywords.khp", "a /// two\n");
  ASSERT_TRUE(dictionary.Search("a", &out, path));
  EXPECT_EQ(out.View(), "two");
}

TEST_F(KeywordDictionaryTest, RelativePathsStartAtTheExecutablesFolder) {
  Write("keywords.khp", "a /// beside\n");
  // Up from the executable's folder to the root, then down to the file.
  const std::string exe = CShareData::ExecutableFolder();
  ASSERT_FALSE(exe.empty());
  std::string relative;
  for (size_t i = 1; i < exe.size(); ++i) {
    if (exe[i] == '/') relative += "../";
  }
  relative += (folder.path() / "keywords.khp").string().substr(1);
  CMemory out;
  ASSERT_TRUE(dictionary.Search("a", &out, relative));
  EXPECT_EQ(out.View(), "beside");
  EXPECT_FALSE(dictionary.Search("a", &out, "keywords.khp")) << "not the current folder";
}

struct CandidateCase {
  const char* name;
  std::string file;
  std::string prefix;
  bool ignoreCase;
  int maxCount;
  std::string words;  // each followed by "\n"
};

TEST_F(KeywordDictionaryTest, CandidatesAreTheLongerWordsWithThePrefixInFileOrder) {
  const std::vector<CandidateCase> cases = {
      {"prefix and longer words", "print\nprintf\nsprintf\nprintln\n", "print", false, 0, "printf\nprintln\n"},
      {"a word equal to the prefix is not offered", "abc\nabcd\n", "abc", false, 0, "abcd\n"},
      {"nor on a last line without a line end", "abcd\nabc", "abc", false, 0, "abcd\n"},
      {"byte for byte", "Printf\nprintf\n", "pr", false, 0, "printf\n"},
      {"letter case aside", "Printf\nprintf\nPRIX\n", "pr", true, 0, "Printf\nprintf\nPRIX\n"},
      {"comments are no words", ";print\nprintf\n", ";pr", false, 0, ""},
      {"a comment under any prefix", ";printx\nprintf\n", "", false, 0, "printf\n"},
      {"the maximum count", "a1\na2\na3\na4\n", "a", false, 2, "a1\na2\n"},
      {"a CR LF file gives no CR", "word\r\nwords\r\n", "wor", false, 0, "word\nwords\n"},
      {"a word ends at a lone CR", "wo\rrd\nx\n", "w", false, 0, "wo\n"},
      {"kanji prefix", "表示\n表\n漢字\n"_sj, "表"_sj, true, 0, "表示\n"_sj},
      {"double-byte bytes never fold", "\x95\x61x\n", "\x95\x41", true, 0, ""},
      {"empty lines are no words", "\n\nab\n", "", false, 0, "ab\n"},
      // 1,023 bytes with the "\n": whole. One more byte and the rest is a word of its own.
      {"a 1,022-byte word is whole", "a" + std::string(1021, 'b') + "\n", "a", false, 0,
       "a" + std::string(1021, 'b') + "\n"},
      {"a longer line in pieces", "a" + std::string(1022, 'b') + "ac\n", "a", false, 0,
       "a" + std::string(1022, 'b') + "\nac\n"},
  };
  for (const CandidateCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write("words.kwd", c.file);
    CMemory out;
    out.AssignString("old");
    const int count = dictionary.SearchCandidates(c.prefix, c.ignoreCase, &out, c.maxCount, path);
    EXPECT_EQ(out.View(), c.words);
    EXPECT_EQ(count, static_cast<int>(std::count(c.words.begin(), c.words.end(), '\n')));
  }
}

TEST_F(KeywordDictionaryTest, CandidatesOfAMissingFileAreNone) {
  CMemory out;
  out.AssignString("old");
  EXPECT_EQ(dictionary.SearchCandidates("a", false, &out, 0, (folder.path() / "missing.kwd").string()), 0);
  EXPECT_EQ(out.GetLength(), 0);
  EXPECT_EQ(dictionary.SearchCandidates("a", false, &out, 0, ""), 0);
}

// The pieces themselves, across the reader's blocks: lines of every length around the limit and
// CR LF pairs cut by a block's end read the same as from a string.
TEST(TextModeLinesTest, PiecesAcrossBlocksMatchTheRuleOnTheWholeText) {
  ScopedTempDir folder;
  const int limit = 7;
  std::string bytes;
  std::vector<std::pair<std::string, bool>> expected;
  for (int n = 0; bytes.size() < 200000; n = (n + 1) % 19) {
    std::string line(static_cast<size_t>(n), static_cast<char>('a' + n));
    const bool crlf = n % 3 == 0;
    bytes += line + (crlf ? "\r\n" : "\n");
    while (line.size() + 1 > static_cast<size_t>(limit)) {
      expected.emplace_back(line.substr(0, limit), false);
      line.erase(0, limit);
    }
    expected.emplace_back(line, true);
  }
  bytes += "end\r";
  expected.emplace_back("end\r", false);
  const std::string path = (folder.path() / "lines.txt").string();
  std::ofstream(path, std::ios::binary) << bytes;

  CTextModeLines lines(limit);
  ASSERT_TRUE(lines.Open(path));
  std::vector<std::pair<std::string, bool>> got;
  std::string_view text;
  bool lineEnd = false;
  while (lines.Next(&text, &lineEnd)) got.emplace_back(std::string(text), lineEnd);
  EXPECT_EQ(got, expected);
}

}  // namespace
