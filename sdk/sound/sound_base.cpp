#include "sdk/sound/sound_base.h"

int32_t CSoundBase::ConvertToHMS(int32_t ms, int32_t* hours, int32_t* minutes, int32_t* seconds, int32_t* msOut) {
  if (ms < 0) return -1;
  *msOut = ms % 1000;
  *seconds = ms / 1000 % 60;
  *minutes = ms / 60000 % 60;
  *hours = ms / 3600000;
  return 0;
}

int32_t CSoundBase::ConvertFromHMS(int32_t* ms, int32_t hours, int32_t minutes, int32_t seconds, int32_t msIn) {
  if (hours < 0 || minutes < 0 || seconds < 0 || msIn < 0) return -1;
  // From 597 hours the sum no longer fits; it wraps as 32-bit arithmetic does, without overflowing.
  const uint32_t sum = static_cast<uint32_t>(hours) * 3600000u + static_cast<uint32_t>(minutes) * 60000u +
                       static_cast<uint32_t>(seconds) * 1000u + static_cast<uint32_t>(msIn);
  *ms = static_cast<int32_t>(sum);
  return 0;
}
