// Frames allocate nothing: once the batches have recorded their state blocks (on their first
// begin), clearing, beginning, drawing sprites, rectangles and fades, ending and presenting run
// without touching the heap. Every allocation of this test program is counted.

#include <atomic>
#include <cstdlib>
#include <new>

#include "render/graphics_fixture.h"

namespace {
std::atomic<uint64_t> allocationCount{0};
}  // namespace

void* operator new(std::size_t size) {
    ++allocationCount;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++allocationCount;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

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
    const uint64_t before = allocationCount.load();
    for (int i = 1; i <= 40; ++i) drawFrame(i);
    EXPECT_EQ(allocationCount.load(), before);
    EXPECT_GT(host.presents(), 40u);
}

}  // namespace
