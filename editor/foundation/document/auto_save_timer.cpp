#include "editor/foundation/document/auto_save_timer.h"

#include "platform/clock.h"

namespace {
constexpr int kMaxMinutes = 35791;  // the longest period whose milliseconds fit an int
}

CAutoSaveTimer::CAutoSaveTimer() : m_nStartTick(platform::NowMs()), m_nInterval(60000) {}

void CAutoSaveTimer::SetInterval(int minutes) {
  if (minutes <= 0) minutes = 1;
  if (minutes > kMaxMinutes) minutes = kMaxMinutes;
  m_nInterval = minutes * 60000;
}

void CAutoSaveTimer::Enable(bool on) {
  if (m_bEnabled == on) return;
  m_bEnabled = on;
  if (on) m_nStartTick = platform::NowMs();
}

bool CAutoSaveTimer::IsDue() {
  if (!m_bEnabled) return false;
  const uint32_t now = platform::NowMs();
  // Unsigned difference: a wrap of the tick counter between the two readings does no harm.
  if (now - m_nStartTick < static_cast<uint32_t>(m_nInterval)) return false;
  m_nStartTick = now;
  return true;
}
