#include "editor/view/commands/window_arrangement.h"

#include <algorithm>

std::vector<RECT> CascadeRects(const RECT& work, int count, int stepX, int stepY) {
  std::vector<RECT> rects;
  if (count <= 0) return rects;
  rects.reserve(static_cast<size_t>(count));
  const int width = (work.right - work.left) * 4 / 5;
  const int height = (work.bottom - work.top) * 4 / 5;
  stepX = std::max(stepX, 1);
  stepY = std::max(stepY, 1);
  int column = 0;  // the left edge of the column's first window, from the work area's left
  int x = work.left;
  int y = work.top;
  for (int i = 0; i < count; ++i) {
    if (x + width > work.right || y + height > work.bottom) {
      column += stepX;
      if (work.left + column + width > work.right) column = 0;
      x = work.left + column;
      y = work.top;
    }
    rects.push_back(RECT{x, y, x + width, y + height});
    x += stepX;
    y += stepY;
  }
  return rects;
}

std::vector<RECT> TileRects(const RECT& work, int count, bool sideBySide) {
  std::vector<RECT> rects;
  if (count <= 0) return rects;
  rects.reserve(static_cast<size_t>(count));
  const int length = sideBySide ? work.right - work.left : work.bottom - work.top;
  const int each = length / count;
  for (int i = 0; i < count; ++i) {
    const int start = i * each;
    const int end = start + each;
    rects.push_back(sideBySide ? RECT{work.left + start, work.top, work.left + end, work.bottom}
                               : RECT{work.left, work.top + start, work.right, work.top + end});
  }
  return rects;
}
