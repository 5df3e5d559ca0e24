// Linked into executables only (and only when the build asks for the pool): the program's global
// allocation operators, served by the small-block pool. Over-aligned requests go straight to the
// system's aligned allocator, which the pool cannot serve.
#include <cstdlib>
#include <new>

#include "sdk/framework/small_block_pool.h"

namespace {

void* AllocateOrThrow(std::size_t size) {
  for (;;) {
    if (void* p = GlobalSmallBlockPool().Allocate(size)) return p;
    std::new_handler handler = std::get_new_handler();
    if (!handler) throw std::bad_alloc();
    handler();
  }
}

void* AllocateOrNull(std::size_t size) noexcept {
  try {
    return AllocateOrThrow(size);
  } catch (...) {
    return nullptr;
  }
}

void* AllocateAlignedOrThrow(std::size_t size, std::align_val_t alignment) {
  std::size_t align = static_cast<std::size_t>(alignment);
  if (align < sizeof(void*)) align = sizeof(void*);
  for (;;) {
    void* p = nullptr;
    if (posix_memalign(&p, align, size ? size : 1) == 0) return p;
    std::new_handler handler = std::get_new_handler();
    if (!handler) throw std::bad_alloc();
    handler();
  }
}

void* AllocateAlignedOrNull(std::size_t size, std::align_val_t alignment) noexcept {
  try {
    return AllocateAlignedOrThrow(size, alignment);
  } catch (...) {
    return nullptr;
  }
}

void Release(void* p) noexcept { GlobalSmallBlockPool().Free(p); }

}  // namespace

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size); }

void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }

void* operator new(std::size_t size, std::align_val_t a) { return AllocateAlignedOrThrow(size, a); }
void* operator new[](std::size_t size, std::align_val_t a) { return AllocateAlignedOrThrow(size, a); }
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return AllocateAlignedOrNull(size, a);
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return AllocateAlignedOrNull(size, a);
}

void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
