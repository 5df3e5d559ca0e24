#include "sdk/graphics/kernel_cpu_level.h"

// Every x86-64 processor has MMX and CMOV (class 4); elsewhere the plain class runs.
int MemPlaneCpuLevel() {
#if defined(__x86_64__)
  return 4;
#else
  return 2;
#endif
}
