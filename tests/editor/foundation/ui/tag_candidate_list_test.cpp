#include "editor/foundation/ui/tag_candidate_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/sjis_literal.h"

namespace {

struct Entry {
  std::string keyword;
  std::string file;
  int line;
  bool operator==(const Entry&) const = default;
};

std::vector<Entry> Entries(const CTagCandidateList& list) {
  std::vector<Entry> out;
  char keyword[260];
  char file[260];
  int line = 0;
  for (int i = 0; list.GetAt(i, keyword, file, &line, nullptr, nullptr, nullptr); ++i) out.push_back({keyword, file, line});
  return out;
}

TEST(TagCandidateListTest, KeepsKeywordOrderAndEqualKeywordsInTheirOrderOfArrival) {
  CTagCandidateList list(10);
  EXPECT_TRUE(list.Add("b", "first.c", 1, 'f', "", 0));
  EXPECT_TRUE(list.Add("a", "a.c", 2, 'f', "", 0));
  EXPECT_TRUE(list.Add("b", "second.c", 3, 'f', "", 0));
  EXPECT_EQ(Entries(list), (std::vector<Entry>{{"a", "a.c", 2}, {"b", "first.c", 1}, {"b", "second.c", 3}}));
  EXPECT_FALSE(list.IsDropped());
}

TEST(TagCandidateListTest, ComparesWholeCharactersNotBytes) {
  // A half-width kana is one character below every double-byte one, though its byte is above
  // their lead bytes.
  CTagCandidateList list(10);
  list.Add("あ"_sj, "double", 1, 0, nullptr, 0);
  list.Add("ｱ"_sj, "kana", 2, 0, nullptr, 0);
  list.Add("A", "ascii", 3, 0, nullptr, 0);
  const auto entries = Entries(list);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].file, "ascii");
  EXPECT_EQ(entries[1].file, "kana");
  EXPECT_EQ(entries[2].file, "double");
}

TEST(TagCandidateListTest, OverCapacityDropsTheGreatestKeyword) {
  struct Case {
    const char* name;
    const char* fourth;
    std::vector<std::string> kept;
  };
  const std::vector<Case> cases = {
      {"an earlier entry goes", "b", {"a", "b", "c"}},
      {"the new entry itself goes", "z", {"a", "c", "d"}},
  };
  for (const Case& c : cases) {
    CTagCandidateList list(3);
    for (const char* k : {"d", "a", "c"}) list.Add(k, "f", 0, 0, "", 0);
    EXPECT_TRUE(list.Add(c.fourth, "f", 0, 0, "", 0)) << c.name;
    std::vector<std::string> kept;
    for (const Entry& e : Entries(list)) kept.push_back(e.keyword);
    EXPECT_EQ(kept, c.kept) << c.name;
    EXPECT_EQ(list.GetCount(), 3) << c.name;
    EXPECT_TRUE(list.IsDropped()) << c.name;
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0) << c.name;
    EXPECT_FALSE(list.IsDropped()) << c.name;
  }
}

TEST(TagCandidateListTest, GetAtOutsideTheListClearsEveryOutput) {
  CTagCandidateList list(5);
  list.Add("key", "file.c", 12, 'm', "note", 2);
  char keyword[260], file[260], note[260];
  int line = -1, type = -1, depth = -1;
  ASSERT_TRUE(list.GetAt(0, keyword, file, &line, &type, note, &depth));
  EXPECT_STREQ(note, "note");
  EXPECT_EQ(type, 'm');
  EXPECT_EQ(depth, 2);
  for (int i : {1, 5, -1}) {
    std::strcpy(keyword, "x");
    std::strcpy(file, "x");
    std::strcpy(note, "x");
    line = type = depth = -1;
    EXPECT_FALSE(list.GetAt(i, keyword, file, &line, &type, note, &depth)) << i;
    EXPECT_STREQ(keyword, "") << i;
    EXPECT_STREQ(file, "") << i;
    EXPECT_STREQ(note, "") << i;
    EXPECT_EQ(line, 0) << i;
    EXPECT_EQ(type, 0) << i;
    EXPECT_EQ(depth, 0) << i;
  }
  // Null outputs are allowed.
  EXPECT_TRUE(list.GetAt(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
}

TEST(TagCandidateListTest, TextsAreCutTo259BytesOnAWholeCharacter) {
  CTagCandidateList list(1);
  const std::string text = std::string(258, 'a') + "表"_sj;  // the character would end at 260
  list.Add(text.c_str(), text.c_str(), 0, 0, text.c_str(), 0);
  char keyword[260], file[260], note[260];
  ASSERT_TRUE(list.GetAt(0, keyword, file, nullptr, nullptr, note, nullptr));
  for (const char* out : {keyword, file, note}) EXPECT_EQ(std::string(out), std::string(258, 'a'));
}

}  // namespace
