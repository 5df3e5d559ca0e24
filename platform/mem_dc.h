// The memory device context: a drawing target over the pixels of a DIB section. Pictures are
// drawn into it, surfaces copy between two of them, and text is output into it.
//
// Ownership is explicit: CreateDIBSection and the MemDC constructor hand out owners; HBITMAP and
// HDC are borrowed pointers, as the code that keeps a bitmap selected into a context expects.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "platform/dib.h"
#include "platform/win_types.h"

namespace platform {

// A DIB section: rows of pixels of one depth, owned by the bitmap, all zero when made.
class Bitmap {
 public:
  int Width() const { return m_width; }
  int Height() const { return m_height; }  // always positive
  int BitCount() const { return m_bitCount; }
  int Pitch() const { return static_cast<int>(m_pitch); }
  bool TopDown() const { return m_topDown; }
  uint8_t* Bits() const { return m_bits.get(); }
  // Row y counted from the top of the picture, whichever order the rows are stored in.
  uint8_t* Row(int y) const {
    const int stored = m_topDown ? y : m_height - 1 - y;
    return m_bits.get() + static_cast<size_t>(stored) * m_pitch;
  }
  std::span<const RGBQUAD> Colors() const { return {m_colors.get(), m_colorCount}; }

 private:
  friend std::unique_ptr<Bitmap> CreateDIBSection(const BITMAPINFO* info, UINT usage);
  Bitmap() = default;

  int m_width = 0;
  int m_height = 0;
  int m_bitCount = 0;
  uint32_t m_pitch = 0;
  bool m_topDown = false;
  // From calloc: a block that size comes zeroed from the system, so a full-screen bitmap costs no
  // pass over its pages until something draws into them.
  struct FreeBits {
    void operator()(uint8_t* bits) const;
  };
  std::unique_ptr<uint8_t[], FreeBits> m_bits;
  std::unique_ptr<RGBQUAD[]> m_colors;
  size_t m_colorCount = 0;
};

// The largest pixel block a DIB section may hold.
constexpr uint64_t kMaxDibSectionBytes = uint64_t{1} << 30;

// A new DIB section of the header's size and depth (a negative height makes it top-down), with
// the header's colour table for palette depths. Null for an unusable header: no pixels, a
// depth other than 1, 4, 8, 16, 24, 32, compression, usage other than DIB_RGB_COLORS, or more
// than kMaxDibSectionBytes of pixels.
std::unique_ptr<Bitmap> CreateDIBSection(const BITMAPINFO* info, UINT usage = DIB_RGB_COLORS);

// A 32-bit top-down DIB section of width × height pixels, all zero; null as above.
std::unique_ptr<Bitmap> CreateDIBSection32(int width, int height);

class Font;

// What text output draws with (platform/dc_text.h).
struct DCTextState {
  const Font* font = nullptr;  // borrowed: whoever selects a font keeps it alive while selected
  COLORREF textColor = 0;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = 2;  // opaque
};

// What lines and fills draw with (platform/dc_draw.h): null objects stand for the context's
// defaults, a black pen and a white brush.
struct DCDrawState {
  Pen* pen = nullptr;      // borrowed, like the font
  Brush* brush = nullptr;  // borrowed
  int rop2 = 13;           // R2_COPYPEN
  POINT position;          // where the next line starts
};

// A memory device context. Made without a bitmap (like a context compatible with the screen):
// it can measure text but every pixel operation fails until a bitmap is selected. Output is
// limited to the selected bitmap and to the clip rectangle when one is set.
class MemDC {
 public:
  MemDC() = default;
  MemDC(const MemDC&) = delete;
  MemDC& operator=(const MemDC&) = delete;

  // Selects a bitmap (borrowed; null deselects) and returns the one selected before.
  Bitmap* SelectBitmap(Bitmap* bitmap) {
    Bitmap* previous = m_bitmap;
    m_bitmap = bitmap;
    return previous;
  }
  Bitmap* GetBitmap() const { return m_bitmap; }

  // Clip rectangle in context coordinates; null removes it.
  void SetClipRect(const RECT* rect);
  // Where output may land: the bitmap's rectangle, cut by the clip rectangle (empty without a
  // bitmap).
  RECT GetOutputRect() const;
  bool InOutput(int x, int y) const;

  DCTextState& TextState() { return m_text; }
  const DCTextState& TextState() const { return m_text; }
  DCDrawState& DrawState() { return m_draw; }
  const DCDrawState& DrawState() const { return m_draw; }

 private:
  DCTextState m_text;
  DCDrawState m_draw;
  Bitmap* m_bitmap = nullptr;
  bool m_hasClip = false;
  RECT m_clip;
};

}  // namespace platform

using HDC = platform::MemDC*;
using HBITMAP = platform::Bitmap*;

constexpr DWORD SRCCOPY = 0x00CC0020;

namespace platform {

// The pixel at (x, y) as 0x00BBGGRR; CLR_INVALID outside the output rectangle.
COLORREF GetPixel(HDC dc, int x, int y);

// Stores a 0x00BBGGRR colour (alpha 0 at 32 bits; the nearest entry at palette depths) and
// returns it; CLR_INVALID outside the output rectangle.
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);

// Copies a w x h block from (sx, sy) of the source to (x, y) of the destination. Only SRCCOPY
// is known. Between equal depths the stored bytes are copied; across depths the colour is
// converted and the alpha byte of a 32-bit destination becomes 0 unless the source is 32-bit.
// 0 without bitmaps or for another operation, else 1.
BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop);

// Draws an uncompressed DIB held in memory: the w x h block whose lower-left corner is (xSrc,
// ySrc) in the DIB's own bottom-up coordinates (upper-left for a top-down DIB) goes to (x, y).
// The caller guarantees that bits holds every row of the header's size. Returns the number of
// scan lines given (lines) or 0 on failure; only whole images (startScan 0, lines >= |height|)
// are accepted.
int SetDIBitsToDevice(HDC dc, int x, int y, DWORD w, DWORD h, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);

}  // namespace platform
