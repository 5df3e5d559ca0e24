#include "editor/foundation/document/regex_highlighter.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "editor/foundation/text/sjis_char.h"
#include "platform/sjis_literal.h"

namespace {

struct Keyword {
  int column;
  int length;
  int code;
  bool operator==(const Keyword&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Keyword& k) {
  return os << "{" << k.column << ", " << k.length << ", " << k.code << "}";
}

// A type that uses its keywords, with every keyword colour shown.
std::unique_ptr<TypeSettings> MakeType(const std::vector<std::pair<std::string, int>>& patterns) {
  auto type = std::make_unique<TypeSettings>();  // value-initialised: every field 0
  type->nIndex = 3;
  type->bUseRegexKeyword = 1;
  type->nChangeCounter = 7;
  for (int code = 0; code < kColorItemCount; ++code) type->Colors[code].bShow = 1;
  for (size_t i = 0; i < patterns.size(); ++i) {
    std::strncpy(type->RegexKeywords[i].szPattern, patterns[i].first.c_str(), sizeof type->RegexKeywords[i].szPattern);
    type->RegexKeywords[i].nColorCode = patterns[i].second;
  }
  return type;
}

// The keywords of a line as the painter finds them: a keyword's bytes are painted at once and the
// next question is asked after them.
std::vector<Keyword> Paint(CRegexHighlighter& h, const std::string& line) {
  std::vector<Keyword> found;
  if (!h.BeginLine()) return found;
  const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
  const int length = static_cast<int>(line.size());
  int column = 0;
  while (column < length) {
    int matchLength = 0, code = -1;
    if (h.MatchAt(line.data(), column, length, &matchLength, &code)) {
      found.push_back({column, matchLength, code});
      column += matchLength > 0 ? matchLength : 1;  // a keyword of no bytes must not hold the test
    } else {
      column += SjisCharSize(bytes, length, column);
    }
  }
  return found;
}

class RegexHighlighterTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(highlighter.IsAvailable()) << "the library beside the test program"; }
  CRegexHighlighter highlighter;
};

