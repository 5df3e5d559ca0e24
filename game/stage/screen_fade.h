// The black and white fades over the whole game picture: a level from 0 (none) to 255 (all black
// or all white) that moves by a step each frame until it reaches an end. The script sets them.
#pragma once

#include <cstdint>

#include "game/script/engine_state.h"

// The fades are part of the saved state: a save taken under a fade comes back under it.
inline ScreenFades& Fades() { return EngineState.presentation.fades; }

// One frame of a fade: the level moves by the step; past an end it stops there and the step
// becomes 0.
void AdvanceFade(ScreenFade& fade);

// Either fade is complete: nothing under it can be seen, so it need not be drawn.
inline bool ScreenCovered(const ScreenFades& f) { return f.black.level == 255 || f.white.level == 255; }
