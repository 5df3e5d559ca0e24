#include "editor/foundation/ui/clipboard_formats.h"

#include <cstdint>

#include "platform/clipboard.h"

namespace {

constexpr size_t kLengthBytes = 4;

}  // namespace

UINT PrivateClipFormat() { return platform::RegisterClipboardFormat(kPrivateClipFormatName); }
UINT BoxClipFormat() { return platform::RegisterClipboardFormat(kBoxClipFormatName); }

std::string MakePrivateClipBlock(std::string_view text) {
  const auto length = static_cast<uint32_t>(text.size());
  std::string block;
  block.reserve(kLengthBytes + text.size());
  for (size_t i = 0; i < kLengthBytes; ++i) block.push_back(static_cast<char>((length >> (8 * i)) & 0xFF));
  block.append(text);
  return block;
}

std::optional<std::string_view> ReadPrivateClipBlock(std::string_view block) {
  if (block.size() < kLengthBytes) return std::nullopt;
  uint32_t length = 0;
  for (size_t i = 0; i < kLengthBytes; ++i)
    length |= static_cast<uint32_t>(static_cast<unsigned char>(block[i])) << (8 * i);
  if (length > block.size() - kLengthBytes) return std::nullopt;
  return block.substr(kLengthBytes, length);
}
