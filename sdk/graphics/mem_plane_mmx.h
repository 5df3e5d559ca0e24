// The packed kernel class: per-byte arithmetic with saturation on all four bytes. The operations
// the game runs every frame carry SIMD row functions for unmirrored 1:1 rows; the rest, and the
// stretched and mirrored paths, run the same formulas pixel by pixel.
#pragma once

#include "sdk/graphics/mem_plane_kernels.h"

struct PackedArith {
  using Sub = blit_ops::PackedSub;
  using Rows = blit_rows::RowKernels;

  static auto Copy(const Rows& r) {
    return blit_ops::WithRow(blit_ops::Copy{},
                             [&r](uint32_t* d, const uint32_t* s, size_t n) { r.copy(d, s, n); });
  }
  static auto CopyKey(uint32_t key, const Rows& r) {
    return blit_ops::WithRow(
        blit_ops::Keyed<blit_ops::Copy>{key, {}},
        [&r, key](uint32_t* d, const uint32_t* s, size_t n) { r.copyKey(d, s, n, key); });
  }
  static auto KeepAlpha(const Rows& r) {
    return blit_ops::WithRow(blit_ops::KeepAlpha{}, [&r](uint32_t* d, const uint32_t* s,
                                                         size_t n) { r.copyKeepAlpha(d, s, n); });
  }
  static auto KeepAlphaKey(uint32_t key, const Rows& r) {
    return blit_ops::WithRow(
        blit_ops::Keyed<blit_ops::KeepAlpha>{key, {}},
        [&r, key](uint32_t* d, const uint32_t* s, size_t n) { r.copyKeyKeepAlpha(d, s, n, key); });
  }
  static auto Blend(uint32_t fd, uint32_t fs, const Rows& r) {
    return blit_ops::WithRow(blit_ops::Blend{fd, fs},
                             [&r, fd, fs](uint32_t* d, const uint32_t* s, size_t n) {
                               r.blend(d, s, n, fd, fs);
                             });
  }
  static auto BlendKey(uint32_t fd, uint32_t fs, uint32_t key, const Rows& r) {
    return blit_ops::WithRow(blit_ops::Keyed<blit_ops::Blend>{key, {fd, fs}},
                             [&r, fd, fs, key](uint32_t* d, const uint32_t* s, size_t n) {
                               r.blendKey(d, s, n, fd, fs, key);
                             });
  }
  static auto Add(const Rows& r) {
    return blit_ops::WithRow(blit_ops::PackedAdd{},
                             [&r](uint32_t* d, const uint32_t* s, size_t n) { r.add(d, s, n); });
  }
  static auto AddKey(uint32_t key, const Rows& r) {
    return blit_ops::WithRow(
        blit_ops::Keyed<blit_ops::PackedAdd>{key, {}},
        [&r, key](uint32_t* d, const uint32_t* s, size_t n) { r.addKey(d, s, n, key); });
  }
  static auto Alpha(const Rows& r) {
    return blit_ops::WithRowAndBlocks(
        blit_ops::PackedAlpha{}, [&r](uint32_t* d, const uint32_t* s, size_t n) { r.alpha(d, s, n); },
        [&r](const blit_rows::Block* b, size_t count, ptrdiff_t dPitch, ptrdiff_t sPitch) {
          r.alphaBlocks(b, count, dPitch, sPitch);
        });
  }
  static auto BlendAlpha(uint32_t fd, uint32_t fs, const Rows& r) {
    return blit_ops::WithRowAndBlocks(
        blit_ops::BlendAlpha(fd, fs),
        [&r, fd, fs](uint32_t* d, const uint32_t* s, size_t n) { r.blendAlpha(d, s, n, fd, fs); },
        [&r, fd, fs](const blit_rows::Block* b, size_t count, ptrdiff_t dPitch, ptrdiff_t sPitch) {
          r.blendAlphaBlocks(b, count, dPitch, sPitch, fd, fs);
        });
  }
  static auto AddConst(uint32_t colour, const Rows& r) {
    return [&r, colour](uint32_t* d, size_t n) { r.addConst(d, n, colour); };
  }
  static auto SubConst(uint32_t colour, const Rows& r) {
    return [&r, colour](uint32_t* d, size_t n) { r.subConst(d, n, colour); };
  }
};

// Processor classes 3 and 4 both get this class.
class CMemPlaneMMX final : public CMemPlaneKernels<PackedArith> {
 public:
  explicit CMemPlaneMMX(const blit_rows::RowKernels& rows = blit_rows::ActiveRows());
};
