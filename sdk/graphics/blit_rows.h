// Row functions of the packed-SIMD kernel class: the pixel operations the game runs every frame,
// applied to one run of n pixels. The plain version is the formula of pixel_math.h pixel by
// pixel; the SSE2 and AVX2 versions give the same bits. The set used is chosen once, by what the
// processor supports.
#pragma once

#include <cstddef>
#include <cstdint>

namespace blit_rows {

// From this length on a run pays for the call of a row function; shorter runs are cheaper pixel
// by pixel in the caller.
constexpr size_t kRowFunctionLength = 8;

// A small rectangle for the block functions: w x h pixels of s drawn onto d, w and h >= 1; the
// rows of all the blocks of one call lie dPitch (sPitch) pixels apart.
struct Block {
  uint32_t* d;
  const uint32_t* s;
  uint32_t w, h;
};

struct RowKernels {
  const char* name;
  // d = s.
  void (*copy)(uint32_t* d, const uint32_t* s, size_t n);
  // d = s where s != key.
  void (*copyKey)(uint32_t* d, const uint32_t* s, size_t n, uint32_t key);
  // d = colour of s with the alpha of d.
  void (*copyKeepAlpha)(uint32_t* d, const uint32_t* s, size_t n);
  // The same, where s != key.
  void (*copyKeyKeepAlpha)(uint32_t* d, const uint32_t* s, size_t n, uint32_t key);
  // Two-factor blend, alpha 0.
  void (*blend)(uint32_t* d, const uint32_t* s, size_t n, uint32_t fd, uint32_t fs);
  // The same, where s != key.
  void (*blendKey)(uint32_t* d, const uint32_t* s, size_t n, uint32_t fd, uint32_t fs,
                   uint32_t key);
  // Per-pixel alpha blend with the packed class's weights, alpha 0.
  void (*alpha)(uint32_t* d, const uint32_t* s, size_t n);
  // Alpha-weighted two-factor blend, alpha 0.
  void (*blendAlpha)(uint32_t* d, const uint32_t* s, size_t n, uint32_t fd, uint32_t fs);
  // Saturating add of all four bytes; the keyed form skips s == key.
  void (*add)(uint32_t* d, const uint32_t* s, size_t n);
  void (*addKey)(uint32_t* d, const uint32_t* s, size_t n, uint32_t key);
  // Saturating add / subtract of a constant colour on all four bytes.
  void (*addConst)(uint32_t* d, size_t n, uint32_t colour);
  void (*subConst)(uint32_t* d, size_t n, uint32_t colour);
  // Colour channels scaled by ratio / 256 (ratio 0..256), alpha 0.
  void (*fade)(uint32_t* d, size_t n, uint32_t ratio);
  // alpha and blendAlpha over the rows of many small blocks in turn (the pieces of a frame drawn
  // from one source, a few pixels each), with one set-up for them all.
  void (*alphaBlocks)(const Block* blocks, size_t count, ptrdiff_t dPitch, ptrdiff_t sPitch);
  void (*blendAlphaBlocks)(const Block* blocks, size_t count, ptrdiff_t dPitch, ptrdiff_t sPitch, uint32_t fd,
                           uint32_t fs);
};

// The set the program uses: the widest the processor supports.
const RowKernels& ActiveRows();
// The formula pixel by pixel.
const RowKernels& PlainRows();
// The SIMD sets, or null where the build or the processor lacks them.
const RowKernels* Sse2Rows();
const RowKernels* Avx2Rows();

}  // namespace blit_rows
