// A clipboard snapshot as another process may send it to the clipboard keeper, through
// DecodeClipboardSnapshot: one that is taken must make the same bytes again; one that is refused
// must never crash.
//
// Input: the snapshot's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"
#include "platform/clipboard_snapshot.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = fuzz::Text(data, size);
  const auto snapshot = platform::DecodeClipboardSnapshot(bytes);
  if (snapshot && platform::EncodeClipboardSnapshot(*snapshot) != bytes) std::abort();
  return 0;
}
