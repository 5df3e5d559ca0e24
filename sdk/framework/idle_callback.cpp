#include "sdk/framework/idle_callback.h"

#include <algorithm>

std::vector<CIdleCallback*>& IdleCallbacks() {
  static std::vector<CIdleCallback*> callbacks;
  return callbacks;
}

void RunIdleCallbacks() {
  auto& list = IdleCallbacks();
  for (size_t i = 0; i < list.size();) {
    if (list[i]->finished) {
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      list[i++]->OnIdle();
    }
  }
}
