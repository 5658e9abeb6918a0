#pragma once
// The pixel formats the texture loader reads and writes, their bit layouts, and the conversion
// of one pixel to and from red, green, blue and alpha values between 0 and 1.

#include <cstdint>

namespace texload {

// Bit layouts follow the usual naming: the first channel named holds the highest bits of the
// little-endian pixel value (A8R8G8B8 keeps blue in byte 0, alpha in byte 3).
enum class Format : uint8_t {
    Unknown,
    R8G8B8,
    A8R8G8B8,
    X8R8G8B8,
    R5G6B5,
    X1R5G5B5,
    A1R5G5B5,
    A4R4G4B4,
    R3G3B2,
    A8,
    A8R3G3B2,
    X4R4G4B4,
    A2B10G10R10,
    A8B8G8R8,
    X8B8G8R8,
    G16R16,
    A2R10G10B10,
    A16B16G16R16,
    P8,  // one 8-bit palette index per pixel
    L8,
    A8L8,
    A4L4,
    L16,
    A32B32G32R32F,  // four 32-bit floats in the order red, green, blue, alpha
};

// One channel: `bits` wide (0: absent), starting at bit `shift` of the pixel value.
struct Channel {
    uint8_t shift = 0;
    uint8_t bits = 0;
};

struct FormatInfo {
    const char* name;
    uint8_t bytesPerPixel;
    Channel alpha, red, green, blue;  // luminance formats keep their one colour channel in `red`
    bool luminance;
    bool floating;  // A32B32G32R32F
    bool palette;   // P8
};

const FormatInfo& formatInfo(Format format);
inline uint8_t bytesPerPixel(Format format) {
    return formatInfo(format).bytesPerPixel;
}

// Bits per channel as the format-choice rule counts them: luminance counts in all three colour
// channels.
struct ChannelBits {
    int alpha = 0, red = 0, green = 0, blue = 0;
};
ChannelBits channelBits(Format format);

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// Decodes one pixel. A missing alpha channel reads 1; a missing colour channel reads 1 too,
// except that red, green and blue all read 0 in a format that has none of them (A8).
// Luminance gives red = green = blue. Not for P8 (indices go through a palette).
Rgba decodePixel(Format format, const uint8_t* pixel);
// Encodes one pixel, each channel clamped to [0, 1] and taken to the nearest step
// (value * max + 0.5, truncated). Bits of no channel are written as 0. Not for P8.
void encodePixel(Format format, const Rgba& colour, uint8_t* pixel);

}  // namespace texload
