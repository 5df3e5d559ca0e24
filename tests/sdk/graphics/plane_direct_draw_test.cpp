// The display-format plane over the memory stand-in, at each depth it comes in: copies, keys,
// blends, stretches, effects and the pixel reads checked against the pixel formulas.
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "image_files.h"
#include "platform/direct_draw.h"
#include "platform/window.h"
#include "scoped_temp_dir.h"
#include "sdk/framework/app_manager.h"
#include "sdk/graphics/direct_draw_base.h"
#include "sdk/graphics/display_bpp.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/plane.h"

using namespace platform;

namespace {

// Registers a surface object of one depth for the calling thread while it lives.
class Registered {
 public:
  explicit Registered(int bits) : m_draw(bits) { CAppManager::SetDirectDraw(&m_draw); }
  ~Registered() { CAppManager::SetDirectDraw(nullptr); }
  DirectDraw& draw() { return m_draw; }

 private:
  DirectDraw m_draw;
};

uint32_t Raw(CPlane& p, int x, int y) {
  DDSURFACEDESC d;
  EXPECT_EQ(p.GetSurface()->Lock(nullptr, &d, DDLOCK_WAIT), DD_OK);
  uint32_t v = 0;
  const int bytes = static_cast<int>(d.ddpfPixelFormat.dwRGBBitCount / 8);
  std::memcpy(&v, static_cast<uint8_t*>(d.lpSurface) + y * d.lPitch + x * bytes, bytes);
  p.GetSurface()->Unlock(nullptr);
  return v;
}

void Put(CPlane& p, int x, int y, uint32_t v) {
  DDSURFACEDESC d;
  ASSERT_EQ(p.GetSurface()->Lock(nullptr, &d, DDLOCK_WAIT), DD_OK);
  const int bytes = static_cast<int>(d.ddpfPixelFormat.dwRGBBitCount / 8);
  std::memcpy(static_cast<uint8_t*>(d.lpSurface) + y * d.lPitch + x * bytes, &v, bytes);
  p.GetSurface()->Unlock(nullptr);
}

uint32_t ColourMask(int bits) {
  switch (bits) {
    case 8:
      return 0xFF;
    case 16:
      return 0x7FFF;
    default:
      return 0xFFFFFF;
  }
}

// A pixel value of the depth that differs from pixel to pixel.
uint32_t Pattern(int bits, int x, int y) {
  return ((x * 0x1F3A5u + y * 0x2C71Bu + 0x10305u) * 2654435761u >> 7) & ColourMask(bits);
}

void Fill(CPlane& p, int w, int h, int bits, uint32_t seed = 0) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Put(p, x, y, Pattern(bits, x + static_cast<int>(seed), y));
}

// The source pixel that destination pixel i shows when s pixels are stretched over d: the error
// term starts at -d - 1, so the source moves on once i * s reaches d + 1.
int StretchIndex(int i, int s, int d) { return i == 0 ? 0 : (i * s - 1) / d; }

class PlaneDepthTest : public ::testing::TestWithParam<int> {
 protected:
  int bits() const { return GetParam(); }
  Registered reg_{GetParam()};
};

TEST_P(PlaneDepthTest, OpaqueAndKeyedCopiesMoveTheSourcePixels) {
  CPlane src, dst;
  ASSERT_EQ(src.Create(6, 5, 0), 0);
  ASSERT_EQ(dst.Create(8, 8, 0), 0);
  Fill(src, 6, 5, bits());
  const uint32_t key = Pattern(bits(), 0, 0);
  Put(src, 3, 2, key);  // a second transparent pixel
  ASSERT_EQ(src.SetColorKeyPos(0, 0), 0);
  const RECT sr{1, 1, 5, 4};
  RECT clip{0, 0, 5, 8};  // cuts the last column
  for (bool keyed : {false, true}) {
    dst.Clear(nullptr);
    Put(dst, 2, 1, 0x5);  // under the second transparent pixel
    const int r = keyed ? dst.Blt(&src, 2, 0, &sr, nullptr, &clip) : dst.BltFast(&src, 2, 0, &sr, nullptr, &clip);
    ASSERT_EQ(r, 0);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        uint32_t want = (x == 2 && y == 1) ? 0x5 : 0;
        if (x >= 2 && x < 5 && y < 3) {
          const uint32_t s = Raw(src, x - 1, y + 1);
          if (!(keyed && s == key)) want = s;
        }
        EXPECT_EQ(Raw(dst, x, y), want) << "keyed " << keyed << " at " << x << "," << y;
      }
  }
}

