#include "sdk/framework/full_screen.h"

#include <atomic>

namespace {
std::atomic<bool> fullScreen{false};
}

bool IsFullScreen() { return fullScreen; }
void SetFullScreen(bool value) { fullScreen = value; }
