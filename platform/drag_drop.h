// Dragging text out of a window and dropping text (or files) on a window, within the program and
// with other programs.
//
// Contract:
// - RegisterDropTarget(hwnd, target) makes the window's client area accept drags; the target
//   (borrowed: revoke before it goes) is told of each drag that comes over it. RevokeDropTarget
//   ends that; destroying the window ends it too. 0 for a handle that is not a live window, or
//   off the GUI thread. Registering again replaces the target.
// - What a drag carries (DropData): its text/plain as UTF-16 ended at the first NUL character
//   (the program converts it as it converts the clipboard's), no text when it has none; the bytes
//   of each registered format it offers (the MIME type "application/x-tovara-N" of clipboard format N,
//   platform/clipboard.h), as they came. A drag whose URI list names only local files is a file
//   drop: neither text nor formats, the paths (UTF-8) in files. sameWindow: the drag was started
//   by DoDragDrop on this very window.
// - A file drop over a window that takes files, or over a child of one (platform/drop_files.h),
//   becomes WM_DROPFILES there, and the target hears nothing of it; the target has file drops only
//   where no window takes them.
// - The target's calls: DragEnter when a drag comes over the window (false refuses the whole
//   drag: nothing more is asked of the target for it), DragOver as it moves, DragLeave when it
//   leaves or is cancelled, Drop when it is let go over the window. Each gets the key state (MK_
//   flags of the buttons held, MK_SHIFT, MK_CONTROL, MK_ALT) and the point in client coordinates,
//   and answers the effect: DROPEFFECT_NONE (the drop is not allowed there), DROPEFFECT_COPY or
//   DROPEFFECT_MOVE. After Drop no DragLeave follows.
// - DoDragDrop(source, text, formats, effects) drags the text (Shift-JIS) out of the source
//   window: it offers text/plain (up to the text's first NUL) and the registered formats given,
//   allows the effects given, and waits until the drag ends (Esc and the other mouse button cancel
//   it, as the desktop has it). It returns the effect the drop took, DROPEFFECT_NONE for a
//   cancelled or refused drag or a source that is not a live window.
// - While a hook is installed it takes the user's place in DoDragDrop: it is given the source and
//   the text and answers where the drag is let go (a window, a client point and the key state
//   held) or that it is cancelled (no window). A drop at a window is delivered to that window as
//   the toolkit delivers one (enter, over, drop), so its target sees what a user's drop gives.
// - GUI thread only.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"

constexpr DWORD DROPEFFECT_NONE = 0;
constexpr DWORD DROPEFFECT_COPY = 1;
constexpr DWORD DROPEFFECT_MOVE = 2;
// Alt in a drag's key state (the value the side button has in mouse messages).
constexpr DWORD MK_ALT = 0x0020;

namespace platform {

// The bytes of one registered clipboard format.
struct DragFormat {
  UINT format = 0;
  std::string bytes;
};

struct DropData {
  std::optional<std::u16string> text;  // without NUL characters
  std::vector<DragFormat> formats;
  std::vector<std::string> files;  // local paths of a file drop, UTF-8
  bool sameWindow = false;
  // The bytes of a registered format the drag offers; null when it offers none.
  const std::string* Format(UINT format) const;
};

class DropTarget {
 public:
  virtual ~DropTarget() = default;
  // False refuses the drag; otherwise *effect is the answer at the point.
  virtual bool DragEnter(const DropData& data, DWORD keyState, POINT point, DWORD* effect) = 0;
  virtual DWORD DragOver(DWORD keyState, POINT point) = 0;
  virtual void DragLeave() = 0;
  virtual DWORD Drop(const DropData& data, DWORD keyState, POINT point) = 0;
};

BOOL RegisterDropTarget(HWND hwnd, DropTarget* target);
BOOL RevokeDropTarget(HWND hwnd);

DWORD DoDragDrop(HWND source, std::string_view text, const std::vector<DragFormat>& formats, DWORD effects);

// Where a hook lets the drag go: target null cancels it.
struct DragRelease {
  HWND target = nullptr;
  POINT point{};
  DWORD keyState = MK_LBUTTON;
};
using DragHook = std::function<DragRelease(HWND source, std::string_view text)>;
// Installs a hook (an empty one restores the real drag) and returns the previous one.
DragHook SetDragHook(DragHook hook);

// For tests: what another program's drag brings (text/plain as UTF-8, registered formats, a URI
// list of local files), let go on the window at the client point as the toolkit delivers it; the
// effect it took.
struct ForeignDrag {
  std::optional<std::string> utf8Text;
  std::vector<DragFormat> formats;
  std::vector<std::string> files;
  DWORD keyState = MK_LBUTTON;
};
DWORD DropFromOutside(HWND target, POINT point, const ForeignDrag& drag);

}  // namespace platform
