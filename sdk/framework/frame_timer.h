// Paces a main loop at a number of frames per second: each WaitFrame sleeps until the next frame is
// due. The schedule is kept in 16.16 fixed-point milliseconds so that rates that do not divide 1000
// keep their average. A frame three steps late is reported (the caller may skip drawing), and the
// real frame rate and the shares of each second spent working and left free are measured.
#pragma once

#include <array>
#include <cstdint>

class CFrameTimer {
 public:
  CFrameTimer() { SetFPS(60); }

  // Restarts the schedule and the statistics; 0 stops pacing.
  void SetFPS(uint32_t fps);
  uint32_t GetFPS() const { return m_fps; }
  // The current frame is due now.
  void ResetTime();
  // Sleeps until the next frame is due.
  void WaitFrame();
  // The last frame was at least three frame steps late.
  bool IsSkip() const { return m_skip; }
  // Frames per second over the last 31 frames (15 while fewer than 32 have passed); 0 for the
  // first 15 frames after SetFPS.
  uint32_t GetRealFPS() const;
  // Per cent of each second spent working, over 16 of the last 32 frames (at most 100); 0 for the
  // first 15 frames after SetFPS.
  uint32_t GetCPUUsage() const;
  // Per cent of each second not spent working: 100 less the usage; 0 for the first 15 frames.
  uint32_t GetCPUPower() const;

  // Working time summed over the frames that were on time.
  uint32_t GetTotalWork() const { return m_totalWork; }
  // Late frames counted in the previous whole second of frames.
  uint32_t GetLateLastSecond() const { return m_lateLastSecond; }

 private:
  static constexpr uint32_t kRing = 32;

  uint32_t m_fps = 0;
  uint32_t m_step = 0;      // one frame, 16.16 ms
  uint32_t m_base = 0;      // when the current frame was due
  uint32_t m_fraction = 0;  // low 16 bits: the fractional milliseconds carried to the next frame
  uint32_t m_totalWork = 0;
  uint32_t m_reserved = 0;
  std::array<uint32_t, kRing> m_ticks{};  // time of each of the last 32 calls
  std::array<uint32_t, kRing> m_work{};   // working time of each of the last 32 frames (0: late)
  uint32_t m_index = 0;   // calls, counted to 63 and then held between 32 and 63
  uint32_t m_frames = 0;  // calls since SetFPS
  bool m_skip = false;
  uint32_t m_lateLastSecond = 0;
  uint32_t m_lateCount = 0;
};
