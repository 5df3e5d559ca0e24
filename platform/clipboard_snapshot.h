// A copy of what the clipboard holds, one entry per MIME type, and its form for travelling to
// another process.
//
// Contract:
// - EncodeClipboardSnapshot writes "TVCS", the entry count, then per entry the type's length, the
//   type, the data's length and the data (lengths as 4 bytes little-endian).
// - DecodeClipboardSnapshot takes only what the encoder makes: nothing when a length runs past the
//   bytes, bytes follow the last entry, a type is empty, longer than 255 bytes or holds a byte
//   outside printable ASCII, or a type comes twice. It never reads past the bytes it is given.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct ClipboardEntry {
  std::string mimeType;
  std::string bytes;
  bool operator==(const ClipboardEntry&) const = default;
};
using ClipboardSnapshot = std::vector<ClipboardEntry>;

std::string EncodeClipboardSnapshot(const ClipboardSnapshot& snapshot);
std::optional<ClipboardSnapshot> DecodeClipboardSnapshot(std::string_view bytes);

}  // namespace platform
