#pragma once
// The game's pseudo-random generator: the portable linear congruential generator of the C
// standard's example, so a given seed gives the same sequence on every platform.

#include <cstdint>

namespace plat {

constexpr int kRandMax = 32767;

void srand(uint32_t seed);
// Next output, 0..32767.
int rand();

}  // namespace plat
