// The warning sound: MessageBeep.
//
// Contract: MessageBeep(type) sounds the system's bell (the kind, MB_OK or an MB_ICON value, is
// not told apart: the desktop has one bell) and returns TRUE. Every beep goes through one hook, so
// that tests hear which kinds were asked for and in what order, and a run without a person makes
// no noise it does not mean to.
#pragma once

#include <functional>

#include "platform/win_types.h"

namespace platform {

using BeepHook = std::function<void(UINT type)>;

// Installs a hook (an empty one restores the bell) and returns the previous one.
BeepHook SetBeepHook(BeepHook hook);

BOOL MessageBeep(UINT type);

}  // namespace platform
