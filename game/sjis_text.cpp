#include "game/sjis_text.h"

#include <cstring>

#include "platform/sjis.h"

size_t SjisFitLength(std::string_view text, size_t maxBytes) {
  size_t i = 0;
  while (i < text.size()) {
    size_t width = platform::IsSjisLead(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + width > text.size() || i + width > maxBytes) break;
    i += width;
  }
  return i;
}

bool CopySjisText(std::span<char> dst, std::string_view text) {
  if (dst.empty()) return text.empty();
  size_t n = SjisFitLength(text, dst.size() - 1);
  if (n > 0) std::memcpy(dst.data(), text.data(), n);
  std::memset(dst.data() + n, 0, dst.size() - n);
  return n == text.size();
}

std::string_view FixedText(std::span<const char> buffer) {
  const void* zero = std::memchr(buffer.data(), 0, buffer.size());
  size_t n = zero ? static_cast<size_t>(static_cast<const char*>(zero) - buffer.data()) : buffer.size();
  return {buffer.data(), n};
}
