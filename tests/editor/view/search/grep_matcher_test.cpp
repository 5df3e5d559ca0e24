#include "editor/view/search/grep_matcher.h"

#include <gtest/gtest.h>

#include <random>

#include "editor/foundation/settings/regexp_dll.h"
#include "platform/sjis_literal.h"

namespace {

std::vector<GrepHit> Hits(const GrepLineMatcher& m, std::string_view line) {
  std::vector<GrepHit> hits;
  size_t text = line.size();
  while (text > 0 && (line[text - 1] == '\r' || line[text - 1] == '\n')) --text;
  m.FindHits(line.data(), static_cast<int>(line.size()), static_cast<int>(text), hits);
  return hits;
}

TEST(GrepLineMatcher, PlainAndWordModes) {
  struct Case {
    const char* name;
    std::string_view key;
    bool caseSensitive;
    bool word;
    bool outputLine;
    std::string_view line;
    std::vector<GrepHit> hits;
  } cases[] = {
      {"plain, output lines: first hit only", "ab", true, false, true, "ab ab\r\n", {{0, 2}}},
      {"plain, matched text: hits do not overlap", "aa", true, false, false, "aaaaa\r\n", {{0, 2}, {2, 2}}},
      {"plain without case", "AB", false, false, false, "xab Ab\r\n", {{1, 2}, {4, 2}}},
      {"plain with case", "AB", true, false, false, "xab Ab\r\n", {}},
      {"plain never inside a kanji", "\x61", true, false, false, "\x88\x61 a\r\n", {{3, 1}}},
      {"word: every word is a hit even with output lines", "foo", true, true, true, "foo bar foo\r\n",
       {{0, 3}, {8, 3}}},
      {"word: part of a longer word is none", "foo", true, true, false, "foobar foo_x\r\n", {}},
      {"word without case", "FOO", false, true, false, "foo\r\n", {{0, 3}}},
      {"word of kanji", "漢字"_sj, true, true, false, "漢字かな漢字\r\n"_sj, {{0, 4}, {8, 4}}},
  };
  for (const Case& c : cases) {
    GrepLineMatcher m(c.key, nullptr, c.caseSensitive, c.word, c.outputLine);
    EXPECT_EQ(Hits(m, c.line), c.hits) << c.name;
  }
}

class GrepRegexpTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(regexp.Load(), 0) << "the library beside the test program"; }
  CRegexpDll regexp;
};

