// Random and truncated bytes through every conversion and every C-string function: nothing may read
// or write outside its buffer (the sanitizer build checks), and UTF-8 or EUC input without a NUL
// never gives one.
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>

#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/code_detect.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/sjis_compare.h"
#include "editor/foundation/text/text_scanners.h"
#include "editor/foundation/text/text_utils.h"

namespace {

using Convert = int (CMemory::*)();

struct Named {
  const char* name;
  Convert convert;
  bool toSjis;
};

const Named kConversions[] = {
    {"SJIStoJIS", &CMemory::SJIStoJIS, false},
    {"SJIStoEUC", &CMemory::SJIStoEUC, false},
    {"EUCtoSJIS", &CMemory::EUCtoSJIS, true},
    {"SJIStoUNICODE", &CMemory::SJIStoUNICODE, false},
    {"SJIStoUNICODEBE", &CMemory::SJIStoUNICODEBE, false},
    {"UNICODEtoSJIS", &CMemory::UNICODEtoSJIS, true},
    {"UNICODEBEtoSJIS", &CMemory::UNICODEBEtoSJIS, true},
    {"SJIStoUTF8", &CMemory::SJIStoUTF8, false},
    {"UTF8toSJIS", &CMemory::UTF8toSJIS, true},
    {"SJIStoUTF7", &CMemory::SJIStoUTF7, false},
    {"UTF7toSJIS", &CMemory::UTF7toSJIS, true},
    {"UNICODEtoUTF8", &CMemory::UNICODEtoUTF8, false},
    {"UNICODEtoUTF7", &CMemory::UNICODEtoUTF7, false},
    {"AutoToSJIS", &CMemory::AutoToSJIS, true},
};

std::string RandomBytes(std::mt19937& rng, size_t maxLen) {
  // Bytes that matter to the decoders come often: escapes, '+', '=', lead bytes, 0x8E, UTF-8 leads.
  static const unsigned char kHot[] = {0x1B, '$',  '(',  'B',  'I',  '+',  '-',  '=',  '?',  0x81, 0x82, 0x8E,
                                       0xA4, 0xC0, 0xE3, 0xED, 0xF0, 0xFC, 0x80, 0x5C, '\r', '\n', 0x00, ' '};
  std::string s(rng() % (maxLen + 1), '\0');
  for (char& c : s) c = static_cast<char>(rng() % 2 ? rng() % 256 : kHot[rng() % sizeof kHot]);
  return s;
}

TEST(HostileInput, ConversionsStayInsideTheirBuffers) {
  std::mt19937 rng(2026);
  for (int round = 0; round < 600; ++round) {
    std::string in = RandomBytes(rng, 64);
    if (round % 3 == 0) in += '\x82';  // a lead byte last
    const bool hadNul = in.find('\0') != std::string::npos;
    for (const Named& c : kConversions) {
      CMemory m(in.data(), static_cast<int>(in.size()));
      const int unconverted = (m.*c.convert)();
      EXPECT_GE(unconverted, 0) << c.name;
      if (m.GetPtr()) {
        ASSERT_EQ(m.GetPtr()[m.GetLength()], '\0') << c.name;
      }
      // UTF-16 and UTF-7 can name U+0000 on purpose; UTF-8 and EUC can only spell a NUL as a NUL.
      if (c.toSjis && !hadNul && (c.convert == &CMemory::UTF8toSJIS || c.convert == &CMemory::EUCtoSJIS)) {
        EXPECT_EQ(m.View().find('\0'), std::string_view::npos) << c.name;
      }
    }
    CMemory j(in.data(), static_cast<int>(in.size()));
    j.JIStoSJIS(true);
    CMemory b(in.data(), static_cast<int>(in.size()));
    b.Base64Decode();
    CMemory u(in.data(), static_cast<int>(in.size()));
    std::string name;
    u.Uudecode(name);
    CMemory uu(("begin 644 x\n" + in).data(), static_cast<int>(in.size() + 12));
    uu.Uudecode(name);
    CMemory::DetectCode(in.data(), static_cast<int>(in.size()));
  }
}

TEST(HostileInput, CStringFunctionsStopAtTheTerminator) {
  std::mt19937 rng(7);
  for (int round = 0; round < 600; ++round) {
    std::string in = RandomBytes(rng, 40);
    in.erase(std::remove(in.begin(), in.end(), '\0'), in.end());
    if (round % 2 == 0) in += '\x82';  // a lead byte before the terminator
    const char* s = in.c_str();
    const int len = static_cast<int>(in.size());
    SjisStrICmp(s, "\x82");
    SjisStrNICmp(s, s, len + 5);
    SjisStrIStr(s, "\x82");
    SjisStrIStr(s, "a");
    SjisFindLastOf2(s, '/', ' ');
    HasExtension(s, "txt");
    GetPathDepth(s);
    int first = 0, second = 0;
    ParseNumberPair(s, &first, &second);
    char out[16];
    DoubleChar(s, out, sizeof out, '&', '&');
    ExpandDateTimeFormat(out, sizeof out, s, SYSTEMTIME{});
    std::string copy = in;
    int pos = 0;
    while (NextTokenOutsideQuotes(copy.data(), len, &pos, " ,")) {
    }
    int matched = 0;
    IsURLAt(s, len, &matched);
    IsMailAddressAt(s, len, &matched);
    for (int p = 0; p < len; ++p) GetNumberLiteralLength(s, p, len);
    int lineLen = 0;
    CLineEnd eol;
    pos = 0;
    while (GetNextLineOfBuffer(s, len, &pos, &lineLen, &eol)) {
    }
    for (const char* p = s; p < s + len; p = CMemory::NextCharPos(s, len, p)) CMemory::PrevCharPos(s, len, p);
    CMemory prefix;
    CopyWholeCharsPrefix(s, len, round % 17, prefix);
    char small[8];
    std::strncpy(small, "ab", sizeof small);
    AppendCharIfMissing(small, sizeof small, in.empty() ? 'x' : in[0]);
  }
}

}  // namespace
