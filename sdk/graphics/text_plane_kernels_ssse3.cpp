// The shadow composite's table looked up sixteen pixels at a time with SSSE3 byte shuffles: the
// level of each alpha from its high four bits, then each byte of the table entry from two
// sixteen-entry shuffles. Alphas that are no level are computed pixel by pixel. Only these
// functions carry the SSSE3 target; they are used only when the processor reports it.
#include "sdk/graphics/text_plane_kernels.h"

#if defined(__x86_64__)

#include <tmmintrin.h>

#define VREL_SSSE3 __attribute__((target("ssse3")))

namespace text_plane_kernels {
namespace {

// By the high four bits of an alpha: its level times step where that nibble is a level's, and the
// level's alpha itself (0 elsewhere, which no alpha with such a nibble equals), so that an alpha is
// a level exactly when it equals the second table's value.
struct NibbleTables {
  alignas(16) uint8_t textIndex[16] = {};
  alignas(16) uint8_t shadowIndex[16] = {};
  alignas(16) uint8_t alpha[16] = {};
};

constexpr NibbleTables MakeNibbleTables() {
  NibbleTables t;
  for (unsigned i = 0; i < ShadowComposite::kLevels; ++i) {
    const unsigned nibble = kLevelAlpha[i] >> 4;
    t.textIndex[nibble] = static_cast<uint8_t>(i * ShadowComposite::kLevels);
    t.shadowIndex[nibble] = static_cast<uint8_t>(i);
    t.alpha[nibble] = kLevelAlpha[i];
  }
  return t;
}

constexpr NibbleTables kNibbles = MakeNibbleTables();

VREL_SSSE3 __m128i Load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }

// Table byte k of entries index (0..31).
VREL_SSSE3 __m128i TableByte(const ShadowComposite& c, int k, __m128i index) {
  const uint8_t* bytes = c.TableBytes(k);
  // An index byte with its top bit set gives 0: the low half answers 0..15, the high half 16..31.
  const __m128i low = _mm_shuffle_epi8(Load(bytes), _mm_adds_epu8(index, _mm_set1_epi8(0x70)));
  const __m128i high = _mm_shuffle_epi8(Load(bytes + 16), _mm_sub_epi8(index, _mm_set1_epi8(16)));
  return _mm_or_si128(low, high);
}

VREL_SSSE3 void Block(const ShadowComposite& c, const uint8_t* a, const uint8_t* b, uint32_t* out) {
  const __m128i nibble = _mm_set1_epi8(0x0F);
  const __m128i va = Load(a), vb = Load(b);
  const __m128i ha = _mm_and_si128(_mm_srli_epi16(va, 4), nibble);
  const __m128i hb = _mm_and_si128(_mm_srli_epi16(vb, 4), nibble);
  const __m128i levelAlpha = Load(kNibbles.alpha);
  const __m128i levels = _mm_and_si128(_mm_cmpeq_epi8(va, _mm_shuffle_epi8(levelAlpha, ha)),
                                       _mm_cmpeq_epi8(vb, _mm_shuffle_epi8(levelAlpha, hb)));
  const __m128i index = _mm_add_epi8(_mm_shuffle_epi8(Load(kNibbles.textIndex), ha),
                                     _mm_shuffle_epi8(Load(kNibbles.shadowIndex), hb));
  const __m128i blue = TableByte(c, 0, index), green = TableByte(c, 1, index);
  const __m128i red = TableByte(c, 2, index), alpha = TableByte(c, 3, index);
  const __m128i bgLow = _mm_unpacklo_epi8(blue, green), bgHigh = _mm_unpackhi_epi8(blue, green);
  const __m128i raLow = _mm_unpacklo_epi8(red, alpha), raHigh = _mm_unpackhi_epi8(red, alpha);
  __m128i* o = reinterpret_cast<__m128i*>(out);
  _mm_storeu_si128(o, _mm_unpacklo_epi16(bgLow, raLow));
  _mm_storeu_si128(o + 1, _mm_unpackhi_epi16(bgLow, raLow));
  _mm_storeu_si128(o + 2, _mm_unpacklo_epi16(bgHigh, raHigh));
  _mm_storeu_si128(o + 3, _mm_unpackhi_epi16(bgHigh, raHigh));
  const unsigned atLevels = static_cast<unsigned>(_mm_movemask_epi8(levels));
  if (atLevels != 0xFFFF) {
    for (int i = 0; i < 16; ++i) {
      if (!(atLevels & (1u << i))) out[i] = c.At(a[i], b[i]);
    }
  }
}

VREL_SSSE3 void ShuffleRow(const ShadowComposite& c, const uint8_t* a, const uint8_t* b, uint32_t* out, size_t n) {
  if (n == 0) return;
  if (n < 16) {
    // A short row is read as a whole block (the rows allow it) and written pixel by pixel.
    uint32_t row[16];
    Block(c, a, b, row);
    for (size_t i = 0; i < n; ++i) out[i] = row[i];
    return;
  }
  for (size_t x = 0; x + 16 <= n; x += 16) Block(c, a + x, b + x, out + x);
  // The last block overlaps the one before it, which it writes again with the same pixels.
  if (n % 16) Block(c, a + n - 16, b + n - 16, out + n - 16);
}

}  // namespace

ShadowComposite::RowFunction ShadowComposite::Ssse3Row() {
  if (!__builtin_cpu_supports("ssse3")) return nullptr;
  return ShuffleRow;
}

}  // namespace text_plane_kernels

#else

namespace text_plane_kernels {
ShadowComposite::RowFunction ShadowComposite::Ssse3Row() { return nullptr; }
}  // namespace text_plane_kernels

#endif
