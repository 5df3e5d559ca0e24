#include "sdk/graphics/cos_table.h"

#include <cmath>
#include <numbers>

namespace {

bool built = false;

}  // namespace

std::array<int32_t, CCosTable::kSteps>& CCosTable::Table() {
  static std::array<int32_t, kSteps> table{};
  return table;
}

CCosTable::CCosTable() {
  if (built) return;
  auto& table = Table();
  for (int i = 0; i < kSteps; ++i) {
    // The angle is formed as (i * pi) * (1 / 256): no entry but the exact ones at the quarter
    // turns lies near an integer, so the truncation gives the same table on every machine.
    const double angle = (i * std::numbers::pi) * (1.0 / 256.0);
    table[i] = static_cast<int32_t>(std::trunc(std::cos(angle) * 65536.0));
  }
  built = true;
}
