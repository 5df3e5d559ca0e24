#include "sdk/framework/ini_profile.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "current_dir_scope.h"
#include "read_only_folder.h"
#include "scoped_temp_dir.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries EntriesOf(const CIniSection& s) { return Entries(s.entries.begin(), s.entries.end()); }

class IniProfileTest : public testing::Test {
 protected:
  IniProfileTest() : m_scope(m_folder.path().string()) {}
  ScopedTempDir m_folder;
  CurrentDirScope m_scope;
};

TEST_F(IniProfileTest, LinesAreParsedByTheSectionAndEntryRules) {
  m_folder.Write("a.ini",
                 "//comment=1\r\n"
                 "orphan=before any section\r\n"
                 "[main]\r\n"
                 "key=a=b\r\n"
                 " spaced = v \r\n"
                 "dup=first\r\n"
                 "dup=second\r\n"
                 "[a]b]\r\n"
                 "[a=b]\r\n"
                 "no equals here\r\n"
                 "\r\n"
                 "[]\r\n"
                 "empty=section\r\n"
                 "[main]\r\n"
                 "other=x\r\n"
                 "[a\x81\x5D]\r\n"  // the trail byte of the last character is "]"
                 "lone=x\ry\r\n"
                 "last=no line end");
  CIniProfile ini;
  ASSERT_TRUE(ini.ReadProfile("a.ini"));
  EXPECT_EQ(ini.GetPath(), "a.ini");
  const auto& s = ini.GetSections();
  ASSERT_EQ(s.size(), 4u);
  EXPECT_EQ(s[0].name, "main");
  EXPECT_EQ(EntriesOf(s[0]), (Entries{{" spaced ", " v "}, {"[a", "b]"}, {"dup", "first"}, {"key", "a=b"}}));
  EXPECT_EQ(s[1].name, "");
  EXPECT_EQ(EntriesOf(s[1]), (Entries{{"empty", "section"}}));
  EXPECT_EQ(s[2].name, "main");
  EXPECT_EQ(EntriesOf(s[2]), (Entries{{"other", "x"}}));
  EXPECT_EQ(s[3].name, "a\x81\x5D");
  EXPECT_EQ(EntriesOf(s[3]), (Entries{{"last", "no line end"}, {"lone", "x\ry"}}));

  std::string value = "unchanged";
  EXPECT_TRUE(ini.GetEntry("main", "other", value));  // found in the second "main"
  EXPECT_EQ(value, "x");
  EXPECT_FALSE(ini.GetEntry("main", "missing", value));
  EXPECT_FALSE(ini.GetEntry("Main", "key", value));
  EXPECT_EQ(value, "x");
  ini.SetEntry("main", "other", "y");  // the first "main" gets it
  ini.SetEntry("new", "k", "v");
  EXPECT_EQ(s[0].entries.at("other"), "y");
  EXPECT_EQ(s[2].entries.at("other"), "x");
  ASSERT_EQ(s.size(), 5u);
  EXPECT_EQ(s[4].name, "new");
}

