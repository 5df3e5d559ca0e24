#include "sdk/graphics/blit_rows.h"

namespace blit_rows {

const RowKernels& ActiveRows() {
  static const RowKernels& rows = [] () -> const RowKernels& {
    if (const RowKernels* r = Avx2Rows()) return *r;
    if (const RowKernels* r = Sse2Rows()) return *r;
    return PlainRows();
  }();
  return rows;
}

}  // namespace blit_rows
