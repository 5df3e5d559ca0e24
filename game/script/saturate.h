// Floating point to 32-bit integer conversion that never traps: script values are arbitrary doubles.
#pragma once

#include <cstdint>
#include <limits>

// Truncates toward zero; values beyond the range give the nearest limit, NaN gives 0.
constexpr int32_t SaturateToInt32(double value) {
  if (!(value == value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}