TEST_F(IniProfileTest, WrittenWithCrLfKeysInByteOrderAndTheComment) {
  CIniProfile ini(false);
  ini.SetEntry("s", "Key[2]", "two");
  ini.SetEntry("s", "Key[010]", "ten");
  ini.SetEntry("s", "Key[10]", "x");
  ini.SetEntry("s", "Key[1]", "one");
  ini.SetEntry("s", "Key10", "p");
  ini.SetEntry("s", "Key1", "q");         // a key before the longer ones it begins
  ini.SetEntry("s", "\x82\xA0", "kana");  // bytes above 0x7F sort after ASCII
  ini.SetEntry("s", "z", "");
  ini.SetEntry("t", "k", "v");
  ASSERT_TRUE(ini.WriteProfile("out.ini", "header"));
  EXPECT_EQ(
      m_folder.Read("out.ini"),
      "//header\r\n\r\n"
      "[s]\r\nKey1=q\r\nKey10=p\r\nKey[010]=ten\r\nKey[10]=x\r\nKey[1]=one\r\nKey[2]=two\r\nz=\r\n\x82\xA0=kana\r\n\r\n"
      "[t]\r\nk=v\r\n\r\n");
  ASSERT_TRUE(ini.WriteProfile(nullptr, nullptr));  // the same file again, without the header
  EXPECT_TRUE(m_folder.Read("out.ini").starts_with("[s]\r\n"));
  CIniProfile back;
  ASSERT_TRUE(back.ReadProfile("out.ini"));
  std::string value;
  ASSERT_TRUE(back.GetEntry("s", "Key[010]", value));
  EXPECT_EQ(value, "ten");  // no CR left in values
  ASSERT_TRUE(back.GetEntry("s", "z", value));
  EXPECT_EQ(value, "");
}

// A line feed inside a value or a comment is a line end on disk like any other: CR LF, never a
// bare LF, and the lone CR of a value stays as it is.
TEST_F(IniProfileTest, ALineFeedInsideAValueIsWrittenAsCrLf) {
  CIniProfile ini(false);
  ini.SetEntry("s", "multi", "one\ntwo\n\nthree\rfour");
  ini.SetEntry("s", "tail", "x\n");
  ASSERT_TRUE(ini.WriteProfile("lf.ini", "a\nb"));
  EXPECT_EQ(m_folder.Read("lf.ini"),
            "//a\r\nb\r\n\r\n"
            "[s]\r\nmulti=one\r\ntwo\r\n\r\nthree\rfour\r\ntail=x\r\n\r\n\r\n");
}

TEST_F(IniProfileTest, ALineAcrossTheReadChunksIsWhole) {
  // The CR of the line end is the 2048th byte, its LF the first of the next chunk.
  const std::string value(2048 - 8, 'v');
  m_folder.Write("long.ini", "[s]\r\nk=" + value + "\r\nnext=1\r\n");
  CIniProfile ini;
  ASSERT_TRUE(ini.ReadProfile("long.ini"));
  std::string got;
  ASSERT_TRUE(ini.GetEntry("s", "k", got));
  EXPECT_EQ(got, value);
  ASSERT_TRUE(ini.GetEntry("s", "next", got));
  EXPECT_EQ(got, "1");
}

TEST_F(IniProfileTest, ReadingAddsToWhatIsHeldAndAMissingFileChangesNothing) {
  m_folder.Write("a.ini", "[s]\r\nk=file\r\nonly=in the file\r\n");
  CIniProfile ini;
  ini.SetEntry("s", "k", "held");
  EXPECT_FALSE(ini.ReadProfile("missing.ini"));
  EXPECT_EQ(ini.GetPath(), "missing.ini");
  ASSERT_EQ(ini.GetSections().size(), 1u);
  ASSERT_TRUE(ini.ReadProfile("a.ini"));
  ASSERT_EQ(ini.GetSections().size(), 2u);
  std::string value;
  ASSERT_TRUE(ini.GetEntry("s", "k", value));
  EXPECT_EQ(value, "held");
  // The second "s", read after the first was looked up, is looked in too.
  ASSERT_TRUE(ini.GetEntry("s", "only", value));
  EXPECT_EQ(value, "in the file");
}