TEST_F(GrepRegexpTest, MatchesAndEmptyMatchesAdvanceWholeCharacters) {
  struct Case {
    const char* name;
    const char* key;
    bool outputLine;
    std::string_view line;
    std::vector<GrepHit> hits;
  } cases[] = {
      {"output lines: first match only", "b+", true, "abbcb\r\n", {{1, 2}}},
      {"matched text: every match", "b+", false, "abbcb\r\n", {{1, 2}, {4, 1}}},
      // The empty matches of x* fall at every character start: never between a lead and its trail.
      {"empty matches step over a kanji whole", "x*", false, "a漢\r\n"_sj, {{0, 0}, {1, 0}, {3, 0}}},
      // The engine sees the line end after a final anchor, and the match takes it along.
      {"anchor at the end sees the line end", "c$", false, "abc\r\n", {{2, 3}}},
      // A file's last line may end without a line end: the anchor stands at its end all the same.
      {"anchor at the end of a last line without a line end", "c$", false, "abc", {{2, 1}}},
      {"lone anchor, every match: once per line", "$", false, "abc\r\n", {{3, 2}}},
      {"lone anchor on a last line without a line end", "$", false, "abc", {{3, 0}}},
      {"empty last line without a line end", "^$", false, "", {{0, 0}}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(regexp.Compile(c.key, nullptr, CRegexpDll::kCaseSensitive)) << c.name;
    GrepLineMatcher m(c.key, &regexp, true, false, c.outputLine);
    EXPECT_EQ(Hits(m, c.line), c.hits) << c.name;
  }
}

struct BlockHit {
  int64_t line;
  std::string lineText;
  int offset;
  bool operator==(const BlockHit&) const = default;
};

std::vector<BlockHit> BlockHits(std::string_view key, bool outputLine, std::string_view text, bool caseSensitive = true) {
  GrepBlockSearch search(key, outputLine, caseSensitive);
  search.Begin(text.data(), static_cast<int64_t>(text.size()));
  std::vector<BlockHit> hits;
  GrepBlockHit hit;
  while (search.Next(hit)) {
    hits.push_back({hit.line, std::string(text.substr(static_cast<size_t>(hit.lineStart), static_cast<size_t>(hit.lineLength))),
                    hit.offset});
  }
  return hits;
}

TEST(GrepBlockSearch, LinesAlignmentAndLineEnds) {
  struct Case {
    const char* name;
    std::string_view key;
    bool outputLine;
    std::string_view text;
    std::vector<BlockHit> hits;
  } cases[] = {
      {"line numbers over CR LF", "key", true, "a\r\nb key\r\nc\r\n", {{1, "b key", 2}}},
      {"LF CR and lone CR are one line end each", "k", true, "a\n\rb\rk\n", {{2, "k", 0}}},
      {"CR LF CR LF is two", "k", true, "\r\n\r\nk", {{2, "k", 0}}},
      {"LF LF is two", "k", true, "\n\nk", {{2, "k", 0}}},
      {"a hit on a trail byte is none", "a", true, "\x88\x61\r\nxa\r\n", {{1, "xa", 1}}},
      {"output lines: one hit per line", "ab", true, "ab ab\r\nab", {{0, "ab ab", 0}, {1, "ab", 0}}},
      {"matched text: every hit", "ab", false, "ab ab\r\n", {{0, "ab ab", 0}, {0, "ab ab", 3}}},
      {"kanji key", "漢"_sj, false, "か漢\r\n漢"_sj, {{0, "か漢"_sj, 2}, {1, "漢"_sj, 0}}},
  };
  for (const Case& c : cases) EXPECT_EQ(BlockHits(c.key, c.outputLine, c.text), c.hits) << c.name;
}

TEST(GrepBlockSearch, WithoutCaseFoldsOnlyOneByteLetters) {
  struct Case {
    const char* name;
    std::string_view key;
    std::string_view text;
    std::vector<BlockHit> hits;
  } cases[] = {
      {"letters of either case", "Key", "a kEY\r\nKEY", {{0, "a kEY", 2}, {1, "KEY", 0}}},
      {"digits and marks as they are", "a1@", "A1@ A1`", {{0, "A1@ A1`", 0}}},
      // 0x8861 and 0x8841 are two kanji whose trail bytes are "a" and "A": never the same.
      {"a kanji's trail byte is no letter", "\x88\x61", "\x88\x41\x88\x61", {{0, "\x88\x41\x88\x61", 2}}},
  };
  for (const Case& c : cases) EXPECT_EQ(BlockHits(c.key, false, c.text, false), c.hits) << c.name;
}

TEST(GrepBlockSearch, SuitsOnlyWholeKeysWithoutLineEnds) {
  EXPECT_TRUE(GrepBlockSearch::Suits("abc"));
  EXPECT_TRUE(GrepBlockSearch::Suits("漢字"_sj));
  EXPECT_FALSE(GrepBlockSearch::Suits(""));
  EXPECT_FALSE(GrepBlockSearch::Suits("a\r\n"));
  EXPECT_FALSE(GrepBlockSearch::Suits("a\x88"));
}

// The block search and the line matcher over the same random Shift-JIS text find the same hits,
// with and without case.
TEST(GrepBlockSearch, AgreesWithTheLineMatcher) {
  std::mt19937 rng(7);
  const std::string_view pieces[] = {"a", "b", "A", "\r", "\n", "\x88\x61", "\x88\x41", "\x88\x62", "ab", " "};
  const std::string_view keys[] = {"a", "ab", "\x88\x61", "bA", "\x61\x88\x61", "A\x88\x41"};
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const int n = static_cast<int>(rng() % 60);
    for (int i = 0; i < n; ++i) text += pieces[rng() % std::size(pieces)];
    for (const std::string_view key : keys) {
      for (const int flags : {0, 1, 2, 3}) {
        const bool outputLine = flags & 1;
        const bool caseSensitive = flags & 2;
        std::vector<BlockHit> expected;
        GrepLineMatcher m(key, nullptr, caseSensitive, false, outputLine);
        int pos = 0;
        int64_t line = 0;
        while (pos < static_cast<int>(text.size())) {
          int end = pos;
          while (end < static_cast<int>(text.size()) && text[end] != '\r' && text[end] != '\n') ++end;
          int next = end;
          if (next < static_cast<int>(text.size())) {
            next += next + 1 < static_cast<int>(text.size()) && (text[next + 1] == '\r' || text[next + 1] == '\n') &&
                            text[next + 1] != text[next]
                        ? 2
                        : 1;
          }
          std::vector<GrepHit> hits;
          m.FindHits(text.data() + pos, next - pos, end - pos, hits);
          for (const GrepHit& h : hits) expected.push_back({line, text.substr(pos, end - pos), h.offset});
          ++line;
          pos = next;
        }
        EXPECT_EQ(BlockHits(key, outputLine, text, caseSensitive), expected) << "round " << round << " key " << key;
        EXPECT_EQ(CountLineEnds(text.data(), static_cast<int64_t>(text.size())),
                  line - (text.empty() || text.back() == '\r' || text.back() == '\n' ? 0 : 1))
            << round;
      }
    }
  }
}

}  // namespace
