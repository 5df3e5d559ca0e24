#include "platform/dc_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

#include "box_font_engine.h"

namespace {

std::unique_ptr<platform::Bitmap> MakeBitmap(int w, int h, int bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<uint16_t>(bits);
  return platform::CreateDIBSection(&info);
}

TEST(DcText, TextOutWritesIntoBottomUpAndTopDownBitmapsWithinTheClip) {
  BoxFontScope boxes;
  platform::FontDesc desc;
  desc.height = 10;  // "A": ink columns 1..3, rows 1..8 of its cell
  auto font = platform::Font::Create(desc);
  for (int height : {12, -12}) {
    auto bitmap = MakeBitmap(12, height, 32);
    platform::MemDC dc;
    dc.SelectBitmap(bitmap.get());
    EXPECT_EQ(platform::SelectFont(&dc, &*font), nullptr);
    platform::SetTextColor(&dc, RGB(1, 2, 3));
    EXPECT_EQ(platform::SetBkMode(&dc, platform::TRANSPARENT), platform::OPAQUE);
    const RECT clip{0, 0, 12, 5};
    dc.SetClipRect(&clip);
    EXPECT_TRUE(platform::TextOutA(&dc, 0, 0, "AB", 1));  // only the first byte
    auto at = [&](int x, int y) { return reinterpret_cast<const uint32_t*>(bitmap->Row(y))[x]; };
    EXPECT_EQ(at(1, 1), 0x010203u) << height;
    EXPECT_EQ(at(1, 4), 0x010203u) << height;
    EXPECT_EQ(at(1, 5), 0u) << height;     // clipped
    EXPECT_EQ(at(6, 1), 0u) << height;     // "B" was not asked for
  }
}

TEST(DcText, RefusesWhatItCannotDraw) {
  BoxFontScope boxes;
  auto font = platform::Font::Create(platform::FontDesc{});
  platform::MemDC dc;
  SIZE size{};
  EXPECT_FALSE(platform::GetTextExtentPoint32A(&dc, "A", 1, &size));  // no font
  platform::SelectFont(&dc, &*font);
  EXPECT_TRUE(platform::GetTextExtentPoint32A(&dc, "AA", 2, &size));  // measuring needs no bitmap
  EXPECT_EQ(size.cx, 16);
  EXPECT_EQ(size.cy, 16);
  EXPECT_FALSE(platform::TextOutA(&dc, 0, 0, "A", 1));  // no bitmap
  auto bitmap24 = MakeBitmap(8, 8, 24);
  dc.SelectBitmap(bitmap24.get());
  EXPECT_FALSE(platform::TextOutA(&dc, 0, 0, "A", 1));
  EXPECT_FALSE(platform::TextOutA(&dc, 0, 0, "A", -1));
  EXPECT_EQ(platform::SetBkMode(&dc, 7), 0);
  EXPECT_FALSE(platform::TextOutA(nullptr, 0, 0, "A", 1));
}

// Box glyphs of height 10 ("A": ink columns 1..3 and rows 1..8 of its cell, "あ" columns 1..8) on
// a grid of 7 pixels a byte: where each pixel lands, read back as "i" (text colour), "b"
// (background colour) or "." (as before).
TEST(DcText, ExtTextOutPlacesEveryByteOnTheGridWithTheOptionsRectangle) {
  BoxFontScope boxes;
  struct Probe {
    int x, y;
    char want;
  };
  struct Case {
    const char* name;
    const char* text;
    UINT options;
    std::optional<RECT> rect;
    int bkMode;
    bool underline;
    std::vector<Probe> probes;
  } cases[] = {
      {"single bytes on the grid", "AB", 0, std::nullopt, platform::TRANSPARENT, false,
       {{1, 1, 'i'}, {3, 8, 'i'}, {4, 1, '.'}, {7, 1, '.'}, {8, 1, 'i'}, {10, 1, 'i'}, {11, 1, '.'}}},
      {"a double-byte character takes two cells", "\x82\xA0" "A", 0, std::nullopt, platform::TRANSPARENT, false,
       {{1, 1, 'i'}, {8, 1, 'i'}, {9, 1, '.'}, {13, 1, '.'}, {15, 1, 'i'}, {17, 1, 'i'}}},
      {"an opaque mode paints the cells", "AB", 0, std::nullopt, platform::OPAQUE, false,
       {{0, 0, 'b'}, {5, 1, 'b'}, {13, 9, 'b'}, {14, 1, '.'}, {1, 10, '.'}, {8, 1, 'i'}}},
      {"ETO_OPAQUE fills the rectangle", "A", platform::ETO_OPAQUE, RECT{0, 0, 30, 12}, platform::TRANSPARENT, false,
       {{29, 11, 'b'}, {5, 1, 'b'}, {1, 1, 'i'}, {30, 0, '.'}}},
      {"ETO_CLIPPED cuts the text", "AB", platform::ETO_CLIPPED, RECT{0, 2, 9, 12}, platform::OPAQUE, false,
       {{8, 2, 'i'}, {9, 2, '.'}, {1, 1, '.'}, {12, 5, '.'}, {4, 2, 'b'}}},
      {"both", "AB", platform::ETO_OPAQUE | platform::ETO_CLIPPED, RECT{2, 0, 12, 5}, platform::TRANSPARENT, false,
       {{1, 1, '.'}, {3, 2, 'i'}, {4, 2, 'b'}, {11, 4, 'b'}, {3, 5, '.'}, {12, 0, '.'}}},
      {"the underline spans the cells", "AB", 0, std::nullopt, platform::TRANSPARENT, true,
       {{0, 10, 'i'}, {13, 10, 'i'}, {14, 10, '.'}}},
      {"a lead byte at the end is dropped", "A\x82", 0, std::nullopt, platform::OPAQUE, false,
       {{2, 1, 'i'}, {8, 1, 'b'}, {13, 1, 'b'}, {14, 1, '.'}}},
  };
  constexpr uint32_t kBefore = 0x80777777, kInk = 0x80FF0000, kBack = 0x800000FF;
  for (const Case& c : cases) {
    auto bitmap = platform::CreateDIBSection32(40, 12);
    for (int y = 0; y < 12; ++y) {
      for (int x = 0; x < 40; ++x) reinterpret_cast<uint32_t*>(bitmap->Row(y))[x] = kBefore;
    }
    platform::MemDC dc;
    dc.SelectBitmap(bitmap.get());
    platform::FontDesc desc;
    desc.height = 10;
    desc.underline = c.underline;
    auto font = platform::Font::Create(desc);
    platform::SelectFont(&dc, &*font);
    platform::SetTextColor(&dc, RGB(255, 0, 0));
    platform::SetBkColor(&dc, RGB(0, 0, 255));
    platform::SetBkMode(&dc, c.bkMode);
    ASSERT_TRUE(platform::ExtTextOutA(&dc, 0, 0, c.options, c.rect ? &*c.rect : nullptr, c.text,
                                      static_cast<UINT>(std::strlen(c.text)), 7))
        << c.name;
    for (const Probe& p : c.probes) {
      const uint32_t got = reinterpret_cast<const uint32_t*>(bitmap->Row(p.y))[p.x];
      const uint32_t want = p.want == 'i' ? kInk : p.want == 'b' ? kBack : kBefore;
      EXPECT_EQ(got, want) << c.name << " at " << p.x << "," << p.y;
    }
  }
}

TEST(DcText, ExtTextOutRefusesWhatItDoesNotKnow) {
  BoxFontScope boxes;
  auto font = platform::Font::Create(platform::FontDesc{});
  auto bitmap = platform::CreateDIBSection32(8, 8);
  platform::MemDC dc;
  dc.SelectBitmap(bitmap.get());
  EXPECT_FALSE(platform::ExtTextOutA(&dc, 0, 0, 0, nullptr, "A", 1, 8));  // no font
  platform::SelectFont(&dc, &*font);
  EXPECT_TRUE(platform::ExtTextOutA(&dc, 0, 0, 0, nullptr, "A", 1, 8));
  EXPECT_TRUE(platform::ExtTextOutA(&dc, 0, 0, 0, nullptr, "A", 1, 0));  // the glyphs' own advances
  EXPECT_FALSE(platform::ExtTextOutA(&dc, 0, 0, 0, nullptr, "A", 1, -1));
  EXPECT_FALSE(platform::ExtTextOutA(&dc, 0, 0, 0x10, nullptr, "A", 1, 8));
  EXPECT_FALSE(platform::ExtTextOutA(&dc, 0, 0, 0, nullptr, nullptr, 1, 8));
  auto bitmap24 = MakeBitmap(8, 8, 24);
  dc.SelectBitmap(bitmap24.get());
  EXPECT_FALSE(platform::ExtTextOutA(&dc, 0, 0, 0, nullptr, "A", 1, 8));
}

}  // namespace
