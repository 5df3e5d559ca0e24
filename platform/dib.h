// Device-independent bitmaps: the header layout stored in BMP files and handed between the
// codecs, the memory device context and the picture loader, with the row arithmetic they share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/win_types.h"

// The 40-byte information header, laid out as stored in files.
struct BITMAPINFOHEADER {
  uint32_t biSize = 0;
  int32_t biWidth = 0;
  int32_t biHeight = 0;
  uint16_t biPlanes = 0;
  uint16_t biBitCount = 0;
  uint32_t biCompression = 0;
  uint32_t biSizeImage = 0;
  int32_t biXPelsPerMeter = 0;
  int32_t biYPelsPerMeter = 0;
  uint32_t biClrUsed = 0;
  uint32_t biClrImportant = 0;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(offsetof(BITMAPINFOHEADER, biBitCount) == 14);
static_assert(offsetof(BITMAPINFOHEADER, biClrUsed) == 32);

struct RGBQUAD {
  uint8_t rgbBlue = 0;
  uint8_t rgbGreen = 0;
  uint8_t rgbRed = 0;
  uint8_t rgbReserved = 0;
};
static_assert(sizeof(RGBQUAD) == 4);

// A header followed by its colour table. The table may hold more entries than the one declared
// here; reach it through DibColors, never through bmiColors[i] with i > 0.
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};

constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_RLE8 = 1;
constexpr DWORD BI_RLE4 = 2;
constexpr DWORD BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr WORD BMP_FILE_TYPE = 0x4D42;  // "BM" read as a little-endian word
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Palette entries of an 8-bit display; an entry flagged PC_EXPLICIT names a system-palette index
// in its low word (peRed, peGreen).
struct PALETTEENTRY {
  uint8_t peRed = 0;
  uint8_t peGreen = 0;
  uint8_t peBlue = 0;
  uint8_t peFlags = 0;
};
static_assert(sizeof(PALETTEENTRY) == 4);
constexpr uint8_t PC_RESERVED = 0x01;
constexpr uint8_t PC_EXPLICIT = 0x02;
constexpr uint8_t PC_NOCOLLAPSE = 0x04;

namespace platform {

// True for the depths a DIB row can hold here: 1, 4, 8, 16, 24, 32.
bool IsDibDepth(int bitCount);

// Bytes per row, padded to 32 bits; 0 when the depth or width is unusable or the row would not
// fit in 31 bits.
uint32_t DibStride(int32_t width, int bitCount);

// The number of rows a header's height stands for: its magnitude (a top-down DIB stores a
// negative height), taken without overflow for any 32-bit value.
constexpr int64_t DibRows(int32_t height) { return height < 0 ? -int64_t{height} : int64_t{height}; }

// Entries of the colour table that follows a header: colours used, else 2^depth up to 8 bits.
uint32_t DibColorCount(const BITMAPINFOHEADER& header);

// The colour table directly after the header (after biSize bytes when a longer header version
// declares more; the caller has checked that the header and table lie inside its memory).
inline size_t DibHeaderBytes(const BITMAPINFOHEADER& header) {
  return header.biSize > sizeof(BITMAPINFOHEADER) ? header.biSize : sizeof(BITMAPINFOHEADER);
}
inline RGBQUAD* DibColors(BITMAPINFO* info) {
  return reinterpret_cast<RGBQUAD*>(reinterpret_cast<uint8_t*>(info) + DibHeaderBytes(info->bmiHeader));
}
inline const RGBQUAD* DibColors(const BITMAPINFO* info) {
  return reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const uint8_t*>(info) + DibHeaderBytes(info->bmiHeader));
}

// Expands the first out.size() pixels of one uncompressed row to 0xAARRGGBB words. Palette
// indices beyond the table give black; 16-bit pixels are 5-5-5 scaled by 8 without replicating
// the high bits; 32-bit words are copied as stored; every other depth gets alpha 0xFF.
void ExpandDibRow(const uint8_t* row, int bitCount, std::span<const RGBQUAD> colors, std::span<uint32_t> out);

// One pixel of an uncompressed row, by the rules of ExpandDibRow.
uint32_t ReadDibPixel(const uint8_t* row, int x, int bitCount, std::span<const RGBQUAD> colors);

// The index of the table entry nearest to a colour (squared distance, first one on ties).
uint8_t NearestDibColor(std::span<const RGBQUAD> colors, uint32_t rgb);

// Writes one pixel (0x00RRGGBB, plus alpha for 32 bits) into a row of the given depth; for
// palette depths the nearest table entry is stored.
void StoreDibPixel(uint8_t* row, int x, int bitCount, std::span<const RGBQUAD> colors, uint32_t argb);

}  // namespace platform
