// Inside the platform layer only: the pictures of the editor's own cursors (platform/cursor.h).
#pragma once

#include <QImage>
#include <QPoint>

namespace platform {

struct CursorImage {
  QImage image;  // ARGB32: black and white on transparent
  QPoint hotSpot;
};

// The cursor of a resource number of the editor (kCursorLink, ...); a null image for others.
CursorImage EditorCursorImage(int id);

}  // namespace platform
