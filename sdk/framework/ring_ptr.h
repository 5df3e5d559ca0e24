// Shared-ownership pointers whose holders form a ring: copying a holder links it into the ring of
// its source; the last owning holder to let go deletes the object. A holder constructed without
// ownership (and every copy of it) never deletes. Not thread-safe: the holders of one ring are
// made and dropped on one thread at a time.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

class CRingPtrBase {
 public:
  virtual ~CRingPtrBase() = default;

  bool IsOwner() const { return m_next != nullptr; }

 protected:
  CRingPtrBase(void* object, bool owns) : m_object(object) {
    if (owns) m_next = m_prev = this;
  }
  CRingPtrBase(const CRingPtrBase& source) { Join(source); }
  CRingPtrBase& operator=(const CRingPtrBase&) = delete;

  // Links this (empty) holder into the source's ring, or holds the pointer unowned.
  void Join(const CRingPtrBase& source) {
    m_object = source.m_object;
    if (source.m_next) {
      auto& src = const_cast<CRingPtrBase&>(source);
      m_next = &src;
      m_prev = src.m_prev;
      src.m_prev->m_next = this;
      src.m_prev = this;
    } else {
      m_next = m_prev = nullptr;
    }
  }

  // Leaves the ring and empties the holder. Returns the object when this holder was its last owner
  // (the caller deletes it), else null.
  void* Leave() {
    void* toDelete = nullptr;
    if (m_next) {
      if (m_next == this) {
        toDelete = m_object;
      } else {
        m_next->m_prev = m_prev;
        m_prev->m_next = m_next;
      }
    }
    m_object = nullptr;
    m_next = m_prev = nullptr;
    return toDelete;
  }

  void* m_object = nullptr;
  CRingPtrBase* m_next = nullptr;
  CRingPtrBase* m_prev = nullptr;
};

// Frees a block that came from plain operator new (no destructor to run).
struct RingBlockDeleter {
  void operator()(void* p) const { ::operator delete(p); }
};

template <class T, class Deleter = std::default_delete<T>>
class CRingPtr : public CRingPtrBase {
 public:
  explicit CRingPtr(T* object = nullptr, bool owns = true) : CRingPtrBase(object, owns) {}
  CRingPtr(const CRingPtr& source) : CRingPtrBase(source) {}
  CRingPtr& operator=(const CRingPtr& source) {
    if (this != &source) {
      Release();
      Join(source);
    }
    return *this;
  }
  ~CRingPtr() override { CRingPtr::Release(); }

  // Drops this holder's share; the last owner deletes the object.
  virtual void Release() {
    if (void* p = Leave()) Deleter()(static_cast<T*>(p));
  }

  T* Get() const { return static_cast<T*>(m_object); }
  T* operator->() const { return Get(); }
  std::add_lvalue_reference_t<T> operator*() const { return *Get(); }
  explicit operator bool() const { return m_object != nullptr; }
};

// A block from operator new without a destructor.
using CRingBlockPtr = CRingPtr<void, RingBlockDeleter>;

// A shared vector of strings.
using CStringVectorPtr = CRingPtr<std::vector<std::string>>;

// A byte buffer from operator new with its size in bytes.
class CRingArrayPtr : public CRingPtrBase {
 public:
  CRingArrayPtr() : CRingPtrBase(nullptr, false) {}
  // Allocates size bytes (owned).
  explicit CRingArrayPtr(size_t size) : CRingPtrBase(size ? ::operator new(size) : nullptr, true), m_size(size) {}
  CRingArrayPtr(void* block, size_t size, bool owns) : CRingPtrBase(block, owns), m_size(size) {}
  CRingArrayPtr(const CRingArrayPtr& source) : CRingPtrBase(source), m_size(source.m_size) {}
  CRingArrayPtr& operator=(const CRingArrayPtr& source) {
    if (this != &source) {
      Release();
      Join(source);
      m_size = source.m_size;
    }
    return *this;
  }
  ~CRingArrayPtr() override { Release(); }

  void Release() {
    if (void* p = Leave()) ::operator delete(p);
    m_size = 0;
  }

  unsigned char* Get() const { return static_cast<unsigned char*>(m_object); }
  size_t Size() const { return m_size; }

 private:
  size_t m_size = 0;
};
