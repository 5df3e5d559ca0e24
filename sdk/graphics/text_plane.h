// A 32-bit memory surface that turns the text of its font into an anti-aliased image: every pixel
// has the text colour, and its alpha is the ink coverage, found by drawing the text at double size
// with two-level glyphs and averaging 2 × 2 blocks (so the alpha is 0, 63, 127, 191 or 255). An
// optional shadow is composited under the text, and the text can be set vertically.
//
// Vertical text turns double-byte characters upright, but the vertical forms of punctuation and
// small kana (the raised full stop, the turned long-vowel mark) need a text shaping engine, which
// this system does not have: those characters keep their horizontal shapes, turned.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/text_font.h"
#include "sdk/graphics/text_plane_kernels.h"

class CTextPlane : public CMemPlane {
 public:
  CTextPlane();
  ~CTextPlane() override;

  // 0 done; 1 the plane cannot be created; 2 a temporary surface cannot be created. The font is
  // left as it was on every path. Finished images are kept (TextPlaneCache), so a text in a style
  // already drawn is copied rather than drawn again.
  int Update();
  // Update without the copy: the kept image itself when the cache holds one (valid until the cache
  // next changes; this plane is then left as it was, or left empty when the image it has just made
  // went to the cache), else this plane, updated. result receives what Update would return.
  CMemPlane* UpdateShared(int* result);
  void SetVertical(bool vertical) { m_vertical = vertical; }
  bool IsVertical() const { return m_vertical; }
  // Where the text is drawn inside the plane.
  void SetTextOffset(int32_t x, int32_t y) {
    m_textOffsetX = x;
    m_textOffsetY = y;
  }

  // The font and text, which the owner configures directly.
  CTextFont font;

 private:
  // The area to render: w × h pixels (shrunk by Render to what the doubled drawing covers), and the
  // text's measured size, which a separate shadow plane of the same text would have.
  struct Area {
    int w = 0, h = 0, measuredW = 0, measuredH = 0;
    bool made = false;  // the plane was made for the text (not a loaded picture)
  };

  int UpdateUncached();
  int UpdateText();
  int UpdateTextVertical();
  // Measures the text and makes the plane at its size (turned for vertical text; cleared, or not
  // when the caller writes every pixel) unless it holds a loaded picture; 1 when the plane cannot
  // be created.
  int Prepare(bool turned, bool clear, Area* area);
  // Renders the text into the area's pixels (rows pitch pixels apart), shadow included. 0, or 2
  // when a temporary surface cannot be made.
  int Render(uint32_t* pixels, int pitch, Area* area);

  int32_t m_textOffsetX = 0;
  int32_t m_textOffsetY = 0;
  bool m_vertical = false;
  // Working memory of the rendering: the doubled ink and the averaged coverage of the text and of
  // a separate shadow, and the composite of the last colours. Kept from one update to the next
  // (the memory while small), as a plane that draws glyph after glyph needs the same every time.
  struct Scratch {
    std::vector<uint8_t> ink, text, shadow;
    std::optional<text_plane_kernels::ShadowComposite> composite;
  };
  Scratch m_scratch;
};
