// The row functions pixel by pixel: the reference of the SIMD sets, and what runs where the
// processor has none of them.
#include <cstring>

#include "sdk/graphics/blit_rows.h"
#include "sdk/graphics/pixel_math.h"

namespace blit_rows {
namespace {

void Copy(uint32_t* d, const uint32_t* s, size_t n) { std::memmove(d, s, n * sizeof(uint32_t)); }

void CopyKey(uint32_t* d, const uint32_t* s, size_t n, uint32_t key) {
  for (size_t i = 0; i < n; ++i)
    if (s[i] != key) d[i] = s[i];
}

void CopyKeepAlpha(uint32_t* d, const uint32_t* s, size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] = (s[i] & pixel::kColorMask) | (d[i] & pixel::kAlphaMask);
}

void CopyKeyKeepAlpha(uint32_t* d, const uint32_t* s, size_t n, uint32_t key) {
  for (size_t i = 0; i < n; ++i)
    if (s[i] != key) d[i] = (s[i] & pixel::kColorMask) | (d[i] & pixel::kAlphaMask);
}

void Blend(uint32_t* d, const uint32_t* s, size_t n, uint32_t fd, uint32_t fs) {
  for (size_t i = 0; i < n; ++i) d[i] = pixel::FactorBlend(s[i], d[i], fd, fs);
}

void BlendKey(uint32_t* d, const uint32_t* s, size_t n, uint32_t fd, uint32_t fs, uint32_t key) {
  for (size_t i = 0; i < n; ++i)
    if (s[i] != key) d[i] = pixel::FactorBlend(s[i], d[i], fd, fs);
}

void Alpha(uint32_t* d, const uint32_t* s, size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] = pixel::PackedBltAlpha(s[i], d[i]);
}

// The weights are worked out per pixel: a table would cost more than the few pixels a SIMD row
// leaves to this function.
void BlendAlpha(uint32_t* d, const uint32_t* s, size_t n, uint32_t fd, uint32_t fs) {
  for (size_t i = 0; i < n; ++i) {
    const pixel::AlphaBlendWeights w = pixel::AlphaBlendWeightsFor(pixel::Alpha(s[i]), fd, fs);
    d[i] = pixel::WeightedSum(s[i], d[i], w.ws, w.wd);
  }
}

void Add(uint32_t* d, const uint32_t* s, size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] = pixel::SatAddBytes(s[i], d[i]);
}

void AddKey(uint32_t* d, const uint32_t* s, size_t n, uint32_t key) {
  for (size_t i = 0; i < n; ++i)
    if (s[i] != key) d[i] = pixel::SatAddBytes(s[i], d[i]);
}

void AddConst(uint32_t* d, size_t n, uint32_t colour) {
  for (size_t i = 0; i < n; ++i) d[i] = pixel::SatAddBytes(d[i], colour);
}

void SubConst(uint32_t* d, size_t n, uint32_t colour) {
  for (size_t i = 0; i < n; ++i) d[i] = pixel::SatSubBytes(d[i], colour);
}

void Fade(uint32_t* d, size_t n, uint32_t ratio) {
  for (size_t i = 0; i < n; ++i) d[i] = pixel::Fade(d[i], ratio);
}

void AlphaBlocks(const Block* blocks, size_t count, ptrdiff_t dPitch, ptrdiff_t sPitch) {
  for (const Block* b = blocks; b != blocks + count; ++b)
    for (uint32_t row = 0; row < b->h; ++row) Alpha(b->d + row * dPitch, b->s + row * sPitch, b->w);
}

void BlendAlphaBlocks(const Block* blocks, size_t count, ptrdiff_t dPitch, ptrdiff_t sPitch, uint32_t fd,
                      uint32_t fs) {
  for (const Block* b = blocks; b != blocks + count; ++b)
    for (uint32_t row = 0; row < b->h; ++row) BlendAlpha(b->d + row * dPitch, b->s + row * sPitch, b->w, fd, fs);
}

constexpr RowKernels kPlain = {"plain",   Copy,       CopyKey, CopyKeepAlpha, CopyKeyKeepAlpha,
                               Blend,     BlendKey,   Alpha,   BlendAlpha,    Add,
                               AddKey,    AddConst,   SubConst, Fade,         AlphaBlocks,
                               BlendAlphaBlocks};

}  // namespace

const RowKernels& PlainRows() { return kPlain; }

}  // namespace blit_rows
