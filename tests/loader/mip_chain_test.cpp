#include "render/facility/mip_chain.h"

#include <gtest/gtest.h>

#include <vector>

using namespace texload;

TEST(MipChain, OneLevelPerHalvingOfTheLongerSide) {
    struct Case {
        uint32_t w, h, levels;
    };
    const Case cases[] = {{512, 256, 10}, {256, 256, 9}, {1, 1, 1},
                          {2, 1, 2},      {1, 8, 4},     {16384, 2, 15}};
    for (const Case& c : cases) EXPECT_EQ(fullMipCount(c.w, c.h), c.levels) << c.w << "x" << c.h;
    EXPECT_EQ(mipSize(256, 9), 1u);
    EXPECT_EQ(mipSize(256, 3), 32u);
    EXPECT_EQ(mipSize(1, 40), 1u);
}

TEST(MipChain, BoxFilterAveragesEachBlock) {
    // 4 x 2 A8R8G8B8: blocks (0..1) and (2..3).
    std::vector<uint32_t> src = {0xFF000000, 0xFF0000FF, 0x00000000, 0xFFFFFFFF,
                                 0xFF00FF00, 0xFFFF0000, 0x00000000, 0xFFFFFFFF};
    std::vector<uint32_t> dst(2, 0xCDCDCDCD);
    const LevelView s{reinterpret_cast<uint8_t*>(src.data()), 4, 2, 16, Format::A8R8G8B8};
    const LevelView d{reinterpret_cast<uint8_t*>(dst.data()), 2, 1, 8, Format::A8R8G8B8};
    boxFilterLevel(s, d);
    // Each of red, green, blue 255 in one of four texels: 63.75 -> 64.
    EXPECT_EQ(dst[0], 0xFF404040u);
    // Two transparent, two opaque white: 127.5 -> 128.
    EXPECT_EQ(dst[1], 0x80808080u);
}

TEST(MipChain, ThinLevelsAverageTwoTexels) {
    std::vector<uint16_t> column = {0x7C00, 0x0000, 0x001F, 0x001F};  // X1R5G5B5, 1 x 4
    std::vector<uint16_t> half(2, 0xCDCD);
    const LevelView s{reinterpret_cast<uint8_t*>(column.data()), 1, 4, 2, Format::X1R5G5B5};
    const LevelView d{reinterpret_cast<uint8_t*>(half.data()), 1, 2, 2, Format::X1R5G5B5};
    boxFilterLevel(s, d);
    EXPECT_EQ(half[0], 0x4000);  // red 15.5 -> 16
    EXPECT_EQ(half[1], 0x001F);
}
