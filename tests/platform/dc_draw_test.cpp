#include "platform/dc_draw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/sys_color.h"

namespace {

using namespace platform;

// A 32-bit picture with a context over it, filled with a pattern whose alpha bytes are not 0, so
// that a test sees an operation that touches the alpha byte or a pixel it should not.
struct Picture {
  std::unique_ptr<Bitmap> bitmap;
  MemDC dc;
  Picture(int w, int h) : bitmap(CreateDIBSection32(w, h)) {
    dc.SelectBitmap(bitmap.get());
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) At(x, y) = 0x80000000u | static_cast<uint32_t>((x * 37 + y * 101) * 0x010203 & 0xFFFFFF);
    }
  }
  uint32_t& At(int x, int y) const { return reinterpret_cast<uint32_t*>(bitmap->Row(y))[x]; }
  std::vector<uint32_t> Pixels() const {
    std::vector<uint32_t> all;
    for (int y = 0; y < bitmap->Height(); ++y) {
      for (int x = 0; x < bitmap->Width(); ++x) all.push_back(At(x, y));
    }
    return all;
  }
  // The pixels that differ from before, as "x,y" strings.
  std::vector<std::string> Changed(const std::vector<uint32_t>& before) const {
    std::vector<std::string> out;
    const std::vector<uint32_t> now = Pixels();
    for (size_t i = 0; i < now.size(); ++i) {
      if (now[i] != before[i]) {
        out.push_back(std::to_string(i % bitmap->Width()) + "," + std::to_string(i / bitmap->Width()));
      }
    }
    return out;
  }
};

constexpr uint32_t kRgb = 0x00FFFFFF;

TEST(DcDraw, PatBltCombinesTheBrushWithEveryPixelOfTheBlockOnly) {
  struct Case {
    const char* name;
    DWORD rop;
    std::function<uint32_t(uint32_t brush, uint32_t before)> expect;
  } cases[] = {
      {"PATCOPY", PATCOPY, [](uint32_t p, uint32_t) { return p; }},
      {"PATINVERT", PATINVERT, [](uint32_t p, uint32_t d) { return p ^ d; }},
      {"DSTINVERT", DSTINVERT, [](uint32_t, uint32_t d) { return ~d; }},
      {"P XOR D inverted", 0x00A50065, [](uint32_t p, uint32_t d) { return ~(p ^ d); }},
  };
  for (const Case& c : cases) {
    Picture pic(8, 6);
    Brush brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));  // pixel 0x123456
    SelectObject(&pic.dc, &brush);
    const std::vector<uint32_t> before = pic.Pixels();
    ASSERT_TRUE(PatBlt(&pic.dc, 5, 4, -3, -2, c.rop)) << c.name;  // the block [2, 5) x [2, 4)
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 8; ++x) {
        const uint32_t old = before[static_cast<size_t>(y * 8 + x)];
        const bool inside = x >= 2 && x < 5 && y >= 2 && y < 4;
        const uint32_t want = inside ? (old & ~kRgb) | (c.expect(0x123456, old) & kRgb) : old;
        EXPECT_EQ(pic.At(x, y), want) << c.name << " at " << x << "," << y;
      }
    }
  }
}

