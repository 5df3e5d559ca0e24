#include "sdk/framework/ime_switch.h"

#include <atomic>
#include <cstdint>

#include "platform/input_method.h"
#include "sdk/framework/window_application.h"

namespace {

// 0 not set yet, 1 enabled, 2 disabled.
std::atomic<int32_t> imeState{0};

}  // namespace

void EnableIME() {
  if (imeState.exchange(1) != 1) platform::EnableInputMethod(GetAppWindowHandle(), true);
}

void DisableIME() {
  if (imeState.exchange(2) != 2) platform::EnableInputMethod(GetAppWindowHandle(), false);
}
