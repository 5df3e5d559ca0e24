#include "editor/foundation/text/object_blocks.h"

#include <cstdlib>
#include <mutex>
#include <new>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define VREL_OBJECT_BLOCKS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VREL_OBJECT_BLOCKS 0
#endif
#endif
#ifndef VREL_OBJECT_BLOCKS
#define VREL_OBJECT_BLOCKS 1
#endif

namespace {

constexpr size_t kPerBlock = 4096;

struct Kind {
  void* free = nullptr;     // freed objects, each holding the next one's address
  char* block = nullptr;    // the block being cut
  size_t used = kPerBlock;  // objects cut from it
  std::vector<char*> blocks;
};

struct State {
  std::mutex mutex;
  Kind kinds[static_cast<int>(ObjectKind::kCount)];
};

// Never destroyed: objects may still be freed while the process ends.
State& TheState() {
  static State* const state = new State;
  return *state;
}

// Every object starts where any type may.
constexpr size_t Slot(size_t size) {
  return (size + alignof(std::max_align_t) - 1) / alignof(std::max_align_t) * alignof(std::max_align_t);
}

}  // namespace

void* AllocateObject(ObjectKind kind, size_t nObjectSize, size_t nRequested) {
  if (!VREL_OBJECT_BLOCKS || nRequested != nObjectSize) return ::operator new(nRequested);
  State& s = TheState();
  std::lock_guard lock(s.mutex);
  Kind& k = s.kinds[static_cast<int>(kind)];
  if (void* p = k.free) {
    k.free = *static_cast<void**>(p);
    return p;
  }
  if (k.used == kPerBlock) {
    k.blocks.reserve(k.blocks.size() + 1);
    char* block = static_cast<char*>(std::malloc(Slot(nObjectSize) * kPerBlock));
    if (!block) throw std::bad_alloc();
    k.blocks.push_back(block);
    k.block = block;
    k.used = 0;
  }
  return k.block + Slot(nObjectSize) * k.used++;
}

void FreeObject(ObjectKind kind, size_t nObjectSize, void* p, size_t nRequested) noexcept {
  if (!p) return;
  if (!VREL_OBJECT_BLOCKS || nRequested != nObjectSize) {
    ::operator delete(p);
    return;
  }
  State& s = TheState();
  std::lock_guard lock(s.mutex);
  Kind& k = s.kinds[static_cast<int>(kind)];
  *static_cast<void**>(p) = k.free;
  k.free = p;
}
