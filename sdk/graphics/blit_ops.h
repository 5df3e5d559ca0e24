// The pixel operations of the blit kernels as small function objects: op(source, destination)
// gives the new destination pixel. An operation may also offer Row(d, s, n), a faster run over n
// pixels that gives the same bits; the blit frame uses it for unmirrored 1:1 rows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sdk/graphics/blit_rows.h"
#include "sdk/graphics/pixel_math.h"

namespace blit_ops {

// pixel::WeightedSum for one weight pair shared by the three colour channels (ws, wd <= 256):
// red and blue are scaled by one multiplication, each product still floored on its own because
// eight clear bits part them, and a channel sum that reaches 256 saturates to 255. The blends are
// per pixel on every stretched, mirrored or short run, where the channel-by-channel form costs
// several times as much.
constexpr uint32_t UniformWeightedSum(uint32_t s, uint32_t d, uint32_t ws, uint32_t wd) {
  uint32_t rb = (((s & 0xFF00FF) * ws >> 8) & 0xFF00FF) + (((d & 0xFF00FF) * wd >> 8) & 0xFF00FF);
  uint32_t g = (((s & 0xFF00) * ws >> 8) & 0xFF00) + (((d & 0xFF00) * wd >> 8) & 0xFF00);
  const uint32_t rbOver = rb & 0x1000100;
  const uint32_t gOver = g & 0x10000;
  rb = (rb | (rbOver - (rbOver >> 8))) & 0xFF00FF;
  g = (g | (gOver - (gOver >> 8))) & 0xFF00;
  return rb | g;
}

struct Copy {
  uint32_t operator()(uint32_t s, uint32_t) const { return s; }
};

// Colour of the source, alpha 0.
struct CopyRgb {
  uint32_t operator()(uint32_t s, uint32_t) const { return s & pixel::kColorMask; }
};

// Colour of the source, alpha of the destination.
struct KeepAlpha {
  uint32_t operator()(uint32_t s, uint32_t d) const {
    return (s & pixel::kColorMask) | (d & pixel::kAlphaMask);
  }
};

struct Half {
  uint32_t operator()(uint32_t s, uint32_t d) const { return pixel::PlainAverage(s, d); }
};

struct Blend {
  uint32_t fd, fs;
  uint32_t operator()(uint32_t s, uint32_t d) const { return pixel::FactorBlend(s, d, fd, fs); }
};

struct PlainBlend {
  uint32_t fd, fs;
  uint32_t operator()(uint32_t s, uint32_t d) const {
    return pixel::PlainFactorBlend(s, d, fd, fs);
  }
};

struct PlainAdd {
  uint32_t operator()(uint32_t s, uint32_t d) const { return pixel::PlainAddSat(s, d); }
};

struct PackedAdd {
  uint32_t operator()(uint32_t s, uint32_t d) const { return pixel::SatAddBytes(s, d); }
};

struct PlainSub {
  uint32_t operator()(uint32_t s, uint32_t d) const { return pixel::PlainSubSat(d, s); }
};

struct PackedSub {
  uint32_t operator()(uint32_t s, uint32_t d) const { return pixel::SatSubBytes(d, s); }
};

// pixel::PlainBltAlpha. Opaque and clear pixels, most of a picture, are the weights 256 / 0 and
// 0 / 256: the one pixel's colour.
struct PlainAlpha {
  uint32_t operator()(uint32_t s, uint32_t d) const {
    const uint32_t a = pixel::Alpha(s);
    if (a == 255) return s & pixel::kColorMask;
    if (a == 0) return d & pixel::kColorMask;
    return UniformWeightedSum(s, d, a, 255 - a);
  }
};

// pixel::PackedBltAlpha, with the same two shortcuts.
struct PackedAlpha {
  uint32_t operator()(uint32_t s, uint32_t d) const {
    const uint32_t a = pixel::Alpha(s);
    if (a == 255) return s & pixel::kColorMask;
    if (a == 0) return d & pixel::kColorMask;
    return UniformWeightedSum(s, d, a, 256 - a);
  }
};

// The weights come from a table of the 256 alpha values built for this call alone. Factors with
// one weight for all three channels (every ratio blend) take the shared-weight sum.
struct BlendAlpha {
  BlendAlpha(uint32_t destFactor, uint32_t sourceFactor)
      : fd(destFactor),
        fs(sourceFactor),
        uniform((fd & 0xFFFFFF) == (fd & 0xFF) * 0x010101u && (fs & 0xFFFFFF) == (fs & 0xFF) * 0x010101u),
        table(pixel::MakeAlphaBlendTable(fd, fs)) {}
  uint32_t operator()(uint32_t s, uint32_t d) const {
    if (uniform) {
      const pixel::AlphaBlendWeights& w = table[pixel::Alpha(s)];
      return UniformWeightedSum(s, d, w.ws[0], w.wd[0]);
    }
    return pixel::BlendAlpha(s, d, table);
  }
  uint32_t fd, fs;
  bool uniform;
  pixel::AlphaBlendTable table;
};

// Leaves the destination where the whole source pixel equals the key.
template <class Op>
struct Keyed {
  uint32_t key;
  Op op;
  uint32_t operator()(uint32_t s, uint32_t d) const { return s == key ? d : op(s, d); }
};

// Keyed on the colour bytes of the source only, which is what the alpha-dropping copy compares.
struct CopyRgbKeyed {
  uint32_t key;
  uint32_t operator()(uint32_t s, uint32_t d) const {
    return (s & pixel::kColorMask) == key ? d : s & pixel::kColorMask;
  }
};

// An operation with a faster row function attached.
template <class Op, class RowFn>
struct WithRow : Op {
  WithRow(Op op, RowFn rowFn) : Op(op), row(rowFn) {}
  void Row(uint32_t* d, const uint32_t* s, size_t n) const { row(d, s, n); }
  RowFn row;
};

// The same with a block function as well (blit_rows::RowKernels::alphaBlocks and the like).
template <class Op, class RowFn, class BlocksFn>
struct WithRowAndBlocks : WithRow<Op, RowFn> {
  WithRowAndBlocks(Op op, RowFn rowFn, BlocksFn blocksFn) : WithRow<Op, RowFn>(op, rowFn), blocks(blocksFn) {}
  void Blocks(const blit_rows::Block* b, size_t count, ptrdiff_t dPitch, ptrdiff_t sPitch) const {
    blocks(b, count, dPitch, sPitch);
  }
  BlocksFn blocks;
};

}  // namespace blit_ops
