#include "editor/view/search/grep_format.h"

#include <gtest/gtest.h>

#include "platform/sjis_literal.h"

namespace {

GrepConditions Conditions() {
  GrepConditions c;
  c.key = "key";
  c.files = "*.txt";
  c.folder = "/tmp/x/";
  return c;
}

TEST(BuildGrepHeader, KeyEscapedForEitherStringStyle) {
  GrepConditions c = Conditions();
  // A kanji whose trail byte is a backslash (0x955C) is no backslash.
  c.key = "a\"b'c\\d\x95\x5C";
  const std::string rest = "検索対象   *.txt\r\nフォルダ   /tmp/x/\r\n    (サブフォルダを検索しない)\r\n"
                           "    (英大文字小文字を区別しない)\r\n    (文字コードセット：SJIS)\r\n"
                           "    (一致した行を出力)\r\n\r\n\r\n"_sj;
  const std::string start = "\r\n□検索条件  "_sj;
  EXPECT_EQ(BuildGrepHeader(c, 0), start + "\"a\\\"b\\'c\\\\d\x95\x5C\"\r\n" + rest);
  EXPECT_EQ(BuildGrepHeader(c, 1), start + "\"a\"\"b''c\\d\x95\x5C\"\r\n" + rest);
}

TEST(BuildGrepHeader, EveryOptionLine) {
  GrepConditions c = Conditions();
  c.bSubFolder = true;
  c.bWordOnly = true;
  c.bLoHiCase = true;
  c.bRegularExp = true;
  c.nCharSet = 99;
  c.bOutputLine = false;
  EXPECT_EQ(BuildGrepHeader(c, 0),
            "\r\n□検索条件  \"key\"\r\n検索対象   *.txt\r\nフォルダ   /tmp/x/\r\n    (サブフォルダも検索)\r\n"
            "    (単語単位で探す)\r\n    (英大文字小文字を区別する)\r\n    (正規表現)\r\n"
            "    (文字コードセットの自動判別)\r\n    (一致した箇所のみ出力)\r\n\r\n\r\n"_sj);
}

TEST(BuildGrepHeader, EmptyKeyListsFilesWithoutKeyOptions) {
  GrepConditions c = Conditions();
  c.key.clear();
  c.bWordOnly = true;
  c.bRegularExp = true;
  c.nCharSet = 6;
  EXPECT_EQ(BuildGrepHeader(c, 0),
            "\r\n□検索条件  「ファイル検索」\r\n検索対象   *.txt\r\nフォルダ   /tmp/x/\r\n"
            "    (サブフォルダを検索しない)\r\n    (文字コードセット：UniBE)\r\n\r\n\r\n"_sj);
}

TEST(BuildGrepHeader, CodeNamesAndNoLineForOtherCodes) {
  const char* names[] = {"SJIS", "JIS", "EUC", "Unicode", "UTF-8", "UTF-7", "UniBE"};
  for (int code = 0; code < 7; ++code) {
    GrepConditions c = Conditions();
    c.nCharSet = code;
    const std::string line = "    (文字コードセット："_sj + std::string(names[code]) + ")\r\n";
    EXPECT_NE(BuildGrepHeader(c, 0).find(line), std::string::npos) << code;
  }
  GrepConditions c = Conditions();
  c.nCharSet = 7;
  EXPECT_EQ(BuildGrepHeader(c, 0).find("文字コード"_sj), std::string::npos);
}

TEST(FormatGrepHit, StylesAndMatchedText) {
  struct Case {
    const char* name;
    int style;
    std::string_view label;
    std::string_view text;
    bool outputLine;
    std::string expected;
  } cases[] = {
      {"style 1 line", 1, "", "int x;", true, "/d/a.c(12,5): int x;\r\n"},
      {"style 1 with label", 1, "  [EUC]", "int x;", true, "/d/a.c(12,5)  [EUC]: int x;\r\n"},
      {"style 2 pads the numbers", 2, "", "int x;", true, "・(    12,5    ): int x;\r\n"_sj},
      {"matched text gets a line end", 1, "", "x", false, "/d/a.c(12,5): x\r\n"},
      {"matched text ending in a line end keeps it alone", 2, "", "x\r\n", false, "・(    12,5    ): x\r\n"_sj},
  };
  for (const Case& c : cases) {
    std::string out;
    FormatGrepHit(out, c.style, "/d/a.c", 12, 5, c.label, c.text, c.outputLine);
    EXPECT_EQ(out, c.expected) << c.name;
  }
}

TEST(FormatGrepHit, LongLinesCutOnWholeCharacters) {
  // 1500 kanji: 3000 bytes. With an ASCII byte in front, every limit falls inside a kanji.
  std::string line = "a";
  for (int i = 0; i < 1500; ++i) line += "漢"_sj;
  for (const int style : {1, 2}) {
    std::string out;
    FormatGrepHit(out, style, "/p", 1, 1, "", line, true);
    const size_t colon = out.find(": ");
    ASSERT_NE(colon, std::string::npos);
    const std::string text = out.substr(colon + 2);
    const size_t limit = style == 1 ? 2000 : 2500;
    EXPECT_EQ(text.size(), limit - 1 + 2) << style;  // the kanji that would straddle the limit goes
    EXPECT_EQ(text.substr(text.size() - 4), "漢\r\n"_sj) << style;
  }
}

}  // namespace
