#include "editor/foundation/text/object_blocks.h"

#include <cstdlib>
#include <mutex>
#include <new>

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

// Every place starts where any type may, and can hold the free list's link.
constexpr size_t Slot(size_t size) {
  if (size < sizeof(void*)) size = sizeof(void*);
  return (size + alignof(std::max_align_t) - 1) / alignof(std::max_align_t) * alignof(std::max_align_t);
}

}  // namespace

CObjectBlocks::CObjectBlocks(size_t nObjectSize, size_t nPerBlock)
    : m_nSlot(Slot(nObjectSize)), m_nPerBlock(nPerBlock), m_nUsed(nPerBlock) {}

void* CObjectBlocks::Take() {
  if (!VREL_OBJECT_BLOCKS) return ::operator new(m_nSlot);
  if (void* p = m_pFree) {
    m_pFree = *static_cast<void**>(p);
    // Places given back in another order than they were cut lie anywhere: the next one is asked
    // for now, so that a run of takes does not wait on memory at each.
    __builtin_prefetch(m_pFree);
    return p;
  }
  if (m_nUsed == m_nPerBlock) {
    m_blocks.reserve(m_blocks.size() + 1);
    char* block = static_cast<char*>(std::malloc(m_nSlot * m_nPerBlock));
    if (!block) throw std::bad_alloc();
    m_blocks.push_back(block);
    m_nUsed = 0;
  }
  return m_blocks.back() + m_nSlot * m_nUsed++;
}

void CObjectBlocks::Give(void* p) noexcept {
  if (!VREL_OBJECT_BLOCKS) {
    ::operator delete(p);
    return;
  }
  *static_cast<void**>(p) = m_pFree;
  m_pFree = p;
}

bool CObjectBlocks::FreeAll() noexcept {
  if (!VREL_OBJECT_BLOCKS) return false;
  for (char* block : m_blocks) std::free(block);
  m_blocks.clear();
  m_nUsed = m_nPerBlock;
  m_pFree = nullptr;
  return true;
}

namespace {

constexpr size_t kPerBlock = 4096;

struct State {
  std::mutex mutex;
  CObjectBlocks* kinds[static_cast<int>(ObjectKind::kCount)] = {};
};

// Never destroyed: objects may still be freed while the process ends.
State& TheState() {
  static State* const state = new State;
  return *state;
}

}  // namespace

void* AllocateObject(ObjectKind kind, size_t nObjectSize, size_t nRequested) {
  if (!VREL_OBJECT_BLOCKS || nRequested != nObjectSize) return ::operator new(nRequested);
  State& s = TheState();
  std::lock_guard lock(s.mutex);
  CObjectBlocks*& k = s.kinds[static_cast<int>(kind)];
  if (!k) k = new CObjectBlocks(nObjectSize, kPerBlock);
  return k->Take();
}

void FreeObject(ObjectKind kind, size_t nObjectSize, void* p, size_t nRequested) noexcept {
  if (!p) return;
  if (!VREL_OBJECT_BLOCKS || nRequested != nObjectSize) {
    ::operator delete(p);
    return;
  }
  State& s = TheState();
  std::lock_guard lock(s.mutex);
  s.kinds[static_cast<int>(kind)]->Give(p);
}
