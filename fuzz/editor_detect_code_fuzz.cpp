// Code detection of arbitrary bytes: the mark test and the five scores over the whole input.
#include <cstddef>
#include <cstdint>

#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/code_detect.h"
#include "editor/foundation/text/memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const char* bytes = reinterpret_cast<const char*>(data);
  const int len = static_cast<int>(size);
  const int code = CMemory::DetectCode(bytes, len);
  if (code < kCodeSjis || code >= kCodeCount) __builtin_trap();
  DetectBom(bytes, len);
  CMemory m(bytes, len);
  m.AutoToSJIS();
  return 0;
}
