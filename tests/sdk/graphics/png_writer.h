// PNG fixtures made with libpng's write side.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct PngFixture {
  int width = 0;
  int height = 0;
  int bitDepth = 8;
  int colorType = PNG_COLOR_TYPE_RGB;
  bool interlaced = false;
  std::vector<std::vector<uint8_t>> rows;  // packed as PNG stores them (big-endian samples)
  std::vector<png_color> palette;
  std::vector<uint8_t> paletteAlpha;  // tRNS for palette pictures
  bool hasTransparentColor = false;   // tRNS for grey and RGB pictures
  png_color_16 transparentColor{};
};

inline bool WritePng(const std::string& path, const PngFixture& fixture) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, static_cast<png_uint_32>(fixture.width), static_cast<png_uint_32>(fixture.height), fixture.bitDepth,
               fixture.colorType, fixture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!fixture.palette.empty())
    png_set_PLTE(png, info, fixture.palette.data(), static_cast<int>(fixture.palette.size()));
  if (!fixture.paletteAlpha.empty())
    png_set_tRNS(png, info, fixture.paletteAlpha.data(), static_cast<int>(fixture.paletteAlpha.size()), nullptr);
  if (fixture.hasTransparentColor) png_set_tRNS(png, info, nullptr, 0, &fixture.transparentColor);
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (const auto& r : fixture.rows) rows.push_back(const_cast<png_bytep>(r.data()));
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}
