#include "editor/foundation/ui/file_filter_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sjis_literal.h"

namespace {

// The NUL-separated texts up to the empty one that ends the list; the list's total length too.
std::vector<std::string> Texts(const char* filter, size_t* total = nullptr) {
  std::vector<std::string> out;
  const char* p = filter;
  while (*p) {
    out.emplace_back(p);
    p += out.back().size() + 1;
  }
  if (total) *total = static_cast<size_t>(p - filter) + 1;
  return out;
}

TEST(FileFilterListTest, MakeWildcards) {
  struct Case {
    const char* list;
    const char* wildcards;
  };
  const std::vector<Case> cases = {
      {"c cpp .h", "*.c;*.cpp;*.h"},
      {"txt, log;.ini", "*.txt;*.log;*.ini"},
      {"  ;,txt;; ", "*.txt"},
      {"", ""},
      {" ,; ", ""},
  };
  for (const Case& c : cases) {
    std::string out = "stale";
    CFileFilterList::MakeWildcards(c.list, out);
    EXPECT_EQ(out, c.wildcards) << c.list;
  }
  // Extensions with Japanese names keep their characters whole.
  std::string out;
  CFileFilterList::MakeWildcards("表 txt"_sj, out);
  EXPECT_EQ(out, "*.表;*.txt"_sj);
}

TEST(FileFilterListTest, EntriesWithoutADescriptionOrPatternsAreRefused) {
  CFileFilterList list;
  EXPECT_FALSE(list.AddEntry("", "*.txt"));
  EXPECT_FALSE(list.AddEntry(nullptr, "*.txt"));
  EXPECT_FALSE(list.AddEntry("Text", ""));
  EXPECT_FALSE(list.AddEntry("Text", nullptr));
  EXPECT_FALSE(list.AddExtensions("Nothing", " ;, "));
  EXPECT_EQ(list.GetCount(), 0);
  // With no entries the filter is two NULs.
  const char* filter = list.BuildFilterString();
  EXPECT_EQ(filter[0], '\0');
  EXPECT_EQ(filter[1], '\0');
}

TEST(FileFilterListTest, BuildsDescriptionAndPatternPairs) {
  CFileFilterList list;
  EXPECT_TRUE(list.AddEntry("テキストファイル"_sj, "*.txt"));
  EXPECT_TRUE(list.AddExtensions("C|C++", "c cpp"));  // "|" is a character of the name
  size_t total = 0;
  EXPECT_EQ(Texts(list.BuildFilterString(), &total),
            (std::vector<std::string>{"テキストファイル (*.txt)"_sj, "*.txt", "C|C++ (*.c;*.cpp)", "*.c;*.cpp"}));
  EXPECT_EQ(total, std::string("テキストファイル (*.txt)"_sj).size() + 1 + 6 + 18 + 10 + 1);
}

TEST(FileFilterListTest, LongTextsAreCutOnWholeCharacters) {
  CFileFilterList list;
  // 62 bytes, then a double-byte character that would end at byte 64.
  const std::string description = std::string(62, 'd') + "表"_sj;
  const std::string patterns = std::string(191, 'p') + "表"_sj;
  ASSERT_TRUE(list.AddEntry(description.c_str(), patterns.c_str()));
  const auto texts = Texts(list.BuildFilterString());
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1], std::string(191, 'p'));
  EXPECT_EQ(texts[0], std::string(62, 'd') + " (" + std::string(191, 'p') + ")");
}

TEST(FileFilterListTest, TheFilterStaysWithin4096BytesLeavingOutWhatDoesNotFit) {
  CFileFilterList list;
  const std::string patterns(150, 'p');
  for (int i = 0; i < 20; ++i) list.AddEntry(("type" + std::to_string(i)).c_str(), patterns.c_str());
  list.AddEntry("last", "*.z");  // short enough to fit after the long ones stop fitting
  size_t total = 0;
  const auto texts = Texts(list.BuildFilterString(), &total);
  EXPECT_LE(total + 1, 4096u);
  ASSERT_EQ(texts.size() % 2, 0u);
  const size_t pairs = texts.size() / 2;
  EXPECT_LT(pairs, 21u);
  EXPECT_EQ(texts[2 * pairs - 2], "last (*.z)");
  for (size_t i = 0; i + 1 < pairs; ++i) EXPECT_EQ(texts[2 * i], "type" + std::to_string(i) + " (" + patterns + ")");
}

}  // namespace
