// The random values of the transition effects. The effects have a generator of their own, so
// that seeding it neither resets nor is disturbed by the process's srand/rand users: state =
// state * 214013 + 2531011 (mod 2^32), value = (state >> 16) & 0x7FFF. The fixed byte table R is
// its first 256 values after a seed of 0, so it is the same in every run on every machine.
#pragma once

#include <cstdint>
#include <span>

#include "sdk/graphics/cos_table.h"

// Restarts the generator (the table's build seeds it with 0; tests reseed it).
void TransitionSeedRandom(uint32_t seed);
// The next value, 0..32767.
int TransitionRandom();

// Builds, once, the shared cosine instance and the byte table R; the first build reseeds the
// generator with 0 and spends 256 values, so the per-call random effects restart their sequence.
void InitTransitionRandomTable();
// R, or an empty span before the first InitTransitionRandomTable.
std::span<const uint8_t> TransitionRandomTable();
// The cosine instance InitTransitionRandomTable holds for the fragment effects.
const CCosTable& TransitionCosTable();
