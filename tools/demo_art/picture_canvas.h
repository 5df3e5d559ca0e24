// Drawing on the demo's pictures beyond single pixels: colours laid over with their alpha, filled
// rectangles, captions from the game's own text renderer, and reductions for thumbnails.
#pragma once

#include <cstdint>
#include <string_view>

#include "tools/demo_art/demo_picture.h"

namespace demo_picture {

// Lays colour (0xAARRGGBB) over the pixel with the colour's own alpha scaled by coverage (0..1);
// pixels outside the picture are skipped.
void Blend(Picture& p, int x, int y, uint32_t colour, double coverage = 1.0);
// Fills a rectangle (clipped to the picture) with a colour, replacing what was there.
void FillRect(Picture& p, int left, int top, int right, int bottom, uint32_t colour);

struct Caption {
  std::string_view text;  // Shift-JIS
  int size = 24;          // character height in pixels
  uint32_t colour = 0xFFFFFFFFu;
  uint32_t shadow = 0;  // 0: none; else drawn shadowOffset pixels down and right
  int face = 0;         // the game's face types: 0 gothic, 2 mincho
  bool bold = false;
  int shadowOffset = 2;
};
// Draws a caption centred on (cx, cy) with the game's text renderer and the fonts it uses; false
// when the text cannot be rendered.
bool DrawCaption(Picture& p, const Caption& caption, int cx, int cy);
// The same with the caption's top-left corner at (left, top).
bool DrawCaptionAt(Picture& p, const Caption& caption, int left, int top);
// The caption's width in pixels as it would be drawn; 0 when it cannot be rendered.
int CaptionWidth(const Caption& caption);

// The picture scaled to width x height by averaging (a reduction).
Picture Reduce(const Picture& source, int width, int height);

}  // namespace demo_picture
