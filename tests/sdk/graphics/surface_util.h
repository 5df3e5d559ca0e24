// Surfaces for the graphics tests: made with a chosen kernel class and filled by the test.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sdk/graphics/blit_rows.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_mmx.h"
#include "sdk/graphics/mem_plane_x86.h"

namespace surface_util {

enum class Kind { Plain, Packed };

inline const char* Name(Kind k) { return k == Kind::Plain ? "plain" : "packed"; }

// A surface of the kind; the packed class runs the given row set (default: the active one).
inline std::unique_ptr<CMemPlane> Make(Kind kind, int w, int h, uint32_t fill = 0,
                                       const blit_rows::RowKernels* rows = nullptr) {
  std::unique_ptr<CMemPlaneImpl> impl;
  if (kind == Kind::Plain)
    impl = std::make_unique<CMemPlaneX86>();
  else
    impl = std::make_unique<CMemPlaneMMX>(rows ? *rows : blit_rows::ActiveRows());
  auto plane = std::make_unique<CMemPlane>(std::move(impl));
  if (w > 0 && h > 0) {
    plane->Create(w, h, 0);
    // Not Clear: it reads 0xFFFFFFFF as "the fill colour".
    CMemPlaneImpl& i = *plane->GetImpl();
    std::fill(i.GetPixels(), i.GetPixels() + size_t(w) * h, fill);
  }
  return plane;
}

inline void Fill(CMemPlane& p, const std::function<uint32_t(int, int)>& f) {
  CMemPlaneImpl& impl = *p.GetImpl();
  for (int y = 0; y < impl.Height(); ++y)
    for (int x = 0; x < impl.Width(); ++x) impl.GetRow(y)[x] = f(x, y);
}

inline std::vector<uint32_t> Pixels(const CMemPlane& p) {
  const CMemPlaneImpl& impl = *p.GetImpl();
  return std::vector<uint32_t>(impl.GetPixels(),
                               impl.GetPixels() + size_t(impl.Width()) * impl.Height());
}

inline uint32_t At(const CMemPlane& p, int x, int y) { return p.GetImpl()->GetPixel(x, y); }

// A source pixel that names its own position: column x + 1 in the low 12 bits, row y + 1 above.
inline uint32_t Tag(int x, int y) { return 0xFF000000u | (uint32_t(y + 1) << 12) | uint32_t(x + 1); }

}  // namespace surface_util
