#include "render/facility/pixel_format.h"

#include <cstddef>
#include <cstring>

namespace texload {

namespace {

constexpr Channel ch(int shift, int bits) {
    return Channel{static_cast<uint8_t>(shift), static_cast<uint8_t>(bits)};
}
constexpr Channel none{};

// Indexed by Format.
constexpr FormatInfo kFormats[] = {
    {"Unknown", 0, none, none, none, none, false, false, false},
    {"R8G8B8", 3, none, ch(16, 8), ch(8, 8), ch(0, 8), false, false, false},
    {"A8R8G8B8", 4, ch(24, 8), ch(16, 8), ch(8, 8), ch(0, 8), false, false, false},
    {"X8R8G8B8", 4, none, ch(16, 8), ch(8, 8), ch(0, 8), false, false, false},
    {"R5G6B5", 2, none, ch(11, 5), ch(5, 6), ch(0, 5), false, false, false},
    {"X1R5G5B5", 2, none, ch(10, 5), ch(5, 5), ch(0, 5), false, false, false},
    {"A1R5G5B5", 2, ch(15, 1), ch(10, 5), ch(5, 5), ch(0, 5), false, false, false},
    {"A4R4G4B4", 2, ch(12, 4), ch(8, 4), ch(4, 4), ch(0, 4), false, false, false},
    {"R3G3B2", 1, none, ch(5, 3), ch(2, 3), ch(0, 2), false, false, false},
    {"A8", 1, ch(0, 8), none, none, none, false, false, false},
    {"A8R3G3B2", 2, ch(8, 8), ch(5, 3), ch(2, 3), ch(0, 2), false, false, false},
    {"X4R4G4B4", 2, none, ch(8, 4), ch(4, 4), ch(0, 4), false, false, false},
    {"A2B10G10R10", 4, ch(30, 2), ch(0, 10), ch(10, 10), ch(20, 10), false, false, false},
    {"A8B8G8R8", 4, ch(24, 8), ch(0, 8), ch(8, 8), ch(16, 8), false, false, false},
    {"X8B8G8R8", 4, none, ch(0, 8), ch(8, 8), ch(16, 8), false, false, false},
    {"G16R16", 4, none, ch(0, 16), ch(16, 16), none, false, false, false},
    {"A2R10G10B10", 4, ch(30, 2), ch(20, 10), ch(10, 10), ch(0, 10), false, false, false},
    {"A16B16G16R16", 8, ch(48, 16), ch(0, 16), ch(16, 16), ch(32, 16), false, false, false},
    {"P8", 1, none, none, none, none, false, false, true},
    {"L8", 1, none, ch(0, 8), none, none, true, false, false},
    {"A8L8", 2, ch(8, 8), ch(0, 8), none, none, true, false, false},
    {"A4L4", 1, ch(4, 4), ch(0, 4), none, none, true, false, false},
    {"L16", 2, none, ch(0, 16), none, none, true, false, false},
    {"A32B32G32R32F", 16, ch(0, 32), ch(0, 32), ch(0, 32), ch(0, 32), false, true, false},
};
static_assert(sizeof(kFormats) / sizeof(kFormats[0]) ==
              static_cast<size_t>(Format::A32B32G32R32F) + 1);

uint64_t loadValue(const uint8_t* p, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

void storeValue(uint64_t v, uint8_t* p, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        p[i] = static_cast<uint8_t>(v & 0xFF);
        v >>= 8;
    }
}

uint64_t maxOf(Channel c) {
    return (uint64_t{1} << c.bits) - 1;
}

float readChannel(uint64_t v, Channel c) {
    return static_cast<float>(static_cast<double>((v >> c.shift) & maxOf(c)) /
                              static_cast<double>(maxOf(c)));
}

uint64_t writeChannel(float value, Channel c) {
    if (c.bits == 0) return 0;
    // NaN counts as 0.
    const double clamped = !(value > 0.0f) ? 0.0 : (value >= 1.0f ? 1.0 : value);
    const auto step = static_cast<uint64_t>(clamped * static_cast<double>(maxOf(c)) + 0.5);
    return step << c.shift;
}

}  // namespace

const FormatInfo& formatInfo(Format format) {
    const auto i = static_cast<size_t>(format);
    return i < sizeof(kFormats) / sizeof(kFormats[0]) ? kFormats[i] : kFormats[0];
}

ChannelBits channelBits(Format format) {
    const FormatInfo& f = formatInfo(format);
    ChannelBits bits;
    bits.alpha = f.alpha.bits;
    bits.red = f.red.bits;
    bits.green = f.luminance ? f.red.bits : f.green.bits;
    bits.blue = f.luminance ? f.red.bits : f.blue.bits;
    return bits;
}

Rgba decodePixel(Format format, const uint8_t* pixel) {
    const FormatInfo& f = formatInfo(format);
    Rgba out;
    if (f.floating) {
        std::memcpy(&out.r, pixel, 4);
        std::memcpy(&out.g, pixel + 4, 4);
        std::memcpy(&out.b, pixel + 8, 4);
        std::memcpy(&out.a, pixel + 12, 4);
        return out;
    }
    const uint64_t v = loadValue(pixel, f.bytesPerPixel);
    out.a = f.alpha.bits ? readChannel(v, f.alpha) : 1.0f;
    if (f.luminance) {
        out.r = out.g = out.b = readChannel(v, f.red);
        return out;
    }
    const bool noColour = !f.red.bits && !f.green.bits && !f.blue.bits;
    const float missing = noColour ? 0.0f : 1.0f;
    out.r = f.red.bits ? readChannel(v, f.red) : missing;
    out.g = f.green.bits ? readChannel(v, f.green) : missing;
    out.b = f.blue.bits ? readChannel(v, f.blue) : missing;
    return out;
}

void encodePixel(Format format, const Rgba& colour, uint8_t* pixel) {
    const FormatInfo& f = formatInfo(format);
    if (f.floating) {
        std::memcpy(pixel, &colour.r, 4);
        std::memcpy(pixel + 4, &colour.g, 4);
        std::memcpy(pixel + 8, &colour.b, 4);
        std::memcpy(pixel + 12, &colour.a, 4);
        return;
    }
    uint64_t v = writeChannel(colour.a, f.alpha);
    if (f.luminance) {
        // Rec. 709 weights; they sum to 1, so a grey colour keeps its value.
        v |= writeChannel(0.2126f * colour.r + 0.7152f * colour.g + 0.0722f * colour.b, f.red);
    } else {
        v |= writeChannel(colour.r, f.red) | writeChannel(colour.g, f.green) |
             writeChannel(colour.b, f.blue);
    }
    storeValue(v, pixel, f.bytesPerPixel);
}

}  // namespace texload
