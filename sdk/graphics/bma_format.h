// The packed image format "bma": a 24-byte header of 32-bit little-endian fields (ignored,
// width, height, packed flag, data size, ignored), then the top-down 0xAARRGGBB pixels, raw or
// LZSS-packed. The sizes come from the file and are checked against the file and the surface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace bma {

constexpr size_t kHeaderSize = 24;

struct Header {
  int32_t width = 0;
  int32_t height = 0;
  uint32_t packed = 0;
  uint32_t dataSize = 0;
};

// The header, or nothing when the file is shorter than one.
std::optional<Header> ReadHeader(std::span<const uint8_t> file);

// True when the header's size is one a surface may have and the data after the header can make
// that many pixels: raw data must hold them all, and packed data cannot unpack to more than the
// decoder's ratio allows. A few bytes claiming a huge picture are refused before anything is
// allocated.
bool DataCanCover(const Header& header, std::span<const uint8_t> file);

// Fills pixels from the data after the header: raw data is copied, packed data decoded. Neither
// reads past the end of the file nor writes past the pixels; what a data size short of the
// picture does not cover is zero. Returns 0, or 3 for packed data of size 0 or a packed stream
// that ends before it has made the data size (or the picture, when that is smaller).
int ReadPixels(const Header& header, std::span<const uint8_t> file, std::span<uint8_t> pixels);

}  // namespace bma
