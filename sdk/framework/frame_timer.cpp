#include "sdk/framework/frame_timer.h"

#include <algorithm>

#include "platform/clock.h"
#include "sdk/framework/time_period.h"

namespace {

// A frame this late restarts the schedule from now instead of catching up.
constexpr uint32_t kStallMs = 250;

}  // namespace

void CFrameTimer::SetFPS(uint32_t fps) {
  ResetTime();
  m_totalWork = 0;
  m_frames = 0;
  m_reserved = 0;
  m_index = 0;
  // The statistics read the rings before a restarted count has refilled them.
  m_ticks.fill(0);
  m_work.fill(0);
  m_fps = fps;
  if (fps != 0) {
    m_fraction = 0;
    m_step = 65536000u / fps;
  }
}

void CFrameTimer::ResetTime() {
  m_base = TimerNow();
  m_skip = false;
  m_lateLastSecond = 0;
  m_lateCount = 0;
}

void CFrameTimer::WaitFrame() {
  uint32_t t = TimerNow();
  if (m_fps != 0 && m_frames % m_fps == 0) {
    m_lateLastSecond = m_lateCount;
    m_lateCount = 0;
  }
  m_ticks[m_index % kRing] = t;
  if (++m_index == 2 * kRing) m_index = kRing;
  ++m_frames;
  uint32_t& work = m_work[m_index % kRing];
  if (m_fps == 0) {
    work = 0;
    return;
  }

  m_fraction = (m_fraction % 65536) + m_step;
  uint32_t length = m_fraction / 65536;
  uint32_t elapsed = t - m_base;
  if (elapsed < length) {
    m_totalWork += elapsed;
    work = elapsed;
    m_skip = false;
    platform::SleepMs(length - elapsed);
    m_base += length;
  } else {
    uint32_t late = elapsed - length;
    if (late >= kStallMs) late = 0;
    m_skip = late >= 3 * length;
    if (m_skip) ++m_lateCount;
    // The lateness stays in the schedule: the next frames run without sleeping until caught up.
    m_base = t - late;
    work = 0;
  }
}

uint32_t CFrameTimer::GetRealFPS() const {
  if (m_index < 16) return 0;
  uint32_t newest = m_ticks[(m_index - 1) % kRing];
  uint32_t oldest = 0, frames = 0;
  if (m_index >= kRing) {
    oldest = m_ticks[m_index % kRing];
    frames = 31;
  } else {
    oldest = m_ticks[m_index - 16];
    frames = 15;
  }
  uint32_t span = newest - oldest;
  if (span == 0) return 0;
  return (frames * 1000 + span / 2) / span;
}

uint32_t CFrameTimer::GetCPUUsage() const {
  if (m_index < 16) return 0;
  uint32_t sum = 0;
  for (uint32_t i = 0; i < 16; ++i) sum += m_work[i];
  // 16 frames of sum ms work take fps x sum / 16 ms of each second. A frame's work is below its
  // length, but a figure above 100 per cent must not reach the free share and wrap it around.
  return std::min(m_fps * sum / 160, 100u);
}

uint32_t CFrameTimer::GetCPUPower() const { return m_index < 16 ? 0 : 100 - GetCPUUsage(); }
