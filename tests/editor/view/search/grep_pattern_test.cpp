#include "editor/view/search/grep_pattern.h"

#include <gtest/gtest.h>

#include "platform/sjis_literal.h"

namespace {

TEST(SplitGrepPatterns, SeparatorsQuotesAndKanji) {
  struct Case {
    const char* name;
    std::string_view list;
    std::vector<std::string> pieces;
  } cases[] = {
      {"semicolon and blank", "*.c;*.h !test*.c", {"*.c", "*.h", "!test*.c"}},
      {"commas, tabs and runs of separators", " *.c,,\t*.h ;", {"*.c", "*.h"}},
      {"quotes group a name with blanks and lose their marks", "\"my file.txt\";*.c", {"my file.txt", "*.c"}},
      {"a quote inside a piece is removed", "a\"b\"c", {"abc"}},
      {"an empty pair leaves nothing", "\"\"", {}},
      {"a kanji whose trail byte is a separator byte stays whole", "\x95\x5C.txt;x", {"\x95\x5C.txt", "x"}},
      {"japanese names", "漢字*.txt 表?.c"_sj, {"漢字*.txt"_sj, "表?.c"_sj}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitGrepPatterns(c.list), c.pieces) << c.name;
}

TEST(MatchGrepWildcard, Table) {
  struct Case {
    const char* name;
    std::string_view pattern;
    std::string_view file;
    bool match;
  } cases[] = {
      {"star and extension", "*.c", "main.c", true},
      {"other extension", "*.c", "main.h", false},
      {"extension must end the name", "*.c", "main.cpp", false},
      {"star-dot-star takes a name without a dot", "*.*", "Makefile", true},
      {"star-dot-star takes a dotted name", "*.*", "a.b.c", true},
      {"name-dot-star takes that name without a dot", "Makefile.*", "Makefile", true},
      {"upper-case pattern finds lower-case name", "*.TXT", "a.txt", true},
      {"lower-case pattern finds upper-case name", "readme.*", "README.md", true},
      {"question mark is one ASCII character", "a?.c", "ab.c", true},
      {"question mark is not two", "a?.c", "abc.c", false},
      {"question mark is one kanji", "?.txt", "漢.txt"_sj, true},
      {"two question marks do not fit one kanji", "??.txt", "漢.txt"_sj, false},
      {"kanji letters match exactly", "漢*"_sj, "漢字.txt"_sj, true},
      {"a trail byte equal to a letter is no letter", "*a*", "\x88\x61", false},
      {"a kanji's trail byte is not its own character", "?\x5C*", "\x95\x5C", false},
      {"exclusion pattern body", "test*.c", "test_io.c", true},
      {"star in the middle backtracks", "a*b*c", "aXbYbZc", true},
      {"star in the middle fails cleanly", "a*b*c", "aXbYbZ", false},
      {"empty pattern takes only the empty name", "", "a", false},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchGrepWildcard(c.pattern, c.file), c.match) << c.name;
}

}  // namespace
