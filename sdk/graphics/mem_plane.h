// The 32-bit memory surface: a drawing interface over one CMemPlaneImpl, which holds the pixels
// and the kernels. Blits into a memory surface read their source's pixels directly, so the
// source must be a memory surface too; any other source draws nothing and the blit fails.
#pragma once

#include <memory>

#include "sdk/graphics/draw_target.h"
#include "sdk/graphics/mem_plane_impl.h"

class CMemPlane : public CDrawTarget {
 public:
  // The kernel class follows the processor class (GetCpuLevel): 1 and 2 the plain class, 3 and
  // 4 the packed SIMD class.
  CMemPlane();
  // Takes the given implementation, for a chosen kernel class.
  explicit CMemPlane(std::unique_ptr<CMemPlaneImpl> impl);
  ~CMemPlane() override;

  CMemPlaneImpl* GetImpl() const { return m_impl.get(); }
  // The memory surface behind a drawing target, or null when it is none.
  static CMemPlane* AsMemPlane(CDrawTarget* target);

  int GetType() const override { return kTypeMemPlane; }
  int Blt(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize,
          RECT* clip) override;
  int BltFast(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize,
              RECT* clip) override;
  int BlendBlt(CDrawTarget* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
               const RECT* sourceRect, const int* destSize, RECT* clip) override;
  int BlendBltFast(CDrawTarget* source, int x, int y, uint32_t destFactor, uint32_t sourceFactor,
                   const RECT* sourceRect, const int* destSize, RECT* clip) override;
  int BlendBltAlpha(CDrawTarget* source, int x, int y, uint32_t destFactor,
                    uint32_t sourceFactor, const RECT* sourceRect, const int* destSize,
                    RECT* clip) override;
  int BltAlpha(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize,
               RECT* clip) override;
  // The whole source 1:1 with ratio 0..256 as the source weight: 256 or more is BltAlpha,
  // 0 or less draws nothing.
  int BlendBltAlphaSimple(CDrawTarget* source, int x, int y, int ratio) override;
  int MosaicBlt(int blockSize, const RECT* rect) override;
  int FlushBlt(const RECT* rect) override;
  void GetSize(int* width, int* height) const override;
  bool IsLoaded() const override;
  bool HasAlpha() const override;
  int Clear(const RECT* rect) override;
  int BlendBltNatural(CDrawTarget* source, int x, int y, int ratio, const RECT* sourceRect,
                      const int* destSize, RECT* clip) override;
  int BltNatural(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize,
                 RECT* clip) override;
  int Load(std::string_view fileName, int flag, double scalePercent) override;
  int LoadByDepth(std::string_view name8, std::string_view nameOther, int flag) override;
  void Release() override;
  int SetColorKey(int r, int g, int b) override;
  int SetColorKeyPos(int x, int y) override;
  int Create(int width, int height, int flag) override;
  int GetPixelAlpha(int x, int y) const override;

  virtual int AlphaGradient(CMemPlane* mask, int lower, int upper, int alphaLower,
                            int alphaUpper, const RECT* rect);
  virtual int AlphaScale(int ratio, const RECT* rect);
  virtual int AlphaCopy(CMemPlane* source, int ratio, const RECT* rect);
  virtual int FadeEffect(int ratio, const RECT* rect);
  virtual int AlphaInvert(const RECT* rect);

 private:
  std::unique_ptr<CMemPlaneImpl> m_impl;
};
