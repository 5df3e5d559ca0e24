// Scripts made of random statements: whatever order the keywords and their arguments come in, a
// frame always hands control back and nothing faults (run under the sanitizers). A frame that does not hand
// back fails the program within seconds rather than at the test runner's timeout.
#include <chrono>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/game/fixtures/hang_watchdog.h"
#include "tests/game/fixtures/script_harness.h"
#include "game/script/script_tokens.h"

namespace {

// A frame of these scripts takes milliseconds, and well under a second with the sanitizers on a busy
// machine; only a frame that never returns comes near this.
constexpr std::chrono::milliseconds kFrameLimit = std::chrono::seconds(10);

// Steps the script frame by frame, each frame watched.
void StepWatched(ScriptHarness& run, int frames, HangWatchdog& watchdog, const std::string& script) {
  for (int i = 0; i < frames; ++i) {
    watchdog.Arm("frame " + std::to_string(i + 1) + " of the script [" + script + "]");
    run.Step();
  }
  watchdog.Disarm();
}

// The pieces scripts are made of: every keyword of the language, and names, numbers, strings and
// punctuation to serve as their arguments.
std::vector<std::string> Pieces() {
  std::vector<std::string> pieces = {"ELSE ",
                                     "A",
                                     "B",
                                     "L1 ",
                                     "L2 ",
                                     "M1 ",
                                     "I",
                                     "=",
                                     "(",
                                     ")",
                                     ",",
                                     ":",
                                     ";",
                                     "+",
                                     "*",
                                     "/",
                                     ">",
                                     "1 ",
                                     "-2 ",
                                     "0 ",
                                     "3.5 ",
                                     "300 ",
                                     "\"S\" ",
                                     "\r\n",
                                     "\r\n",
                                     "\r\n",
                                     "@",
                                     "\x82\xa0\r\n\r\n",
                                     "# c\r\n",
                                     "A(1,",
                                     "999999999999 "};
  for (const ScriptKeyword& k : ScriptKeywords()) pieces.push_back(std::string(k.name) + " ");
  return pieces;
}

TEST(ScriptStatementFuzz, RandomStatementsNeverFaultOrHang) {
  const std::vector<std::string> pieces = Pieces();
  ScopedCommands commands;
  HangWatchdog watchdog(kFrameLimit);
  std::mt19937 random(2024);
  for (int round = 0; round < 300; ++round) {
    std::string script;
    const size_t words = random() % 120;
    for (size_t i = 0; i < words; ++i) script += pieces[random() % pieces.size()];
    ScriptHarness run;
    run.Load(script);
    StepWatched(run, 5, watchdog, script);
    EXPECT_GE(run.CurrentLine(), 1) << script;
    ReleaseGameModules();
  }
}

// A statement that never finishes: what the watchdog is there to catch.
ScriptFlow NeverFinishes() {
  for (;;) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

TEST(ScriptStatementFuzzDeathTest, AFrameThatNeverHandsBackFailsInSeconds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        ScopedScriptHandler hang(kTokenSun, NeverFinishes);
        HangWatchdog watchdog(std::chrono::milliseconds(200));
        ScriptHarness run;
        run.Load("A=1\r\nSUN\r\n");
        StepWatched(run, 2, watchdog, "A=1 SUN");
      },
      "hang: frame 1 of the script \\[A=1 SUN\\] did not return within 200 ms");
}

}  // namespace
