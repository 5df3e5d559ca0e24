// A buffer of the largest size a buffer holds, for the transformations that must not refuse it for
// want of room beside it. Filling it takes about 2 GB.
#pragma once

#include <algorithm>
#include <string_view>

#include "editor/foundation/text/memory.h"

constexpr int kLargestText = static_cast<int>(CMemory::kMaxDataLength);

// Fills m with chunk after chunk up to kLargestText bytes (the last one cut short); false when the
// block could not be had.
inline bool FillToLargest(CMemory& m, std::string_view chunk) {
  m.AllocBuffer(kLargestText);
  if (!m.GetPtr()) return false;
  while (m.GetLength() < kLargestText) {
    m.AppendRaw(chunk.data(), std::min(static_cast<int>(chunk.size()), kLargestText - m.GetLength()));
  }
  return true;
}
