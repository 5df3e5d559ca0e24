#include "sdk/graphics/draw_target.h"

uint32_t CDrawTarget::RatioSourceFactor(int ratio) {
  return (static_cast<uint32_t>(ratio) & 0xFF) * 0x010101u;
}

uint32_t CDrawTarget::RatioDestFactor(int ratio) {
  return (255 - (static_cast<uint32_t>(ratio) & 0xFF)) * 0x010101u;
}

int CDrawTarget::BlendBltRatio(CDrawTarget* source, int x, int y, int ratio,
                               const RECT* sourceRect, const int* destSize, RECT* clip) {
  return BlendBlt(source, x, y, RatioDestFactor(ratio), RatioSourceFactor(ratio), sourceRect,
                  destSize, clip);
}

int CDrawTarget::BlendBltFastRatio(CDrawTarget* source, int x, int y, int ratio,
                                   const RECT* sourceRect, const int* destSize, RECT* clip) {
  return BlendBltFast(source, x, y, RatioDestFactor(ratio), RatioSourceFactor(ratio), sourceRect,
                      destSize, clip);
}

int CDrawTarget::BlendBltAlphaRatio(CDrawTarget* source, int x, int y, int ratio,
                                    const RECT* sourceRect, const int* destSize, RECT* clip) {
  return BlendBltAlpha(source, x, y, RatioDestFactor(ratio), RatioSourceFactor(ratio), sourceRect,
                       destSize, clip);
}

int CDrawTarget::BlendBltAlpha(CDrawTarget*, int, int, uint32_t, uint32_t, const RECT*,
                               const int*, RECT*) {
  return 0;
}

int CDrawTarget::BltAlpha(CDrawTarget*, int, int, const RECT*, const int*, RECT*) { return 0; }

int CDrawTarget::BlendBltNatural(CDrawTarget* source, int x, int y, int ratio,
                                 const RECT* sourceRect, const int* destSize, RECT* clip) {
  if (ratio >= 255) return BltNatural(source, x, y, sourceRect, destSize, clip);
  // A negative ratio is no weight at all; its low bits would otherwise read as nearly opaque.
  if (ratio < 0) return 0;
  if (source != nullptr && source->HasAlpha())
    return BlendBltAlphaRatio(source, x, y, ratio, sourceRect, destSize, clip);
  return BlendBltRatio(source, x, y, ratio, sourceRect, destSize, clip);
}

int CDrawTarget::BltNatural(CDrawTarget* source, int x, int y, const RECT* sourceRect,
                            const int* destSize, RECT* clip) {
  if (source != nullptr && source->HasAlpha())
    return BltAlpha(source, x, y, sourceRect, destSize, clip);
  return Blt(source, x, y, sourceRect, destSize, clip);
}

int CDrawTarget::BltAligned(CDrawTarget* source, int x, int y, int mode, int ratio) {
  if (source == nullptr) return -1;
  int w = 0;
  int h = 0;
  source->GetSize(&w, &h);
  switch (mode) {
    case 0:
      x -= w >> 1;
      y -= h >> 1;
      break;
    case 1:
      break;
    case 2:
      x -= w;
      break;
    case 3:
      y -= h;
      break;
    case 4:
      x -= w;
      y -= h;
      break;
    default:
      return -2;
  }
  return BlendBltNatural(source, x, y, ratio, nullptr, nullptr, nullptr);
}

int CDrawTarget::Create(int, int, int) { return 1; }

int CDrawTarget::GetPixelAlpha(int x, int y) const {
  int w = 0;
  int h = 0;
  GetSize(&w, &h);
  return x >= 0 && y >= 0 && x < w && y < h ? 255 : 0;
}
