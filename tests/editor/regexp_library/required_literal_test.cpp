#include "editor/regexp_library/required_literal.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "editor/foundation/settings/regexp_library_api.h"
#include "editor/regexp_library/regexp_engine.h"
#include "platform/sjis_literal.h"

namespace tovara_regexp {
namespace {

TEST(RequiredLiteral, OfEachPattern) {
  struct Case {
    std::string pattern;
    std::string literal;  // empty: none
  };
  const Case cases[] = {
      {"麒麟"_sj, "麒麟"_sj},
      {"[0-9]+年"_sj, "年"_sj},
      {"[0-9]{4}年[0-9]{1,2}月"_sj, "年"_sj},  // the first of two as long
      {"^abc", "abc"},
      {"error", "error"},
      {"\\bword\\b", "word"},
      {"x*abc", "abc"},
      {"ab?cd", "cd"},
      {"ab{2}cd", "cd"},
      {"a+?bcd", "bcd"},
      {"(abc)+?d", "abc"},
      {"(abc){2}?d", "abc"},
      {"(abc)++?d", "d"},  // a possessive repetition made optional
      {"(abc){2}+?d", "d"},
      {"(abc){1,2}??d", "d"},
      {"(abc)+d", "abc"},
      {"(?:ab)(cd)", "abcd"},
      {"(?<name>ab)c", "abc"},
      {"(?>abc)d", "abcd"},
      {"(a?){3}a{3}", "a"},
      {"abc|def", ""},
      {"(abc|abd)x", "x"},
      {"(abc)?d", "d"},
      {"(abc)*", ""},
      {"a{0}bc", "bc"},
      {"a(?=bcd)e", "a"},
      {"(?<=abc)de", "de"},
      {"(?<!abc)de", "de"},
      {"a\\Kbcd", "bcd"},
      {"(ab)\\1cd", "ab"},
      {"\\012abc", "abc"},
      {"\\d+-\\d+", "-"},
      {"a\\.b\\$", "a.b$"},
      {"\\\\", "\\"},
      {"\\t\\r\\n", "\t\r\n"},
      {"[ab]cd[ef]", "cd"},
      {"[\\]]bc", "bc"},
      {"[表]xy"_sj, "xy"},     // the class ends after the character whose trail byte is 0x5C
      {"[\x83\x5D]xy", "xy"},  // and after one whose trail byte is "]"
      {"表x"_sj, "表x"_sj},
      {"表*x"_sj, "x"},    // a repetition takes the whole character
      {"\x81(", "\x81("},  // a lead byte takes the next byte, whatever it is
      // Given up on: whatever could be read in more than one way.
      {"(?i)abc", ""},
      {"(?i:abc)", ""},
      {"(?x)a b c", ""},
      {"x(?#c)y", ""},
      {"\\Qa.b\\E", ""},
      {"\\x41bc", ""},
      {"\\p{Alpha}abc", ""},
      {"\\k<n>abc", ""},
      {"\\cAabc", ""},
      {"[]a]bc", ""},
      {"[^]a]bc", ""},
      {"[[:alpha:]]bc", ""},
      {"[a[b]]cd", ""},
      {"[\\c]]bc", ""},
      {"a{,2}bc", ""},
      {"a{x}bc", ""},
      {"(?(1)ab|cd)", ""},
      {"(*FAIL)abc", ""},
      {"\\表abc"_sj, ""},
      {"(abc", ""},
      {"abc)", ""},
      {"\x81", ""},
      {"", ""},
      {std::string(100, '(') + "abc" + std::string(100, ')'), ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RequiredLiteral(c.pattern).literal, c.literal) << c.pattern;
  }
}

// The members of a set, as text: "0-9" for a run of three or more.
std::string Members(const ByteSet& set) {
  std::string text;
  for (int c = 0; c < 256; ++c) {
    if (!set[c]) continue;
    int last = c;
    while (last + 1 < 256 && set[last + 1]) ++last;
    text += static_cast<char>(c);
    if (last >= c + 2) text += '-';
    if (last >= c + 1) text += static_cast<char>(last);
    c = last;
  }
  return text;
}

std::vector<std::string> Members(const std::vector<ByteSet>& sets) {
  std::vector<std::string> texts;
  for (const ByteSet& set : sets) texts.push_back(Members(set));
  return texts;
}

TEST(RequiredLiteral, BytesBesideTheLiteral) {
  struct Case {
    std::string pattern;
    bool ignoreCase;
    std::string literal;
    std::vector<std::string> before;  // nearest first
    std::vector<std::string> after;
  };
  using V = std::vector<std::string>;
  const std::string nen = "年"_sj;
  const Case cases[] = {
      {"[0-9]{3}。"_sj, false, "。"_sj, {"0-9", "0-9", "0-9"}, {}},
      {"q[0-9]", false, "q", {}, {"0-9"}},
      {"q[0-9]", true, "q", {}, {"0-9"}},
      {"[0-9]+年"_sj, false, nen, {"0-9"}, {}},
      {"[0-9]{2,}年"_sj, false, nen, {"0-9", "0-9"}, {}},
      {"[0-9]{4}年[0-9]{1,2}月"_sj, false, nen, {"0-9", "0-9", "0-9", "0-9"}, {"0-9"}},
      {"ab{2}cd", false, "cd", {"b", "b", "a"}, {}},
      {"ab{2}cd", true, "cd", {"Bb", "Bb", "Aa"}, {}},
      {"x[a-c_]Y", true, "x", {}, {"A-C_a-c", "Yy"}},
      {"\\d+-\\d+", false, "-", {"0-9"}, {"0-9"}},
      {"a(?=bcd)e", false, "a", {}, {"e"}},
      {"a\\Kbcd", false, "bcd", {"a"}, {}},
      {"\\bword\\b", false, "word", {}, {}},
      {"x\\b[0-9]", false, "x", {}, {"0-9"}},
      {"^[0-9]abc$", false, "abc", {"0-9"}, {}},
      {"表[0-9]"_sj, false, "表"_sj, {}, {"0-9"}},
      {"[ab]表"_sj, true, "表"_sj, {"ABab"}, {}},
      {"a+表"_sj, true, "表"_sj, {"Aa"}, {}},  // the trail byte of a double-byte character is never folded
      {"表a"_sj, true, "表a"_sj, {}, {}},
      {"[-a]bc", false, "bc", {"-a"}, {}},
      {"[a-]bc", false, "bc", {"-a"}, {}},
      {"[\\-z]bc", false, "bc", {"-z"}, {}},
      {"[\\d\\t]bc", false, "bc", {"\t0-9"}, {}},
      {"(?:[0-9]x)+yz", false, "yz", {"x", "0-9"}, {}},
      {"(x[0-9])+y", false, "x", {}, {"0-9"}},  // within one repetition
      {"(ab){2}c", false, "ab", {}, {}},
      {"[x]{20}y", false, "y", V(16, "x"), {}},  // at most sixteen
      // Nothing beside it where a part may take more than one width, no time, or a set not read here.
      {"[0-9]*年"_sj, false, nen, {}, {}},
      {"[0-9]?年"_sj, false, nen, {}, {}},
      {"x[0-9]{1,2}y[0-9]", false, "x", {}, {"0-9"}},
      {".年"_sj, false, nen, {}, {}},
      {"[^0-9]年"_sj, false, nen, {}, {}},
      {"[０-９]年"_sj, false, nen, {}, {}},
      {"[a-b-c]年"_sj, false, nen, {}, {}},
      {"[--a]年"_sj, false, nen, {}, {}},
      {"[a&&b]年"_sj, false, nen, {}, {}},
      {"[\\w]年"_sj, false, nen, {}, {}},
      {"\\w年"_sj, false, nen, {}, {}},
      {"(a|b)年"_sj, false, nen, {}, {}},
      {"(?<=[0-9])年"_sj, false, nen, {}, {}},
      {"[0-9]{0}年"_sj, false, nen, {}, {}},
  };
  for (const Case& c : cases) {
    const RequiredText required = RequiredLiteral(c.pattern, c.ignoreCase);
    EXPECT_EQ(required.literal, c.literal) << c.pattern;
    EXPECT_EQ(Members(required.before), c.before) << c.pattern;
    EXPECT_EQ(Members(required.after), c.after) << c.pattern;
  }
}

TEST(LiteralScan, FindsTheLiteralOnlyWhereACharacterStarts) {
  struct Case {
    const char* name;
    std::string literal;
    bool ignoreCase;
    std::string text;
    size_t from;
    bool found;
  };
  const std::string nen = "年"_sj;  // 0x94 0x4E
  const Case cases[] = {
      {"at a character", nen, false, "\x89\x94" + nen, 0, true},
      {"its bytes across a trail byte and an N", nen, false, "\x89\x94N", 0, false},
      {"after a run of lead bytes", nen, false, "\x94\x94N", 0, false},
      {"after a pair of lead bytes", nen, false, "\x94\x94" + nen, 0, true},
      {"a byte that cannot be a trail byte after a lead byte", " }", false, "\xF7\xF3\xF3 }", 0, true},
      {"a search starting inside a character takes the bytes", nen, false, "\x89\x94N", 1, true},
      {"a search starting on a character counts from there", nen, false, "xx\x89\x94N", 2, false},
      {"before the search", "ab", false, "abx", 1, false},
      {"one past the end", "ab", false, "a", 0, false},
      {"case counts", "ab", false, "xAB", 0, false},
      {"case ignored", "ab", true, "xAB", 0, true},
      {"no folding of a trail byte", "\x8B\x69", true, "\x8B\x49", 0, false},
      {"no folding of other bytes", "@", true, "`", 0, false},
  };
  for (const Case& c : cases) {
    const LiteralScan scan(c.literal, c.ignoreCase);
    EXPECT_EQ(scan.Occurs(c.text.data(), c.text.data() + c.from, c.text.data() + c.text.size()), c.found) << c.name;
  }
  // Every place in texts of every length up to past a few blocks of sixteen.
  for (const std::string literal : {"Q", "QR", "QRSTUVWXYZ"}) {
    const LiteralScan scan(literal, false);
    for (size_t length = 0; length < 70; ++length) {
      const std::string filler(length, '.');
      EXPECT_FALSE(scan.Occurs(filler.data(), filler.data(), filler.data() + length)) << literal << " " << length;
      for (size_t at = 0; at + literal.size() <= length; ++at) {
        std::string text = filler;
        text.replace(at, literal.size(), literal);
        EXPECT_TRUE(scan.Occurs(text.data(), text.data(), text.data() + length))
            << literal << " " << length << " " << at;
        // Cut by one byte at the end, or searched from one past its start, it is gone.
        EXPECT_FALSE(scan.Occurs(text.data(), text.data(), text.data() + at + literal.size() - 1));
        EXPECT_FALSE(scan.Occurs(text.data(), text.data() + at + 1, text.data() + length));
      }
    }
  }
}

TEST(LiteralScan, TheBytesBesideTheLiteralLieInTheSearch) {
  struct Case {
    const char* name;
    std::string pattern;
    bool ignoreCase;
    std::string text;
    size_t from;
    bool found;
  };
  const std::string stop = "。"_sj;  // 0x81 0x42
  const Case cases[] = {
      {"all at the line's start", "[0-9]{3}。"_sj, false, "123" + stop, 0, true},
      {"one byte short of it", "[0-9]{3}。"_sj, false, "23" + stop, 0, false},
      {"a byte before the search", "[0-9]{3}。"_sj, false, "123" + stop, 1, false},
      {"a byte outside the set", "[0-9]{3}。"_sj, false, "1x3" + stop, 0, false},
      {"the second place fits", "[0-9]{3}。"_sj, false, "x" + stop + "456" + stop, 0, true},
      {"at the line's end", "q[0-9]", false, "abq7", 0, true},
      {"past the line's end", "q[0-9]", false, "abq", 0, false},
      {"the second place at the end", "q[0-9]", false, "qxq1", 0, true},
      {"a digit after a trail byte q", "q[0-9]", false, "\x89q1", 0, false},
      {"either case of the literal and the set", "x[a-c]", true, "--Xb", 0, true},
      {"case counts", "x[a-c]", false, "--xB", 0, false},
  };
  for (const Case& c : cases) {
    const LiteralScan scan(RequiredLiteral(c.pattern, c.ignoreCase), c.ignoreCase);
    EXPECT_EQ(scan.Occurs(c.text.data(), c.text.data() + c.from, c.text.data() + c.text.size()), c.found) << c.name;
  }
}

TEST(PrefilterGate, PausesWhileThePrefilterPassesOverTooFewLines) {
  PrefilterGate gate;
  // One line in sixteen passed over pays: the gate stays open.
  for (unsigned i = 0; i < 10 * PrefilterGate::kWindow; ++i) {
    ASSERT_TRUE(gate.Open()) << i;
    gate.Record(i % PrefilterGate::kWorthIt == 0);
  }
  // A window with one line too few passed over closes it for the pause, and then it tries again.
  for (unsigned i = 0; i < PrefilterGate::kWindow; ++i) {
    ASSERT_TRUE(gate.Open());
    gate.Record(i < PrefilterGate::kWindow / PrefilterGate::kWorthIt - 1);
  }
  for (unsigned i = 0; i < PrefilterGate::kPause; ++i) ASSERT_FALSE(gate.Open()) << i;
  EXPECT_TRUE(gate.Open());
}

// A match and a global substitution of one pattern, compiled once, through the entry points that
// see the whole line.
class Search {
 public:
  Search(const std::string& pattern, const std::string& options)
      : m_match("m\xFF" + pattern + "\xFF" + options), m_subst("s\xFF" + pattern + "\xFF<$&|$1>\xFF" + options + "g") {}
  ~Search() {
    BRegfree(m_matchRecord);
    BRegfree(m_substRecord);
  }

