#include "editor/foundation/text/word_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "editor/foundation/settings/regexp_dll.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/sjis_compare.h"
#include "platform/sjis_literal.h"

namespace {

int Len(const std::string& s) { return static_cast<int>(s.size()); }

// Lines cut after each line end.
void Load(CDocLineMgr& mgr, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    const int len = Len(line);
    int code = CLineEnd::NONE;
    if (len >= 2 && line.compare(len - 2, 2, "\r\n") == 0) {
      code = CLineEnd::CRLF;
    } else if (len >= 1 && line[len - 1] == '\n') {
      code = CLineEnd::LF;
    }
    mgr.AppendLine(line.data(), len, code);
  }
}

TEST(CharClass, OfEachKind) {
  const struct {
    const char* name;
    std::string text;
    int pos;
    int cls;
  } cases[] = {
      {"tab", "\t", 0, CharClass::kTab},
      {"CR", "\r", 0, CharClass::kCR},
      {"LF", "a\n", 1, CharClass::kLF},
      {"space", " ", 0, CharClass::kSpace},
      {"letter", "a", 0, CharClass::kAsciiWord},
      {"digit", "7", 0, CharClass::kAsciiWord},
      {"low line", "_", 0, CharClass::kAsciiWord},
      {"half-width katakana", "ｱ"_sj, 0, CharClass::kHalfWidth},
      {"half-width full stop", "｡"_sj, 0, CharClass::kHalfWidth},
      {"punctuation", "!", 0, CharClass::kOtherSingle},
      {"byte 0xA0", "\xA0", 0, CharClass::kOtherSingle},
      {"lead byte before no trail byte", "\x82\x0A", 0, CharClass::kOtherSingle},
      {"lead byte at the end", "\x82", 0, CharClass::kOtherSingle},
      {"ideographic space", "　"_sj, 0, CharClass::kWideSpace},
      {"long-vowel mark", "ー"_sj, 0, CharClass::kLongVowel},
      {"full-width low line", "＿"_sj, 0, CharClass::kWideAlnum},
      {"full-width digit", "０"_sj, 0, CharClass::kWideAlnum},
      {"full-width capital", "Ａ"_sj, 0, CharClass::kWideAlnum},
      {"full-width small letter", "ｚ"_sj, 0, CharClass::kWideAlnum},
      {"after the full-width digits", "\x82\x59", 0, CharClass::kOtherDouble},
      {"ideographic comma", "、"_sj, 0, CharClass::kWideSymbol},
      {"last symbol", "\x81\xFC", 0, CharClass::kWideSymbol},
      {"first hiragana", "ぁ"_sj, 0, CharClass::kHiragana},
      {"last hiragana", "ん"_sj, 0, CharClass::kHiragana},
      {"first katakana", "ァ"_sj, 0, CharClass::kKatakana},
      {"last katakana", "ヶ"_sj, 0, CharClass::kKatakana},
      {"Greek", "Α"_sj, 0, CharClass::kGreek},
      {"last Greek", "ω"_sj, 0, CharClass::kGreek},
      {"Cyrillic capital", "А"_sj, 0, CharClass::kCyrillic},
      {"last Cyrillic", "я"_sj, 0, CharClass::kCyrillic},
      {"line drawing", "─"_sj, 0, CharClass::kSpecialSymbol},
      {"last special symbol", "\x87\x9C", 0, CharClass::kSpecialSymbol},
      {"kanji", "漢"_sj, 0, CharClass::kOtherDouble},
      {"second character", "aか"_sj, 1, CharClass::kHiragana},
      {"at the end", "ab", 2, CharClass::kEnd},
      {"past the end", "ab", 9, CharClass::kEnd},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetCharClass(c.text.data(), Len(c.text), c.pos), c.cls) << c.name;
  }
}

