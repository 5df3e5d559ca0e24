#include "editor/foundation/sjis_icase.h"

#include "platform/sjis.h"

namespace {

unsigned char AsciiToUpper(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

}  // namespace

int SjisCompareICase(const char* a, const char* b, int count, int step, bool stopAtNul) {
  const auto* pa = reinterpret_cast<const unsigned char*>(a);
  const auto* pb = reinterpret_cast<const unsigned char*>(b);
  bool trailA = false, trailB = false;
  for (; count != 0; count -= step, ++pa, ++pb) {
    unsigned char ca = *pa, cb = *pb;
    // Each side folds only its own single-byte characters.
    const bool leadA = !trailA && platform::IsSjisLead(ca);
    const bool leadB = !trailB && platform::IsSjisLead(cb);
    if (!trailA && !leadA) ca = AsciiToUpper(ca);
    if (!trailB && !leadB) cb = AsciiToUpper(cb);
    if (ca != cb) return static_cast<int>(ca) - static_cast<int>(cb);
    if (stopAtNul && ca == 0) return 0;
    trailA = leadA;
    trailB = leadB;
  }
  return 0;
}
