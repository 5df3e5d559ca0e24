// The processor class that picks the kernel class of a new memory surface: 1 or 2 the plain
// class, 3 or 4 the packed SIMD class.
#pragma once

int MemPlaneCpuLevel();
