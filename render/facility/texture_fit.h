#pragma once
// Fitting a texture's format, size and level count to what the device allows.

#include <cstdint>

#include "platform/gfx/device.h"
#include "platform/gfx/graphics_system.h"
#include "render/facility/load_result.h"
#include "render/facility/pixel_format.h"

namespace texload {

// The device format of the same layout as one of ours, and back; Unknown where there is none.
plat::gfx::Format toDevice(Format f);
Format fromDevice(plat::gfx::Format f);

// `wanted` if the device takes it for textures of `usage`, else the nearest format it takes (the
// nearest-format rule). kNotAvailable, with `out` Unknown, when it takes none; a failing device
// query's own result.
Result fitFormat(plat::gfx::Device* device, uint32_t usage, Format wanted, Format& out);

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
