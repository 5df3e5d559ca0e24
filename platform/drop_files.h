// Files dropped on a window from the desktop's file manager (or any program that drags file
// addresses).
//
// Contract:
// - DragAcceptFiles(hwnd, TRUE) makes the window take drags that carry local files (a URI list
//   naming only local files, platform/drag_drop.h); FALSE ends that. A drag of files over a child
//   window goes to the nearest window, from the child up through its parents, that takes files,
//   even when the child has a drop target of its own: such a target is left the other drags, so a
//   window (or its child) can be both. Where no window takes files, the drag goes to the drop
//   target as drag_drop.h says. 0 for a handle that is not a live window, or off the GUI thread.
// - A drop of files is posted to that window as WM_DROPFILES, wParam the HDROP of the drop, lParam
//   0. The drop belongs to this layer until DragFinish frees it; a handle of a drop that was
//   finished, or whose window is gone, names nothing and every query of it answers 0.
// - DragQueryFile(hdrop, 0xFFFFFFFF, ...) gives the number of files; DragQueryFile(hdrop, i,
//   nullptr, 0) the length in bytes of the i-th path; DragQueryFile(hdrop, i, buffer, size) copies
//   the path with its NUL and gives its length. A path is never cut to fit: one that does not fit,
//   NUL and all, gives 0 and an empty text, as an index beyond the files does (size 0: nothing is
//   written).
//   Paths are exact (platform/path.h): absolute, Shift-JIS, "/" between levels, naming exactly the
//   dropped file.
// - A file whose name Shift-JIS cannot spell exactly is not among the files: it would open some
//   other file. The first query of such a drop shows one message box, owned by the window and
//   under its caption, naming every file left out, so the window's own handling needs nothing
//   more. A drop of such files alone still arrives, with no files in it.
// - DragQueryPoint gives the point where the drop was let go, in the window's client coordinates,
//   and TRUE (the drop is always on the client area).
// - GUI thread only.
#pragma once

#include "platform/win_types.h"

namespace platform {
struct DroppedFiles;
}  // namespace platform

// One drop of files, as WM_DROPFILES carries it.
using HDROP = platform::DroppedFiles*;

constexpr UINT WM_DROPFILES = 0x0233;

namespace platform {

BOOL DragAcceptFiles(HWND hwnd, BOOL accept);

UINT DragQueryFile(HDROP hdrop, UINT index, char* buffer, UINT size);
BOOL DragQueryPoint(HDROP hdrop, POINT* point);
void DragFinish(HDROP hdrop);

}  // namespace platform
