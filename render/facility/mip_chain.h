#pragma once
// Lower texture levels: how many there are and how each is box-filtered from the one above.

#include <cstdint>

#include "render/facility/level_view.h"

namespace texload {

// One level per halving of the longer side down to 1, counting the top level: 512 x 256 has 10.
uint32_t fullMipCount(uint32_t width, uint32_t height);

// The size of level `level` below a top level of `size` (never below 1).
inline uint32_t mipSize(uint32_t size, uint32_t level) {
    const uint32_t s = level < 32 ? size >> level : 0;
    return s ? s : 1;
}

// Fills `dst` (half the size of `src`, at least 1, same format) with the average of each 2 x 2
// block of `src` (2 x 1 or 1 x 2 where `src` is one texel thin), channel by channel.
void boxFilterLevel(const LevelView& src, const LevelView& dst);

}  // namespace texload