TEST(WordRange, RunsUnderTheJoiningRule) {
  const struct {
    const char* name;
    std::string text;
    int pos;
    bool found;
    int start;
    int end;
  } cases[] = {
      {"katakana with long-vowel marks, at a mark", "コーヒー"_sj, 2, true, 0, 8},
      {"katakana with long-vowel marks, at the end", "コーヒー"_sj, 6, true, 0, 8},
      {"a mark after katakana stays with it", "カーひら"_sj, 2, true, 0, 4},
      {"hiragana after the mark is a word of its own", "カーひら"_sj, 4, true, 4, 8},
      {"a mark after hiragana, then katakana", "ひーカ"_sj, 4, true, 4, 6},
      {"a mark that starts the text joins the kana after it", "ーひ"_sj, 2, true, 0, 4},
      {"marks alone", "ーー漢"_sj, 0, true, 0, 4},
      {"ASCII word", "abc def", 5, true, 4, 7},
      {"a run of spaces", "a   b", 2, true, 1, 4},
      {"kanji after ASCII", "abc漢字"_sj, 1, true, 0, 3},
      {"kanji", "abc漢字"_sj, 3, true, 3, 7},
      {"a trail byte means its character", "漢字x"_sj, 1, true, 0, 4},
      {"symbols", "x、、y"_sj, 1, true, 1, 5},
      {"on CR", "ab\r\n", 2, false, 0, 0},
      {"on LF", "ab\r\n", 3, false, 0, 0},
      {"at the end", "ab", 2, false, 0, 0},
  };
  for (const auto& c : cases) {
    int start = -1, end = -1;
    EXPECT_EQ(GetWordRangeInText(c.text.data(), Len(c.text), c.pos, &start, &end, nullptr, nullptr), c.found)
        << c.name;
    if (!c.found) continue;
    EXPECT_EQ(start, c.start) << c.name;
    EXPECT_EQ(end, c.end) << c.name;
  }
}

TEST(WordRange, GivesTheWordAndItsLeftPart) {
  const std::string text = "hello world\r\n";
  CMemory word, left;
  int start = 0, end = 0;
  ASSERT_TRUE(GetWordRangeInText(text.data(), Len(text), 8, &start, &end, &word, &left));
  EXPECT_EQ(word.View(), "world");
  EXPECT_EQ(left.View(), "wo");

  CDocLineMgr mgr;
  Load(mgr, {"x\r\n", text});
  ASSERT_TRUE(mgr.GetWordRange(1, 2, &start, &end, &word, nullptr));
  EXPECT_EQ(word.View(), "hello");
  EXPECT_FALSE(mgr.GetWordRange(2, 0, &start, &end, nullptr, nullptr));
}

TEST(WordStart, Forward) {
  const struct {
    const char* name;
    std::string text;
    int pos;
    bool stopAtBlanks;
    bool found;
    int next;
  } cases[] = {
      {"over a space", "abc def", 0, false, true, 4},
      {"at the space", "abc def", 0, true, true, 3},
      {"over spaces and a tab", "abc  \tdef", 0, false, true, 6},
      {"at the first blank", "abc  \tdef", 0, true, true, 3},
      {"CR ends a word", "abc\r\n", 0, false, true, 3},
      {"only blanks after the word", "abc   ", 0, false, false, 0},
      {"stopping at the blanks after the word", "abc   ", 0, true, true, 3},
      {"kanji then kana", "漢字かな"_sj, 0, false, true, 4},
      {"katakana and mark then hiragana", "カーひ"_sj, 0, false, true, 4},
      {"from blanks", "  x", 0, false, true, 2},
      {"last word", "abc", 1, false, false, 0},
  };
  for (const auto& c : cases) {
    int next = -1;
    EXPECT_EQ(FindNextWordStartInText(c.text.data(), Len(c.text), c.pos, &next, c.stopAtBlanks), c.found) << c.name;
    if (c.found) {
      EXPECT_EQ(next, c.next) << c.name;
    }
  }
}

