#include "editor/foundation/text/memory.h"

#include <climits>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <string>

#include "tests/editor/foundation/message_box_capture.h"
#include "platform/sjis_literal.h"

namespace {

std::string Str(const CMemory& m) { return std::string(m.View()); }

TEST(CMemory, CharacterStepping) {
  struct Case {
    const char* name;
    std::string_view text;
    int pos;
    int size;  // CharSizeAt
    int next;  // NextCharPos - start
    int prev;  // PrevCharPos(pos) - start
  };
  const Case cases[] = {
      {"ascii", "ab", 1, 1, 2, 0},
      {"lead and trail", "\x82\xA0x", 0, 2, 2, 0},
      {"after a pair", "\x82\xA0x", 2, 1, 3, 0},
      {"lead byte last", "a\x82", 1, 1, 2, 0},
      {"lead before 0x7F", "\x82\x7F", 0, 1, 1, 0},
      {"lead before a blank", "\x82 ", 0, 1, 1, 0},
      {"half-width kana", "\xB1\xB2", 0, 1, 1, 0},
      {"at the length", "ab", 2, 0, 2, 1},
      {"trail 0x5C", "\x95\x5C\\", 2, 1, 3, 0},
      {"leads pair off", "\x88\x88\x88\x88", 4, 0, 4, 2},
      {"odd run of leads", "a\x88\x88\x88", 4, 0, 4, 3},
      {"lead before a non-trail", "\x88\x88\x88\x20", 4, 0, 4, 3},
  };
  for (const Case& c : cases) {
    const char* s = c.text.data();
    const int len = static_cast<int>(c.text.size());
    EXPECT_EQ(CMemory::CharSizeAt(s, len, c.pos), c.size) << c.name;
    EXPECT_EQ(CMemory::NextCharPos(s, len, s + c.pos) - s, c.next) << c.name;
    EXPECT_EQ(CMemory::PrevCharPos(s, len, s + c.pos) - s, c.prev) << c.name;
  }
  EXPECT_EQ(CMemory::PrevCharPos("ab", 2, "ab"), "ab");  // at the start
}

// Stepping backwards must find the character starts that the forward walk finds.
TEST(CMemory, PrevCharPosAgreesWithTheForwardWalk) {
  std::mt19937 rng(23);
  const unsigned char alphabet[] = {0x41, 0x5C, 0x7F, 0x80, 0x81, 0x88, 0x9F, 0xA0, 0xB1, 0xDF, 0xE0, 0xFC, 0xFD};
  for (int round = 0; round < 2000; ++round) {
    std::string text(1 + rng() % 24, '\0');
    for (char& c : text) c = static_cast<char>(rng() % 3 == 0 ? rng() % 256 : alphabet[rng() % sizeof alphabet]);
    const char* s = text.data();
    const int len = static_cast<int>(text.size());
    std::vector<int> starts;
    for (const char* p = s; p < s + len; p = CMemory::NextCharPos(s, len, p)) starts.push_back(static_cast<int>(p - s));
    for (int pos = 1; pos <= len; ++pos) {
      int expected = 0;
      for (int start : starts) {
        if (start < pos) expected = start;
      }
      ASSERT_EQ(CMemory::PrevCharPos(s, len, s + pos) - s, expected) << "round " << round << " pos " << pos;
    }
  }
}

TEST(CMemory, AssignAndAppendToItself) {
  CMemory m("abc", 3);
  const CMemory& same = m;
  m = same;
  EXPECT_EQ(Str(m), "abc");
  m += m;
  EXPECT_EQ(Str(m), "abcabc");
  m.Append(m.GetPtr() + 1, 2);  // bytes from its own block
  EXPECT_EQ(Str(m), "abcabcbc");
  m.Assign(m.GetPtr() + 3, 3);
  EXPECT_EQ(Str(m), "abc");
  EXPECT_EQ(m.GetPtr()[m.GetLength()], '\0');
  m = 'x';
  EXPECT_EQ(Str(m), "x");
}

TEST(CMemory, EmptyBufferAndExactGrowth) {
  CMemory m;
  EXPECT_EQ(m.GetPtr(), nullptr);
  EXPECT_EQ(m.GetLength(), 0);
  m.Append("", 0);
  ASSERT_NE(m.GetPtr(), nullptr);
  EXPECT_EQ(m.GetCapacity(), 1);
  EXPECT_EQ(m.GetPtr()[0], '\0');
  m.AppendString("abcd");
  EXPECT_EQ(m.GetCapacity(), 5);
  CMemory other("abcd", 4);
  EXPECT_TRUE(CMemory::SameContent(m, other));
  other += 'e';
  EXPECT_FALSE(CMemory::SameContent(m, other));
}

TEST(CMemory, AppendRawCopiesOnlyWhatFits) {
  CMemory m;
  m.AppendRaw("ab", 2);  // no block
  EXPECT_EQ(m.GetPtr(), nullptr);
  m.AllocBuffer(4);
  m.AppendRaw("ab", 2);
  EXPECT_EQ(Str(m), "ab");
  m.AppendRaw("cde", 3);  // would run past the block
  EXPECT_EQ(Str(m), "ab");
  m.AppendRaw("cd", 2);
  EXPECT_EQ(Str(m), "abcd");
}

TEST(CMemory, ReplaceInBlockStaysInTheBlockOrDoesNothing) {
  CMemory m;
  EXPECT_FALSE(m.ReplaceInBlock(0, 0, "x", 1));  // no block
  m.AllocBuffer(8);
  m.Append("abcdef", 6);
  const char* block = m.GetPtr();
  struct Step {
    const char* name;
    int pos, del;
    const char* text;
    bool done;
    const char* after;
  };
  const Step steps[] = {
      {"grow within the block", 2, 1, "XYZ", true, "abXYZdef"},
      {"one byte past the block", 0, 0, "!", false, "abXYZdef"},
      {"shrink", 1, 5, "-", true, "a-ef"},
      {"delete to the end", 2, 2, "", true, "a-"},
      {"position past the text", 3, 0, "x", false, "a-"},
      {"deletion past the text", 1, 2, "", false, "a-"},
      {"negative length", 0, -1, "", false, "a-"},
      {"insert at the end", 2, 0, "bc", true, "a-bc"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    EXPECT_EQ(m.ReplaceInBlock(s.pos, s.del, s.text, static_cast<int>(std::strlen(s.text))), s.done);
    EXPECT_EQ(Str(m), s.after);
    EXPECT_EQ(m.GetPtr(), block);
    EXPECT_EQ(m.GetPtr()[m.GetLength()], '\0');
  }
  // Its own bytes would move under the copy.
  EXPECT_FALSE(m.ReplaceInBlock(0, 0, m.GetPtr() + 2, 1));
  EXPECT_EQ(Str(m), "a-bc");
}

TEST(CMemory, ReplaceAllBytesAndCharacters) {
  // The trail byte of "表" is 0x5C, a backslash.
  const std::string text = std::string("a\\"_sj) + "表"_sj + "\\";
  CMemory bytes(text.data(), static_cast<int>(text.size()));
  bytes.ReplaceAllBytes("\\", "/");
  EXPECT_EQ(Str(bytes),
            "a/\x95/"
            "/");
  CMemory chars(text.data(), static_cast<int>(text.size()));
  chars.ReplaceAllSjis("\\", "/");
  EXPECT_EQ(Str(chars), std::string("a/") + "表"_sj + "/");
  CMemory overlap("aaaa", 4);
  overlap.ReplaceAllBytes("aa", "aaa");  // no overlap, no rescan
  EXPECT_EQ(Str(overlap), "aaaaaa");
}

// A seam allocator that fails every request.
void* FailingRealloc(void*, size_t) { return nullptr; }

TEST(CMemory, FailedGrowthTellsTheUserAndEmptiesTheBuffer) {
  MessageBoxCapture boxes;
  CMemory m("abc", 3);
  const auto previous = CMemory::SetReallocForTesting(&FailingRealloc);
  m.Append("defg", 4);
  CMemory::SetReallocForTesting(previous);
  EXPECT_EQ(m.GetPtr(), nullptr);
  EXPECT_EQ(m.GetLength(), 0);
  EXPECT_EQ(m.GetCapacity(), 0);
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].caption, "tovara");
  EXPECT_EQ(boxes.requests[0].flags, MB_OKCANCEL | MB_ICONQUESTION | MB_TOPMOST);
  EXPECT_EQ(boxes.requests[0].text,
            std::string("CMemory::AllocBuffer(nNewDataLen==7)\n") + "メモリ確保に失敗しました。"_sj + "\n");
  m.Append("xy", 2);
  EXPECT_EQ(Str(m), "xy");
}

TEST(CMemory, SizesBeyondInt32AreRefusedNotWrapped) {
  MessageBoxCapture boxes;
  CMemory m("abc", 3);
  m.AllocBuffer(static_cast<int64_t>(INT32_MAX));  // + 1 for the terminator would not fit
  EXPECT_EQ(m.GetPtr(), nullptr);
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_NE(boxes.requests[0].text.find("nNewDataLen==2147483647"), std::string::npos);
  // Old plus appended length past the limit: refused, never a small wrapped block.
  CMemory big("abc", 3);
  EXPECT_EQ(big.Append("x", INT32_MAX - 1), nullptr);  // refused before a byte is read
  EXPECT_EQ(big.GetPtr(), nullptr);
  ASSERT_EQ(boxes.requests.size(), 2u);
  EXPECT_NE(boxes.requests[1].text.find("nNewDataLen==2147483649"), std::string::npos);
}

}  // namespace