TEST(RegexHighlighterForms, WellFormedPatterns) {
  const struct {
    const char* pattern;
    int wellFormed;
  } cases[] = {
      {"/abc/k", 1}, {"m/abc/k", 1}, {"m#abc#k", 1}, {"/abc/ki", 1}, {"m/abc/ki", 1}, {"m#abc#ki", 1},
      {"/k", 0},     {"//k", 0},     {"m##k", 0},    {"/abc/", 0},   {"abc/k", 0},    {"/abc/i", 0},
      {"", 0},       {"/a/k", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(CRegexHighlighter::IsPatternWellFormed(c.pattern), c.wellFormed) << c.pattern;
  EXPECT_EQ(CRegexHighlighter::IsPatternWellFormed(nullptr), 0);
}

TEST_F(RegexHighlighterTest, KeywordsAlongALine) {
  const std::string kanji = "漢字"_sj;
  const struct {
    const char* name;
    std::vector<std::pair<std::string, int>> patterns;
    std::string line;
    std::vector<Keyword> keywords;
  } cases[] = {
      {"each pattern its own colour", {{"/foo/k", 29}, {"/[0-9]+/k", 30}}, "a foo 42 foo", {{2, 3, 29}, {6, 2, 30}, {9, 3, 29}}},
      {"the first listed wins where two match", {{"/ab/k", 29}, {"/abc/k", 30}}, "xabc", {{1, 2, 29}}},
      {"listed later, matched earlier", {{"/cd/k", 29}, {"/ab/k", 30}}, "abcd", {{0, 2, 30}, {2, 2, 29}}},
      {"a line-start pattern only at column 0", {{"/^ab/k", 31}}, "abab", {{0, 2, 31}}},
      {"a line-start pattern not at the start", {{"m/^ab/k", 31}}, "xab ab", {}},
      {"an empty third entry ends the list", {{"/a/k", 29}, {"/b/k", 30}, {"", 0}, {"/c/k", 31}}, "abc", {{0, 1, 29}, {1, 1, 30}}},
      {"an empty body and a missing k are disabled", {{"/k", 29}, {"/b/", 30}, {"/c/k", 31}}, "/kbc", {{3, 1, 31}}},
      {"a refused pattern leaves the others", {{"/a(/k", 29}, {"/b/k", 30}}, "ab", {{1, 1, 30}}},
      {"ignoring case", {{"m#abc#ki", 32}}, "xABC", {{1, 3, 32}}},
      {"double-byte text", {{"/字/k"_sj, 33}}, "a" + kanji + kanji, {{3, 2, 33}, {7, 2, 33}}},
      {"a code beside the keyword colours", {{"/a/k", 0}, {"/b/k", 43}}, "ab", {{0, 1, 0}, {1, 1, 43}}},
      {"codes that name no colour item", {{"/a/k", 44}, {"/b/k", -1}, {"/c/k", 1000}}, "abc", {}},
  };
  for (const auto& c : cases) {
    // A highlighter of its own: a record made at the address of the last one, with the same
    // counter, would count as compiled.
    CRegexHighlighter own;
    auto type = MakeType(c.patterns);
    ASSERT_EQ(own.BindType(type.get()), 1) << c.name;
    EXPECT_EQ(Paint(own, c.line), c.keywords) << c.name;
  }
}

// Every pattern that can match nothing would otherwise hold the painter at one column.
TEST_F(RegexHighlighterTest, AnEmptyMatchIsNoKeyword) {
  const struct {
    const char* pattern;
    std::string line;
    std::vector<Keyword> keywords;
  } cases[] = {
      {"/x*/k", "aaxx", {{2, 2, 29}}},
      {"/x*/k", "abc", {}},
      {"/(?=b)/k", "abc", {}},
      {"/^/k", "abc", {}},
      {"/$/k", "abc", {}},
      {"/\\b/k", "ab cd", {}},
      {"/x*/k", "表x"_sj, {{2, 1, 29}}},  // the next character after a kanji, never its trail byte
  };
  for (const auto& c : cases) {
    auto type = MakeType({{c.pattern, 29}});
    highlighter.ResetPatterns();
    ASSERT_EQ(highlighter.BindType(type.get()), 1);
    EXPECT_EQ(Paint(highlighter, c.line), c.keywords) << c.pattern;
    // Asked at every column, the answer never has zero bytes.
    ASSERT_TRUE(highlighter.BeginLine());
    for (int column = 0; column < static_cast<int>(c.line.size()); ++column) {
      int length = -1, code = -1;
      if (highlighter.MatchAt(c.line.data(), column, static_cast<int>(c.line.size()), &length, &code)) {
        EXPECT_GT(length, 0) << c.pattern << " at " << column;
      }
    }
  }
}

TEST_F(RegexHighlighterTest, UnusedKeywordsNeverColour) {
  auto type = MakeType({{"/a/k", 29}});
  type->bUseRegexKeyword = 0;
  EXPECT_EQ(highlighter.BindType(type.get()), 0);
  EXPECT_EQ(highlighter.BeginLine(), 0);
  int length = 0, code = 0;
  EXPECT_FALSE(highlighter.MatchAt("a", 0, 1, &length, &code));

  type->bUseRegexKeyword = 1;
  ASSERT_EQ(highlighter.BindType(type.get()), 1);
  EXPECT_EQ(Paint(highlighter, "a"), std::vector<Keyword>({{0, 1, 29}}));
  type->bUseRegexKeyword = 0;  // switched off: the binding goes
  EXPECT_EQ(highlighter.BindType(type.get()), 0);
  EXPECT_EQ(highlighter.BeginLine(), 0);
  EXPECT_EQ(highlighter.BindType(nullptr), 0);
  EXPECT_EQ(highlighter.BeginLine(), 0);
}

TEST_F(RegexHighlighterTest, RecompilesOnlyWhenTheCounterOrTypeChanges) {
  auto type = MakeType({{"/a/k", 29}, {"/b/k", 30}});
  ASSERT_EQ(highlighter.BindType(type.get()), 1);
  type->Colors[29].bShow = 0;
  std::strcpy(type->RegexKeywords[1].szPattern, "/c/k");
  ASSERT_EQ(highlighter.BindType(type.get()), 1);
  EXPECT_EQ(Paint(highlighter, "abc"), std::vector<Keyword>({{0, 1, 29}, {1, 1, 30}})) << "the compiled patterns stay";
  ++type->nChangeCounter;
  ASSERT_EQ(highlighter.BindType(type.get()), 1);
  EXPECT_EQ(Paint(highlighter, "abc"), std::vector<Keyword>({{2, 1, 30}})) << "RK1 switched off, the new second pattern";

  auto other = MakeType({{"/b/k", 31}});
  ASSERT_EQ(highlighter.BindType(other.get()), 1);
  EXPECT_EQ(Paint(highlighter, "abc"), std::vector<Keyword>({{1, 1, 31}}));
}

// The field holds 100 bytes; a pattern that fills it has no terminator, and what lies after the
// field (the colour code) is not part of it.
TEST_F(RegexHighlighterTest, PatternReadWithinItsField) {
  auto type = MakeType({});
  const std::string pattern = "/" + std::string(97, 'a') + "/k";
  ASSERT_EQ(pattern.size(), 100u);
  std::memcpy(type->RegexKeywords[0].szPattern, pattern.data(), 100);
  type->RegexKeywords[0].nColorCode = 29;  // the byte after the pattern is 0x1D
  ASSERT_EQ(highlighter.BindType(type.get()), 1);
  const std::string line = "x" + std::string(97, 'a');
  EXPECT_EQ(Paint(highlighter, line), std::vector<Keyword>({{1, 97, 29}}));
}

TEST_F(RegexHighlighterTest, QuestionsOutsideTheLine) {
  auto type = MakeType({{"/a/k", 29}});
  ASSERT_EQ(highlighter.BindType(type.get()), 1);
  ASSERT_TRUE(highlighter.BeginLine());
  int length = 0, code = 0;
  EXPECT_FALSE(highlighter.MatchAt("a", -1, 1, &length, &code));
  EXPECT_FALSE(highlighter.MatchAt("a", 1, 1, &length, &code));
  EXPECT_FALSE(highlighter.MatchAt(nullptr, 0, 1, &length, &code));
  EXPECT_TRUE(highlighter.MatchAt("a", 0, 1, &length, &code));
}

// The compiled patterns are the library's; they go with it, and nothing calls into it afterwards.
TEST_F(RegexHighlighterTest, UnloadingTheLibraryEndsTheKeywords) {
  auto type = MakeType({{"/a/k", 29}});
  ASSERT_EQ(highlighter.BindType(type.get()), 1);
  ASSERT_TRUE(highlighter.BeginLine());
  EXPECT_EQ(highlighter.Unload(true), 0);
  int length = 0, code = 0;
  EXPECT_FALSE(highlighter.MatchAt("a", 0, 1, &length, &code));
  EXPECT_EQ(highlighter.BeginLine(), 0);
}

TEST(RegexHighlighterWithoutLibrary, NothingIsAKeyword) {
  CDllLoader::SetModuleFile("BREGEXP.DLL", "/nonexistent/tovara_regexp.so");
  CRegexHighlighter highlighter;
  CDllLoader::SetModuleFile("BREGEXP.DLL", nullptr);
  EXPECT_FALSE(highlighter.IsAvailable());
  auto type = MakeType({{"/a/k", 29}});
  EXPECT_EQ(highlighter.BindType(type.get()), 1);
  EXPECT_EQ(highlighter.BeginLine(), 0);
  int length = 0, code = 0;
  EXPECT_FALSE(highlighter.MatchAt("a", 0, 1, &length, &code));
}

}  // namespace
