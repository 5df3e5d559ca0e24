#include "game/fixed_text.h"

#include <cstring>

#include "platform/sjis.h"

void CopyFixedText(char* dst, size_t size, std::string_view src) {
  if (!dst || size == 0) return;
  const size_t limit = size - 1;
  size_t n = 0;
  while (n < src.size()) {
    size_t step = platform::IsSjisLead(static_cast<unsigned char>(src[n])) ? 2 : 1;
    if (n + step > src.size() || n + step > limit) break;
    n += step;
  }
  std::memcpy(dst, src.data(), n);
  dst[n] = '\0';
}
