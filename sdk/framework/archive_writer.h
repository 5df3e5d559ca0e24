// Writing packed archives and scrambled files: the packer's logic, used by the packing tool, the
// tests' fixtures and the demo game's data.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "sdk/framework/packed_archive.h"

struct PackInput {
  std::string name;  // path below the archive's folder, Shift-JIS, "\" between levels
  std::vector<unsigned char> data;
};

struct PackOptions {
  ArchiveKind kind = ArchiveKind::kPackDx;
  bool compress = true;  // LZSS-pack every entry that gets smaller (never in the plain kind)
  // Store every file in its scrambled form. A file that is already scrambled (it begins with the
  // scramble magic) is stored as it is in any case: the game reads it unscrambled, packed or loose.
  bool scramble = false;
};

// Builds an archive image holding the files in the given order. False, with a reason in error,
// when a name is empty, too long for the kind's name field, given twice (names compare without
// ASCII case), or the archive would exceed the 32-bit offsets.
bool BuildPackedArchive(std::span<const PackInput> files, const PackOptions& options, std::vector<unsigned char>& out,
                        std::string& error);

// The file begins with the scramble magic: the packer stores it as it is.
bool IsAlreadyScrambled(const PackInput& file);

// Every regular file below a folder (program path), named relative to it with "\" between levels,
// in byte order of the names. False, with a reason, when the folder cannot be read or a name
// cannot be spelt in Shift-JIS.
bool CollectPackInputs(const std::string& folder, std::vector<PackInput>& files, std::string& error);
