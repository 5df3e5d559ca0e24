// What anything that plays with a position and a volume offers: whole-file sounds and movies.
// Times are milliseconds, volumes attenuations in hundredths of a decibel (0 full, -10000 silent).
#pragma once

#include <cstdint>

class CSoundBase {
 public:
  CSoundBase() = default;
  CSoundBase(const CSoundBase&) = delete;
  CSoundBase& operator=(const CSoundBase&) = delete;
  virtual ~CSoundBase() = default;

  // 0 on success, else the implementing class's failure code.
  virtual int32_t Open(const char* name) = 0;
  virtual int32_t Close() = 0;
  virtual int32_t Play() = 0;
  virtual int32_t Replay() = 0;
  virtual int32_t Stop() = 0;
  virtual int32_t Pause() = 0;
  virtual uint8_t IsPlay() = 0;
  virtual uint8_t IsLoop() = 0;
  virtual int32_t SetLoop(uint8_t loop) = 0;
  // -1 when it cannot be told.
  virtual int32_t GetCurrentPos() = 0;
  virtual int32_t SetCurrentPos(int32_t ms) = 0;
  virtual int32_t GetLength() = 0;
  virtual int32_t SetVolume(int32_t volume) = 0;
  virtual int32_t GetVolume() = 0;

  // 0, or -1 for a negative ms (nothing written). Hours are not reduced.
  virtual int32_t ConvertToHMS(int32_t ms, int32_t* hours, int32_t* minutes, int32_t* seconds, int32_t* msOut);
  // 0, or -1 when a part is negative (nothing written). The sum wraps at 32 bits.
  virtual int32_t ConvertFromHMS(int32_t* ms, int32_t hours, int32_t minutes, int32_t seconds, int32_t msIn);
};
