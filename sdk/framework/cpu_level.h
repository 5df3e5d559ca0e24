// The processor class that picks between the plain and the MMX-era blit kernels.
#pragma once

// 1: no CPUID, 2: no MMX, 3: MMX without CMOV, 4: MMX and CMOV. Measured once, then cached.
int GetCpuLevel();
