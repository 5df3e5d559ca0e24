// A "bma" file (header, then raw or LZSS-packed 32-bit pixels) loaded into a memory surface by
// its extension, as the game loads one.
#include <cstdint>

#include "fuzz_support.h"
#include "sdk/graphics/mem_plane.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Environment();
  fuzz::WriteFile("image.bma", {data, size});
  CMemPlane plane;
  plane.Load("image.bma", 0, 100.0);
  return 0;
}
