// The plain kernel class: whole 32-bit pixels with carry masks, pixel by pixel. Its additions and
// subtractions let the alpha byte wrap, and its alpha blit weighs the destination one step less.
#pragma once

#include "sdk/graphics/mem_plane_kernels.h"

struct PlainArith {
  using Sub = blit_ops::PlainSub;
  using Rows = blit_rows::RowKernels;

  static auto Copy(const Rows&) { return blit_ops::Copy{}; }
  static auto CopyKey(uint32_t key, const Rows&) {
    return blit_ops::Keyed<blit_ops::Copy>{key, {}};
  }
  static auto KeepAlpha(const Rows&) { return blit_ops::KeepAlpha{}; }
  static auto KeepAlphaKey(uint32_t key, const Rows&) {
    return blit_ops::Keyed<blit_ops::KeepAlpha>{key, {}};
  }
  static auto Blend(uint32_t fd, uint32_t fs, const Rows&) { return blit_ops::PlainBlend{fd, fs}; }
  static auto BlendKey(uint32_t fd, uint32_t fs, uint32_t key, const Rows&) {
    return blit_ops::Keyed<blit_ops::PlainBlend>{key, {fd, fs}};
  }
  static auto Add(const Rows&) { return blit_ops::PlainAdd{}; }
  static auto AddKey(uint32_t key, const Rows&) {
    return blit_ops::Keyed<blit_ops::PlainAdd>{key, {}};
  }
  static auto Alpha(const Rows&) { return blit_ops::PlainAlpha{}; }
  static auto BlendAlpha(uint32_t fd, uint32_t fs, const Rows&) {
    return blit_ops::BlendAlpha(fd, fs);
  }
  static auto AddConst(uint32_t colour, const Rows&) {
    return [colour](uint32_t* d, size_t n) {
      for (size_t i = 0; i < n; ++i) d[i] = pixel::PlainAddSat(d[i], colour);
    };
  }
  static auto SubConst(uint32_t colour, const Rows&) {
    return [colour](uint32_t* d, size_t n) {
      for (size_t i = 0; i < n; ++i) d[i] = pixel::PlainSubSat(d[i], colour);
    };
  }
};

class CMemPlaneX86 final : public CMemPlaneKernels<PlainArith> {
 public:
  CMemPlaneX86();
};
