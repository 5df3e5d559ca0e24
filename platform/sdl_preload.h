// Opening SDL, the library behind the sound card and the joysticks, on a helper thread while the
// program starts, so that its loading runs beside the toolkit's start instead of before the first
// frame. Without the call the library is opened when the sound card or a joystick is first wanted;
// with it, that first use waits for the helper if it is not done yet. Either way it is opened once.
#pragma once

namespace platform {

// Call once, early in main, before anything else uses SDL.
void StartOpeningSdl();

}  // namespace platform
