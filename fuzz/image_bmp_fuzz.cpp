// A BMP file of any depth (1, 4, 8, 16, 24, 32 bits; RLE4, RLE8 and bit fields) through
// CDibImage::LoadBmp, made 32 bits as a memory surface takes it; and its first bytes through
// ReadBmpSize (the save thumbnails' size check), which must claim the size the load takes.
#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"
#include "sdk/graphics/dib_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Environment();
  int width = 0, height = 0;
  const bool sized = ReadBmpSize({data, size}, &width, &height);
  fuzz::WriteFile("image.bmp", {data, size});
  CDibImage image;
  if (image.LoadBmp("image.bmp", 0x3F)) {
    if (!sized || width != image.GetWidth() || height != image.GetHeight()) std::abort();
    image.ConvertTo32();
  }
  return 0;
}
