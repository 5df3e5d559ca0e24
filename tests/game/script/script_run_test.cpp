// Scripts run headless frame by frame: the variables, the message log and the current line after
// a number of frames.
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "game/script/engine_state.h"
#include "tests/game/fixtures/script_harness.h"
#include "game/script/script_lexer.h"
#include "game/script/script_symbol_table.h"
#include "game/script/script_tokens.h"
#include "platform/sjis_literal.h"

namespace {

struct RunCase {
  const char* name;
  const char* script;  // "\n" line ends, turned into CR LF
  int frames;
  std::vector<std::pair<const char*, double>> vars;
  std::vector<std::string> log;
  int line;
  bool running = true;
};

void PrintTo(const RunCase& c, std::ostream* os) { *os << c.name; }

class ScriptRun : public testing::TestWithParam<RunCase> {};

TEST_P(ScriptRun, VariablesLogAndLine) {
  const RunCase& c = GetParam();
  ScriptHarness run;
  run.Load(CrLf(c.script));
  run.Step(c.frames);
  for (const auto& [name, value] : c.vars) {
    std::optional<double> actual = run.Var(name);
    ASSERT_TRUE(actual.has_value()) << name;
    EXPECT_EQ(*actual, value) << name;
  }
  EXPECT_EQ(run.Log(), c.log);
  EXPECT_EQ(run.CurrentLine(), c.line);
  EXPECT_EQ(run.Running(), c.running);
}

const RunCase kArithmetic[] = {
    {"Precedence",
     "A=1+2*3\nB=(1+2)*3\nC=7 MOD -2\nD=-7 MOD 2\nE=INT -1.5\nF=INT 2.5*2\nG=INT(2.5*2)\nH=10/4\nEND\n",
     1,
     {{"A", 7}, {"B", 9}, {"C", 1}, {"D", -1}, {"E", -1}, {"F", 4}, {"G", 5}, {"H", 2.5}},
     {},
     9},
    {"NumbersAndTheSignOfMinus",
     // A minus always starts a number: X-1 is X followed by a number that the run loop skips.
     "X=5\nB=X-1\nC=-2.25\nD=3.\nE=+4\nF=((2))\nEND\n",
     1,
     {{"B", 5}, {"C", -2.25}, {"D", 3}, {"E", 4}, {"F", 2}},
     {},
     7},
    {"ComparisonsAndLogic",
     "A=3>2\nB=2>3\nC=3>=3\nD=2=2\nE=NOT 1=2 AND 0\nF=NOT 1=2 OR 0\nG=1 AND 2\nH=0 OR 0\nI=NOT 0\n"
     "J=1=1=5\nK=2>=3\nEND\n",
     1,
     {{"A", 1}, {"B", 0}, {"C", 1}, {"D", 1}, {"E", 0}, {"F", 1}, {"G", 1}, {"H", 0}, {"I", 1}, {"J", 1}, {"K", 0}},
     {},
     12},
    {"Arrays",
     "I=2\nA(1,2)=5\nA(I)=7\nB=A(1, 2)\nC=A(1.9,2)\nD=A(2)+A(I)\nA(-1)=3\nE=A(-1)\nF=Q(4)\nEND\n",
     1,
     {{"A(1,2)", 5}, {"A(2)", 7}, {"B", 5}, {"C", 5}, {"D", 14}, {"A(-1)", 3}, {"E", 3}, {"F", 0}, {"Q(4)", 0}},
     {},
     10},
    {"CaseDoesNotMatterInNames", "abc=4\nB=ABC+Abc\nEND\n", 1, {{"ABC", 4}, {"B", 8}}, {}, 3},
};
INSTANTIATE_TEST_SUITE_P(Expressions, ScriptRun, testing::ValuesIn(kArithmetic),
                         [](const auto& info) { return std::string(info.param.name); });

const RunCase kStrings[] = {
    {"StringsWhereAStatementStandsAreSkipped",
     "\"HELLO\": A=1\n\"\x82\xa0\": B=2\nEND\n",
     1,
     {{"A", 1}, {"B", 2}},
     {},
     3},
    // Lexical errors are reported by the label pre-pass at load and again when the line runs.
    {"UnclosedStringEndsAtItsLine",
     "\"ABC\nB=2\nEND\n",
     1,
     {{"B", 2}},
     {ErrorLine(1, "'\"'がありません"_sj, "\"ABC\r"), ErrorLine(1, "'\"'がありません"_sj, "\"ABC\r")},
     3},
    {"StringIsNoOperand", "A=\"X\"\nEND\n", 1, {{"A", 0}}, {ErrorLine(1, "文法が違います"_sj, "A=\"X\"")}, 2},
};
INSTANTIATE_TEST_SUITE_P(Strings, ScriptRun, testing::ValuesIn(kStrings),
                         [](const auto& info) { return std::string(info.param.name); });

const RunCase kControlFlow[] = {
    {"GotoResumesAfterTheLabelLine",
     "A=1\nGOTO SKIP\nA=2\nLABEL SKIP: A=3\nB=3\nEND\n",
     1,
     {{"A", 1}, {"B", 3}},
     {},
     6},
    {"GosubReturnsToTheLineAfterTheCall",
     "GOSUB SUB: X=9\nY=1\nEND\nLABEL SUB\nZ=2\nRETURN\n",
     1,
     {{"X", 0}, {"Y", 1}, {"Z", 2}},
     {},
     3},
    {"NestedGosub",
     "GOSUB A1\nR=R*10+3\nEND\nLABEL A1\nR=R*10+1\nGOSUB B1\nRETURN\nLABEL B1\nR=R*10+2\nRETURN\n",
     1,
     {{"R", 123}},
     {},
     3},
    {"ForCountsUpAndLeavesTheVariablePastTheLimit",
     "FOR I=1 TO 3\nS=S+I\nNEXT I\nEND\n",
     1,
     {{"S", 6}, {"I", 4}},
     {},
     4},
    {"ForDownWithStep", "FOR I=10 TO 1 STEP -1\nN=N+1\nNEXT\nEND\n", 1, {{"N", 10}, {"I", 0}}, {}, 4},
    {"ForDirectionComesFromTheBounds", "FOR I=1 TO 0 STEP -1\nN=N+1\nNEXT\nEND\n", 1, {{"N", 2}, {"I", -1}}, {}, 4},
    {"ForBodyRunsAtLeastOnce", "FOR I=5 TO 1 STEP -10\nN=N+1\nNEXT\nEND\n", 1, {{"N", 1}, {"I", -5}}, {}, 4},
    {"NestedFor", "FOR I=1 TO 3\nFOR J=1 TO 2\nC=C+1\nNEXT J\nNEXT I\nEND\n", 1, {{"C", 6}, {"I", 4}, {"J", 3}}, {}, 6},
    {"ForLimitIsReadAgainAtEveryNext", "L=3\nFOR I=1 TO L\nL=5\nC=C+1\nNEXT\nEND\n", 1, {{"C", 5}}, {}, 6},
    {"IfFalseSkipsTheRestOfTheLine", "IF 0 THEN A=1: B=2\nC=3\nEND\n", 1, {{"A", 0}, {"B", 0}, {"C", 3}}, {}, 3},
    {"IfTrueRunsTheRestOfTheLineAndGoesOn",
     "IF 1 THEN A=1: B=2\nC=3\nEND\n",
     1,
     {{"A", 1}, {"B", 2}, {"C", 3}},
     {},
     3,
     false},
    {"TopLevelEndPausesOneFrame", "A=1\nEND\nB=2\nEND\n", 1, {{"A", 1}, {"B", 0}}, {}, 2},
    {"TopLevelEndGoesOnNextFrame", "A=1\nEND\nB=2\nEND\n", 2, {{"A", 1}, {"B", 2}}, {}, 4},
    {"EndAfterATrueThenDoesNotPause", "IF 1 THEN END\nB=2\nEND\nC=3\nEND\n", 1, {{"B", 2}, {"C", 0}}, {}, 3},
    {"EachOpenThenLevelTakesOneEnd",
     "IF 1 THEN IF 1 THEN END\nB=2\nEND\nC=3\nEND\nD=4\n",
     1,
     {{"B", 2}, {"C", 3}, {"D", 0}},
     {},
     5},
    {"LabelStatementDoesNothing", "LABEL HERE\nA=1\nEND\n", 1, {{"A", 1}}, {}, 3},
    {"MacroBodyIsSkippedInTheFlow", "MACRO M\nA=1\nENDMACRO\nB=2\nEND\n", 1, {{"A", 0}, {"B", 2}}, {}, 5},
    {"MacroWithArguments",
     // Arguments are passed in variables set on the line of the call.
     "X=5: @DOUBLE\nY=X\nEND\nMACRO DOUBLE\nX=X*2\nENDMACRO\n",
     1,
     {{"X", 10}, {"Y", 10}},
     {},
     3},
    {"MacroCallsNest",
     "P=3: @SQ\nR=P\nEND\nMACRO SQ\nP=P*P: @INC\nENDMACRO\nMACRO INC\nP=P+1\nENDMACRO\n",
     1,
     {{"P", 10}, {"R", 10}},
     {},
     3},
    {"QuitEndsTheRun", "A=1\nQUIT\nB=2\n", 1, {{"A", 1}, {"B", 0}}, {}, 2},
    {"RunningOffTheEndStopsTheScript", "A=1\nB=2\n", 1, {{"A", 1}, {"B", 2}}, {}, 2, false},
    {"AnEmptyScriptStops", "", 1, {}, {}, 1, false},
    {"StatementsShareALine", "A=1: B=A+1: C=B+1\nEND\n", 1, {{"C", 3}}, {}, 2},
};
INSTANTIATE_TEST_SUITE_P(ControlFlow, ScriptRun, testing::ValuesIn(kControlFlow),
                         [](const auto& info) { return std::string(info.param.name); });

const std::string kLong62 = std::string(62, 'N');

const RunCase kErrors[] = {
    {"LabelDefinedTwiceJumpsToTheSecond",
     "GOTO L\nLABEL L\nA=1\nLABEL L\nB=1\nEND\n",
     1,
     {{"A", 0}, {"B", 1}},
     {ErrorLine(4, "そのラベルは既に定義されています"_sj, "LABEL L")},
     6},
    {"MissingLabel",
     "A=1\nGOTO NOWHERE\nB=2\n",
     1,
     {{"A", 1}, {"B", 0}},
     {ErrorLine(2, "NOWHERE:という、ラベル、もしくは変数が見つかりません"_sj, "GOTO NOWHERE")},
     2},
    {"MissingParenthesis",
     "A=(1+2\nB=4\nEND\n",
     1,
     {{"A", 3}, {"B", 4}},
     {ErrorLine(1, "')'が足りません"_sj, "A=(1+2\r")},
     3},
    {"NoOperand", "A=)\nB=2\nEND\n", 1, {{"A", 0}, {"B", 2}}, {ErrorLine(1, "文法が違います"_sj, "A=)")}, 3},
    {"DivisionByZeroGoesOn",
     "A=5/0\nB=5 MOD 0.5\nC=1\nEND\n",
     1,
     {{"A", std::numeric_limits<double>::infinity()}, {"B", 0}, {"C", 1}},
     {ErrorLine(1, "0で割ろうとしました"_sj, "A=5/0\r"), ErrorLine(2, "0で割ろうとしました"_sj, "B=5 MOD 0.5\r")},
     4},
    {"ModOfTheMostNegativeByMinusOne", "A=-2147483648 MOD -1\nEND\n", 1, {{"A", 0}}, {}, 2},
    // Whatever stands in place of "=" is passed over as if it were one, and an expression follows.
    {"AssignmentWithoutEqualsTakesTheNextTokenForIt",
     "A=7\nA 5\nB=2\nEND\n",
     1,
     {{"A", 0}, {"B", 2}},
     {ErrorLine(2, "'='がありません"_sj, "A 5"), ErrorLine(2, "文法が違います"_sj, "A 5\r")},
     4},
    {"AssignmentWithoutEqualsDoesNotAssignTheNextName",
     "HOGE X = 5\nEND\n",
     1,
     {{"HOGE", 0}, {"X", 0}},
     {ErrorLine(1, "'='がありません"_sj, "HOGE X"), ErrorLine(1, "文法が違います"_sj, "HOGE X =")},
     2},
    // There is no ELSE: it is a variable, and its statement leaves K as THEN set it.
    {"ElseIsAVariableAndLeavesKAlone",
     "IF 1 THEN K = 1 ELSE K = 2\nEND\nEND\n",
     1,
     {{"K", 1}, {"ELSE", 0}},
     {ErrorLine(1, "'='がありません"_sj, "IF 1 THEN K = 1 ELSE K"),
      ErrorLine(1, "文法が違います"_sj, "IF 1 THEN K = 1 ELSE K =")},
     3},
    {"IfWithoutThen", "IF 1\nB=2\nEND\n", 1, {{"B", 2}}, {ErrorLine(1, "Missing 'THEN'", "IF 1\r")}, 3, false},
    {"GotoWithoutName",
     "GOTO 5\nA=1\n",
     1,
     {},
     {ErrorLine(1, "Missing label idenrifier", "GOTO 5"),
      ErrorLine(1, ":という、ラベル、もしくは変数が見つかりません"_sj, "GOTO 5")},
     1},
    // The failed call stays open: the RETURN goes back to the line after it, and only the second
    // RETURN finds no call.
    {"GosubWithoutNameKeepsItsCall",
     "GOSUB 5\nA=A+1\nRETURN\n",
     2,
     {{"A", 2}},
     {ErrorLine(1, "ラベルが見つかりません"_sj, "GOSUB 5"),
      ErrorLine(1, ":という、ラベル、もしくは変数が見つかりません"_sj, "GOSUB 5"),
      ErrorLine(3, "GOSUBが無いのにリターンしました"_sj, "RETURN")},
     3,
     false},
    {"ReturnWithoutGosubGoesOn",
     "RETURN\nA=1\nEND\n",
     1,
     {{"A", 1}},
     {ErrorLine(1, "GOSUBが無いのにリターンしました"_sj, "RETURN")},
     3},
    {"ForWithoutVariable",
     "FOR 5=1 TO 1\nNEXT\nA=1\nEND\n",
     1,
     {{"A", 1}},
     {ErrorLine(1, "Missing variable identifier", "FOR 5"), ErrorLine(1, "Missing variable identifier", "FOR 5")},
     4},
    {"ForWithoutEquals",
     "FOR I, 1 TO 2\nA=1\nEND\n",
     1,
     {{"A", 1}, {"I", 1}},
     {ErrorLine(1, "'='がありません"_sj, "FOR I,")},
     3},
    {"ForWithoutTo",
     "FOR I=1 , 3\nA=1\nEND\n",
     1,
     {{"A", 1}, {"I", 1}},
     {ErrorLine(1, "Missing 'TO'", "FOR I=1 ,")},
     3},
    {"NextWithoutFor",
     "NEXT\nA=1\nEND\n",
     1,
     {{"A", 1}},
     {ErrorLine(1, "FORが無いのにNEXTがあります"_sj, "NEXT\r")},
     3},
    {"NextOfAnotherVariable",
     "FOR I=1 TO 2\nNEXT J\nA=1\nEND\n",
     1,
     {{"A", 1}, {"I", 1}},
     {ErrorLine(2, "Mismatch variable", "NEXT J")},
     4},
    {"MacroCallWithoutName",
     "@ 5\nA=1\n",
     1,
     {},
     {ErrorLine(1, "Missing macro idenrifier", "@ 5"),
      ErrorLine(1, ":という、ラベル、もしくは変数が見つかりません"_sj, "@ 5")},
     1},
    {"MacroWithoutEnd",
     "A=1\nMACRO M\nB=2\n",
     1,
     {{"A", 1}, {"B", 0}},
     {ErrorLine(3, "MACROに対応するENDMACROが存在しません"_sj, "B=2\r")},
     3,
     false},
    {"EndMacroWithoutCallGoesOn",
     "ENDMACRO\nA=1\nEND\n",
     1,
     {{"A", 1}},
     {ErrorLine(1, "'MACRO'命令が無いのに、'ENDMACRO'だけがあります"_sj, "ENDMACRO")},
     3},
    {"PrePassLabelWithoutName",
     "LABEL 5\nA=1\nEND\n",
     1,
     {{"A", 1}},
     {ErrorLine(1, "Missing label identifier", "LABEL 5")},
     3},
    {"PrePassMacroWithoutName",
     "MACRO 5\nENDMACRO\nA=1\nEND\n",
     1,
     {{"A", 1}},
     {ErrorLine(1, "Missing macro identifier", "MACRO 5")},
     4},
};
INSTANTIATE_TEST_SUITE_P(Errors, ScriptRun, testing::ValuesIn(kErrors),
                         [](const auto& info) { return std::string(info.param.name); });

// A jump whose label is missing ends the run it stands in. After a true IF that is the IF's own run:
// the run around it goes on at once with the token then current, the name that was not found. At
// the top the frame ends, and the same token runs in the next frame.
const RunCase kFailedJumps[] = {
    {"GotoAfterATrueIfGoesOnInTheFrame",
     "IF 1 THEN GOTO NOWHERE = 5\nB=2\nEND\n",
     1,
     {{"NOWHERE", 5}, {"B", 2}},
     {ErrorLine(1, "NOWHERE:という、ラベル、もしくは変数が見つかりません"_sj, "IF 1 THEN GOTO NOWHERE")},
     3},
    {"GosubAfterATrueIfGoesOnInTheFrame",
     "IF 1 THEN GOSUB NOWHERE = 5\nB=2\nEND\n",
     1,
     {{"NOWHERE", 5}, {"B", 2}},
     {ErrorLine(1, "NOWHERE:という、ラベル、もしくは変数が見つかりません"_sj, "IF 1 THEN GOSUB NOWHERE")},
     3},
    {"MacroCallAfterATrueIfGoesOnInTheFrame",
     "IF 1 THEN @NOWHERE = 5\nB=2\nEND\n",
     1,
     {{"NOWHERE", 5}, {"B", 2}},
     {ErrorLine(1, "NOWHERE:という、ラベル、もしくは変数が見つかりません"_sj, "IF 1 THEN @NOWHERE")},
     3},
    {"GotoAtTheTopEndsTheFrame",
     "GOTO NOWHERE = 5\nB=2\nEND\n",
     1,
     {{"NOWHERE", 0}, {"B", 0}},
     {ErrorLine(1, "NOWHERE:という、ラベル、もしくは変数が見つかりません"_sj, "GOTO NOWHERE")},
     1},
    {"GotoAtTheTopGoesOnInTheNextFrame",
     "GOTO NOWHERE = 5\nB=2\nEND\n",
     2,
     {{"NOWHERE", 5}, {"B", 2}},
     {ErrorLine(1, "NOWHERE:という、ラベル、もしくは変数が見つかりません"_sj, "GOTO NOWHERE")},
     3},
    {"EachOpenIfLevelEndsWithItsOwnFailedJump",
     "IF 1 THEN IF 1 THEN GOTO NOWHERE = 5\nB=2\nEND\nEND\n",
     1,
     {{"NOWHERE", 5}, {"B", 2}},
     {ErrorLine(1, "NOWHERE:という、ラベル、もしくは変数が見つかりません"_sj, "IF 1 THEN IF 1 THEN GOTO NOWHERE")},
     4},
};
INSTANTIATE_TEST_SUITE_P(FailedJumps, ScriptRun, testing::ValuesIn(kFailedJumps),
                         [](const auto& info) { return std::string(info.param.name); });

// A call whose label is missing is still counted: its frame holds the line after it, and a RETURN
// there goes back to that line.
TEST(ScriptRunErrors, FailedCallsStayOpen) {
  struct Case {
    const char* call;
    const char* back;
    const char* frame;
    int32_t InterpreterState::*depth;
  };
  for (const Case& c : {Case{"GOSUB NOWHERE = 0", "RETURN", "GS:1", &InterpreterState::gosubDepth},
                        Case{"@NOWHERE = 0", "ENDMACRO", "MS:1", &InterpreterState::macroDepth}}) {
    ScriptHarness run;
    run.Load(CrLf(std::string(c.call) + "\nA=A+1\nIF A=1 THEN " + c.back + "\nEND\n"));
    run.Step();
    EXPECT_EQ(EngineState.interpreter.*c.depth, 1) << c.call;
    ASSERT_TRUE(run.Var(c.frame).has_value()) << c.call;
    EXPECT_EQ(*run.Var(c.frame), 3) << c.call;  // kept as the line after the call, plus one
    run.Step();
    EXPECT_EQ(*run.Var("A"), 2) << c.call;
    EXPECT_EQ(EngineState.interpreter.*c.depth, 0) << c.call;
    EXPECT_EQ(run.Log().size(), 1u) << c.call;
  }
}

TEST(ScriptRunErrors, CompositeNameOfSixtyFourBytes) {
  ScriptHarness run;
  run.Load(CrLf(kLong62 + "(1)=5\nB=2\nEND\n"));
  run.Step();
  // The element is not stored anywhere; the statement and the script go on. Each part that does
  // not fit is reported, the index and then the closing parenthesis, both while ")" is current.
  EXPECT_FALSE(run.Var(kLong62 + "(1)").has_value());
  EXPECT_EQ(*run.Var("B"), 2);
  const std::vector<std::string> expected = {kLong62 + "(1\n", ErrorLine(1, "名前が長すぎます"_sj, kLong62 + "(1)"),
                                             kLong62 + "()\n", ErrorLine(1, "名前が長すぎます"_sj, kLong62 + "(1)")};
  EXPECT_EQ(run.Log(), expected);
}

// Within the first four bytes of the text a report names line 1 and shows the text from its start up
// to the current character, line feeds included.
TEST(ScriptRunErrors, ReportNearTheStartShowsTheTextFromItsStart) {
  ScriptHarness run;
  run.Load("\nA)");
  run.Step();
  const std::vector<std::string> expected = {ErrorLine(1, "'='がありません"_sj, "\nA)"),
                                             ErrorLine(1, "文法が違います"_sj, "\nA)")};
  EXPECT_EQ(run.Log(), expected);
}

// The element is looked up before the token after ")" is read, so the reports of the last part and
// of the lookup show the reference up to its ")" and no further.
TEST(ScriptRunErrors, ReportsAtTheClosingParenthesisEndThere) {
  const std::string long61(61, 'N');
  {
    ScriptHarness run;
    run.Load(CrLf(long61 + "(1) = 5\nEND\n"));
    run.Step();
    const std::vector<std::string> expected = {long61 + "(1)\n", ErrorLine(1, "名前が長すぎます"_sj, long61 + "(1)")};
    EXPECT_EQ(run.Log(), expected);
  }
  {
    ScriptHarness run;
    run.Load(CrLf("I=1\nA(I) = 5\nB=2\nEND\n"));
    // Fill every entry still free, so that the element finds no place.
    for (int i = 0; i < kSymbolCount; ++i) {
      if (EngineState.symbolTable[i].name[0] == '\0') std::snprintf(EngineState.symbolTable[i].name, 16, "#%d", i);
    }
    run.Step();
    EXPECT_EQ(*run.Var("B"), 2);
    EXPECT_FALSE(run.Var("A(1)").has_value());
    EXPECT_EQ(run.Log(), std::vector<std::string>{ErrorLine(2, "変数領域がオーバーフローしました"_sj, "A(I)")});
  }
}

TEST(ScriptRunErrors, StringLongerThanTheTokenBufferIsReportedOnce) {
  ScriptHarness run;
  run.Load(CrLf("\"" + std::string(3000, 'x') + "\"\nA=1\nEND\n"));
  run.Step();
  EXPECT_EQ(*run.Var("A"), 1);
  const std::string report = "[文字列が長すぎます]"_sj;
  // Once by the label pre-pass at load, once when the line runs.
  ASSERT_EQ(run.Log().size(), 2u);
  EXPECT_NE(run.Log()[0].find(report), std::string::npos);
  EXPECT_EQ(run.Log()[0], run.Log()[1]);
}

ScriptFlow NoHandler() { return ScriptFlow::kNext; }

TEST(ScriptRunErrors, KeywordWithoutHandlerIsSkippedWithItsArguments) {
  ScopedScriptHandler none(kTokenPicture, nullptr);
  ScriptHarness run;
  run.Load(CrLf("PICTURE 1, \"a.png\": A=1\nB=2\nEND\n"));
  run.Step();
  EXPECT_EQ(*run.Var("A"), 1);
  EXPECT_EQ(*run.Var("B"), 2);
  EXPECT_EQ(run.Log(), std::vector<std::string>{ErrorLine(1, "この命令は使えません"_sj, "PICTURE")});
}

TEST(ScriptRunErrors, KeywordsThatAreNoStatementsAreSkippedQuietly) {
  ScriptHarness run;
  run.Load(CrLf("THEN TO STEP MOD AND OR NOT INT LOOPMOTION CHECKCG CHECKSCENE 5 , ; \xb1\nA=1\nEND\n"));
  run.Step();
  EXPECT_EQ(*run.Var("A"), 1);
}

TEST(ScriptRunErrors, HandlerReplacedForALifetime) {
  ScriptHandler before = GetScriptHandler(kTokenSun);
  {
    ScopedScriptHandler sun(kTokenSun, NoHandler);
    EXPECT_EQ(GetScriptHandler(kTokenSun), &NoHandler);
  }
  EXPECT_EQ(GetScriptHandler(kTokenSun), before);
  SetScriptHandler(99999, NoHandler);  // outside the table: ignored
  EXPECT_EQ(GetScriptHandler(99999), nullptr);
}

TEST(ScriptRunQuit, QuitAsksTheGameToEnd) {
  ScriptHarness run;
  run.Load(CrLf("QUIT\n"));
  EXPECT_EQ(run.QuitRequests(), 0);
  run.Step();
  EXPECT_EQ(run.QuitRequests(), 1);
  EXPECT_EQ(run.Token(), kTokenQuit);
}

// QUIT stays current when it ends the run of a true IF, so the run around it meets it again: every
// open level asks once more, and nothing after QUIT runs in the frame.
TEST(ScriptRunQuit, QuitAfterATrueIfEndsEveryLevel) {
  ScriptHarness run;
  run.Load(CrLf("IF 1 THEN IF 1 THEN QUIT: A=1\nB=1\n"));
  run.Step();
  EXPECT_EQ(run.QuitRequests(), 3);
  EXPECT_EQ(*run.Var("A"), 0);
  EXPECT_EQ(*run.Var("B"), 0);
  EXPECT_EQ(run.Token(), kTokenQuit);
}

// No statement loop can keep the game loop from its next frame.
TEST(ScriptRunHang, LoopWithoutWaitHandsBackEachFrame) {
  ScriptHarness run;
  run.Load(CrLf("LABEL L\nN=N+1\nGOTO L\n"));
  run.Step();
  double first = *run.Var("N");
  EXPECT_GT(first, 1000);
  run.Step();
  EXPECT_GT(*run.Var("N"), first);
  EXPECT_TRUE(run.Running());
}

TEST(ScriptRunHang, LoopOverALongLineHandsBackEachFrame) {
  std::string sum = "A=0";
  for (int i = 0; i < 200000; ++i) sum += "+1";
  ScriptHarness run;
  run.Load(CrLf("LABEL L\nN=N+1\n" + sum + "\nGOTO L\n"));
  run.Step();
  EXPECT_EQ(*run.Var("A"), 200000);
  EXPECT_LE(*run.Var("N"), 3);
  run.Step();
  EXPECT_GT(*run.Var("N"), 2);
}

TEST(ScriptRunHang, EndlessForAndRecursiveIfHandBack) {
  for (const char* script : {"FOR I=10 TO 1\nNEXT\n", "LABEL L\nIF 1 THEN GOTO L\n"}) {
    ScriptHarness run;
    run.Load(CrLf(script));
    run.Step(2);
    EXPECT_TRUE(run.Running()) << script;
  }
}

TEST(ScriptRunHang, EndlessRecursionFillsTheTableAndIsReported) {
  ScriptHarness run;
  run.Load(CrLf("LABEL L\nGOSUB L\n"));
  run.Step();
  EXPECT_EQ(run.Log(), std::vector<std::string>{ErrorLine(2, "変数領域がオーバーフローしました"_sj, "GOSUB")});
  // Every entry holds a call frame now; the call that found none was counted but not made.
  EXPECT_EQ(FreeSymbolCursor(), -1);
  const int32_t depth = EngineState.interpreter.gosubDepth;
  EXPECT_GT(depth, 9800);
  EXPECT_TRUE(FindSymbol("GS:" + std::to_string(depth - 1)));
  EXPECT_FALSE(FindSymbol("GS:" + std::to_string(depth)));
  EXPECT_EQ(run.Token(), kTokenIdentifier);
  run.Step(3);
}

TEST(ScriptRunHang, SystemScreenHoldsTheScriptUnlessRunningThrough) {
  ScriptHarness run;
  run.Load(CrLf("A=1\nB=)\nC=1\nEND\n"));
  run.SetSystemScreenOpen(true);
  // Right after loading the script runs through; the error on line 2 ends that.
  run.Step();
  EXPECT_EQ(*run.Var("A"), 1);
  EXPECT_EQ(*run.Var("C"), 0);
  run.SetSystemScreenOpen(false);
  run.Step();
  EXPECT_EQ(*run.Var("C"), 1);
}

// A stand-in for the WAIT command: its frame count is the number that follows.
ScriptFlow WaitForNumber() {
  GetToken();
  BeginWait(static_cast<int32_t>(ScriptLexer.number));
  return ScriptFlow::kNext;
}

TEST(ScriptRunWait, CountdownEndsEvenAtZeroOrBelow) {
  ScopedScriptHandler wait(kTokenWait, WaitForNumber);
  struct Case {
    int frames;
    int framesUntilDone;
  };
  for (Case c : {Case{3, 3}, Case{1, 1}, Case{0, 1}, Case{-5, 1}}) {
    ScriptHarness run;
    run.Load(CrLf("WAIT " + std::to_string(c.frames) + ": A=1\nEND\n"));
    run.Step(c.framesUntilDone - 1);
    EXPECT_EQ(*run.Var("A"), 0) << c.frames;
    run.Step();
    EXPECT_EQ(*run.Var("A"), 1) << c.frames;
  }
}

TEST(ScriptRunWait, WaitAfterATrueIfWaitsItsFullCount) {
  ScopedScriptHandler wait(kTokenWait, WaitForNumber);
  ScriptHarness run;
  run.Load(CrLf("IF 1 THEN IF 1 THEN WAIT 3\nA=1\nEND\n"));
  run.Step(2);
  EXPECT_EQ(*run.Var("A"), 0);
  run.Step();
  EXPECT_EQ(*run.Var("A"), 1);
}

}  // namespace
