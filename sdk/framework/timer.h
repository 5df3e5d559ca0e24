// A millisecond stopwatch with pause: the play position of sounds and movies.
#pragma once

#include <cstdint>

class CTimer {
 public:
  CTimer() { Reset(); }
  virtual ~CTimer() = default;

  // Starts from zero and ends any pause.
  void Reset();
  // Stops the count. The first pause returns the time it stopped at; a further one returns the
  // pause count before it and changes nothing else. Only Reset ends a pause.
  uint32_t Pause();
  // Milliseconds counted.
  uint32_t Get() const;

 private:
  uint32_t m_start = 0;
  uint32_t m_pauseTime = 0;
  int32_t m_pauseCount = 0;
};
