#include <cstring>

#include "platform/sjis_literal.h"
#include "sdk/framework/error_log.h"
#include "sdk/graphics/plane.h"
#include "sdk/graphics/plane_lock.h"

using namespace platform;

namespace {
constexpr int kStillDrawingTries = 64;
}  // namespace

HRESULT LockWholeSurface(DirectDrawSurface* surface, DDSURFACEDESC* desc) {
  HRESULT r = DDERR_WASSTILLDRAWING;
  for (int i = 0; i < kStillDrawingTries && r == DDERR_WASSTILLDRAWING; ++i)
    r = surface->Lock(nullptr, desc, DDLOCK_WAIT);
  return r;
}

uint32_t ColourBits(const DDPIXELFORMAT& format) {
  if (format.dwRGBBitCount == 8) return 0xFF;
  return format.dwRBitMask | format.dwGBitMask | format.dwBBitMask;
}

uint32_t DDColorMatch(DirectDrawSurface* surface, COLORREF colour) {
  if (surface == nullptr) return kNoPixel;
  DDSURFACEDESC desc;
  uint32_t saved = 0;
  // Without the first pixel saved it could not be put back, so nothing is touched then.
  if (LockWholeSurface(surface, &desc) != DD_OK) {
    ErrorLog::Out("DDColorMatch::Surfaceのロックに失敗..."_sj);
    return kNoPixel;
  }
  std::memcpy(&saved, desc.lpSurface, sizeof saved);
  surface->Unlock(nullptr);
  if (colour != CLR_INVALID) {
    HDC dc = nullptr;
    if (surface->GetDC(&dc) == DD_OK) {
      platform::SetPixel(dc, 0, 0, colour);
      surface->ReleaseDC(dc);
    }
  }
  if (LockWholeSurface(surface, &desc) != DD_OK) {
    ErrorLog::Out("DDColorMatch::Surfaceのロックに失敗..."_sj);
    return kNoPixel;
  }
  uint32_t value = 0;
  std::memcpy(&value, desc.lpSurface, sizeof value);
  const DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
  if (bits < 32) value &= (uint32_t{1} << bits) - 1;
  std::memcpy(desc.lpSurface, &saved, sizeof saved);
  if (bits != 8) value &= ColourBits(desc.ddpfPixelFormat);
  surface->Unlock(nullptr);
  return value;
}

uint32_t DDGetPixel(DirectDrawSurface* surface, int x, int y) {
  if (surface == nullptr) return kNoPixel;
  DDSURFACEDESC desc;
  if (surface->Lock(nullptr, &desc, DDLOCK_WAIT) != DD_OK) {
    ErrorLog::Out("CPlane::DDGetPixelでSurfaceのLockに失敗"_sj);
    return kNoPixel;
  }
  uint32_t value = kNoPixel;
  if (x >= 0 && y >= 0 && static_cast<DWORD>(x) < desc.dwWidth && static_cast<DWORD>(y) < desc.dwHeight) {
    const uint8_t* row = static_cast<const uint8_t*>(desc.lpSurface) + static_cast<size_t>(y) * desc.lPitch;
    const DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
    if (bits == 8 || bits == 16 || bits == 24 || bits == 32) {
      value = 0;
      std::memcpy(&value, row + static_cast<size_t>(x) * (bits / 8), bits / 8);
      if (bits != 8) value &= ColourBits(desc.ddpfPixelFormat);
    }
  }
  surface->Unlock(nullptr);
  return value;
}
