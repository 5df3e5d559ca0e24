// PNG files into a CDibImage, read whole through the file layer and decoded with libpng.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class CDibImage;

// 1 when the image was decoded, 0 otherwise. Grey and palette pictures become 8 bits with their
// table, RGB 24 bits, RGBA and anything with a transparency chunk 32 bits with alpha; grey with
// alpha loses its alpha. The two trailing arguments are not used.
uint8_t LoadPngToDib(const std::string& path, CDibImage* image, int = 0, int = 0);

// The pixels of a true-colour PNG decoded straight into 32-bit 0xAARRGGBB rows, with no picture of
// another depth made on the way. Given the size and whether the picture has alpha, rowsFor returns
// the first of height top-down rows of width pixels each, one right after the other, or null to
// refuse.
using PngRowsFn = std::function<uint32_t*(int width, int height, bool alpha)>;
enum class PngTrueColour {
  kDone,
  kFailed,     // unreadable or broken: whatever rowsFor gave may be half written
  kOtherKind,  // grey, palette or a transparency chunk: nothing was asked of rowsFor
};
// RGB pictures get alpha 0xFF, RGBA ones keep theirs; 16-bit samples lose their low byte. The
// pixels are those LoadPngToDib's picture expands to.
PngTrueColour LoadTrueColourPng(const std::string& path, const PngRowsFn& rowsFor);
