// Drawing laid-out text into a memory-surface canvas.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "box_font_engine.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/text_draw.h"
#include "sdk/graphics/text_plane.h"
#include "sdk/graphics/text_plane_cache.h"
#include "surface_util.h"
#include "text_test_util.h"

namespace {

class CanvasDraw : public CTextDraw {
 public:
  CDrawTarget* GetSurface() override { return &canvas; }
  void CreateSurface(int32_t width, int32_t height) override {
    canvas.Create(width, height, 0);
    *canvas.GetImpl()->GetHasAlphaPtr() = true;
  }
  int Run(const std::string& text) {
    m_text = text;
    settings.SetText(m_text.c_str());
    return Layout(true);
  }
  CMemPlane canvas;

 private:
  std::string m_text;
};

// Every glyph on the canvas is the image a fresh text plane makes of it, placed at its rectangle,
// whose extent is the image's. One renderer lays out several styles in turn, each twice (drawn,
// then copied from the kept images), with the same text planes reused behind it.
TEST(TextDrawCanvas, EachGlyphIsItsTextPlaneCopiedAtItsPlace) {
  BoxFontScope boxes;
  const struct {
    int32_t size;
    COLORREF color, shadow;
    bool vertical;
  } kStyles[] = {
      {10, RGB(255, 255, 0), RGB(0, 0, 128), false},
      {10, RGB(255, 255, 0), RGB(0, 0, 128), true},
      {13, RGB(10, 20, 30), CTextFont::kNone, false},
      {7, RGB(200, 0, 0), RGB(0, 255, 0), true},
      {10, RGB(255, 255, 0), RGB(0, 0, 128), false},
  };
  CanvasDraw renderer;
  const int32_t codes[] = {'A', 0xA082, 'B'};
  for (const auto& style : kStyles) {
    renderer.settings.SetFontSize(style.size);
    renderer.settings.shadowColor = style.shadow;
    renderer.settings.color = style.color;
    renderer.vertical = style.vertical;
    for (int pass = 0; pass < 2; ++pass) {
      const std::string where = "size " + std::to_string(style.size) + " vertical " + std::to_string(style.vertical) +
                                " pass " + std::to_string(pass);
      ASSERT_EQ(renderer.Run("A\x82\xA0<BR>B<HR>"), 0) << where;
      ASSERT_EQ(renderer.Glyphs().size(), 3u);
      std::vector<RECT> rects = renderer.Glyphs();
      if (style.size == 10 && !style.vertical) {
        EXPECT_EQ(rects[0], (RECT{0, 0, 8, 13}));
        EXPECT_EQ(rects[1], (RECT{8, 0, 21, 13}));
        EXPECT_EQ(rects[2], (RECT{0, 15, 8, 28}));
      }
      const std::vector<uint32_t> canvas = surface_util::Pixels(renderer.canvas);
      int canvasW = 0, canvasH = 0;
      renderer.canvas.GetSize(&canvasW, &canvasH);
      // The references are drawn afresh, not copied from the finished images of the layout.
      TextPlaneCache::Instance().Clear();
      for (size_t i = 0; i < 3; ++i) {
        CTextPlane reference;
        renderer.SetGlyphFont(reference.font, renderer.settings, codes[i]);
        reference.SetVertical(style.vertical);
        ASSERT_EQ(reference.Update(), 0);
        int w = 0, h = 0;
        reference.GetSize(&w, &h);
        const RECT& r = rects[i];
        EXPECT_EQ(r.right - r.left, w) << where << " glyph " << i;  // the drawn extent went back into the glyph list
        EXPECT_EQ(r.bottom - r.top, h) << where << " glyph " << i;
        for (int y = 0; y < h; ++y) {
          for (int x = 0; x < w; ++x) {
            const int cx = r.left + x, cy = r.top + y;
            if (cx < 0 || cy < 0 || cx >= canvasW || cy >= canvasH) continue;
            // A later glyph may cover this one's margin.
            bool covered = false;
            for (size_t j = i + 1; j < 3; ++j) {
              covered |= cx >= rects[j].left && cx < rects[j].right && cy >= rects[j].top && cy < rects[j].bottom;
            }
            if (covered) continue;
            ASSERT_EQ(canvas[static_cast<size_t>(cy) * canvasW + cx], reference.GetImpl()->GetPixel(x, y))
                << where << " glyph " << i << " at " << x << "," << y;
          }
        }
      }
    }
  }
}

TEST(TextDrawCanvas, GaijiAreCopiedKeyedOrOpaque) {
  BoxFontScope boxes;
  // A 3 × 2 image whose key colour is 0x123456: the key pixels are left out of a keyed copy.
  CMemPlane image;
  ASSERT_EQ(image.Create(3, 2, 0), 0);
  const uint32_t pixels[2][3] = {{0x00123456, 0x00AABBCC, 0x00123456}, {0x40010203, 0x00123456, 0x80FFFFFF}};
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) image.GetImpl()->GetRow(y)[x] = pixels[y][x];
  }
  image.SetColorKey(0x12, 0x34, 0x56);
  GaijiList list;
  list.entries.push_back({&image, {0, 0, 3, 2}, 1, 2, false});
  list.entries.push_back({&image, {0, 0, 3, 2}, 0, 0, true});
  for (int opaque = 0; opaque < 2; ++opaque) {
    CanvasDraw renderer;
    renderer.gaijiList = CRingPtr<GaijiList>(&list, false);
    renderer.settings.SetFontSize(10);
    renderer.settings.lineHeight = 2;
    ASSERT_EQ(renderer.Run(opaque ? "<GAIJI 1><HR>" : "<GAIJI 0><HR>"), 0);
    // The gaiji's rectangle: 5 × 2 measured, line height 4 (2 + 2), placed at (0, 2).
    ASSERT_EQ(renderer.Glyphs().size(), 1u);
    EXPECT_EQ(renderer.Glyphs()[0], (RECT{0, 2, 3, 4}));
    const int dx = opaque ? 0 : 1, dy = 2 + (opaque ? 0 : 2);
    int w = 0, h = 0;
    renderer.canvas.GetSize(&w, &h);
    ASSERT_GE(w, 3 + dx);
    ASSERT_GE(h, 2 + dy) << "the canvas must hold the image";
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 3; ++x) {
        const uint32_t source = pixels[y][x];
        const bool key = (source & 0xFFFFFF) == 0x123456;
        const uint32_t expected = opaque ? (source | 0xFF000000u) : key ? 0u : (source | 0xFF000000u);
        EXPECT_EQ(renderer.canvas.GetImpl()->GetPixel(x + dx, y + dy), expected) << opaque << " " << x << "," << y;
      }
    }
  }
  // The keyed copy made the image's own non-key pixels opaque.
  EXPECT_EQ(image.GetImpl()->GetPixel(1, 0), 0xFFAABBCCu);
  EXPECT_EQ(image.GetImpl()->GetPixel(0, 0), 0x00123456u);
}

}  // namespace
