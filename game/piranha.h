#pragma once
// Piranha states and the torpedo's hit on a piranha. The behaviour itself is updatePiranha
// (game/objects.h).

#include <cstdint>

enum PiranhaState : int32_t {
    kPiranhaWaiting = 0,
    kPiranhaChasing = 3,
    kPiranhaBiting = 4,
    kPiranhaDying = 5,  // also makes findOverlap pass the entry over
};

// Updates a piranha lives through while dying: counter 255 down to 5 in steps of 5.
constexpr int32_t kDyingCounter = 255;

// A torpedo hit: takes 1 from the piranha's size (its hit points); when none is left the
// piranha starts dying.
void hitPiranha(int index);
