#include "sdk/framework/small_block_pool.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

// The locks must outlive every static object that frees memory at exit.
static_assert(std::is_trivially_destructible_v<std::mutex>);

namespace {
constexpr uint64_t kNoPool = ~uint64_t{0};
}

struct SmallBlockPool::ThreadList {
  uint64_t owner = kNoPool;    // the serial of the pool whose free blocks these are
  uint32_t count = 0;
  bool ended = false;          // the thread is ending: frees go straight to the stack
  uint16_t blocks[kListSize];  // the next block handed out is the last
};

// Constant-initialised and trivially destructible: reaching them is one access relative to the
// thread pointer, with no guard.
constinit thread_local SmallBlockPool::ThreadList SmallBlockPool::t_globalList{};
constinit thread_local SmallBlockPool::ThreadList SmallBlockPool::t_otherList{};

namespace {

// The global pool is never destroyed: the holder's destructor leaves it alone.
union GlobalHolder {
  SmallBlockPool pool;
  constexpr GlobalHolder() : pool() {}
  ~GlobalHolder() {}
};
constinit GlobalHolder global;

// Pools made at run time, so that a thread's list can tell whether the pool it holds blocks of
// still exists.
constinit std::mutex registryMutex;
constinit SmallBlockPool* registryHead = nullptr;
constinit uint64_t lastSerial = 0;

}  // namespace

struct SmallBlockPool::ThreadEnd {
  bool armed = false;
  ~ThreadEnd() { EndThread(); }
};
thread_local SmallBlockPool::ThreadEnd SmallBlockPool::t_end;

SmallBlockPool& GlobalSmallBlockPool() { return global.pool; }

uint64_t SmallBlockPool::Register(SmallBlockPool* pool) {
  std::lock_guard lock(registryMutex);
  pool->m_nextLive = registryHead;
  if (registryHead != nullptr) registryHead->m_prevLive = pool;
  registryHead = pool;
  return ++lastSerial;
}

SmallBlockPool::~SmallBlockPool() {
  if (m_serial == 0) return;
  std::lock_guard lock(registryMutex);
  if (m_prevLive != nullptr)
    m_prevLive->m_nextLive = m_nextLive;
  else
    registryHead = m_nextLive;
  if (m_nextLive != nullptr) m_nextLive->m_prevLive = m_prevLive;
}

inline SmallBlockPool::ThreadList& SmallBlockPool::List() const noexcept {
  return this == &global.pool ? t_globalList : t_otherList;
}

void* SmallBlockPool::Allocate(size_t size) noexcept {
  if (size > kBlockSize) return std::malloc(size);
  ThreadList& list = List();
  if (list.owner == m_serial && list.count != 0) [[likely]]
    return Hand(list.blocks[--list.count]);
  return AllocateSlow(list, size);
}

void SmallBlockPool::Free(void* p) noexcept {
  const uintptr_t offset = reinterpret_cast<uintptr_t>(p) - reinterpret_cast<uintptr_t>(m_arena);
  if (offset >= kArenaSize) {
    std::free(p);
    return;
  }
  const auto index = static_cast<uint32_t>(offset >> kBlockShift);
  if (m_inUse[index].exchange(0, std::memory_order_relaxed) == 0) return;
  ThreadList& list = List();
  if (list.owner == m_serial && list.count < kListSize) [[likely]] {
    list.blocks[list.count++] = static_cast<uint16_t>(index);
    return;
  }
  FreeSlow(list, index);
}

void* SmallBlockPool::AllocateSlow(ThreadList& list, size_t size) noexcept {
  if (!list.ended && list.owner != m_serial) Adopt(list);
  {
    std::lock_guard lock(m_mutex);
    if (m_count > 0) {
      if (list.ended) return Hand(m_free[--m_count]);
      // The top of the stack, in its order: the list hands out the top block first.
      const uint32_t n = std::min(kBatch, m_count);
      m_count -= n;
      std::memcpy(list.blocks, m_free + m_count, n * sizeof(uint16_t));
      list.count = n - 1;
      return Hand(list.blocks[n - 1]);
    }
  }
  // malloc(0) may return null; operator new(0) must not.
  return std::malloc(size ? size : 1);
}
void SmallBlockPool::FreeSlow(ThreadList& list, uint32_t index) noexcept {
  if (!list.ended && list.owner != m_serial) Adopt(list);
  const auto block = static_cast<uint16_t>(index);
  if (list.ended) {
    std::lock_guard lock(m_mutex);
    PushLocked(&block, 1);
    return;
  }
  if (list.count == kListSize) {
    // The older half goes back; the recent half stays warm in this thread.
    constexpr uint32_t kHalf = kListSize / 2;
    {
      std::lock_guard lock(m_mutex);
      PushLocked(list.blocks, kHalf);
    }
    std::memmove(list.blocks, list.blocks + kHalf, (kListSize - kHalf) * sizeof(uint16_t));
    list.count -= kHalf;
  }
  list.blocks[list.count++] = block;
}

void SmallBlockPool::Adopt(ThreadList& list) noexcept {
  Return(list);
  list.owner = m_serial;
  t_end.armed = true;
}

void SmallBlockPool::PushLocked(const uint16_t* blocks, uint32_t count) noexcept {
  std::memcpy(m_free + m_count, blocks, count * sizeof(uint16_t));
  m_count += count;
}

void SmallBlockPool::Return(ThreadList& list) noexcept {
  if (list.count == 0) return;
  if (list.owner == 0) {
    std::lock_guard lock(global.pool.m_mutex);
    global.pool.PushLocked(list.blocks, list.count);
  } else {
    // A pool gone since leaves nothing to give back to.
    std::lock_guard registryLock(registryMutex);
    for (SmallBlockPool* pool = registryHead; pool != nullptr; pool = pool->m_nextLive) {
      if (pool->m_serial == list.owner) {
        std::lock_guard lock(pool->m_mutex);
        pool->PushLocked(list.blocks, list.count);
        break;
      }
    }
  }
  list.count = 0;
}

void SmallBlockPool::EndThread() noexcept {
  for (ThreadList* list : {&t_globalList, &t_otherList}) {
    Return(*list);
    list->owner = kNoPool;
    list->ended = true;
  }
}

bool SmallBlockPool::Owns(const void* p) const noexcept {
  auto address = reinterpret_cast<uintptr_t>(p);
  auto base = reinterpret_cast<uintptr_t>(m_arena);
  return address >= base && address - base < kArenaSize;
}

size_t SmallBlockPool::FreeBlockCount() const {
  size_t free = 0;
  for (const auto& inUse : m_inUse) free += inUse.load(std::memory_order_relaxed) == 0;
  return free;
}
