// Large blocks of uninitialised memory for data filled soon after it is taken (a list rebuilt in
// one pass). A block of 2 MB or more is aligned to 2 MB and advised for huge pages: filling it then
// takes one page fault per 2 MB instead of one per 4 KB, and in a process whose memory is still
// fresh those faults cost more than the filling. Smaller blocks are plain heap memory.
#pragma once

#include <cstddef>
#include <memory>

namespace huge_block {

inline constexpr size_t kHugePageSize = size_t{2} << 20;

struct Free {
  void operator()(std::byte* p) const;
};
using Ptr = std::unique_ptr<std::byte[], Free>;

// nBytes (at least one) of uninitialised memory, aligned for any object; throws std::bad_alloc.
Ptr Allocate(size_t nBytes);

}  // namespace huge_block
