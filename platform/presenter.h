// Showing a frame of 32-bit pixels in a window. The display copies its back buffer into the
// window's front image once per presentation, and the client area paints the front image as it
// stands: 1:1 at the top left in a window; in full screen scaled to the largest size that keeps
// its aspect, centred, with black bars. Points on the client area (mouse messages, the cursor
// position) are mapped back to picture coordinates through the same placement. Everything here
// belongs on the GUI thread.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win_types.h"

namespace platform {

// A borrowed frame: 0xAARRGGBB pixels, rows top-down, pitch bytes apart.
struct FrameView {
  const uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;
};

// Copies the block (x, y, w, h) of the frame, cut to the frame, to the same place in the
// window's front image, with alpha forced opaque (the blend kernels leave it 0), and marks the
// place where the block shows in the window for repainting (the whole window when the front image
// is new). The front image takes the frame's size and starts black when that changes. False when
// hwnd is not a live window or the frame is unusable.
bool CopyToFrontImage(HWND hwnd, const FrameView& frame, int x, int y, int w, int h);

// Inside WM_PAINT of the window: paints the part of the front image that the paint covers, where
// it belongs, and in full screen the black bars beside it; the class background is not painted
// under the picture. False outside a paint or before anything was copied.
bool PaintFrontImage(HWND hwnd);

// Where the picture lies on the client area; false before anything was copied.
bool GetPictureRect(HWND hwnd, RECT* rect);

// The height of a one-line menu bar.
int MenuBarHeight();
// In full screen the window's menu bar shows over the top of the picture only while revealed; in
// a window it always shows. False when the window has no menu bar.
bool RevealMenuBar(HWND hwnd, bool reveal);

// For tests: the front image as last copied (0xFFRRGGBB), and the client area as it paints now
// (WM_PAINT included). False when hwnd is not a live window or there is nothing.
bool CaptureFrontImage(HWND hwnd, std::vector<uint32_t>* pixels, int* width, int* height);
bool CaptureClientArea(HWND hwnd, std::vector<uint32_t>* pixels, int* width, int* height);

// For tests and benchmarks: how often blocks were copied into a window's front image, and how many
// pixels they held in all (zero for a window nothing was copied to).
struct FrontImageCopies {
  uint64_t copies = 0;
  uint64_t pixels = 0;
};
FrontImageCopies CountFrontImageCopies(HWND hwnd);

}  // namespace platform
