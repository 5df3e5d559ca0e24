#include "sdk/framework/packed_archive.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "sdk/framework/little_endian.h"
#include "sdk/framework/lzss_decoder.h"
#include "sdk/framework/path_functions.h"

namespace {

// What is known of one archive's entry table.
struct ArchiveIndex {
  bool valid = false;
  const ArchiveFormat* format = nullptr;
  uint64_t count = 0;  // whole entries in the file, at most the declared count
  uint64_t archiveSize = 0;
  // A declared table longer than the archive is damaged: rather than holding whatever its count
  // makes of the data, such a table is searched entry by entry for each name, as far as it goes.
  bool searchEachTime = false;
  // By lower-cased name; the first entry of a name wins.
  std::unordered_map<std::string, ArchiveEntry> entries;
};

ArchiveEntry CheckedEntry(const ArchiveFormat& format, const unsigned char* field, uint64_t archiveSize) {
  const unsigned char* numbers = field + format.nameSize;
  ArchiveEntry e;
  e.offset = LoadLe32(numbers);
  e.size = LoadLe32(numbers + 4);
  e.storedSize = format.hasPackedSize ? LoadLe32(numbers + 8) : e.size;
  e.packed = e.storedSize != e.size;
  const bool inside = uint64_t{e.offset} + e.storedSize <= archiveSize;
  const bool plausible = !e.packed || (e.storedSize > 0 && CLzssDecoder::CanUnpackTo(e.storedSize, e.size));
  e.readable = inside && plausible;
  return e;
}

// Calls visit(lower-cased name, entry) for each entry of the table in file order, reading it in
// pieces; a name without its terminator names nothing and is passed over. Stops when visit returns
// false. False when a read fails.
template <class Visit>
bool ForEachEntry(const platform::ReadOnlyFile& file, const ArchiveIndex& index, Visit visit) {
  constexpr uint64_t kEntriesPerPiece = 256;
  const ArchiveFormat& format = *index.format;
  std::vector<unsigned char> piece;
  for (uint64_t first = 0; first < index.count; first += kEntriesPerPiece) {
    const uint64_t n = std::min(kEntriesPerPiece, index.count - first);
    piece.resize(static_cast<size_t>(n * format.entrySize));
    if (!file.ReadAt(kArchiveHeaderSize + first * format.entrySize, piece)) return false;
    for (uint64_t i = 0; i < n; ++i) {
      const unsigned char* field = piece.data() + i * format.entrySize;
      const void* end = std::memchr(field, 0, format.nameSize);
      if (!end) continue;
      std::string name(reinterpret_cast<const char*>(field), static_cast<const unsigned char*>(end) - field);
      ToLowerSJIS(name);
      if (!visit(std::move(name), CheckedEntry(format, field, index.archiveSize))) return true;
    }
  }
  return true;
}

std::shared_ptr<const ArchiveIndex> ReadIndex(const platform::ReadOnlyFile& file, uint64_t archiveSize) {
  auto index = std::make_shared<ArchiveIndex>();
  unsigned char header[kArchiveHeaderSize];
  if (!file.ReadAt(0, header)) return index;
  for (const ArchiveFormat& f : kArchiveFormats) {
    if (std::string_view(reinterpret_cast<const char*>(header), 8) == f.magic) index->format = &f;
  }
  const uint32_t declared = LoadLe32(header + 8);
  if (!index->format || declared == 0) return index;
  const uint64_t whole = (archiveSize - kArchiveHeaderSize) / index->format->entrySize;
  index->count = std::min<uint64_t>(declared, whole);
  index->archiveSize = archiveSize;
  index->searchEachTime = declared > whole;
  if (!index->searchEachTime) {
    index->entries.reserve(static_cast<size_t>(index->count));
    const bool read = ForEachEntry(file, *index, [&](std::string name, const ArchiveEntry& e) {
      index->entries.try_emplace(std::move(name), e);
      return true;
    });
    if (!read) return std::make_shared<ArchiveIndex>();
  }
  index->valid = true;
  return index;
}

bool Lookup(const platform::ReadOnlyFile& file, const ArchiveIndex& index, const std::string& name,
            ArchiveEntry& entry) {
  if (!index.searchEachTime) {
    auto it = index.entries.find(name);
    if (it == index.entries.end()) return false;
    entry = it->second;
    return true;
  }
  bool found = false;
  // A failed read of the table ends the search in this archive, found or not.
  ForEachEntry(file, index, [&](const std::string& candidate, const ArchiveEntry& e) {
    if (candidate != name) return true;
    entry = e;
    found = true;
    return false;
  });
  return found;
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
    ArchiveEntry found;
    if (!Lookup(archive, *index, entry, found)) continue;
    hit.archive = std::move(archive);
    hit.entry = found;
    return true;
  }
}

void ForgetArchiveIndexes() { Indexes().Clear(); }