TEST(DcDraw, InvertingOperationsDoneTwiceRestoreEveryPixel) {
  struct Case {
    const char* name;
    std::function<void(HDC)> draw;
  } cases[] = {
      {"PATINVERT white", [](HDC dc) { PatBlt(dc, 1, 1, 5, 3, PATINVERT); }},
      {"DSTINVERT", [](HDC dc) { PatBlt(dc, 0, 2, 9, 9, DSTINVERT); }},
      {"ruler mark, grey brush", [](HDC dc) {
         Brush grey = CreateSolidBrush(RGB(128, 128, 128));
         SelectObject(dc, &grey);
         PatBlt(dc, 2, 0, 3, 5, 0x00A50065);
         SelectObject(dc, static_cast<HBRUSH>(nullptr));
       }},
      {"XOR pen, crossing lines", [](HDC dc) {
         std::optional<Pen> pen = CreatePen(PS_SOLID, 1, RGB(0xFF, 0x0F, 0x01));
         SelectObject(dc, &*pen);
         SetROP2(dc, R2_XORPEN);
         MoveToEx(dc, 0, 2, nullptr);
         LineTo(dc, 7, 2);
         MoveToEx(dc, 3, 0, nullptr);
         LineTo(dc, 3, 6);
         LineTo(dc, 0, 3);  // a diagonal
         SelectObject(dc, static_cast<HPEN>(nullptr));
       }},
      {"NOT pen", [](HDC dc) {
         SetROP2(dc, R2_NOT);
         MoveToEx(dc, 6, 5, nullptr);
         LineTo(dc, 1, 1);
       }},
  };
  for (const Case& c : cases) {
    Picture pic(7, 6);
    const std::vector<uint32_t> before = pic.Pixels();
    c.draw(&pic.dc);
    EXPECT_FALSE(pic.Changed(before).empty()) << c.name;
    c.draw(&pic.dc);
    EXPECT_EQ(pic.Changed(before), std::vector<std::string>{}) << c.name;
  }
}

TEST(DcDraw, LinesDrawEachPixelOnceUpToButNotIncludingTheEnd) {
  struct Case {
    const char* name;
    POINT from, to;
    std::vector<std::string> pixels;
  } cases[] = {
      {"right", {1, 1}, {4, 1}, {"1,1", "2,1", "3,1"}},
      {"left", {4, 2}, {1, 2}, {"2,2", "3,2", "4,2"}},
      {"down", {2, 0}, {2, 3}, {"2,0", "2,1", "2,2"}},
      {"up", {5, 4}, {5, 1}, {"5,2", "5,3", "5,4"}},
      {"diagonal", {0, 0}, {3, 3}, {"0,0", "1,1", "2,2"}},
      {"arrow head", {4, 3}, {1, 0}, {"2,1", "3,2", "4,3"}},
      {"a point", {3, 3}, {3, 3}, {}},
      {"cut at the edge", {4, 4}, {9, 4}, {"4,4", "5,4"}},
      {"from far away", {-2000000000, 5}, {2, 5}, {"0,5", "1,5"}},
      {"across from far away", {2000000005, -2000000000}, {-1999999995, 2000000000},
       {"5,0", "4,1", "3,2", "2,3", "1,4", "0,5"}},
      {"steep", {1, 0}, {2, 5}, {"1,0", "1,1", "1,2", "2,3", "2,4"}},
  };
  for (const Case& c : cases) {
    Picture pic(6, 6);
    std::optional<Pen> pen = CreatePen(PS_SOLID, 0, RGB(1, 2, 3));
    ASSERT_TRUE(pen);
    SelectObject(&pic.dc, &*pen);
    const std::vector<uint32_t> before = pic.Pixels();
    POINT previous{};
    MoveToEx(&pic.dc, c.from.x, c.from.y, nullptr);
    ASSERT_TRUE(LineTo(&pic.dc, c.to.x, c.to.y)) << c.name;
    std::vector<std::string> changed = pic.Changed(before);
    std::sort(changed.begin(), changed.end());
    std::vector<std::string> want = c.pixels;
    std::sort(want.begin(), want.end());
    EXPECT_EQ(changed, want) << c.name;
    for (const std::string& p : changed) {
      const int x = std::stoi(p), y = std::stoi(p.substr(p.find(',') + 1));
      EXPECT_EQ(pic.At(x, y), 0x80010203u) << c.name << " " << p;  // the pen's colour, alpha kept
    }
    MoveToEx(&pic.dc, 0, 0, &previous);
    EXPECT_EQ(previous.x, c.to.x) << c.name;
    EXPECT_EQ(previous.y, c.to.y) << c.name;
  }
}

