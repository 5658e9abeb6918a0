#include "game/scenery.h"

#include "game_fixture.h"

namespace {

using SceneryTest = GameTest;

struct ColumnCase {
    int32_t scrollX;
    int first, last;  // columns 0 and 10
};

TEST_F(SceneryTest, ColumnsScrollWithTheCameraAndWrap) {
    const ColumnCase cases[] = {{0, -32, 288}, {-16, -16, 304}, {-640, 256, 224}, {-288, 256, 224}};
    for (const ColumnCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "scrollX " << c.scrollX);
        scrollX = c.scrollX;
        EXPECT_EQ(sceneryColumnX(0), c.first);
        EXPECT_EQ(sceneryColumnX(10), c.last);
        // The 11 columns sit 32 apart modulo 352 and cover the whole width.
        bool covered[320] = {};
        for (int i = 0; i < 11; ++i) {
            const int x = sceneryColumnX(i);
            ASSERT_GE(x, -32);
            ASSERT_LE(x, 319);
            EXPECT_EQ(((x + 32) - (32 * i - c.scrollX)) % 352, 0);
            for (int p = x; p < x + 32; ++p)
                if (p >= 0 && p < 320) covered[p] = true;
        }
        for (int p = 0; p < 320; ++p) ASSERT_TRUE(covered[p]) << p;
    }
    scrollX = -640;
    int at640[11];
    for (int i = 0; i < 11; ++i) at640[i] = sceneryColumnX(i);
    scrollX = -288;
    for (int i = 0; i < 11; ++i) EXPECT_EQ(sceneryColumnX(i), at640[i]);
}

// Every call advances the clock, whichever the layer; 39 wraps to 0 and draws phase 0.
TEST_F(SceneryTest, EveryCallAdvancesTheWaveClock) {
    waveTick = 10;
    drawScenery(0);
    EXPECT_EQ(waveTick, 11);
    drawScenery(1);
    EXPECT_EQ(waveTick, 12);
    drawScenery(7);  // any non-zero layer is the front
    EXPECT_EQ(waveTick, 13);
    waveTick = 39;
    drawScenery(1);
    EXPECT_EQ(waveTick, 0);
    EXPECT_EQ(surfaceFrame(0, 0), 0);
}

// Neighbouring columns one frame apart, the three rows two frames apart, the phase from
// waveTick / 5.
TEST_F(SceneryTest, SurfaceFrames) {
    waveTick = 0;
    EXPECT_EQ(surfaceFrame(0, 0), 0);
    EXPECT_EQ(surfaceFrame(0, 1), 2);
    EXPECT_EQ(surfaceFrame(0, 2), 4);
    EXPECT_EQ(surfaceFrame(7, 2), 3);
    waveTick = 4;
    EXPECT_EQ(surfaceFrame(3, 0), 3);
    waveTick = 5;
    EXPECT_EQ(surfaceFrame(3, 0), 4);
    waveTick = 39;
    EXPECT_EQ(surfaceFrame(10, 1), (7 + 10 + 2) % 8);
}

}  // namespace
