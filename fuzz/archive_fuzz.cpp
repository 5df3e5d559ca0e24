// A packed archive of any kind ("quibpack", "quibpkEx", "quibpkDx"; entries stored, LZSS-packed or
// scrambled) as data.dat in the target's folder, each entry its table names read through
// CFileBuffer as data\<name>, as the game reads a file that is not there as a plain file.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/framework/little_endian.h"
#include "sdk/framework/packed_archive.h"

namespace {

// Entries read per input; the archive may declare more, which the reader still indexes.
constexpr uint32_t kMaxReads = 64;

void ReadEntry(const std::string& name) {
  CFileBuffer file;
  if (file.Read(name) != kReadOk) return;
  // Every byte the buffer claims must be there.
  const unsigned char* data = file.GetData();
  unsigned sum = 0;
  for (uint32_t i = 0; i < file.GetSize(); ++i) sum += data[i];
  volatile unsigned keep = sum;
  (void)keep;
  std::string line;
  while (file.ReadLine(line) == 0) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Environment();
  fuzz::WriteFile("data.dat", {data, size});
  ForgetArchiveIndexes();
  // The names the table holds, found the way the reader lays it out.
  const ArchiveFormat* format = nullptr;
  if (size >= kArchiveHeaderSize) {
    for (const ArchiveFormat& f : kArchiveFormats) {
      if (std::memcmp(data, f.magic.data(), 8) == 0) format = &f;
    }
  }
  uint32_t reads = 0;
  if (format) {
    const uint64_t whole = (size - kArchiveHeaderSize) / format->entrySize;
    const uint64_t count = std::min<uint64_t>({LoadLe32(data + 8), whole, kMaxReads});
    for (uint64_t i = 0; i < count; ++i) {
      const char* field = reinterpret_cast<const char*>(data + kArchiveHeaderSize + i * format->entrySize);
      const std::string name(field, strnlen(field, format->nameSize));
      ReadEntry("data\\" + name);
      ++reads;
    }
  }
  // And a name no table holds.
  ReadEntry("data\\missing.bin");
  return 0;
}
