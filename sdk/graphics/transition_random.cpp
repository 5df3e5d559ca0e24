#include "sdk/graphics/transition_random.h"

#include <array>

namespace {

uint32_t state = 0;

// Static storage: the table cannot fail to exist, only not yet be built.
std::array<uint8_t, 256> table{};
bool tableBuilt = false;

}  // namespace

void TransitionSeedRandom(uint32_t seed) { state = seed; }

int TransitionRandom() {
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 0x7FFF);
}

const CCosTable& TransitionCosTable() {
  static const CCosTable shared;
  return shared;
}

void InitTransitionRandomTable() {
  TransitionCosTable();
  if (tableBuilt) return;
  TransitionSeedRandom(0);
  for (uint8_t& r : table) r = static_cast<uint8_t>(TransitionRandom() & 0xFF);
  tableBuilt = true;
}

std::span<const uint8_t> TransitionRandomTable() {
  if (!tableBuilt) return {};
  return table;
}
