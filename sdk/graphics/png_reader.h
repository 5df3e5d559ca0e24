// PNG files into a CDibImage, read whole through the file layer and decoded with libpng.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CDibImage;

// 1 when the image was decoded, 0 otherwise. Grey and palette pictures become 8 bits with their
// table, RGB 24 bits, RGBA and anything with a transparency chunk 32 bits with alpha; grey with
// alpha loses its alpha. The two trailing arguments are not used.
uint8_t LoadPngToDib(const std::string& path, CDibImage* image, int = 0, int = 0);
