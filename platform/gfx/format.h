#pragma once
// Pixel formats of textures and back buffers, and how each one is laid out.

#include <cstdint>

namespace plat::gfx {

enum class Format : uint8_t {
    Unknown,
    // 32-bit colour
    A8R8G8B8,
    X8R8G8B8,
    A8B8G8R8,
    X8B8G8R8,
    A2R10G10B10,
    A2B10G10R10,
    G16R16,
    // 24-bit colour (an image format; never a texture)
    R8G8B8,
    // 16-bit colour
    R5G6B5,
    X1R5G5B5,
    A1R5G5B5,
    A4R4G4B4,
    X4R4G4B4,
    A8R3G3B2,
    // 8-bit colour
    R3G3B2,
    A8,
    // luminance
    L8,
    A8L8,
    A4L4,
    L16,
    // palette indices
    P8,
    A8P8,
    // wide and float
    A16B16G16R16,
    A32B32G32R32F,
    // block-compressed
    DXT1,
    DXT2,
    DXT3,
    DXT4,
    DXT5,
    // depth
    D16,
    Count
};

// Bits per channel and per pixel. Luminance formats count their luminance bits in red, green
// and blue and set `luminance`.
struct FormatInfo {
    uint8_t bitsPerPixel = 0;
    uint8_t alphaBits = 0;
    uint8_t redBits = 0;
    uint8_t greenBits = 0;
    uint8_t blueBits = 0;
    bool luminance = false;
    bool palette = false;
    bool compressed = false;  // DXT: stored in 4 x 4 blocks
};

FormatInfo formatInfo(Format format);
// Bytes of one pixel (0 for block-compressed and unknown formats).
int bytesPerPixel(Format format);
// A short name such as "A8R8G8B8", for messages and test output.
const char* formatName(Format format);

// Whether the device can sample and lock textures of this format (then the two conversions
// below handle it).
bool isTextureFormat(Format format);
// One pixel of a texture format to 0xAARRGGBB (a format without alpha gives alpha 0xFF;
// luminance repeats in red, green and blue). Channels widen by repeating their top bits.
uint32_t decodePixel(Format format, const void* pixel);
// 0xAARRGGBB to one pixel of a texture format, each channel rounded to the nearest step.
void encodePixel(Format format, uint32_t argb, void* pixel);

}  // namespace plat::gfx
