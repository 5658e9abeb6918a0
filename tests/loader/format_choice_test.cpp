#include "render/facility/format_choice.h"

#include <gtest/gtest.h>

using namespace texload;

namespace {

ChannelBits withAlphaBit(Format f) {
    ChannelBits b = channelBits(f);
    b.alpha = 1;
    return b;
}

}  // namespace

// The stated results of the nearest-format rule for keyed images.
TEST(FormatChoice, KeyedImagesTakeTheNearestFormatWithAnAlphaBit) {
    struct Case {
        Format image;
        Format expected;
        uint32_t cost;
    };
    const Case cases[] = {
        {Format::R8G8B8, Format::A8R8G8B8, 7},   {Format::X8R8G8B8, Format::A8R8G8B8, 7},
        {Format::X1R5G5B5, Format::A1R5G5B5, 0}, {Format::R5G6B5, Format::A8R8G8B8, 15},
        {Format::X4R4G4B4, Format::A1R5G5B5, 3},  // ties with A4R4G4B4; list order decides
        {Format::X8B8G8R8, Format::A8R8G8B8, 7},  // ties with A8B8G8R8; list order decides
    };
    for (const Case& c : cases) {
        EXPECT_EQ(textureFormatFor(c.image, true, false), c.expected) << formatInfo(c.image).name;
        EXPECT_EQ(formatCost(withAlphaBit(c.image), c.expected), c.cost)
            << formatInfo(c.image).name;
    }
}

TEST(FormatChoice, CostsAgainstTheRunnersUp) {
    const ChannelBits rgb8 = withAlphaBit(Format::R8G8B8);
    // Ties at 7 lose on list order.
    EXPECT_EQ(formatCost(rgb8, Format::A2B10G10R10), 7u);
    EXPECT_EQ(formatCost(rgb8, Format::A8B8G8R8), 7u);
    EXPECT_EQ(formatCost(rgb8, Format::A2R10G10B10), 7u);
    // X8R8G8B8 lacks the wanted alpha.
    EXPECT_EQ(formatCost(rgb8, Format::X8R8G8B8), 1u << 24);
    // R5G6B5 with an alpha bit: A1R5G5B5 is one green bit short.
    EXPECT_EQ(formatCost(withAlphaBit(Format::R5G6B5), Format::A1R5G5B5), 1u << 16);
    // A channel present but not wanted costs 256: A8R8G8B8 for plain R8G8B8.
    EXPECT_EQ(formatCost(channelBits(Format::R8G8B8), Format::A8R8G8B8), 256u);
    // G16R16 has no blue: luminance L16 wanted in full loses blue.
    EXPECT_EQ(formatCost(channelBits(Format::L16), Format::G16R16), 1u << 24);
}

TEST(FormatChoice, CandidateWithNoWantedChannelIsRefused) {
    ChannelBits alphaOnly;
    alphaOnly.alpha = 8;
    EXPECT_FALSE(formatCost(alphaOnly, Format::R5G6B5).has_value());
    EXPECT_FALSE(formatCost(alphaOnly, Format::L8).has_value());
    EXPECT_EQ(formatCost(alphaOnly, Format::A8), 0u);
    EXPECT_EQ(nearestFormat(alphaOnly, false), Format::A8);
}

TEST(FormatChoice, UnkeyedOrAlphaImagesKeepTheirFormat) {
    EXPECT_EQ(textureFormatFor(Format::R8G8B8, false, false), Format::X8R8G8B8);
    EXPECT_EQ(textureFormatFor(Format::X1R5G5B5, false, false), Format::X1R5G5B5);
    EXPECT_EQ(textureFormatFor(Format::A8R8G8B8, true, false), Format::A8R8G8B8);
    EXPECT_EQ(textureFormatFor(Format::A4R4G4B4, true, false), Format::A4R4G4B4);
    EXPECT_EQ(textureFormatFor(Format::A32B32G32R32F, true, false), Format::A32B32G32R32F);
}

TEST(FormatChoice, PaletteImagesTakeAlphaOnlyWhenAnEntryHasIt) {
    EXPECT_EQ(textureFormatFor(Format::P8, true, true), Format::A8R8G8B8);
    EXPECT_EQ(textureFormatFor(Format::P8, true, false), Format::X8R8G8B8);
}

TEST(FormatChoice, LuminanceImagesMayTakeLuminanceFormats) {
    // L16 with an alpha bit: A16B16G16R16 (15 extra alpha bits) beats every luminance format.
    EXPECT_EQ(textureFormatFor(Format::L16, true, false), Format::A16B16G16R16);
    // Without the luminance candidates, the grey picture needs three colour channels.
    EXPECT_EQ(nearestFormat(channelBits(Format::L8), false), Format::X8R8G8B8);
}

// The device filter: the nearest allowed format wins, Unknown when nothing is allowed.
TEST(FormatChoice, FilterExcludesFormats) {
    const ChannelBits wanted = withAlphaBit(Format::R8G8B8);
    auto noA8R8G8B8 = [](Format f, const void*) { return f != Format::A8R8G8B8; };
    EXPECT_EQ(nearestFormat(wanted, false, noA8R8G8B8), Format::A2B10G10R10);
    auto only16 = [](Format f, const void*) { return bytesPerPixel(f) == 2; };
    // 16-bit: A1R5G5B5 (3 bits short a channel, 3 * 2^16) beats A4R4G4B4 (4 short each).
    EXPECT_EQ(nearestFormat(wanted, false, only16), Format::A1R5G5B5);
    auto nothing = [](Format, const void*) { return false; };
    EXPECT_EQ(nearestFormat(wanted, false, nothing), Format::Unknown);
}

// Among equal costs the smaller pixel wins, then the list order.
TEST(FormatChoice, EqualCostsGoToTheSmallerPixelThenTheListOrder) {
    // Grey 8-bit: X8R8G8B8 (earlier in the list, 4 bytes) and L8 (1 byte) both cost 0.
    EXPECT_EQ(formatCost(channelBits(Format::L8), Format::X8R8G8B8), 0u);
    EXPECT_EQ(nearestFormat(channelBits(Format::L8), true), Format::L8);
    // X8R8G8B8 and X8B8G8R8 tie at cost 0 with the same size: the earlier one wins.
    EXPECT_EQ(nearestFormat(channelBits(Format::X8B8G8R8), false), Format::X8R8G8B8);
}
