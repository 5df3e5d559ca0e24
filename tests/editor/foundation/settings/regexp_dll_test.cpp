#include "editor/foundation/settings/regexp_dll.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "platform/sjis_literal.h"

namespace {

std::string Output(const CRegexpDll& regexp) {
  const BREGEXP* rx = regexp.GetResult();
  return std::string(rx->outp, rx->outendp);
}

class CRegexpDllTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(regexp.Load(), 0) << "the library beside the test program"; }
  CRegexpDll regexp;
};

TEST_F(CRegexpDllTest, OptionLetters) {
  EXPECT_EQ(regexp.BuildCommandString("a", nullptr, nullptr, 0),
            "m\xFF"
            "a\xFFkmi");
  EXPECT_EQ(regexp.BuildCommandString("a", nullptr, nullptr, CRegexpDll::kCaseSensitive),
            "m\xFF"
            "a\xFFkm");
  EXPECT_EQ(regexp.BuildCommandString("a", "b", "$1", CRegexpDll::kCaseSensitive | CRegexpDll::kGlobal),
            "s\xFF"
            "a\xFF"
            "b$1\xFFkmg");
}

TEST_F(CRegexpDllTest, AnchorFlags) {
  struct Case {
    const char* pattern;
    int flags;
  } cases[] = {
      {"^abc", CRegexpDll::kStartsWithLineStart},
      {"((^abc))", CRegexpDll::kStartsWithLineStart},
      {"abc$", CRegexpDll::kEndsWithLineEnd},
      {"(abc$)", CRegexpDll::kEndsWithLineEnd},
      {"^$", CRegexpDll::kStartsWithLineStart | CRegexpDll::kEndsWithLineEnd | CRegexpDll::kOnlyAnchors},
      {"abc\\$", 0},
      {"(?=x)", CRegexpDll::kHasLookAhead},
      {"a^b", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(regexp.CheckPatternAnchors(c.pattern), static_cast<int>(std::strlen(c.pattern)));
    EXPECT_EQ(regexp.GetPatternFlags(), CRegexpDll::kAnalysed | c.flags) << c.pattern;
  }
}

TEST_F(CRegexpDllTest, LineEndAnchorSeesTheLineEnd) {
  EXPECT_EQ(regexp.MakePattern("^$", nullptr, 0), "m\xFF^([\\r\\n]+)$\xFFkmi");
  EXPECT_EQ(regexp.MakePattern("(a)b$", "x", 0), "s\xFF(a)b([\\r\\n]+)$\xFFx$2\xFFkmi");
  EXPECT_EQ(regexp.MakePattern("abc\\$", "x", 0),
            "s\xFF"
            "abc\\$\xFFx\xFFkmi");

  ASSERT_TRUE(regexp.Compile("abc$", "x", 0)) << regexp.GetErrorText();
  const std::string line = "abc\r\n";
  ASSERT_TRUE(regexp.Replace(line.data(), static_cast<int>(line.size()), 0));
  EXPECT_EQ(Output(regexp), "x\r\n");
  EXPECT_EQ(regexp.GetLastTarget(), line.data());

  ASSERT_TRUE(regexp.Compile("^$", nullptr, 0));
  const std::string empty = "\r\n";
  EXPECT_TRUE(regexp.Match(empty.data(), 2, 0));
  EXPECT_EQ(regexp.GetResult()->endp[0] - regexp.GetResult()->startp[0], 2);  // with its line end
}

// A final "$" stands at a line's end whether the line has a line end or is the text's last line
// without one, and only there: never again after the line end, where a global replacement would
// add a second hit.
TEST_F(CRegexpDllTest, LineEndAnchorOnLinesWithAndWithoutALineEnd) {
  struct Case {
    const char* name;
    const char* pattern;
    std::string line;
    int column;
    int start;  // -1: no match
    int end;
  } cases[] = {
      {"text before the anchor, CR LF", "abc$", "abc\r\n", 0, 0, 5},
      {"text before the anchor, LF", "abc$", "abc\n", 0, 0, 4},
      {"text before the anchor, no line end", "abc$", "abc", 0, 0, 3},
      {"text before the anchor, not at the end", "abc$", "abcd", 0, -1, -1},
      {"lone anchor, CR LF", "$", "ab\r\n", 0, 2, 4},
      {"lone anchor, no line end", "$", "cd", 0, 2, 2},
      {"lone anchor, from the end of a line without a line end", "$", "cd", 2, 2, 2},
      {"lone anchor, nothing after the line end", "$", "ab\r\n", 4, -1, -1},
      {"lone anchor, empty text", "$", "", 0, 0, 0},
      {"empty line, CR LF", "^$", "\r\n", 0, 0, 2},
      {"empty line, no line end", "^$", "", 0, 0, 0},
      {"empty line, not empty", "^$", "cd", 0, -1, -1},
      {"empty line, nothing after the line end", "^$", "ab\r\n", 0, -1, -1},
      {"text end, no line end", "\\z", "cd", 0, 2, 2},
      {"text end, after the line end", "\\z", "ab\r\n", 0, 4, 4},
      {"kanji before the anchor, no line end", "漢$"_sj, "a漢"_sj, 0, 1, 3},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(regexp.Compile(c.pattern, nullptr, CRegexpDll::kCaseSensitive))
        << c.name << ": " << regexp.GetErrorText();
    const bool matched = regexp.Match(c.line.data(), static_cast<int>(c.line.size()), c.column);
    ASSERT_EQ(matched, c.start >= 0) << c.name;
    if (!matched) continue;
    const BREGEXP* rx = regexp.GetResult();
    EXPECT_EQ(rx->startp[0] - c.line.data(), c.start) << c.name;
    EXPECT_EQ(rx->endp[0] - c.line.data(), c.end) << c.name;
  }
}

TEST_F(CRegexpDllTest, LineEndAnchorReplacedOnceWithOrWithoutALineEnd) {
  struct Case {
    const char* name;
    const char* pattern;
    const char* replacement;
    int options;
    std::string line;
    std::string output;
  } cases[] = {
      {"CR LF kept", "$", "!", 0, "ab\r\n", "ab!\r\n"},
      {"CR LF kept, every place", "$", "!", CRegexpDll::kGlobal, "ab\r\n", "ab!\r\n"},
      {"no line end", "$", "!", 0, "cd", "cd!"},
      {"no line end, every place", "$", "!", CRegexpDll::kGlobal, "cd", "cd!"},
      {"text before the anchor, no line end", "d$", "!", CRegexpDll::kGlobal, "cdd", "cd!"},
      {"groups, no line end", "(c)(d)$", "$2$1", CRegexpDll::kGlobal, "xcd", "xdc"},
      {"a backslash ending the replacement, no line end", "d$", "\\\\", 0, "cd", "c\\"},
      {"empty line, CR LF", "^$", "!", CRegexpDll::kGlobal, "\r\n", "!\r\n"},
      {"empty line, no line end", "^$", "!", CRegexpDll::kGlobal, "", "!"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(regexp.Compile(c.pattern, c.replacement, c.options)) << c.name << ": " << regexp.GetErrorText();
    ASSERT_TRUE(regexp.Replace(c.line.data(), static_cast<int>(c.line.size()), 0)) << c.name;
    EXPECT_EQ(Output(regexp), c.output) << c.name;
  }
}

// Repeated optional groups before a fixed count make the engine report group 1 ending before it
// starts; such a group took part in nothing.
TEST_F(CRegexpDllTest, NoGroupEndsBeforeItStarts) {
  const struct {
    const char* pattern;
    std::string text;
  } cases[] = {{"(a?){3}a{3}", "aaa"}, {"(a*){3}a{3}", "aaa"}, {"(a|){3}a{3}", "aaa"}, {"(a?){5}a{5}", "aaaaa"}};
  for (const auto& c : cases) {
    ASSERT_TRUE(regexp.Compile(c.pattern, nullptr, 0)) << c.pattern << ": " << regexp.GetErrorText();
    ASSERT_TRUE(regexp.Match(c.text.data(), static_cast<int>(c.text.size()), 0)) << c.pattern;
    const BREGEXP* rx = regexp.GetResult();
    for (int i = 0; i <= rx->nparens; ++i) {
      EXPECT_EQ(rx->startp[i] == nullptr, rx->endp[i] == nullptr) << c.pattern << " group " << i;
      if (rx->startp[i]) {
        EXPECT_LE(rx->startp[i], rx->endp[i]) << c.pattern << " group " << i;
      }
    }
    ASSERT_TRUE(regexp.Compile(c.pattern, "[$1]", 0)) << c.pattern << ": " << regexp.GetErrorText();
    ASSERT_TRUE(regexp.Replace(c.text.data(), static_cast<int>(c.text.size()), 0))
        << c.pattern << ": " << regexp.GetErrorText();
    EXPECT_EQ(Output(regexp), "[]") << c.pattern;
  }
}

// The line-end group's reference follows the replacement; whatever the replacement ends with, the
// reference stays one and the replacement keeps its own meaning.
TEST_F(CRegexpDllTest, ReplacementEndingKeepsTheLineEnd) {
  struct Case {
    const char* name;
    std::string replacement;
    std::string output;
  } cases[] = {
      {"a backslash", "x\\", "x\\\r\n"},
      {"an escaped backslash", "x\\\\", "x\\\r\n"},
      {"three backslashes", "x\\\\\\", "x\\\\\r\n"},
      {"a kanji whose trail byte is a backslash", "x" + std::string("表"_sj), "x" + std::string("表"_sj) + "\r\n"},
      {"a lone lead byte", "x\x81", "x\x81\r\n"},
      {"an escaped dollar", "x\\$", "x$\r\n"},
  };
  const std::string line = "abc\r\n";
  for (const Case& c : cases) {
    ASSERT_TRUE(regexp.Compile("abc$", c.replacement.c_str(), 0)) << c.name << ": " << regexp.GetErrorText();
    ASSERT_TRUE(regexp.Replace(line.data(), static_cast<int>(line.size()), 0)) << c.name;
    EXPECT_EQ(Output(regexp), c.output) << c.name;
  }
}

TEST_F(CRegexpDllTest, CompileErrorsKeepTheEnginesMessage) {
  EXPECT_FALSE(regexp.Compile("a(", nullptr, 0));
  EXPECT_NE(regexp.GetErrorText()[0], 0);
  EXPECT_EQ(regexp.GetResult(), nullptr);
  EXPECT_FALSE(regexp.Match("a(", 2, 0));
  ASSERT_TRUE(regexp.Compile("A", nullptr, 0));
  EXPECT_TRUE(regexp.Match("xa", 2, 0));
  EXPECT_FALSE(regexp.Match("xa", 2, 3));  // a column past the line is no match, not a read
  ASSERT_TRUE(regexp.Compile("A", nullptr, CRegexpDll::kCaseSensitive));
  EXPECT_FALSE(regexp.Match("xa", 2, 0));
}

TEST_F(CRegexpDllTest, ReplaceOnAnEmptyLinePassesAnEmptyTarget) {
  ASSERT_TRUE(regexp.Compile("x*", "E", 0));
  const char line[] = "after";  // what follows the empty line in memory
  ASSERT_TRUE(regexp.Replace(line, 0, 0));
  EXPECT_EQ(Output(regexp), "E");
  EXPECT_NE(regexp.GetLastTarget(), nullptr);
}

TEST(CRegexpDllLineStart, WithoutTheExEntriesALineStartPatternNeverMatchesInsideTheLine) {
  const std::string line = "ab\nabc";
  {
    CDllLoader::SetModuleFile("BREGEXP.DLL", VREL_TEST_REGEXP_WITHOUT_EX);
    CRegexpDll regexp;
    ASSERT_EQ(regexp.Load(), 0);
    CDllLoader::SetModuleFile("BREGEXP.DLL", nullptr);
    ASSERT_TRUE(regexp.Compile("^abc", nullptr, 0));
    EXPECT_FALSE(regexp.Match(line.data(), static_cast<int>(line.size()), 3));
    EXPECT_TRUE(regexp.Match(line.data(), static_cast<int>(line.size()), 0));  // m: ^ after the line break
    ASSERT_TRUE(regexp.Compile("^abc", "X", 0));
    EXPECT_FALSE(regexp.Replace(line.data(), static_cast<int>(line.size()), 3));
  }
  CRegexpDll regexp;
  ASSERT_EQ(regexp.Load(), 0);
  ASSERT_TRUE(regexp.Compile("^abc", nullptr, 0));
  EXPECT_TRUE(regexp.Match(line.data(), static_cast<int>(line.size()), 3));  // the engine sees the line break
  const std::string flat = "abcabc";
  EXPECT_FALSE(regexp.Match(flat.data(), static_cast<int>(flat.size()), 3));
  ASSERT_TRUE(regexp.Compile("^abc", "X", 0));
  ASSERT_TRUE(regexp.Replace(line.data(), static_cast<int>(line.size()), 3));
  EXPECT_EQ(Output(regexp), "X");
}

}  // namespace
