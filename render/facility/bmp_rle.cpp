#include "render/facility/bmp_rle.h"

namespace texload {

namespace {

// The pixel `i` of a run: 8-bit runs repeat their byte, 4-bit runs alternate its nibbles.
uint8_t runPixel(uint8_t value, bool fourBit, uint32_t i) {
    if (!fourBit) return value;
    return (i & 1) ? (value & 0x0F) : (value >> 4);
}

// The pixel `i` of an absolute run starting at `src`.
uint8_t literalPixel(const uint8_t* src, bool fourBit, uint32_t i) {
    if (!fourBit) return src[i];
    const uint8_t b = src[i / 2];
    return (i & 1) ? (b & 0x0F) : (b >> 4);
}

}  // namespace

bool decodeRle(const uint8_t* data, size_t size, bool fourBit, uint32_t width, uint32_t height,
               uint8_t* out) {
    size_t at = 0;
    // 64-bit, so that deltas cannot wrap the position around.
    uint64_t x = 0;
    uint64_t y = 0;
    while (y < height) {
        if (size - at < 2) return false;
        const uint8_t count = data[at];
        const uint8_t value = data[at + 1];
        at += 2;
        if (count > 0) {
            if (x + count > width) return false;
            uint8_t* dst = out + y * width + x;
            for (uint32_t i = 0; i < count; ++i) dst[i] = runPixel(value, fourBit, i);
            x += count;
            continue;
        }
        switch (value) {
            case 0:  // end of line
                x = 0;
                ++y;
                break;
            case 1:  // end of bitmap
                return true;
            case 2:  // delta
                if (size - at < 2) return false;
                x += data[at];
                y += data[at + 1];
                at += 2;
                break;
            default: {  // absolute run of `value` pixels, padded to whole 16-bit words
                const size_t bytes = fourBit ? (value + 1u) / 2u : value;
                const size_t padded = (bytes + 1u) & ~size_t{1};
                if (size - at < padded) return false;
                if (x + value > width) return false;
                uint8_t* dst = out + y * width + x;
                for (uint32_t i = 0; i < value; ++i) dst[i] = literalPixel(data + at, fourBit, i);
                x += value;
                at += padded;
                break;
            }
        }
    }
    return true;
}

}  // namespace texload
