// A memory-backed stand-in for a display's surface object: off-screen surfaces in one pixel
// format, locked whole, drawn on through a memory device context, copied with or without a
// source colour key, and a lost state. Only tests make one; the game registers none.
//
// Contract:
// - The object's pixel format is given when it is made: 8 bits with a palette (3-3-2 colours),
//   16 bits 5-5-5, 24 bits, or 32 bits (masks 0xFF0000, 0xFF00, 0xFF). Every surface it makes
//   has that format.
// - CreateSurface takes width and height within the memory surfaces' limits
//   (platform/image_limits.h); anything else is DDERR_INVALIDPARAMS, and a refusal policy set by
//   a test refuses with DDERR_OUTOFMEMORY. New surfaces are all zero.
// - Lock covers the whole surface (a rectangle is refused) and hands out pitch, bits and format;
//   a second Lock before Unlock is DDERR_SURFACEBUSY. A test may make the next locks report
//   DDERR_WASSTILLDRAWING. A lost surface refuses Lock, GetDC and blits with DDERR_SURFACELOST
//   until Restore, which clears its pixels.
// - GetDC hands out a memory DC over the pixels, refused while locked or while a DC is out.
// - Blt: DDBLT_COLORFILL fills a rectangle (null: all) with a pixel value; otherwise a stretched
//   copy (nearest pixel) between rectangles that lie inside both surfaces.
// - BltFast copies 1:1, honouring the source's DDCKEY_SRCBLT key with DDBLTFAST_SRCCOLORKEY;
//   a rectangle outside either surface is DDERR_INVALIDRECT; formats must match.
// - Flip exchanges the pixels of two surfaces of the same size and format.
// - Results are the documented DirectDraw codes; no call throws.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/display_mode.h"  // DD_OK, DDERR_INVALIDPARAMS
#include "platform/mem_dc.h"
#include "platform/win_types.h"

namespace platform {

constexpr HRESULT DDERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DDERR_INVALIDRECT = static_cast<HRESULT>(0x88760096u);
constexpr HRESULT DDERR_NOCOLORKEY = static_cast<HRESULT>(0x887600D7u);
constexpr HRESULT DDERR_SURFACEBUSY = static_cast<HRESULT>(0x887601AEu);
constexpr HRESULT DDERR_SURFACELOST = static_cast<HRESULT>(0x887601C2u);
constexpr HRESULT DDERR_WASSTILLDRAWING = static_cast<HRESULT>(0x8876021Cu);
constexpr HRESULT DDERR_NOTLOCKED = static_cast<HRESULT>(0x88760248u);
constexpr HRESULT DDERR_DCALREADYCREATED = static_cast<HRESULT>(0x8876026Cu);
constexpr HRESULT DDERR_NODC = static_cast<HRESULT>(0x887600C9u);

constexpr DWORD DDSD_CAPS = 0x1;
constexpr DWORD DDSD_HEIGHT = 0x2;
constexpr DWORD DDSD_WIDTH = 0x4;
constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x40;
constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x800;
constexpr DWORD DDLOCK_WAIT = 0x1;
constexpr DWORD DDBLT_COLORFILL = 0x400;
constexpr DWORD DDBLT_WAIT = 0x1000000;
constexpr DWORD DDBLTFAST_NOCOLORKEY = 0x0;
constexpr DWORD DDBLTFAST_SRCCOLORKEY = 0x1;
constexpr DWORD DDBLTFAST_WAIT = 0x10;
constexpr DWORD DDCKEY_SRCBLT = 0x8;

struct DDPIXELFORMAT {
  DWORD dwRGBBitCount = 0;
  DWORD dwRBitMask = 0;
  DWORD dwGBitMask = 0;
  DWORD dwBBitMask = 0;
};

struct DDCOLORKEY {
  DWORD dwColorSpaceLowValue = 0;
  DWORD dwColorSpaceHighValue = 0;
};

struct DDSURFACEDESC {
  DWORD dwSize = 108;
  DWORD dwFlags = 0;
  DWORD dwHeight = 0;
  DWORD dwWidth = 0;
  int32_t lPitch = 0;
  void* lpSurface = nullptr;
  DWORD dwCaps = 0;
  DDPIXELFORMAT ddpfPixelFormat;
};

struct DDBLTFX {
  DWORD dwFillColor = 0;
};

class DirectDrawSurface {
 public:
  ~DirectDrawSurface();
  DirectDrawSurface(const DirectDrawSurface&) = delete;
  DirectDrawSurface& operator=(const DirectDrawSurface&) = delete;

  HRESULT Lock(const RECT* rect, DDSURFACEDESC* desc, DWORD flags);
  HRESULT Unlock(void* bits);
  HRESULT GetDC(HDC* dc);
  HRESULT ReleaseDC(HDC dc);
  HRESULT SetColorKey(DWORD flags, const DDCOLORKEY* key);
  HRESULT GetColorKey(DWORD flags, DDCOLORKEY* key) const;
  HRESULT Blt(const RECT* dest, DirectDrawSurface* source, const RECT* sourceRect, DWORD flags, const DDBLTFX* fx);
  HRESULT BltFast(int x, int y, DirectDrawSurface* source, const RECT* sourceRect, DWORD flags);
  HRESULT Flip(DirectDrawSurface* other);
  // DD_OK while the pixels are there, DDERR_SURFACELOST after SetLost.
  HRESULT IsLost() const;
  HRESULT Restore();
  HRESULT GetPixelFormat(DDPIXELFORMAT* format) const;

  // Test controls: lose the pixels (as a mode change would), and make the next count locks
  // report that the surface is still being drawn.
  void SetLost(bool lost) { m_lost = lost; }
  void SetStillDrawing(int count) { m_stillDrawing = count; }
  int Width() const { return m_bitmap->Width(); }
  int Height() const { return m_bitmap->Height(); }
  DWORD Caps() const { return m_caps; }

 private:
  friend class DirectDraw;
  DirectDrawSurface(std::unique_ptr<Bitmap> bitmap, const DDPIXELFORMAT& format, DWORD caps);
  bool Busy() const { return m_locked || m_dcOut; }

  std::unique_ptr<Bitmap> m_bitmap;
  MemDC m_dc;
  DDPIXELFORMAT m_format;
  DWORD m_caps = 0;
  bool m_locked = false;
  bool m_dcOut = false;
  bool m_lost = false;
  int m_stillDrawing = 0;
  bool m_hasKey = false;
  DDCOLORKEY m_key;
};

class DirectDraw {
 public:
  // bitCount 8, 16, 24 or 32; anything else is taken as 32.
  explicit DirectDraw(int bitCount);
  DirectDraw(const DirectDraw&) = delete;
  DirectDraw& operator=(const DirectDraw&) = delete;

  HRESULT CreateSurface(const DDSURFACEDESC& desc, std::unique_ptr<DirectDrawSurface>& out);
  const DDPIXELFORMAT& PixelFormat() const { return m_format; }
  // Returns true to refuse a creation; empty: none refused.
  void SetRefusalPolicy(std::function<bool(const DDSURFACEDESC&)> policy) { m_refuse = std::move(policy); }

 private:
  DDPIXELFORMAT m_format;
  std::function<bool(const DDSURFACEDESC&)> m_refuse;
};

}  // namespace platform
