// The editor's own cursors, drawn here as rows of cells: 'X' black, '.' white, anything else clear.
#include "platform/cursor_images.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "platform/cursor.h"

namespace platform {
namespace {

using Rows = std::span<const std::string_view>;

// A pointing hand: the tip of the finger is the hot spot.
constexpr std::string_view kHand[] = {
    "      XX         ",  //
    "     X..X        ",  //
    "     X..X        ",  //
    "     X..X        ",  //
    "     X..X        ",  //
    "     X..XXX      ",  //
    "     X..X..XXX   ",  //
    "     X..X..X..XX ",  //
    "     X..X..X..X.X",  //
    " XXX X........X.X",  //
    " X..XX..........X",  //
    " X...X..........X",  //
    "  X.............X",  //
    "  X.............X",  //
    "   X............X",  //
    "   X...........X ",  //
    "    X..........X ",  //
    "    X.........X  ",  //
    "     X........X  ",  //
    "     X........X  ",  //
    "     XXXXXXXXXX  ",  //
};

// The usual arrow turned to point right and up, as the line numbers take a whole row.
constexpr std::string_view kArrow[] = {
    "X          ",  //
    "XX         ",  //
    "X.X        ",  //
    "X..X       ",  //
    "X...X      ",  //
    "X....X     ",  //
    "X.....X    ",  //
    "X......X   ",  //
    "X.......X  ",  //
    "X........X ",  //
    "X.....XXXXX",  //
    "X..X..X    ",  //
    "X.X X..X   ",  //
    "XX  X..X   ",  //
    "X    X..X  ",  //
    "     X..X  ",  //
    "      X..X ",  //
    "      X..X ",  //
    "       XX  ",  //
};

// The I-beam, with room on its right for the search direction's arrow.
constexpr std::string_view kIBeam[] = {
    " ... ...          ",  //
    ".XXX.XXX.         ",  //
    " ...X...          ",  //
    "   .X.            ",  //
    "   .X.            ",  //
    "   .X.            ",  //
    "   .X.            ",  //
    "   .X.            ",  //
    "   .X.            ",  //
    "   .X.            ",  //
    "   .X.            ",  //
    "   .X.            ",  //
    "   .X.            ",  //
    "   .X.            ",  //
    " ...X...          ",  //
    ".XXX.XXX.         ",  //
    " ... ...          ",  //
};
constexpr QPoint kIBeamHotSpot(4, 8);

// A small arrow pointing down, drawn over the I-beam's right side from this row and column.
constexpr std::string_view kDownArrow[] = {
    "  .X.  ",  //
    "  .X.  ",  //
    "  .X.  ",  //
    "  .X.  ",  //
    ".XXXXX.",  //
    " .XXX. ",  //
    "  .X.  ",  //
    "   .   ",  //
};
constexpr int kArrowRow = 7, kArrowColumn = 10;

QImage Draw(Rows rows, bool mirrored) {
  const int width = static_cast<int>(std::ranges::max(rows, {}, &std::string_view::size).size());
  QImage image(width, static_cast<int>(rows.size()), QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (int y = 0; y < image.height(); ++y) {
    const std::string_view row = rows[static_cast<size_t>(y)];
    for (int x = 0; x < static_cast<int>(row.size()); ++x) {
      const int at = mirrored ? width - 1 - x : x;
      if (row[static_cast<size_t>(x)] == 'X') image.setPixel(at, y, 0xFF000000u);
      if (row[static_cast<size_t>(x)] == '.') image.setPixel(at, y, 0xFFFFFFFFu);
    }
  }
  return image;
}

// The I-beam with the arrow pointing down (forward) or up (backward).
QImage SearchBeam(bool forward) {
  QImage image = Draw(kIBeam, false);
  const QImage arrow = Draw(kDownArrow, false).mirrored(false, !forward);
  for (int y = 0; y < arrow.height(); ++y) {
    for (int x = 0; x < arrow.width(); ++x) {
      const QRgb pixel = arrow.pixel(x, y);
      if (qAlpha(pixel) != 0) image.setPixel(kArrowColumn + x, kArrowRow + y, pixel);
    }
  }
  return image;
}

}  // namespace

CursorImage EditorCursorImage(int id) {
  switch (id) {
    case kCursorLink:
      return {Draw(kHand, false), QPoint(6, 0)};
    case kCursorLineNumbers: {
      const QImage image = Draw(kArrow, true);
      return {image, QPoint(image.width() - 1, 0)};
    }
    case kCursorSearchForward:
      return {SearchBeam(true), kIBeamHotSpot};
    case kCursorSearchBackward:
      return {SearchBeam(false), kIBeamHotSpot};
    default:
      return {};
  }
}

}  // namespace platform
