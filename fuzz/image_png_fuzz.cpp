// A PNG file through LoadPngToDib, made 32 bits as a memory surface takes it.
#include <cstdint>

#include "fuzz_support.h"
#include "sdk/graphics/dib_image.h"
#include "sdk/graphics/png_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Environment();
  fuzz::WriteFile("image.png", {data, size});
  CDibImage image;
  if (LoadPngToDib("image.png", &image)) {
    image.ConvertTo32();
  }
  return 0;
}
