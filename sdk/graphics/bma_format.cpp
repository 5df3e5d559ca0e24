#include "sdk/graphics/bma_format.h"

#include <algorithm>
#include <cstring>

#include "platform/image_limits.h"
#include "sdk/framework/little_endian.h"
#include "sdk/framework/lzss_decoder.h"

namespace bma {

std::optional<Header> ReadHeader(std::span<const uint8_t> file) {
  if (file.size() < kHeaderSize) return std::nullopt;
  Header h;
  h.width = static_cast<int32_t>(LoadLe32(file.data() + 4));
  h.height = static_cast<int32_t>(LoadLe32(file.data() + 8));
  h.packed = LoadLe32(file.data() + 12);
  h.dataSize = LoadLe32(file.data() + 16);
  return h;
}

bool DataCanCover(const Header& header, std::span<const uint8_t> file) {
  if (!platform::ImageSizeAllowed(header.width, header.height)) return false;
  const uint64_t imageBytes = uint64_t{4} * static_cast<uint64_t>(header.width) * static_cast<uint64_t>(header.height);
  const uint64_t dataBytes = file.size() - std::min(file.size(), kHeaderSize);
  return header.packed != 0 ? CLzssDecoder::CanUnpackTo(dataBytes, imageBytes) : dataBytes >= imageBytes;
}

int ReadPixels(const Header& header, std::span<const uint8_t> file, std::span<uint8_t> pixels) {
  if (header.packed != 0 && header.dataSize == 0) return 3;
  const std::span<const uint8_t> data = file.subspan(std::min(file.size(), kHeaderSize));
  // Whatever a data size short of the picture does not cover stays zero.
  std::fill(pixels.begin(), pixels.end(), uint8_t{0});
  const size_t wanted = std::min<size_t>(header.dataSize, pixels.size());
  if (wanted == 0) return 0;
  if (header.packed == 0) {
    const size_t available = std::min(wanted, data.size());
    if (available != 0) std::memcpy(pixels.data(), data.data(), available);
    return 0;
  }
  // The decoder stops after `wanted` bytes. A stream that ends before them is damaged, as it is in
  // an archive: the picture is refused rather than shown with a black part.
  CLzssDecoder decoder;
  unsigned char* out = pixels.data();
  if (decoder.Decode(data.data(), static_cast<uint32_t>(data.size()), out, static_cast<uint32_t>(wanted), false) != 0)
    return 3;
  return 0;
}

}  // namespace bma
