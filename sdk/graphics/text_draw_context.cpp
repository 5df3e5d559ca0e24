#include "sdk/graphics/text_draw_context.h"

#include <algorithm>

void CTextDrawContext::SetFontSize(int32_t n) {
  baseSize = n;
  size = n;
  // Sizes come from settings files: a sum past the 32-bit range stays at its end.
  lineHeight = static_cast<int32_t>(std::clamp<int64_t>(int64_t{n} + lineSpacing, INT32_MIN, INT32_MAX));
}

void CTextDrawContext::SetText(const char* text) {
  cursor = text;
  textStart = text;
}
