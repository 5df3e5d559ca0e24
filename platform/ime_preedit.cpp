// The preedit drawn over a window's picture at its caret, as an input method's composition window
// shows it.
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <optional>
#include <string>

#include "platform/ime_composition.h"
#include "platform/ime_query.h"
#include "platform/text_out.h"
#include "platform/window_qt.h"

namespace platform {

void PaintPreedit(Window& window, QPainter& painter) {
  ImeQueryProvider* provider = window.destroying() ? nullptr : window.imeProvider();
  if (!provider) return;
  const std::string text = ImeCompositionString(&window);
  if (text.empty()) return;
  std::optional<Font> fallback;
  const Font* font = provider->ImeFont();
  if (!font) {
    fallback = Font::Create(FontDesc{});
    if (!fallback) return;
    font = &*fallback;
  }
  const SIZE size = MeasureTextLine(*font, text);
  if (size.cx <= 0 || size.cy <= 0) return;
  const TextColors colors = provider->ImePreeditColors();
  QImage block(size.cx, size.cy, QImage::Format_RGB32);
  const PixelBuffer pixels{reinterpret_cast<uint32_t*>(block.bits()), size.cx, size.cy,
                           static_cast<int32_t>(block.bytesPerLine())};
  DrawTextLine(pixels, nullptr, *font, 0, 0, text, TextColors{colors.text, colors.background, true});
  const uint32_t ink = 0xFF000000u | ColorRefToPixel(colors.text);
  for (int y = 0; y < size.cy; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(block.scanLine(y));
    for (int x = 0; x < size.cx; ++x) row[x] |= 0xFF000000u;
  }
  // Underlined, as text not yet written is; and the preedit's own cursor.
  std::fill_n(reinterpret_cast<uint32_t*>(block.scanLine(size.cy - 1)), size.cx, ink);
  const size_t cursor =
      static_cast<size_t>(std::clamp<int>(ImeCompositionCursor(&window), 0, static_cast<int>(text.size())));
  const int cursorX = std::min<int>(MeasureTextLine(*font, std::string_view(text).substr(0, cursor)).cx, size.cx - 1);
  for (int y = 0; y < size.cy; ++y) reinterpret_cast<uint32_t*>(block.scanLine(y))[cursorX] = ink;
  const RECT caret = provider->ImeCaretRect();
  painter.drawImage(QPoint(caret.left, caret.top), block);
}

}  // namespace platform
