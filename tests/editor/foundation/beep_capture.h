// Hears every beep while a test runs and keeps their kinds in order.
#pragma once

#include <vector>

#include "platform/beep.h"

class BeepCapture {
 public:
  BeepCapture() {
    m_previous = platform::SetBeepHook([this](UINT type) { beeps.push_back(type); });
  }
  ~BeepCapture() { platform::SetBeepHook(m_previous); }
  BeepCapture(const BeepCapture&) = delete;
  BeepCapture& operator=(const BeepCapture&) = delete;

  std::vector<UINT> beeps;

 private:
  platform::BeepHook m_previous;
};
