#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "editor/foundation/ui/system_utils.h"
#include "outline_fixture.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"

using namespace outline_kind;

namespace {

struct TextCase {
  const char* label;
  Parser parser;
  std::string text;
  std::vector<Entry> expected;
};

std::ostream& operator<<(std::ostream& os, const TextCase& c) { return os << c.label; }

class TextOutlineTest : public OutlineFixture, public testing::WithParamInterface<TextCase> {};

TEST_P(TextOutlineTest, FindsTheEntries) {
  EXPECT_EQ(Parse(GetParam().parser, GetParam().text), GetParam().expected);
  EXPECT_TRUE(NamesAreWholeCharacters(list));
}

const std::string kUntitled = "(無題)"_sj;

INSTANTIATE_TEST_SUITE_P(
    Texts, TextOutlineTest,
    testing::Values(
        TextCase{"TopicsBySameMark", ParseOutlineText, "■A\n(1)B\n(2)C\n■D\n"_sj,
                 {{"■A"_sj, 1, kPlain, 0}, {"(1)B", 2, kPlain, 1}, {"(2)C", 3, kPlain, 1}, {"■D"_sj, 4, kPlain, 0}}},
        TextCase{"TopicsByMarkFamily", ParseOutlineText,
                 "１．First\n　　①sub\n②sub2\n(a)x\nplain\n(-)no\n一、kanji\n二、kanji2\n"_sj,
                 {{"１．First"_sj, 1, kPlain, 0},
                  {"①sub"_sj, 2, kPlain, 1},
                  {"②sub2"_sj, 3, kPlain, 1},
                  {"(a)x", 4, kPlain, 2},
                  {"一、kanji"_sj, 7, kPlain, 3},
                  {"二、kanji2"_sj, 8, kPlain, 3}}},
        TextCase{"DottedHeadingsFillSkippedLevels", ParseOutlineWzText, ".A\n...B\nplain\n..C\n",
                 {{"1 - A", 1, kPlain, 0}, {kUntitled, 2, kPlaceholder, 1}, {"3 - B", 2, kPlain, 2}, {"2 - C", 4, kPlain, 1}}},
        TextCase{"HtmlClosingTagClosesWhatItHolds", ParseOutlineHtml, "<ul><li>x</ul>\n<p>after\n",
                 {{"ul ", 1, kPlain, 0}, {"li x", 1, kPlain, 1}, {"p after", 2, kPlain, 0}}},
        // A tag that goes on in the next line names no line end.
        TextCase{"HtmlTagOverTwoLines", ParseOutlineHtml, "<img src=a\r\n alt=b><meta x\n>\n",
                 {{"img src=a", 1, kPlain, 0}, {"meta x", 2, kPlain, 0}}},
        TextCase{"HtmlEmptyElementsAndComments", ParseOutlineHtml,
                 "<DIV>a</div><img src=a.png><br><hr/><span/>tail\n<!-- <h1>no</h1>\n --><h2>yes</h2>\n</nope><p>" +
                     std::string(40, 't') + "\n",
                 {{"DIV a", 1, kPlain, 0},
                  {"img src=a.png", 1, kPlain, 0},
                  {"hr/", 1, kPlain, 0},
                  {"span", 1, kPlain, 0},
                  {"h2 yes", 3, kPlain, 0},
                  {"p " + std::string(29, 't'), 4, kPlain, 0}}},
        TextCase{"TexNumbering", ParseOutlineTex, "\\section{A}\n\\subsection{B}\n\\section*{C}\n",
                 {{"1. A", 1, kPlain, 0}, {"1.1. B", 2, kPlain, 1}, {"C", 3, kPlain, 0}}},
        TextCase{"TexSkippedLevelKeepsEarlierCounter", ParseOutlineTex,
                 "\\section{A}\n\\subsection{B}\n\\section{C}\n\\subsubsection{D}\n",
                 {{"1. A", 1, kPlain, 0}, {"1.1. B", 2, kPlain, 1}, {"2. C", 3, kPlain, 0}, {"2.1.1. D", 4, kPlain, 2}}},
        TextCase{"TexLineBreakBeforeComment", ParseOutlineTex, "\\section{A}\\\\% \\section{no}\n",
                 {{"1. A", 1, kPlain, 0}}},
        TextCase{"TexLevelsSlidesAndComments", ParseOutlineTex,
                 "\\chapter{Intro} % \\section{no}\n\\section{S1}\n\\section{S2}\n\\subsubsection{Deep}\n"
                 "\\chapter{Next}\n\\begin{slide}{Slide title}\n\\textbf{x} 100\\% \\section{Pct}\n"
                 "\\section{\x83\x7b\x83\x7d}\n",
                 {{"1. Intro", 1, kPlain, 0},
                  {"1.1. S1", 2, kPlain, 1},
                  {"1.2. S2", 3, kPlain, 1},
                  {"1.2.0.1. Deep", 4, kPlain, 3},
                  {"2. Next", 5, kPlain, 0},
                  {"3. Slide title", 6, kPlain, 0},
                  {"3.1. Pct", 7, kPlain, 1},
                  {"3.2. \x83\x7b\x83\x7d", 8, kPlain, 1}}}),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.label); });

