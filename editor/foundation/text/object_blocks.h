// Where the objects a document has one of per line come from: a line (CDocLine) and the buffer
// object that holds its text (CMemory). Loading a large file makes millions of each, and one heap
// allocation apiece costs more than reading and splitting the whole file; here they are cut from
// blocks of 4096, and a freed one is kept for the next. Blocks stay until the process ends.
// Under AddressSanitizer every object is its own allocation, so that a use after free is caught.
#pragma once

#include <cstddef>

enum class ObjectKind { kDocLine, kMemory, kCount };

// For the class-specific operator new and delete of the kind's class, whose objects all have
// nObjectSize bytes; a request of another size (a derived class) goes to the heap.
void* AllocateObject(ObjectKind kind, size_t nObjectSize, size_t nRequested);
void FreeObject(ObjectKind kind, size_t nObjectSize, void* p, size_t nRequested) noexcept;
