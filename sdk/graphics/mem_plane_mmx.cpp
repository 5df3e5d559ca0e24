#include "sdk/graphics/mem_plane_mmx.h"

CMemPlaneMMX::CMemPlaneMMX(const blit_rows::RowKernels& rows) : CMemPlaneKernels(rows) {}
