#include "sdk/graphics/tga_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/image_limits.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/graphics/byte_source.h"
#include "sdk/graphics/dib_image.h"

namespace {

constexpr uint8_t kColorMapped = 1;
constexpr uint8_t kTrueColor = 2;
constexpr uint8_t kGrey = 3;
constexpr uint8_t kRleColorMapped = 9;
constexpr uint8_t kRleTrueColor = 10;
constexpr uint8_t kTopFirst = 0x20;
constexpr uint32_t kMaxTableEntries = 256;

struct TgaHeader {
  uint8_t idLength = 0;
  uint8_t colorMapType = 0;
  uint8_t imageType = 0;
  uint16_t mapFirst = 0;
  uint16_t mapLength = 0;
  uint8_t mapEntryBits = 0;
  uint16_t xOrigin = 0, yOrigin = 0, width = 0, height = 0;
  uint8_t pixelBits = 0;
  uint8_t descriptor = 0;

  bool Read(ByteSource& in) {
    return in.Byte(idLength) && in.Byte(colorMapType) && in.Byte(imageType) && in.Le16(mapFirst) &&
           in.Le16(mapLength) && in.Byte(mapEntryBits) && in.Le16(xOrigin) && in.Le16(yOrigin) && in.Le16(width) &&
           in.Le16(height) && in.Byte(pixelBits) && in.Byte(descriptor);
  }
};

// Reads the 24-bit colour map into the table; entries beyond what an 8-bit image can index are
// skipped.
bool ReadColorMap(ByteSource& in, const TgaHeader& h, CDibImage& image) {
  const std::span<RGBQUAD> table = image.GetColors();
  const uint32_t kept = std::min<uint32_t>({h.mapLength, kMaxTableEntries, static_cast<uint32_t>(table.size())});
  for (uint32_t i = 0; i < kept; ++i) {
    uint8_t bgr[3];
    if (!in.Read(bgr, 3)) return false;
    table[i] = RGBQUAD{bgr[0], bgr[1], bgr[2], 0};
  }
  return in.Skip(uint64_t{h.mapLength - kept} * 3);
}

// Packets: a header byte gives (h & 0x7F) + 1 pixels, one repeated when bit 0x80 is set, else
// that many literal ones. They run on across row ends; the image ends when the last row is full.
bool ReadRunLength(ByteSource& in, CDibImage& image, size_t pixelBytes, bool topFirst) {
  const int width = image.GetWidth(), height = image.GetHeight();  // a bottom-up image
  const size_t stride = static_cast<size_t>(image.GetStride());
  int x = 0, row = 0;
  uint8_t* line = image.GetBits() + static_cast<size_t>(topFirst ? height - 1 : 0) * stride;
  auto put = [&](const uint8_t* pixel) {
    std::memcpy(line + static_cast<size_t>(x) * pixelBytes, pixel, pixelBytes);
    if (++x == width) {
      x = 0;
      ++row;
      if (row < height) line = image.GetBits() + static_cast<size_t>(topFirst ? height - 1 - row : row) * stride;
    }
  };
  uint8_t pixel[4];
  while (row < height) {
    uint8_t packet = 0;
    if (!in.Byte(packet)) return false;
    const int count = (packet & 0x7F) + 1;
    if (packet & 0x80) {
      if (!in.Read(pixel, pixelBytes)) return false;
      for (int i = 0; i < count && row < height; ++i) put(pixel);
    } else {
      for (int i = 0; i < count && row < height; ++i) {
        if (!in.Read(pixel, pixelBytes)) return false;
        put(pixel);
      }
    }
  }
  return true;
}

bool Decode(ByteSource& in, CDibImage& image) {
  TgaHeader h;
  if (!h.Read(in) || !in.Skip(h.idLength)) return false;
  const bool mapped = h.imageType == kColorMapped || h.imageType == kRleColorMapped;
  const bool trueColor = h.imageType == kTrueColor || h.imageType == kRleTrueColor;
  const bool rle = h.imageType == kRleColorMapped || h.imageType == kRleTrueColor;
  if (mapped || h.imageType == kGrey) {
    if (h.pixelBits != 8) return false;
  } else if (trueColor) {
    if (h.pixelBits != 16 && h.pixelBits != 24 && h.pixelBits != 32) return false;
  } else {
    return false;
  }
  if (mapped && (h.colorMapType == 0 || h.mapEntryBits != 24)) return false;

  // Two 16-bit sides can claim four billion pixels: checked before anything is allocated.
  if (!platform::ImageSizeAllowed(h.width, h.height)) return false;
  const bool topFirst = (h.descriptor & kTopFirst) != 0;
  const int height = (topFirst && !rle) ? -int{h.height} : int{h.height};
  if (!image.Create(h.width, height, h.pixelBits)) return false;
  if (h.imageType == kGrey) image.SetGreyPalette();

  if (mapped) {
    if (!ReadColorMap(in, h, image)) return false;
  } else if (h.colorMapType != 0) {
    // An unused map is skipped whole: entries of 15 bits take two bytes like those of 16.
    if (!in.Skip(uint64_t{h.mapLength} * ((h.mapEntryBits + 7u) / 8u))) return false;
  }

  const size_t pixelBytes = h.pixelBits / 8u;
  if (rle) return ReadRunLength(in, image, pixelBytes, topFirst);

  const size_t rowBytes = pixelBytes * h.width;
  const size_t stride = static_cast<size_t>(image.GetStride());
  for (int y = 0; y < h.height; ++y) {
    uint8_t* row = image.GetBits() + static_cast<size_t>(y) * stride;
    if (!in.Read(row, rowBytes)) return false;
    if (h.imageType == kTrueColor && h.pixelBits == 32) {
      // Raw 32-bit files are read with their alpha inverted, as the stored game data expects.
      for (size_t x = 3; x < rowBytes; x += 4) row[x] = static_cast<uint8_t>(255 - row[x]);
    }
  }
  return true;
}

}  // namespace

uint8_t LoadTgaToDib(const std::string& path, CDibImage* image, int, int) {
  if (!image) return 0;
  CFileBuffer file;
  if (file.Read(path) != 0 || !file.GetData()) return 0;
  ByteSource in(std::span<const uint8_t>(file.GetData(), file.GetSize()));
  return Decode(in, *image) ? 1 : 0;
}