TEST(DcDraw, FillRectUsesTheGivenBrushWithinTheClip) {
  Picture pic(6, 4);
  std::optional<Pen> pen = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
  SelectObject(&pic.dc, &*pen);
  SetROP2(&pic.dc, R2_XORPEN);  // FillRect does not mix
  const RECT clip{0, 0, 6, 2};
  pic.dc.SetClipRect(&clip);
  const std::vector<uint32_t> before = pic.Pixels();
  Brush blue = CreateSolidBrush(RGB(0, 0, 255));
  const RECT r{1, 1, 3, 4};
  ASSERT_TRUE(FillRect(&pic.dc, &r, &blue));
  EXPECT_EQ(pic.Changed(before), (std::vector<std::string>{"1,1", "2,1"}));
  EXPECT_EQ(pic.At(2, 1), 0x800000FFu);
  EXPECT_EQ(GetPixel(&pic.dc, 1, 1), RGB(0, 0, 255));

  const RECT all{0, 0, 6, 2};
  ASSERT_TRUE(FillRect(&pic.dc, &all, GetSysColorBrush(COLOR_INFOBK)));
  EXPECT_EQ(GetPixel(&pic.dc, 5, 0), GetSysColor(COLOR_INFOBK));
  const RECT empty{3, 1, 3, 2};
  const std::vector<uint32_t> filled = pic.Pixels();
  ASSERT_TRUE(FillRect(&pic.dc, &empty, &blue));
  EXPECT_EQ(pic.Changed(filled), std::vector<std::string>{});
}

TEST(DcDraw, DefaultsAndRefusals) {
  Picture pic(4, 4);
  EXPECT_EQ(GetROP2(&pic.dc), R2_COPYPEN);
  EXPECT_EQ(SetROP2(&pic.dc, 0), 0);
  EXPECT_EQ(SetROP2(&pic.dc, 17), 0);
  EXPECT_EQ(SetROP2(&pic.dc, R2_NOT), R2_COPYPEN);
  EXPECT_EQ(SetROP2(&pic.dc, R2_COPYPEN), R2_NOT);
  // The default pen is black, the default brush white.
  MoveToEx(&pic.dc, 0, 0, nullptr);
  LineTo(&pic.dc, 1, 0);
  EXPECT_EQ(GetPixel(&pic.dc, 0, 0), RGB(0, 0, 0));
  PatBlt(&pic.dc, 1, 1, 1, 1, PATCOPY);
  EXPECT_EQ(GetPixel(&pic.dc, 1, 1), RGB(255, 255, 255));

  Brush brush = CreateSolidBrush(RGB(1, 1, 1));
  EXPECT_EQ(SelectObject(&pic.dc, &brush), nullptr);
  EXPECT_EQ(SelectObject(&pic.dc, static_cast<HBRUSH>(nullptr)), &brush);
  EXPECT_FALSE(CreatePen(PS_SOLID, 2, 0).has_value());
  EXPECT_FALSE(CreatePen(1, 1, 0).has_value());
  EXPECT_FALSE(PatBlt(&pic.dc, 0, 0, 1, 1, SRCCOPY));    // reads a source
  EXPECT_FALSE(PatBlt(&pic.dc, 0, 0, 1, 1, 0x00EE0086)); // SRCPAINT
  EXPECT_FALSE(FillRect(&pic.dc, nullptr, &brush));

  MemDC none;  // no bitmap
  const RECT r{0, 0, 1, 1};
  EXPECT_FALSE(FillRect(&none, &r, &brush));
  EXPECT_FALSE(PatBlt(&none, 0, 0, 1, 1, PATCOPY));
  EXPECT_FALSE(LineTo(&none, 1, 1));
  EXPECT_FALSE(ScrollDC(&none, 0, 1, nullptr, nullptr, nullptr));
  auto bits24 = [] {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = 2;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    return CreateDIBSection(&info);
  }();
  MemDC dc24;
  dc24.SelectBitmap(bits24.get());
  EXPECT_FALSE(FillRect(&dc24, &r, &brush));
  EXPECT_FALSE(FillRect(nullptr, &r, &brush));
  EXPECT_FALSE(MoveToEx(nullptr, 0, 0, nullptr));
}

