#pragma once
// An image as a reader gives it: kept only while a texture is filled from it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/facility/pixel_format.h"

namespace texload {

struct PaletteEntry {
    uint8_t red = 255, green = 255, blue = 255, alpha = 255;
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

struct DecodedImage {
    Format format = Format::Unknown;
    uint32_t width = 0;
    uint32_t height = 0;  // always positive; rows are stored top row first
    uint32_t pitch = 0;   // bytes per row
    std::vector<uint8_t> pixels;
    std::array<PaletteEntry, 256> palette{};  // used by P8 images only

    const uint8_t* row(uint32_t y) const { return pixels.data() + size_t{y} * pitch; }
    uint8_t* row(uint32_t y) { return pixels.data() + size_t{y} * pitch; }
};

}  // namespace texload