TEST(WordStart, NextAndPreviousOnADocumentLine) {
  CDocLineMgr mgr;
  Load(mgr, {"abc def\r\n", "abc   def\r\n", "漢字 かな"_sj, "x"});
  const struct {
    const char* name;
    int line;
    int col;
    bool backward;
    bool stopAtBlanks;
    bool found;
    int result;
  } cases[] = {
      {"forward", 0, 0, false, false, true, 4},
      {"forward on CR", 0, 7, false, false, false, 0},
      {"forward past the line: its last character, LF", 0, 100, false, false, false, 0},
      {"forward in the last word of a line without line end", 2, 100, false, false, false, 0},
      {"backward inside a word: its start", 0, 5, true, false, true, 4},
      {"backward at a word start: the previous word", 0, 4, true, false, true, 0},
      {"backward from the line end", 0, 7, true, false, true, 4},
      {"backward at column 0", 0, 0, true, false, false, 0},
      {"backward over blanks", 1, 6, true, false, true, 0},
      {"backward stopping at blanks", 1, 6, true, true, true, 3},
      {"backward in kana after a space", 2, 7, true, false, true, 5},
      {"backward from a trail byte", 2, 3, true, false, true, 0},
      {"a one-character line", 3, 0, false, false, false, 0},
      {"a missing line", 4, 0, false, false, false, 0},
  };
  for (const auto& c : cases) {
    int result = -1;
    EXPECT_EQ(mgr.GetNextWordPos(c.line, c.col, &result, c.backward, c.stopAtBlanks), c.found) << c.name;
    if (c.found) {
      EXPECT_EQ(result, c.result) << c.name;
    }
  }
}

TEST(CharSizeTable, SizesOfEachByte) {
  const std::string pattern = "aあ"_sj + std::string("\x82");
  const CharSizeTable table = BuildCharSizeTable(pattern.data(), Len(pattern));
  const std::vector<uint8_t> sizes(table.Get(), table.Get() + pattern.size());
  EXPECT_EQ(sizes, (std::vector<uint8_t>{1, 2, 2, 1}));

  const std::string longPattern = std::string(100, 'a') + "漢"_sj;
  const CharSizeTable longTable = BuildCharSizeTable(longPattern.data(), Len(longPattern));
  ASSERT_NE(longTable.Get(), nullptr);
  EXPECT_EQ(longTable.Get()[99], 1);
  EXPECT_EQ(longTable.Get()[101], 2);
}

