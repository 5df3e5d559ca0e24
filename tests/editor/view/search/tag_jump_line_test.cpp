#include "editor/view/search/tag_jump_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <string>
#include <vector>

#include "platform/sjis_literal.h"

namespace {

using Result = CTagJumpLineParser::Result;

// The files that exist, by the bytes a line spells them with.
const std::set<std::string>& Files() {
  static const std::set<std::string> files = {
      "/t/a.c",          "/t/a",          "/t/a b.c", "src/b.h", "/t/dir x/c.h", std::string("/t/表.c"_sj),
      "/t/say\"hi\".c",
  };
  return files;
}

struct Case {
  const char* name;
  std::vector<std::string> above;  // the lines above the current one, top first
  std::string line;
  Result result;
  const char* path;  // expected for kPlace
  int line_number;
  int column;
};

TEST(TagJumpLine, ReadsTheTargetOfEachKindOfLine) {
  const std::string hit = "・(    12,3    ): int x = 5;\r\n"_sj;
  const std::string header = "■\""_sj;
  const Case cases[] = {
      {"a second-style hit below its file header", {header + "/t/a.c\"\r\n"}, hit, Result::kPlace, "/t/a.c", 12, 3},
      {"a hit below other hits of the same file",
       {header + "/t/a.c\"\r\n", "・(     1,1    ): a\r\n"_sj, "・(     7,2    ): b\r\n"_sj},
       hit,
       Result::kPlace,
       "/t/a.c",
       12,
       3},
      {"a header with the detected code", {header + "/t/a.c\"  [UTF-8]\r\n"}, hit, Result::kPlace, "/t/a.c", 12, 3},
      {"a header naming a missing file", {header + "/t/gone.c\"\r\n"}, hit, Result::kGrepNoFile, nullptr, 0, 0},
      {"a hit with other text above", {"text\r\n"}, hit, Result::kGrepNoFile, nullptr, 0, 0},
      {"a hit on the first line", {}, hit, Result::kGrepNoFile, nullptr, 0, 0},
      {"a hit whose header is further up than other text",
       {header + "/t/a.c\"\r\n", "\r\n"},
       hit,
       Result::kGrepNoFile,
       nullptr,
       0,
       0},
      {"the header itself opens its file without a place", {}, header + "/t/a.c\"\r\n", Result::kPlace, "/t/a.c", 0, 0},
      {"a header's code label is no line number", {}, header + "/t/a.c\"  [UTF-8]", Result::kPlace, "/t/a.c", 0, 0},
      {"a header whose path holds a blank after another file's name",
       {},
       header + "/t/a b.c\"  [SJIS]",
       Result::kPlace,
       "/t/a b.c",
       0,
       0},
      {"a header whose path holds a double quote", {}, header + "/t/say\"hi\".c\"", Result::kPlace, "/t/say\"hi\".c", 0,
       0},
      {"a header of a missing file", {}, header + "/t/gone.c\"", Result::kGrepNoFile, nullptr, 0, 0},
      {"a first-style hit", {}, "/t/a.c(7,5)  [SJIS]: a = b;\r\n", Result::kPlace, "/t/a.c", 7, 5},
      {"a first-style hit of a name with a blank", {}, "/t/dir x/c.h(7,5): x", Result::kPlace, "/t/dir x/c.h", 7, 5},
      {"the path finder takes the first existing name", {}, "/t/a b.c(7,5)", Result::kPlace, "/t/a", 7, 5},
      {"a compiler message with a relative name", {}, "src/b.h:40:7: error: x", Result::kPlace, "src/b.h", 40, 7},
      {"a name after words that are none", {}, "error in /t/a.c at 9", Result::kPlace, "/t/a.c", 9, 0},
      {"a name with nothing after it", {}, "/t/a.c", Result::kPlace, "/t/a.c", 0, 0},
      {"a name behind blanks and tabs", {}, " \t /t/a.c\t3", Result::kPlace, "/t/a.c", 3, 0},
      {"a quoted name with a blank", {}, "\"/t/dir x/c.h\"(5)", Result::kPlace, "/t/dir x/c.h", 5, 0},
      {"an include line", {}, "#include \"src/b.h\"", Result::kPlace, "src/b.h", 0, 0},
      {"a kanji name whose trail byte is a backslash", {}, "/t/表.c(3,1)"_sj, Result::kPlace, "/t/表.c"_sj, 3, 1},
      {"kanji text before the name", {}, "エラー /t/a.c(2,4)"_sj, Result::kPlace, "/t/a.c", 2, 4},
      {"a line number too large for an int", {}, "/t/a.c(99999999999,2)", Result::kPlace, "/t/a.c", INT_MAX, 2},
      {"a line naming no file", {}, "int main() { return 0; }\r\n", Result::kNoPath, nullptr, 0, 0},
      {"an empty line", {}, "\r\n", Result::kNoPath, nullptr, 0, 0},
      {"a name of a file that is not there", {}, "/t/gone.c(1,1)", Result::kNoPath, nullptr, 0, 0},
      {"text after a NUL is not read", {}, std::string("x\0/t/a.c(1,1)", 13), Result::kNoPath, nullptr, 0, 0},
  };
  const CTagJumpLineParser parser([](const std::string& candidate) { return Files().count(candidate) > 0; });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto above = [&c](int n) -> std::optional<std::string_view> {
      if (n < 1 || n > static_cast<int>(c.above.size())) return std::nullopt;
      return c.above[c.above.size() - static_cast<size_t>(n)];
    };
    TagJumpPlace place;
    place.path = "stale";
    place.line = place.column = -1;
    ASSERT_EQ(parser.Parse(c.line, above, &place), c.result);
    if (c.result != Result::kPlace) continue;
    EXPECT_EQ(place.path, c.path);
    EXPECT_EQ(place.line, c.line_number);
    EXPECT_EQ(place.column, c.column);
  }
}

