// The row functions with SSE2, the baseline of every x86-64 processor: four pixels per step, the
// remainder through the plain functions. The block functions take the last one to three pixels
// of a row, and both rows of a 2 x 2 block, into one vector as well.
#include "sdk/graphics/blit_rows.h"

#if defined(__x86_64__)

#include <emmintrin.h>

namespace blit_rows {
namespace {

__m128i Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
void Store(uint32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
__m128i Ones() { return _mm_set1_epi32(-1); }
// mask ? a : b, bit by bit.
__m128i Select(__m128i mask, __m128i a, __m128i b) {
  return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}
// The bytes of pixels 0-1 (Lo) or 2-3 (Hi) as 16-bit words holding byte << 8, so that one
// unsigned high multiplication by a weight w (up to 256) gives floor(byte * w / 256).
__m128i WordsLo(__m128i v) { return _mm_unpacklo_epi8(_mm_setzero_si128(), v); }
__m128i WordsHi(__m128i v) { return _mm_unpackhi_epi8(_mm_setzero_si128(), v); }
__m128i MulShr8(__m128i shifted, __m128i w) { return _mm_mulhi_epu16(shifted, w); }

// The 16-bit words of a factor 0x00RRGGBB for two pixels, alpha weight 0.
__m128i FactorWords(uint32_t f) {
  const short b = static_cast<short>(f & 0xFF);
  const short g = static_cast<short>((f >> 8) & 0xFF);
  const short r = static_cast<short>((f >> 16) & 0xFF);
  return _mm_set_epi16(0, r, g, b, 0, r, g, b);
}

// One weight per pixel (four 32-bit values below 65536) spread over the pixel's four words:
// lo for pixels 0 and 1, hi for pixels 2 and 3.
void SpreadWeights(__m128i w, __m128i& lo, __m128i& hi) {
  const __m128i both = _mm_or_si128(w, _mm_slli_epi32(w, 16));
  lo = _mm_unpacklo_epi32(both, both);
  hi = _mm_unpackhi_epi32(both, both);
}

// Per byte min(255, floor(s * ws / 256) + floor(d * wd / 256)): each product floored on its
// own, the sum saturated by the pack.
__m128i WeightedSum(__m128i s, __m128i d, __m128i wsLo, __m128i wsHi, __m128i wdLo,
                    __m128i wdHi) {
  const __m128i lo = _mm_add_epi16(MulShr8(WordsLo(s), wsLo), MulShr8(WordsLo(d), wdLo));
  const __m128i hi = _mm_add_epi16(MulShr8(WordsHi(s), wsHi), MulShr8(WordsHi(d), wdHi));
  return _mm_packus_epi16(lo, hi);
}

// a' = a, but 256 at 255, for the alpha bytes of four pixels.
__m128i SourceWeights(__m128i s, __m128i& opaque) {
  const __m128i a = _mm_srli_epi32(s, 24);
  opaque = _mm_cmpeq_epi32(a, _mm_set1_epi32(255));
  return _mm_sub_epi32(a, opaque);
}

[[gnu::always_inline]] inline __m128i AlphaStep(__m128i s, __m128i d) {
  const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
  __m128i opaque;
  const __m128i ws = SourceWeights(s, opaque);
  // Whole groups of opaque or transparent pixels are common in sprites and come out exactly
  // as the weights 256/0 and 0/256 would give.
  if (_mm_movemask_epi8(opaque) == 0xFFFF) return _mm_and_si128(s, colour);
  if (_mm_movemask_epi8(_mm_cmpeq_epi32(ws, _mm_setzero_si128())) == 0xFFFF)
    return _mm_and_si128(d, colour);
  __m128i wsLo, wsHi;
  SpreadWeights(ws, wsLo, wsHi);
  const __m128i full = _mm_set1_epi16(256);
  const __m128i wdLo = _mm_sub_epi16(full, wsLo), wdHi = _mm_sub_epi16(full, wsHi);
  return _mm_and_si128(WeightedSum(s, d, wsLo, wsHi, wdLo, wdHi), colour);
}

// floor(a * f / 256) for two unshifted word vectors (a up to 256, f up to 255).
__m128i ScaleWeight(__m128i a, __m128i f) { return _mm_srli_epi16(_mm_mullo_epi16(a, f), 8); }

// The factors of the alpha-weighted blend as words: fs and 255 - fd.
struct BlendAlphaFactors {
  BlendAlphaFactors(uint32_t destFactor, uint32_t sourceFactor)
      : fs(FactorWords(sourceFactor)), fdInv(FactorWords(~destFactor)) {}
  __m128i fs;
  __m128i fdInv;
};

// ws = floor(a' * fs / 256), wd = 255 - floor(a' * (255 - fd) / 256), computed per pixel: the
// same weights a per-alpha table holds.
[[gnu::always_inline]] inline __m128i BlendAlphaStep(__m128i s, __m128i d, const BlendAlphaFactors& f) {
  __m128i opaque;
  __m128i aLo, aHi;
  SpreadWeights(SourceWeights(s, opaque), aLo, aHi);
  const __m128i full = _mm_set1_epi16(255);
  const __m128i wsLo = ScaleWeight(aLo, f.fs);
  const __m128i wsHi = ScaleWeight(aHi, f.fs);
  const __m128i wdLo = _mm_sub_epi16(full, ScaleWeight(aLo, f.fdInv));
  const __m128i wdHi = _mm_sub_epi16(full, ScaleWeight(aHi, f.fdInv));
  return _mm_and_si128(WeightedSum(s, d, wsLo, wsHi, wdLo, wdHi), _mm_set1_epi32(0x00FFFFFF));
}

void CopyKey(uint32_t* d, const uint32_t* s, size_t n, uint32_t key) {
  const __m128i k = _mm_set1_epi32(static_cast<int>(key));
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i sv = Load(s + i);
    Store(d + i, Select(_mm_cmpeq_epi32(sv, k), Load(d + i), sv));
  }
  PlainRows().copyKey(d + i, s + i, n - i, key);
}

void CopyKeepAlpha(uint32_t* d, const uint32_t* s, size_t n) {
  const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
  size_t i = 0;
  for (; i + 4 <= n; i += 4) Store(d + i, Select(colour, Load(s + i), Load(d + i)));
  PlainRows().copyKeepAlpha(d + i, s + i, n - i);
}

void CopyKeyKeepAlpha(uint32_t* d, const uint32_t* s, size_t n, uint32_t key) {
  const __m128i k = _mm_set1_epi32(static_cast<int>(key));
  const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i sv = Load(s + i);
    const __m128i keep = _mm_or_si128(_mm_cmpeq_epi32(sv, k), _mm_xor_si128(colour, Ones()));
    Store(d + i, Select(keep, Load(d + i), sv));
  }
  PlainRows().copyKeyKeepAlpha(d + i, s + i, n - i, key);
}

void Blend(uint32_t* d, const uint32_t* s, size_t n, uint32_t fd, uint32_t fs) {
  const __m128i ws = FactorWords(fs);
  const __m128i wd = FactorWords(fd);
  size_t i = 0;
  for (; i + 4 <= n; i += 4) Store(d + i, WeightedSum(Load(s + i), Load(d + i), ws, ws, wd, wd));
  PlainRows().blend(d + i, s + i, n - i, fd, fs);
}

void BlendKey(uint32_t* d, const uint32_t* s, size_t n, uint32_t fd, uint32_t fs, uint32_t key) {
  const __m128i ws = FactorWords(fs);
  const __m128i wd = FactorWords(fd);
  const __m128i k = _mm_set1_epi32(static_cast<int>(key));
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i sv = Load(s + i);
    const __m128i dv = Load(d + i);
    Store(d + i, Select(_mm_cmpeq_epi32(sv, k), dv, WeightedSum(sv, dv, ws, ws, wd, wd)));
  }
  PlainRows().blendKey(d + i, s + i, n - i, fd, fs, key);
}