TEST(FindPlainText, MatchesWholeCharactersOnly) {
  const std::string kanji40 = [] {
    std::string s;
    for (int i = 0; i < 40; ++i) s += "表"_sj;
    return s;
  }();
  const struct {
    const char* name;
    std::string text;
    std::string pattern;
    int start;
    bool caseSensitive;
    int found;  // -1: none
  } cases[] = {
      {"a one-byte pattern equal to a trail byte", "表"_sj, "\\", 0, true, -1},
      {"the same byte as a character of its own", "表\\"_sj, "\\", 0, true, 2},
      {"a trail byte among many characters", kanji40, "\\", 0, true, -1},
      {"after many characters", kanji40 + "\\", "\\", 0, true, 80},
      {"a letter as a trail byte", "ア"_sj, "A", 0, true, -1},
      {"a letter as a trail byte, ignoring case", "ア"_sj, "a", 0, false, -1},
      {"ignoring case, A matches a", "xAy", "a", 0, false, 1},
      {"with case, A does not match a", "xAy", "a", 0, true, -1},
      {"full-width letters are not folded", "Ａ"_sj, "ａ"_sj, 0, false, -1},
      {"a double-byte pattern over two characters", "ラア"_sj, "\x89\x83", 0, true, -1},
      {"a lone lead byte ending the pattern, before a trail byte", "xあ"_sj, "x\x82", 0, true, -1},
      {"a lone lead byte ending the pattern, at the end", "x\x82", "x\x82", 0, true, 0},
      {"a lone lead byte ending the pattern, before a space", "x\x82 ", "x\x82", 0, true, 0},
      {"from a start", "abab", "ab", 1, true, 2},
      {"a start past the last place", "abab", "ab", 3, true, -1},
      {"a pattern longer than the text", "ab", "abc", 0, true, -1},
      {"an empty pattern", "ab", "", 0, true, -1},
  };
  for (const auto& c : cases) {
    for (const bool withTable : {true, false}) {
      const CharSizeTable table = BuildCharSizeTable(c.pattern.data(), Len(c.pattern));
      const char* hit = FindPlainText(c.text.data(), Len(c.text), c.start, c.pattern.data(), Len(c.pattern),
                                      withTable ? table.Get() : nullptr, c.caseSensitive);
      EXPECT_EQ(hit ? hit - c.text.data() : -1, c.found) << c.name << (withTable ? "" : " (no table)");
    }
  }
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The matcher as its rule reads: from the start, character by character, compare the pattern's
// characters with the text's.
int WalkFind(const std::string& text, int start, const std::string& pattern, bool caseSensitive) {
  const auto* t = reinterpret_cast<const unsigned char*>(text.data());
  const auto* p = reinterpret_cast<const unsigned char*>(pattern.data());
  const int len = Len(text);
  const int m = Len(pattern);
  if (m == 0 || len < m) return -1;
  for (int s = start; s <= len - m; s += SjisCharSize(t, len, s)) {
    bool same = true;
    for (int i = 0; i < m && same;) {
      const int size = SjisCharSize(p, m, i);
      if (SjisCharSize(t, len, s + i) != size) {
        same = false;
      } else if (size == 2) {
        same = t[s + i] == p[i] && t[s + i + 1] == p[i + 1];
      } else {
        same = caseSensitive ? t[s + i] == p[i] : Upper(text[s + i]) == Upper(pattern[i]);
      }
      i += size;
    }
    if (same) return s;
  }
  return -1;
}

TEST(FindPlainText, AgreesWithTheCharacterWalkOnRandomText) {
  // Bytes that make every kind of character and every way of misreading one: lead bytes, trail bytes
  // that are letters or lead bytes, half-width katakana, bytes that are neither.
  const unsigned char alphabet[] = {'a', 'A', 'b', 'B', 'z', '0', ' ', '\r', '\n', '\\', '@', 0x7F,
                                    0x81, 0x82, 0x83, 0x9F, 0xE0, 0xFC, 0x40, 0x41, 0x61, 0x7E,
                                    0x80, 0xA0, 0xA2, 0xB1, 0xDF, 0xFD, 0xFF};
  std::mt19937 rng(5113);
  auto pick = [&] { return static_cast<char>(alphabet[rng() % sizeof alphabet]); };
  int matches = 0;
  int misread = 0;
  // Two pages: texts are copied to end at the first one's end.
  std::unique_ptr<char, decltype(&std::free)> pages(static_cast<char*>(std::aligned_alloc(4096, 8192)), &std::free);
  char* const pageEnd = pages.get() + 4096;
  for (int round = 0; round < 20000; ++round) {
    const int len = static_cast<int>(rng() % (round % 2 == 0 ? 200 : 40));
    std::string text;
    for (int i = 0; i < len; ++i) text += pick();
    std::string pattern;
    const int m = 1 + static_cast<int>(rng() % 6);
    if (len >= m && rng() % 4 != 0) {
      // Cut from the text at any byte, often with the case of its letters changed.
      pattern = text.substr(rng() % (len - m + 1), m);
      if (rng() % 2) {
        for (char& c : pattern) c = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ? c ^ 0x20 : c;
      }
    } else {
      for (int i = 0; i < m; ++i) pattern += pick();
    }
    const int start = len > 0 ? static_cast<int>(rng() % (len + 1)) : 0;
    const bool caseSensitive = rng() % 2;
    const CharSizeTable table = BuildCharSizeTable(pattern.data(), Len(pattern));
    const char* hit = FindPlainText(text.data(), len, start, pattern.data(), Len(pattern),
                                    rng() % 2 ? table.Get() : nullptr, caseSensitive);
    const int expected = WalkFind(text, start, pattern, caseSensitive);
    ASSERT_EQ(hit ? hit - text.data() : -1, expected)
        << "round " << round << " start " << start << " case " << caseSensitive << " text "
        << ::testing::PrintToString(text) << " pattern " << ::testing::PrintToString(pattern);
    // The same text ending where a page ends, where the matcher must not read on.
    char* atPageEnd = pageEnd - len;
    std::copy(text.begin(), text.end(), atPageEnd);
    const char* hitAtPageEnd =
        FindPlainText(atPageEnd, len, start, pattern.data(), Len(pattern), nullptr, caseSensitive);
    ASSERT_EQ(hitAtPageEnd ? hitAtPageEnd - atPageEnd : -1, expected) << "at a page end, round " << round;
    matches += expected >= 0;
    // Where the bytes alone would give another answer, only the characters tell.
    const size_t bytes = start <= len ? text.find(pattern, start) : std::string::npos;
    misread += caseSensitive && !pattern.empty() && static_cast<int>(bytes) != expected;
  }
  // The rounds hold enough of both to compare.
  EXPECT_GT(matches, 4000);
  EXPECT_GT(misread, 500);
}

struct Found {
  bool ok;
  int line;
  int from;
  int to;
  bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Found& f) {
  return f.ok ? os << "(" << f.line << ": " << f.from << "-" << f.to << ")" : os << "(none)";
}

Found Find(CDocLineMgr& mgr, int line, int col, const char* pattern, bool forward, bool regexp, bool caseSensitive,
           bool wholeWord, CRegexpDll* engine = nullptr) {
  Found f{false, -1, -1, -1};
  f.ok = mgr.FindText(line, col, pattern, forward, regexp, caseSensitive, wholeWord, &f.line, &f.from, &f.to, engine);
  if (!f.ok) f = Found{false, -1, -1, -1};
  return f;
}

constexpr Found kNone{false, -1, -1, -1};

struct SearchCase {
  const char* name;
  int line;
  int col;
  const char* pattern;
  bool forward;
  bool caseSensitive;
  Found found;
};

void ExpectFinds(const std::vector<std::string>& lines, bool wholeWord, const std::vector<SearchCase>& cases) {
  CDocLineMgr mgr;
  Load(mgr, lines);
  for (const SearchCase& c : cases) {
    EXPECT_EQ(Find(mgr, c.line, c.col, c.pattern, c.forward, false, c.caseSensitive, wholeWord), c.found) << c.name;
  }
}

TEST(FindText, PlainBothWays) {
  ExpectFinds({"aaaa\r\n", "abc abc\r\n", "xx\r\n", "表\\abc\r\n"_sj}, false, {
      {"forward in the line", 1, 0, "abc", true, true, {true, 1, 0, 3}},
      {"forward from a column", 1, 1, "abc", true, true, {true, 1, 4, 7}},
      {"forward into the next lines", 1, 5, "abc", true, true, {true, 3, 3, 6}},
      {"the line end is searched", 2, 0, "x\r\n", true, true, {true, 2, 1, 4}},
      {"forward ignoring case", 0, 0, "ABC", true, false, {true, 1, 0, 3}},
      {"forward with case", 0, 0, "ABC", true, true, kNone},
      {"no match inside a double-byte character", 0, 0, "\\", true, true, {true, 3, 2, 3}},
      {"backward: the last match before the caret", 1, 5, "abc", false, true, {true, 1, 4, 7}},
      {"backward: a match at the caret is not before it", 1, 4, "abc", false, true, {true, 1, 0, 3}},
      {"backward: matches do not overlap", 0, 2, "aa", false, true, {true, 0, 0, 2}},
      {"backward: the last non-overlapping match", 0, 3, "aa", false, true, {true, 0, 2, 4}},
      {"backward into the previous lines, their last match", 2, 1, "abc", false, true, {true, 1, 4, 7}},
      {"backward from the start of a line", 3, 0, "a", false, true, {true, 1, 4, 5}},
      {"backward, none", 1, 0, "abc", false, true, kNone},
      {"a missing line", 4, 0, "abc", true, true, kNone},
      {"an empty pattern", 0, 0, "", true, true, kNone},
  });
}

TEST(FindText, WholeWordBothWays) {
  ExpectFinds({"abc ab\r\n", "xab abあ\r\n"_sj, "AB\r\n", "ab"}, true, {
      {"not the first letters of a longer word, but the word after a space", 0, 0, "ab", true, true, {true, 0, 4, 6}},
      {"before a Japanese character", 1, 1, "ab", true, true, {true, 1, 4, 6}},
      {"not the end of a longer word", 1, 0, "ab", true, true, {true, 1, 4, 6}},
      {"next lines", 1, 6, "ab", true, true, {true, 3, 0, 2}},
      {"ignoring case", 1, 6, "ab", true, false, {true, 2, 0, 2}},
      {"a Japanese word", 0, 0, "あ"_sj, true, true, {true, 1, 6, 8}},
      {"backward: the previous word", 1, 8, "ab", false, true, {true, 1, 4, 6}},
      {"backward: not the word at the caret", 1, 4, "ab", false, true, {true, 0, 4, 6}},
      {"backward from the start of a line", 3, 0, "AB", false, true, {true, 2, 0, 2}},
      {"backward ignoring case", 3, 0, "ab", false, false, {true, 2, 0, 2}},
      {"backward, none", 0, 4, "ab", false, true, kNone},
      {"forward, none", 0, 0, "b", true, true, kNone},
  });
}

// The whole-word search as its rule reads: the word at the column, then each next word start, line
// after line; backward, each previous word start.
Found WalkWholeWord(CDocLineMgr& mgr, int line, int col, const std::string& pattern, bool forward,
                    bool caseSensitive) {
  auto wordAt = [&](int l, int c, Found& f) {
    int s = 0, e = 0;
    CMemory word;
    if (!mgr.GetWordRange(l, c, &s, &e, &word, nullptr) || word.GetLength() != Len(pattern)) return false;
    const bool same = caseSensitive ? word.View() == pattern : SjisMemICmp(word.GetPtr(), pattern.data(), Len(pattern)) == 0;
    if (same) f = Found{true, l, s, e};
    return same;
  };
  Found f = kNone;
  if (forward) {
    for (; line < mgr.GetLineCount(); ++line, col = 0) {
      do {
        if (wordAt(line, col, f)) return f;
      } while (mgr.GetNextWordPos(line, col, &col, false, false));
    }
    return kNone;
  }
  while (line >= 0) {
    if (mgr.GetNextWordPos(line, col, &col, true, false)) {
      if (wordAt(line, col, f)) return f;
      continue;
    }
    if (--line >= 0) col = mgr.GetLine(line)->GetLengthWithoutEol();
  }
  return kNone;
}

// Lines without the pattern are passed over without walking their words; the result is the walk's.
TEST(FindText, WholeWordAgreesWithTheWordWalkOnRandomDocuments) {
  const char* const pieces[] = {"ab", "AB", "a", "b", " ", "\t", "\r", "あ"_sj, "カ"_sj, "ー"_sj, "漢"_sj, "ab", "_", "1"};
  std::mt19937 rng(5113);
  int found = 0;
  for (int round = 0; round < 300; ++round) {
    CDocLineMgr mgr;
    std::vector<std::string> lines;
    const int count = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < count; ++i) {
      std::string line;
      const int n = static_cast<int>(rng() % 8);
      for (int k = 0; k < n; ++k) line += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
      lines.push_back(line + (i + 1 < count || rng() % 2 ? "\r\n" : ""));
    }
    Load(mgr, lines);
    for (int query = 0; query < 20; ++query) {
      std::string pattern;
      for (int k = 1 + static_cast<int>(rng() % 2); k > 0; --k) {
        pattern += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
      }
      const int line = static_cast<int>(rng() % count);
      const int col = static_cast<int>(rng() % (Len(lines[line]) + 1));
      const bool forward = rng() % 2;
      const bool caseSensitive = rng() % 2;
      const Found expected = WalkWholeWord(mgr, line, col, pattern, forward, caseSensitive);
      ASSERT_EQ(Find(mgr, line, col, pattern.c_str(), forward, false, caseSensitive, true), expected)
          << "round " << round << " pattern " << ::testing::PrintToString(pattern) << " from " << line << ":" << col
          << (forward ? " forward" : " backward");
      found += expected.ok;
    }
  }
  EXPECT_GT(found, 500);
}