TEST(DcDraw, ScrollDCMovesTheBlockAndNamesWhatItUncovered) {
  // A 6 x 5 picture whose pixel (x, y) holds 10 * y + x; "." is a pixel that kept its value.
  struct Case {
    const char* name;
    int dx, dy;
    std::optional<RECT> scroll, clip;
    std::vector<std::string> rows;  // what each row holds afterwards, as source pixels "yx"
    RECT update;
  } cases[] = {
      {"up one row", 0, -1, std::nullopt, std::nullopt,
       {"10 11 12 13 14 15", "20 21 22 23 24 25", "30 31 32 33 34 35", "40 41 42 43 44 45", ". . . . . ."},
       {0, 4, 6, 5}},
      {"down two rows inside a block", 0, 2, RECT{1, 0, 5, 5}, std::nullopt,
       {". . . . . .", ". . . . . .", ". 01 02 03 04 .", ". 11 12 13 14 .", ". 21 22 23 24 ."},
       {1, 0, 5, 2}},
      {"left two columns", -2, 0, RECT{1, 1, 6, 3}, std::nullopt,
       {". . . . . .", ". 13 14 15 . .", ". 23 24 25 . .", ". . . . . .", ". . . . . ."},
       {4, 1, 6, 3}},
      {"right, clipped", 1, 0, std::nullopt, RECT{2, 0, 4, 1},
       {". . 01 02 . .", ". . . . . .", ". . . . . .", ". . . . . .", ". . . . . ."},
       {0, 0, 0, 0}},  // the pixel moved in from outside the clip covers it all
      {"both ways", 1, 1, RECT{0, 0, 3, 3}, std::nullopt,
       {". . . . . .", ". 00 01 . . .", ". 10 11 . . .", ". . . . . .", ". . . . . ."},
       {0, 0, 3, 3}},
      {"past the picture", 0, 9, std::nullopt, std::nullopt,
       {". . . . . .", ". . . . . .", ". . . . . .", ". . . . . .", ". . . . . ."},
       {0, 0, 6, 5}},
      {"no move", 0, 0, std::nullopt, std::nullopt,
       {". . . . . .", ". . . . . .", ". . . . . .", ". . . . . .", ". . . . . ."},
       {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    Picture pic(6, 5);
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 6; ++x) pic.At(x, y) = 0x80000000u | static_cast<uint32_t>(10 * y + x);
    }
    RECT update{-1, -1, -1, -1};
    ASSERT_TRUE(ScrollDC(&pic.dc, c.dx, c.dy, c.scroll ? &*c.scroll : nullptr, c.clip ? &*c.clip : nullptr, &update))
        << c.name;
    for (int y = 0; y < 5; ++y) {
      std::string row;
      for (int x = 0; x < 6; ++x) {
        const uint32_t v = pic.At(x, y);
        ASSERT_EQ(v >> 24, 0x80u) << c.name;
        const uint32_t source = v & kRgb;
        if (!row.empty()) row += ' ';
        if (source == static_cast<uint32_t>(10 * y + x)) {
          row += '.';
        } else {
          row += std::to_string(source / 10) + std::to_string(source % 10);
        }
      }
      EXPECT_EQ(row, c.rows[static_cast<size_t>(y)]) << c.name << " row " << y;
    }
    EXPECT_EQ((std::vector<LONG>{update.left, update.top, update.right, update.bottom}),
              (std::vector<LONG>{c.update.left, c.update.top, c.update.right, c.update.bottom}))
        << c.name;
  }
}

}  // namespace
