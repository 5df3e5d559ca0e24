// A BMP file of any depth (1, 4, 8, 16, 24, 32 bits; RLE4, RLE8 and bit fields) through
// CDibImage::LoadBmp, made 32 bits as a memory surface takes it.
#include <cstdint>

#include "fuzz_support.h"
#include "sdk/graphics/dib_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Environment();
  fuzz::WriteFile("image.bmp", {data, size});
  CDibImage image;
  if (image.LoadBmp("image.bmp", 0x3F)) {
    image.ConvertTo32();
  }
  return 0;
}
