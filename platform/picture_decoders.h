// The decoders behind the picture service, one per format.
#pragma once

#include <cstdint>
#include <span>

#include "platform/picture.h"

namespace platform {

bool IsJpegData(std::span<const uint8_t> data);
bool IsGifData(std::span<const uint8_t> data);

// Each fills out with top-down 0xFFRRGGBB pixels (0 where a GIF is transparent) and returns
// true, or returns false for broken or oversized data.
bool DecodeJpeg(std::span<const uint8_t> data, Picture::Decoded& out);
bool DecodeGif(std::span<const uint8_t> data, Picture::Decoded& out);

}  // namespace platform
