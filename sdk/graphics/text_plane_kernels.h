// The pixel work of the text plane: averaging the doubled ink in 2 × 2 blocks, and turning the
// averaged coverage into pixels of the text colour, with the shadow composited under the text.
// Rows of the averaged coverage are padded to whole blocks of kBlock values, so that the averaging
// runs in fixed-size blocks that the compiler turns into vector code.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace text_plane_kernels {

constexpr size_t kBlock = 16;

// n rounded up to whole blocks.
constexpr size_t BlockRound(size_t n) { return (n + kBlock - 1) / kBlock * kBlock; }

// out[x] = (upper[2x] + upper[2x + 1] + lower[2x] + lower[2x + 1]) / 4 for x < blocks × kBlock.
void AverageBlocks(const uint8_t* upper, const uint8_t* lower, uint8_t* out, size_t blocks);

// out[x] = the text colour (0x00RRGGBB) with alpha a[x], for x < n.
void TextRow(const uint8_t* a, uint32_t* out, size_t n, uint32_t rgb);

// Shadow S under text T, as the pixels are defined: b' = b × (255 − a) / 255 of the shadow's
// alpha b shows beside the text's alpha a; where both show, each colour byte is the weighted
// average and the alpha their sum; elsewhere T stays. Every division truncates.
uint32_t CompositeShadow(uint32_t t, uint32_t s);

// The alphas of text averaged from two-level ink.
constexpr uint8_t kLevelAlpha[] = {0, 63, 127, 191, 255};

// For every alpha, its level's position in kLevelAlpha times step, or other when it is no level.
constexpr std::array<uint8_t, 256> LevelIndex(unsigned step, unsigned other) {
  std::array<uint8_t, 256> index{};
  for (unsigned a = 0; a < 256; ++a) index[a] = static_cast<uint8_t>(other);
  for (unsigned i = 0; i < std::size(kLevelAlpha); ++i) index[kLevelAlpha[i]] = static_cast<uint8_t>(i * step);
  return index;
}

// The text colour over the shadow colour for any pair of alphas. Text averaged from two-level ink
// has only the alphas 0, 63, 127, 191 and 255, so the 25 pairs of those are worked out once and
// looked up; any other pair is computed. Rows are looked up 16 pixels at a time with byte shuffles
// where the processor has them (SSSE3), pixel by pixel elsewhere; both give the same pixels.
class ShadowComposite {
 public:
  static constexpr unsigned kLevels = std::size(kLevelAlpha);
  static constexpr unsigned kTableSize = 32;  // kLevels² entries, padded for the shuffles

  using RowFunction = void (*)(const ShadowComposite&, const uint8_t* a, const uint8_t* b, uint32_t* out, size_t n);

  ShadowComposite(uint32_t rgb, uint32_t shadowRgb);
  bool IsFor(uint32_t rgb, uint32_t shadowRgb) const { return rgb == m_rgb && shadowRgb == m_shadowRgb; }
  // The pixel for text alpha a over shadow alpha b (no shadow where b is 0).
  uint32_t At(uint8_t a, uint8_t b) const {
    const unsigned index = kTextLevel[a] + kShadowLevel[b];
    return index < kLevels * kLevels ? m_table[index] : Computed(a, b);
  }
  // out[x] = At(a[x], b[x]) for x < n. a and b must be readable up to n rounded up to whole blocks
  // (kBlock); nothing past out[n - 1] is written.
  void Row(const uint8_t* a, const uint8_t* b, uint32_t* out, size_t n) const { m_row(*this, a, b, out, n); }
  // The row pixel by pixel, and the shuffling row (null where the build or the processor lacks it).
  static void PlainRow(const ShadowComposite& c, const uint8_t* a, const uint8_t* b, uint32_t* out, size_t n);
  static RowFunction Ssse3Row();

  // Byte k (0 blue .. 3 alpha) of every table entry: entry text level × kLevels + shadow level.
  const uint8_t* TableBytes(int k) const { return m_tableBytes[k]; }

 private:
  // Table rows are text levels, columns shadow levels; an alpha that is no level lands past the
  // table.
  static constexpr std::array<uint8_t, 256> kTextLevel = LevelIndex(kLevels, 2 * kTableSize);
  static constexpr std::array<uint8_t, 256> kShadowLevel = LevelIndex(1, 2 * kTableSize);

  uint32_t Computed(uint8_t a, uint8_t b) const;

  uint32_t m_rgb, m_shadowRgb;
  RowFunction m_row;
  uint32_t m_table[kLevels * kLevels];
  alignas(16) uint8_t m_tableBytes[4][kTableSize] = {};
};

}  // namespace text_plane_kernels
