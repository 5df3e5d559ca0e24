#include "platform/huge_block.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace huge_block {

void Free::operator()(std::byte* p) const { std::free(p); }

Ptr Allocate(size_t nBytes) {
  void* p = nullptr;
  if (nBytes >= kHugePageSize) {
    const size_t rounded = (nBytes + kHugePageSize - 1) / kHugePageSize * kHugePageSize;
    if (rounded < nBytes) throw std::bad_alloc();
    p = std::aligned_alloc(kHugePageSize, rounded);
    // Only advice: refused, the block is served in small pages.
    if (p) ::madvise(p, rounded, MADV_HUGEPAGE);
  } else {
    p = std::malloc(nBytes > 0 ? nBytes : 1);
  }
  if (!p) throw std::bad_alloc();
  return Ptr(static_cast<std::byte*>(p));
}

}  // namespace huge_block
