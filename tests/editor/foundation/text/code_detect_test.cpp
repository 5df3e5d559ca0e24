#include "editor/foundation/text/code_detect.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/memory.h"
#include "platform/path.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"
#include "test_util.h"

namespace {

// Text in a given code, made from Shift-JIS by the editor's own conversions.
std::string In(std::string_view sjis, int (CMemory::*convert)()) {
  CMemory m(sjis.data(), static_cast<int>(sjis.size()));
  (m.*convert)();
  return std::string(m.View());
}

int Detect(const std::string& bytes) { return CMemory::DetectCode(bytes.data(), static_cast<int>(bytes.size())); }

TEST(DetectCode, ChoosesTheCodeOfTheText) {
  const std::string kana = "ひらがなとカタカナのテキストです。"_sj;
  struct Case {
    const char* name;
    std::string bytes;
    int code;
  };
  const Case cases[] = {
      {"Shift-JIS kana", kana, kCodeSjis},
      {"EUC kana", In(kana, &CMemory::SJIStoEUC), kCodeEuc},
      {"UTF-8 kana", In(kana, &CMemory::SJIStoUTF8), kCodeUtf8},
      {"JIS kana", In(kana, &CMemory::SJIStoJIS), kCodeJis},
      {"UTF-7 kana", In(kana, &CMemory::SJIStoUTF7), kCodeUtf7},
      {"unclosed JIS run", "\x1B$B$\"$$$&", kCodeSjis},
      {"UTF-7 with a byte above 0x7F", In(kana, &CMemory::SJIStoUTF7) + "\xB1", kCodeSjis},
      {"UTF-7 run never closed", "+MEIwRDBG", kCodeSjis},
      {"UTF-16LE mark", "\xFF\xFE" + In(kana, &CMemory::SJIStoUTF8), kCodeUtf16Le},
      {"UTF-16BE mark", "\xFE\xFF" + kana, kCodeUtf16Be},
      {"UTF-8 mark", "\xEF\xBB\xBF" + kana, kCodeUtf8},
      {"cut UTF-8 mark", "\xEF\xBB", kCodeSjis},
      {"one byte", "\xFF", kCodeSjis},
      {"ascii", "plain text\r\n", kCodeSjis},
      {"empty", "", kCodeSjis},
  };
  for (const Case& c : cases) EXPECT_EQ(Detect(c.bytes), c.code) << c.name;
}

TEST(DetectCode, ByteOrderMarks) {
  EXPECT_EQ(DetectBom("\xFF\xFE", 2), kCodeUtf16Le);
  EXPECT_EQ(DetectBom("\xFE\xFF", 2), kCodeUtf16Be);
  EXPECT_EQ(DetectBom("\xEF\xBB\xBF", 3), kCodeUtf8);
  EXPECT_EQ(DetectBom("\xEF\xBB", 2), 0);
  EXPECT_EQ(DetectBom("\xFF", 1), 0);
  EXPECT_EQ(DetectBom(nullptr, 4), 0);
  EXPECT_TRUE(IsSjisKana(0x829F));
  EXPECT_TRUE(IsSjisKana(0x8393));
  EXPECT_FALSE(IsSjisKana(0x837F));
  EXPECT_FALSE(IsSjisKana(0x82F2));
}

TEST(DetectCode, AutoToSjisConvertsWhatItDetects) {
  const std::string kana = "カタカナとひらがな"_sj;
  for (auto convert : {&CMemory::SJIStoEUC, &CMemory::SJIStoUTF8, &CMemory::SJIStoJIS, &CMemory::SJIStoUTF7}) {
    const std::string bytes = In(kana, convert);
    CMemory m(bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_EQ(m.AutoToSJIS(), 0);
    EXPECT_EQ(std::string(m.View()), kana);
  }
  // A katakana run left open over a line end: the line end stays a line end.
  CMemory jis("\x1B(I1\r\n2", 7);
  ASSERT_EQ(CMemory::DetectCode(jis.GetPtr(), jis.GetLength()), kCodeJis);
  EXPECT_EQ(jis.AutoToSJIS(), 0);
  EXPECT_EQ(std::string(jis.View()), "\xB1\r\n\xB2");
}

TEST(DetectFileCode, ReadsTheFileByItsExactName) {
  ScopedTempDir folder;
  std::string base;
  ASSERT_TRUE(platform::ExactPathFromHost(folder.File(""), base));
  folder.Write("empty.txt", "");
  folder.Write("euc.txt", In("かなのテキスト"_sj, &CMemory::SJIStoEUC));
  std::filesystem::create_directory(folder.File("dir"));
  EXPECT_EQ(CMemory::DetectFileCode(base + "empty.txt"), 0);
  EXPECT_EQ(CMemory::DetectFileCode(base + "euc.txt"), kCodeEuc);
  EXPECT_EQ(CMemory::DetectFileCode(base + "EUC.txt"), -1);
  EXPECT_EQ(CMemory::DetectFileCode(base + "missing.txt"), -1);
  EXPECT_EQ(CMemory::DetectFileCode(base + "dir"), -1);
  ASSERT_EQ(::mkfifo(folder.File("pipe").c_str(), 0600), 0);
  EXPECT_EQ(CMemory::DetectFileCode(base + "pipe"), -1);  // refused, without waiting for a writer
  // Only the first 16384 bytes count.
  folder.Write("late.txt", std::string(kDetectFileBytes, 'a') + In("かなのテキスト"_sj, &CMemory::SJIStoEUC));
  EXPECT_EQ(CMemory::DetectFileCode(base + "late.txt"), kCodeSjis);
}

}  // namespace