TEST_F(TextOutlineTest, TopicStackHoldsThirtyTwoKinds) {
  std::strcpy(common().szMidashiKigou, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij");
  std::string text;
  for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijA")) text += std::string(1, c) + "\n";
  const std::vector<Entry> entries = Parse(ParseOutlineText, text);
  ASSERT_EQ(entries.size(), 33u);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(entries[static_cast<size_t>(i)].depth, i);
  EXPECT_EQ(entries[32], (Entry{"A", 37, kPlain, 0}));
}

TEST_F(TextOutlineTest, HtmlNestingBeyondTheStackKeepsItsDepth) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "<div>\n";
  text += "<b>x</b>\n";
  for (int i = 0; i < 40; ++i) text += "</div>\n";
  text += "<p>z\n";
  const std::vector<Entry> entries = Parse(ParseOutlineHtml, text);
  ASSERT_EQ(entries.size(), 42u);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(entries[static_cast<size_t>(i)].depth, std::min(i, 32)) << i;
  EXPECT_EQ(entries[40], (Entry{"b x", 41, kPlain, 32}));
  EXPECT_EQ(entries[41], (Entry{"p z", 82, kPlain, 0}));
}

TEST_F(TextOutlineTest, HtmlEntriesTakeTheDisplayLineOfTheirTag) {
  Load("<i>y\n0123456789<b>x\n");
  ASSERT_TRUE(doc->m_cLayoutMgr.SetTabAndWrapWidth(nullptr, 4, 10));
  EXPECT_EQ(Run(ParseOutlineHtml), (std::vector<Entry>{{"i y", 1, kPlain, 0}, {"b x", 2, kPlain, 1}}));
  EXPECT_EQ(DisplayLines(), (std::vector<int>{1, 3}));
}

TEST_F(TextOutlineTest, BookmarkedLinesWithoutBlanks) {
  const std::string text = "  first  \n\nthird\t\r\n　　fourth　\n"_sj;
  for (const bool skipBlank : {false, true}) {
    common().bMarkUpBlankLineEnable = skipBlank;
    Load(text);
    for (const int line : {0, 1, 3}) doc->m_cDocLineMgr.GetLine(line)->SetBookmark(true);
    std::vector<Entry> expected = {{"first", 1, kPlain, 0}, {"", 2, kPlain, 0}, {"fourth", 4, kPlain, 0}};
    if (skipBlank) expected.erase(expected.begin() + 1);
    EXPECT_EQ(Run(ParseOutlineBookmarks), expected) << skipBlank;
  }
}

