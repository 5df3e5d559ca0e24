#include "platform/dc_text.h"

#include <gtest/gtest.h>

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

}  // namespace
