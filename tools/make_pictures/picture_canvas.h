// A plain picture to draw the demo's art into, pixel by pixel or with captions from the game's own
// text renderer, and to write as a PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace picture_canvas {

struct Picture {
  int width = 0;
  int height = 0;
  bool alpha = false;        // written as RGBA when set, else RGB
  std::vector<uint32_t> px;  // 0xAARRGGBB, rows top-down

  Picture() = default;
  Picture(int w, int h, bool a, uint32_t fill = 0)
      : width(w), height(h), alpha(a), px(static_cast<size_t>(w) * h, fill) {}
  uint32_t& At(int x, int y) { return px[static_cast<size_t>(y) * width + x]; }
  uint32_t At(int x, int y) const { return px[static_cast<size_t>(y) * width + x]; }
};

// A colour from components in 0..1.
uint32_t Rgb(double r, double g, double b, double a = 1.0);
double Mix(double a, double b, double t);

// Lays colour over the pixel with the colour's own alpha scaled by coverage (0..1).
void Blend(Picture& p, int x, int y, uint32_t colour, double coverage = 1.0);
// Fills a rectangle (clipped to the picture) with a colour, replacing what was there.
void FillRect(Picture& p, int left, int top, int right, int bottom, uint32_t colour);

struct Caption {
  std::string_view text;  // Shift-JIS
  int size = 24;          // character height in pixels
  uint32_t colour = 0xFFFFFFFFu;
  uint32_t shadow = 0;  // 0: none; else drawn two pixels down and right
  int face = 0;         // the game's face types: 0 gothic, 2 mincho
};
// Draws a caption centred on (cx, cy) with the game's text renderer and the fonts it uses; false
// when the text cannot be rendered.
bool DrawCaption(Picture& p, const Caption& caption, int cx, int cy);

// The picture scaled to width x height by averaging (a reduction).
Picture Reduce(const Picture& source, int width, int height);

// Writes the picture as a PNG file; false on failure.
bool WritePicture(const std::string& path, const Picture& p);

}  // namespace picture_canvas
