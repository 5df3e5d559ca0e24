#include "sdk/graphics/display_bpp.h"

#include "platform/clock.h"
#include "platform/desktop.h"
#include "sdk/graphics/direct_draw_base.h"

namespace {

int cachedBpp = -1;

int MeasureBpp() {
  if (const platform::DisplayModeSwitch* modes = CDirectDrawBase::Object()) {
    const platform::EmulatedDisplayMode& mode = modes->Mode();
    if (mode.exclusive && mode.depth != 0) return mode.depth;
  }
  return platform::DesktopBitsPerPixel();
}

}  // namespace

int GetDisplayBpp() {
  if (cachedBpp == -1) GetDesktopBpp();
  return cachedBpp;
}

void GetDesktopBpp() {
  cachedBpp = MeasureBpp();
  if (cachedBpp == 0) {
    platform::SleepMs(1000);
    cachedBpp = MeasureBpp();
  }
}