class RuleFileTest : public OutlineFixture {
 protected:
  std::string Write(const std::string& name, const std::string& text) {
    const std::string path = dir.path().string() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  void UseRuleFile(const std::string& path) {
    std::strcpy(record->TypeList[0].szOutlineRuleFilename, path.c_str());
  }
  ScopedTempDir dir;
};

TEST_F(RuleFileTest, MarksMakeHeadingsByGroup) {
  UseRuleFile(Write("rules.txt", "; comment\r\n■,□ /// group1\r\n● /// group2\r\n,,◆ /// group1\r\nnoseparator\r\n"_sj));
  EXPECT_EQ(Parse(ParseOutlineByRules, "■A\n　●B\n□C\n◆D\nplain\n●E\n"_sj),
            (std::vector<Entry>{{"■A"_sj, 1, kPlain, 0},
                                {"●B"_sj, 2, kPlain, 1},
                                {"□C"_sj, 3, kPlain, 0},
                                {"◆D"_sj, 4, kPlain, 0},
                                {"●E"_sj, 6, kPlain, 1}}));
}

TEST_F(RuleFileTest, RelativeNameIsTakenFromTheProgramsFolder) {
  const std::string name = "outline-rules-" + std::to_string(::getpid()) + ".txt";
  const std::string besideProgram = GetExeRelativePath(name.c_str());
  std::ofstream(besideProgram, std::ios::binary) << "\x81\xa1 /// g\n";
  UseRuleFile(name);
  const std::vector<Entry> entries = Parse(ParseOutlineByRules, "\x81\xa1x\n");
  std::remove(besideProgram.c_str());
  EXPECT_EQ(entries, (std::vector<Entry>{{"\x81\xa1x", 1, kPlain, 0}}));
}

TEST_F(RuleFileTest, MissingFileGivesNoRules) {
  UseRuleFile(dir.path().string() + "/absent.txt");
  EXPECT_TRUE(Parse(ParseOutlineByRules, "■A\n"_sj).empty());
  std::vector<OutlineRule> rules(4);
  EXPECT_EQ(ReadOutlineRuleFile((dir.path().string() + "/absent.txt").c_str(), rules), 0);
  EXPECT_EQ(ReadOutlineRuleFile("", rules), 0);
}

TEST_F(RuleFileTest, RulesStopAtTheArray) {
  std::string text;
  char mark[16];
  for (int i = 0; i < 2000; ++i) {
    std::snprintf(mark, sizeof mark, "<m%04d>", i);
    text += std::string(mark) + " /// g" + std::to_string(i % 3) + "\n";
  }
  UseRuleFile(Write("many.txt", text));
  std::vector<OutlineRule> rules(kMaxOutlineRules);
  ASSERT_EQ(ReadOutlineRuleFile((dir.path().string() + "/many.txt").c_str(), rules), kMaxOutlineRules);
  EXPECT_STREQ(rules.back().szText, "<m1023>");
  EXPECT_EQ(rules.back().nLength, 7);
  EXPECT_STREQ(rules.back().szGroupName, "g0");
  EXPECT_EQ(Parse(ParseOutlineByRules, "<m1023> in\n<m1024> out\n<m0001> in\n"),
            (std::vector<Entry>{{"<m1023> in", 1, kPlain, 0}, {"<m0001> in", 3, kPlain, 1}}));
}

TEST_F(RuleFileTest, RestOfAnOverLongLineIsDropped) {
  std::string longLine = std::string(kMaxOutlineRuleLine, 'x') + "■ /// far"_sj;
  longLine += std::string(20000 - longLine.size(), 'z');
  const std::string path = Write("long.txt", longLine + "\n● /// near\n"_sj);
  std::vector<OutlineRule> rules(8);
  ASSERT_EQ(ReadOutlineRuleFile(path.c_str(), rules), 1);
  EXPECT_STREQ(rules[0].szText, "●"_sj);
  EXPECT_STREQ(rules[0].szGroupName, "near");
}

TEST_F(RuleFileTest, MarksAndGroupsAreCutOnWholeCharacters) {
  // 128 two-byte characters, 256 bytes: the 255 kept would split the last, so 254 are.
  const std::string big = [] {
    std::string s;
    for (int i = 0; i < 128; ++i) s += "字"_sj;
    return s;
  }();
  const std::string path = Write("cut.txt", big + " /// " + big + "\n");
  std::vector<OutlineRule> rules(2);
  ASSERT_EQ(ReadOutlineRuleFile(path.c_str(), rules), 1);
  EXPECT_EQ(std::string(rules[0].szText), big.substr(0, 254));
  EXPECT_EQ(rules[0].nLength, 254);
  EXPECT_EQ(std::string(rules[0].szGroupName), big.substr(0, 254));
}

}  // namespace
