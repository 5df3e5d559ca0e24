#include "game/text/fixed_text.h"

#include <cstring>

#include "platform/sjis.h"

size_t SjisFitLength(std::string_view text, size_t maxBytes) {
  size_t n = 0;
  while (n < text.size()) {
    size_t step = platform::IsSjisLead(static_cast<unsigned char>(text[n])) ? 2 : 1;
    if (n + step > text.size() || n + step > maxBytes) break;
    n += step;
  }
  return n;
}

bool CopyFixedText(char* dst, size_t size, std::string_view src) {
  if (!dst || size == 0) return src.empty();
  const size_t n = SjisFitLength(src, size - 1);
  if (n > 0) std::memcpy(dst, src.data(), n);
  std::memset(dst + n, 0, size - n);
  return n == src.size();
}

std::string_view FixedText(std::span<const char> field) {
  const void* zero = std::memchr(field.data(), 0, field.size());
  size_t n = zero ? static_cast<size_t>(static_cast<const char*>(zero) - field.data()) : field.size();
  return {field.data(), n};
}
