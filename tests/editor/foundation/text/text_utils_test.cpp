#include "editor/foundation/text/text_utils.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/text/sjis_compare.h"
#include "tests/editor/foundation/message_box_capture.h"
#include "platform/sjis_literal.h"

namespace {

TEST(SjisCompare, FoldsAsciiOutsideDoubleByteCharacters) {
  EXPECT_EQ(SjisStrICmp("Hello", "hELLO"), 0);
  EXPECT_NE(SjisStrICmp("Ａ"_sj, "ａ"_sj), 0);        // full-width letters differ
  EXPECT_NE(SjisStrICmp("\x95\x61", "\x95\x41"), 0);  // trail bytes are not folded
  EXPECT_EQ(SjisStrICmp("a\x95\x61"
                        "b",
                        "A\x95\x61"
                        "B"),
            0);
  EXPECT_LT(SjisStrICmp("abc", "abd"), 0);
  EXPECT_EQ(SjisStrNICmp("abcX", "ABCy", 3), 0);
  EXPECT_EQ(SjisMemICmp(std::string("a\0b", 3).c_str(), "A\0B", 3), 0);  // not stopped by NUL
  // A lead byte before the terminator does not take it for a trail byte.
  EXPECT_EQ(SjisStrICmp("a\x82", "A\x82"), 0);
  EXPECT_NE(SjisStrICmp("a\x82", "A\x82x"), 0);

  const std::string text =
      "\x95\x61"
      "a";
  EXPECT_EQ(SjisStrIStr(text.c_str(), "A"), text.c_str() + 2);  // not the trail byte 0x61
  const char* abc = "abc";
  EXPECT_EQ(SjisStrIStr(abc, ""), abc);
  EXPECT_EQ(SjisStrIStr("abc", "x"), nullptr);
  const char* path = "a\\\x95\x5C\\b";
  EXPECT_EQ(SjisFindLastOf2(path, '\\', '/'), path + 4);
  EXPECT_TRUE(HasExtension("/a.dir/file.TXT", "txt"));
  EXPECT_FALSE(HasExtension("/a.txt/file", "txt"));
  EXPECT_TRUE(HasExtension("/a.txt/file", ""));
}

TEST(TextUtils, TokensOutsideQuotes) {
  char buffer[] = "one  \"two three\" \x95\x5C\\four";
  int pos = 0;
  const int len = static_cast<int>(sizeof buffer - 1);
  std::vector<std::string> tokens;
  while (char* token = NextTokenOutsideQuotes(buffer, len, &pos, " \\")) tokens.push_back(token);
  EXPECT_EQ(tokens, (std::vector<std::string>{"one", "\"two three\"", "\x95\x5C", "four"}));
}

TEST(TextUtils, NumbersCopiesAndFormats) {
  int first = -1, second = -1;
  ParseNumberPair("no digits", &first, &second);
  EXPECT_EQ(first, -1);
  ParseNumberPair("line 12,34", &first, &second);
  EXPECT_EQ(first, 12);
  EXPECT_EQ(second, 34);
  second = -1;
  ParseNumberPair("99999999999999999999", &first, &second);
  EXPECT_EQ(first, INT32_MAX);
  EXPECT_EQ(second, -1);

  CMemory out;
  const std::string text = "ab"_sj + std::string("漢字"_sj);
  EXPECT_EQ(CopyWholeCharsPrefix(text.data(), static_cast<int>(text.size()), 5, out), 4);
  EXPECT_EQ(std::string(out.View()), "ab"_sj + std::string("漢"_sj));

  char dest[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(CopyBounded(dest, 0, "abc", 3), dest);
  EXPECT_EQ(dest[0], 'x');
  EXPECT_EQ(CopyBounded(dest, 3, "abc", 3), dest + 2);

  char doubled[8];
  EXPECT_EQ(DoubleChar("a&b&c", doubled, sizeof doubled, '&', '&'), 7);
  EXPECT_STREQ(doubled, "a&&b&&c");
  EXPECT_EQ(DoubleChar("a&b&c&", doubled, 6, '&', '&'), 4);
  EXPECT_STREQ(doubled, "a&&b");

  SYSTEMTIME t;
  t.wYear = 2026;
  t.wMonth = 3;
  t.wDay = 7;
  t.wHour = 9;
  t.wMinute = 5;
  t.wSecond = 1;
  char stamp[64];
  ExpandDateTimeFormat(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S %y %% %q 100%", t);
  EXPECT_STREQ(stamp, "2026-03-07 09:05:01 26 % q 100%");
  char small[6];
  ExpandDateTimeFormat(small, sizeof small, "%Y%m%d", t);
  EXPECT_STREQ(small, "20260");
}

TEST(TextUtils, LinesOfABuffer) {
  const std::string text = "a\r\nb\n\rc\rd";
  int pos = 0, len = 0;
  CLineEnd eol;
  std::vector<std::pair<std::string, int>> lines;
  while (const char* line = GetNextLineOfBuffer(text.data(), static_cast<int>(text.size()), &pos, &len, &eol)) {
    lines.emplace_back(std::string(line, len), eol.GetCode());
  }
  EXPECT_EQ(lines, (std::vector<std::pair<std::string, int>>{
                       {"a", CLineEnd::CRLF}, {"b", CLineEnd::LFCR}, {"c", CLineEnd::CR}, {"d", CLineEnd::NONE}}));
}

// The splitter looks at eight bytes a step; on random text with CR, LF and bytes that differ from
// them in one bit, at every start and length, it cuts where a byte-by-byte walk does.
TEST(GetNextLineOfBuffer, CutsWhereAByteWalkDoes) {
  std::mt19937 rng(7);
  const char kBytes[] = {'\r', '\n', 'a', '\x8D', '\x8A', '\x0C', '\x0B', '\x0E', '\x09', '\x00', '\xFF', '\x81'};
  for (int round = 0; round < 300; ++round) {
    std::string text(rng() % 80, ' ');
    const int density = 2 + static_cast<int>(rng() % 40);
    for (char& c : text) c = rng() % density == 0 ? kBytes[rng() % 2] : kBytes[2 + rng() % (sizeof kBytes - 2)];
    const int len = static_cast<int>(text.size());
    for (int start = 0; start < len; ++start) {
      int pos = start;
      int lineLen = -1;
      CLineEnd eol;
      ASSERT_NE(GetNextLineOfBuffer(text.data(), len, &pos, &lineLen, &eol), nullptr);
      int end = start;
      while (end < len && text[end] != '\r' && text[end] != '\n') ++end;
      ASSERT_EQ(lineLen, end - start) << round << " " << start;
      EXPECT_EQ(eol.GetCode(), DetectLineEnd(text.data() + end, len - end));
      EXPECT_EQ(pos, end + eol.GetLen());
    }
  }
}

TEST(ShowMessageBox, FormatsAndCutsOnAWholeCharacter) {
  MessageBoxCapture boxes(IDCANCEL);
  EXPECT_EQ(ShowMessageBox(nullptr, MB_OK, "tovara", "%s: %d", "value", 42), IDCANCEL);
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].text, "value: 42");
  EXPECT_EQ(boxes.requests[0].caption, "tovara");
  // 2,000 bytes of kanji after two ASCII bytes: the cut at 1023 bytes would fall after a lead byte.
  std::string kanji;
  while (kanji.size() < 2000) kanji += "漢"_sj;
  ShowMessageBox(nullptr, MB_OK, "tovara", "xy%s", kanji.c_str());
  ASSERT_EQ(boxes.requests.size(), 2u);
  const std::string& shown = boxes.requests[1].text;
  EXPECT_EQ(shown.size(), 1022u);
  EXPECT_TRUE(shown == "xy" + kanji.substr(0, 1020));
}

}  // namespace
