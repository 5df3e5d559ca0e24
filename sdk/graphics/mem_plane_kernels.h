// The blit and constant-colour kernels of a memory surface, written once over an arithmetic
// policy: the plain class and the packed SIMD class differ only in the operations the policy
// hands out (and in the faster row functions the packed policy attaches).
#pragma once

#include <algorithm>
#include <memory>
#include <type_traits>
#include <utility>

#include "sdk/graphics/blit_frame.h"
#include "sdk/graphics/blit_ops.h"
#include "sdk/graphics/mem_plane_impl.h"

namespace mem_plane_kernels {

// Applies fn(row pointer, pixel count) to each row of rect (null = the whole surface); 1 for an
// inverted rectangle or one with nothing on the surface.
template <class Fn>
int ForEachRow(CMemPlaneImpl& plane, const RECT* rect, Fn fn) {
  RECT r = rect != nullptr ? *rect : plane.GetSurfaceRect();
  if (rect != nullptr && r.left > r.right) return 1;
  r.left = std::max<LONG>(r.left, 0);
  r.top = std::max<LONG>(r.top, 0);
  r.right = std::min<LONG>(r.right, plane.Width());
  r.bottom = std::min<LONG>(r.bottom, plane.Height());
  if (r.left >= r.right || r.top >= r.bottom) return 1;
  for (LONG y = r.top; y < r.bottom; ++y)
    fn(plane.GetRow(y) + r.left, static_cast<size_t>(r.right - r.left));
  return 0;
}

inline uint32_t KeyOf(CMemPlane* source) {
  return source != nullptr ? source->GetImpl()->GetColorKey() : 0;
}

}  // namespace mem_plane_kernels

template <class Arith>
class CMemPlaneKernels : public CMemPlaneImpl {
 public:
  using CMemPlaneImpl::CMemPlaneImpl;

// Each kernel and its mirrored twin, from the operation the policy makes for it. `source` is
// in scope for the operation's expression (the colour key is the source's).
#define VREL_BLIT_KERNELS(Name, MakeOp)                                                        \
  int Name(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,      \
           RECT* clip) override {                                                              \
    return blit_frame::Run(*this, source, x, y, sourceRect, destSize, clip, false, MakeOp);    \
  }                                                                                            \
  int Name##Mirror(CMemPlane* source, int x, int y, const RECT* sourceRect,                    \
                   const int* destSize, RECT* clip) override {                                 \
    return blit_frame::Run(*this, source, x, y, sourceRect, destSize, clip, true, MakeOp);     \
  }
#define VREL_FACTOR_KERNELS(Name, MakeOp)                                                      \
  int Name(CMemPlane* source, int x, int y, uint32_t fd, uint32_t fs, const RECT* sourceRect,  \
           const int* destSize, RECT* clip) override {                                         \
    return blit_frame::Run(*this, source, x, y, sourceRect, destSize, clip, false, MakeOp);    \
  }                                                                                            \
  int Name##Mirror(CMemPlane* source, int x, int y, uint32_t fd, uint32_t fs,                  \
                   const RECT* sourceRect, const int* destSize, RECT* clip) override {         \
    return blit_frame::Run(*this, source, x, y, sourceRect, destSize, clip, true, MakeOp);     \
  }

  VREL_BLIT_KERNELS(Blt, Arith::CopyKey(Key(source), Rows()))
  VREL_BLIT_KERNELS(BltFast, Arith::Copy(Rows()))
  VREL_BLIT_KERNELS(BlendBltHalf, (blit_ops::Keyed<blit_ops::Half>{Key(source), {}}))
  VREL_BLIT_KERNELS(BlendBltHalfFast, blit_ops::Half{})
  VREL_FACTOR_KERNELS(BlendBlt, Arith::BlendKey(fd, fs, Key(source), Rows()))
  VREL_FACTOR_KERNELS(BlendBltFast, Arith::Blend(fd, fs, Rows()))
  VREL_BLIT_KERNELS(AddColorBlt, Arith::AddKey(Key(source), Rows()))
  VREL_BLIT_KERNELS(AddColorBltFast, Arith::Add(Rows()))
  VREL_BLIT_KERNELS(SubColorBlt, (blit_ops::Keyed<typename Arith::Sub>{Key(source), {}}))
  VREL_BLIT_KERNELS(SubColorBltFast, typename Arith::Sub{})
  VREL_BLIT_KERNELS(BltRGB, blit_ops::CopyRgbKeyed{Key(source)})
  VREL_BLIT_KERNELS(BltFastRGB, blit_ops::CopyRgb{})
  VREL_FACTOR_KERNELS(BlendBltAlpha, Arith::BlendAlpha(fd, fs, Rows()))
  VREL_BLIT_KERNELS(BltAlpha, Arith::Alpha(Rows()))
  VREL_BLIT_KERNELS(BltKeepAlpha, Arith::KeepAlphaKey(Key(source), Rows()))
  VREL_BLIT_KERNELS(BltFastKeepAlpha, Arith::KeepAlpha(Rows()))

