#include "sdk/graphics/mem_plane_x86.h"

// The plain class never uses SIMD rows in its own kernels; the shared effect bodies may.
CMemPlaneX86::CMemPlaneX86() = default;
