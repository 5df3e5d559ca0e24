#include "platform/clipboard_snapshot.h"

#include <algorithm>
#include <cstdint>

namespace platform {
namespace {

constexpr std::string_view kMagic = "TVCS";
constexpr size_t kLongestType = 255;

void PutLength(std::string& out, size_t n) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
}

// Reads the bytes front to back; every take fails once one ran past the end.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : m_rest(bytes) {}
  std::optional<uint32_t> Length() {
    if (m_rest.size() < 4) return std::nullopt;
    uint32_t n = 0;
    for (int i = 0; i < 4; ++i) n |= uint32_t{static_cast<unsigned char>(m_rest[i])} << (8 * i);
    m_rest.remove_prefix(4);
    return n;
  }
  std::optional<std::string_view> Take(size_t n) {
    if (n > m_rest.size()) return std::nullopt;
    const std::string_view part = m_rest.substr(0, n);
    m_rest.remove_prefix(n);
    return part;
  }
  bool AtEnd() const { return m_rest.empty(); }

 private:
  std::string_view m_rest;
};

bool SoundType(std::string_view type) {
  return !type.empty() && type.size() <= kLongestType &&
         std::all_of(type.begin(), type.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

}  // namespace

std::string EncodeClipboardSnapshot(const ClipboardSnapshot& snapshot) {
  std::string out(kMagic);
  PutLength(out, snapshot.size());
  for (const ClipboardEntry& entry : snapshot) {
    PutLength(out, entry.mimeType.size());
    out += entry.mimeType;
    PutLength(out, entry.bytes.size());
    out += entry.bytes;
  }
  return out;
}

std::optional<ClipboardSnapshot> DecodeClipboardSnapshot(std::string_view bytes) {
  Reader in(bytes);
  if (in.Take(kMagic.size()) != kMagic) return std::nullopt;
  const auto count = in.Length();
  if (!count) return std::nullopt;
  ClipboardSnapshot snapshot;
  for (uint32_t i = 0; i < *count; ++i) {
    const auto typeLength = in.Length();
    if (!typeLength) return std::nullopt;
    const auto type = in.Take(*typeLength);
    if (!type || !SoundType(*type)) return std::nullopt;
    const auto dataLength = in.Length();
    if (!dataLength) return std::nullopt;
    const auto data = in.Take(*dataLength);
    if (!data) return std::nullopt;
    const bool seen =
        std::any_of(snapshot.begin(), snapshot.end(), [&](const ClipboardEntry& e) { return e.mimeType == *type; });
    if (seen) return std::nullopt;
    snapshot.push_back({std::string(*type), std::string(*data)});
  }
  if (!in.AtEnd()) return std::nullopt;
  return snapshot;
}

}  // namespace platform
