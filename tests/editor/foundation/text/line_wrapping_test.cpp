#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/job_progress.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "platform/sjis_literal.h"
#include "tests/editor/foundation/text/doc_text.h"
#include "tests/editor/foundation/text/wrap_fixture.h"

namespace {

constexpr int kNormal = CWrapLineMgr::COLOR_NORMAL;
constexpr int kLineComment = CWrapLineMgr::COLOR_LINE_COMMENT;
constexpr int kDouble = CWrapLineMgr::COLOR_DOUBLE_QUOTE;
constexpr int kBlock1 = CWrapLineMgr::COLOR_BLOCK_COMMENT1;

// ---- Cutting lines -----------------------------------------------------------------------------

struct CutCase {
  const char* name;
  WrapRules rules;
  std::string text;
  std::vector<std::string> pieces;
  std::vector<int> indents = {};  // empty: not checked
  std::vector<int> states = {};   // empty: not checked
};

WrapRules Rules(int wrap, int tab = 4) {
  WrapRules r;
  r.wrap = wrap;
  r.tab = tab;
  return r;
}
template <class F>
WrapRules With(WrapRules r, F f) {
  f(r);
  return r;
}

const std::vector<CutCase>& CutCases() {
  static const std::vector<CutCase> cases = {
      {"TwentyFiveBytesAtWidthTen", Rules(10), "abcdefghijklmnopqrstuvwxy\r\n",
       {"abcdefghij", "klmnopqrst", "uvwxy\r"}},
      {"TwentyFiveBytesWithoutLineEnd", Rules(10), "abcdefghijklmnopqrstuvwxy", {"abcdefghij", "klmnopqrst", "uvwxy"}},
      {"DoubleByteOnCellsTenAndElevenMovesDown", Rules(10), "aaaaaaaaa"_sj "あb\r\n"_sj, {"aaaaaaaaa", "あb\r"_sj}},
      {"WordThatWouldReachElevenStartsNextLine", With(Rules(8), [](WrapRules& r) { r.word = true; }),
       "abc defghij\r\n", {"abc ", "defghij\r"}},
      {"WordEndingExactlyAtTheWidthMovesToo", With(Rules(10), [](WrapRules& r) { r.word = true; }),
       "ab cdefghi\r\n", {"ab ", "cdefghi\r"}},
      {"WordLongerThanTheWidthIsCutAtIt", With(Rules(10), [](WrapRules& r) { r.word = true; }),
       "a bcdefghijklmn\r\n", {"a ", "bcdefghijk", "lmn\r"}},
      {"WithoutWordRuleWordsAreCut", Rules(8), "abc defghij\r\n", {"abc defg", "hij\r"}},
      {"HangingPunctuationStaysBeyondTheWidth",
       With(Rules(10), [](WrapRules& r) { r.kuto = true; r.headChars = "。"_sj; }), "aaaaaaaaa。bc\r\n"_sj,
       {"aaaaaaaaa。"_sj, "bc\r"}},
      {"PunctuationWithoutHangingMovesDown", With(Rules(10), [](WrapRules& r) { r.headChars = "。"_sj; }),
       "aaaaaaaaa。bc\r\n"_sj, {"aaaaaaaaa", "。bc\r"_sj}},
      {"HangingPunctuationOnlyWhenInTheHeadList", With(Rules(10), [](WrapRules& r) { r.kuto = true; }),
       "aaaaaaaaa。bc\r\n"_sj, {"aaaaaaaaa", "。bc\r"_sj}},
      {"HangingPunctuationAndLineEndStayTogether",
       With(Rules(10), [](WrapRules& r) { r.kuto = true; r.ret = true; r.headChars = "。"_sj; }),
       "aaaaaaaaa。\r\nx\r\n"_sj, {"aaaaaaaaa。\r"_sj, "x\r"}},
      {"LineEndHangsOnAFullLine", With(Rules(10), [](WrapRules& r) { r.ret = true; }), "aaaaaaaaaa\r\n",
       {"aaaaaaaaaa\r"}},
      {"FullLineWithoutHangingLeavesTheLineEndAlone", Rules(10), "aaaaaaaaaa\r\n", {"aaaaaaaaaa", "\r"}},
      {"LineHeadCharacterTakesTheOneBeforeItDown",
       With(Rules(10), [](WrapRules& r) { r.head = true; r.headChars = "」"_sj; }), "aaaaaaaaあ」b\r\n"_sj,
       {"aaaaaaaa", "あ」b\r"_sj}},
      {"LineHeadCharacterWithoutTheRuleStartsALine", With(Rules(10), [](WrapRules& r) { r.headChars = "」"_sj; }),
       "aaaaaaaaあ」b\r\n"_sj, {"aaaaaaaaあ"_sj, "」b\r"_sj}},
      // Where a word ends, no rule looks: the character after it stays even when the line-head
      // rule would have taken it down with the next.
      {"NoLineHeadRuleWhereAWordEnds",
       With(Rules(10), [](WrapRules& r) { r.word = true; r.head = true; r.headChars = "」"_sj; }),
       "abcdefgあ」\r\n"_sj, {"abcdefgあ"_sj, "」\r"_sj}},
      {"LineHeadRuleAfterOtherCharacters",
       With(Rules(10), [](WrapRules& r) { r.head = true; r.headChars = "」"_sj; }), "abcdefgあ」\r\n"_sj,
       {"abcdefg", "あ」\r"_sj}},
      {"LineEndCharacterMovesToTheNextLine",
       With(Rules(10), [](WrapRules& r) { r.tail = true; r.tailChars = "「"_sj; }), "aaaaaaaa「あ\r\n"_sj,
       {"aaaaaaaa", "「あ\r"_sj}},
      {"LineEndCharacterWithoutTheRuleEndsALine", With(Rules(10), [](WrapRules& r) { r.tailChars = "「"_sj; }),
       "aaaaaaaa「あ\r\n"_sj, {"aaaaaaaa「"_sj, "あ\r"_sj}},
      {"LineEndCharacterLastOnALineWithoutLineEndStays",
       With(Rules(10), [](WrapRules& r) { r.tail = true; r.tailChars = "「"_sj; }), "aaaaaaaa「"_sj,
       {"aaaaaaaa「"_sj}},
      {"TabReachesTheNextStopAndMovesDownWhenPastTheWidth", Rules(10, 4), "ab\tcdefgh\tx\r\n",
       {"ab\tcdefgh", "\tx\r"}},
      {"IndentAfterTabForContinuations", With(Rules(20, 4), [](WrapRules& r) { r.indent = 1; }),
       "ab\tcdefghijklmnopqrstuvwxyz\r\n", {"ab\tcdefghijklmnopqr", "stuvwxyz\r"}, {0, 4}},
      {"IndentAfterTabNotWhenFewerThanSixCellsRemain", With(Rules(20, 4), [](WrapRules& r) { r.indent = 1; }),
       "abcdefghijklmn\tqrstuvwxyz\r\n", {"abcdefghijklmn\tqrst", "uvwxyz\r"}, {0, 0}},
      {"IndentAfterTabSharedByAllContinuations", With(Rules(12, 4), [](WrapRules& r) { r.indent = 1; }),
       "a\tbcdefghijklmnopqrstu\r\n", {"a\tbcdefghi", "jklmnopq", "rstu\r"}, {0, 4, 4}},
      {"IndentAfterLeadingCharacters",
       With(Rules(20, 4), [](WrapRules& r) { r.indent = 2; r.indentChars = "*"; }),
       "  * abcdefghijklmnopqrstuvwxyz\r\n", {"  * abcdefghijklmnop", "qrstuvwxyz\r"}, {0, 4}},
      {"IndentAfterLeadingCharactersOnlyThoseListed", With(Rules(20, 4), [](WrapRules& r) { r.indent = 2; }),
       "  * abcdefghijklmnopqrstuvwxyz\r\n", {"  * abcdefghijklmnop", "qrstuvwxyz\r"}, {0, 2}},
      {"IndentAfterIdeographicSpaceWhenTheTypeSaysSo",
       With(Rules(20, 4), [](WrapRules& r) { r.indent = 2; r.zenSpace = true; }),
       "　abcdefghijklmnopqrstuvwxyz\r\n"_sj, {"　abcdefghijklmnopqr"_sj, "stuvwxyz\r"}, {0, 2}},
      {"IdeographicSpaceIsNoIndentOtherwise", With(Rules(20, 4), [](WrapRules& r) { r.indent = 2; }),
       "　abcdefghijklmnopqrstuvwxyz\r\n"_sj, {"　abcdefghijklmnopqr"_sj, "stuvwxyz\r"}, {0, 0}},
      // An indent near the width: the tab after it fits no line. Each tab still gets a line.
      {"TabAfterAnIndentNearTheWidthStillGetsALine", With(Rules(30, 20), [](WrapRules& r) { r.indent = 1; }),
       "ab\t\tccccccccccccccccccc\r\n", {"ab\t", "\t", "cccccccccc", "ccccccccc\r"}, {0, 20, 20, 20}},
      {"UnterminatedStringColoursTheNextLine", With(Rules(10), [](WrapRules& r) { r.doubleQuotes = true; }),
       "x = \"abc\r\n0123456789de\"fgh\r\ni\r\n",
       {"x = \"abc\r", "0123456789", "de\"fgh\r", "i\r"}, {}, {kNormal, kDouble, kDouble, kNormal}},
      {"StringsAreNotColouredWhenTheTypeDoesNot", Rules(10), "x = \"abc\r\n0123456789de\"fgh\r\ni\r\n",
       {"x = \"abc\r", "0123456789", "de\"fgh\r", "i\r"}, {}, {kNormal, kNormal, kNormal, kNormal}},
      {"LineCommentEndsWithItsLine",
       With(Rules(10), [](WrapRules& r) { r.comments = true; r.lineComment = "//"; }),
       "ab // cdefghijk\r\nxy\r\n", {"ab // cdef", "ghijk\r", "xy\r"}, {}, {kNormal, kLineComment, kNormal}},
      {"BlockCommentRunsOverLines",
       With(Rules(40), [](WrapRules& r) { r.comments = true; r.blockStart = "/*"; r.blockEnd = "*/"; }),
       "a /* b\r\nc */ d\r\ne\r\n", {"a /* b\r", "c */ d\r", "e\r"}, {}, {kNormal, kBlock1, kNormal}},
      {"EscapedQuoteKeepsTheStringOpen",
       With(Rules(40), [](WrapRules& r) { r.doubleQuotes = true; }), "\"a\\\"b\r\nc\r\n",
       {"\"a\\\"b\r", "c\r"}, {}, {kNormal, kDouble}},
      {"DoubledQuoteKeepsTheStringOpen",
       With(Rules(40), [](WrapRules& r) { r.doubleQuotes = true; r.escape = 1; }), "\"a\"\"b\r\nc\r\n",
       {"\"a\"\"b\r", "c\r"}, {}, {kNormal, kDouble}},
      // 表 ends in the byte of a backslash: it must not escape the quote after it.
      {"DoubleByteCharacterEndingInABackslashEscapesNothing",
       With(Rules(40), [](WrapRules& r) { r.doubleQuotes = true; }), "\"表\" x\r\ny\r\n"_sj,
       {"\"表\" x\r"_sj, "y\r"}, {}, {kNormal, kNormal}},
      {"PieceStartsInTheStateAfterAnOpeningAtItsStart",
       With(Rules(10), [](WrapRules& r) { r.doubleQuotes = true; }), "0123456789\"abc\"\r\n",
       {"0123456789", "\"abc\"\r"}, {}, {kNormal, kDouble}},
  };
  return cases;
}

class CutTest : public testing::TestWithParam<CutCase> {};

TEST_P(CutTest, Pieces) {
  const CutCase& c = GetParam();
  Wrapped w(c.text, c.rules);
  EXPECT_EQ(PieceTexts(w.wrap), c.pieces);
  const std::vector<PieceRecord> pieces = Pieces(w.wrap);
  if (!c.indents.empty()) {
    std::vector<int> indents;
    for (const PieceRecord& p : pieces) indents.push_back(p.indent);
    EXPECT_EQ(indents, c.indents);
  }
  if (!c.states.empty()) {
    std::vector<int> states;
    for (const PieceRecord& p : pieces) states.push_back(p.state);
    EXPECT_EQ(states, c.states);
  }
}

INSTANTIATE_TEST_SUITE_P(LineWrapping, CutTest, testing::ValuesIn(CutCases()),
                         [](const testing::TestParamInfo<CutCase>& info) { return info.param.name; });

TEST(LineWrapping, TabWidthNotBelowTheWrapWidthBecomesFour) {
  Wrapped w("a\tb\r\n", Rules(10, 16));
  EXPECT_EQ(w.wrap.GetTabWidth(), 4);
  EXPECT_EQ(PieceTexts(w.wrap), (std::vector<std::string>{"a\tb\r"}));
}

TEST(LineWrapping, EndStateIsTheStateAfterTheLastLine) {
  WrapRules r = Rules(40);
  r.comments = true;
  r.blockStart = "/*";
  r.blockEnd = "*/";
  EXPECT_EQ(Wrapped("a\r\n/* b\r\n", r).wrap.GetEndColorState(), kBlock1);
  EXPECT_EQ(Wrapped("a\r\n/* b */\r\n", r).wrap.GetEndColorState(), kNormal);
  r.lineComment = "//";
  EXPECT_EQ(Wrapped("a // b", r).wrap.GetEndColorState(), kNormal);
}

// ---- The rules' parts --------------------------------------------------------------------------

TEST(LineWrapping, BreakRuleHoldsWhereThisCharacterFitsButNotWithTheNext) {
  for (int r = 0; r <= 4; ++r) {
    for (int a = 1; a <= 2; ++a) {
      for (int b = 1; b <= 2; ++b) {
        const bool expected = a <= r && a + b > r;
        EXPECT_EQ(CWrapLineMgr::CheckBreakRule(r, a, b), expected) << r << " " << a << " " << b;
      }
    }
  }
}

TEST(LineWrapping, HeadListKeepsPunctuationApart) {
  CWrapLineMgr mgr;
  WrapRules r;
  r.headChars = "」。)、。,"_sj;
  r.tailChars = "(「"_sj;
  mgr.SetWrapSettings(false, nullptr, *MakeType(r));
  EXPECT_TRUE(mgr.InUserCharSetA("」"_sj, 2));
  EXPECT_TRUE(mgr.InUserCharSetA(")", 1));
  EXPECT_FALSE(mgr.InUserCharSetA("。"_sj, 2));
  EXPECT_TRUE(mgr.InPunctuationSubset("。"_sj, 2));
  EXPECT_TRUE(mgr.InPunctuationSubset("、"_sj, 2));
  EXPECT_TRUE(mgr.InPunctuationSubset(",", 1));
  EXPECT_FALSE(mgr.InPunctuationSubset(".", 1));
  EXPECT_TRUE(mgr.InUserCharSetB("「"_sj, 2));
  EXPECT_TRUE(mgr.InUserCharSetB("(", 1));
  EXPECT_FALSE(mgr.InUserCharSetB("」"_sj, 2));
  for (const char* p : {"。"_sj, "、"_sj, "，"_sj, "．"_sj}) EXPECT_TRUE(CWrapLineMgr::IsFixedPunctuation(p, 2)) << p;
  for (const char* p : {"｡"_sj, "､"_sj, ",", "."}) EXPECT_TRUE(CWrapLineMgr::IsFixedPunctuation(p, 1)) << p;
  EXPECT_FALSE(CWrapLineMgr::IsFixedPunctuation("a", 1));
  EXPECT_FALSE(CWrapLineMgr::IsFixedPunctuation("」"_sj, 2));
}

struct QuoteCase {
  const char* name;
  int escape;
  std::string line;  // the whole line; the string opened at byte 0
  int end;           // -1: the line's length
};

class QuoteEndTest : public testing::TestWithParam<QuoteCase> {};

TEST_P(QuoteEndTest, End) {
  const QuoteCase& c = GetParam();
  CWrapLineMgr mgr;
  WrapRules r;
  r.escape = c.escape;
  mgr.SetWrapSettings(false, nullptr, *MakeType(r));
  // Exactly the line's bytes on the heap, so a scan past its end is an error the sanitizer sees.
  std::vector<char> bytes(c.line.begin(), c.line.end());
  const int n = static_cast<int>(bytes.size());
  EXPECT_EQ(mgr.FindQuoteEnd('"', 1, n, bytes.data()), c.end < 0 ? n : c.end);
}

INSTANTIATE_TEST_SUITE_P(
    LineWrapping, QuoteEndTest,
    testing::ValuesIn(std::vector<QuoteCase>{
        {"ClosingQuote", 0, "\"abc\" d", 5},
        {"BackslashEscapesTheQuote", 0, "\"a\\\"b\" c", 6},
        {"TrailByteOfADoubleByteCharacterIsNoBackslash", 0, "\"表\" x"_sj, 4},
        {"BackslashEscapesAWholeDoubleByteCharacter", 0, "\"\\表\" x"_sj, 5},
        {"BackslashAtTheEndEscapesNothingBeyond", 0, "\"ab\\", -1},
        {"LeadByteAtTheEnd", 0, "\"ab\x95", -1},
        {"NoClosingQuote", 0, "\"abc", -1},
        {"DoubledQuoteStandsForItself", 1, "\"a\"\"b\" c", 6},
        {"BackslashIsPlainWithDoubledQuotes", 1, "\"a\\\" c", 4},
        {"DoubledQuoteAtTheEnd", 1, "\"a\"\"", -1},
        {"OtherStylesNeverClose", 2, "\"a\" b \"", -1},
    }),
    [](const testing::TestParamInfo<QuoteCase>& info) { return info.param.name; });

TEST(LineWrapping, ColourStateOpensAgainWhereOneCloses) {
  CWrapLineMgr mgr;
  WrapRules r;
  r.doubleQuotes = true;
  r.singleQuotes = true;
  mgr.SetWrapSettings(false, nullptr, *MakeType(r));
  const std::string line = "\"a\"'b'";
  const int n = static_cast<int>(line.size());
  int state = kNormal;
  int end = -1;
  EXPECT_FALSE(mgr.AdvanceColorState(&state, &end, 0, n, line.data()));
  EXPECT_EQ(state, kDouble);
  EXPECT_EQ(end, 3);
  EXPECT_FALSE(mgr.AdvanceColorState(&state, &end, 2, n, line.data()));
  EXPECT_TRUE(mgr.AdvanceColorState(&state, &end, 3, n, line.data()));
  EXPECT_EQ(state, kNormal);
  EXPECT_FALSE(mgr.AdvanceColorState(&state, &end, 3, n, line.data()));
  EXPECT_EQ(state, CWrapLineMgr::COLOR_SINGLE_QUOTE);
  EXPECT_EQ(end, 6);
}

// ---- Whole document ----------------------------------------------------------------------------

class RecordingBar : public CJobProgressBar {
 public:
  void SetRange(int32_t low, int32_t high) override { events.push_back("range " + std::to_string(low) + "-" + std::to_string(high)); }
  void SetPos(int32_t pos) override { events.push_back(std::to_string(pos)); }
  std::vector<std::string> events;
};

int g_pumps = 0;
int g_quitAtPump = 0;

bool CountingPump() {
  ++g_pumps;
  if (g_quitAtPump != 0 && g_pumps >= g_quitAtPump) return false;
  return true;
}

struct JobUiScope {
  explicit JobUiScope(int quitAtPump) {
    g_pumps = 0;
    g_quitAtPump = quitAtPump;
    JobUi ui;
    ui.pump = &CountingPump;
    SetJobUi(ui);
  }
  ~JobUiScope() { SetJobUi(JobUi{}); }
};

std::string ManyLines(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

TEST(LineWrapping, RewrapAllMovesTheBarEvery1024Lines) {
  JobUiScope scope(0);
  CDocLineMgr doc;
  LoadDocText(doc, ManyLines(3000));
  CWrapLineMgr wrap;
  wrap.Attach(&doc);
  RecordingBar bar;
  EXPECT_TRUE(wrap.SetWrapSettings(true, &bar, *MakeType(Rules(40))));
  EXPECT_EQ(bar.events, (std::vector<std::string>{"range 0-100", "0", "34", "68", "0"}));
  EXPECT_EQ(g_pumps, 4);
  EXPECT_EQ(wrap.GetLineCount(), 3000);
}

TEST(LineWrapping, RewrapAllWithoutBarNeverPumps) {
  JobUiScope scope(1);
  CDocLineMgr doc;
  LoadDocText(doc, ManyLines(3000));
  CWrapLineMgr wrap;
  wrap.Attach(&doc);
  EXPECT_TRUE(wrap.SetWrapSettings(true, nullptr, *MakeType(Rules(40))));
  EXPECT_EQ(g_pumps, 0);
}

TEST(LineWrapping, QuitDuringRewrapAllStopsIt) {
  JobUiScope scope(2);
  CDocLineMgr doc;
  LoadDocText(doc, ManyLines(3000));
  CWrapLineMgr wrap;
  wrap.Attach(&doc);
  RecordingBar bar;
  EXPECT_FALSE(wrap.SetWrapSettings(true, &bar, *MakeType(Rules(40))));
  EXPECT_EQ(wrap.GetLineCount(), 1024);
  // What there is stays usable.
  int col = 0;
  int line = 0;
  wrap.WrapToDocPos(0, 1023, &col, &line);
  EXPECT_EQ(line, 1023);
}


// ---- Against a plain reading of the rules -----------------------------------------------------

// The cutting written out character by character, as the rules read, with nothing skipped: the
// wrapping must cut and colour every line the same.
class ReferenceWrapper {
 public:
  explicit ReferenceWrapper(const WrapRules& r) : r_(r), type_(MakeType(r)) {
    const std::string head = r.headChars;
    for (size_t i = 0; i < head.size();) {
      const int size = Size(head, static_cast<int>(i), static_cast<int>(head.size()));
      const std::string ch = head.substr(i, size);
      if (CWrapLineMgr::IsFixedPunctuation(ch.data(), size)) {
        kuto_.push_back(ch);
      } else {
        head_.push_back(ch);
      }
      i += size;
    }
    const std::string tail = r.tailChars;
    for (size_t i = 0; i < tail.size();) {
      const int size = Size(tail, static_cast<int>(i), static_cast<int>(tail.size()));
      tail_.push_back(tail.substr(i, size));
      i += size;
    }
    tab_ = r.tab;
  }

  // Pieces of each line: offset, length, indent, start state.
  std::vector<PieceRecord> Wrap(const std::vector<std::pair<std::string, int>>& lines, int* endState) {
    if (tab_ >= r_.wrap) tab_ = 4;
    std::vector<PieceRecord> out;
    int state = 0;
    for (int doc = 0; doc < static_cast<int>(lines.size()); ++doc) {
      WrapLine(doc, lines[doc].first, lines[doc].second, state, out);
    }
    *endState = state;
    return out;
  }

 private:
  static int Size(const std::string& t, int p, int len) {
    return SjisCharSize(reinterpret_cast<const unsigned char*>(t.data()), len, p);
  }
  static bool In(const std::vector<std::string>& set, const std::string& ch) {
    return std::find(set.begin(), set.end(), ch) != set.end();
  }
  static bool IsWord(unsigned char c) { return std::isalnum(c) || c == '#' || c == '$' || c == '@' || c == '\\' || c == '_'; }

  int QuoteEnd(char q, int from, const std::string& t) const {
    const int n = static_cast<int>(t.size());
    if (r_.escape != 0 && r_.escape != 1) return n;
    for (int p = from; p < n;) {
      const int size = Size(t, p, n);
      if (size == 2) {
        p += 2;
      } else if (r_.escape == 0 && t[p] == '\\') {
        p += 1 + (p + 1 < n ? Size(t, p + 1, n) : 0);
      } else if (t[p] == q && r_.escape == 1 && p + 1 < n && t[p + 1] == q) {
        p += 2;
      } else if (t[p] == q) {
        return p + 1;
      } else {
        ++p;
      }
    }
    return n;
  }

  bool Advance(int& state, int& end, int p, const std::string& t) const {
    const int n = static_cast<int>(t.size());
    if (state == 0) {
      if (r_.comments && type_->LineComments.MatchAt(p, n, t.data())) {
        state = 25;
      } else if (r_.comments && type_->BlockComments.MatchStart(0, p, n, t.data())) {
        state = 45;
        end = type_->BlockComments.FindEnd(0, p + type_->BlockComments.GetStartLength(0), n, t.data());
      } else if (r_.comments && type_->BlockComments.MatchStart(1, p, n, t.data())) {
        state = 46;
        end = type_->BlockComments.FindEnd(1, p + type_->BlockComments.GetStartLength(1), n, t.data());
      } else if (t[p] == '\'' && r_.singleQuotes) {
        state = 26;
        end = QuoteEnd('\'', p + 1, t);
      } else if (t[p] == '"' && r_.doubleQuotes) {
        state = 27;
        end = QuoteEnd('"', p + 1, t);
      }
      return false;
    }
    if (state == 25) return false;
    if (end < 0) {
      end = state == 26 ? QuoteEnd('\'', p, t)
            : state == 27 ? QuoteEnd('"', p, t)
                          : type_->BlockComments.FindEnd(state == 45 ? 0 : 1, p, n, t.data());
      return false;
    }
    if (end <= p) {
      state = 0;
      return true;
    }
    return false;
  }

  int Cells(const std::string& t, int p, int textLen, int x) const {
    if (p < textLen && t[p] == '\t') return tab_ - x % tab_;
    return p < textLen ? Size(t, p, textLen) : 1;
  }

  int Indent(const std::string& t, const PieceRecord& piece) const {
    if (piece.offset != 0 || r_.indent == 0) return piece.offset != 0 ? piece.indent : 0;
    const std::string s = t.substr(0, piece.length);
    const int len = static_cast<int>(s.size());
    int x = 0;
    if (r_.indent == 1) {
      int after = 0;
      for (int p = 0; p < len;) {
        const int size = Size(s, p, len);
        x += s[p] == '\t' ? tab_ - x % tab_ : size;
        if (s[p] == '\t') after = x;
        p += size;
      }
      return r_.wrap - after < 6 ? 0 : after;
    }
    const std::string list = r_.indentChars;
    for (int p = 0; p < len;) {
      const int size = Size(s, p, len);
      const std::string ch = s.substr(p, size);
      bool leading = ch == "\t" || ch == " " || (ch == "\x81\x40" && r_.zenSpace);
      for (size_t i = 0; i < list.size() && !leading;) {
        const int ls = Size(list, static_cast<int>(i), static_cast<int>(list.size()));
        leading = list.substr(i, ls) == ch;
        i += ls;
      }
      if (!leading) return r_.wrap - x < 6 ? 0 : x;
      x += ch == "\t" ? tab_ - x % tab_ : size;
      p += size;
    }
    return 0;
  }

  void WrapLine(int doc, const std::string& t, int eolCode, int& state, std::vector<PieceRecord>& out) const {
    const int n = static_cast<int>(t.size());
    const int eolLen = CLineEnd(eolCode).GetLen();
    const int textLen = n - eolLen;
    const int scanEnd = n - std::max(eolLen - 1, 0);
    const int eolPos = eolLen > 0 ? textLen : -1;
    const int W = r_.wrap;
    if (state == 25) state = 0;
    int end = -1;
    int c = 0, x = 0, d = 0, run = 0, runEnd = 0, pieceState = state;
    auto close = [&](int p) {
      PieceRecord piece{doc, c, p - c, d, pieceState, 0};
      out.push_back(piece);
      pieceState = state;
      d = Indent(t, piece);
      x = d;
      c = p;
    };
    auto ch = [&](int p) { return t.substr(p, p < textLen ? Size(t, p, textLen) : 1); };
    for (int p = 0; p < scanEnd;) {
      const int k = p < textLen ? Size(t, p, textLen) : 1;
      bool rules = true;
      if (run != 0) {
        rules = false;
        if (p >= runEnd) {
          if (run == 4 && p == runEnd && !(r_.ret && p == eolPos)) close(p);
          run = 0;
        }
      }
      if (rules) {
        const int left = W - x;
        if (r_.word && k == 1 && IsWord(static_cast<unsigned char>(t[p]))) {
          int e = p;
          while (e < textLen && IsWord(static_cast<unsigned char>(t[e]))) ++e;
          run = 1;
          runEnd = e;
          if (x + (e - p) >= W && p > c) close(p);
        }
        if (run == 0 && r_.kuto && left < 2 && left < k && In(kuto_, ch(p))) {
          run = 4;
          runEnd = p + k;
        }
        const int next = p + k;
        if (run == 0 && left < 4 && d < x && next < scanEnd &&
            CWrapLineMgr::CheckBreakRule(left, Cells(t, p, textLen, x), Cells(t, next, textLen, x + Cells(t, p, textLen, x)))) {
          if (r_.head && In(head_, ch(next)) && !In(head_, ch(p)) && !In(kuto_, ch(p))) {
            close(p);
            run = 2;
            runEnd = next + static_cast<int>(ch(next).size());
          } else if (r_.tail && In(tail_, ch(p))) {
            close(p);
            run = 3;
            runEnd = p + k;
          }
        }
      }
      while (Advance(state, end, p, t)) {
      }
      if (p < textLen && t[p] == '\t') {
        if (x + tab_ - x % tab_ > W && p > c) close(p);
        x += tab_ - x % tab_;
        ++p;
      } else {
        if (!(x + k <= W || run == 4 || (r_.ret && p == eolPos)) && p > c) close(p);
        x += k;
        p += k;
      }
    }
    if (scanEnd > c) out.push_back({doc, c, scanEnd - c, d, pieceState, 0});
    if (state == 25) state = 0;
  }

  WrapRules r_;
  std::unique_ptr<TypeSettings> type_;
  std::vector<std::string> head_, tail_, kuto_;
  int tab_;
};

TEST(LineWrapping, CutsEqualThePlainReadingOfTheRules) {
  std::mt19937 rng(5114);
  for (int round = 0; round < 400; ++round) {
    const WrapRules r = RandomWrapRules(rng);
    const std::string text = RandomWrapText(rng, 200);
    Wrapped w(text, r);
    std::vector<std::pair<std::string, int>> lines;
    for (const CDocLine* line = w.doc.GetFirstLine(); line; line = line->m_pNext) {
      int len = 0;
      const char* p = line->GetText(&len);
      lines.emplace_back(std::string(p, len), line->m_cLineEnd.GetCode());
    }
    int endState = 0;
    std::vector<PieceRecord> expected = ReferenceWrapper(r).Wrap(lines, &endState);
    std::vector<PieceRecord> got = Pieces(w.wrap);
    for (PieceRecord& p : got) p.eol = 0;
    ASSERT_EQ(got, expected) << "round " << round << " width " << r.wrap << " tab " << r.tab << " indent "
                             << r.indent << " word " << r.word;
    ASSERT_EQ(w.wrap.GetEndColorState(), endState) << "round " << round;
  }
}

}  // namespace
