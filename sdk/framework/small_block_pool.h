// The program-wide allocator of small blocks: requests of at most 16 bytes come from a fixed arena
// of 4096 blocks, everything else (and every small request once the arena is used up) from malloc.
// The many tiny objects of the program (string representations, list and map nodes, ring-pointer
// holders) thus cost a few loads and stores, and a pool block is known by its address alone.
//
// Each thread keeps a short list of free blocks of its own, so that taking and giving back a block
// takes no lock: the lists meet the arena's shared stack of free blocks, under its lock, only a
// batch at a time (a list that runs dry takes the top of the stack, a full one gives its older
// half back). A block freed by another thread than the one that took it joins the freeing
// thread's list. A thread's list goes back to the stack when the thread ends.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <type_traits>

class SmallBlockPool {
 public:
  static constexpr size_t kBlockShift = 4;
  static constexpr size_t kBlockSize = size_t{1} << kBlockShift;
  static constexpr size_t kBlockCount = 4096;
  static constexpr size_t kArenaSize = kBlockSize * kBlockCount;
  // A thread's list holds at most kListSize blocks and takes kBatch from the stack at a time.
  static constexpr uint32_t kListSize = 128;
  static constexpr uint32_t kBatch = 64;

  // Every block free; the first small allocation takes the last block, and a freed block is the
  // next one its thread is handed. The global pool is constant-initialised, so it is ready before
  // any constructor; every other pool is told apart from earlier pools at the same address.
  constexpr SmallBlockPool() {
    for (uint32_t i = 0; i < kBlockCount; ++i) m_free[i] = static_cast<uint16_t>(i);
    if (!std::is_constant_evaluated()) m_serial = Register(this);
  }
  ~SmallBlockPool();
  SmallBlockPool(const SmallBlockPool&) = delete;
  SmallBlockPool& operator=(const SmallBlockPool&) = delete;

  // At least size bytes, aligned for any fundamental type; null only when malloc fails.
  void* Allocate(size_t size) noexcept;
  // Gives a block back to the pool, or the memory to free. Null is ignored. A pool block that is
  // already free stays free once: a second release cannot put it on a free list twice.
  void Free(void* p) noexcept;

  bool Owns(const void* p) const noexcept;
  // The blocks not handed out, on the stack or in any thread's list.
  size_t FreeBlockCount() const;

 private:
  struct ThreadList;
  struct ThreadEnd;
  // The calling thread's list for the global pool, and for whichever other pool it used last
  // (tests and benchmarks make pools of their own).
  static thread_local ThreadList t_globalList;
  static thread_local ThreadList t_otherList;
  // Gives the thread's lists back when the thread ends; armed by the thread's first list.
  static thread_local ThreadEnd t_end;

  // The calling thread's lists go back to their stacks, and its later frees go straight there.
  static void EndThread() noexcept;

  static uint64_t Register(SmallBlockPool* pool);
  static void Return(ThreadList& list) noexcept;

  ThreadList& List() const noexcept;
  void* Hand(uint32_t index) noexcept {
    m_inUse[index].store(1, std::memory_order_relaxed);
    return m_arena + kBlockSize * index;
  }
  void* AllocateSlow(ThreadList& list, size_t size) noexcept;
  void FreeSlow(ThreadList& list, uint32_t index) noexcept;
  void Adopt(ThreadList& list) noexcept;
  // Under m_mutex: the list's blocks onto the stack, first to last.
  void PushLocked(const uint16_t* blocks, uint32_t count) noexcept;

  // Every field on a cache line of its own kind: what each thread reads on every call, what the
  // lock guards, the blocks, and the flags every thread writes.
  alignas(64) uint64_t m_serial = 0;  // 0 for the global pool; a list names its pool by the serial
  // The registry of live pools (a list under a lock of its own), through which a thread's list
  // finds out whether its pool still exists.
  SmallBlockPool* m_prevLive = nullptr;
  SmallBlockPool* m_nextLive = nullptr;
  alignas(64) mutable std::mutex m_mutex;
  uint32_t m_count = kBlockCount;     // stack height
  uint16_t m_free[kBlockCount] = {};  // stack of free block indices
  alignas(64) unsigned char m_arena[kArenaSize] = {};
  // 1 while the block is handed out: taking it stores 1, giving it back exchanges 0, so of two
  // releases of one block only one puts it on a list, even when they race.
  alignas(64) std::atomic<uint8_t> m_inUse[kBlockCount] = {};
};

// The pool behind the program's operator new and operator delete (when the build replaces them).
// It is never torn down: static objects freed at exit after it must still find it.
SmallBlockPool& GlobalSmallBlockPool();
