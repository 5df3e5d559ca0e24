#include "platform/dc_text.h"

#include <cstring>
#include <string_view>

#include "platform/dc_draw.h"
#include "platform/text_out.h"

namespace platform {

const Font* SelectFont(HDC dc, const Font* font) {
  if (!dc) return nullptr;
  const Font* previous = dc->TextState().font;
  dc->TextState().font = font;
  return previous;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
  if (!dc) return CLR_INVALID;
  const COLORREF previous = dc->TextState().textColor;
  dc->TextState().textColor = color;
  return previous;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
  if (!dc) return CLR_INVALID;
  const COLORREF previous = dc->TextState().bkColor;
  dc->TextState().bkColor = color;
  return previous;
}

int SetBkMode(HDC dc, int mode) {
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  const int previous = dc->TextState().bkMode;
  dc->TextState().bkMode = mode;
  return previous;
}

BOOL TextOutA(HDC dc, int x, int y, const char* text, int length) {
  if (!dc || !dc->TextState().font || length < 0 || (length > 0 && !text)) return 0;
  const Bitmap* bitmap = dc->GetBitmap();
  if (!bitmap || bitmap->BitCount() != 32) return 0;
  PixelBuffer target{reinterpret_cast<uint32_t*>(bitmap->Row(0)), bitmap->Width(), bitmap->Height(),
                     bitmap->TopDown() ? bitmap->Pitch() : -bitmap->Pitch()};
  const RECT output = dc->GetOutputRect();
  const DCTextState& state = dc->TextState();
  DrawTextLine(target, &output, *state.font, x, y, std::string_view(text ? text : "", static_cast<size_t>(length)),
               TextColors{state.textColor, state.bkColor, state.bkMode == OPAQUE});
  return 1;
}

BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, UINT count, int byteAdvance) {
  if (!dc || !dc->TextState().font || (count > 0 && !text) || count > INT32_MAX || byteAdvance < 0 ||
      (options & ~(ETO_OPAQUE | ETO_CLIPPED)) != 0)
    return 0;
  const Bitmap* bitmap = dc->GetBitmap();
  if (!bitmap || bitmap->BitCount() != 32) return 0;
  const DCTextState& state = dc->TextState();
  if (rect && (options & ETO_OPAQUE)) {
    Brush background(state.bkColor);
    FillRect(dc, rect, &background);
  }
  RECT bounds = dc->GetOutputRect();
  if (rect && (options & ETO_CLIPPED)) IntersectRect(&bounds, &bounds, rect);
  if (bounds.right <= bounds.left || bounds.bottom <= bounds.top) return 1;
  PixelBuffer target{reinterpret_cast<uint32_t*>(bitmap->Row(0)), bitmap->Width(), bitmap->Height(),
                     bitmap->TopDown() ? bitmap->Pitch() : -bitmap->Pitch()};
  const std::string_view bytes(text ? text : "", count);
  const TextColors colors{state.textColor, state.bkColor, state.bkMode == OPAQUE};
  if (byteAdvance > 0) {
    DrawTextCells(target, &bounds, *state.font, x, y, bytes, byteAdvance, colors);
  } else {
    DrawTextLine(target, &bounds, *state.font, x, y, bytes, colors);
  }
  return 1;
}

BOOL GetTextExtentPoint32A(HDC dc, const char* text, int length, SIZE* size) {
  if (!dc || !dc->TextState().font || length < 0 || (length > 0 && !text) || !size) return 0;
  *size = MeasureTextLine(*dc->TextState().font, std::string_view(text ? text : "", static_cast<size_t>(length)));
  return 1;
}

std::optional<Font> CreateFontIndirect(const LOGFONT* logFont) {
  if (!logFont) return std::nullopt;
  FontDesc desc;
  desc.height = logFont->lfHeight == 0 ? kDefaultFontHeight : logFont->lfHeight;
  desc.weight = logFont->lfWeight == 0 ? FW_NORMAL : logFont->lfWeight;
  desc.italic = logFont->lfItalic != 0;
  desc.underline = logFont->lfUnderline != 0;
  desc.strikeOut = logFont->lfStrikeOut != 0;
  desc.quality = logFont->lfQuality;
  desc.faceName.assign(logFont->lfFaceName, strnlen(logFont->lfFaceName, LF_FACESIZE));
  return Font::Create(desc);
}

}  // namespace platform
