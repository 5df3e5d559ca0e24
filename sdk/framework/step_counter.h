// A value moving from a start toward an end: by a step on each Inc, or, for a step of -n, by one
// every n calls. A step of 0 never moves.
#pragma once

#include <cstdint>

class CStepCounter {
 public:
  CStepCounter(int32_t start, int32_t end, int32_t step) : m_start(start), m_end(end), m_step(step) { Reset(); }
  virtual ~CStepCounter() = default;

  void Reset();
  void Inc();

  int32_t GetValue() const { return m_current; }
  // The value has arrived at the end.
  bool IsReached() const { return m_reached; }

 private:
  int32_t m_current = 0;
  int32_t m_start;
  int32_t m_end;
  int32_t m_step;
  uint32_t m_subCount = 0;
  bool m_reached = false;
};
