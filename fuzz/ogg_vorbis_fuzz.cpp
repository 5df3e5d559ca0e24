// Ogg Vorbis files read through the reader's memory-file callbacks, as music and voices are:
// opened, decoded in blocks, sought back to the start and decoded again (bounded here).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sdk/framework/memory_file.h"
#include "sdk/sound/ogg_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<unsigned char> bytes(data, data + size);
  CMemoryFile lent(bytes);
  COggReader reader;
  if (!reader.Open(lent.Name().c_str())) return 0;
  StreamFormat format{};
  reader.GetFormat(&format);
  reader.GetLength();
  reader.IsLongStream();
  std::vector<uint8_t> block(33076);
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < 64 && !reader.IsEOF(); ++i) {
      uint32_t produced = 0;
      reader.Read(block.data(), static_cast<uint32_t>(block.size()), &produced);
    }
    reader.Seek(0);
    reader.Tell();
  }
  return 0;
}
