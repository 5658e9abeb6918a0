#include "game/draw_order.h"

#include "game_fixture.h"

namespace {

using DrawOrderTest = GameTest;

// Marks entries 0..n-1 as drawn this frame with the given depths, as the update pass leaves them.
void prepare(std::initializer_list<float> depths) {
    for (int i = 0; i < kObjectCount; ++i) {
        objects[i].placed = true;
        drawOrder[i] = -1;
    }
    visibleCount = 0;
    int i = 0;
    for (float z : depths) {
        objects[i].z = z;
        objects[i].placed = false;
        ++i;
        ++visibleCount;
    }
}

std::vector<int32_t> order() {
    std::vector<int32_t> v;
    for (int n = 0; n < kObjectCount && drawOrder[n] != -1; ++n) v.push_back(drawOrder[n]);
    return v;
}

struct OrderCase {
    std::initializer_list<float> depths;
    std::vector<int32_t> expected;
};

// Lower depth first; equal depths in entry order; depths compared truncated toward zero.
TEST_F(DrawOrderTest, OrdersByTruncatedDepthThenEntry) {
    const OrderCase cases[] = {
        {{0, 0, 0}, {0, 1, 2}},
        {{1, 0, 1, 0, 0, 1}, {1, 3, 4, 0, 2, 5}},
        {{0.9f, 0, 1.5f, -0.5f}, {0, 1, 3, 2}},  // 0.9 and -0.5 truncate to 0
        {{3, -2, 1}, {1, 2, 0}},
    };
    for (const OrderCase& c : cases) {
        prepare(c.depths);
        orderByDepth();
        EXPECT_EQ(order(), c.expected);
        for (int i = 0; i < kObjectCount; ++i) EXPECT_TRUE(objects[i].placed);
    }
}

TEST_F(DrawOrderTest, NothingVisibleLeavesTheOrderEmpty) {
    startGame();
    updateObjects();  // the submarine
    objects[0].visible = false;
    killObject(0);
    updateObjects();
    orderByDepth();
    EXPECT_EQ(visibleCount, 0);
    for (int32_t k : drawOrder) ASSERT_EQ(k, -1);
}

// A depth past 1024 cannot be ordered; the ordering still ends.
TEST_F(DrawOrderTest, DepthBeyond1024IsNeverPlacedAndTheOrderingStops) {
    prepare({2000, 0});
    orderByDepth();
    EXPECT_EQ(order(), std::vector<int32_t>{1});
    EXPECT_FALSE(objects[0].placed);
}

// In play: explosions and the bubbles they throw are drawn after every depth-0 object, whatever
// their entries; the submarine is drawn first among depth 0; invisible objects are not drawn.
TEST_F(DrawOrderTest, ExplosionsAndTheirBubblesDrawAfterEveryDepth0Object) {
    startGame();
    pressedInput.buttonB = 1;  // explosion in entry 1
    updateObjects();
    pressedInput.buttonB = 0;
    const int piranha = placePiranha(-200, -150, 1);                             // entry 2
    const int torpedo = spawn(100, -60, 0, kindTorpedo, teamTorpedo, false, 0);  // entry 3
    for (int frame = 0; frame < 4; ++frame) updateObjects();
    orderByDepth();  // the explosion has thrown its first bubble into entry 4
    ASSERT_EQ(objects[4].kind, kindBubble);
    EXPECT_EQ(order(), (std::vector<int32_t>{0, piranha, torpedo, 1, 4}));

    // A blinking submarine is left out on its hidden updates.
    sunk = true;
    sinkFrames = 100;
    updateObjects();
    orderByDepth();
    EXPECT_FALSE(objects[0].visible);
    EXPECT_EQ(order().front(), piranha);
}

struct SpriteCase {
    float x, y, z, scale;
    int32_t srcWidth, srcHeight, scrollX;
    float left, top;
};

// The centre lands at column x - scrollX and row z - y - scrollY; the rotation centre is half
// the scaled size.
TEST_F(DrawOrderTest, ScreenPositionFromTheCamera) {
    const SpriteCase cases[] = {
        {0, -120, 0, 1, 62, 30, -160, 129, 105},
        {-200, -150, 0, 2, 30, 30, -360, 130, 120},  // scale 2 doubles the offsets
        {10, -50, 1, 1.5f, 30, 30, 0, -12.5f, 28.5f},
    };
    for (const SpriteCase& c : cases) {
        clearObjectTable();
        scrollX = c.scrollX;
        const int i = spawn(c.x, c.y, c.z, kindBubble, teamNone, false, 0);
        setDrawBlock(i, c.x, c.y, c.z, c.scale, c.scale, 0.5f, 0x80FFFFFF, 7, 9, c.srcWidth,
                     c.srcHeight, true, true);
        const ObjectSprite s = objectSprite(i);
        EXPECT_FLOAT_EQ(s.x, c.left);
        EXPECT_FLOAT_EQ(s.y, c.top);
        EXPECT_FLOAT_EQ(s.centreX, c.srcWidth * c.scale / 2);
        EXPECT_FLOAT_EQ(s.centreY, c.srcHeight * c.scale / 2);
        EXPECT_FLOAT_EQ(s.x + s.centreX, c.x - c.scrollX);
        EXPECT_FLOAT_EQ(s.y + s.centreY, c.z - c.y);
        EXPECT_EQ(s.rotation, 0.5f);
        EXPECT_EQ(s.colour, 0x80FFFFFFu);
        EXPECT_EQ(s.srcX, 7);
        EXPECT_EQ(s.srcY, 9);
        EXPECT_TRUE(s.additive);
    }
}

}  // namespace
