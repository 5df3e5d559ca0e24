// The desktop's colours by their system-colour numbers, as window classes and painting ask for
// them. They come from the toolkit's palette, so the tooltip colours are the desktop's own.
#pragma once

#include "platform/window.h"

constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;     // the palette's dark: the shaded edge of a raised face
constexpr int COLOR_BTNHIGHLIGHT = 20;  // the palette's light: the lit edge
constexpr int COLOR_3DDKSHADOW = 21;    // the palette's shadow: the darkest edge
constexpr int COLOR_3DLIGHT = 22;       // the palette's midlight: between the face and the lit edge
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_3DSHADOW = COLOR_BTNSHADOW;
constexpr int COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT;

namespace platform {

// The colour of a system colour number as 0x00BBGGRR; 0 for a number not listed above.
COLORREF GetSysColor(int index);

// The brush of a system colour for a window class's background: the handle numbered index + 1,
// which a class may also give as that number. Null for a number not listed above.
HBRUSH GetSysColorBrush(int index);

}  // namespace platform
