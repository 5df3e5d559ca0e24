// A private clipboard block as another program may offer it, through ReadPrivateClipBlock: a text
// that is believed must lie inside the block, be as long as the block's length field says and
// make the same block again; a refused block must be one whose length field runs past its data.
//
// Input: the block.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "editor/foundation/ui/clipboard_formats.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view block = fuzz::Text(data, size);
  uint64_t length = 0;
  for (size_t i = 0; i < 4 && i < size; ++i) length |= uint64_t{data[i]} << (8 * i);
  const auto text = ReadPrivateClipBlock(block);
  if (!text) {
    if (size >= 4 && length <= size - 4) std::abort();
    return 0;
  }
  if (size < 4 || text->size() != length || text->data() != block.data() + 4) std::abort();
  if (MakePrivateClipBlock(*text) != block.substr(0, 4 + text->size())) std::abort();
  return 0;
}
