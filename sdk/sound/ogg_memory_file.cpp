#include "sdk/sound/ogg_memory_file.h"

#include <algorithm>
#include <cstring>

#include "sdk/framework/file_buffer.h"

bool COggMemoryFile::Assign(const unsigned char* bytes, size_t count) {
  if (count > INT32_MAX) return false;
  unsigned char* block = static_cast<unsigned char*>(std::malloc(count ? count : 1));
  if (!block) return false;
  if (count) std::memcpy(block, bytes, count);
  data.reset(block);
  state = 0;
  baseOffset = 0;
  size = static_cast<int32_t>(count);
  position = 0;
  return true;
}

bool COggMemoryFile::Load(const std::string& name) {
  CFileBuffer file;
  if (file.Read(name) != kReadOk || !file.GetData()) return false;
  return Assign(file.GetData(), file.GetSize());
}

void COggMemoryFile::Clear() {
  data.reset();
  state = -1;
  baseOffset = size = position = 0;
}

size_t OggMemRead(void* dst, size_t size, size_t count, void* file) {
  auto* f = static_cast<COggMemoryFile*>(file);
  if (!f->data || f->position < 0 || f->position >= f->size) return 0;
  size_t n = 0;
  if (__builtin_mul_overflow(size, count, &n)) n = SIZE_MAX;
  n = std::min(n, static_cast<size_t>(f->size - f->position));
  std::memcpy(dst, f->data.get() + f->position, n);
  f->position += static_cast<int32_t>(n);
  return n;
}

int OggMemSeek(void* file, ogg_int64_t offset, int origin) {
  auto* f = static_cast<COggMemoryFile*>(file);
  int64_t base;
  switch (origin) {
    case SEEK_SET:
      base = f->baseOffset;
      break;
    case SEEK_CUR:
      base = f->position;
      break;
    case SEEK_END:
      base = int64_t{f->size} + f->baseOffset;
      break;
    default:
      return -1;
  }
  // Only the low 32 bits of the offset count, as the stored positions are 32-bit; a position
  // before the block would make the next read copy from outside it.
  const int64_t to = base + static_cast<int32_t>(static_cast<uint32_t>(offset));
  if (to < 0 || to > INT32_MAX) return -1;
  f->position = static_cast<int32_t>(to);
  return 0;
}

int OggMemClose(void* file) {
  static_cast<COggMemoryFile*>(file)->Clear();
  return -1;
}

long OggMemTell(void* file) {
  auto* f = static_cast<COggMemoryFile*>(file);
  return static_cast<long>(f->position) - f->baseOffset;
}

ov_callbacks OggMemCallbacks() { return ov_callbacks{OggMemRead, OggMemSeek, OggMemClose, OggMemTell}; }
