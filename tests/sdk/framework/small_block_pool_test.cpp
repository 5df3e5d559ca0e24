#include "sdk/framework/small_block_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

std::unique_ptr<SmallBlockPool> NewPool() { return std::make_unique<SmallBlockPool>(); }

TEST(SmallBlockPool, SmallRequestsTakeBlocksLargerOnesGoToMalloc) {
  auto pool = NewPool();
  struct Case {
    size_t size;
    bool pooled;
  };
  for (Case c : {Case{0, true}, Case{1, true}, Case{15, true}, Case{16, true}, Case{17, false}, Case{4096, false}}) {
    void* p = pool->Allocate(c.size);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(pool->Owns(p), c.pooled) << c.size;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % alignof(std::max_align_t), 0u) << c.size;
    std::memset(p, 0xAB, c.size);
    pool->Free(p);
  }
  EXPECT_EQ(pool->FreeBlockCount(), SmallBlockPool::kBlockCount);
}

TEST(SmallBlockPool, BlocksComeFromTheTopAndAFreedBlockIsTheNextOut) {
  auto pool = NewPool();
  auto* first = static_cast<unsigned char*>(pool->Allocate(8));
  auto* second = static_cast<unsigned char*>(pool->Allocate(8));
  EXPECT_EQ(first - second, 16);  // block 4095, then 4094
  pool->Free(first);
  EXPECT_EQ(pool->Allocate(3), first);
  pool->Free(first);
  pool->Free(second);
}

TEST(SmallBlockPool, AnExhaustedArenaSendsSmallRequestsToMalloc) {
  auto pool = NewPool();
  std::vector<void*> blocks;
  for (size_t i = 0; i < SmallBlockPool::kBlockCount; ++i) blocks.push_back(pool->Allocate(16));
  EXPECT_EQ(pool->FreeBlockCount(), 0u);
  EXPECT_TRUE(std::all_of(blocks.begin(), blocks.end(), [&](void* p) { return pool->Owns(p); }));
  std::sort(blocks.begin(), blocks.end());
  EXPECT_EQ(std::adjacent_find(blocks.begin(), blocks.end()), blocks.end());
  void* spill = pool->Allocate(1);
  EXPECT_FALSE(pool->Owns(spill));
  pool->Free(spill);
  pool->Free(blocks[100]);
  EXPECT_EQ(pool->Allocate(16), blocks[100]);
  for (void* p : blocks) pool->Free(p);
  EXPECT_EQ(pool->FreeBlockCount(), SmallBlockPool::kBlockCount);
}

TEST(SmallBlockPool, ADoubleFreeLeavesTheFreeStackIntact) {
  auto pool = NewPool();
  void* a = pool->Allocate(8);
  void* b = pool->Allocate(8);
  pool->Free(a);
  pool->Free(a);
  pool->Free(nullptr);
  EXPECT_EQ(pool->FreeBlockCount(), SmallBlockPool::kBlockCount - 1);
  // Were the block on the stack twice, two live allocations would share it.
  void* c = pool->Allocate(8);
  void* d = pool->Allocate(8);
  EXPECT_NE(c, d);
  EXPECT_NE(c, b);
  EXPECT_NE(d, b);
  for (void* p : {b, c, d}) pool->Free(p);
  EXPECT_EQ(pool->FreeBlockCount(), SmallBlockPool::kBlockCount);
}

