// A PNG file through LoadPngToDib, made 32 bits as a memory surface takes it, and through the
// straight true-colour decode into rows of the size the header claims.
#include <cstdint>
#include <vector>

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
  std::vector<uint32_t> rows;
  LoadTrueColourPng("image.png", [&](int width, int height, bool) {
    rows.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    return rows.data();
  });
  return 0;
}
