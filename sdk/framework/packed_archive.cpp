#include "sdk/framework/packed_archive.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "sdk/framework/path_functions.h"

namespace {

uint32_t Le32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

// LZSS turns at most 17 packed bytes (one flag byte, eight 2-byte references) into 144 bytes, so
// a file more than 9 times its packed size cannot be packed data.
constexpr uint64_t kMaxPackingRatio = 9;

// The entry table of one archive, by lower-cased name; the first entry of a name wins.
struct ArchiveIndex {
  bool valid = false;
  std::unordered_map<std::string, ArchiveEntry> entries;
};

ArchiveEntry CheckedEntry(const ArchiveFormat& format, const unsigned char* field, uint64_t archiveSize) {
  const unsigned char* numbers = field + format.nameSize;
  ArchiveEntry e;
  e.offset = Le32(numbers);
  e.size = Le32(numbers + 4);
  e.storedSize = format.hasPackedSize ? Le32(numbers + 8) : e.size;
  e.packed = e.storedSize != e.size;
  const bool inside = uint64_t{e.offset} + e.storedSize <= archiveSize;
  const bool plausible = !e.packed || (e.storedSize > 0 && e.size <= kMaxPackingRatio * e.storedSize);
  e.readable = inside && plausible;
  return e;
}

std::shared_ptr<const ArchiveIndex> ReadIndex(const platform::ReadOnlyFile& file, uint64_t archiveSize) {
  auto index = std::make_shared<ArchiveIndex>();
  unsigned char header[kArchiveHeaderSize];
  if (!file.ReadAt(0, header)) return index;
  const ArchiveFormat* format = nullptr;
  for (const ArchiveFormat& f : kArchiveFormats) {
    if (std::string_view(reinterpret_cast<const char*>(header), 8) == f.magic) format = &f;
  }
  if (!format) return index;
  const uint32_t count = Le32(header + 8);
  if (count == 0) return index;
  // Only whole entries are read; a table cut short by the end of the file ends there.
  const uint64_t available = (archiveSize - kArchiveHeaderSize) / format->entrySize;
  const uint64_t readable = std::min<uint64_t>(count, available);
  std::vector<unsigned char> table(static_cast<size_t>(readable * format->entrySize));
  if (!table.empty() && !file.ReadAt(kArchiveHeaderSize, table)) return index;
  index->entries.reserve(static_cast<size_t>(readable));
  for (uint64_t i = 0; i < readable; ++i) {
    const unsigned char* field = table.data() + i * format->entrySize;
    const void* end = std::memchr(field, 0, format->nameSize);
    if (!end) continue;  // a name without its terminator names nothing
    std::string name(reinterpret_cast<const char*>(field), static_cast<const unsigned char*>(end) - field);
    ToLowerSJIS(name);
    index->entries.try_emplace(std::move(name), CheckedEntry(*format, field, archiveSize));
  }
  index->valid = true;
  return index;
}

// Entry tables of the archives read lately, kept while the archive file is unchanged.
class IndexCache {
 public:
  std::shared_ptr<const ArchiveIndex> Get(const std::string& path, const platform::ReadOnlyFile& file) {
    platform::FileStamp stamp;
    if (!file.Stamp(stamp) || stamp.size < kArchiveHeaderSize) return nullptr;
    {
      std::lock_guard lock(m_mutex);
      auto it = m_indexes.find(path);
      if (it != m_indexes.end() && it->second.stamp == stamp) return it->second.index;
    }
    std::shared_ptr<const ArchiveIndex> index = ReadIndex(file, stamp.size);
    std::lock_guard lock(m_mutex);
    if (m_indexes.size() >= kMaxArchives) m_indexes.clear();
    m_indexes[path] = Cached{stamp, index};
    return index;
  }

  void Clear() {
    std::lock_guard lock(m_mutex);
    m_indexes.clear();
  }

 private:
  static constexpr size_t kMaxArchives = 64;
  struct Cached {
    platform::FileStamp stamp;
    std::shared_ptr<const ArchiveIndex> index;
  };
  std::mutex m_mutex;
  std::unordered_map<std::string, Cached> m_indexes;
};

IndexCache& Indexes() {
  static IndexCache cache;
  return cache;
}

}  // namespace

const ArchiveFormat& FormatOf(ArchiveKind kind) {
  for (const ArchiveFormat& f : kArchiveFormats) {
    if (f.kind == kind) return f;
  }
  return kArchiveFormats[0];
}

bool FindInPackedArchives(const std::string& canonicalPath, ArchiveHit& hit) {
  std::string dir = canonicalPath;
  for (;;) {
    GetParentDir(dir);
    std::string up = dir;
    GetParentDir(up);
    if (up == dir) return false;
    if (dir.size() > canonicalPath.size() || canonicalPath.compare(0, dir.size(), dir) != 0) return false;
    std::string entry = canonicalPath.substr(dir.size());
    ToLowerSJIS(entry);
    dir.back() = '.';
    dir += "dat";
    platform::ReadOnlyFile archive;
    if (!archive.Open(dir)) continue;
    std::shared_ptr<const ArchiveIndex> index = Indexes().Get(dir, archive);
    if (!index || !index->valid) continue;
    auto it = index->entries.find(entry);
    if (it == index->entries.end()) continue;
    hit.archive = std::move(archive);
    hit.entry = it->second;
    return true;
  }
}

void ForgetArchiveIndexes() { Indexes().Clear(); }
