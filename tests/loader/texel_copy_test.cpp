#include "render/facility/texel_copy.h"

#include <gtest/gtest.h>

#include "bmp_writer.h"
#include "render/facility/bmp_reader.h"
#include "render/facility/format_choice.h"

using namespace texload;
using bmptest::BmpFile;
using bmptest::Bytes;
using bmptest::pixelRow;

namespace {

constexpr uint32_t kKey = 0xFF000000;

struct Level {
    Bytes bytes;
    LevelView view;
    Level(uint32_t w, uint32_t h, Format f) : bytes(size_t{w} * h * bytesPerPixel(f), 0xCD) {
        view = LevelView{bytes.data(), w, h, w * bytesPerPixel(f), f};
    }
    uint32_t texel32(uint32_t x, uint32_t y) const {
        const uint8_t* p = view.row(y) + x * 4;
        return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) |
               (uint32_t{p[3]} << 24);
    }
    uint16_t texel16(uint32_t x, uint32_t y) const {
        const uint8_t* p = view.row(y) + x * 2;
        return static_cast<uint16_t>(p[0] | (p[1] << 8));
    }
};

DecodedImage decode(const BmpFile& f) {
    const Bytes file = bmptest::writeBmp(f);
    DecodedImage image;
    EXPECT_EQ(readBmp(file.data(), file.size(), image), kOk);
    return image;
}

// A 24-bit image whose pixel (x, y) is 0xRRGGBB = (x, y, x ^ y) in the low bits, with pixel
// (5, 7) pure black and (6, 7) = (0, 0, 1).
uint32_t patternPixel(uint32_t x, uint32_t y) {
    if (x == 5 && y == 7) return 0;
    if (x == 6 && y == 7) return 1;
    return ((x & 0xFF) << 16) | ((y & 0xFF) << 8) | ((x ^ y) & 0xFF) | 0x010101;
}

}  // namespace

