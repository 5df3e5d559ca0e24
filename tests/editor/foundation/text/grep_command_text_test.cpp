#include "editor/foundation/text/grep_command_text.h"

#include <gtest/gtest.h>
#include <string>

#include "platform/sjis_literal.h"

namespace {

TEST(GrepLaunchTextTest, QuotesDoubledAndOptionLetters) {
  constexpr GrepLetterOrder kTray = GrepLetterOrder::kWordLast;
  constexpr GrepLetterOrder kPane = GrepLetterOrder::kWordAfterFolders;
  struct Case {
    const char* name;
    GrepLaunchRequest request;
    GrepLetterOrder order;
    std::string expected;
  } cases[] = {
      {"plain, style 1",
       {"key", "*.c", "/src", 0, false, false, false, false, false, 1},
       kTray,
       "-GREPMODE -GKEY=\"key\" -GFILE=\"*.c\" -GFOLDER=\"/src\" -GCODE=0 -GOPT=1"},
      {"every letter in the tray's order, style 2",
       {"k", "*.*", "/", 99, true, true, true, true, true, 2},
       kTray,
       "-GREPMODE -GKEY=\"k\" -GFILE=\"*.*\" -GFOLDER=\"/\" -GCODE=99 -GOPT=SLRPW2"},
      {"every letter in the pane's order",
       {"k", "*.*", "/", 99, true, true, true, true, true, 2},
       kPane,
       "-GREPMODE -GKEY=\"k\" -GFILE=\"*.*\" -GFOLDER=\"/\" -GCODE=99 -GOPT=SWLRP2"},
      {"whole word alone in the pane's order",
       {"k", "*", "/", 1, false, false, false, false, true, 1},
       kPane,
       "-GREPMODE -GKEY=\"k\" -GFILE=\"*\" -GFOLDER=\"/\" -GCODE=1 -GOPT=W1"},
      {"quotes doubled in every text",
       {"say \"hi\"", "a\"b", "/q\"", 1, false, true, false, false, false, 1},
       kTray,
       "-GREPMODE -GKEY=\"say \"\"hi\"\"\" -GFILE=\"a\"\"b\" -GFOLDER=\"/q\"\"\" -GCODE=1 -GOPT=L1"},
      {"kanji kept whole",
       {"表\"示"_sj, "*.*", "/", 0, false, false, false, false, false, 1},
       kPane,
       "-GREPMODE -GKEY=\"表\"\"示\" -GFILE=\"*.*\" -GFOLDER=\"/\" -GCODE=0 -GOPT=1"_sj},
      {"no letter applies",
       {"k", "*", "/", 0, false, false, false, false, false, 0},
       kTray,
       "-GREPMODE -GKEY=\"k\" -GFILE=\"*\" -GFOLDER=\"/\" -GCODE=0"},
  };
  for (const Case& c : cases) EXPECT_EQ(GrepLaunchText(c.request, c.order), c.expected) << c.name;
}

}  // namespace