class FindTextRegexp : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(regexp.Load(), 0) << "the library beside the test program"; }
  void Compile(const char* pattern, bool caseSensitive = true) {
    ASSERT_TRUE(regexp.Compile(pattern, nullptr, caseSensitive ? CRegexpDll::kCaseSensitive : 0))
        << regexp.GetErrorText();
  }
  // A search from (line, col) with the pattern, case-sensitive.
  struct Case {
    const char* name;
    const char* pattern;
    int line;
    int col;
    bool forward;
    Found found;
  };
  void ExpectFound(CDocLineMgr& mgr, const Case& c) {
    Compile(c.pattern);
    EXPECT_EQ(Find(mgr, c.line, c.col, "", c.forward, true, true, false, &regexp), c.found) << c.name;
  }
  CRegexpDll regexp;
};

TEST_F(FindTextRegexp, BothWays) {
  CDocLineMgr mgr;
  Load(mgr, {"abc abc\r\n", "あい\r\n"_sj, "xyz\r\n"});
  const Case cases[] = {
      {"forward", "b+c", 0, 0, true, {true, 0, 1, 3}},
      {"forward from a column", "b+c", 0, 2, true, {true, 0, 5, 7}},
      {"forward into the next lines", "y", 0, 2, true, {true, 2, 1, 2}},
      {"forward from past the text: the next line", "c|x", 0, 8, true, {true, 2, 0, 1}},
      {"a match in the line end starts at its start", "\\n", 0, 0, true, {true, 0, 7, 9}},
      {"backward", "abc", 0, 5, false, {true, 0, 4, 7}},
      {"backward, the caret at a match", "abc", 0, 4, false, {true, 0, 0, 3}},
      {"backward into the previous lines", "abc", 2, 0, false, {true, 0, 4, 7}},
      {"backward, an empty match ends a character further", "x*", 1, 2, false, {true, 1, 0, 2}},
      {"backward, the empty match nearest the caret", "q*", 0, 3, false, {true, 0, 2, 3}},
      {"none", "qqq", 0, 0, true, kNone},
  };
  for (const Case& c : cases) ExpectFound(mgr, c);
  Compile("ABC", false);
  EXPECT_EQ(Find(mgr, 0, 1, "", true, true, false, false, &regexp), (Found{true, 0, 4, 7}));
}

