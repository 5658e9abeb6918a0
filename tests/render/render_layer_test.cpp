// The graphics objects and the drawing primitives without the shell: device creation and its
// fallbacks, the sheet's load failure, resets, and the pixels of sprites, rectangles and fades.

#include <cmath>
#include <vector>

#include "render/facility/sprite_batch.h"
#include "render/graphics_fixture.h"
#include "render/messages.h"
#include "render/texture_fixture.h"

using namespace plat::gfx;
using render_test::Box;
using render_test::GraphicsTest;
using render_test::makeTexture;
using render_test::near;
using render_test::utf8;

namespace {

TEST_F(GraphicsTest, DeviceCreationFallsBackAndFailsWithItsMessages) {
    const Box hal{utf8(kHardwareDeviceFailedText), render_test::kDefaultCaption};
    const Box failed{utf8(kDeviceFailedText), render_test::kDefaultCaption};
    struct Case {
        const char* name;
        bool adapter, displayMode, hardware, software;
        bool created;
        std::vector<Box> boxes;
        DeviceType type;
    };
    const Case cases[] = {
        {"hardware", true, true, true, true, true, {}, DeviceType::Hardware},
        {"software fallback", true, true, false, true, true, {hal}, DeviceType::Software},
        {"no device at all", true, true, false, false, false, {hal, failed}, DeviceType::Hardware},
        {"no adapter", false, true, true, true, false, {}, DeviceType::Hardware},
        {"display mode unreadable", true, false, true, true, false, {}, DeviceType::Hardware},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        adapterProfile().available = c.adapter;
        adapterProfile().displayModeAvailable = c.displayMode;
        host.config().acceleratedPresenter = c.hardware;
        host.config().softwarePresenter = c.software;
        host.boxes.clear();
        EXPECT_EQ(createGraphics(), c.created);
        EXPECT_EQ(host.boxes, c.boxes);
        EXPECT_EQ(graphicsDevice != nullptr, c.created);
        if (c.created) {
            CreationParameters p;
            graphicsDevice->getCreationParameters(p);
            EXPECT_EQ(p.deviceType, c.type);
            EXPECT_EQ(p.behaviourFlags, behaviour::MixedVertexProcessing);
            EXPECT_TRUE(singleDrawBatch && frameBatch && singleDrawBatch != frameBatch);
            EXPECT_EQ(host.presenterAccelerated(), c.type == DeviceType::Hardware);
        }
        releaseGraphics();
        EXPECT_FALSE(host.presenterOpen());
        adapterProfile() = defaultAdapterProfile();
    }
}

TEST_F(GraphicsTest, UnloadableSheetShowsItsPathAndDrawsNothingFromIt) {
    ASSERT_TRUE(createGraphics());
    loadTexture("res/no-such-image.bmp", 0);
    EXPECT_EQ(host.boxes, (std::vector<Box>{{"res/no-such-image.bmp", ""}}));
    EXPECT_EQ(textureSlots[0], nullptr);
    // A slot that does not exist is left alone.
    loadTexture("res/image.bmp", 1);
    EXPECT_EQ(host.boxes.size(), 1u);

    clearFrame();
    ASSERT_TRUE(beginFrame());
    fillRect(0, 0, 320, 240, 0xFFFFFFFF, false);
    drawSprite(10, 10, 1, 1, 0, 0, 0, 0, 0xFFFFFFFF, 0, 0, 64, 64, true);
    endFrame();
    for (int y = 0; y < 240; y += 7)
        for (int x = 0; x < 320; x += 7) ASSERT_EQ(pixel(x, y), 0u) << x << "," << y;

    // The real sheet loads into the emptied slot.
    loadSpriteSheet();
    EXPECT_NE(textureSlots[0], nullptr);
    EXPECT_EQ(host.boxes.size(), 1u);
}

TEST_F(GraphicsTest, ResetsAskForTheDisplayFormatFoundAtCreation) {
    struct Case {
        Format atCreation, later;
        int32_t mode;
        Format backBuffer;
        bool fullscreen;
    };
    const Case cases[] = {
        {Format::X8R8G8B8, Format::R5G6B5, 1, Format::X8R8G8B8, false},
        {Format::R5G6B5, Format::X8R8G8B8, 2, Format::R5G6B5, false},
        {Format::X8R8G8B8, Format::X8R8G8B8, 0, Format::R5G6B5, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << formatName(c.atCreation) << " mode " << c.mode);
        displayMode = 1;
        adapterProfile().displayMode.format = c.atCreation;
        ASSERT_TRUE(createGraphics());
        EXPECT_EQ(graphicsDevice->backBufferFormat(), c.atCreation);
        adapterProfile().displayMode.format = c.later;
        displayMode = c.mode;
        resetGraphics();
        EXPECT_FALSE(deviceFault(true));  // the reset succeeded: nothing of the old memory lived
        EXPECT_EQ(graphicsDevice->backBufferFormat(), c.backBuffer);
        EXPECT_EQ(graphicsDevice->backBufferWidth(), 320u);
        EXPECT_EQ(graphicsDevice->backBufferHeight(), 240u);
        EXPECT_EQ(host.fullscreen(), c.fullscreen);
        EXPECT_TRUE(singleDrawBatch && frameBatch && textureSlots[0]);
        releaseGraphics();
        adapterProfile() = defaultAdapterProfile();
    }
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(GraphicsTest, PositionsAreTruncatedTowardZero) {
    ASSERT_TRUE(createGraphics());
    // Four distinct opaque texels along the top row, and the same four down the left column.
    const uint32_t line[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
    useSheet(makeTexture(graphicsDevice, 8, 8, [&](int x, int y) -> uint32_t {
        if (y == 0 && x < 4) return line[x];
        if (x == 0 && y < 4) return line[y];
        return 0xFF808080;
    }));
    struct Case {
        float position;
        int lands;
    };
    const Case cases[] = {{3.9f, 3}, {-0.7f, 0}, {-1.5f, -1}, {7.0f, 7}, {12.2f, 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        // The row placed across at x, the column placed down at y.
        for (bool across : {true, false}) {
            SCOPED_TRACE(across ? "across" : "down");
            clearFrame();
            ASSERT_TRUE(beginFrame());
            if (across) {
                drawSprite(c.position, 50.0f, 1, 1, 0, 0, 0, 0, 0xFFFFFFFF, 0, 0, 4, 1, false);
            } else {
                drawSprite(50.0f, c.position, 1, 1, 0, 0, 0, 0, 0xFFFFFFFF, 0, 0, 1, 4, false);
            }
            endFrame();
            for (int i = -1; i <= 4; ++i) {
                const int at = c.lands + i;
                if (at < 0) continue;
                const uint32_t want = i >= 0 && i < 4 ? line[i] & 0xFFFFFF : 0;
                EXPECT_EQ(across ? pixel(at, 50) : pixel(50, at), want) << "texel " << i;
            }
        }
    }
}

TEST_F(GraphicsTest, VeilOverAKnownColourFollowsTheAlphaBlend) {
    ASSERT_TRUE(createGraphics());
    loadSpriteSheet();
    ASSERT_NE(textureSlots[0], nullptr);  // the real sheet and its white texel
    const uint32_t backgrounds[] = {0x000000, 0x808080, 0x204080, 0xFFFFFF, 0xC01060};
    const int probes[][2] = {{0, 0}, {319, 0}, {0, 239}, {319, 239}, {160, 120}, {37, 201}};
    for (uint32_t bg : backgrounds) {
        SCOPED_TRACE(render_test::hex(bg));
        clearFrame();
        clearTo(bg);
        ASSERT_TRUE(beginFrame());
        fillRect(0, 0, 320, 240, 0x64FFFFFF, false);
        endFrame();
        for (const auto& p : probes) {
            auto veil = [&](int shift) {
                const double d = render_test::channel(bg, shift);
                return 255.0 * 100 / 255 + d * (1.0 - 100.0 / 255);
            };
            EXPECT_TRUE(near(pixel(p[0], p[1]), veil(16), veil(8), veil(0))) << p[0] << "," << p[1];
        }
    }
    // An opaque black rectangle covers exactly its area.
    clearTo(0xFFFFFF);
    ASSERT_TRUE(beginFrame());
    fillRect(20, 30, 100, 50, 0xFF000000, false);
    endFrame();
    for (int y = 28; y < 82; ++y)
        for (int x = 18; x < 122; ++x) {
            const bool inside = x >= 20 && x < 120 && y >= 30 && y < 80;
            ASSERT_EQ(pixel(x, y), inside ? 0u : 0xFFFFFFu) << x << "," << y;
        }
}

TEST_F(GraphicsTest, AdditiveThroughTheFrameBatchAndHalfStrengthThroughTheSingleDrawBatch) {
    ASSERT_TRUE(createGraphics());
    const uint32_t texel = 0xFF406080;
    // Texel (0, 0) is the sprite; (1, 0) is transparent black, as the colour key leaves it.
    useSheet(makeTexture(graphicsDevice, 4, 4, [&](int x, int y) -> uint32_t {
        return x == 0 && y == 0 ? texel : 0x00000000;
    }));
    const uint32_t bg = 0x203040;
    struct Case {
        const char* name;
        int srcX;
        uint32_t colour;
        bool additive;
    };
    const Case cases[] = {
        {"additive at alpha 0x80", 0, 0x80FFFFFF, true},
        {"blended at alpha 0x80", 0, 0x80FFFFFF, false},
        {"additive, opaque, tinted", 0, 0xFFFF8000, true},
        {"blended, opaque", 0, 0xFFFFFFFF, false},
        {"additive keyed texel", 1, 0xFFFFFFFF, true},
        {"blended keyed texel", 1, 0xFFFFFFFF, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clearFrame();
        clearTo(bg);
        ASSERT_TRUE(beginFrame());
        drawSprite(30, 40, 1, 1, 0, 0, 0, 0, c.colour, c.srcX, 0, 1, 1, c.additive);
        // Whatever the draw did, the game's ONE/ONE is in force after it.
        uint32_t src = 0, dest = 0;
        graphicsDevice->getRenderState(RenderState::SrcBlend, src);
        graphicsDevice->getRenderState(RenderState::DestBlend, dest);
        EXPECT_EQ(src, blend::One);
        EXPECT_EQ(dest, blend::One);
        endFrame();
        const uint32_t sheet = c.srcX == 0 ? texel : 0;
        const double a = ((sheet >> 24) / 255.0) * ((c.colour >> 24) / 255.0);
        auto expected = [&](int shift) {
            const double s = render_test::channel(sheet, shift) *
                             (render_test::channel(c.colour, shift) / 255.0);
            const double d = render_test::channel(bg, shift);
            return c.additive ? std::fmin(255.0, d + s) : s * a + d * (1 - a);
        };
        EXPECT_TRUE(near(pixel(30, 40), expected(16), expected(8), expected(0)));
        EXPECT_EQ(pixel(31, 40), bg);
        EXPECT_EQ(pixel(30, 41), bg);
    }
}

TEST_F(GraphicsTest, FadesTakeTheirFrameCountsAndEndOnTheirLastAlpha) {
    ASSERT_TRUE(createGraphics());
    loadSpriteSheet();
    struct Case {
        int step;
        bool fadeIn;
        int frames;
    };
    const Case cases[] = {{5, true, 52}, {8, false, 32}, {64, false, 4}, {300, true, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "step " << c.step << (c.fadeIn ? " in" : " out"));
        ASSERT_EQ(fadeCounter, 0);
        int calls = 0;
        bool done = false;
        while (!done && calls < 1000) {
            // Black over white: the overlay's alpha is what it takes off the white.
            clearTo(0xFFFFFF);
            ASSERT_TRUE(beginFrame());
            done = fadeStep(0x00000000, c.step, c.fadeIn);
            endFrame();
            const int alpha = c.fadeIn ? 255 - c.step * calls : c.step * calls;
            EXPECT_TRUE(near(pixel(160, 120), 255.0 - alpha, 255.0 - alpha, 255.0 - alpha))
                << "call " << calls;
            EXPECT_EQ(pixel(0, 0), pixel(319, 239));
            ++calls;
        }
        EXPECT_EQ(calls, c.frames);
        EXPECT_EQ(fadeCounter, 0);
    }
}

TEST_F(GraphicsTest, AFrameWhoseSceneCouldNotBeginLeavesTheNextFrameDrawingNormally) {
    ASSERT_TRUE(createGraphics());
    const uint32_t texel = 0xFF406080;
    useSheet(makeTexture(graphicsDevice, 4, 4, [&](int, int) { return texel; }));
    // A scene already in progress makes the frame's own begin fail; the batch is begun anyway
    // and, as the frame ends without endFrame, stays begun.
    ASSERT_EQ(graphicsDevice->beginScene(), plat::kOk);
    EXPECT_FALSE(beginFrame());
    ASSERT_EQ(graphicsDevice->endScene(), plat::kOk);

    clearFrame();
    clearTo(0x101010);
    ASSERT_TRUE(beginFrame());
    drawSprite(10, 10, 1, 1, 0, 0, 0, 0, 0xFFFFFFFF, 0, 0, 1, 1, true);
    drawSprite(20, 10, 1, 1, 0, 0, 0, 0, 0x80FFFFFF, 0, 0, 1, 1, false);
    endFrame();
    EXPECT_TRUE(near(pixel(10, 10), 0x10 + 0x40, 0x10 + 0x60, 0x10 + 0x80));
    const double a = 128.0 / 255;
    EXPECT_TRUE(near(pixel(20, 10), 0x40 * a + 0x10 * (1 - a), 0x60 * a + 0x10 * (1 - a),
                     0x80 * a + 0x10 * (1 - a)));
    EXPECT_FALSE(frameBatch->begun());
    // The frame's end put the device's own settings back: no sheet left bound to it.
    Texture* bound = reinterpret_cast<Texture*>(this);
    graphicsDevice->getTexture(0, &bound);
    EXPECT_EQ(bound, nullptr);
    if (bound) bound->release();
}

TEST_F(GraphicsTest, AbsurdSpriteArgumentsNeitherCrashNorHang) {
    ASSERT_TRUE(createGraphics());
    loadSpriteSheet();
    const float nan = std::nanf("");
    const float inf = INFINITY;
    struct Case {
        float x, y, scaleX, scaleY, rotation;
        int srcX, srcY, srcWidth, srcHeight;
    };
    const Case cases[] = {
        {nan, 10, 1, 1, 0, 0, 0, 8, 8},
        {10, 10, inf, 1, 0, 0, 0, 8, 8},
        {10, 10, 1e30f, 1e30f, 0, 0, 0, 8, 8},
        {10, 10, 1, 1, nan, 0, 0, 8, 8},
        {10, 10, 1, 1, 1e30f, 0, 0, 8, 8},
        {-1e30f, 1e30f, 1, 1, 0, 0, 0, 8, 8},
        {0, 0, 1, 1, 0, 0, 0, 2147483647, 2147483647},
        {0, 0, 1, 1, 0, 2147483000, 0, 2000, 8},  // right wraps below left: refused
        {0, 0, -3, -2, 0.5f, 0, 0, 64, 64},
        {0, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        clearFrame();
        ASSERT_TRUE(beginFrame());
        drawSprite(c.x, c.y, c.scaleX, c.scaleY, 4, 4, c.rotation, 0, 0xFFFFFFFF, c.srcX, c.srcY,
                   c.srcWidth, c.srcHeight, false);
        drawSprite(c.x, c.y, c.scaleX, c.scaleY, 4, 4, c.rotation, 0, 0xFFFFFFFF, c.srcX, c.srcY,
                   c.srcWidth, c.srcHeight, true);
        endFrame();
    }
    // Out-of-range slots and font sizes draw nothing.
    clearFrame();
    ASSERT_TRUE(beginFrame());
    drawSprite(0, 0, 1, 1, 0, 0, 0, -1, 0xFFFFFFFF, 0, 0, 8, 8, false);
    drawSprite(0, 0, 1, 1, 0, 0, 0, 1, 0xFFFFFFFF, 0, 0, 8, 8, true);
    endFrame();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(pixel(x, y), 0u);
}

}  // namespace