void Alpha(uint32_t* d, const uint32_t* s, size_t n) {
  size_t i = 0;
  for (; i + 4 <= n; i += 4) Store(d + i, AlphaStep(Load(s + i), Load(d + i)));
  PlainRows().alpha(d + i, s + i, n - i);
}

void BlendAlpha(uint32_t* d, const uint32_t* s, size_t n, uint32_t fd, uint32_t fs) {
  const BlendAlphaFactors f(fd, fs);
  size_t i = 0;
  for (; i + 4 <= n; i += 4) Store(d + i, BlendAlphaStep(Load(s + i), Load(d + i), f));
  PlainRows().blendAlpha(d + i, s + i, n - i, fd, fs);
}

void Add(uint32_t* d, const uint32_t* s, size_t n) {
  size_t i = 0;
  for (; i + 4 <= n; i += 4) Store(d + i, _mm_adds_epu8(Load(s + i), Load(d + i)));
  PlainRows().add(d + i, s + i, n - i);
}

void AddKey(uint32_t* d, const uint32_t* s, size_t n, uint32_t key) {
  const __m128i k = _mm_set1_epi32(static_cast<int>(key));
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i sv = Load(s + i);
    const __m128i dv = Load(d + i);
    Store(d + i, Select(_mm_cmpeq_epi32(sv, k), dv, _mm_adds_epu8(sv, dv)));
  }
  PlainRows().addKey(d + i, s + i, n - i, key);
}

