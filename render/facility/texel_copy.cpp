#include "render/facility/texel_copy.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace texload {

namespace {

Rgba keyColour(uint32_t key) {
    return Rgba{static_cast<float>((key >> 16) & 0xFF) / 255.0f,
                static_cast<float>((key >> 8) & 0xFF) / 255.0f,
                static_cast<float>(key & 0xFF) / 255.0f, static_cast<float>(key >> 24) / 255.0f};
}

Rgba paletteColour(const PaletteEntry& e) {
    return Rgba{e.red / 255.0f, e.green / 255.0f, e.blue / 255.0f, e.alpha / 255.0f};
}

}  // namespace

bool keyPalette(std::array<PaletteEntry, 256>& palette, uint32_t colourKey) {
    const PaletteEntry key{static_cast<uint8_t>(colourKey >> 16),
                           static_cast<uint8_t>(colourKey >> 8), static_cast<uint8_t>(colourKey),
                           static_cast<uint8_t>(colourKey >> 24)};
    bool anyAlpha = false;
    for (PaletteEntry& e : palette) {
        if (colourKey != kNoColourKey && e == key) e = PaletteEntry{0, 0, 0, 0};
        if (e.alpha < 255) anyAlpha = true;
    }
    return anyAlpha;
}

void copyImageToLevel(const DecodedImage& image, uint32_t colourKey, const LevelView& level) {
    const bool palette = formatInfo(image.format).palette;
    const bool keyed = colourKey != kNoColourKey && !palette;
    Rgba key;
    if (keyed) {
        // The key as the image's format can hold it: encoded and decoded back.
        uint8_t encoded[16] = {};
        encodePixel(image.format, keyColour(colourKey), encoded);
        key = decodePixel(image.format, encoded);
    }
    const uint32_t srcBytes = bytesPerPixel(image.format);
    const uint32_t dstBytes = bytesPerPixel(level.format);
    const uint32_t columns = std::min(image.width, level.width);
    const uint32_t rows = std::min(image.height, level.height);
    const Rgba transparent{0, 0, 0, 0};
    for (uint32_t y = 0; y < level.height; ++y) {
        uint8_t* dst = level.row(y);
        uint32_t x = 0;
        if (y < rows) {
            const uint8_t* src = image.row(y);
            for (; x < columns; ++x) {
                Rgba c = palette ? paletteColour(image.palette[src[x]])
                                 : decodePixel(image.format, src + size_t{x} * srcBytes);
                if (keyed && c == key) c = transparent;
                encodePixel(level.format, c, dst + size_t{x} * dstBytes);
            }
        }
        for (; x < level.width; ++x)
            encodePixel(level.format, transparent, dst + size_t{x} * dstBytes);
    }
}

}  // namespace texload
