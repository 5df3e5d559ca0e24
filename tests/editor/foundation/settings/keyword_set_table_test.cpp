#include "editor/foundation/settings/keyword_set_table.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/sjis_literal.h"

namespace {

// The table is as big as its place in the shared record; tests keep it on the heap, zero-filled as
// a fresh mapping is.
std::unique_ptr<CKeywordSetTable> NewTable() {
  auto table = std::make_unique<CKeywordSetTable>();
  std::memset(static_cast<void*>(table.get()), 0, sizeof(CKeywordSetTable));
  return table;
}

int Find(CKeywordSetTable& t, int set, const char* word) {
  return t.Find(set, word, static_cast<int>(std::strlen(word)));
}

TEST(CKeywordSetTable, AZeroFilledAreaIsAnEmptyTable) {
  auto t = NewTable();
  EXPECT_EQ(t->GetSetCount(), 0);
  EXPECT_EQ(t->GetFreeSpace(), CKeywordSetTable::kPoolEntries);
  EXPECT_EQ(t->GetSetName(0), nullptr);
  EXPECT_EQ(t->AddKeyword(0, "if"), 1);
  EXPECT_EQ(Find(*t, 0, "if"), -1);
}

TEST(CKeywordSetTable, SetsAreLimitedAndSpaceComesInBlocks) {
  auto t = NewTable();
  ASSERT_TRUE(t->AddSet("C", true, 1));
  EXPECT_EQ(t->GetSetSpace(0), 50);
  for (int i = 1; i < 25; ++i) ASSERT_TRUE(t->AddSet(("set" + std::to_string(i)).c_str(), false));
  EXPECT_FALSE(t->AddSet("26th", false));
  EXPECT_EQ(t->GetSetCount(), 25);
  EXPECT_EQ(t->GetFreeSpace(), 15000 - 25 * 50);
  // A name longer than 32 bytes is cut.
  EXPECT_STREQ(t->SetSetName(3, std::string(40, 'n').c_str()), std::string(32, 'n').c_str());
  EXPECT_EQ(t->SetSetName(25, "x"), nullptr);
}

TEST(CKeywordSetTable, AddKeywordCodes) {
  auto t = NewTable();
  ASSERT_TRUE(t->AddSet("basic", false));
  EXPECT_EQ(t->AddKeyword(0, "Print"), 0);
  EXPECT_EQ(t->AddKeyword(0, "Print"), 4);
  EXPECT_EQ(t->AddKeyword(0, "PRINT"), 0);  // exact comparison, even in a case-insensitive set
  EXPECT_EQ(t->AddKeyword(0, ""), 3);
  EXPECT_EQ(t->AddKeyword(0, nullptr), 3);
  EXPECT_EQ(t->AddKeyword(1, "x"), 1);
  EXPECT_EQ(t->AddKeyword(-1, "x"), 1);
  const std::string seventy(70, 'k');
  EXPECT_EQ(t->AddKeyword(0, seventy.c_str()), 0);
  EXPECT_EQ(std::string(t->GetKeyword(0, 2)), std::string(63, 'k'));
  EXPECT_EQ(t->AddKeyword(0, seventy.c_str()), 4);  // the cut text is already there
  EXPECT_EQ(t->GetKeyword(0, 3), nullptr);
  EXPECT_EQ(t->GetKeyword(0, -1), nullptr);
}

TEST(CKeywordSetTable, AFullPoolStillTakesKeywordsIntoFreeSpaceOfTheSet) {
  auto t = NewTable();
  ASSERT_TRUE(t->AddSet("big", true, 14900));
  ASSERT_TRUE(t->AddSet("small", true, 50));
  for (int i = 0; i < 49; ++i) ASSERT_EQ(t->AddKeyword(1, ("w" + std::to_string(i)).c_str()), 0);
  ASSERT_TRUE(t->AddSet("third", true, 1));
  ASSERT_EQ(t->GetFreeSpace(), 0);
  EXPECT_FALSE(t->ResizeSetSpace(0, 14901));  // no block left to grow by
  EXPECT_TRUE(t->CanAddKeyword(1));           // 49 of 50
  EXPECT_EQ(t->AddKeyword(1, "w49"), 0);
  EXPECT_FALSE(t->CanAddKeyword(1));
  EXPECT_EQ(t->AddKeyword(1, "w50"), 2);
  EXPECT_FALSE(t->ResizeSetSpace(1, 51));
  EXPECT_FALSE(t->ResizeSetSpace(1, -1));
  EXPECT_EQ(t->GetKeywordCount(1), 50);
}

TEST(CKeywordSetTable, ResizingMovesTheLaterSets) {
  auto t = NewTable();
  ASSERT_TRUE(t->AddSet("a", true));
  ASSERT_TRUE(t->AddSet("b", true));
  ASSERT_EQ(t->AddKeyword(1, "beta"), 0);
  ASSERT_TRUE(t->ResizeSetSpace(0, 120));
  EXPECT_EQ(t->GetSetSpace(0), 150);
  EXPECT_STREQ(t->GetKeyword(1, 0), "beta");
  ASSERT_TRUE(t->ResizeSetSpace(0, 0));
  EXPECT_STREQ(t->GetKeyword(1, 0), "beta");
  EXPECT_EQ(t->GetFreeSpace(), 15000 - 50);
}

TEST(CKeywordSetTable, FindFoldsAsciiCaseOnlyInCaseInsensitiveSets) {
  auto t = NewTable();
  ASSERT_TRUE(t->AddSet("ci", false));
  ASSERT_TRUE(t->AddSet("cs", true));
  for (const char* w : {"while", "if", "else", "elseif", "\x82\x60"}) {  // Ａ
    ASSERT_EQ(t->AddKeyword(0, w), 0);
    ASSERT_EQ(t->AddKeyword(1, w), 0);
  }
  struct Case {
    const char* name;
    int set;
    const char* word;
    int length;
    bool found;
  } cases[] = {
      {"same word in capitals", 0, "WHILE", 5, true},
      {"first four letters", 0, "WHILE", 4, false},
      {"prefix of a longer keyword", 0, "else", 4, true},
      {"the longer keyword", 0, "ELSEIF", 6, true},
      {"longer than every keyword", 0, "elseifs", 7, false},
      {"capitals in a case-sensitive set", 1, "WHILE", 5, false},
      {"exact in a case-sensitive set", 1, "while", 5, true},
      {"full-width letters keep their case", 0, "\x82\x81", 2, false},
      {"full-width letter itself", 0, "\x82\x60", 2, true},
  };
  for (const Case& c : cases) {
    const int index = t->Find(c.set, c.word, c.length);
    EXPECT_EQ(index >= 0, c.found) << c.name;
    if (index >= 0) {
      EXPECT_EQ(static_cast<int>(std::strlen(t->GetKeyword(c.set, index))), c.length) << c.name;
    }
  }
  EXPECT_EQ(t->Find(2, "if", 2), -1);
}

TEST(CKeywordSetTable, DeletingASetMovesTheLaterOnesDownWhole) {
  auto t = NewTable();
  ASSERT_TRUE(t->AddSet("zero", true));
  ASSERT_TRUE(t->AddSet("one", false, 120));
  ASSERT_TRUE(t->AddSet("two", true));
  ASSERT_EQ(t->AddKeyword(0, "gone"), 0);
  for (const char* w : {"Alpha", "Be", "Longestword"}) ASSERT_EQ(t->AddKeyword(1, w), 0);
  for (const char* w : {"x", "yy"}) ASSERT_EQ(t->AddKeyword(2, w), 0);
  ASSERT_GE(Find(*t, 1, "be"), 0);  // set 1 is sorted now, set 2 not
  t->m_nCurrentSet = 2;
  ASSERT_TRUE(t->DeleteSet(0));
  EXPECT_EQ(t->GetSetCount(), 2);
  EXPECT_STREQ(t->GetSetName(0), "one");
  EXPECT_STREQ(t->GetSetName(1), "two");
  EXPECT_FALSE(t->IsCaseSensitive(0));
  EXPECT_TRUE(t->IsCaseSensitive(1));
  EXPECT_EQ(t->GetKeywordCount(0), 3);
  EXPECT_EQ(t->GetSetSpace(0), 150);
  EXPECT_EQ(t->m_bSorted[0], 1);
  EXPECT_EQ(t->m_bSorted[1], 0);
  EXPECT_GE(Find(*t, 0, "LONGESTWORD"), 0);
  EXPECT_GE(Find(*t, 1, "yy"), 0);
  EXPECT_EQ(t->m_nCurrentSet, 1);
  EXPECT_EQ(t->GetFreeSpace(), 15000 - 200);
  EXPECT_FALSE(t->DeleteSet(2));
  ASSERT_TRUE(t->DeleteSet(1));
  ASSERT_TRUE(t->DeleteSet(0));
  EXPECT_EQ(t->m_nCurrentSet, 0);  // never -1
  EXPECT_EQ(t->GetFreeSpace(), 15000);
}

TEST(CKeywordSetTable, UpdateAndDeleteKeywords) {
  auto t = NewTable();
  ASSERT_TRUE(t->AddSet("s", true));
  EXPECT_EQ(t->DeleteKeyword(0, 0), 3);
  EXPECT_EQ(t->DeleteKeyword(1, 0), 1);
  for (int i = 0; i < 60; ++i) ASSERT_EQ(t->AddKeyword(0, ("k" + std::to_string(i)).c_str()), 0);
  EXPECT_EQ(t->GetSetSpace(0), 100);
  EXPECT_EQ(t->UpdateKeyword(0, 0, "k1"), nullptr);  // already a keyword of the set
  EXPECT_EQ(t->UpdateKeyword(0, 60, "new"), nullptr);
  EXPECT_EQ(t->UpdateKeyword(0, 0, ""), nullptr);
  EXPECT_STREQ(t->UpdateKeyword(0, 0, "new"), "new");
  EXPECT_EQ(t->DeleteKeyword(0, 60), 2);
  for (int i = 0; i < 10; ++i) ASSERT_EQ(t->DeleteKeyword(0, 0), 0);
  EXPECT_EQ(t->GetKeywordCount(0), 50);
  EXPECT_EQ(t->GetSetSpace(0), 50);
  EXPECT_STREQ(t->GetKeyword(0, 0), "k10");
  EXPECT_STREQ(t->GetKeyword(0, 49), "k59");
}

TEST(CKeywordSetTable, FillingASetCutsLongWords) {
  auto t = NewTable();
  ASSERT_TRUE(t->AddSet("tab", true));
  ASSERT_TRUE(t->AddSet("array", true));
  const std::string longWord(80, 'q');
  const std::string text = "alpha\tbeta\t\t" + longWord + "\tgamma\tdelta";
  EXPECT_EQ(t->SetKeywordsFromTabText(0, 4, text.c_str()), 4);
  ASSERT_EQ(t->GetKeywordCount(0), 4);
  EXPECT_STREQ(t->GetKeyword(0, 1), "beta");
  EXPECT_EQ(std::string(t->GetKeyword(0, 2)), std::string(63, 'q'));
  EXPECT_STREQ(t->GetKeyword(0, 3), "gamma");
  const char* words[] = {"one", longWord.c_str(), nullptr, "three"};
  EXPECT_EQ(t->SetKeywordsFromArray(1, 4, words), 4);
  ASSERT_EQ(t->GetKeywordCount(1), 3);
  EXPECT_EQ(std::string(t->GetKeyword(1, 1)), std::string(63, 'q'));
  EXPECT_STREQ(t->GetKeyword(1, 2), "three");
  EXPECT_EQ(t->SetKeywordsFromArray(1, 20000, words), 0);  // the space is not free
  EXPECT_EQ(t->SetKeywordsFromTabText(5, 1, "x"), 0);
}

// A word cut to an entry's 63 bytes keeps whole characters, whichever way it comes in.
TEST(CKeywordSetTable, CutWordsEndOnAWholeCharacter) {
  const std::string kanji = "漢"_sj;
  const std::string split = std::string(62, 'a') + kanji;  // the character's second byte would be the 64th
  const std::string fits = std::string(61, 'a') + kanji;   // 63 bytes: stays whole
  struct Case {
    const char* name;
    const std::string& word;
    std::string stored;
  } cases[] = {
      {"a character across the limit goes", split, std::string(62, 'a')},
      {"a character ending at the limit stays", fits, fits},
  };
  using Store = const char* (*)(CKeywordSetTable&, const std::string&);
  const std::pair<const char*, Store> ways[] = {
      {"AddKeyword",
       [](CKeywordSetTable& t, const std::string& w) { return t.AddKeyword(0, w.c_str()) == 0 ? t.GetKeyword(0, 0) : nullptr; }},
      {"UpdateKeyword",
       [](CKeywordSetTable& t, const std::string& w) {
         return t.AddKeyword(0, "old") == 0 ? t.UpdateKeyword(0, 0, w.c_str()) : nullptr;
       }},
      {"SetKeywordsFromTabText",
       [](CKeywordSetTable& t, const std::string& w) {
         return t.SetKeywordsFromTabText(0, 1, (w + "\t").c_str()) == 1 ? t.GetKeyword(0, 0) : nullptr;
       }},
      {"SetKeywordsFromArray",
       [](CKeywordSetTable& t, const std::string& w) {
         const char* words[] = {w.c_str()};
         return t.SetKeywordsFromArray(0, 1, words) == 1 ? t.GetKeyword(0, 0) : nullptr;
       }},
  };
  for (const auto& [way, store] : ways) {
    for (const Case& c : cases) {
      auto t = NewTable();
      ASSERT_TRUE(t->AddSet("s", true));
      const char* stored = store(*t, c.word);
      ASSERT_NE(stored, nullptr) << way << ": " << c.name;
      EXPECT_EQ(std::string(stored), c.stored) << way << ": " << c.name;
    }
  }
}

// Counts near the largest int from a caller are refused and leave the table as it was; they
// once wrapped to a negative space and the fill wrote before the pool.
TEST(CKeywordSetTable, HugeCountsAreRefusedWithoutTouchingThePool) {
  auto t = NewTable();
  ASSERT_TRUE(t->AddSet("first", true, 0));  // as the settings file adds a set it gives no words
  ASSERT_TRUE(t->AddSet("second", true));
  ASSERT_EQ(t->AddKeyword(1, "kept"), 0);
  const char* words[] = {"a", "b"};
  struct Case {
    const char* name;
    bool done;
  } cases[] = {
      {"fill from tab text", t->SetKeywordsFromTabText(0, INT_MAX - 10, "a\tb") != 0},
      {"fill from an array", t->SetKeywordsFromArray(0, INT_MAX, words) != 0},
      {"fill one past the pool", t->SetKeywordsFromArray(0, CKeywordSetTable::kPoolEntries + 1, words) != 0},
      {"resize", t->ResizeSetSpace(0, INT_MAX - 1)},
      {"resize to the largest int", t->ResizeSetSpace(0, INT_MAX)},
      {"a set that large", t->AddSet("huge", true, INT_MAX - 20)},
  };
  for (const Case& c : cases) EXPECT_FALSE(c.done) << c.name;
  EXPECT_EQ(t->GetSetCount(), 2);
  EXPECT_EQ(t->GetSetSpace(0), 0);
  EXPECT_EQ(t->GetKeywordCount(0), 0);
  EXPECT_STREQ(t->GetKeyword(1, 0), "kept");
  EXPECT_EQ(t->GetFreeSpace(), CKeywordSetTable::kPoolEntries - 50);

  // A later set's start beyond the pool's end (another process wrote it) is not moved by the
  // growth, which would take it past the largest int.
  ASSERT_TRUE(t->AddSet("third", true));
  ASSERT_EQ(t->AddKeyword(2, "last"), 0);
  t->m_nStart[2] = INT_MAX;
  EXPECT_FALSE(t->ResizeSetSpace(0, 120));
  EXPECT_EQ(t->m_nStart[2], INT_MAX);
  t->m_nStart[2] = 50;
  EXPECT_TRUE(t->ResizeSetSpace(0, 120));
  EXPECT_STREQ(t->GetKeyword(1, 0), "kept");
  EXPECT_STREQ(t->GetKeyword(2, 0), "last");
}

TEST(CKeywordSetTable, CleanUpRemovesWhatCannotBeShownAndDuplicates) {
  auto t = NewTable();
  ASSERT_TRUE(t->AddSet("ci", false));
  ASSERT_TRUE(t->AddSet("kanji", true));
  for (const char* w : {"Foo", "foo", "FOO", "bar-baz", "$var", "@at", "ok_1"}) ASSERT_EQ(t->AddKeyword(0, w), 0);
  ASSERT_EQ(t->AddKeyword(1, "表示"_sj), 0);
  EXPECT_EQ(t->CleanUpSet(0), 3);  // two of the three foos and bar-baz
  std::vector<std::string> kept;
  for (int i = 0; i < t->GetKeywordCount(0); ++i) kept.push_back(t->GetKeyword(0, i));
  EXPECT_EQ(kept.size(), 4u);
  EXPECT_EQ(std::count_if(kept.begin(), kept.end(), [](const std::string& s) { return s == "bar-baz"; }), 0);
  EXPECT_GE(Find(*t, 0, "fOO"), 0);
  EXPECT_EQ(t->CleanUpSet(1), 1);
  EXPECT_EQ(t->GetKeywordCount(1), 0);
}

TEST(CKeywordSetTable, CorruptCountsFromAnotherProcessAreNeverUsedAsIndexes) {
  auto t = NewTable();
  ASSERT_TRUE(t->AddSet("s", true));
  ASSERT_EQ(t->AddKeyword(0, "ok"), 0);
  t->m_nKeywordCount[0] = 100000;  // more than the set's space
  EXPECT_EQ(t->GetKeywordCount(0), 50);
  t->m_nStart[1] = 20000;  // past the pool
  EXPECT_EQ(t->GetKeywordCount(0), 0);
  EXPECT_EQ(Find(*t, 0, "ok"), -1);
  EXPECT_EQ(t->AddKeyword(0, "x"), 1);
  t->m_nSetCount = 1000;
  EXPECT_EQ(t->GetSetCount(), 25);
  t->m_nStart[25] = -5;
  EXPECT_EQ(t->GetFreeSpace(), 0);
  EXPECT_FALSE(t->AddSet("more", true));
}

TEST(CKeywordSetTable, TwoLockHoldersSortingOneSetLeaveItWhole) {
  // Each thread has its own lock file open, so the two conflict as two processes would.
  for (int round = 0; round < 20; ++round) {
    auto t = NewTable();
    ASSERT_TRUE(t->AddSet("race", false, 2000));
    std::vector<std::string> words;
    for (int i = 0; i < 2000; ++i) words.push_back("kw" + std::to_string((i * 7919) % 2000));
    for (const std::string& w : words) ASSERT_EQ(t->AddKeyword(0, w.c_str()), 0);
    int found[2] = {-1, -1};
    std::thread a([&] { found[0] = Find(*t, 0, "kw1999"); });
    std::thread b([&] { found[1] = Find(*t, 0, "KW0"); });
    a.join();
    b.join();
    EXPECT_GE(found[0], 0);
    EXPECT_GE(found[1], 0);
    ASSERT_EQ(t->GetKeywordCount(0), 2000);
    for (int i = 0; i < 2000; ++i) {
      ASSERT_GE(Find(*t, 0, ("kw" + std::to_string(i)).c_str()), 0) << "lost kw" << i << " in round " << round;
    }
  }
}

}  // namespace