TEST_F(IniProfileTest, TypedValuesBothWays) {
  m_folder.Write("t.ini",
                 "[v]\r\nb_empty=\r\nb_zero=0\r\nb_two=2\r\nb_00=00\r\n"
                 "d=12abc\r\nd_neg=-7\r\nd_empty=\r\nd_huge=99999999999\r\n"
                 "w=70000\r\nc=xy\r\nc_empty=\r\n");
  CIniProfile ini;
  ASSERT_TRUE(ini.ReadProfile("t.ini"));
  struct BoolCase {
    const char* key;
    bool found;
    uint8_t value;
  };
  for (const BoolCase& c : {BoolCase{"b_empty", true, 1},
                            {"b_zero", true, 0},
                            {"b_two", true, 1},
                            {"b_00", true, 1},
                            {"missing", false, 7}}) {
    uint8_t v = 7;
    EXPECT_EQ(ini.IOProfileBool("v", c.key, &v), c.found) << c.key;
    EXPECT_EQ(v, c.value) << c.key;
  }
  struct DataCase {
    const char* key;
    int32_t value;
  };
  for (const DataCase& c : {DataCase{"d", 12}, {"d_neg", -7}, {"d_empty", 0}, {"d_huge", INT32_MAX}}) {
    int32_t v = 5;
    EXPECT_TRUE(ini.IOProfileData("v", c.key, &v));
    EXPECT_EQ(v, c.value) << c.key;
  }
  uint16_t w = 0;
  EXPECT_TRUE(ini.IOProfileWord("v", "w", &w));
  EXPECT_EQ(w, 70000 & 0xFFFF);
  char c = 'q';
  EXPECT_TRUE(ini.IOProfileChar("v", "c", &c));
  EXPECT_EQ(c, 'x');
  EXPECT_TRUE(ini.IOProfileChar("v", "c_empty", &c));
  EXPECT_EQ(c, 0);

  ini.SetReadMode(false);
  uint8_t one = 1, two = 2;
  int32_t negative = -123;
  uint16_t word = 65535;
  char none = 0, letter = 'Z';
  EXPECT_TRUE(ini.IOProfileBool("w", "one", &one));
  EXPECT_TRUE(ini.IOProfileBool("w", "two", &two));
  EXPECT_TRUE(ini.IOProfileData("w", "neg", &negative));
  EXPECT_TRUE(ini.IOProfileWord("w", "word", &word));
  EXPECT_TRUE(ini.IOProfileChar("w", "none", &none));
  EXPECT_TRUE(ini.IOProfileChar("w", "letter", &letter));
  EXPECT_EQ(EntriesOf(ini.GetSections().back()),
            (Entries{{"letter", "Z"}, {"neg", "-123"}, {"none", ""}, {"one", "1"}, {"two", "0"}, {"word", "65535"}}));
}

// The walk is in key order whenever it is made: keys set after an earlier walk take their places
// among those walked, whether they come after the last, before the first or between keys that share
// their first bytes; a key set again keeps its place with its new value. The steps are walked one
// after the other, and after each the walk holds every key so far, in byte order.
TEST_F(IniProfileTest, TheWalkTakesInKeysSetAfterAnEarlierWalk) {
  using namespace std::string_literals;
  const struct {
    const char* name;
    std::vector<std::vector<std::string>> steps;
  } cases[] = {
      {"in order, then after the last", {{"a", "b"}, {"c", "d"}}},
      {"in order, then before the first", {{"b", "c"}, {"a"}}},
      {"out of order, walked again with nothing new", {{"c", "a", "b"}, {}}},
      {"after the last, then one out of order", {{"a"}, {"b", "c", "ab"}}},
      {"sharing their first eight bytes",
       {{"nKeywordSelect3", "nKeywordSelect10", "nKeywordSelect"}, {"nKeywordSelect2", "nKeywordSelect1"}}},
      {"a zero byte and bytes above 0x7F among the first eight",
       {{"k\0b"s, "k", "k\0a"s, "k\xFF", "k\x80"}, {"k\x7F", "k\0"s}}},
      {"a key set again", {{"b", "a"}, {"b", "c"}}},
  };
  for (const auto& c : cases) {
    CIniProfile ini(false);
    std::map<std::string, std::string> expected;  // keys in byte order, as the walk must give them
    for (size_t step = 0; step < c.steps.size(); ++step) {
      for (const std::string& key : c.steps[step]) {
        const std::string value = "v" + std::to_string(step);
        ini.SetEntry("s", key, value);
        expected[key] = value;
      }
      ASSERT_EQ(ini.GetSections().size(), expected.empty() ? 0u : 1u) << c.name;
      EXPECT_EQ(EntriesOf(ini.GetSections()[0]), Entries(expected.begin(), expected.end()))
          << c.name << ", after step " << step;
    }
  }
}