TEST(TagJumpLine, ReadsTheFirstNumberPair) {
  const struct {
    const char* name;
    std::string text;
    int first, second;
  } cases[] = {
      {"two numbers", "(12,3)", 12, 3},
      {"one number", ": line 8", 8, 0},
      {"none", "  [SJIS]", 0, 0},
      {"only the first two count", "1 2 3", 1, 2},
      {"kanji between", "行12の列4"_sj, 12, 4},
      {"largest int", "2147483647,2147483648", INT_MAX, INT_MAX},
      {"empty", "", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int first = -1;
    int second = -1;
    CTagJumpLineParser::ReadNumberPair(c.text, &first, &second);
    EXPECT_EQ(first, c.first);
    EXPECT_EQ(second, c.second);
  }
}

// The upward walk stops at the header: lines above it are never asked for.
TEST(TagJumpLine, TheHitsWalkStopsAtItsHeader) {
  const CTagJumpLineParser parser([](const std::string& candidate) { return Files().count(candidate) > 0; });
  std::vector<int> asked;
  const std::vector<std::string> lines = {"junk", "■\"/t/a.c\""_sj, "・(1,1): a"_sj, "・(2,1): b"_sj};
  const auto above = [&](int n) -> std::optional<std::string_view> {
    asked.push_back(n);
    if (n > static_cast<int>(lines.size())) return std::nullopt;
    return lines[lines.size() - static_cast<size_t>(n)];
  };
  TagJumpPlace place;
  ASSERT_EQ(parser.Parse("・(3,9): c"_sj, above, &place), Result::kPlace);
  EXPECT_EQ(place.line, 3);
  EXPECT_EQ(place.column, 9);
  EXPECT_EQ(asked, (std::vector<int>{1, 2, 3}));
}

}  // namespace

// A line of words naming no file asks about the names that start at each word, but never about
// one whose level is longer than a file system allows (255 bytes): the asking stays linear in the
// line's length. A name that long exactly, blanks and all, is still found.
TEST(TagJumpLine, NamesLongerThanALevelAllowsAreNeverAsked) {
  std::string name255;
  while (name255.size() < 255) name255 += name255.size() % 4 == 3 ? ' ' : 'n';
  name255.back() = 'c';
  ASSERT_EQ(name255.size(), 255u);
  const std::set<std::string> files = {name255, "/t/" + name255, "/t/" + name255 + "x"};
  size_t asked = 0;
  size_t longestLevel = 0;
  const CTagJumpLineParser parser([&](const std::string& candidate) {
    ++asked;
    const size_t slash = candidate.rfind('/');
    longestLevel = std::max(longestLevel, candidate.size() - (slash == std::string::npos ? 0 : slash + 1));
    return files.count(candidate) > 0;
  });
  TagJumpPlace place;
  ASSERT_EQ(parser.Parse(name255 + "(3,4): x\r\n", nullptr, &place), Result::kPlace);
  EXPECT_EQ(place.path, name255);
  EXPECT_EQ(place.line, 3);
  ASSERT_EQ(parser.Parse("see /t/" + name255 + ":3:4\r\n", nullptr, &place), Result::kPlace);
  EXPECT_EQ(place.path, "/t/" + name255);
  EXPECT_EQ(place.column, 4);
  EXPECT_EQ(parser.Parse("/t/" + name255 + "x:3:4\r\n", nullptr, &place), Result::kNoPath) << "its level cannot exist";

  // 20,000 words of two letters: about 85 names from each start (255 bytes of "ab "), where
  // 1,023 bytes of them would ask 341.
  std::string words;
  for (int i = 0; i < 20000; ++i) words += "ab ";
  asked = 0;
  longestLevel = 0;
  EXPECT_EQ(parser.Parse(words, nullptr, &place), Result::kNoPath);
  EXPECT_LE(longestLevel, 255u);
  EXPECT_LE(asked, 20000u * (255 / 3 + 1));
  EXPECT_GE(asked, 20000u * (255 / 3 - 1)) << "every name that could exist is still asked";
}
