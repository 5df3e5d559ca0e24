// Objects made by the million, cut from blocks rather than one heap allocation apiece: loading a
// large file makes millions of lines (CDocLine) and buffers (CMemory), and wrapping it about as
// many display lines; one allocation each would cost more than reading and splitting the file. A
// replace-all makes undo records (COpeRecord) by the hundred thousand.
// Under AddressSanitizer every object is its own allocation, so that a use after free is caught.
#pragma once

#include <cstddef>
#include <vector>

// Places of one size, cut from blocks; a freed place is kept for the next. Not thread-safe.
class CObjectBlocks {
 public:
  CObjectBlocks(size_t nObjectSize, size_t nPerBlock);
  ~CObjectBlocks() { FreeAll(); }
  CObjectBlocks(const CObjectBlocks&) = delete;
  CObjectBlocks& operator=(const CObjectBlocks&) = delete;

  // A place of nObjectSize bytes where any type may start.
  void* Take();
  void Give(void* p) noexcept;
  // Frees every place at once (false under AddressSanitizer: each must be given back itself).
  bool FreeAll() noexcept;

 private:
  size_t m_nSlot;
  size_t m_nPerBlock;
  void* m_pFree = nullptr;  // given-back places, each holding the next one's address
  size_t m_nUsed;           // places cut from the last block
  std::vector<char*> m_blocks;
};

enum class ObjectKind { kDocLine, kMemory, kOpeRecord, kCount };

// For the class-specific operator new and delete of the kind's class, whose objects all have
// nObjectSize bytes; a request of another size (a derived class) goes to the heap. The places are
// shared by every thread, and their blocks stay until the process ends.
void* AllocateObject(ObjectKind kind, size_t nObjectSize, size_t nRequested);
void FreeObject(ObjectKind kind, size_t nObjectSize, void* p, size_t nRequested) noexcept;
