#include "editor/foundation/text/program_output.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/outside_program.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"

namespace {

using namespace std::chrono_literals;

// The geta mark, what a character without a Shift-JIS form would have become.
constexpr std::string_view kGeta = "\x81\xAC";

struct Case {
  const char* name;
  std::string sjis;
};

const Case kTexts[] = {
    {"ASCII only", "ctags: Warning: cannot open input file \"x.c\"\n"},
    {"kanji and kana among ASCII", "ctags: 警告: ファイル \"関数.c\" を開けません\n"_sj},
    {"a short message", "エラー\n"_sj},
    {"CR LF lines with kanji, kana and symbols", "一行目：漢字\r\n二行目「かな」と【記号】\r\n"_sj},
    {"trail bytes equal to backslash", "表示ソース\n"_sj},
    {"kanji only, which the scores alone take for Shift-JIS", "漢字.c\n"_sj},
    {"half-width kana", "ｶﾅ ｱｲｳ\n"_sj},
    // E8 9F 81 is a valid UTF-8 sequence; the rest of the text is not.
    {"Shift-JIS that starts like UTF-8", "陝、ファイル\n"_sj},
};

TEST(ProgramOutput, Utf8AndShiftJisGiveTheSameShiftJis) {
  for (const Case& c : kTexts) {
    SCOPED_TRACE(c.name);
    const std::string fromUtf8 = ProgramOutputToSjis(platform::SjisToUtf8(c.sjis));
    EXPECT_EQ(fromUtf8, c.sjis);
    EXPECT_EQ(ProgramOutputToSjis(c.sjis), c.sjis);
    EXPECT_EQ(fromUtf8.find(kGeta), std::string::npos);
  }
  EXPECT_EQ(ProgramOutputToSjis(""), "");
}

// What a real program prints through the runner: one writes the text as the runner passes its
// argument (UTF-8), one copies a file holding the Shift-JIS bytes.
std::string OutputOf(const platform::ProgramRequest& request) {
  std::string error;
  auto program = platform::SystemOutsidePrograms()->Start(request, &error);
  EXPECT_TRUE(program) << error;
  if (!program) return {};
  std::string out;
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (program->Poll(100ms) != platform::RunningProgram::PollResult::kEnded &&
         std::chrono::steady_clock::now() < deadline) {
    program->Read(&out);
  }
  program->Read(&out);
  EXPECT_EQ(program->ExitStatus(), 0);
  return out;
}

TEST(ProgramOutput, ARunProgramsUtf8AndShiftJisOutputArriveAlike) {
  const ScopedTempDir dir;
  for (const Case& c : kTexts) {
    SCOPED_TRACE(c.name);
    dir.Write("sjis.txt", c.sjis);
    platform::ProgramRequest utf8{"printf", {"%s", c.sjis}, {}, {}};
    platform::ProgramRequest sjis{"cat", {"sjis.txt"}, dir.path().string(), {}};
    EXPECT_EQ(ProgramOutputToSjis(OutputOf(utf8)), c.sjis);
    EXPECT_EQ(ProgramOutputToSjis(OutputOf(sjis)), c.sjis);
  }
}

}  // namespace