void AddConst(uint32_t* d, size_t n, uint32_t colour) {
  const __m128i c = _mm_set1_epi32(static_cast<int>(colour));
  size_t i = 0;
  for (; i + 4 <= n; i += 4) Store(d + i, _mm_adds_epu8(Load(d + i), c));
  PlainRows().addConst(d + i, n - i, colour);
}

void SubConst(uint32_t* d, size_t n, uint32_t colour) {
  const __m128i c = _mm_set1_epi32(static_cast<int>(colour));
  size_t i = 0;
  for (; i + 4 <= n; i += 4) Store(d + i, _mm_subs_epu8(Load(d + i), c));
  PlainRows().subConst(d + i, n - i, colour);
}

void Fade(uint32_t* d, size_t n, uint32_t ratio) {
  // The alpha word's weight is 0, which clears the alpha byte.
  const short r = static_cast<short>(ratio);
  const __m128i w = _mm_set_epi16(0, r, r, r, 0, r, r, r);
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i v = Load(d + i);
    Store(d + i, _mm_packus_epi16(MulShr8(WordsLo(v), w), MulShr8(WordsHi(v), w)));
  }
  PlainRows().fade(d + i, n - i, ratio);
}

// The first n (1..3) pixels at p in the low lanes, the rest 0.
__m128i LoadPart(const uint32_t* p, size_t n) {
  const __m128i first = n >= 2 ? _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))
                               : _mm_cvtsi32_si128(static_cast<int>(p[0]));
  return n == 3 ? _mm_unpacklo_epi64(first, _mm_cvtsi32_si128(static_cast<int>(p[2]))) : first;
}

void StorePart(uint32_t* p, __m128i v, size_t n) {
  if (n >= 2) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
    if (n == 3) p[2] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(v, 8)));
  } else {
    p[0] = static_cast<uint32_t>(_mm_cvtsi128_si32(v));
  }
}

// Two pixels from each of two rows as one vector.
__m128i LoadPair(const uint32_t* p, ptrdiff_t pitch) {
  return _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)),
                            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + pitch)));
}

void StorePair(uint32_t* p, ptrdiff_t pitch, __m128i v) {
  _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
  _mm_storel_epi64(reinterpret_cast<__m128i*>(p + pitch), _mm_srli_si128(v, 8));
}

// step(s, d) over every pixel of the blocks.
template <class Step>
void Blocks(const Block* blocks, size_t count, ptrdiff_t dPitch, ptrdiff_t sPitch, const Step& step) {
  for (const Block* b = blocks; b != blocks + count; ++b) {
    uint32_t* d = b->d;
    const uint32_t* s = b->s;
    uint32_t h = b->h;
    if (b->w == 2) {
      for (; h >= 2; h -= 2, d += 2 * dPitch, s += 2 * sPitch)
        StorePair(d, dPitch, step(LoadPair(s, sPitch), LoadPair(d, dPitch)));
    }
    for (; h > 0; --h, d += dPitch, s += sPitch) {
      size_t i = 0;
      for (; i + 4 <= b->w; i += 4) Store(d + i, step(Load(s + i), Load(d + i)));
      if (const size_t rest = b->w - i; rest > 0) StorePart(d + i, step(LoadPart(s + i, rest), LoadPart(d + i, rest)), rest);
    }
  }
}

void AlphaBlocks(const Block* blocks, size_t count, ptrdiff_t dPitch, ptrdiff_t sPitch) {
  Blocks(blocks, count, dPitch, sPitch, [](__m128i s, __m128i d) { return AlphaStep(s, d); });
}

void BlendAlphaBlocks(const Block* blocks, size_t count, ptrdiff_t dPitch, ptrdiff_t sPitch, uint32_t fd,
                      uint32_t fs) {
  const BlendAlphaFactors f(fd, fs);
  Blocks(blocks, count, dPitch, sPitch, [&f](__m128i s, __m128i d) { return BlendAlphaStep(s, d, f); });
}

}  // namespace

const RowKernels* Sse2Rows() {
  static const RowKernels rows = {"sse2",   PlainRows().copy, CopyKey,    CopyKeepAlpha,
                                  CopyKeyKeepAlpha, Blend,    BlendKey,   Alpha,
                                  BlendAlpha,       Add,      AddKey,     AddConst,
                                  SubConst,         Fade,     AlphaBlocks, BlendAlphaBlocks};
  return &rows;
}

}  // namespace blit_rows

#else

namespace blit_rows {
const RowKernels* Sse2Rows() { return nullptr; }
}  // namespace blit_rows

#endif
