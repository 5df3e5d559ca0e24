// The memory stand-in for display surfaces: the refusals its users rely on.
#include "platform/direct_draw.h"

#include <gtest/gtest.h>
#include <memory>

using namespace platform;

namespace {

std::unique_ptr<DirectDrawSurface> Make(DirectDraw& dd, DWORD w, DWORD h) {
  DDSURFACEDESC d;
  d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  d.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  d.dwWidth = w;
  d.dwHeight = h;
  std::unique_ptr<DirectDrawSurface> s;
  EXPECT_EQ(dd.CreateSurface(d, s), DD_OK);
  return s;
}

TEST(DirectDrawStandIn, FormatsBySize) {
  const struct {
    int bits;
    DWORD r, g, b;
  } cases[] = {{8, 0, 0, 0}, {16, 0x7C00, 0x3E0, 0x1F}, {24, 0xFF0000, 0xFF00, 0xFF}, {32, 0xFF0000, 0xFF00, 0xFF}};
  for (const auto& c : cases) {
    DirectDraw dd(c.bits);
    auto s = Make(dd, 3, 2);
    DDSURFACEDESC d;
    ASSERT_EQ(s->Lock(nullptr, &d, DDLOCK_WAIT), DD_OK);
    EXPECT_EQ(d.ddpfPixelFormat.dwRGBBitCount, static_cast<DWORD>(c.bits));
    EXPECT_EQ(d.ddpfPixelFormat.dwRBitMask, c.r);
    EXPECT_EQ(d.ddpfPixelFormat.dwBBitMask, c.b);
    EXPECT_GE(d.lPitch, 3 * c.bits / 8);
    EXPECT_EQ(d.dwWidth, 3u);
    EXPECT_EQ(s->Unlock(nullptr), DD_OK);
  }
}

TEST(DirectDrawStandIn, CreationLimitsAndRefusals) {
  DirectDraw dd(32);
  DDSURFACEDESC d;
  d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  std::unique_ptr<DirectDrawSurface> s;
  const struct {
    DWORD w, h;
    HRESULT r;
  } cases[] = {{0, 4, DDERR_INVALIDPARAMS},
               {4, 0, DDERR_INVALIDPARAMS},
               {0xFFFFFFFF, 1, DDERR_INVALIDPARAMS},
               {1 << 14, 1 << 14, DDERR_INVALIDPARAMS},
               {4, 4, DD_OK}};
  for (const auto& c : cases) {
    d.dwWidth = c.w;
    d.dwHeight = c.h;
    EXPECT_EQ(dd.CreateSurface(d, s), c.r) << c.w << "x" << c.h;
    EXPECT_EQ(s != nullptr, c.r == DD_OK);
  }
  dd.SetRefusalPolicy([](const DDSURFACEDESC&) { return true; });
  d.dwWidth = d.dwHeight = 4;
  EXPECT_EQ(dd.CreateSurface(d, s), DDERR_OUTOFMEMORY);
}

TEST(DirectDrawStandIn, LocksDcsAndLostState) {
  DirectDraw dd(16);
  auto s = Make(dd, 4, 4);
  DDSURFACEDESC d;
  RECT part{0, 0, 1, 1};
  EXPECT_EQ(s->Lock(&part, &d, 0), DDERR_INVALIDPARAMS);
  ASSERT_EQ(s->Lock(nullptr, &d, 0), DD_OK);
  EXPECT_EQ(s->Lock(nullptr, &d, 0), DDERR_SURFACEBUSY);
  HDC dc = nullptr;
  EXPECT_EQ(s->GetDC(&dc), DDERR_SURFACEBUSY);
  static_cast<uint16_t*>(d.lpSurface)[0] = 0x7FFF;
  EXPECT_EQ(s->Unlock(nullptr), DD_OK);
  EXPECT_EQ(s->Unlock(nullptr), DDERR_NOTLOCKED);
  ASSERT_EQ(s->GetDC(&dc), DD_OK);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0xF8, 0xF8, 0xF8));
  EXPECT_EQ(s->Lock(nullptr, &d, 0), DDERR_SURFACEBUSY);
  EXPECT_EQ(s->ReleaseDC(dc), DD_OK);
  s->SetStillDrawing(2);
  EXPECT_EQ(s->Lock(nullptr, &d, 0), DDERR_WASSTILLDRAWING);
  EXPECT_EQ(s->Lock(nullptr, &d, 0), DDERR_WASSTILLDRAWING);
  ASSERT_EQ(s->Lock(nullptr, &d, 0), DD_OK);
  s->Unlock(nullptr);

  s->SetLost(true);
  EXPECT_EQ(s->IsLost(), DDERR_SURFACELOST);
  EXPECT_EQ(s->Lock(nullptr, &d, 0), DDERR_SURFACELOST);
  EXPECT_EQ(s->Restore(), DD_OK);
  EXPECT_EQ(s->IsLost(), DD_OK);
  ASSERT_EQ(s->Lock(nullptr, &d, 0), DD_OK);
  EXPECT_EQ(static_cast<uint16_t*>(d.lpSurface)[0], 0) << "restored memory is cleared";
  s->Unlock(nullptr);
}

TEST(DirectDrawStandIn, BlitsFillsKeysAndFlip) {
  DirectDraw dd(32);
  auto a = Make(dd, 4, 4), b = Make(dd, 4, 4);
  DDBLTFX fx;
  fx.dwFillColor = 0x112233;
  RECT r{1, 1, 3, 3};
  ASSERT_EQ(a->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
  const DDCOLORKEY key{0, 0};
  a->SetColorKey(DDCKEY_SRCBLT, &key);
  fx.dwFillColor = 0x445566;
  ASSERT_EQ(b->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
  ASSERT_EQ(b->BltFast(0, 0, a.get(), nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
  DDSURFACEDESC d;
  ASSERT_EQ(b->Lock(nullptr, &d, 0), DD_OK);
  auto px = [&](int x, int y) { return static_cast<uint32_t*>(d.lpSurface)[y * d.lPitch / 4 + x]; };
  EXPECT_EQ(px(0, 0), 0x445566u);
  EXPECT_EQ(px(1, 1), 0x112233u);
  b->Unlock(nullptr);
  const struct {
    int x, y;
    RECT src;
  } bad[] = {{3, 0, {0, 0, 2, 2}}, {-1, 0, {0, 0, 2, 2}}, {0, 0, {0, 0, 5, 1}}, {0, 0, {2, 2, 2, 3}}};
  for (const auto& c : bad) EXPECT_EQ(b->BltFast(c.x, c.y, a.get(), &c.src, 0), DDERR_INVALIDRECT);
  RECT big{0, 0, 5, 5};
  EXPECT_EQ(b->Blt(&big, a.get(), nullptr, 0, nullptr), DDERR_INVALIDRECT);
  RECT half{0, 0, 2, 2};
  ASSERT_EQ(b->Blt(&half, a.get(), nullptr, 0, nullptr), DD_OK);  // stretched down
  DirectDraw other(16);
  auto c = Make(other, 4, 4);
  EXPECT_EQ(b->BltFast(0, 0, c.get(), nullptr, 0), DDERR_INVALIDPARAMS);
  EXPECT_EQ(a->Flip(c.get()), DDERR_INVALIDPARAMS);
  ASSERT_EQ(a->Flip(b.get()), DD_OK);
  ASSERT_EQ(a->Lock(nullptr, &d, 0), DD_OK);
  EXPECT_EQ(static_cast<uint32_t*>(d.lpSurface)[0], 0u) << "b's pixels, stretched from a's corner";
  a->Unlock(nullptr);
}

}  // namespace
