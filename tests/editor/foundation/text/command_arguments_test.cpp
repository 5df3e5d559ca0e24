#include "editor/foundation/text/command_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sjis_literal.h"

namespace {

using Arguments = std::vector<std::string>;

TEST(CommandArguments, SplitByBlanksOutsideQuotes) {
  struct Case {
    const char* name;
    std::string text;
    Arguments arguments;
  };
  const Case cases[] = {
      {"empty", "", {}},
      {"blanks only", " \t  ", {}},
      {"runs of spaces and tabs separate once", "  --a\t\t-b   c ", {"--a", "-b", "c"}},
      {"quotes group blanks and go", "--exclude=\"a b\" \"c\td\"", {"--exclude=a b", "c\td"}},
      {"an empty pair is an empty argument", "a \"\" b", {"a", "", "b"}},
      {"an empty pair alone", "\"\"", {""}},
      {"quotes inside a word join its parts", "a\"b c\"d\"\"e", {"ab cde"}},
      {"a quote left open runs to the end", "x \"y z", {"x", "y z"}},
      {"kanji stay whole", "漢字 \"仮 名\""_sj, {"漢字"_sj, "仮 名"_sj}},
      // A trail byte 0x5C is part of its character, and a backslash escapes nothing.
      {"trail bytes like a backslash", "表\\ ソ \\\"a b\""_sj, {"表\\"_sj, "ソ"_sj, "\\a b"}},
      {"a lead byte before a blank is a byte of its own", "\x82 a", {"\x82", "a"}},
      {"a lead byte before a quote is a byte of its own", "\x82\"a b\"", {"\x82" "a b"}},
      {"the text ends at a NUL", std::string("a b\0c", 5), {"a", "b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitCommandArguments(c.text), c.arguments);
  }
}

}  // namespace