#undef VREL_BLIT_KERNELS
#undef VREL_FACTOR_KERNELS

  std::unique_ptr<PieceBlitter> MakePieceBlitter(PieceOp op, CMemPlane* source, uint32_t fd, uint32_t fs) override {
    if (source == nullptr) return nullptr;
    switch (op) {
      case PieceOp::kBltFast:
        return MakeBlitter(source, Arith::Copy(Rows()));
      case PieceOp::kBlt:
        return MakeBlitter(source, Arith::CopyKey(Key(source), Rows()));
      case PieceOp::kBltNatural:
        // What BltNatural picks, once for all the pieces.
        if (source->HasAlpha()) return MakeBlitter(source, Arith::Alpha(Rows()));
        return MakeBlitter(source, Arith::CopyKey(Key(source), Rows()));
      case PieceOp::kBlendBltAlpha:
        return MakeBlitter(source, Arith::BlendAlpha(fd, fs, Rows()));
    }
    return nullptr;
  }

  int AddColor(uint32_t colour, const RECT* rect) override {
    return mem_plane_kernels::ForEachRow(*this, rect, Arith::AddConst(colour, Rows()));
  }
  int SubColor(uint32_t colour, const RECT* rect) override {
    return mem_plane_kernels::ForEachRow(*this, rect, Arith::SubConst(colour, Rows()));
  }

 private:
  static uint32_t Key(CMemPlane* source) { return mem_plane_kernels::KeyOf(source); }

  template <class Op>
  static constexpr PieceBlitter::Kind KindOf() {
    using Kind = PieceBlitter::Kind;
    if constexpr (std::is_base_of_v<blit_ops::Keyed<blit_ops::Copy>, Op>) return Kind::kCopyKey;
    else if constexpr (std::is_base_of_v<blit_ops::PackedAlpha, Op>) return Kind::kPackedAlpha;
    else if constexpr (std::is_base_of_v<blit_ops::PlainAlpha, Op>) return Kind::kPlainAlpha;
    else if constexpr (std::is_base_of_v<blit_ops::BlendAlpha, Op>) return Kind::kBlendAlpha;
    else {
      static_assert(std::is_base_of_v<blit_ops::Copy, Op>, "a piece operation the blitter does not know");
      return Kind::kCopy;
    }
  }

  // The operation is a base of its own, built before PieceBlitter, which keeps a pointer to it.
  template <class Op>
  struct OpHolder {
    Op op;
  };

  template <class Op>
  class Blitter final : private OpHolder<Op>, public PieceBlitter {
   public:
    Blitter(CMemPlaneImpl& dest, CMemPlane* source, Op op)
        : OpHolder<Op>{std::move(op)},
          PieceBlitter(KindOf<Op>(), Key(source), BlendOf(this->op)),
          m_dest(dest),
          m_source(source) {}
    void Row(uint32_t* d, const uint32_t* s, size_t n) const override { blit_frame::Span(d, s, n, this->op); }
    void DrawBlocks(const blit_rows::Block* blocks, size_t count, ptrdiff_t dPitch,
                    ptrdiff_t sPitch) const override {
      if constexpr (blit_frame::HasBlocks<Op>) {
        this->op.Blocks(blocks, count, dPitch, sPitch);
      } else {
        for (const blit_rows::Block* b = blocks; b != blocks + count; ++b)
          for (uint32_t row = 0; row < b->h; ++row)
            blit_frame::Span(b->d + row * dPitch, b->s + row * sPitch, b->w, this->op);
      }
    }
    int Blit(int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) const override {
      return blit_frame::Run(m_dest, m_source, x, y, sourceRect, destSize, clip, false, this->op);
    }

   private:
    static const blit_ops::BlendAlpha* BlendOf(const Op& op) {
      if constexpr (std::is_base_of_v<blit_ops::BlendAlpha, Op>)
        return &op;
      else
        return nullptr;
    }

    CMemPlaneImpl& m_dest;
    CMemPlane* m_source;
  };

  template <class Op>
  std::unique_ptr<PieceBlitter> MakeBlitter(CMemPlane* source, Op op) {
    return std::make_unique<Blitter<Op>>(*this, source, std::move(op));
  }
};
