#include "editor/foundation/text/code_detect.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <random>
#include <string>
#include <sys/stat.h>

#include "detect_code_reference.h"
#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/memory.h"
#include "platform/path.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"
#include "test_util.h"

std::ostream& operator<<(std::ostream& out, const CodeScores& s) {
  return out << "{euc " << s.euc << ", sjis " << s.sjis << ", jis " << s.jis << ", utf8 " << s.utf8 << ", utf7 "
             << s.utf7 << "}";
}

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

// Japanese text of every kind of character, Shift-JIS: kanji, kana, half-width kana, punctuation,
// the NEC and IBM rows, the user-defined area, ASCII with the bytes that the codes treat specially,
// line ends, and now and then a byte that starts no character.
std::string RandomSjisText(std::mt19937& rng, size_t bytes) {
  const auto decode = platform::SjisDecodeTable();
  std::string text;
  while (text.size() < bytes) {
    const unsigned kind = rng() % 16;
    if (kind < 9) {
      static const unsigned char kLeads[] = {0x81, 0x82, 0x82, 0x83, 0x83, 0x84, 0x87, 0x88, 0x89, 0x93,
                                             0x98, 0x9F, 0xE0, 0xE3, 0xEA, 0xED, 0xF0, 0xFA, 0xFC};
      const unsigned char lead = kLeads[rng() % sizeof kLeads];
      unsigned trail = 0x40 + rng() % 188;
      if (trail >= 0x7F) ++trail;
      if (decode[(lead << 8) | trail] == 0xFFFD && rng() % 4 != 0) continue;
      text += static_cast<char>(lead);
      text += static_cast<char>(trail);
    } else if (kind < 11) {
      text += static_cast<char>(0xA1 + rng() % 63);
    } else if (kind < 15) {
      static const char kAscii[] = "abcXYZ019 +-=/\\~$(@BIJ?\r\n\t";
      text += kAscii[rng() % (sizeof kAscii - 1)];
    } else {
      static const unsigned char kOdd[] = {0x1B, 0x80, 0x8E, 0x8F, 0xA0, 0xE3, 0xFD, 0xFF, 0x00, 0xC3};
      text += static_cast<char>(kOdd[rng() % sizeof kOdd]);
    }
  }
  return text;
}

// The detection takes its text 64 bytes at a time; it must score every text as the step-per-byte
// walks did: texts in every code, cut at every kind of place, with bytes changed at random, and
// random bytes.
TEST(DetectCode, ScoresAsTheByteWalksDid) {
  std::mt19937 rng(5110);
  using Convert = int (CMemory::*)();
  const Convert codes[] = {nullptr,
                           &CMemory::SJIStoEUC,
                           &CMemory::SJIStoJIS,
                           &CMemory::SJIStoUTF8,
                           &CMemory::SJIStoUTF7,
                           &CMemory::SJIStoUNICODE,
                           &CMemory::SJIStoUNICODEBE};
  static const unsigned char kHot[] = {0x1B, '$',  '(',  'B',  '@',  'I',  'J',  '+',  '-',  '=',  0x8E, 0xA4,
                                       0xA5, 0xA1, 0xF3, 0xE3, 0x81, 0x83, 0xBF, 0x82, 0x9F, 0x40, 0x7F, 0xFC};
  const auto check = [](const std::string& text, const std::string& what) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const int len = static_cast<int>(text.size());
    ASSERT_EQ(ScoreCodes(p, len), ReferenceCodeScores(p, len)) << what << ", " << len << " bytes";
  };
  for (int round = 0; round < 400; ++round) {
    const std::string sjis = RandomSjisText(rng, 1 + rng() % 700);
    for (Convert convert : codes) {
      std::string text = sjis;
      if (convert) {
        CMemory m(sjis.data(), static_cast<int>(sjis.size()));
        (m.*convert)();
        text.assign(m.View());
      }
      const size_t from = rng() % (text.size() / 4 + 1);
      std::string cut = text.substr(from, rng() % (text.size() - from + 1));
      check(cut, "round " + std::to_string(round) + " cut");
      for (int k = 0; k < 3 && !cut.empty(); ++k)
        cut[rng() % cut.size()] = static_cast<char>(kHot[rng() % sizeof kHot]);
      check(cut, "round " + std::to_string(round) + " changed");
    }
    std::string bytes(rng() % 400, '\0');
    for (char& c : bytes) c = static_cast<char>(rng() % 3 ? rng() % 256 : kHot[rng() % sizeof kHot]);
    check(bytes, "random bytes, round " + std::to_string(round));
  }
  // Whole blocks of each code, as a file reader hands them over.
  const std::string big = RandomSjisText(rng, 32768);
  for (Convert convert : codes) {
    CMemory m(big.data(), static_cast<int>(big.size()));
    if (convert) (m.*convert)();
    check(std::string(m.View().substr(0, 32768)), "32 KB");
  }
}

// The UTF-8 score looks only at three-byte sequences E3 80-83 xx: no other unit has a kana code.
TEST(DetectCode, KanaUnitsAreAllOfU30xx) {
  for (unsigned u = 0; u < 0x10000; ++u) {
    if (IsSjisKana(platform::UnicodeToSjisCode(u))) {
      EXPECT_GE(u, 0x3000u);
      EXPECT_LE(u, 0x30FFu);
    }
  }
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
