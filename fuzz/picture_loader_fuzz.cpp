// A picture the library has no reader of its own for (a BMP used in place, JPEG, GIF), lent from
// memory to the file layer and decoded through the picture loader into a device-independent
// section of 32 bits (where the BMP's rows are converted directly) and of 24 bits (drawn through
// its context), with the loader's palette asked as an 8-bit display would.
#include <cstdint>
#include <vector>

#include "fuzz_support.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/framework/memory_file.h"
#include "sdk/graphics/dib_section.h"
#include "sdk/graphics/picture_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Environment();
  std::vector<unsigned char> block(data, data + size);
  const CMemoryFile lent(block);
  for (int bitCount : {32, 24}) {
    CDIBSection section;
    section.LoadByPictureLoader(lent.Name(), bitCount);
  }
  CFileBuffer file;
  file.Read(lent.Name());
  const auto loader = PictureLoaderFactory.Create();
  if (loader->Load(&file) == 0) {
    PALETTEENTRY palette[256];
    loader->GetPaletteEntries(palette);
  }
  return 0;
}
