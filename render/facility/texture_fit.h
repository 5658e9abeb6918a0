#pragma once
// Fitting a texture's size and level count to what the device allows.

#include <cstdint>

#include "platform/gfx/graphics_system.h"

namespace texload {

// The smallest power of two not below `n` (1 for 0 and 1).
uint32_t powerOfTwoAtLeast(uint32_t n);

struct TextureSize {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t levels = 0;
};

// Limits `width` x `height` to the device's maximum sides, then each side to the other times
// the maximum aspect ratio (1 for square-only devices, 0 reported: no limit), then rounds both
// up to powers of two when the device requires them (down instead where rounding up would pass
// the maximum). `levels`: 0 asks for the full chain, one level per halving of the longer side;
// more than the chain gives the chain; always 1 when the device cannot mip-map.
TextureSize fitToDevice(uint32_t width, uint32_t height, uint32_t levels,
                        const plat::gfx::DeviceCaps& caps);

}  // namespace texload
