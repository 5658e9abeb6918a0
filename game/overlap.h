#pragma once
// The hit-box query by which a torpedo finds a piranha and a biting piranha finds the submarine.

#include <cstdint>

// Index of the first entry, in index order, whose hit box overlaps that of entry `index` and
// that belongs to `team`; -1 if none. Passes over the asking entry itself, free entries and
// dying piranhas. A box is half the sprite's width (a quarter on each side of the centre, from
// the width rounded down to a multiple of 4) and its whole height, both scaled; boxes that only
// touch do not overlap, and depth does not enter.
int findOverlap(int index, int32_t team);
