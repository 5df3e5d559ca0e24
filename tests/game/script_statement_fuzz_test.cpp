// Scripts made of random statements: whatever order the control-flow keywords come in, a frame
// always hands control back and nothing faults (run under the sanitizers).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "game/script_harness.h"

namespace {

TEST(ScriptStatementFuzz, RandomControlFlowNeverFaultsOrHangs) {
  static const char* const kWords[] = {
      "IF ",     "THEN ", "ELSE ", "GOTO ",  "GOSUB ", "RETURN ", "FOR ",  "TO ",   "STEP ", "NEXT ",  "MACRO ",
      "ENDMACRO ", "@",   "LABEL ", "END ",  "AND ",   "OR ",     "NOT ",  "MOD ",  "INT ",  "WAIT ",  "A",
      "B",       "L1 ",   "L2 ",   "M1 ",    "I",      "=",       "(",     ")",     ",",     ":",      "+",
      "*",       "/",     ">",     "1 ",     "-2 ",    "0 ",      "3.5 ",  "\"S\" ", "\r\n", "\r\n",  "\r\n",
      "\x82\xa0\r\n\r\n", "# c\r\n", "A(1,",  "999999999999 "};
  std::mt19937 random(2024);
  for (int round = 0; round < 150; ++round) {
    std::string script;
    const size_t words = random() % 120;
    for (size_t i = 0; i < words; ++i) script += kWords[random() % std::size(kWords)];
    ScriptHarness run;
    run.Load(script);
    run.Step(5);
    EXPECT_GE(run.CurrentLine(), 1) << script;
  }
}

}  // namespace
