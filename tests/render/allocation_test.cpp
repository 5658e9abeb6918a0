// Frames allocate nothing: once the batches have recorded their state blocks (on their first
// begin), clearing, beginning, drawing sprites, rectangles and fades, ending and presenting run
// without touching the heap. Every allocation of this test program is counted.

#include "render/graphics_fixture.h"
#include "support/counting_new.h"

namespace {

using render_test::GraphicsTest;

// One frame of the kinds of drawing the game does.
void drawFrame(int i) {
    clearFrame();
    if (beginFrame()) {
        fillRect(0, 0, 320, 240, 0xFF0032FF, false);
        for (int k = 0; k < 20; ++k) {
            drawSprite(static_cast<float>(k * 15 + i), 100.5f, 1.5f, 0.75f, 8, 8,
                       0.1f * static_cast<float>(k), 0, 0x80FFFFFF, 0, 0, 32, 32, k % 2 == 0);
        }
        fadeStep(0, 8, false);
        endFrame();
    }
    presentFrame();
}

TEST_F(GraphicsTest, FramesAllocateNothing) {
    ASSERT_TRUE(createGraphics());
    loadSpriteSheet();
    ASSERT_NE(textureSlots[0], nullptr);
    drawFrame(0);  // the first begin of each batch records its state blocks
    const uint64_t before = counting_new::allocations();
    for (int i = 1; i <= 40; ++i) drawFrame(i);
    EXPECT_EQ(counting_new::allocations(), before);
    EXPECT_GT(host.presents(), 40u);
}

}  // namespace