TEST_P(PlaneDepthTest, BlendsFollowTheChannelFormula) {
  if (bits() == 8) GTEST_SKIP() << "blends draw nothing at 8 bits";
  CPlane src, dst;
  ASSERT_EQ(src.Create(4, 4, 0), 0);
  ASSERT_EQ(dst.Create(4, 4, 0), 0);
  Fill(src, 4, 4, bits(), 1);
  Fill(dst, 4, 4, bits(), 7);
  CPlane before;
  ASSERT_EQ(before.Create(4, 4, 0), 0);
  ASSERT_EQ(before.BltFast(&dst, 0, 0, nullptr, nullptr, nullptr), 0);
  const struct {
    const char* name;
    uint32_t fd, fs;
  } cases[] = {{"source only", 0, 0xFFFFFF}, {"mixed", 0x402010, 0x80C0F0}};
  const uint32_t masks16[3] = {0x7C00, 0x03E0, 0x001F};
  const uint32_t masks32[3] = {0xFF0000, 0x00FF00, 0x0000FF};
  for (const auto& c : cases) {
    ASSERT_EQ(dst.BltFast(&before, 0, 0, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(dst.BlendBltFast(&src, 0, 0, c.fd, c.fs, nullptr, nullptr, nullptr), 0) << c.name;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) {
        const uint32_t s = Raw(src, x, y), d = Raw(before, x, y);
        uint32_t want = 0;
        for (int ch = 0; ch < 3; ++ch) {
          const uint32_t fs = (c.fs >> (16 - 8 * ch)) & 255, fd = (c.fd >> (16 - 8 * ch)) & 255;
          const uint32_t m = bits() == 16 ? masks16[ch] : masks32[ch];
          want |= static_cast<uint32_t>(((uint64_t{s & m} * fs + uint64_t{d & m} * fd) >> 8) & m);
        }
        EXPECT_EQ(Raw(dst, x, y), want) << c.name << " at " << x << "," << y;
      }
  }
  // Factor 255 alone is one step darker in every non-zero channel.
  if (bits() == 32) {
    Put(src, 0, 0, 0x00FF8001);
    ASSERT_EQ(dst.BlendBltFast(&src, 0, 0, 0, 0xFFFFFF, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(Raw(dst, 0, 0), 0x00FE7F00u);
  }
}

TEST_P(PlaneDepthTest, StretchesStepThroughTheSourceAndHonourTheClip) {
  CPlane src, dst, flat;
  ASSERT_EQ(src.Create(3, 2, 0), 0);
  ASSERT_EQ(dst.Create(8, 8, 0), 0);
  ASSERT_EQ(flat.Create(8, 8, 0), 0);
  Fill(src, 3, 2, bits(), 3);
  const int twice[2] = {6, 4};
  ASSERT_EQ(dst.BltFast(&src, 1, 1, nullptr, twice, nullptr), 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(Raw(dst, 1 + x, 1 + y), Raw(src, StretchIndex(x, 3, 6), StretchIndex(y, 2, 4))) << x << "," << y;
  EXPECT_EQ(Raw(dst, 0, 0), 0u);
  EXPECT_EQ(Raw(dst, 7, 5), 0u);

  // A clip that starts inside the stretched picture shows the part it would have shown anyway.
  CPlane clipped;
  ASSERT_EQ(clipped.Create(8, 8, 0), 0);
  RECT clip{3, 2, 8, 8};
  ASSERT_EQ(clipped.BltFast(&src, 1, 1, nullptr, twice, &clip), 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(Raw(clipped, x, y), (x >= 3 && y >= 2) ? Raw(dst, x, y) : 0u) << x << "," << y;

  // Equal sizes are the unstretched copy.
  const int same[2] = {3, 2};
  ASSERT_EQ(flat.BltFast(&src, 2, 2, nullptr, same, nullptr), 0);
  EXPECT_EQ(Raw(flat, 4, 3), Raw(src, 2, 1));

  const struct {
    const char* name;
    int x, y;
    int size[2];
    int result;
  } edges[] = {{"outside the clip", 20, 20, {6, 4}, CPlane::kNothingStretched},
               {"zero width", 0, 0, {0, 4}, CPlane::kNothingStretched},
               {"negative height", 0, 0, {6, -4}, CPlane::kNothingStretched}};
  for (const auto& e : edges) EXPECT_EQ(dst.BltFast(&src, e.x, e.y, nullptr, e.size, nullptr), e.result) << e.name;
  EXPECT_EQ(dst.BltFast(&src, 20, 20, nullptr, nullptr, nullptr), 0) << "unstretched outside the clip";
}

TEST_P(PlaneDepthTest, MosaicBlocksAndColourInversion) {
  CPlane p;
  ASSERT_EQ(p.Create(12, 4, 0), 0);
  Fill(p, 12, 4, bits(), 5);
  CPlane before;
  ASSERT_EQ(before.Create(12, 4, 0), 0);
  ASSERT_EQ(before.BltFast(&p, 0, 0, nullptr, nullptr, nullptr), 0);
  const RECT r{1, 0, 11, 4};  // 10 wide: blocks of 3, 3, 3 and 1
  ASSERT_EQ(p.MosaicBlt(3, &r), 0);
  const int starts[] = {1, 1, 1, 4, 4, 4, 7, 7, 7, 10};
  for (int y = 0; y < 4; ++y) {
    EXPECT_EQ(Raw(p, 0, y), Raw(before, 0, y));
    EXPECT_EQ(Raw(p, 11, y), Raw(before, 11, y));
    for (int i = 0; i < 10; ++i) EXPECT_EQ(Raw(p, 1 + i, y), Raw(before, starts[i], y < 3 ? 0 : 3)) << i << "," << y;
  }
  EXPECT_EQ(p.MosaicBlt(0, nullptr), -2);
  EXPECT_EQ(p.MosaicBlt(-3, nullptr), -2);
  const RECT outside{20, 20, 30, 30};
  EXPECT_EQ(p.MosaicBlt(2, &outside), 1);

  Put(p, 0, 0, bits() == 32 ? 0xAB123456u : (bits() == 16 ? 0x8421u : 0x123456u & ColourMask(bits())));
  const RECT one{0, 0, 1, 1};
  ASSERT_EQ(p.FlushBlt(&one), 0);
  const uint32_t want =
      bits() == 32 ? 0xABEDCBA9u : (bits() == 16 ? 0x7BDEu : (~(0x123456u & ColourMask(bits()))) & ColourMask(bits()));
  EXPECT_EQ(Raw(p, 0, 0), want);
  EXPECT_EQ(p.FlushBlt(&outside), 1);
}

TEST_P(PlaneDepthTest, ColourMatchAndPixelReads) {
  CPlane p;
  ASSERT_EQ(p.Create(3, 3, 0), 0);
  Put(p, 0, 0, 0x77 & ColourMask(bits()));
  const uint32_t matched = DDColorMatch(p.GetSurface(), RGB(0xFF, 0x80, 0x08));
  switch (bits()) {
    case 32:
    case 24:
      EXPECT_EQ(matched, 0xFF8008u);
      break;
    case 16:
      EXPECT_EQ(matched, (0x1Fu << 10) | (0x10u << 5) | 0x01u);
      break;
    case 8:
      EXPECT_EQ(matched, (7u << 5) | (4u << 2) | 0u);
      break;
  }
  EXPECT_EQ(Raw(p, 0, 0), 0x77 & ColourMask(bits())) << "the first pixel is put back";
  EXPECT_EQ(DDGetPixel(p.GetSurface(), 0, 0), 0x77 & ColourMask(bits()));
  EXPECT_EQ(DDGetPixel(p.GetSurface(), 3, 0), kNoPixel);
  EXPECT_EQ(DDGetPixel(p.GetSurface(), 0, 3), kNoPixel);
  EXPECT_EQ(DDGetPixel(p.GetSurface(), -1, 0), kNoPixel);

  // A surface that never finishes drawing is given up on and left as it was.
  p.GetSurface()->SetStillDrawing(1 << 20);
  EXPECT_EQ(DDColorMatch(p.GetSurface(), RGB(1, 2, 3)), kNoPixel);
  p.GetSurface()->SetStillDrawing(0);
  EXPECT_EQ(Raw(p, 0, 0), 0x77 & ColourMask(bits()));

  // Fill colour and the fill.
  ASSERT_EQ(p.SetFillColor(RGB(0xFF, 0x80, 0x08)), 0);
  ASSERT_EQ(p.Clear(nullptr), 0);
  EXPECT_EQ(Raw(p, 2, 2), matched);
  EXPECT_EQ(p.SetColorKey(0xFF, 0x80, 0x08), 0);
  platform::DDCOLORKEY key;
  ASSERT_EQ(p.GetSurface()->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  EXPECT_EQ(key.dwColorSpaceLowValue, matched);
}

TEST_P(PlaneDepthTest, HostileSourcesDrawNothing) {
  CPlane dst, src;
  ASSERT_EQ(dst.Create(4, 4, 0), 0);
  ASSERT_EQ(src.Create(4, 4, 0), 0);
  Fill(src, 4, 4, bits());
  CMemPlane mem;
  ASSERT_EQ(mem.Create(4, 4, 0), 0);
  CPlane empty;
  DirectDraw other(bits() == 32 ? 16 : 32);
  CPlane foreign;
  CAppManager::SetDirectDraw(&other);
  ASSERT_EQ(foreign.Create(4, 4, 0), 0);
  CAppManager::SetDirectDraw(&reg_.draw());
  const int size[2] = {8, 8};
  for (CDrawTarget* s : {static_cast<CDrawTarget*>(&mem), static_cast<CDrawTarget*>(&empty),
                         static_cast<CDrawTarget*>(&foreign), static_cast<CDrawTarget*>(nullptr)}) {
    EXPECT_EQ(dst.BltFast(s, 0, 0, nullptr, nullptr, nullptr), CPlane::kBadSource);
    EXPECT_EQ(dst.BlendBlt(s, 0, 0, 1, 2, nullptr, nullptr, nullptr), CPlane::kBadSource);
    EXPECT_EQ(dst.Blt(s, 0, 0, nullptr, size, nullptr), CPlane::kBadSource);
  }
  if (bits() != 8) {
    EXPECT_EQ(dst.BlendBltFast(&dst, 0, 0, 1, 2, nullptr, nullptr, nullptr), CPlane::kBadSource)
        << "the destination cannot be locked twice";
  }
  // Source rectangles far outside the source, huge positions and sizes: nothing read outside.
  const RECT wild[] = {
      {-100, -100, 100, 100}, {2, 2, 1000000, 1000000}, {-5, 0, 2, 2}, {INT32_MIN / 2, 0, INT32_MAX / 2, 4}};
  const int big[2] = {INT32_MAX, INT32_MAX};
  for (const RECT& r : wild) {
    dst.BltFast(&src, 1, 1, &r, nullptr, nullptr);
    dst.Blt(&src, INT32_MIN, INT32_MAX, &r, nullptr, nullptr);
    dst.BlendBlt(&src, -2, -2, 0x808080, 0x808080, &r, nullptr, nullptr);
    dst.BltFast(&src, 0, 0, &r, size, nullptr);
    dst.BlendBltFast(&src, -3, 1, 0x10, 0x20, &r, big, nullptr);
    dst.BltFast(&src, INT32_MIN, INT32_MIN, &r, big, nullptr);
  }
  const RECT left{-2, 0, 2, 4};
  dst.Clear(nullptr);
  ASSERT_EQ(dst.BltFast(&src, 0, 0, &left, nullptr, nullptr), 0);
  EXPECT_EQ(Raw(dst, 2, 0), Raw(src, 0, 0)) << "the part outside the source moves the picture";
}

INSTANTIATE_TEST_SUITE_P(Depths, PlaneDepthTest, ::testing::Values(8, 16, 24, 32),
                         [](const auto& info) { return std::to_string(info.param) + "bits"; });

TEST(PlaneDirectDraw, WithoutARegisteredObjectBlitsReportIt) {
  CPlane dst, src;
  {
    Registered reg(32);
    ASSERT_EQ(dst.Create(4, 4, 0), 0);
    ASSERT_EQ(src.Create(4, 4, 0), 0);
  }
  EXPECT_EQ(dst.BltFast(&src, 0, 0, nullptr, nullptr, nullptr), CPlane::kNoDirectDraw);
  EXPECT_EQ(dst.BlendBlt(&src, 0, 0, 0, 0, nullptr, nullptr, nullptr), CPlane::kNoDirectDraw);
  CPlane later;
  EXPECT_EQ(later.Create(4, 4, 0), CPlane::kNoDirectDraw);
}

TEST(PlaneDirectDraw, RefusedCreationAndPaintingPairs) {
  Registered reg(32);
  reg.draw().SetRefusalPolicy([](const DDSURFACEDESC& d) { return d.dwWidth == 13; });
  CPlane p;
  EXPECT_EQ(p.Create(13, 2, 0), 2);
  int w = 0, h = 0;
  p.GetSize(&w, &h);
  EXPECT_EQ(w, 13);
  ASSERT_EQ(p.Create(4, 4, 0), 0);
  HDC dc = p.BeginPaint();
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(p.BeginPaint(), nullptr) << "a second one is refused";
  platform::SetPixel(dc, 1, 1, RGB(1, 2, 3));
  p.EndPaint();
  EXPECT_EQ(DDGetPixel(p.GetSurface(), 1, 1), 0x010203u);
  p.EndPaint();  // only logged
  EXPECT_NE(p.BeginPaint(), nullptr);
  p.EndPaint();
}

// A plane that counts its restores, to see the order of the two passes.
class CountingPlane : public CPlane {
 public:
  int RestoreBlank() override {
    ++blanks;
    return 0;
  }
  int LoadBitmap(std::string_view name, int flag) override {
    ++loads;
    return CPlane::LoadBitmap(name, flag);
  }
  int blanks = 0;
  int loads = 0;
};

// Holds an exclusive display mode of a given depth and puts the desktop back when it goes.
class DisplayDepth {
 public:
  DisplayDepth() : m_base(false) {
    WNDCLASSEX wc;
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "PlaneDepthTestClass";
    RegisterClassEx(&wc);
    m_hwnd = CreateWindowEx(0, "PlaneDepthTestClass", "", WS_CAPTION, 0, 0, 64, 48, nullptr, nullptr, nullptr, nullptr);
    CDirectDrawBase::Object()->SetCooperativeLevel(m_hwnd, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
  }
  void Set(int depth) {
    CDirectDrawBase::Object()->SetDisplayMode(64, 48, depth);
    GetDesktopBpp();
  }
  ~DisplayDepth() {
    CDirectDrawBase::Object()->RestoreDisplayMode();
    CDirectDrawBase::Object()->SetCooperativeLevel(m_hwnd, DDSCL_NORMAL);
    DestroyWindow(m_hwnd);
    GetDesktopBpp();
  }

 private:
  CDirectDrawBase m_base;
  HWND m_hwnd = nullptr;
};

TEST(PlaneDirectDraw, LoadsByDepthAndRestoresLostSurfaces) {
  ScopedTempDir dir;
  const std::string red = dir.File("red.bmp"), blue = dir.File("blue.bmp");
  WriteBytes(red, MakeBmp(2, 2, 24, {}, {0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0}));
  WriteBytes(blue, MakeBmp(2, 2, 24, {}, {255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0}));
  Registered reg(32);
  DisplayDepth depth;
  depth.Set(8);
  ASSERT_EQ(GetDisplayBpp(), 8);

  CPlane plane;
  ASSERT_EQ(plane.LoadByDepth(red, blue, 1), 0);
  EXPECT_TRUE(plane.IsLoaded());
  EXPECT_EQ(DDGetPixel(plane.GetSurface(), 0, 0), 0xFF0000u) << "8-bit desktop: the first name";
  platform::DDCOLORKEY key;
  ASSERT_EQ(plane.GetSurface()->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  EXPECT_EQ(key.dwColorSpaceLowValue, 0xFF0000u) << "the key is the loaded pixel at (0, 0)";

  CountingPlane blank;
  ASSERT_EQ(blank.Create(3, 3, 0), 0);
  ASSERT_EQ(blank.SetFillColor(RGB(0, 0xFF, 0)), 0);
  blank.Clear(nullptr);

  depth.Set(32);
  plane.GetSurface()->SetLost(true);
  blank.GetSurface()->SetLost(true);
  EXPECT_EQ(CPlane::RestoreAll(), 0);
  EXPECT_EQ(DDGetPixel(plane.GetSurface(), 0, 0), 0x0000FFu) << "the depth of the restore chooses";
  EXPECT_EQ(blank.GetSurface()->IsLost(), DD_OK) << "a blank plane gets its memory back";
  EXPECT_EQ(blank.blanks, 1);
  EXPECT_EQ(blank.BltFast(&plane, 0, 0, nullptr, nullptr, nullptr), 0);

  // A plane loaded with the restore-first flag and kept in system memory is restored in both
  // passes; the others once.
  CountingPlane first, later;
  first.SetSystemMemory(true);
  later.SetSystemMemory(true);
  ASSERT_EQ(first.Load(red, 1, 100), 0);
  ASSERT_EQ(later.Load(red, 0, 100), 0);
  first.loads = later.loads = 0;
  blank.blanks = 0;
  CPlane::RestoreAll();
  EXPECT_EQ(first.loads, 2) << "restore-first: once in each pass, though not lost";
  EXPECT_EQ(later.loads, 1);
  EXPECT_EQ(blank.blanks, 0) << "neither lost nor in system memory";

  // Load resets a key set before it.
  ASSERT_EQ(plane.SetColorKey(1, 2, 3), 0);
  ASSERT_EQ(plane.Load(red, 0, 100), 0);
  ASSERT_EQ(plane.GetSurface()->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  EXPECT_EQ(key.dwColorSpaceLowValue, 0xFF0000u);
}

}  // namespace