  struct Outcome {
    int match = 0;
    std::vector<long> groups;  // start and end of each group from the line's start, -1 when none
    int substituted = 0;
    std::string output;
    bool operator==(const Outcome&) const = default;
  };

  Outcome Run(const std::string& line, size_t from) {
    Outcome outcome;
    char msg[kBRegexpMessageSize] = {};
    const char* s = line.data();
    const char* end = s + line.size();
    outcome.match = BMatchEx(m_matchRecord ? nullptr : m_match.c_str(), s, s + from, end, &m_matchRecord, msg);
    if (outcome.match > 0) {
      for (int i = 0; i <= m_matchRecord->nparens; ++i) {
        outcome.groups.push_back(m_matchRecord->startp[i] ? m_matchRecord->startp[i] - s : -1);
        outcome.groups.push_back(m_matchRecord->endp[i] ? m_matchRecord->endp[i] - s : -1);
      }
    }
    outcome.substituted = BSubstEx(m_substRecord ? nullptr : m_subst.c_str(), s, s + from, end, &m_substRecord, msg);
    if (outcome.substituted > 0) outcome.output.assign(m_substRecord->outp, m_substRecord->outendp);
    return outcome;
  }

 private:
  std::string m_match;
  std::string m_subst;
  BREGEXP* m_matchRecord = nullptr;
  BREGEXP* m_substRecord = nullptr;
};

std::string Show(const std::string& bytes) {
  std::string shown;
  for (unsigned char c : bytes) {
    char hex[8];
    std::snprintf(hex, sizeof(hex), c >= 0x20 && c < 0x7F ? "%c" : "\\x%02X", c);
    shown += hex;
  }
  return shown;
}

// Lines made of pieces of the literals, their other cases, bytes that make them up across
// characters, line ends and lone lead bytes, searched with and without the prefilter.
TEST(LiteralPrefilter, ResultsAreTheEnginesAlone) {
  const std::vector<std::string> patterns = {
      "麒麟"_sj, "[0-9]+年"_sj, "^abc", "abc$", "error", "abc|def", "(abc|abd)x", "ab?c", "(abc)+d", "(?<n>ab)c",
      "a(?=bcd)e", "(?<=abc)de", "\\d+-\\d+", "a\\.b", "[ab]cd[ef]", "\\\\", "表"_sj, "ソ"_sj, "N", "n", "ab{2}cd",
      "(a?){3}a{3}", "a+?bc", "(a)\\1b", "a\\Kbc", "(?>abc)d", "\\bword\\b", "[0-9]{4}年[0-9]{1,2}月"_sj, "Ａ"_sj, " 1",
      "x*", "^$", "abc([\\r\\n]+)$", "\\x41",
      // With bytes required beside the literal.
      "q[0-9]", "[0-9]{3}。"_sj, "x[a-c]{2}", "[-a]b", "a\\Kb[0-9]", "(?:[0-9]x)+y", "\\d{2}年"_sj, "[0-9]年\\b"_sj};
  const std::vector<std::string> pieces = {
      "麒麟"_sj, "麒"_sj, "麟"_sj, "年"_sj, "月"_sj, "\x89\x94", "N",  "n",     "abc",   "ABC", "aBc",   "abd",
      "de",      "def",   "error", "ERROR", "ErRoR", "x",        "d",  "e",     "表"_sj, "\\",  "ソ"_sj, "\x83",
      "-",       "12",    "2024",  "word",  " ",     "\r\n",     "\n", "a",     "aa",    "b",   "bb",    "bcd",
      "a.b",     "Ａ"_sj, "ａ"_sj, "\x81",  "q",     "q1",       "Q2", "。"_sj, "123",   "xAb", "-b",    "x"};
  std::mt19937 rng(932);
  std::vector<std::string> lines = {"", "\x81", "abc\r\n", "\x89\x94N", "\x94\x94N", "aaa", "\xF7\xF3\xF3 1",
                                    // the literal and the bytes beside it at the line's edges
                                    "q1", "xq", "123" + std::string("。"_sj), "12" + std::string("。"_sj), "\x89q1",
                                    "XBC", "-b"};
  for (int i = 0; i < 300; ++i) {
    std::string line;
    const int count = static_cast<int>(rng() % 12);
    for (int k = 0; k < count; ++k) line += pieces[rng() % pieces.size()];
    lines.push_back(line);
  }
  int compared = 0;
  int matched = 0;
  for (const std::string& pattern : patterns) {
    for (const char* options : {"k", "ki", "kmi"}) {
      Search search(pattern, options);
      for (const std::string& line : lines) {
        for (const size_t from : {size_t{0}, size_t{1}, line.size() / 2, line.size()}) {
          if (from > line.size()) continue;
          SetPrefilter(Prefilter::kNever);
          const Search::Outcome alone = search.Run(line, from);
          SetPrefilter(Prefilter::kAlways);
          const Search::Outcome filtered = search.Run(line, from);
          EXPECT_EQ(filtered, alone) << Show(pattern) << " /" << options << " on " << Show(line) << " from " << from
                                     << ": " << filtered.match << " against " << alone.match;
          ++compared;
          if (alone.match > 0) ++matched;
        }
      }
    }
  }
  SetPrefilter(Prefilter::kWhilePaying);
  // Enough of both kinds to tell.
  EXPECT_GT(matched, compared / 20);
  EXPECT_LT(matched, compared / 2);
}

}  // namespace
}  // namespace tovara_regexp
