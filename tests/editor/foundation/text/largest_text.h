// A buffer of the largest size a buffer holds, for the transformations that must not refuse it for
// want of room beside it. Filling it takes about 2 GB.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "editor/foundation/text/memory.h"

constexpr int kLargestText = static_cast<int>(CMemory::kMaxDataLength);

// The text is megabytes of letters, each with the same piece at the same place; the last megabyte
// is cut two bytes short.
constexpr int kLargestChunk = 1 << 20;
constexpr int kLargestChunks = static_cast<int>((int64_t{kLargestText} + 2) / kLargestChunk);
static_assert((int64_t{kLargestText} + 2) % kLargestChunk == 0);

// Fills m so; false when the block could not be had.
inline bool FillToLargest(CMemory& m, int at, std::string_view piece) {
  std::string chunk(kLargestChunk, 'x');
  chunk.replace(static_cast<size_t>(at), piece.size(), piece);
  m.AllocBuffer(kLargestText);
  if (!m.GetPtr()) return false;
  while (m.GetLength() < kLargestText) {
    m.AppendRaw(chunk.data(), std::min(kLargestChunk, kLargestText - m.GetLength()));
  }
  return true;
}
