// The pixels of a memory surface and its table of kernel operations. Pixels are 32-bit
// 0xAARRGGBB, rows top-down, pitch = width * 4, one row right after the other. Two kernel classes
// derive from this one (plain integer code and packed SIMD code); they differ only where the alpha
// byte of additions and subtractions and the destination weight of the alpha blit say so. The
// game calls several kernels directly and reads the pixel pointer and the pitch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/image_limits.h"
#include "platform/mem_dc.h"
#include "platform/win_types.h"
#include "sdk/graphics/blit_ops.h"
#include "sdk/graphics/blit_rows.h"

class CMemPlane;
class CPlane;
class DisplacementMap;

// One blit of a surface with one source, its operation made once, for drawers of tens of
// thousands of small pieces a frame (the transition effects): a piece drawn through it leaves
// what the blit itself leaves, without the blit's set-up per piece. A short row is drawn inline,
// pixel by pixel with the blit's own pixel operation; a long one with the blit's row function.
class PieceBlitter {
 public:
  // The pixel operations the blits use (blit_ops).
  enum class Kind : uint8_t { kCopy, kCopyKey, kPackedAlpha, kPlainAlpha, kBlendAlpha };

  virtual ~PieceBlitter() = default;

  // Calls f with the pixel operation (a blit_ops object), so that a caller's loop over many
  // pieces is compiled once per operation.
  template <class F>
  void Visit(F&& f) const {
    switch (m_kind) {
      case Kind::kCopy:
        f(blit_ops::Copy{});
        break;
      case Kind::kCopyKey:
        f(blit_ops::Keyed<blit_ops::Copy>{m_key, {}});
        break;
      case Kind::kPackedAlpha:
        f(blit_ops::PackedAlpha{});
        break;
      case Kind::kPlainAlpha:
        f(blit_ops::PlainAlpha{});
        break;
      case Kind::kBlendAlpha:
        f(*m_blend);
        break;
    }
  }
  // A w x h piece from s (pitch sPitch, in pixels) onto d, both inside their surfaces, which
  // must not share pixels; op is the operation Visit hands out.
  template <class Op>
  void Draw(const Op& op, uint32_t* d, ptrdiff_t dPitch, const uint32_t* s, ptrdiff_t sPitch, size_t w,
            size_t h) const {
    for (; h > 0; --h, d += dPitch, s += sPitch) {
      if (w >= blit_rows::kRowFunctionLength) {
        Row(d, s, w);
      } else {
        for (size_t i = 0; i < w; ++i) d[i] = op(s[i], d[i]);
      }
    }
  }
  // The operation on n pixels d[i] with source pixels s[i], wherever the two lie (a row gathered
  // by the caller, a copy of the destination).
  virtual void Row(uint32_t* d, const uint32_t* s, size_t n) const = 0;
  // Many pieces in turn, each inside both surfaces (rows dPitch and sPitch pixels apart): where
  // the operation blends, the row kernels' block function draws them with one set-up.
  virtual void DrawBlocks(const blit_rows::Block* blocks, size_t count, ptrdiff_t dPitch, ptrdiff_t sPitch) const = 0;
  // Copies are cheapest drawn inline; blends in blocks.
  bool Blends() const { return m_kind != Kind::kCopy && m_kind != Kind::kCopyKey; }
  // The blit itself with these arguments (clipping, stretching, the clip written back).
  virtual int Blit(int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) const = 0;

 protected:
  PieceBlitter(Kind kind, uint32_t key, const blit_ops::BlendAlpha* blend) : m_kind(kind), m_key(key), m_blend(blend) {}

 private:
  Kind m_kind;
  uint32_t m_key;                       // kCopyKey
  const blit_ops::BlendAlpha* m_blend;  // kBlendAlpha
};

class CMemPlaneImpl {
 public:
  // Surfaces larger than this many pixels, or wider or higher than kMaxSide, are refused: the
  // sizes come from files and must not overflow the arithmetic or exhaust memory. The loaders
  // check the same limits before they decode.
  static constexpr int64_t kMaxPixels = platform::kMaxImagePixels;
  static constexpr int kMaxSide = static_cast<int>(platform::kMaxImageSide);

  explicit CMemPlaneImpl(const blit_rows::RowKernels& rows = blit_rows::ActiveRows());
  CMemPlaneImpl(const CMemPlaneImpl&) = delete;
  CMemPlaneImpl& operator=(const CMemPlaneImpl&) = delete;
  virtual ~CMemPlaneImpl();

  // ---- kernel table ----
  virtual int Load(std::string_view fileName, int flag, double scalePercent);

