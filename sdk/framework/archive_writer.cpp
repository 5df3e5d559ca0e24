#include "sdk/framework/archive_writer.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unordered_set>

#include "platform/path.h"
#include "sdk/framework/lzss_encoder.h"
#include "sdk/framework/path_functions.h"
#include "sdk/framework/scramble.h"

namespace {

void PutLe32(std::vector<unsigned char>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace

bool BuildPackedArchive(std::span<const PackInput> files, const PackOptions& options, std::vector<unsigned char>& out,
                        std::string& error) {
  const ArchiveFormat& format = FormatOf(options.kind);
  const bool compress = options.compress && format.hasPackedSize;
  std::unordered_set<std::string> seen;
  for (const PackInput& f : files) {
    if (f.name.empty() || f.name.size() >= format.nameSize || f.name.find('\0') != std::string::npos) {
      error = "name does not fit the archive's name field: " + f.name;
      return false;
    }
    std::string lower = f.name;
    ToLowerSJIS(lower);
    if (!seen.insert(lower).second) {
      error = "name given twice: " + f.name;
      return false;
    }
  }
  const uint64_t tableEnd = kArchiveHeaderSize + uint64_t{format.entrySize} * files.size();
  if (tableEnd > UINT32_MAX) {
    error = "too many files";
    return false;
  }
  std::vector<unsigned char> image(static_cast<size_t>(tableEnd), 0);
  std::copy(format.magic.begin(), format.magic.end(), image.begin());
  PutLe32(image, 8, static_cast<uint32_t>(files.size()));
  for (size_t i = 0; i < files.size(); ++i) {
    const PackInput& f = files[i];
    // The reader unscrambles every entry that begins with the magic, as it does a loose file, so a
    // file that begins with it is stored as it is: packed, it reads as it did loose.
    const bool scramble = options.scramble && !IsAlreadyScrambled(f);
    std::vector<unsigned char> plain = scramble ? ScrambledFile(f.data) : f.data;
    if (plain.size() > UINT32_MAX) {
      error = "file too large: " + f.name;
      return false;
    }
    std::vector<unsigned char> stored;
    // Packed data as long as the file would be read as stored data: keep such a file stored.
    if (compress && !plain.empty()) {
      stored = LzssEncode(plain);
      if (stored.size() >= plain.size()) stored.clear();
    }
    const bool packed = !stored.empty();
    const std::vector<unsigned char>& bytes = packed ? stored : plain;
    if (image.size() + bytes.size() > UINT32_MAX) {
      error = "archive larger than 4 GiB";
      return false;
    }
    const size_t field = kArchiveHeaderSize + i * format.entrySize;
    std::copy(f.name.begin(), f.name.end(), image.begin() + static_cast<std::ptrdiff_t>(field));
    const size_t numbers = field + format.nameSize;
    PutLe32(image, numbers, static_cast<uint32_t>(image.size()));
    PutLe32(image, numbers + 4, static_cast<uint32_t>(plain.size()));
    if (format.hasPackedSize) PutLe32(image, numbers + 8, static_cast<uint32_t>(bytes.size()));
    image.insert(image.end(), bytes.begin(), bytes.end());
  }
  out = std::move(image);
  return true;
}

bool IsAlreadyScrambled(const PackInput& file) { return HasScrambleMagic(file.data); }

bool CollectPackInputs(const std::string& folder, std::vector<PackInput>& files, std::string& error) {
  namespace fs = std::filesystem;
  const fs::path root(platform::ResolveHostPath(CanonicalizePath(folder)));
  std::error_code ec;
  std::vector<PackInput> found;
  for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    const std::string relative = it->path().lexically_relative(root).generic_string();
    std::string name;
    if (!platform::ProgramPathFromHost(relative, name)) {
      error = "name not representable in Shift-JIS: " + relative;
      return false;
    }
    std::ifstream in(it->path(), std::ios::binary);
    PackInput input{std::move(name), {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}};
    if (!in.good() && !in.eof()) {
      error = "cannot read " + it->path().string();
      return false;
    }
    found.push_back(std::move(input));
  }
  if (ec) {
    error = "cannot read folder " + root.string() + ": " + ec.message();
    return false;
  }
  std::sort(found.begin(), found.end(), [](const PackInput& a, const PackInput& b) { return a.name < b.name; });
  files = std::move(found);
  return true;
}
