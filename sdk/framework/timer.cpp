#include "sdk/framework/timer.h"

#include "sdk/framework/time_period.h"

void CTimer::Reset() {
  m_start = TimerNow();
  m_pauseCount = 0;
}

uint32_t CTimer::Pause() {
  if (m_pauseCount++ == 0) {
    m_pauseTime = TimerNow();
    return m_pauseTime;
  }
  return static_cast<uint32_t>(m_pauseCount - 1);
}

uint32_t CTimer::Get() const { return (m_pauseCount > 0 ? m_pauseTime : TimerNow()) - m_start; }
