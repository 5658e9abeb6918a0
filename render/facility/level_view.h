#pragma once
// One texture level as memory: a locked device level or a plain buffer.

#include <cstdint>

#include "render/facility/pixel_format.h"

namespace texload {

struct LevelView {
    uint8_t* bytes = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t pitch = 0;  // bytes per row
    Format format = Format::Unknown;

    uint8_t* row(uint32_t y) const { return bytes + uint64_t{y} * pitch; }
};

}  // namespace texload