TEST(SmallBlockPool, ThreadsNeverShareABlock) {
  auto pool = NewPool();
  constexpr int kThreads = 6, kRounds = 2000, kHeld = 200;
  std::vector<std::thread> threads;
  std::vector<int> corrupted(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      std::vector<std::pair<unsigned char*, size_t>> held;
      for (int r = 0; r < kRounds; ++r) {
        size_t size = static_cast<size_t>((r * 7 + t) % 24);  // both sides of the 16-byte line
        auto* p = static_cast<unsigned char*>(pool->Allocate(size));
        std::memset(p, t + 1, size);
        held.emplace_back(p, size);
        if (held.size() > kHeld || r == kRounds - 1) {
          for (auto [q, n] : held) {
            // Every byte written must still be this thread's: a block handed out twice shows here.
            for (size_t i = 0; i < n; ++i) corrupted[t] += q[i] != t + 1;
            pool->Free(q);
          }
          held.clear();
        }
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(corrupted, std::vector<int>(kThreads, 0));
  EXPECT_EQ(pool->FreeBlockCount(), SmallBlockPool::kBlockCount);
}

// Takes small blocks until the pool sends one to malloc, gives them all back and returns how many
// it got; any block handed out twice fails the test. A block lost in a list nobody draws from
// shows as a shorter count than the free blocks the pool reports.
size_t TakeEveryFreeBlock(SmallBlockPool& pool) {
  std::vector<void*> blocks;
  blocks.reserve(SmallBlockPool::kBlockCount);
  for (;;) {
    void* p = pool.Allocate(16);
    if (!pool.Owns(p)) {
      pool.Free(p);
      break;
    }
    blocks.push_back(p);
  }
  EXPECT_EQ(pool.FreeBlockCount(), 0u);
  std::vector<void*> sorted = blocks;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
  for (void* p : blocks) pool.Free(p);
  return blocks.size();
}

void ExpectTheWholeArenaOnce(SmallBlockPool& pool) {
  EXPECT_EQ(TakeEveryFreeBlock(pool), SmallBlockPool::kBlockCount);
  EXPECT_EQ(pool.FreeBlockCount(), SmallBlockPool::kBlockCount);
}

TEST(SmallBlockPool, BlocksFreedOnAnotherThreadComeBackOnce) {
  auto pool = NewPool();
  // A producer hands its blocks to a consumer that frees them, round after round: the consumer's
  // list fills with blocks it never took and gives them back to the shared stack.
  constexpr int kRounds = 200, kPerRound = 300;
  std::vector<void*> handed[kRounds];
  std::thread producer([&] {
    for (auto& round : handed)
      for (int i = 0; i < kPerRound; ++i) {
        void* p = pool->Allocate(16);
        std::memset(p, 0x5A, 16);
        round.push_back(p);
      }
  });
  producer.join();
  size_t intact = 0;
  std::thread consumer([&] {
    for (auto& round : handed)
      for (void* p : round) {
        intact += static_cast<unsigned char*>(p)[15] == 0x5A;
        pool->Free(p);
      }
  });
  consumer.join();
  // The arena ran out after 4096; every block was written by its one holder.
  EXPECT_EQ(intact, size_t{kRounds} * kPerRound);
  EXPECT_EQ(pool->FreeBlockCount(), SmallBlockPool::kBlockCount);
  ExpectTheWholeArenaOnce(*pool);
}

TEST(SmallBlockPool, AThreadThatEndsGivesItsFreeBlocksBack) {
  auto pool = NewPool();
  std::thread([&] {
    std::vector<void*> held;
    for (int i = 0; i < 100; ++i) held.push_back(pool->Allocate(8));
    for (void* p : held) pool->Free(p);  // they stay in this thread's list until it ends
  }).join();
  ExpectTheWholeArenaOnce(*pool);
}

TEST(SmallBlockPool, APoolMadeWhereAnEarlierOneLayIsNotHandedTheEarlierOnesBlocks) {
  // This thread's list holds free blocks of the first pool when it goes; the second pool, at the
  // very same address, starts with its own full arena and nothing else.
  alignas(SmallBlockPool) static unsigned char storage[sizeof(SmallBlockPool)];
  auto* first = new (storage) SmallBlockPool;
  std::vector<void*> held;
  for (int i = 0; i < 50; ++i) held.push_back(first->Allocate(16));
  for (void* p : held) first->Free(p);
  first->~SmallBlockPool();
  auto* second = new (storage) SmallBlockPool;
  ExpectTheWholeArenaOnce(*second);
  second->~SmallBlockPool();
}

// The arena is small and the program's first small objects use it up: look while it still has room,
// at start-up.
struct StartUpAllocation {
  size_t freeBefore = GlobalSmallBlockPool().FreeBlockCount();
  std::unique_ptr<char> small = std::make_unique<char>('x');
  size_t freeAfter = GlobalSmallBlockPool().FreeBlockCount();
  bool pooled = GlobalSmallBlockPool().Owns(small.get());
};
const StartUpAllocation startUp;

TEST(SmallBlockPool, TheProgramsOperatorNewUsesThePoolOnlyWhenTheBuildSaysSo) {
  ASSERT_GT(startUp.freeBefore, 0u);
#ifdef VREL_SMALL_BLOCK_POOL
  EXPECT_TRUE(startUp.pooled);
  EXPECT_EQ(startUp.freeAfter, startUp.freeBefore - 1);
#else
  EXPECT_FALSE(startUp.pooled);
  EXPECT_EQ(startUp.freeAfter, startUp.freeBefore);
#endif
  auto large = std::make_unique<std::string>(std::string(100, 'y'));
  EXPECT_FALSE(GlobalSmallBlockPool().Owns(large.get()));
  EXPECT_FALSE(GlobalSmallBlockPool().Owns(large->data()));
}

TEST(SmallBlockPool, TheProgramsOperatorsServeThreadsThatFreeEachOthersObjects) {
#ifndef VREL_SMALL_BLOCK_POOL
  GTEST_SKIP() << "the operators are the system's in this build";
#endif
  // Four threads make small objects and pass every other one to their neighbour to delete; a
  // block handed to two holders at once shows as a changed value, a block lost on the way as a
  // pool that cannot hand out as many blocks as it had free before.
  constexpr int kThreads = 4, kRounds = 20000;
  std::vector<std::vector<uint64_t*>> passed(kThreads);
  std::vector<std::mutex> locks(kThreads);
  std::vector<int> corrupted(kThreads, 0);
  std::vector<std::thread> threads;
  threads.reserve(kThreads);
  const size_t freeBefore = GlobalSmallBlockPool().FreeBlockCount();
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      std::vector<uint64_t*> mine;
      for (int r = 0; r < kRounds; ++r) {
        auto* p = new uint64_t(uint64_t(t) << 32 | uint64_t(r));
        if (r % 2) {
          std::lock_guard lock(locks[(t + 1) % kThreads]);
          passed[(t + 1) % kThreads].push_back(p);
        } else {
          mine.push_back(p);
        }
        if (mine.size() > 64) {
          for (uint64_t* q : mine) {
            corrupted[t] += *q >> 32 != uint64_t(t);
            delete q;
          }
          mine.clear();
          std::lock_guard lock(locks[t]);
          for (uint64_t* q : passed[t]) {
            corrupted[t] += *q >> 32 != uint64_t((t + kThreads - 1) % kThreads);
            delete q;
          }
          passed[t].clear();
        }
      }
      for (uint64_t* q : mine) delete q;
    });
  }
  for (auto& th : threads) th.join();
  for (auto& list : passed) {
    for (uint64_t* q : list) delete q;
    std::vector<uint64_t*>().swap(list);
  }
  EXPECT_EQ(corrupted, std::vector<int>(kThreads, 0));
  EXPECT_EQ(GlobalSmallBlockPool().FreeBlockCount(), freeBefore);
  EXPECT_EQ(TakeEveryFreeBlock(GlobalSmallBlockPool()), freeBefore);
}

TEST(SmallBlockPool, TheThrowingFormsThrowAndTheNothrowFormsReturnNull) {
#ifndef VREL_SMALL_BLOCK_POOL
  GTEST_SKIP() << "the operators are the system's in this build";
#endif
  const size_t huge = static_cast<size_t>(-1) / 2;
  EXPECT_THROW((void)::operator new(huge), std::bad_alloc);
  EXPECT_THROW((void)::operator new[](huge), std::bad_alloc);
  EXPECT_EQ(::operator new(huge, std::nothrow), nullptr);
  EXPECT_EQ(::operator new[](huge, std::nothrow), nullptr);
  EXPECT_THROW((void)::operator new(huge, std::align_val_t{64}), std::bad_alloc);
  EXPECT_EQ(::operator new(huge, std::align_val_t{64}, std::nothrow), nullptr);

  void* zero = ::operator new(0);
  EXPECT_NE(zero, nullptr);
  ::operator delete(zero);
  void* aligned = ::operator new(100, std::align_val_t{256});
  EXPECT_EQ(reinterpret_cast<uintptr_t>(aligned) % 256, 0u);
  ::operator delete(aligned, std::align_val_t{256});
}

}  // namespace
