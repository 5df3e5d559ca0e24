#include <algorithm>
#include <cstring>
#include <gif_lib.h>
#include <vector>

#include "platform/image_limits.h"
#include "platform/picture_decoders.h"

namespace platform {

namespace {

struct Source {
  std::span<const uint8_t> data;
  size_t cursor = 0;
};

int ReadFromSource(GifFileType* gif, GifByteType* out, int n) {
  auto* src = static_cast<Source*>(gif->UserData);
  if (n <= 0) return 0;
  const size_t k = std::min(static_cast<size_t>(n), src->data.size() - src->cursor);
  std::memcpy(out, src->data.data() + src->cursor, k);
  src->cursor += k;
  return static_cast<int>(k);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

// Skips the sub-blocks of an extension, taking a transparent index from a graphics control block.
bool ReadExtension(GifFileType* gif, int& transparent) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
  if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
    GraphicsControlBlock gcb;
    if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) transparent = gcb.TransparentColor;
  }
  while (block) {
    if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
  }
  return true;
}

// The first image of the file, placed on its logical screen; what the image does not cover is
// transparent.
bool ReadFirstImage(GifFileType* gif, int transparent, Picture::Decoded& out) {
  if (DGifGetImageDesc(gif) != GIF_OK) return false;
  const GifImageDesc& desc = gif->Image;
  if (desc.Width <= 0 || desc.Height <= 0) return false;
  const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
  if (!map || !map->Colors) return false;

  // Some writers leave the screen size 0; the image itself then sets it.
  const int64_t screenW = gif->SWidth > 0 ? gif->SWidth : int64_t{desc.Left} + desc.Width;
  const int64_t screenH = gif->SHeight > 0 ? gif->SHeight : int64_t{desc.Top} + desc.Height;
  if (!ImageSizeAllowed(screenW, screenH) || !ImageSizeAllowed(desc.Width, desc.Height)) return false;

  std::vector<uint32_t> palette(256, 0xFF000000u);
  for (int i = 0; i < std::min(map->ColorCount, 256); ++i) {
    const GifColorType& c = map->Colors[i];
    palette[static_cast<size_t>(i)] = 0xFF000000u | (uint32_t{c.Red} << 16) | (uint32_t{c.Green} << 8) | c.Blue;
  }
  if (transparent >= 0 && transparent < 256) palette[static_cast<size_t>(transparent)] = 0;

  out.width = static_cast<int>(screenW);
  out.height = static_cast<int>(screenH);
  out.pixels.assign(static_cast<size_t>(screenW * screenH), 0);
  std::vector<GifPixelType> line(static_cast<size_t>(desc.Width));
  auto place = [&](int row) {
    const int64_t y = int64_t{desc.Top} + row;
    if (y < 0 || y >= screenH) return;
    uint32_t* dest = out.pixels.data() + static_cast<size_t>(y * screenW);
    for (int x = 0; x < desc.Width; ++x) {
      const int64_t sx = int64_t{desc.Left} + x;
      if (sx >= 0 && sx < screenW) dest[sx] = palette[line[static_cast<size_t>(x)]];
    }
  };
  if (desc.Interlace) {
    static constexpr int kOffset[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
      for (int row = kOffset[pass]; row < desc.Height; row += kStep[pass]) {
        if (DGifGetLine(gif, line.data(), desc.Width) != GIF_OK) return false;
        place(row);
      }
    }
  } else {
    for (int row = 0; row < desc.Height; ++row) {
      if (DGifGetLine(gif, line.data(), desc.Width) != GIF_OK) return false;
      place(row);
    }
  }
  return true;
}

}  // namespace

bool IsGifData(std::span<const uint8_t> data) {
  return data.size() >= 6 && (std::memcmp(data.data(), "GIF87a", 6) == 0 || std::memcmp(data.data(), "GIF89a", 6) == 0);
}

bool DecodeGif(std::span<const uint8_t> data, Picture::Decoded& out) {
  Source source{data};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, ReadFromSource, &error));
  if (!gif) return false;
  int transparent = -1;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &type) != GIF_OK) break;
    if (type == EXTENSION_RECORD_TYPE) {
      if (!ReadExtension(gif.get(), transparent)) break;
    } else if (type == IMAGE_DESC_RECORD_TYPE) {
      if (ReadFirstImage(gif.get(), transparent, out)) return true;
      break;
    } else {
      break;  // the end of the file before any image
    }
  }
  out = {};
  return false;
}

}  // namespace platform