// 320 x 240 keyed into a 512 x 256 A8R8G8B8 level: the image at the top-left, unscaled, with
// full alpha; black keyed to (0, 0, 0, 0); (0, 0, 1) opaque; transparent black elsewhere.
TEST(TexelCopy, Image320x240FillsTheTopLeftOf512x256) {
    BmpFile f;
    f.width = 320;
    f.height = 240;
    std::vector<Bytes> rows;
    for (uint32_t y = 0; y < 240; ++y) {
        std::vector<uint32_t> values;
        for (uint32_t x = 0; x < 320; ++x) values.push_back(patternPixel(x, y));
        rows.push_back(pixelRow(values, 3));
    }
    f.pixels = bmptest::packRows(rows, false);
    const DecodedImage image = decode(f);
    const Format format = textureFormatFor(image.format, true, false);
    ASSERT_EQ(format, Format::A8R8G8B8);
    Level level(512, 256, format);
    copyImageToLevel(image, kKey, level.view);

    int mismatches = 0;
    for (uint32_t y = 0; y < 256; ++y) {
        for (uint32_t x = 0; x < 512; ++x) {
            uint32_t expected = 0;
            if (x < 320 && y < 240) {
                const uint32_t p = patternPixel(x, y);
                expected = p == 0 ? 0 : (0xFF000000 | p);
            }
            if (level.texel32(x, y) != expected) ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(level.texel32(5, 7), 0u);
    EXPECT_EQ(level.texel32(6, 7), 0xFF000001u);
    EXPECT_EQ(level.texel32(319, 239), 0xFF000000u | patternPixel(319, 239));
    EXPECT_EQ(level.texel32(320, 0), 0u);
    EXPECT_EQ(level.texel32(0, 240), 0u);
}

// What the key 0xFF000000 turns transparent in each kind of image.
TEST(TexelCopy, KeyReducedToTheImageFormat) {
    struct Case {
        const char* what;
        uint16_t bits;
        uint32_t pixel;
        bool keyed;
    };
    const Case cases[] = {
        {"24-bit black", 24, 0x000000, true},
        {"24-bit (0, 0, 1)", 24, 0x000001, false},
        {"24-bit (1, 0, 0)", 24, 0x010000, false},
        {"32-bit alpha image, black at alpha 255", 32, 0xFF000000, true},
        {"32-bit alpha image, black at alpha 128", 32, 0x80000000, false},
        {"16-bit 5-5-5 black", 16, 0x0000, true},
        {"16-bit 5-5-5 black with the top bit set", 16, 0x8000, true},
        {"16-bit 5-5-5 lowest blue", 16, 0x0001, false},
    };
    for (const Case& c : cases) {
        BmpFile f;
        f.bits = c.bits;
        f.width = 2;
        f.height = 1;
        // The second pixel gives a 32-bit image its alpha.
        f.pixels = bmptest::packRows({pixelRow({c.pixel, 0xFF102030}, c.bits / 8)}, false);
        const DecodedImage image = decode(f);
        const Format format = textureFormatFor(image.format, true, false);
        Level level(2, 1, format);
        copyImageToLevel(image, kKey, level.view);
        const Rgba got = decodePixel(format, level.view.row(0));
        if (c.keyed) {
            EXPECT_EQ(got, (Rgba{0, 0, 0, 0})) << c.what;
        } else {
            EXPECT_GT(got.a, 0.0f) << c.what;
            EXPECT_NE(got, (Rgba{0, 0, 0, 0})) << c.what;
        }
    }
}

TEST(TexelCopy, FiveFiveFiveKeepsItsBitsInA1R5G5B5) {
    BmpFile f;
    f.bits = 16;
    f.width = 3;
    f.height = 1;
    f.pixels = bmptest::packRows({pixelRow({0x0000, 0x7C01, 0x1234}, 2)}, false);
    const DecodedImage image = decode(f);
    const Format format = textureFormatFor(image.format, true, false);
    ASSERT_EQ(format, Format::A1R5G5B5);
    Level level(4, 1, format);
    copyImageToLevel(image, kKey, level.view);
    EXPECT_EQ(level.texel16(0, 0), 0x0000);
    EXPECT_EQ(level.texel16(1, 0), 0xFC01);
    EXPECT_EQ(level.texel16(2, 0), 0x9234);
    EXPECT_EQ(level.texel16(3, 0), 0x0000);
}

// Palette: black entries are keyed, the format is A8R8G8B8, and every index of a keyed entry
// is transparent; no key match leaves X8R8G8B8.
TEST(TexelCopy, PaletteBlackEntriesAreKeyed) {
    BmpFile f;
    f.bits = 8;
    f.coloursUsed = 4;
    f.colourTable = {0x000000, 0x000001, 0x000000, 0xFFFFFF};
    f.width = 5;
    f.height = 1;
    f.pixels = bmptest::packRows({{0, 1, 2, 3, 200}}, false);
    DecodedImage image = decode(f);
    const bool alpha = keyPalette(image.palette, kKey);
    EXPECT_TRUE(alpha);
    EXPECT_EQ(image.palette[0], (PaletteEntry{0, 0, 0, 0}));
    EXPECT_EQ(image.palette[2], (PaletteEntry{0, 0, 0, 0}));
    EXPECT_EQ(image.palette[1], (PaletteEntry{0, 0, 1, 255}));
    const Format format = textureFormatFor(image.format, true, alpha);
    ASSERT_EQ(format, Format::A8R8G8B8);
    Level level(8, 1, format);
    copyImageToLevel(image, kKey, level.view);
    EXPECT_EQ(level.texel32(0, 0), 0u);
    EXPECT_EQ(level.texel32(1, 0), 0xFF000001u);
    EXPECT_EQ(level.texel32(2, 0), 0u);
    EXPECT_EQ(level.texel32(3, 0), 0xFFFFFFFFu);
    EXPECT_EQ(level.texel32(4, 0), 0xFFFFFFFFu);  // beyond the colour table: white
    EXPECT_EQ(level.texel32(5, 0), 0u);

    f.colourTable = {0x010101, 0x000001, 0x202020, 0xFFFFFF};
    image = decode(f);
    EXPECT_FALSE(keyPalette(image.palette, kKey));
    EXPECT_EQ(textureFormatFor(image.format, true, false), Format::X8R8G8B8);
}

// Without a key nothing turns transparent.
TEST(TexelCopy, NoKeyKeepsBlackOpaque) {
    BmpFile f;
    f.width = 1;
    f.height = 1;
    f.pixels = {0, 0, 0, 0};
    const DecodedImage image = decode(f);
    Level level(1, 1, Format::A8R8G8B8);
    copyImageToLevel(image, kNoColourKey, level.view);
    EXPECT_EQ(level.texel32(0, 0), 0xFF000000u);
}

// An image larger than the level loses what lies beyond it.
TEST(TexelCopy, PixelsBeyondTheLevelAreDropped) {
    BmpFile f;
    f.bits = 32;
    f.width = 3;
    f.height = 3;
    std::vector<Bytes> rows;
    for (uint32_t y = 0; y < 3; ++y) rows.push_back(pixelRow({y * 3 + 1, y * 3 + 2, y * 3 + 3}, 4));
    f.pixels = bmptest::packRows(rows, true);
    f.height = -3;
    const DecodedImage image = decode(f);
    Level level(2, 2, Format::X8R8G8B8);
    copyImageToLevel(image, kKey, level.view);
    EXPECT_EQ(level.texel32(0, 0), 1u);
    EXPECT_EQ(level.texel32(1, 0), 2u);
    EXPECT_EQ(level.texel32(0, 1), 4u);
    EXPECT_EQ(level.texel32(1, 1), 5u);
}

// Float images convert by the nearest step: x * 255 + 0.5, truncated.
TEST(TexelCopy, FloatImagesRoundToTheNearestStep) {
    DecodedImage image;
    image.format = Format::A32B32G32R32F;
    image.width = 1;
    image.height = 1;
    image.pitch = 16;
    image.pixels.resize(16);
    encodePixel(image.format, Rgba{0.5f, 1.0f / 255.0f * 0.49f, 2.0f, -1.0f}, image.pixels.data());
    Level level(1, 1, Format::A8R8G8B8);
    copyImageToLevel(image, kKey, level.view);
    // Red 127.5 + 0.5 -> 128, green under half a step -> 0, blue clamped to 255, alpha to 0.
    EXPECT_EQ(level.texel32(0, 0), 0x008000FFu);
}
