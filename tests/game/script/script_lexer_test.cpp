// The tokenizer on ordinary and hostile text.
#include "game/script/script_lexer.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "game/script/engine_state.h"
#include "tests/game/fixtures/script_harness.h"
#include "game/script/script_text.h"
#include "game/script/script_tokens.h"
#include "platform/sjis_literal.h"

namespace {

struct Tok {
  int32_t id;
  std::string text;
  double number = 0;
  bool operator==(const Tok& o) const {
    return id == o.id && text == o.text && (id != kTokenNumber || number == o.number);
  }
};

void PrintTo(const Tok& t, std::ostream* os) { *os << "{" << t.id << ", \"" << t.text << "\", " << t.number << "}"; }

// Every token of the text up to its end (the lexer state of a freshly started engine).
std::vector<Tok> Lex(std::string_view text) {
  ScriptText.Assign(text);
  SeekScript(0);
  std::vector<Tok> out;
  for (int guard = 0; ScriptLexer.token != kTokenEnd && guard < 100000; ++guard) {
    out.push_back({ScriptLexer.token, std::string(TokenText()), ScriptLexer.number});
    GetToken();
  }
  return out;
}

Tok Id(const char* name) { return {kTokenIdentifier, name}; }
Tok Num(double v) { return {kTokenNumber, "", v}; }
Tok Byte(char c) { return {static_cast<int8_t>(c), ""}; }

struct LexCase {
  const char* name;
  std::string text;
  std::vector<Tok> tokens;
};

class Lexer : public testing::TestWithParam<LexCase> {};

TEST_P(Lexer, Tokens) {
  ScriptHarness fresh;
  EXPECT_EQ(Lex(GetParam().text), GetParam().tokens);
  EXPECT_TRUE(fresh.Log().empty());
}

const LexCase kLexCases[] = {
    {"MinusStartsANumber", "a-1", {Id("A"), Num(-1)}},
    {"LoneMinusIsMinusZero", "a - 1", {Id("A"), Num(-0.0), Num(1)}},
    {"Fractions", "-2.25 3.:.5", {Num(-2.25), Num(3), Byte(':'), Byte('.'), Num(5)}},
    {"SecondPointEndsTheNumber", "1.2.3", {Num(1.2), Byte('.'), Num(3)}},
    {"KeywordsInAnyCase", "label Goto gosub", {{kTokenLabel, "LABEL"}, {kTokenGoto, "GOTO"}, {kTokenGosub, "GOSUB"}}},
    {"AtContinuesButDoesNotStartAName", "A@B @C", {Id("A@B"), {kTokenMacroCall, ""}, Id("C")}},
    {"UnderscoreAndDigits", "_x9 y_1", {Id("_X9"), Id("Y_1")}},
    {"CommentRunsToTheLineFeed", "A # B C\r\nD", {Id("A"), Byte('\n'), Id("D")}},
    {"HalfWidthKatakanaIsANegativeByteToken", "\xb1=", {Byte('\xb1'), Byte('=')}},
    {"Operators",
     "(1+2)*3/4,>=",
     {Byte('('), Num(1), Byte('+'), Num(2), Byte(')'), Byte('*'), Num(3), Byte('/'), Num(4), Byte(','), Byte('>'),
      Byte('=')}},
    {"Strings", "\"a b\" \"\x82\xa0\"", {{kTokenString, "a b"}, {kTokenString, "\x82\xa0"}}},
    {"MessageJoinsLinesUpToTheEmptyLine",
     "\x82\xa0\x82\xa2\r\nPRINT 1\r\n<x>\r\n\r\nA",
     {{kTokenMessage, "\x82\xa0\x82\xa2\nPRINT 1\n<x>"}, Byte('\n'), Id("A")}},
    {"AngleBracketStartsAMessage", "A=<1\r\n\r\n", {Id("A"), Byte('='), {kTokenMessage, "<1"}, Byte('\n')}},
    {"MessageWithBareLineFeedsKeepsEveryByte",
     "\x82\xa0\nAB\n\nC",
     {{kTokenMessage, "\x82\xa0\nAB"}, Byte('\n'), Id("C")}},
    {"MessageEndsAtTheEndOfTheText", "\x82\xa0\r\nB", {{kTokenMessage, "\x82\xa0\nB"}}},
    {"IdentifierWithShiftJis",
     "A\x82\xa0"
     "B",
     {Id("A\x82\xa0"
         "B")}},
};
INSTANTIATE_TEST_SUITE_P(Script, Lexer, testing::ValuesIn(kLexCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LexerErrors, UnclosedStringEndsAtTheLineFeedWhichIsConsumed) {
  ScriptHarness fresh;
  EXPECT_EQ(Lex("\"AB\r\nC"), (std::vector<Tok>{{kTokenString, "AB\r"}, Id("C")}));
  // The report is made with the line feed current: the line it shows runs up to it, CR included.
  EXPECT_EQ(fresh.Log(), std::vector<std::string>{ErrorLine(1, "'\"'がありません"_sj, "\"AB\r", "")});
}

TEST(LexerErrors, LongTextsKeepTheirFirst2048BytesOnACharacterBoundary) {
  for (std::string_view open : {"\"", "\x82\xa0"}) {
    ScriptHarness fresh;
    // One byte, then double-byte characters: the 2048th byte would be a lead byte without its trail.
    std::string body = "x";
    while (body.size() < 3000) body += "\x82\xa2";
    std::string text = std::string(open) + body + (open == "\"" ? "\"" : "") + "\r\n\r\nZ";
    std::vector<Tok> tokens = Lex(text);
    ASSERT_GE(tokens.size(), 1u);
    std::string kept = tokens[0].text;
    std::string expected = std::string(open == "\"" ? "" : open) + body;
    // 2,047 bytes: the next character would end past 2,048.
    expected.resize(2047);
    EXPECT_EQ(kept, expected);
    EXPECT_EQ(tokens.back(), Id("Z"));
    ASSERT_EQ(fresh.Log().size(), 1u);
    const std::string report = "[文字列が長すぎます]"_sj;
    EXPECT_NE(fresh.Log()[0].find(report), std::string::npos);
  }
}

TEST(LexerHostile, LeadByteAtTheVeryEnd) {
  ScriptHarness fresh;
  EXPECT_EQ(Lex("A\x82"), (std::vector<Tok>{Id("A"), {kTokenMessage, "\x82"}}));
  EXPECT_EQ(Lex("\"\x82"), (std::vector<Tok>{{kTokenString, "\x82"}}));
  EXPECT_EQ(Lex("\x82"), (std::vector<Tok>{{kTokenMessage, "\x82"}}));
  // A lead byte before a line feed does not swallow it.
  EXPECT_EQ(Lex("\"\x82\r\nB"), (std::vector<Tok>{{kTokenString, "\x82\r"}, Id("B")}));
  EXPECT_EQ(fresh.Log().size(), 2u);
}

TEST(LexerHostile, IdentifierOfTenThousandBytesKeepsItsFirst62) {
  ScriptHarness fresh;
  std::string name(10000, 'Q');
  std::vector<Tok> tokens = Lex(name + "=1");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[0], Id(std::string(62, 'Q').c_str()));
  EXPECT_EQ(tokens[1], Byte('='));
  // Any name with the same first 62 bytes is the same variable.
  EXPECT_EQ(Lex(std::string(70, 'Q'))[0], Id(std::string(62, 'Q').c_str()));
  // A double-byte character that straddles the 62nd byte keeps its lead byte there; the trail byte
  // and the rest are dropped.
  const std::string r61(61, 'R');
  EXPECT_EQ(Lex(r61 + "\x82\xa0" + "S")[0], Id((r61 + "\x82").c_str()));
  EXPECT_EQ(Lex(r61 + "\x83\x40")[0], Id((r61 + "\x83").c_str()));
}

TEST(LexerHostile, NameEndingInACutCharacterIsOneVariable) {
  const std::string r61(61, 'R');
  ScriptHarness run;
  // The two spellings differ only in the dropped trail byte; the third differs in the kept lead byte.
  run.Load(CrLf(r61 + "\x82\xa0=5\nB=" + r61 + "\x82\xa2\n" + r61 + "\x83\x40=7\nC=" + r61 + "\x82\xa0\nEND\n"));
  run.Step();
  EXPECT_EQ(run.Var(r61 + "\x82"), 5);
  EXPECT_EQ(run.Var(r61 + "\x83"), 7);
  EXPECT_EQ(run.Var("B"), 5);
  EXPECT_EQ(run.Var("C"), 5);
  EXPECT_TRUE(run.Log().empty());
}

TEST(LexerHostile, ScriptThatIsOneHugeLine) {
  ScriptHarness run;
  std::string line;
  for (int i = 0; i < 30000; ++i) line += "A=A+1:";
  run.Load(line);
  run.Step();
  EXPECT_EQ(*run.Var("A"), 30000);
  EXPECT_FALSE(run.Running());
  EXPECT_EQ(run.CurrentLine(), 1);
  // An error on such a line is cut where the log cuts every line, at 1,023 bytes.
  ScriptHarness other;
  const std::string huge = std::string(100000, ' ') + "A=)";
  other.Load(huge);
  other.Step();
  ASSERT_EQ(other.Log().size(), 1u);
  EXPECT_EQ(other.Log()[0], ErrorLine(1, "文法が違います"_sj, huge).substr(0, 1023));
}

TEST(LexerHostile, DeepNestingIsReportedOnceAndTheLineSkipped) {
  for (std::string open : {"(", "A("}) {
    ScriptHarness run;
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += open;
    run.Load("B=" + deep + "1\r\nC=2\r\nEND\r\n");
    run.Step();
    EXPECT_EQ(*run.Var("C"), 2);
    ASSERT_EQ(run.Log().size(), 1u) << open;
    const std::string report = "[文法が違います]"_sj;
    EXPECT_NE(run.Log()[0].find(report), std::string::npos);
  }
}

TEST(LexerHostile, RandomBytesNeverFault) {
  std::mt19937 random(12345);
  const std::string alphabet = "AZaz09_@-.\"#<>=(),:;+*/ \r\n\t\x81\x82\x9f\xe0\xfc\xb1\x80\xff\x40";
  for (int round = 0; round < 300; ++round) {
    std::string script;
    size_t length = random() % 600;
    for (size_t i = 0; i < length; ++i) {
      script += (random() % 4 == 0) ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
    }
    ScriptHarness run;
    run.Load(script);
    run.Step(3);
    EXPECT_LE(run.CurrentLine(), static_cast<int32_t>(script.size()) + 1);
  }
}

TEST(LexerSeek, PositionsAreClampedToTheText) {
  ScriptHarness fresh;
  ScriptText.Assign("A B");
  SeekScript(2);
  EXPECT_EQ(ScriptLexer.token, kTokenIdentifier);
  EXPECT_EQ(TokenText(), "B");
  SeekScript(1000000);
  EXPECT_EQ(ScriptLexer.token, kTokenEnd);
  EXPECT_EQ(ScriptLexer.readPos, 4u);
  GetToken();
  EXPECT_EQ(ScriptLexer.readPos, 4u);
}

TEST(ScriptTextLines, LineOfPositionAndPositionOfLine) {
  ScriptText.Assign("L1\r\nL2\r\nL3\r\n");
  // Within the first four bytes everything is line 1.
  EXPECT_EQ(LineOfPosition(4), 1);
  // The read position of the first byte of line 2 (5) and of line 3 (9) report the line before.
  EXPECT_EQ(LineOfPosition(5), 1);
  EXPECT_EQ(LineOfPosition(6), 2);
  EXPECT_EQ(LineOfPosition(9), 2);
  EXPECT_EQ(LineOfPosition(10), 3);
  EXPECT_EQ(PositionOfLine(-5), 0u);
  EXPECT_EQ(PositionOfLine(2), 0u);
  EXPECT_EQ(PositionOfLine(3), 4u);
  EXPECT_EQ(PositionOfLine(4), 8u);
  EXPECT_EQ(PositionOfLine(5), 12u);
  EXPECT_EQ(PositionOfLine(6), 12u);  // past the last line: the end
  EXPECT_EQ(PositionOfLine(2147483647), 12u);
  // A zero byte ends the text.
  ScriptText.Assign(std::string("AB\0CD", 5));
  EXPECT_EQ(ScriptText.size(), 2u);
  EXPECT_EQ(ScriptText.At(2), '\0');
  ScriptText.Clear();
}

}  // namespace
