#include "sdk/graphics/text_plane_kernels.h"

namespace text_plane_kernels {

namespace {

// One block each, with a fixed count and unaliased pointers: the compiler makes vector steps of them.
void AverageBlock(const uint8_t* __restrict upper, const uint8_t* __restrict lower, uint8_t* __restrict out) {
  for (size_t i = 0; i < kBlock; ++i) {
    out[i] = static_cast<uint8_t>((upper[2 * i] + upper[2 * i + 1] + lower[2 * i] + lower[2 * i + 1]) / 4);
  }
}

void TextBlock(const uint8_t* __restrict a, uint32_t* __restrict out, uint32_t rgb) {
  for (size_t i = 0; i < kBlock; ++i) out[i] = (uint32_t{a[i]} << 24) | rgb;
}

}  // namespace

void AverageBlocks(const uint8_t* upper, const uint8_t* lower, uint8_t* out, size_t blocks) {
  for (size_t block = 0; block < blocks; ++block) {
    AverageBlock(upper + 2 * kBlock * block, lower + 2 * kBlock * block, out + kBlock * block);
  }
}

// A row's last block may overlap the one before it: its pixels come out the same.
void TextRow(const uint8_t* a, uint32_t* out, size_t n, uint32_t rgb) {
  if (n < kBlock) {
    for (size_t x = 0; x < n; ++x) out[x] = (uint32_t{a[x]} << 24) | rgb;
    return;
  }
  for (size_t x = 0; x + kBlock <= n; x += kBlock) TextBlock(a + x, out + x, rgb);
  if (n % kBlock) TextBlock(a + n - kBlock, out + n - kBlock, rgb);
}

uint32_t CompositeShadow(uint32_t t, uint32_t s) {
  const uint32_t a = t >> 24, b = s >> 24;
  // Where the text has no ink the shadow shows unchanged; where it is opaque, not at all.
  if (a == 0) return s;
  if (a == 255) return t;
  const uint32_t shown = b * (255 - a) / 255;
  const uint32_t total = a + shown;
  if (total == 0 || shown == 0) return t;
  auto channel = [&](int shift) { return (((s >> shift) & 0xFF) * shown + ((t >> shift) & 0xFF) * a) / total; };
  return (total << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

namespace {

ShadowComposite::RowFunction ActiveRow() {
  static const ShadowComposite::RowFunction row = ShadowComposite::Ssse3Row() ? ShadowComposite::Ssse3Row() : ShadowComposite::PlainRow;
  return row;
}

}  // namespace

ShadowComposite::ShadowComposite(uint32_t rgb, uint32_t shadowRgb) : m_rgb(rgb), m_shadowRgb(shadowRgb), m_row(ActiveRow()) {
  for (unsigned i = 0; i < kLevels; ++i) {
    for (unsigned j = 0; j < kLevels; ++j) {
      const uint32_t pixel = Computed(kLevelAlpha[i], kLevelAlpha[j]);
      m_table[i * kLevels + j] = pixel;
      for (int k = 0; k < 4; ++k) m_tableBytes[k][i * kLevels + j] = static_cast<uint8_t>(pixel >> (8 * k));
    }
  }
}

uint32_t ShadowComposite::Computed(uint8_t a, uint8_t b) const {
  const uint32_t text = (uint32_t{a} << 24) | m_rgb;
  return b ? CompositeShadow(text, (uint32_t{b} << 24) | m_shadowRgb) : text;
}

void ShadowComposite::PlainRow(const ShadowComposite& c, const uint8_t* a, const uint8_t* b, uint32_t* out, size_t n) {
  for (size_t x = 0; x < n; ++x) out[x] = c.At(a[x], b[x]);
}

}  // namespace text_plane_kernels
