// The display-format plane: it never obtains a surface here, so creation fails but remembers the
// size, drawing does nothing, and the plane set still tracks every plane.
#include <gtest/gtest.h>

#include <memory>

#include "image_files.h"
#include "sdk/graphics/plane.h"
#include "surface_util.h"

namespace {

TEST(PlaneTest, CreationFailsButKeepsTheRequestedSize) {
  CPlane plane;
  EXPECT_EQ(plane.GetType(), 1);
  EXPECT_EQ(plane.Create(640, 480, 0), CPlane::kNoDirectDraw);
  EXPECT_EQ(plane.GetSurface(), nullptr);
  int w = 0, h = 0;
  plane.GetSize(&w, &h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  EXPECT_FALSE(plane.IsLoaded());
  EXPECT_EQ(plane.GetPixelAlpha(10, 10), 255);
  EXPECT_EQ(plane.GetPixelAlpha(640, 10), 0);
  EXPECT_EQ(plane.Create(8, 8, 1), CPlane::kNotSupported);
  plane.Release();
  plane.GetSize(&w, &h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
}

TEST(PlaneTest, OperationsWithoutASurfaceDoNothing) {
  CPlane plane, other;
  plane.Create(4, 4, 0);
  CMemPlane mem;
  mem.Create(4, 4, 0);
  EXPECT_EQ(plane.Blt(&mem, 0, 0, nullptr, nullptr, nullptr), -1);
  EXPECT_EQ(plane.BltFast(&other, 0, 0, nullptr, nullptr, nullptr), -1);
  EXPECT_EQ(plane.BlendBlt(&other, 0, 0, 0, 0, nullptr, nullptr, nullptr), -1);
  EXPECT_EQ(plane.BlendBltFastRatio(&other, 0, 0, 9, nullptr, nullptr, nullptr), -1);
  EXPECT_EQ(plane.BlendBltAlpha(&other, 0, 0, 0, 0, nullptr, nullptr, nullptr), -1);
  EXPECT_EQ(plane.BltAlpha(&other, 0, 0, nullptr, nullptr, nullptr), -1);
  EXPECT_EQ(plane.BlendBltAlphaSimple(&other, 0, 0, 9), -1);
  EXPECT_EQ(plane.BlendBltNatural(&mem, 0, 0, 300, nullptr, nullptr, nullptr), -1);
  EXPECT_EQ(plane.MosaicBlt(2, nullptr), -1);
  EXPECT_EQ(plane.FlushBlt(nullptr), -1);
  EXPECT_EQ(plane.Clear(nullptr), -1);
  EXPECT_EQ(plane.SetColorKey(1, 2, 3), -1);
  EXPECT_EQ(plane.SetColorKeyPos(0, 0), -1);
  EXPECT_EQ(plane.SetFillColor(0), -1);
}

TEST(PlaneTest, MemorySurfacesDoNotReadAPlane) {
  CPlane plane;
  plane.Create(4, 4, 0);
  auto mem = surface_util::Make(surface_util::Kind::Packed, 4, 4, 0x12345678);
  EXPECT_NE(mem->Blt(&plane, 0, 0, nullptr, nullptr, nullptr), 0);
  EXPECT_NE(mem->BltNatural(&plane, 0, 0, nullptr, nullptr, nullptr), 0);
  EXPECT_NE(mem->BlendBltNatural(&plane, 0, 0, 128, nullptr, nullptr, nullptr), 0);
  for (uint32_t p : surface_util::Pixels(*mem)) EXPECT_EQ(p, 0x12345678u);
}

TEST(PlaneTest, EveryPlaneIsInThePlaneSet) {
  const size_t before = CPlane::Planes().size();
  auto a = std::make_unique<CPlane>();
  {
    CPlane b;
    EXPECT_EQ(CPlane::Planes().size(), before + 2);
    EXPECT_TRUE(CPlane::Planes().count(&b));
    EXPECT_EQ(CPlane::RestoreAll(), 0);
  }
  EXPECT_EQ(CPlane::Planes().size(), before + 1);
  EXPECT_TRUE(CPlane::Planes().count(a.get()));
  a.reset();
  EXPECT_EQ(CPlane::Planes().size(), before);
}

TEST(PlaneTest, LoadsFailAtTheFileThePictureOrTheSurface) {
  TempFolder dir;
  const std::vector<uint8_t> rows(3 * 4 * 2, 0x40);
  WriteBytes(dir / "pic.bmp", MakeBmp(3, 2, 32, {}, rows));
  WriteBytes(dir / "junk.bmp", {1, 2, 3});
  CPlane plane;
  EXPECT_EQ(plane.Load("no such file.png", 1, 100.0), 1);
  EXPECT_EQ(plane.Load(dir / "junk.bmp", 0, 100.0), 2);
  EXPECT_EQ(plane.Load(dir / "pic.bmp", 0, 100.0), 4);
  int w = 0, h = 0;
  plane.GetSize(&w, &h);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2);
  EXPECT_EQ(plane.LoadByDepth("no8.bmp", "no.bmp", 0), 1);
  EXPECT_EQ(plane.LoadByDepth("no8.bmp", dir / "pic.bmp", 0), 4);
  EXPECT_FALSE(plane.IsLoaded());
  EXPECT_EQ(plane.BeginPaint(), nullptr);
  plane.EndPaint();  // only logged
}

}  // namespace
