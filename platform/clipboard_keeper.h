// Copied text outlives the process that copied it. On X11 the clipboard's contents live in the
// process that owns them and go when it ends, so a process that still owns the clipboard as it
// ends hands every format it put there to a keeper (the editor's resident process), which owns
// them from then on. When the keeper ends, the desktop's clipboard manager, if any, keeps them.
//
// Contract:
// - HandOverClipboard(keeper) sends, when this process owns the clipboard and it holds anything,
//   a snapshot of every format (platform/clipboard.h) to the keeper's window as a WM_COPYDATA
//   (platform/ipc.h); true once the keeper took it. Nothing is sent to a window of this process.
//   It waits at most the send limit, and not at all when the keeper's process is gone.
// - KeepClipboard(wParam, lParam) is what the keeper's window does with a WM_COPYDATA: a hand-over
//   becomes its own clipboard, byte for byte; a question (AskKeptClipboard) is answered with what
//   its clipboard holds. Anything else (another tag, a malformed snapshot) is refused: 0.
// - AskKeptClipboard(keeper) gives what the keeper's clipboard holds, every MIME type with its
//   bytes; nothing when it did not answer. A window of this process stands by for the answer while
//   it asks. For tests: in an offscreen session every process has a clipboard of its own.
// - GUI thread only.
#pragma once

#include <optional>

#include "platform/clipboard_snapshot.h"
#include "platform/ipc.h"
#include "platform/win_types.h"

namespace platform {

bool HandOverClipboard(ipc::WindowId keeper);
LRESULT KeepClipboard(WPARAM wParam, LPARAM lParam);
std::optional<ClipboardSnapshot> AskKeptClipboard(ipc::WindowId keeper);

}  // namespace platform
