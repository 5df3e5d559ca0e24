// The row functions that multiply, with AVX2: eight pixels per step. The 256-bit unpack and pack
// instructions work within each 128-bit half, so the pixel order comes out unchanged. Only these
// functions carry the AVX2 target; the set is used only when the processor reports AVX2.
#include "sdk/graphics/blit_rows.h"

#if defined(__x86_64__)

#include <immintrin.h>

#define VREL_AVX2 __attribute__((target("avx2")))

namespace blit_rows {
namespace {

VREL_AVX2 __m256i Load(const uint32_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
VREL_AVX2 void Store(uint32_t* p, __m256i v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}
VREL_AVX2 __m256i ColourMask() { return _mm256_set1_epi32(0x00FFFFFF); }
// Bytes as words holding byte << 8 (see the SSE2 rows): one high multiplication by a weight up
// to 256 gives floor(byte * w / 256).
VREL_AVX2 __m256i WordsLo(__m256i v) { return _mm256_unpacklo_epi8(_mm256_setzero_si256(), v); }
VREL_AVX2 __m256i WordsHi(__m256i v) { return _mm256_unpackhi_epi8(_mm256_setzero_si256(), v); }
VREL_AVX2 __m256i MulShr8(__m256i shifted, __m256i w) { return _mm256_mulhi_epu16(shifted, w); }
// floor(a * f / 256) for unshifted words.
VREL_AVX2 __m256i ScaleWeight(__m256i a, __m256i f) {
  return _mm256_srli_epi16(_mm256_mullo_epi16(a, f), 8);
}

VREL_AVX2 __m256i FactorWords(uint32_t f) {
  const short b = static_cast<short>(f & 0xFF);
  const short g = static_cast<short>((f >> 8) & 0xFF);
  const short r = static_cast<short>((f >> 16) & 0xFF);
  return _mm256_set_epi16(0, r, g, b, 0, r, g, b, 0, r, g, b, 0, r, g, b);
}

// lo: pixels 0, 1, 4, 5; hi: pixels 2, 3, 6, 7 (the unpack order).
VREL_AVX2 void SpreadWeights(__m256i w, __m256i& lo, __m256i& hi) {
  const __m256i both = _mm256_or_si256(w, _mm256_slli_epi32(w, 16));
  lo = _mm256_unpacklo_epi32(both, both);
  hi = _mm256_unpackhi_epi32(both, both);
}

VREL_AVX2 __m256i WeightedSum(__m256i s, __m256i d, __m256i wsLo, __m256i wsHi, __m256i wdLo,
                              __m256i wdHi) {
  const __m256i lo = _mm256_add_epi16(MulShr8(WordsLo(s), wsLo), MulShr8(WordsLo(d), wdLo));
  const __m256i hi = _mm256_add_epi16(MulShr8(WordsHi(s), wsHi), MulShr8(WordsHi(d), wdHi));
  return _mm256_packus_epi16(lo, hi);
}

VREL_AVX2 __m256i SourceWeights(__m256i s, __m256i& opaque) {
  const __m256i a = _mm256_srli_epi32(s, 24);
  opaque = _mm256_cmpeq_epi32(a, _mm256_set1_epi32(255));
  return _mm256_sub_epi32(a, opaque);
}

VREL_AVX2 __m256i AlphaStep(__m256i s, __m256i d) {
  __m256i opaque;
  const __m256i ws = SourceWeights(s, opaque);
  if (_mm256_movemask_epi8(opaque) == -1) return _mm256_and_si256(s, ColourMask());
  if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(ws, _mm256_setzero_si256())) == -1)
    return _mm256_and_si256(d, ColourMask());
  __m256i wsLo, wsHi;
  SpreadWeights(ws, wsLo, wsHi);
  const __m256i full = _mm256_set1_epi16(256);
  const __m256i wdLo = _mm256_sub_epi16(full, wsLo), wdHi = _mm256_sub_epi16(full, wsHi);
  return _mm256_and_si256(WeightedSum(s, d, wsLo, wsHi, wdLo, wdHi), ColourMask());
}

VREL_AVX2 __m256i Set1(uint32_t v) { return _mm256_set1_epi32(static_cast<int>(v)); }

VREL_AVX2 void CopyKey(uint32_t* d, const uint32_t* s, size_t n, uint32_t key) {
  const __m256i k = Set1(key);
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i sv = Load(s + i);
    Store(d + i, _mm256_blendv_epi8(sv, Load(d + i), _mm256_cmpeq_epi32(sv, k)));
  }
  Sse2Rows()->copyKey(d + i, s + i, n - i, key);
}

VREL_AVX2 void CopyKeepAlpha(uint32_t* d, const uint32_t* s, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8)
    Store(d + i, _mm256_blendv_epi8(Load(d + i), Load(s + i), ColourMask()));
  Sse2Rows()->copyKeepAlpha(d + i, s + i, n - i);
}

VREL_AVX2 void CopyKeyKeepAlpha(uint32_t* d, const uint32_t* s, size_t n, uint32_t key) {
  const __m256i k = Set1(key);
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i sv = Load(s + i);
    const __m256i take = _mm256_andnot_si256(_mm256_cmpeq_epi32(sv, k), ColourMask());
    Store(d + i, _mm256_blendv_epi8(Load(d + i), sv, take));
  }
  Sse2Rows()->copyKeyKeepAlpha(d + i, s + i, n - i, key);
}

