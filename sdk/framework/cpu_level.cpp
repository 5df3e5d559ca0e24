#include "sdk/framework/cpu_level.h"

#include <atomic>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace {

int MeasureCpuLevel() {
#if defined(__x86_64__) || defined(__i386__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return 1;
  bool mmx = (edx >> 23) & 1;
  bool cmov = (edx >> 15) & 1;
  if (!mmx) return 2;
  return cmov ? 4 : 3;
#else
  // Other processors have none of those instructions: the plain kernels.
  return 2;
#endif
}

std::atomic<int> cachedLevel{0};

}  // namespace

int GetCpuLevel() {
  int level = cachedLevel.load(std::memory_order_relaxed);
  if (level == 0) {
    level = MeasureCpuLevel();
    cachedLevel.store(level, std::memory_order_relaxed);
  }
  return level;
}
