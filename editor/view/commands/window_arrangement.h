// Where the arrangement commands put the edit windows: pure geometry over a work area, so that the
// commands only decide which windows take part and in what order.
#pragma once

#include <vector>

#include "platform/win_types.h"

// Each of count windows gets four fifths of the work area's width and height. The first stands at
// the work area's top-left and each next one a step (stepX, stepY) further; a window that would
// reach past the right or bottom edge starts a new column at the top, one step right of the last
// column's start (back at the left edge when that column would not fit either).
std::vector<RECT> CascadeRects(const RECT& work, int count, int stepX, int stepY);

// count windows side by side (sideBySide: each the full height and 1/count of the width) or
// stacked (the full width and 1/count of the height), the first at the left or top.
std::vector<RECT> TileRects(const RECT& work, int count, bool sideBySide);
