// The largest picture the program makes: every memory surface, and every picture a loader decodes
// (BMP, PNG, TGA, "bma", JPEG, GIF), whatever its file claims. A loader checks the size its header
// gives before it allocates or decodes anything, so that a few bytes claiming a huge picture cost
// nothing; the limits also keep every size product far inside 32 and 64 bits.
#pragma once

#include <cstdint>

namespace platform {

// 64 Mi pixels (a 256 MiB 32-bit surface), and at most 2^20 pixels on either side.
inline constexpr int64_t kMaxImagePixels = int64_t{1} << 26;
inline constexpr int64_t kMaxImageSide = int64_t{1} << 20;

// True for a picture of at least one pixel within the limits. Takes any sizes a file may hold.
constexpr bool ImageSizeAllowed(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImagePixels;
}

}  // namespace platform
