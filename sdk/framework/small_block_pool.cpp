#include "sdk/framework/small_block_pool.h"

#include <cstdlib>
#include <type_traits>

// The global pool must outlive every static object that frees memory at exit: it is never torn down.
static_assert(std::is_trivially_destructible_v<std::mutex>);
static_assert(std::is_trivially_destructible_v<SmallBlockPool>);

namespace {
constinit SmallBlockPool globalPool;
}

SmallBlockPool& GlobalSmallBlockPool() { return globalPool; }

void* SmallBlockPool::Allocate(size_t size) noexcept {
  if (size <= kBlockSize) {
    std::lock_guard lock(m_mutex);
    if (m_count > 0) {
      uint32_t index = m_free[--m_count];
      m_freeBits[index / 64] &= ~(uint64_t{1} << (index % 64));
      return m_arena + kBlockSize * index;
    }
  }
  // malloc(0) may return null; operator new(0) must not.
  return std::malloc(size ? size : 1);
}

void SmallBlockPool::Free(void* p) noexcept {
  if (!p) return;
  if (!Owns(p)) {
    std::free(p);
    return;
  }
  auto index = static_cast<uint32_t>((static_cast<unsigned char*>(p) - m_arena) / kBlockSize);
  uint64_t bit = uint64_t{1} << (index % 64);
  std::lock_guard lock(m_mutex);
  if (m_freeBits[index / 64] & bit) return;
  m_freeBits[index / 64] |= bit;
  m_free[m_count++] = index;
}

bool SmallBlockPool::Owns(const void* p) const noexcept {
  auto address = reinterpret_cast<uintptr_t>(p);
  auto base = reinterpret_cast<uintptr_t>(m_arena);
  return address >= base && address - base < kArenaSize;
}

size_t SmallBlockPool::FreeBlockCount() const {
  std::lock_guard lock(m_mutex);
  return m_count;
}
