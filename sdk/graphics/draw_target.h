// The drawing interface every surface implements: blits with a colour key, opaque blits, blends by
// a ratio or by two colour factors, per-pixel alpha blits, rectangle effects, queries, loading and
// colour keys. Blit arguments follow one pattern: source, destination x and y, the operation's own
// factors, then the source rectangle (null = the whole source), the destination size (null = 1:1,
// else the source is stretched to it) and the clip rectangle on the destination (null = all of it;
// a given one is narrowed to the destination in place).
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/win_types.h"

class CDrawTarget {
 public:
  // GetType values.
  static constexpr int kTypeOther = 0;  // the interface default and the display
  static constexpr int kTypePlane = 1;
  static constexpr int kTypeMemPlane = 2;

  CDrawTarget() = default;
  CDrawTarget(const CDrawTarget&) = delete;
  CDrawTarget& operator=(const CDrawTarget&) = delete;
  virtual ~CDrawTarget() = default;

  virtual int GetType() const { return kTypeOther; }
  virtual int Blt(CDrawTarget* source, int x, int y, const RECT* sourceRect, const int* destSize,
                  RECT* clip) = 0;
  virtual int BltFast(CDrawTarget* source, int x, int y, const RECT* sourceRect,
                      const int* destSize, RECT* clip) = 0;
  virtual int BlendBltRatio(CDrawTarget* source, int x, int y, int ratio, const RECT* sourceRect,
                            const int* destSize, RECT* clip);
  virtual int BlendBlt(CDrawTarget* source, int x, int y, uint32_t destFactor,
                       uint32_t sourceFactor, const RECT* sourceRect, const int* destSize,
                       RECT* clip) = 0;
  virtual int BlendBltFastRatio(CDrawTarget* source, int x, int y, int ratio,
                                const RECT* sourceRect, const int* destSize, RECT* clip);
  virtual int BlendBltFast(CDrawTarget* source, int x, int y, uint32_t destFactor,
                           uint32_t sourceFactor, const RECT* sourceRect, const int* destSize,
                           RECT* clip) = 0;
  virtual int BlendBltAlphaRatio(CDrawTarget* source, int x, int y, int ratio,
                                 const RECT* sourceRect, const int* destSize, RECT* clip);
  virtual int BlendBltAlpha(CDrawTarget* source, int x, int y, uint32_t destFactor,
                            uint32_t sourceFactor, const RECT* sourceRect, const int* destSize,
                            RECT* clip);
  virtual int BltAlpha(CDrawTarget* source, int x, int y, const RECT* sourceRect,
                       const int* destSize, RECT* clip);
  virtual int BlendBltAlphaSimple(CDrawTarget* source, int x, int y, int ratio) = 0;
  virtual int MosaicBlt(int blockSize, const RECT* rect) = 0;
  virtual int FlushBlt(const RECT* rect) = 0;
  virtual void GetSize(int* width, int* height) const = 0;
  virtual bool IsLoaded() const = 0;
  virtual bool HasAlpha() const { return false; }
  virtual int Clear(const RECT* rect) = 0;
  virtual int BlendBltNatural(CDrawTarget* source, int x, int y, int ratio,
                              const RECT* sourceRect, const int* destSize, RECT* clip);
  virtual int BltNatural(CDrawTarget* source, int x, int y, const RECT* sourceRect,
                         const int* destSize, RECT* clip);
  // Draws the whole source with BlendBltNatural, (x, y) being the anchor point named by mode:
  // 0 centre, 1 left top, 2 right top, 3 left bottom, 4 right bottom.
  virtual int BltAligned(CDrawTarget* source, int x, int y, int mode, int ratio);
  virtual int Load(std::string_view fileName, int flag, double scalePercent) = 0;
  virtual int LoadByDepth(std::string_view name8, std::string_view nameOther, int flag) = 0;
  virtual void Release() = 0;
  virtual int SetColorKey(int r, int g, int b) = 0;
  virtual int SetColorKeyPos(int x, int y) = 0;
  virtual int Create(int width, int height, int flag);
  virtual int GetPixelAlpha(int x, int y) const;

  // The pair of factors a ratio stands for: the source weighs r, the destination 255 - r, in
  // every channel; only the low 8 bits of the ratio count.
  static uint32_t RatioSourceFactor(int ratio);
  static uint32_t RatioDestFactor(int ratio);
};
