// Copies for transformations that write their output behind their input in one block (the output
// at least kForwardCopyLag bytes behind the input still to be read, as CodeWriter arranges with
// that much room ahead): a piece is copied sixteen bytes at a time, and the last sixteen may write
// past its end, over bytes already read.
#pragma once

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

inline constexpr int kForwardCopyLag = 64;

// The room ahead a transformation asks for: its growth, and the lag when the largest buffer has
// room for it. Without the lag (a text within kForwardCopyLag bytes of the largest size) it copies
// exactly (ForwardCopyEnd), since a result that fits a buffer is never refused for want of room.
inline int64_t RoomAhead(int64_t length, int64_t growth, int64_t maxLength) {
  return length + growth + kForwardCopyLag <= maxLength ? growth + kForwardCopyLag : growth;
}

// What to give CopyForward as the input's end: the real end with the lag, else the end of the
// piece itself, which makes it copy exactly n bytes.
inline const char* ForwardCopyEnd(bool lagged, const char* src, int n, const char* srcEnd) {
  return lagged ? srcEnd : src + n;
}

// n bytes from src to w, where the input is readable up to srcEnd; returns w + n.
inline char* CopyForward(char* w, const char* src, int n, const char* srcEnd) {
#if defined(__SSE2__)
  if (srcEnd - src >= n + 16) {
    for (int k = 0; k < n; k += 16)
      _mm_storeu_si128(reinterpret_cast<__m128i*>(w + k), _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + k)));
    return w + n;
  }
#else
  (void)srcEnd;
#endif
  std::memmove(w, src, static_cast<size_t>(n));
  return w + n;
}
