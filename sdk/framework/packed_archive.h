// Packed archives: a file "<folder>.dat" beside a folder holds files from below that folder.
//
// Layout (numbers little-endian, unsigned 32-bit): an 8-byte magic, the entry count, then the
// entries back to back; file data anywhere after, found through the entries' offsets (from the
// start of the archive). An entry is a zero-terminated name field (the file's path below the
// folder, "\" between levels), the offset and the size; the Ex and Dx kinds add the packed size,
// which differs from the size when the data is LZSS-packed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file.h"

enum class ArchiveKind {
  kPack,    // "quibpack": 32-byte names, stored data only
  kPackEx,  // "quibpkEx": 32-byte names, stored or packed
  kPackDx,  // "quibpkDx": 256-byte names, stored or packed
};

struct ArchiveFormat {
  ArchiveKind kind;
  std::string_view magic;  // 8 bytes, no terminator on disk
  uint32_t entrySize;
  uint32_t nameSize;
  bool hasPackedSize;
};

inline constexpr uint32_t kArchiveHeaderSize = 12;
inline constexpr ArchiveFormat kArchiveFormats[] = {
    {ArchiveKind::kPack, "quibpack", 40, 32, false},
    {ArchiveKind::kPackEx, "quibpkEx", 44, 32, true},
    {ArchiveKind::kPackDx, "quibpkDx", 268, 256, true},
};

const ArchiveFormat& FormatOf(ArchiveKind kind);

// One entry, checked against the archive it came from.
struct ArchiveEntry {
  uint32_t offset = 0;
  uint32_t size = 0;        // of the file
  uint32_t storedSize = 0;  // bytes in the archive: size, or the packed size
  bool packed = false;
  // False when the entry's data lies beyond the end of the archive or its size cannot come from
  // its packed size: reading it fails before anything is allocated.
  bool readable = false;
};

// Where a file was found: its archive, still open, and its entry.
struct ArchiveHit {
  platform::ReadOnlyFile archive;
  ArchiveEntry entry;
};

// Looks for a file (canonical path) in the archives of its ancestor folders, innermost first:
// for \g\data\img\a.png that is \g\data\img.dat with entry a.png, then \g\data.dat with
// img\a.png, then \g.dat with data\img\a.png. Entry names compare without the case of ASCII
// letters. A missing or damaged archive is passed over. A folder at a root has no archive.
bool FindInPackedArchives(const std::string& canonicalPath, ArchiveHit& hit);

// Forgets the remembered entry tables of archives.
void ForgetArchiveIndexes();