  // Blit kernels: (source, x, y, source rect or null, destination size or null = 1:1, clip or
  // null). They return 0, also when nothing is left to draw, and 1 only for a null source.
  virtual int Blt(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) = 0;
  virtual int BltFast(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) = 0;
  virtual int BlendBltHalf(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                           RECT* clip) = 0;
  virtual int BlendBltHalfFast(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                               RECT* clip) = 0;
  virtual int BlendBlt(CMemPlane* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                       const RECT* sourceRect, const int* destSize, RECT* clip) = 0;
  virtual int BlendBltFast(CMemPlane* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                           const RECT* sourceRect, const int* destSize, RECT* clip) = 0;
  virtual int AddColorBlt(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) = 0;
  virtual int AddColorBltFast(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                              RECT* clip) = 0;
  virtual int SubColorBlt(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) = 0;
  virtual int SubColorBltFast(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                              RECT* clip) = 0;
  virtual int BltRGB(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) = 0;
  virtual int BltFastRGB(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) = 0;
  virtual int BlendBltAlpha(CMemPlane* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                            const RECT* sourceRect, const int* destSize, RECT* clip) = 0;
  virtual int BltAlpha(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) = 0;
  virtual int BltKeepAlpha(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                           RECT* clip) = 0;
  virtual int BltFastKeepAlpha(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                               RECT* clip) = 0;
  // The same sixteen with each source row read from right to left.
  virtual int BltMirror(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip) = 0;
  virtual int BltFastMirror(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                            RECT* clip) = 0;
  virtual int BlendBltHalfMirror(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                                 RECT* clip) = 0;
  virtual int BlendBltHalfFastMirror(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                                     RECT* clip) = 0;
  virtual int BlendBltMirror(CMemPlane* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                             const RECT* sourceRect, const int* destSize, RECT* clip) = 0;
  virtual int BlendBltFastMirror(CMemPlane* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                                 const RECT* sourceRect, const int* destSize, RECT* clip) = 0;
  virtual int AddColorBltMirror(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                                RECT* clip) = 0;
  virtual int AddColorBltFastMirror(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                                    RECT* clip) = 0;
  virtual int SubColorBltMirror(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                                RECT* clip) = 0;
  virtual int SubColorBltFastMirror(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                                    RECT* clip) = 0;
  virtual int BltRGBMirror(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                           RECT* clip) = 0;
  virtual int BltFastRGBMirror(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                               RECT* clip) = 0;
  virtual int BlendBltAlphaMirror(CMemPlane* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                                  const RECT* sourceRect, const int* destSize, RECT* clip) = 0;
  virtual int BltAlphaMirror(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                             RECT* clip) = 0;
  virtual int BltKeepAlphaMirror(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                                 RECT* clip) = 0;
  virtual int BltFastKeepAlphaMirror(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize,
                                     RECT* clip) = 0;

  // Ratio 0..256: 0 (or less) draws nothing, 256 (or more) is BltNatural, anything between
  // blends with the source weighing ratio / 256.
  virtual int BlendBltNatural(CMemPlane* source, int x, int y, int ratio, const RECT* sourceRect, const int* destSize,
                              RECT* clip);
  // BltAlpha for a source with alpha, else the colour-keyed Blt.
  virtual int BltNatural(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip);
  virtual bool HasAlpha() const { return m_hasAlpha; }
  virtual bool* GetHasAlphaPtr() { return &m_hasAlpha; }
  virtual int AlphaGradient(CMemPlane* mask, int lower, int upper, int alphaLower, int alphaUpper, const RECT* rect);
  virtual int AlphaCopy(CMemPlane* source, int ratio, const RECT* rect);
  // Geometric blits (mem_plane_quad.cpp): a source quadrilateral mapped onto a destination
  // quadrilateral by stepping along its scan lines, sampled by nearest neighbour. A quad is four
  // points in the order left-top, right-top, left-bottom, right-bottom. The keyed forms skip
  // source pixels equal to the source's colour key; the Fast forms copy every pixel. Source
  // points outside the source surface leave the destination as it is. A null rectangle is the
  // whole surface, a null clip the whole destination, a null quad draws nothing. 0, or 1 for a
  // null source.
  virtual int QuadMapBlt(CMemPlane* source, const POINT* sourceQuad, const POINT* destQuad, const RECT* clip,
                         int direction);
  virtual int RectToQuadBlt(CMemPlane* source, const RECT* sourceRect, const POINT* destQuad, const RECT* clip);
  virtual int QuadToRectBlt(CMemPlane* source, const POINT* sourceQuad, const RECT* destRect, const RECT* clip);
  virtual int QuadMapBltFast(CMemPlane* source, const POINT* sourceQuad, const POINT* destQuad, const RECT* clip,
                             int direction);
  virtual int RectToQuadBltFast(CMemPlane* source, const RECT* sourceRect, const POINT* destQuad, const RECT* clip);
  virtual int QuadToRectBltFast(CMemPlane* source, const POINT* sourceQuad, const RECT* destRect, const RECT* clip);
  // The source rectangle scaled by zoom (16.16, 65536 = 1.0) to (x, y), then turned by angle
  // (512 steps a turn) about the anchor: 0 left-top, 1 right-top, 2 left-bottom, 3 right-bottom,
  // 4 centre. Another anchor draws nothing and returns 2.
  virtual int ZoomBlt(CMemPlane* source, const RECT* sourceRect, int x, int y, int angle, int zoom, int anchor,
                      const RECT* clip);
  virtual int ZoomBltFast(CMemPlane* source, const RECT* sourceRect, int x, int y, int angle, int zoom, int anchor,
                          const RECT* clip);
  virtual int NullBlt(CMemPlane* source, int x, int y, const RECT* sourceRect, const int* destSize, RECT* clip);
  // The blit that draws pieces from source for PieceBlitter: the operation of BltFast, Blt,
  // BltNatural or BlendBltAlpha(destFactor, sourceFactor). Null for a null source, or where the
  // class draws only through its blit calls.
  enum class PieceOp { kBltFast, kBlt, kBltNatural, kBlendBltAlpha };
  virtual std::unique_ptr<PieceBlitter> MakePieceBlitter(PieceOp op, CMemPlane* source, uint32_t destFactor,
                                                         uint32_t sourceFactor);
  virtual int DisplaceBlt(CMemPlane* source, const DisplacementMap* map, int x, int y, const RECT* sourceRect,
                          RECT* clip);
  // Constant colour 0xAARRGGBB added to / subtracted from every pixel of rect (null = all).
  virtual int AddColor(uint32_t colour, const RECT* rect) = 0;
  virtual int SubColor(uint32_t colour, const RECT* rect) = 0;
  virtual int SmoothEffect(const RECT* rect);
  virtual int MosaicEffect(int blockSize, const RECT* rect);
  virtual int NegateEffect(const RECT* rect);
  virtual int FadeEffect(int ratio, const RECT* rect);
  virtual int AlphaScale(int ratio, const RECT* rect);
  virtual int AlphaInvert(const RECT* rect);
  virtual int GetPixelAlpha(int x, int y) const;