// The anchors of a line's end find the text's last line whether it ends with a line end or not;
// a text ending with a line end has no line after it to find.
TEST_F(FindTextRegexp, LineEndAnchorsOnTheLastLine) {
  struct LinesCase {
    std::vector<std::string> lines;
    Case search;
  };
  const LinesCase cases[] = {
      {{"ab\r\n", "cd"}, {"$ before a line end", "$", 0, 0, true, {true, 0, 2, 4}}},
      {{"ab\r\n", "cd"}, {"$ on the last line without a line end", "$", 1, 0, true, {true, 1, 2, 2}}},
      {{"ab\r\n", "cd"}, {"$ from the end of the last line", "$", 1, 2, true, {true, 1, 2, 2}}},
      {{"ab\r\n", "cd\r\n"}, {"$ on the last line with a line end", "$", 1, 0, true, {true, 1, 2, 4}}},
      {{"cd"}, {"$ of a one-line text without a line end", "$", 0, 0, true, {true, 0, 2, 2}}},
      {{"ab\r\n", "cd"}, {"text and $ on the last line", "d$", 0, 0, true, {true, 1, 1, 2}}},
      {{"ab\r\n", "cd"}, {"text and $ backward on the last line", "d$", 1, 2, false, {true, 1, 1, 2}}},
      {{"cb\r\n", "cd"}, {"text and $ backward past the last line", "b$", 1, 2, false, {true, 0, 1, 4}}},
      {{"ab\r\n", "a漢"_sj}, {"kanji and $ on the last line", "漢$"_sj, 0, 0, true, {true, 1, 1, 3}}},
      {{"ab\r\n", "\r\n"}, {"^$ on an empty last line", "^$", 0, 0, true, {true, 1, 0, 2}}},
      {{"ab\r\n"}, {"^$ finds no line after the last line end", "^$", 0, 0, true, kNone}},
      {{"ab\r\n", "cd"}, {"^$ on a last line that is not empty", "^$", 0, 0, true, kNone}},
      {{"ab\r\n", "\r\n", "cd"}, {"^$ backward to an empty line", "^$", 2, 2, false, {true, 1, 0, 2}}},
      {{"ab\r\n", "cd"}, {"\\z on the last line without a line end", "\\z", 1, 0, true, {true, 1, 2, 2}}},
      {{"ab\r\n", "cd"}, {"\\z in a line end starts at its start", "\\z", 0, 0, true, {true, 0, 2, 4}}},
  };
  for (const LinesCase& c : cases) {
    CDocLineMgr mgr;
    Load(mgr, c.lines);
    ExpectFound(mgr, c.search);
  }
}