TEST_F(IniProfileTest, StringsStayInsideTheCallersBuffer) {
  CIniProfile ini;
  ini.SetEntry("s", "long", std::string(100, 'a'));
  char buffer[96];
  std::memset(buffer, 'x', sizeof(buffer));
  EXPECT_TRUE(ini.IOProfileString("s", "long", buffer, 80));
  EXPECT_EQ(std::string(buffer), std::string(79, 'a'));
  EXPECT_EQ(buffer[80], 'x');
  std::memset(buffer, 'x', sizeof(buffer));
  EXPECT_FALSE(ini.IOProfileString("s", "long", buffer, 0));  // no size, nothing written
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_FALSE(ini.IOProfileString("s", "missing", buffer, 80));
  EXPECT_EQ(buffer[0], 'x');
  ini.SetReadMode(false);
  char unterminated[4] = {'a', 'b', 'c', 'd'};
  EXPECT_TRUE(ini.IOProfileString("s", "text", unterminated, sizeof(unterminated)));
  std::string value;
  ASSERT_TRUE(ini.GetEntry("s", "text", value));
  EXPECT_EQ(value, "abcd");
  // Writing needs no bound: the text ends at its terminator.
  char text[] = "settings";
  EXPECT_TRUE(ini.IOProfileString("s", "unbounded", text, 0));
  ASSERT_TRUE(ini.GetEntry("s", "unbounded", value));
  EXPECT_EQ(value, "settings");
}

TEST_F(IniProfileTest, AFailedWriteKeepsTheOldFile) {
  m_folder.Write("ro/scene.ini", "[s]\r\nk=old\r\n");
  CIniProfile ini;
  ASSERT_TRUE(ini.ReadProfile("ro\\scene.ini"));
  ini.SetEntry("s", "k", "new");
  {
    ReadOnlyFolderScope readOnly(m_folder.path().string(), m_folder.File("ro"));
    if (!readOnly.effective()) GTEST_SKIP() << "this process can write into read-only folders";
    EXPECT_FALSE(ini.WriteProfile(nullptr, "comment"));
  }
  EXPECT_EQ(m_folder.Read("ro/scene.ini"), "[s]\r\nk=old\r\n");
  EXPECT_EQ(m_folder.List("ro"), std::vector<std::string>{"scene.ini"});
  EXPECT_FALSE(CIniProfile().WriteProfile(nullptr, nullptr));  // no file named at all
}

}  // namespace

// Callers parse values with the C library, which reads up to a zero byte: every value found ends
// with one, also one set again over a longer value, and one read from a file whose last line has
// no line end.
TEST_F(IniProfileTest, EveryValueFoundEndsWithAZeroByte) {
  m_folder.Write("a.ini", "[s]\r\nn=12345678\r\nlast=7");
  CIniProfile profile;
  ASSERT_TRUE(profile.ReadProfile("a.ini"));
  profile.SetEntry("s", "n", "5");
  profile.SetEntry("s", "new", "-3");
  const struct {
    const char* key;
    const char* value;
  } cases[] = {{"n", "5"}, {"last", "7"}, {"new", "-3"}};
  for (const auto& c : cases) {
    const std::optional<std::string_view> found = profile.FindEntry("s", c.key);
    ASSERT_TRUE(found) << c.key;
    EXPECT_EQ(*found, c.value) << c.key;
    EXPECT_EQ(found->data()[found->size()], '\0') << c.key;
    EXPECT_EQ(std::atoi(found->data()), std::atoi(c.value)) << c.key;
  }
}
