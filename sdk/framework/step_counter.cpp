#include "sdk/framework/step_counter.h"

void CStepCounter::Reset() {
  m_current = m_start;
  m_subCount = 0;
  m_reached = false;
}

void CStepCounter::Inc() {
  int64_t next = 0;
  if (m_step > 0) {
    next = int64_t{m_current} + m_step;
  } else {
    ++m_subCount;
    if (m_step == 0 || m_subCount != static_cast<uint32_t>(-int64_t{m_step})) return;
    m_subCount = 0;
    next = int64_t{m_current} + 1;
  }
  // Worked in 64 bits so that a step past the largest value stops at the end instead of wrapping.
  if (next >= m_end) {
    m_current = m_end;
    m_reached = true;
  } else {
    m_current = static_cast<int32_t>(next);
    m_reached = false;
  }
}
