// A font description together with the text to draw: face, height, weight, styles, output
// quality, text, background and shadow colours, shadow offset and the pitch between the lines of
// a text of several lines. Draws its text, shadow first, onto a device context, and measures it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text_out.h"
#include "platform/win_types.h"

namespace platform {
class MemDC;
}  // namespace platform

class CTextFont {
 public:
  static constexpr COLORREF kNone = static_cast<COLORREF>(-1);

  CTextFont();
  CTextFont(const CTextFont&) = default;
  CTextFont& operator=(const CTextFont&) = default;
  virtual ~CTextFont();

  // Quality types: 0 default, 1 draft, 2 proof, 3 antialiased, 4 non-antialiased; others change
  // nothing.
  void SetQuality(int type);
  // The height; the line pitch becomes the same.
  void SetSize(int32_t height);
  void SetLinePitch(int32_t pitch) { m_linePitch = pitch; }
  void SetTextColor(COLORREF color) { m_textColor = color; }
  void SetBkColor(COLORREF color) { m_bkColor = color; }
  void SetShadowColor(COLORREF color) { m_shadowColor = color; }
  void SetWeight(int32_t weight) { m_weight = weight; }
  void SetItalic(bool on) { m_italic = on; }
  void SetUnderline(bool on) { m_underline = on; }
  void SetStrikeOut(bool on) { m_strikeOut = on; }
  void SetShadowOffset(int32_t x, int32_t y) {
    m_shadowX = x;
    m_shadowY = y;
  }
  void SetText(std::string_view text) { m_text.assign(text.data(), text.size()); }
  // Formats the text (printf conventions); any length.
  void SetTextF(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Face types 0 "ＭＳ ゴシック", 1 "ＭＳ Ｐゴシック", 2 "ＭＳ 明朝", 3 "ＭＳ Ｐ明朝"; any other type gives the
  // empty name.
  void SetFontType(int type);
  void SetFaceName(std::string_view name);

  // Draws the text with its cell's top-left corner at (x, y); nothing for an empty text or a
  // font that cannot be made.
  void Draw(platform::MemDC* dc, int x, int y) const;
  // 0 and the size of the text; 1 (both sizes 0) for an empty text or a font that cannot be made.
  int GetSize(int* width, int* height) const;
  // Draws the lines of a text with the font and colours the context holds.
  void DrawLines(platform::MemDC* dc, int x, int y, std::string_view text) const;
  // Draws as Draw does, into one 8-bit channel that takes the blue byte of every colour: white text
  // on a cleared channel leaves its ink coverage, without the three other bytes of every pixel.
  void DrawInk(const platform::ChannelBuffer& target, int x, int y) const;

  const std::string& GetText() const { return m_text; }
  uint32_t GetQualityValue() const { return m_quality; }
  COLORREF GetTextColor() const { return m_textColor; }
  COLORREF GetShadowColor() const { return m_shadowColor; }
  COLORREF GetBkColor() const { return m_bkColor; }
  int32_t GetHeight() const { return m_height; }
  const std::string& GetFaceName() const { return m_faceName; }
  int32_t GetLinePitch() const { return m_linePitch; }
  int32_t GetWeight() const { return m_weight; }
  bool GetItalic() const { return m_italic; }
  bool GetUnderline() const { return m_underline; }
  bool GetStrikeOut() const { return m_strikeOut; }
  int32_t GetShadowOffsetX() const { return m_shadowX; }
  int32_t GetShadowOffsetY() const { return m_shadowY; }

 private:
  // One pass of Draw: the text at a place in a colour, on its background or not.
  struct Pass {
    int x, y;
    COLORREF color;
    bool opaque;
  };
  std::optional<platform::Font> MakeFont() const;
  // The passes of Draw at (x, y): the shadow first, then the text.
  int Passes(int x, int y, Pass (&passes)[2]) const;

  std::string m_text;
  uint32_t m_quality = 2;
  COLORREF m_textColor = 0xFFFFFF;
  COLORREF m_shadowColor = 0x808080;
  COLORREF m_bkColor = kNone;
  int32_t m_height = 16;
  std::string m_faceName;
  int32_t m_linePitch = 20;
  int32_t m_weight = 300;
  bool m_italic = false;
  bool m_underline = false;
  bool m_strikeOut = false;
  int32_t m_shadowX = 2;
  int32_t m_shadowY = 2;
};
