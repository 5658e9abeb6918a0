#include "render/facility/bmp_bitfields.h"

#include <bit>
#include <cstddef>

namespace texload {

namespace {

struct KnownLayout {
    int bits;
    ChannelMasks masks;
    MaskedLayout layout;
};

constexpr KnownLayout kKnown[] = {
    {16, {0xF800, 0x07E0, 0x001F, 0}, {Format::R5G6B5, false}},
    {16, {0x7C00, 0x03E0, 0x001F, 0}, {Format::X1R5G5B5, false}},
    {16, {0x7C00, 0x03E0, 0x001F, 0x8000}, {Format::A1R5G5B5, false}},
    {16, {0x0F00, 0x00F0, 0x000F, 0xF000}, {Format::A4R4G4B4, false}},
    {16, {0x0F00, 0x00F0, 0x000F, 0}, {Format::X4R4G4B4, false}},
    {16, {0x00E0, 0x001C, 0x0003, 0xFF00}, {Format::A8R3G3B2, false}},
    {16, {0x00FF, 0x00FF, 0x00FF, 0xFF00}, {Format::A8L8, false}},
    {16, {0xFFFF, 0xFFFF, 0xFFFF, 0}, {Format::L16, false}},
    {24, {0xFF0000, 0x00FF00, 0x0000FF, 0}, {Format::R8G8B8, false}},
    {32, {0xFF0000, 0x00FF00, 0x0000FF, 0}, {Format::X8R8G8B8, false}},
    {32, {0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000}, {Format::A8R8G8B8, false}},
    {32, {0x0000FF, 0x00FF00, 0xFF0000, 0xFF000000}, {Format::A8B8G8R8, false}},
    {32, {0x0000FF, 0x00FF00, 0xFF0000, 0}, {Format::X8B8G8R8, false}},
    {32, {0x000003FF, 0x000FFC00, 0x3FF00000, 0xC0000000}, {Format::A2B10G10R10, false}},
    {32, {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}, {Format::A2R10G10B10, false}},
    {32, {0x0000FFFF, 0xFFFF0000, 0, 0}, {Format::G16R16, false}},
    {32, {0xFF000000, 0x00FF0000, 0x0000FF00, 0}, {Format::X8R8G8B8, true}},
};

bool sameMasks(const ChannelMasks& a, const ChannelMasks& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

float extract(uint32_t value, uint32_t mask, float whenAbsent) {
    if (mask == 0) return whenAbsent;
    const int shift = std::countr_zero(mask);
    const uint32_t top = mask >> shift;
    return static_cast<float>(static_cast<double>((value & mask) >> shift) /
                              static_cast<double>(top));
}

}  // namespace

MaskedLayout layoutFromMasks(int bits, const ChannelMasks& masks) {
    for (const KnownLayout& k : kKnown) {
        if (k.bits == bits && sameMasks(k.masks, masks)) return k.layout;
    }
    return MaskedLayout{};
}

void decodeMaskedRow(const uint8_t* src, int bits, const ChannelMasks& masks, uint32_t width,
                     uint8_t* dst) {
    const int bytes = bits / 8;
    const float absentColour = (masks.red | masks.green | masks.blue) == 0 ? 0.0f : 1.0f;
    for (uint32_t x = 0; x < width; ++x) {
        uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | src[size_t{x} * bytes + i];
        Rgba c;
        c.r = extract(v, masks.red, absentColour);
        c.g = extract(v, masks.green, absentColour);
        c.b = extract(v, masks.blue, absentColour);
        c.a = extract(v, masks.alpha, 1.0f);
        encodePixel(Format::A32B32G32R32F, c, dst + size_t{x} * 16);
    }
}

}  // namespace texload
