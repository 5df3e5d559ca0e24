#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "editor/foundation/settings/regexp_library_api.h"
#include "platform/sjis_literal.h"

namespace {

// A record freed at the end of each test.
struct Record {
  BREGEXP* rx = nullptr;
  char msg[kBRegexpMessageSize] = {};
  ~Record() { BRegfree(rx); }
  int Match(const char* command, const std::string& text) {
    return BMatch(command, text.data(), text.data() + text.size(), &rx, msg);
  }
  int Subst(const char* command, const std::string& text) {
    return BSubst(command, text.data(), text.data() + text.size(), &rx, msg);
  }
  std::string Output() const { return std::string(rx->outp, rx->outendp); }
  std::string Group(const std::string& text, int n) const {
    (void)text;
    return rx->startp[n] ? std::string(rx->startp[n], rx->endp[n]) : std::string("<null>");
  }
};

std::string Cmd(std::initializer_list<std::string> fields) {
  std::string s;
  for (const std::string& f : fields) {
    if (!s.empty()) s += '\xFF';
    s += f;
  }
  return s;
}

TEST(RegexpLibrary, CommandFormsAndReplacementElements) {
  struct Case {
    const char* name;
    std::string command;
    std::string target;
    int result;
    std::string output;  // of a substitution
  };
  const std::string hyou = "表"_sj;  // trail byte 0x5C
  const std::string so = "ソ"_sj;
  const Case cases[] = {
      {"0xFF match", Cmd({"m", "b+", "k"}), "abbc", 1, ""},
      {"0xFF match, none", Cmd({"m", "x", "k"}), "abbc", 0, ""},
      {"slash match", "/b+/k", "abbc", 1, ""},
      {"m slash match", "m/b+/", "abbc", 1, ""},
      {"m hash match with a slash in it", "m#a/b#k", "a/b", 1, ""},
      {"escaped delimiter", "m/a\\/b/k", "xa/b", 1, ""},
      {"0xFF substitution", Cmd({"s", "b+", "X", "k"}), "abbcb", 1, "aXcb"},
      {"global substitution", Cmd({"s", "b", "X", "kg"}), "abbcb", 3, "aXXcX"},
      {"slash substitution", "s/(a)(b)/$2$1/k", "xab", 1, "xba"},
      {"escaped delimiter in a replacement", "s/a/\\//k", "xab", 1, "x/b"},
      {"whole match", Cmd({"s", "b+", "[$&|$0]", "k"}), "abbc", 1, "a[bb|bb]c"},
      {"ten groups and $10", Cmd({"s", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", "$10$1", "k"}), "abcdefghij", 1, "ja"},
      {"$1 before a digit is ${1}", Cmd({"s", "(a)", "${1}0", "k"}), "a", 1, "a0"},
      {"group beyond the pattern", Cmd({"s", "(a)", "[$2$9${12}]", "k"}), "a", 1, "[]"},
      {"unmatched group", Cmd({"s", "(x)?a", "[$1]", "k"}), "a", 1, "[]"},
      {"literal dollars", Cmd({"s", "a", "$ $x ${ ${a} $", "k"}), "a", 1, "$ $x ${ ${a} $"},
      {"escapes", Cmd({"s", "a", "\\\\\\$1\\n\\r\\t\\q", "k"}), "a", 1, "\\$1\n\r\t\\q"},
      {"kanji with trail 0x5C before $", Cmd({"s", "(a)", hyou + "$1", "k"}), "a", 1, hyou + "a"},
      {"lone lead byte before a reference", Cmd({"s", "(a)", "\x81$1", "k"}), "a", 1,
       "\x81"
       "a"},
      {"kanji with trail 0x5C before the delimiter", "s/" + hyou + "/" + so + "/k", "x" + hyou, 1, "x" + so},
      {"kanji with trail 0x5C ending a pattern", "m/" + hyou + "/k", hyou, 1, ""},
      {"unknown option", "/a/kx", "a", -1, ""},
      {"no closing delimiter", "/abc", "abc", -1, ""},
      {"not a command", "abc", "abc", -1, ""},
      {"bad pattern", "/a(/k", "a(", -1, ""},
  };
  for (const Case& c : cases) {
    Record r;
    const bool substitute = c.command[0] == 's';
    const int got = substitute ? r.Subst(c.command.c_str(), c.target) : r.Match(c.command.c_str(), c.target);
    EXPECT_EQ(got, c.result) << c.name << ": " << r.msg;
    if (got > 0 && substitute) {
      EXPECT_EQ(r.Output(), c.output) << c.name;
    }
    if (got < 0) {
      EXPECT_NE(r.msg[0], 0) << c.name;
      EXPECT_EQ(r.rx, nullptr) << c.name;
    }
  }
}

TEST(RegexpLibrary, MatchPointersPointIntoTheCallersText) {
  Record r;
  const std::string text = "key = value";
  ASSERT_EQ(r.Match("/(\\w+) = (x)?(\\w+)/k", text), 1);
  ASSERT_EQ(r.rx->nparens, 3);
  EXPECT_EQ(r.rx->startp[0], text.data());
  EXPECT_EQ(r.rx->endp[0], text.data() + text.size());
  EXPECT_EQ(r.Group(text, 1), "key");
  EXPECT_EQ(r.rx->startp[2], nullptr);
  EXPECT_EQ(r.rx->endp[2], nullptr);
  EXPECT_EQ(r.Group(text, 3), "value");
}

TEST(RegexpLibrary, GlobalEmptyMatchesStepOverWholeKanji) {
  Record r;
  const std::string text = "表a漢"_sj;
  ASSERT_EQ(r.Subst(Cmd({"s", "x*", "-", "kg"}).c_str(), text), 4);
  EXPECT_EQ(r.Output(), "-" + std::string("表"_sj) + "-a-" + std::string("漢"_sj) + "-");
}

TEST(RegexpLibrary, NoOneBytePatternMatchesATrailByte) {
  const std::string text = "表能ソ"_sj;  // trail bytes 0x5C
  for (const char* command : {"/\\\\/k", "/[\\\\]/k", "/\\x5C/k"}) {
    Record r;
    EXPECT_EQ(r.Match(command, text), 0) << command << ": " << r.msg;
  }
  Record r;
  const std::string at = "\x82\x40";  // 0x40 "@" as a trail byte
  EXPECT_EQ(r.Match("/@/k", at), 0);
}

TEST(RegexpLibrary, OptionLetters) {
  struct Case {
    const char* name;
    const char* command;
    std::string target;
    int result;
  } cases[] = {
      {"i folds ASCII", "/abc/ki", "xABCx", 1},
      {"without i case counts", "/abc/k", "xABCx", 0},
      {"i leaves full-width letters", "/\x82\x81/ki", "\x82\x60", 0},  // a and A, full width
      {"^ at a line break with m", "/^b/km", "a\nb", 1},
      {"^ only at the start without m", "/^b/k", "a\nb", 0},
      {"$ before a line break with m", "/a$/km", "a\nb", 1},
      {"dot stops at a line break with m", "/a.b/km", "a\nb", 0},
      {"\\w matches Japanese letters", "/^\\w+$/k", "漢字かな"_sj, 1},
  };
  for (const Case& c : cases) {
    Record r;
    EXPECT_EQ(r.Match(c.command, c.target), c.result) << c.name << ": " << r.msg;
  }
}

TEST(RegexpLibrary, TheSameCommandReusesItsCompiledPattern) {
  Record r;
  const std::string text = "abc";
  ASSERT_EQ(r.Match("/b/k", text), 1);
  BREGEXP* first = r.rx;
  const char** starts = r.rx->startp;
  EXPECT_EQ(r.Match("/b/k", text), 1);
  EXPECT_EQ(r.Match(nullptr, text), 1);
  EXPECT_EQ(r.rx, first);
  EXPECT_EQ(r.rx->startp, starts);  // not compiled again
  EXPECT_EQ(r.Match("/(b)(c)/k", text), 1);
  EXPECT_EQ(r.rx, first);  // the record stays, its pattern is new
  EXPECT_EQ(r.rx->nparens, 2);
  Record none;
  EXPECT_LT(none.Match(nullptr, text), 0);
}

TEST(RegexpLibrary, ExFormsSeeTheLineFromItsStart) {
  Record r;
  const std::string line = "abcabc";
  const char* s = line.data();
  EXPECT_EQ(BMatchEx("/^abc/k", s, s + 3, s + line.size(), &r.rx, r.msg), 0);
  EXPECT_EQ(BMatch("/^abc/k", s + 3, s + line.size(), &r.rx, r.msg), 1);
  EXPECT_EQ(BMatchEx("/(?<=c)a/k", s, s + 3, s + line.size(), &r.rx, r.msg), 1);
  EXPECT_EQ(r.rx->startp[0], s + 3);
  ASSERT_EQ(BSubstEx(Cmd({"s", "(?<=c)a", "X", "kg"}).c_str(), s, s + 1, s + line.size(), &r.rx, r.msg), 1);
  EXPECT_EQ(r.Output(), "bcXbc");  // the target with its substitution, not the line
}

TEST(RegexpLibrary, VersionAndUnusedEntryPoints) {
  EXPECT_NE(std::strstr(BRegexpVersion(), "Oniguruma"), nullptr);
  char msg[kBRegexpMessageSize] = {};
  BREGEXP* rx = nullptr;
  const char target[] = "a";
  EXPECT_EQ(BTrans("tr/a/b/", target, target + 1, &rx, msg), -1);
  EXPECT_NE(msg[0], 0);
  msg[0] = 0;
  EXPECT_EQ(BSplit("/,/", target, target + 1, 0, &rx, msg), -1);
  EXPECT_NE(msg[0], 0);
  EXPECT_EQ(rx, nullptr);
}

// Repeated empty iterations before a fixed count make the engine report group 1 ending before it
// starts; the group took part in nothing, and its reference expands to nothing.
TEST(RegexpLibrary, AGroupReportedBackwardsTookNoPart) {
  const std::string text = "aaa";
  Record m;
  ASSERT_EQ(m.Match("/(a?){3}a{3}/k", text), 1) << m.msg;
  EXPECT_EQ(m.rx->startp[1], nullptr);
  EXPECT_EQ(m.rx->endp[1], nullptr);
  Record s;
  ASSERT_EQ(s.Subst("s/(a*){3}a{3}/[$1]/k", text), 1) << s.msg;
  EXPECT_EQ(s.Output(), "[]");
  Record ex;
  ASSERT_EQ(BSubstEx("s/(a|){3}a{3}/[$1]/kg", text.data(), text.data(), text.data() + 3, &ex.rx, ex.msg), 1) << ex.msg;
  EXPECT_EQ(ex.Output(), "[]");
}

// With \K in a look-behind the match starts before the search's start; what lies before the target
// (or was replaced already) is never copied again.
TEST(RegexpLibrary, AMatchStartingBeforeTheSearchReplacesFromTheSearch) {
  const std::string line = "abab";
  const char* s = line.data();
  Record r;
  ASSERT_EQ(BSubstEx("s/(?<=\\Ka)b/X/k", s, s + 1, s + 4, &r.rx, r.msg), 1) << r.msg;
  EXPECT_EQ(r.Output(), "Xab");
  Record g;
  ASSERT_EQ(g.Subst("s/(?<=\\Ka)b/X/kg", line), 2) << g.msg;
  EXPECT_EQ(g.Output(), "XX");
  Record overlap;
  EXPECT_GT(overlap.Subst("s/(?<=\\K.)/X/kg", line), 0) << overlap.msg;
}

TEST(RegexpLibrary, HostilePatternsAndTargets) {
  // Nested quantifiers fail through the retry limit instead of running for ever.
  {
    Record r;
    const std::string text = std::string(5000, 'a') + "!";
    for (const char* command : {"/(a+)+$/k", "/^(a|aa)*$/k", "/(\\w+\\s?)*$/k"}) {
      EXPECT_LT(r.Match(command, text), 0) << command;
      EXPECT_NE(r.msg[0], 0) << command;
      EXPECT_LT(std::strlen(r.msg), 80u);
    }
  }
  // A lone lead byte last in an exact-size buffer is never read past.
  for (const char* command : {"/./k", "/../k", "/$/k", "/.$/k", "/.\\z/k", "/b\\W/k", "/\x81\x40/k", "/b\x81\x40/ki",
                              "/[\x81\x40-\x81\x49]/k", "/\\W$/k"}) {
    auto buffer = std::make_unique<char[]>(3);
    std::memcpy(buffer.get(), "ab\x81", 3);
    Record r;
    const int got = BMatch(command, buffer.get(), buffer.get() + 3, &r.rx, r.msg);
    EXPECT_GE(got, 0) << command << ": " << r.msg;
    Record s;
    const int replaced = BSubst(Cmd({"s", ".", "X", "kg"}).c_str(), buffer.get(), buffer.get() + 3, &s.rx, s.msg);
    ASSERT_GT(replaced, 0);
    EXPECT_EQ(s.Output(), std::string("XX\x81"));
  }
  // An empty target: a valid pointer with its end equal to its start.
  Record r;
  const char empty[1] = {0};
  EXPECT_EQ(BSubst(Cmd({"s", "^$", "E", "k"}).c_str(), empty, empty, &r.rx, r.msg), 1);
  EXPECT_EQ(std::string(r.rx->outp), "E");
  // Targets the wrong way round are an error, not a read.
  Record w;
  const std::string text = "abc";
  EXPECT_LT(BMatch("/a/k", text.data() + 2, text.data(), &w.rx, w.msg), 0);
  EXPECT_LT(BMatch("/a/k", text.data(), text.data() + 1, nullptr, w.msg), 0);
}

}  // namespace
