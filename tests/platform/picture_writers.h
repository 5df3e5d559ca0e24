// JPEG and GIF fixtures made with the libraries' write sides, in memory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>

// components: 3 (RGB rows), 1 (grey) or 4 (CMYK as stored, Adobe-inverted).
inline std::vector<uint8_t> WriteJpeg(int width, int height, int components, const std::vector<uint8_t>& pixels) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(width);
  c.image_height = static_cast<JDIMENSION>(height);
  c.input_components = components;
  c.in_color_space = components == 3 ? JCS_RGB : components == 1 ? JCS_GRAYSCALE : JCS_CMYK;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 100, TRUE);
  for (int i = 0; i < c.num_components; ++i) c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + static_cast<size_t>(c.next_scanline) * width * components);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> result(out, out + size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return result;
}

struct GifFixture {
  int screenWidth = 0, screenHeight = 0;
  int left = 0, top = 0, width = 0, height = 0;
  bool interlaced = false;
  int transparent = -1;
  std::vector<GifColorType> colors;  // a power of two in size
  std::vector<uint8_t> indices;      // width x height, top row first
};

inline int AppendToVector(GifFileType* gif, const GifByteType* data, int n) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + n);
  return n;
}

inline std::vector<uint8_t> WriteGif(const GifFixture& s) {
  std::vector<uint8_t> bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, AppendToVector, &error);
  ColorMapObject* map = GifMakeMapObject(static_cast<int>(s.colors.size()), s.colors.data());
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, s.screenWidth, s.screenHeight, 8, 0, map);
  if (s.transparent >= 0) {
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = s.transparent;
    GifByteType ext[4];
    const size_t n = EGifGCBToExtension(&gcb, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), ext);
  }
  EGifPutImageDesc(gif, s.left, s.top, s.width, s.height, s.interlaced, nullptr);
  std::vector<int> order;
  if (s.interlaced) {
    const int offset[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = offset[pass]; y < s.height; y += step[pass]) order.push_back(y);
  } else {
    for (int y = 0; y < s.height; ++y) order.push_back(y);
  }
  for (int y : order) {
    std::vector<GifPixelType> line(s.indices.begin() + y * s.width, s.indices.begin() + (y + 1) * s.width);
    EGifPutLine(gif, line.data(), s.width);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return bytes;
}
