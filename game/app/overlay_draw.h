// The text the frame draws over everything: the information overlay and the on-screen message log.
// Both are drawn through the back buffer's device context, so the back buffer uses DIB-section
// storage; a surface without a context gets nothing.
#pragma once

#include <string_view>

#include "game/script/message_log.h"

class CMemPlane;

// The overlay text (InfoOverlayText) at (16, 16): character height 11 on a black background.
void DrawInfoOverlay(CMemPlane& backBuffer, std::string_view text);

// The first 40 lines of the log, line i at (16, 17 + 12 i), at the text font's default height on a
// black background, each as it stands (a per-cent sign is text).
void DrawMessageLog(CMemPlane& backBuffer, const MessageLogRecord& log);
