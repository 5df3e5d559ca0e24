// The small-block pool against the C library's allocator, for the sizes the pool serves: one block
// taken and given back, a batch of blocks held at once (list nodes, string representations), and
// one block at a time on four threads. The goal is the C library's time or less in every case.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "sdk/framework/small_block_pool.h"

namespace {

void BM_PoolOne(benchmark::State& state) {
  auto pool = std::make_unique<SmallBlockPool>();
  for (auto _ : state) {
    void* p = pool->Allocate(16);
    benchmark::DoNotOptimize(p);
    pool->Free(p);
  }
}
BENCHMARK(BM_PoolOne);

void BM_MallocOne(benchmark::State& state) {
  for (auto _ : state) {
    void* p = std::malloc(16);
    benchmark::DoNotOptimize(p);
    std::free(p);
  }
}
BENCHMARK(BM_MallocOne);

void BM_PoolBatch(benchmark::State& state) {
  auto pool = std::make_unique<SmallBlockPool>();
  std::vector<void*> held(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    for (auto& p : held) p = pool->Allocate(12);
    benchmark::DoNotOptimize(held.data());
    for (void* p : held) pool->Free(p);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PoolBatch)->Arg(1000);

void BM_MallocBatch(benchmark::State& state) {
  std::vector<void*> held(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    for (auto& p : held) p = std::malloc(12);
    benchmark::DoNotOptimize(held.data());
    for (void* p : held) std::free(p);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MallocBatch)->Arg(1000);

// Four threads sharing the one pool: each takes and gives back through its own list.
void BM_PoolShared(benchmark::State& state) {
  static SmallBlockPool* shared = new SmallBlockPool;  // lives for the whole run
  for (auto _ : state) {
    void* p = shared->Allocate(16);
    benchmark::DoNotOptimize(p);
    shared->Free(p);
  }
}
BENCHMARK(BM_PoolShared)->Threads(4);

void BM_MallocShared(benchmark::State& state) {
  for (auto _ : state) {
    void* p = std::malloc(16);
    benchmark::DoNotOptimize(p);
    std::free(p);
  }
}
BENCHMARK(BM_MallocShared)->Threads(4);

}  // namespace

BENCHMARK_MAIN();
