#pragma once
// Bit-field bitmaps: the pixel format their masks name, or their decoding to floats when the
// masks name none.

#include <cstdint>

#include "render/facility/pixel_format.h"

namespace texload {

struct ChannelMasks {
    uint32_t red = 0, green = 0, blue = 0, alpha = 0;
};

struct MaskedLayout {
    Format format = Format::Unknown;  // Unknown: no known layout, decode with decodeMaskedRow
    bool shifted = false;             // every pixel is read starting one byte further on (X8R8G8B8)
};

// The known layout of `bits`-per-pixel data with these masks.
MaskedLayout layoutFromMasks(int bits, const ChannelMasks& masks);

// Decodes `width` pixels of `bits`/8 bytes each into A32B32G32R32F: each channel is taken out
// with its mask, shifted down past the mask's low zero bits and divided by the mask's maximum.
// A channel whose mask is 0 reads 1, except that red, green and blue read 0 when all three of
// their masks are 0.
void decodeMaskedRow(const uint8_t* src, int bits, const ChannelMasks& masks, uint32_t width,
                     uint8_t* dst);

}  // namespace texload
