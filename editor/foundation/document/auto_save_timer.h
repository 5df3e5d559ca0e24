// The period of a document's auto-save, counted in the platform clock's milliseconds.
#pragma once

#include <cstdint>

class CAutoSaveTimer {
 public:
  CAutoSaveTimer();
  // Minutes of 0 or less count as 1, above 35791 as 35791.
  void SetInterval(int minutes);
  // Switching on restarts the period; the same state again changes nothing.
  void Enable(bool on);
  bool IsEnabled() const { return m_bEnabled; }
  // True when a whole period has passed (a wrap of the tick counter is harmless); the period then
  // restarts.
  bool IsDue();

 private:
  uint32_t m_nStartTick;
  int m_nInterval;
  bool m_bEnabled = false;
};
