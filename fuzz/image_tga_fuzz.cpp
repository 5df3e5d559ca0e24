// A TGA file (colour-mapped, true-colour or grey; raw or run-length packed) through LoadTgaToDib,
// made 32 bits as a memory surface takes it.
#include <cstdint>

#include "fuzz_support.h"
#include "sdk/graphics/dib_image.h"
#include "sdk/graphics/tga_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Environment();
  fuzz::WriteFile("image.tga", {data, size});
  CDibImage image;
  if (LoadTgaToDib("image.tga", &image)) {
    image.ConvertTo32();
  }
  return 0;
}
