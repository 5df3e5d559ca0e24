// The adaptive frame rate of the main loop: between 10 and 60 frames per second, following the
// frame timer's lateness with a dead band, so that one slow moment does not change the pace.
#pragma once

class FrameRateAdapter {
 public:
  static constexpr int kMinFps = 10;
  static constexpr int kMaxFps = 60;
  static constexpr int kCentre = 360;  // the accumulator's start; 0 drops the rate, 720+ raises it

  // A configured rate outside 10 ... 60 starts at the nearest end; 0 or less (unset, and a divisor
  // of every per-frame step in the game) starts at 60.
  static int UsableFps(int configured);

  explicit FrameRateAdapter(int fps) : m_fps(UsableFps(fps)) {}

  // One frame: late when the timer reported the last frame as late. Each frame moves the
  // accumulator by 60 / fps (truncated toward zero). True when the rate changed.
  bool Step(bool late);

  int fps() const { return m_fps; }
  int accumulator() const { return m_accumulator; }

 private:
  int m_fps;
  int m_accumulator = kCentre;
};
