#include "game/app/frame_rate_adapter.h"

#include <algorithm>

int FrameRateAdapter::UsableFps(int configured) {
  if (configured <= 0) return kMaxFps;
  return std::clamp(configured, kMinFps, kMaxFps);
}

bool FrameRateAdapter::Step(bool late) {
  const double step = 60.0 / m_fps;
  m_accumulator = static_cast<int>(m_accumulator + (late ? -step : step));
  const int before = m_fps;
  if (m_accumulator <= 0) {
    m_accumulator = kCentre;
    m_fps = std::max(kMinFps, m_fps - 1);
  } else if (m_accumulator > 2 * kCentre) {
    m_accumulator = kCentre;
    m_fps = std::min(kMaxFps, m_fps + 1);
  }
  return m_fps != before;
}
