// Base64 decoding and uudecode of arbitrary bytes, from memory.
#include <cstddef>
#include <cstdint>
#include <string>

#include "editor/foundation/text/memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const char* bytes = reinterpret_cast<const char*>(data);
  const int len = static_cast<int>(size);
  CMemory b64(bytes, len);
  b64.Base64Decode();
  if (b64.GetLength() > len) __builtin_trap();
  CMemory uu(bytes, len);
  std::string name;
  uu.Uudecode(name);
  return 0;
}
