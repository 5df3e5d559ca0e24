// A device-independent bitmap held as two blocks, the BITMAPINFO (header and colour table) and
// the pixel rows, each remembered with the allocator that made it. The BMP, PNG and TGA readers
// decode into it; it converts between 1, 4, 8, 16, 24 and 32 bits, resamples, and writes BMP
// files.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "platform/dib.h"

// How a block was allocated. Every kind frees with its own release; any other value (0
// included) means the block is not owned and is only forgotten.
enum DibAllocKind : int {
  kDibNotOwned = 0,
  kDibMalloc = 1,
  kDibLocalMoveable = 2,
  kDibGlobalMoveable = 3,
  kDibLocalFixed = 4,
  kDibGlobalFixed = 5,  // every block this library allocates
};

// A zeroed block of the given kind; null on failure or for an unknown kind.
void* DibAlloc(int kind, size_t bytes);
// Frees a block by its kind; blocks of other kinds are left alone.
void DibFree(int kind, void* block);

// A block of kind kDibGlobalFixed handed to the caller.
struct DibBlockDeleter {
  void operator()(void* p) const { DibFree(kDibGlobalFixed, p); }
};
template <typename T>
using DibBlock = std::unique_ptr<T[], DibBlockDeleter>;

// The largest pixel block any image may have; sizes are computed in 64 bits and checked
// against it before anything is allocated.
constexpr uint64_t kMaxDibImageBytes = uint64_t{1} << 30;

// Size 40, the size and depth, one plane, no compression, colours used 2, 16 or 256 for 1, 4 or
// 8 bits (0 above), the image size; false for any other depth.
bool FillBitmapInfoHeader(BITMAPINFOHEADER* header, int width, int height, int bitCount);

// The size a BMP file's headers claim (a negative height for top-down rows), read from its first
// bytes without decoding anything; false when they are not the headers CDibImage::LoadBmp reads.
bool ReadBmpSize(std::span<const uint8_t> file, int* width, int* height);

class CDibImage {
 public:
  CDibImage() = default;
  CDibImage(const CDibImage&) = delete;
  CDibImage& operator=(const CDibImage&) = delete;
  virtual ~CDibImage();

  void FreeHeader();
  void FreeBits();
  // False when either pointer is null; otherwise frees the current blocks and adopts these.
  bool Attach(BITMAPINFO* header, int headerKind, void* bits, int bitsKind);

  // A new header with room for 2^depth colour entries up to 8 bits: black and white for 1 bit,
  // the grey ramp for 8 bits, zeros for 4 bits. Null for a bad depth or an oversized image.
  static BITMAPINFO* MakeHeader(int width, int height, int bitCount);
  // A new bits block of |height| x stride bytes, null when that is 0 or too large.
  static void* AllocBits(const BITMAPINFO* header);
  bool Create(int width, int height, int bitCount);
  void SetGreyPalette();

  // mask bits 0x01, 0x02, 0x04, 0x08, 0x10, 0x20 admit the depths 1, 4, 8, 16, 24, 32.
  bool LoadBmp(const std::string& path, uint32_t depthMask);
  // Always written bottom-up; false when the file could not be written whole.
  bool SaveBmp(const std::string& path) const;

  // Dense rows without padding, in the image's row order; null for no bits or a bad depth.
  DibBlock<uint8_t> ToGreyBytes() const;
  DibBlock<uint8_t> To24Bytes() const;
  DibBlock<uint32_t> To32Bytes() const;
  // Expands every row to 0xAARRGGBB straight into rows the caller owns: rowOut(i) names the
  // destination of memory row i, at least GetWidth() pixels. No block of the whole image is made,
  // so a picture headed for a surface is not held twice. False when there is nothing to expand.
  bool ExpandTo32(const std::function<uint32_t*(size_t row)>& rowOut) const;

  // The method is read from the mode's low 16 bits.
  bool ConvertBitCount(int bitCount, uint32_t mode);
  bool ConvertTo1();
  bool ConvertTo4(uint32_t mode);
  bool ConvertTo8(uint32_t mode);
  bool ConvertTo16(uint32_t mode);
  bool ConvertTo24();
  bool ConvertTo32();
  bool QuantizeTo4();
  bool QuantizeTo8();

  // Resamples to a new size (both above 0), keeping the depth and the row order.
  bool Resize(int width, int height);

  BITMAPINFO* GetHeader() const { return m_header; }
  uint8_t* GetBits() const { return static_cast<uint8_t*>(m_bits); }
  int GetWidth() const { return m_header ? m_header->bmiHeader.biWidth : 0; }
  // Negative for a top-down image.
  int GetHeight() const { return m_header ? m_header->bmiHeader.biHeight : 0; }
  int GetBitCount() const { return m_header ? m_header->bmiHeader.biBitCount : 0; }
  int GetStride() const;
  // The colour table, no more entries than the depth can index.
  std::span<RGBQUAD> GetColors() const;

 private:
  int AbsHeight() const;
  // Replaces the image by a new one of the same size and row order at another depth.
  bool Adopt(BITMAPINFO* header, void* bits);

  BITMAPINFO* m_header = nullptr;
  void* m_bits = nullptr;
  int m_headerKind = kDibNotOwned;
  int m_bitsKind = kDibNotOwned;
};

// The grey value of a colour: (37 blue + 146 green + 73 red) / 256.
constexpr uint8_t DibGrey(unsigned blue, unsigned green, unsigned red) {
  return static_cast<uint8_t>((37 * blue + 146 * green + 73 * red) / 256);
}
