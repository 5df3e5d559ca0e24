// The pixel operations of the blit kernels as small function objects: op(source, destination)
// gives the new destination pixel. An operation may also offer Row(d, s, n), a faster run over n
// pixels that gives the same bits; the blit frame uses it for unmirrored 1:1 rows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sdk/graphics/pixel_math.h"

namespace blit_ops {

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

struct PlainAlpha {
  uint32_t operator()(uint32_t s, uint32_t d) const { return pixel::PlainBltAlpha(s, d); }
};

struct PackedAlpha {
  uint32_t operator()(uint32_t s, uint32_t d) const { return pixel::PackedBltAlpha(s, d); }
};

// The weights come from a table of the 256 alpha values built for this call alone.
struct BlendAlpha {
  BlendAlpha(uint32_t destFactor, uint32_t sourceFactor)
      : fd(destFactor), fs(sourceFactor), table(pixel::MakeAlphaBlendTable(fd, fs)) {}
  uint32_t operator()(uint32_t s, uint32_t d) const { return pixel::BlendAlpha(s, d, table); }
  uint32_t fd, fs;
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

}  // namespace blit_ops