  // ---- surface ----
  int CreateSurface(int width, int height);
  int AllocPixels(int width, int height);
  int Resize(int width, int height);
  // Exchanges the pixels of two surfaces, with their sizes and their alpha and loaded flags; colour
  // keys, the storage chosen for the next allocation and the kernels stay with each surface.
  void SwapPixels(CMemPlaneImpl& other);
  RECT* ClipRect(RECT* out, const RECT* rect) const;
  // Storage of the next allocation: a DIB section with a memory device context (text and
  // pictures can be drawn into it), or a plain heap block (the default).
  void SetUseDIBSection(bool use) { m_useDIBSection = use; }
  bool GetUseDIBSection() const { return m_useDIBSection; }
  // The memory device context over the pixels; null in heap storage or without pixels.
  HDC GetDC() const { return m_dc.get(); }
  uint32_t* GetPixels() const { return m_pixels; }
  uint32_t* GetRow(int y) const { return m_pixels + static_cast<size_t>(y) * Width(); }
  int GetPitch() const { return m_pitch; }
  int Width() const { return m_rect.right; }
  int Height() const { return m_rect.bottom; }
  const RECT& GetSurfaceRect() const { return m_rect; }
  void GetSize(int* width, int* height) const;
  uint32_t GetPixel(int x, int y) const;
  int Clear(uint32_t colour, const RECT* rect);
  int SetColorKey(int r, int g, int b);
  int SetColorKeyPos(int x, int y);
  uint32_t GetColorKey() const { return m_colorKey; }
  bool IsLoaded() const { return m_loaded; }
  void Release();
  void ClearAlpha();
  int LoadBMA(std::string_view fileName);
  int LoadByPictureLoader(std::string_view fileName);
  // Writes rect (null: all; clipped to the surface) as a 24-bit BMP: 0, or 1 when there is
  // nothing to write, else the writer's code.
  int Save(std::string_view fileName, const RECT* rect) const;
  // Copies sourceRect (null: all) 1:1 onto a plane through the plane's device context: 0, 1
  // nothing left after clipping or the copy failed, 2 the plane has no device context.
  int BltToPlane(CPlane* plane, int x, int y, const RECT* sourceRect, RECT* clip) const;

 protected:
  const blit_rows::RowKernels& Rows() const { return m_rowKernels; }

 private:
  struct FreeBlock {
    void operator()(uint32_t* p) const;
  };

  int LoadByDIBSection(std::string_view fileName);
  int LoadDecoded(std::string_view fileName, const std::string& ext, double scalePercent);
  // The flags of a decoded picture whose pixels are in place: loaded, its alpha, a BMP's key.
  int FinishDecoded(const std::string& ext, int bitCount);

  bool m_hasAlpha = false;
  std::unique_ptr<uint32_t[], FreeBlock> m_block;
  size_t m_blockPixels = 0;  // what the heap block holds, at least the surface's pixels
  std::unique_ptr<platform::Bitmap> m_bitmap;
  std::unique_ptr<platform::MemDC> m_dc;
  uint32_t* m_pixels = nullptr;
  RECT m_rect{};
  int m_pitch = 0;
  uint32_t m_colorKey = 0;
  uint32_t m_fillColor = 0;
  bool m_useDIBSection = false;
  bool m_loaded = false;
  const blit_rows::RowKernels& m_rowKernels;
};
