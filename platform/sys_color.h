// The desktop's colours by their system-colour numbers, as window classes and painting ask for
// them. They come from the toolkit's palette, so the tooltip colours are the desktop's own.
#pragma once

#include "platform/window.h"

constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;     // the shaded edge of a raised frame
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_BTNHIGHLIGHT = 20;  // the lit edge of a raised frame
constexpr int COLOR_3DDKSHADOW = 21;    // the outer shaded edge of a raised frame
constexpr int COLOR_3DLIGHT = 22;       // the outer lit edge of a raised frame
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;

namespace platform {

// The colour of a system colour number as 0x00BBGGRR; 0 for a number not listed above.
COLORREF GetSysColor(int index);

// The brush of a system colour for a window class's background: the handle numbered index + 1,
// which a class may also give as that number. Null for a number not listed above.
HBRUSH GetSysColorBrush(int index);

}  // namespace platform