VREL_AVX2 void Add(uint32_t* d, const uint32_t* s, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) Store(d + i, _mm256_adds_epu8(Load(s + i), Load(d + i)));
  Sse2Rows()->add(d + i, s + i, n - i);
}

VREL_AVX2 void AddKey(uint32_t* d, const uint32_t* s, size_t n, uint32_t key) {
  const __m256i k = Set1(key);
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i sv = Load(s + i);
    const __m256i dv = Load(d + i);
    Store(d + i, _mm256_blendv_epi8(_mm256_adds_epu8(sv, dv), dv, _mm256_cmpeq_epi32(sv, k)));
  }
  Sse2Rows()->addKey(d + i, s + i, n - i, key);
}

VREL_AVX2 void AddConst(uint32_t* d, size_t n, uint32_t colour) {
  const __m256i c = Set1(colour);
  size_t i = 0;
  for (; i + 8 <= n; i += 8) Store(d + i, _mm256_adds_epu8(Load(d + i), c));
  Sse2Rows()->addConst(d + i, n - i, colour);
}

VREL_AVX2 void SubConst(uint32_t* d, size_t n, uint32_t colour) {
  const __m256i c = Set1(colour);
  size_t i = 0;
  for (; i + 8 <= n; i += 8) Store(d + i, _mm256_subs_epu8(Load(d + i), c));
  Sse2Rows()->subConst(d + i, n - i, colour);
}

VREL_AVX2 void Blend(uint32_t* d, const uint32_t* s, size_t n, uint32_t fd, uint32_t fs) {
  const __m256i ws = FactorWords(fs);
  const __m256i wd = FactorWords(fd);
  size_t i = 0;
  for (; i + 8 <= n; i += 8) Store(d + i, WeightedSum(Load(s + i), Load(d + i), ws, ws, wd, wd));
  Sse2Rows()->blend(d + i, s + i, n - i, fd, fs);
}

VREL_AVX2 void BlendKey(uint32_t* d, const uint32_t* s, size_t n, uint32_t fd, uint32_t fs,
                        uint32_t key) {
  const __m256i ws = FactorWords(fs);
  const __m256i wd = FactorWords(fd);
  const __m256i k = _mm256_set1_epi32(static_cast<int>(key));
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i sv = Load(s + i);
    const __m256i dv = Load(d + i);
    const __m256i blended = WeightedSum(sv, dv, ws, ws, wd, wd);
    Store(d + i, _mm256_blendv_epi8(blended, dv, _mm256_cmpeq_epi32(sv, k)));
  }
  Sse2Rows()->blendKey(d + i, s + i, n - i, fd, fs, key);
}

VREL_AVX2 void Alpha(uint32_t* d, const uint32_t* s, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) Store(d + i, AlphaStep(Load(s + i), Load(d + i)));
  Sse2Rows()->alpha(d + i, s + i, n - i);
}

VREL_AVX2 void BlendAlpha(uint32_t* d, const uint32_t* s, size_t n, uint32_t fd, uint32_t fs) {
  const __m256i fsw = FactorWords(fs);
  const __m256i fdInv = FactorWords(~fd);
  const __m256i full = _mm256_set1_epi16(255);
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i sv = Load(s + i);
    __m256i opaque;
    __m256i aLo, aHi;
    SpreadWeights(SourceWeights(sv, opaque), aLo, aHi);
    const __m256i wdLo = _mm256_sub_epi16(full, ScaleWeight(aLo, fdInv));
    const __m256i wdHi = _mm256_sub_epi16(full, ScaleWeight(aHi, fdInv));
    const __m256i out =
        WeightedSum(sv, Load(d + i), ScaleWeight(aLo, fsw), ScaleWeight(aHi, fsw), wdLo, wdHi);
    Store(d + i, _mm256_and_si256(out, ColourMask()));
  }
  Sse2Rows()->blendAlpha(d + i, s + i, n - i, fd, fs);
}

VREL_AVX2 void Fade(uint32_t* d, size_t n, uint32_t ratio) {
  const short r = static_cast<short>(ratio);
  const __m256i w = _mm256_set_epi16(0, r, r, r, 0, r, r, r, 0, r, r, r, 0, r, r, r);
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i v = Load(d + i);
    Store(d + i, _mm256_packus_epi16(MulShr8(WordsLo(v), w), MulShr8(WordsHi(v), w)));
  }
  Sse2Rows()->fade(d + i, n - i, ratio);
}

}  // namespace

const RowKernels* Avx2Rows() {
  if (!__builtin_cpu_supports("avx2")) return nullptr;
  static const RowKernels rows = [] {
    RowKernels r = *Sse2Rows();
    r.name = "avx2";
    r.copyKey = CopyKey;
    r.copyKeepAlpha = CopyKeepAlpha;
    r.copyKeyKeepAlpha = CopyKeyKeepAlpha;
    r.add = Add;
    r.addKey = AddKey;
    r.addConst = AddConst;
    r.subConst = SubConst;
    r.blend = Blend;
    r.blendKey = BlendKey;
    r.alpha = Alpha;
    r.blendAlpha = BlendAlpha;
    r.fade = Fade;
    return r;
  }();
  return &rows;
}

}  // namespace blit_rows

#else

namespace blit_rows {
const RowKernels* Avx2Rows() { return nullptr; }
}  // namespace blit_rows

#endif
