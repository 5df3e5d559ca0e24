#include "sdk/graphics/bma_format.h"

#include <algorithm>
#include <cstring>

namespace bma {
namespace {

uint32_t ReadU32(std::span<const uint8_t> b, size_t offset) {
  return uint32_t{b[offset]} | (uint32_t{b[offset + 1]} << 8) | (uint32_t{b[offset + 2]} << 16) |
         (uint32_t{b[offset + 3]} << 24);
}

}  // namespace

std::optional<Header> ReadHeader(std::span<const uint8_t> file) {
  if (file.size() < kHeaderSize) return std::nullopt;
  Header h;
  h.width = static_cast<int32_t>(ReadU32(file, 4));
  h.height = static_cast<int32_t>(ReadU32(file, 8));
  h.packed = ReadU32(file, 12);
  h.dataSize = ReadU32(file, 16);
  return h;
}

int ReadPixels(const Header& header, std::span<const uint8_t> file, std::span<uint8_t> pixels) {
  const std::span<const uint8_t> data = file.subspan(std::min(file.size(), kHeaderSize));
  const size_t wanted = std::min<size_t>(header.dataSize, pixels.size());
  size_t written = 0;
  if (header.packed == 0) {
    written = std::min(wanted, data.size());
    if (written != 0) std::memcpy(pixels.data(), data.data(), written);
  } else {
    if (header.dataSize == 0) return 3;
    return 3;
  }
  std::fill(pixels.begin() + static_cast<ptrdiff_t>(written), pixels.end(), uint8_t{0});
  return 0;
}

}  // namespace bma
