#include "platform/picture.h"

#include <algorithm>

#include "platform/picture_decoders.h"

namespace platform {

std::unique_ptr<Picture> Picture::Load(std::span<const uint8_t> data) {
  Decoded decoded;
  bool ok = false;
  if (IsJpegData(data)) {
    ok = DecodeJpeg(data, decoded);
  } else if (IsGifData(data)) {
    ok = DecodeGif(data, decoded);
  }
  if (!ok) return nullptr;
  return std::unique_ptr<Picture>(new Picture(std::move(decoded)));
}

bool Picture::Render(HDC dc, int x, int y) const {
  if (!dc || !dc->GetBitmap()) return false;
  const Bitmap& target = *dc->GetBitmap();
  const RECT out = dc->GetOutputRect();
  const int64_t left = std::max<int64_t>(out.left, x), right = std::min<int64_t>(out.right, int64_t{x} + m_width);
  const int64_t top = std::max<int64_t>(out.top, y), bottom = std::min<int64_t>(out.bottom, int64_t{y} + m_height);
  for (int64_t ty = top; ty < bottom; ++ty) {
    const uint32_t* src = m_pixels.data() + static_cast<size_t>(ty - y) * static_cast<size_t>(m_width);
    uint8_t* row = target.Row(static_cast<int>(ty));
    for (int64_t tx = left; tx < right; ++tx) {
      const uint32_t p = src[tx - x];
      if ((p >> 24) == 0) continue;
      StoreDibPixel(row, static_cast<int>(tx), target.BitCount(), target.Colors(), p & 0x00FFFFFFu);
    }
  }
  return true;
}

}  // namespace platform
