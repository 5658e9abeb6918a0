#include "platform/gfx/format.h"

#include <cstring>

namespace plat::gfx {
namespace {

struct Entry {
    const char* name;
    FormatInfo info;
};

// bits per pixel, alpha, red, green, blue, luminance, palette, compressed
constexpr Entry kFormats[] = {
    {"Unknown", {0, 0, 0, 0, 0, false, false, false}},
    {"A8R8G8B8", {32, 8, 8, 8, 8, false, false, false}},
    {"X8R8G8B8", {32, 0, 8, 8, 8, false, false, false}},
    {"A8B8G8R8", {32, 8, 8, 8, 8, false, false, false}},
    {"X8B8G8R8", {32, 0, 8, 8, 8, false, false, false}},
    {"A2R10G10B10", {32, 2, 10, 10, 10, false, false, false}},
    {"A2B10G10R10", {32, 2, 10, 10, 10, false, false, false}},
    {"G16R16", {32, 0, 16, 16, 0, false, false, false}},
    {"R8G8B8", {24, 0, 8, 8, 8, false, false, false}},
    {"R5G6B5", {16, 0, 5, 6, 5, false, false, false}},
    {"X1R5G5B5", {16, 0, 5, 5, 5, false, false, false}},
    {"A1R5G5B5", {16, 1, 5, 5, 5, false, false, false}},
    {"A4R4G4B4", {16, 4, 4, 4, 4, false, false, false}},
    {"X4R4G4B4", {16, 0, 4, 4, 4, false, false, false}},
    {"A8R3G3B2", {16, 8, 3, 3, 2, false, false, false}},
    {"R3G3B2", {8, 0, 3, 3, 2, false, false, false}},
    {"A8", {8, 8, 0, 0, 0, false, false, false}},
    {"L8", {8, 0, 8, 8, 8, true, false, false}},
    {"A8L8", {16, 8, 8, 8, 8, true, false, false}},
    {"A4L4", {8, 4, 4, 4, 4, true, false, false}},
    {"L16", {16, 0, 16, 16, 16, true, false, false}},
    {"P8", {8, 0, 8, 8, 8, false, true, false}},
    {"A8P8", {16, 8, 8, 8, 8, false, true, false}},
    {"A16B16G16R16", {64, 16, 16, 16, 16, false, false, false}},
    {"A32B32G32R32F", {128, 32, 32, 32, 32, false, false, false}},
    {"DXT1", {4, 1, 5, 6, 5, false, false, true}},
    {"DXT2", {8, 4, 5, 6, 5, false, false, true}},
    {"DXT3", {8, 4, 5, 6, 5, false, false, true}},
    {"DXT4", {8, 8, 5, 6, 5, false, false, true}},
    {"DXT5", {8, 8, 5, 6, 5, false, false, true}},
    {"D16", {16, 0, 0, 0, 0, false, false, false}},
};
static_assert(sizeof kFormats / sizeof kFormats[0] == static_cast<size_t>(Format::Count));

// Widens an n-bit channel value to 8 bits by repeating its top bits.
inline uint32_t widen(uint32_t v, int bits) {
    switch (bits) {
        case 1:
            return v ? 255u : 0u;
        case 2:
            return v * 0x55u;
        case 3:
            return (v << 5) | (v << 2) | (v >> 1);
        case 4:
            return v * 0x11u;
        case 5:
            return (v << 3) | (v >> 2);
        case 6:
            return (v << 2) | (v >> 4);
        default:
            return v;
    }
}

// An 8-bit channel value to the nearest n-bit step.
inline uint32_t narrow(uint32_t v, int bits) {
    const uint32_t max = (1u << bits) - 1;
    return (v * max + 127) / 255;
}

inline uint16_t load16(const void* p) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
inline uint32_t load32(const void* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline void store16(void* p, uint32_t v) {
    const uint16_t w = static_cast<uint16_t>(v);
    std::memcpy(p, &w, 2);
}
inline void store32(void* p, uint32_t v) {
    std::memcpy(p, &v, 4);
}

inline uint32_t argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return a << 24 | r << 16 | g << 8 | b;
}

}  // namespace

FormatInfo formatInfo(Format format) {
    const auto i = static_cast<size_t>(format);
    return i < static_cast<size_t>(Format::Count) ? kFormats[i].info : FormatInfo{};
}

int bytesPerPixel(Format format) {
    const FormatInfo info = formatInfo(format);
    return info.compressed ? 0 : info.bitsPerPixel / 8;
}

const char* formatName(Format format) {
    const auto i = static_cast<size_t>(format);
    return i < static_cast<size_t>(Format::Count) ? kFormats[i].name : "?";
}

bool isTextureFormat(Format format) {
    switch (format) {
        case Format::A8R8G8B8:
        case Format::X8R8G8B8:
        case Format::A8B8G8R8:
        case Format::X8B8G8R8:
        case Format::R5G6B5:
        case Format::X1R5G5B5:
        case Format::A1R5G5B5:
        case Format::A4R4G4B4:
        case Format::X4R4G4B4:
        case Format::A8R3G3B2:
        case Format::R3G3B2:
        case Format::A8:
        case Format::L8:
        case Format::A8L8:
        case Format::A4L4:
            return true;
        default:
            return false;
    }
}

uint32_t decodePixel(Format format, const void* pixel) {
    const auto* b = static_cast<const uint8_t*>(pixel);
    switch (format) {
        case Format::A8R8G8B8:
            return load32(pixel);
        case Format::X8R8G8B8:
            return load32(pixel) | 0xFF000000u;
        case Format::A8B8G8R8: {
            const uint32_t v = load32(pixel);
            return (v & 0xFF00FF00u) | (v & 0xFF) << 16 | (v >> 16 & 0xFF);
        }
        case Format::X8B8G8R8: {
            const uint32_t v = load32(pixel);
            return 0xFF000000u | (v & 0x0000FF00u) | (v & 0xFF) << 16 | (v >> 16 & 0xFF);
        }
        case Format::R5G6B5: {
            const uint32_t v = load16(pixel);
            return argb(255, widen(v >> 11, 5), widen(v >> 5 & 0x3F, 6), widen(v & 0x1F, 5));
        }
        case Format::X1R5G5B5:
        case Format::A1R5G5B5: {
            const uint32_t v = load16(pixel);
            const uint32_t a = format == Format::A1R5G5B5 ? widen(v >> 15, 1) : 255;
            return argb(a, widen(v >> 10 & 0x1F, 5), widen(v >> 5 & 0x1F, 5), widen(v & 0x1F, 5));
        }
        case Format::A4R4G4B4:
        case Format::X4R4G4B4: {
            const uint32_t v = load16(pixel);
            const uint32_t a = format == Format::A4R4G4B4 ? widen(v >> 12, 4) : 255;
            return argb(a, widen(v >> 8 & 0xF, 4), widen(v >> 4 & 0xF, 4), widen(v & 0xF, 4));
        }
        case Format::A8R3G3B2:
        case Format::R3G3B2: {
            const uint32_t v = format == Format::A8R3G3B2 ? load16(pixel) : b[0];
            const uint32_t a = format == Format::A8R3G3B2 ? v >> 8 : 255;
            return argb(a, widen(v >> 5 & 7, 3), widen(v >> 2 & 7, 3), widen(v & 3, 2));
        }
        case Format::A8:
            return argb(b[0], 0, 0, 0);
        case Format::L8:
            return argb(255, b[0], b[0], b[0]);
        case Format::A8L8:
            return argb(b[1], b[0], b[0], b[0]);
        case Format::A4L4: {
            const uint32_t l = widen(b[0] & 0xF, 4);
            return argb(widen(b[0] >> 4, 4), l, l, l);
        }
        default:
            return 0;
    }
}

void encodePixel(Format format, uint32_t value, void* pixel) {
    auto* b = static_cast<uint8_t*>(pixel);
    const uint32_t a = value >> 24, r = value >> 16 & 0xFF, g = value >> 8 & 0xFF,
                   bl = value & 0xFF;
    // Luminance by the usual weights of red, green and blue.
    const uint32_t l = (r * 299 + g * 587 + bl * 114 + 500) / 1000;
    switch (format) {
        case Format::A8R8G8B8:
            store32(pixel, value);
            break;
        case Format::X8R8G8B8:
            store32(pixel, value | 0xFF000000u);
            break;
        case Format::A8B8G8R8:
            store32(pixel, a << 24 | bl << 16 | g << 8 | r);
            break;
        case Format::X8B8G8R8:
            store32(pixel, 0xFF000000u | bl << 16 | g << 8 | r);
            break;
        case Format::R5G6B5:
            store16(pixel, narrow(r, 5) << 11 | narrow(g, 6) << 5 | narrow(bl, 5));
            break;
        case Format::X1R5G5B5:
        case Format::A1R5G5B5: {
            const uint32_t top = format == Format::A1R5G5B5 ? narrow(a, 1) : 1;
            store16(pixel, top << 15 | narrow(r, 5) << 10 | narrow(g, 5) << 5 | narrow(bl, 5));
            break;
        }
        case Format::A4R4G4B4:
        case Format::X4R4G4B4: {
            const uint32_t top = format == Format::A4R4G4B4 ? narrow(a, 4) : 0xF;
            store16(pixel, top << 12 | narrow(r, 4) << 8 | narrow(g, 4) << 4 | narrow(bl, 4));
            break;
        }
        case Format::A8R3G3B2:
            store16(pixel, a << 8 | narrow(r, 3) << 5 | narrow(g, 3) << 2 | narrow(bl, 2));
            break;
        case Format::R3G3B2:
            b[0] = static_cast<uint8_t>(narrow(r, 3) << 5 | narrow(g, 3) << 2 | narrow(bl, 2));
            break;
        case Format::A8:
            b[0] = static_cast<uint8_t>(a);
            break;
        case Format::L8:
            b[0] = static_cast<uint8_t>(l);
            break;
        case Format::A8L8:
            b[0] = static_cast<uint8_t>(l);
            b[1] = static_cast<uint8_t>(a);
            break;
        case Format::A4L4:
            b[0] = static_cast<uint8_t>(narrow(a, 4) << 4 | narrow(l, 4));
            break;
        default:
            break;
    }
}

}  // namespace plat::gfx
