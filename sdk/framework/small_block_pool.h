// The program-wide allocator of small blocks: requests of at most 16 bytes come from a fixed arena
// of 4096 blocks, everything else (and every small request once the arena is used up) from malloc.
// The many tiny objects of the program (string representations, list and map nodes, ring-pointer
// holders) thus cost a lock and an array access, and a pool block is known by its address alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

class SmallBlockPool {
 public:
  static constexpr size_t kBlockSize = 16;
  static constexpr size_t kBlockCount = 4096;
  static constexpr size_t kArenaSize = kBlockSize * kBlockCount;

  // Every block free; the first small allocation takes the last block, and a freed block is the
  // next one handed out. Constant-initialised, so the global pool is ready before any constructor.
  constexpr SmallBlockPool() {
    for (uint32_t i = 0; i < kBlockCount; ++i) m_free[i] = i;
    for (auto& word : m_freeBits) word = ~uint64_t{0};
  }
  SmallBlockPool(const SmallBlockPool&) = delete;
  SmallBlockPool& operator=(const SmallBlockPool&) = delete;

  // At least size bytes, aligned for any fundamental type; null only when malloc fails.
  void* Allocate(size_t size) noexcept;
  // Gives a block back to the arena, or the memory to free. Null is ignored. A pool block that is
  // already free stays free once: a second release cannot put it on the free stack twice.
  void Free(void* p) noexcept;

  bool Owns(const void* p) const noexcept;
  size_t FreeBlockCount() const;

 private:
  mutable std::mutex m_mutex;
  alignas(16) unsigned char m_arena[kArenaSize] = {};
  uint32_t m_free[kBlockCount] = {};  // stack of free block indices
  uint32_t m_count = kBlockCount;     // stack height
  uint64_t m_freeBits[kBlockCount / 64] = {};  // bit set: the block is on the stack
};

// The pool behind the program's operator new and operator delete (when the build replaces them).
SmallBlockPool& GlobalSmallBlockPool();