TEST_F(FindTextRegexp, WithoutAnEngineNothingIsFound) {
  CDocLineMgr mgr;
  Load(mgr, {"abc\r\n"});
  EXPECT_EQ(Find(mgr, 0, 0, "abc", true, true, true, false, nullptr), kNone);
  CRegexpDll unloaded;
  EXPECT_EQ(Find(mgr, 0, 0, "abc", true, true, true, false, &unloaded), kNone);
}

TEST_F(FindTextRegexp, BookmarksMatchingLinesInEachMode) {
  const std::vector<std::string> lines = {"ab\r\n", "abc\r\n", "xAB\r\n", "ab cd\r\n", "zz\r\n", "表\\"_sj};
  struct Case {
    const char* name;
    const char* pattern;
    bool regexp;
    bool caseSensitive;
    bool wholeWord;
    std::vector<int> marked;
  };
  const Case cases[] = {
      {"plain", "ab", false, true, false, {0, 1, 3}},
      {"plain ignoring case", "ab", false, false, false, {0, 1, 2, 3}},
      {"plain, whole characters", "\\", false, true, false, {5}},
      {"whole word", "ab", false, true, true, {0, 3}},
      {"regular expression", "^ab", true, true, false, {0, 1, 3}},
  };
  for (const Case& c : cases) {
    CDocLineMgr mgr;
    Load(mgr, lines);
    mgr.GetLine(4)->SetBookmark(true);  // kept
    if (c.regexp) Compile(c.pattern, c.caseSensitive);
    mgr.BookmarkMatchingLines(c.pattern, c.regexp, c.caseSensitive, c.wholeWord, &regexp);
    std::vector<int> marked;
    for (int i = 0; i < mgr.GetLineCount(); ++i) {
      if (mgr.GetLine(i)->IsBookmarked() && i != 4) marked.push_back(i);
    }
    EXPECT_EQ(marked, c.marked) << c.name;
    EXPECT_TRUE(mgr.GetLine(4)->IsBookmarked()) << c.name;
  }
}

// Counting every hit, each search starting where the last ended, walks each line once.
TEST(FindText, CountingEveryHitWalksEachLineOnce) {
  CDocLineMgr mgr;
  std::vector<std::string> lines;
  for (int i = 0; i < 2000; ++i) lines.push_back(i % 100 == 0 ? "x needle needle\r\n" : "hay hay\r\n");
  Load(mgr, lines);
  const int64_t before = mgr.GetWalkSteps();
  int hits = 0, line = 0, col = 0;
  for (int l, s, e; mgr.FindText(line, col, "needle", true, false, true, false, &l, &s, &e, nullptr); ++hits) {
    line = l;
    col = e;
  }
  EXPECT_EQ(hits, 40);
  EXPECT_LE(mgr.GetWalkSteps() - before, 2000);
}

}  // namespace
