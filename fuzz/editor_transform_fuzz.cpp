// The conversion commands' transformations of arbitrary bytes. The first byte picks the
// transformation (low four bits) and the tab width (high four bits, plus one); the rest is the text.
// Whole characters in give whole characters out, and no result is longer than its sizing allows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/foundation/text/memory.h"

namespace {

enum class Size { kSame, kAtMostTwice, kAtMostInput, kTimesWidth };

struct Transformation {
  void (*apply)(CMemory&, int width);
  Size size;
};

const Transformation kAll[16] = {
    {[](CMemory& m, int) { m.ToUpper(); }, Size::kSame},
    {[](CMemory& m, int) { m.ToLower(); }, Size::kSame},
    {[](CMemory& m, int) { m.ToFullWidth(CMemory::FULLWIDTH_KATAKANA, false); }, Size::kAtMostTwice},
    {[](CMemory& m, int) { m.ToFullWidth(CMemory::FULLWIDTH_HIRAGANA, false); }, Size::kAtMostTwice},
    {[](CMemory& m, int) { m.ToFullWidth(CMemory::FULLWIDTH_KATAKANA, true); }, Size::kAtMostTwice},
    {[](CMemory& m, int) { m.ToFullWidth(CMemory::FULLWIDTH_HIRAGANA, true); }, Size::kAtMostTwice},
    {[](CMemory& m, int) { m.ToFullWidth(CMemory::FULLWIDTH_ALNUM, false); }, Size::kAtMostTwice},
    {[](CMemory& m, int) { m.ToHalfWidth(0); }, Size::kAtMostInput},
    {[](CMemory& m, int) { m.ToHalfWidth(CMemory::HALFWIDTH_KATAKANA); }, Size::kAtMostInput},
    {[](CMemory& m, int) { m.ToHalfWidth(CMemory::HALFWIDTH_HIRAGANA); }, Size::kAtMostInput},
    {[](CMemory& m, int) { m.ToHalfWidth(CMemory::HALFWIDTH_ALNUM); }, Size::kAtMostInput},
    {[](CMemory& m, int) { m.ToHalfWidth(CMemory::HALFWIDTH_KATAKANA | CMemory::HALFWIDTH_HIRAGANA); },
     Size::kAtMostInput},
    {[](CMemory& m, int) { m.ToHalfWidth(7); }, Size::kAtMostInput},
    {[](CMemory& m, int w) { m.TABToSPACE(w); }, Size::kTimesWidth},
    {[](CMemory& m, int w) { m.SPACEToTAB(w); }, Size::kAtMostInput},
    {[](CMemory& m, int w) {
       m.SPACEToTAB(w);
       m.TABToSPACE(w);
     },
     Size::kTimesWidth},
};

// Every lead byte is followed by a trail byte.
bool WholeCharacters(const char* p, int len) {
  for (int at = 0; at < len;) {
    const int size = CMemory::CharSizeAt(p, len, at);
    const auto c = static_cast<unsigned char>(p[at]);
    if (size == 1 && ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC))) return false;
    at += size;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 20)) return 0;
  const Transformation& t = kAll[data[0] & 15];
  const int width = 1 + (data[0] >> 4);
  const char* text = reinterpret_cast<const char*>(data + 1);
  const int len = static_cast<int>(size - 1);
  CMemory m(text, len);
  t.apply(m, width);
  const int out = m.GetLength();
  if (len > 0 && !m.GetPtr()) std::abort();
  if (m.GetPtr() && m.GetPtr()[out] != '\0') std::abort();
  const bool fits = t.size == Size::kSame          ? out == len
                    : t.size == Size::kAtMostTwice ? out <= 2 * len
                    : t.size == Size::kAtMostInput ? out <= len
                                                   : out <= static_cast<int64_t>(len) * width;
  if (!fits) std::abort();
  if (WholeCharacters(text, len) && !WholeCharacters(m.GetPtr(), out)) std::abort();
  if (&t == &kAll[15]) {
    // Tabs written for spaces keep every column: expanded, both texts agree.
    CMemory direct(text, len);
    direct.TABToSPACE(width);
    if (!CMemory::SameContent(direct, m)) std::abort();
  }
  return 0;
}
