// The frame operations and the drawing primitives: sprites and rectangles from the sprite sheet
// through the two sprite batches, and the full-screen fade. Every result is ignored except the
// scene's begin; the graphics objects are read afresh on each call, so the primitives keep
// working after a reset replaced them.

#include "render/draw.h"

#include <cmath>

#include "render/facility/sprite_batch.h"
#include "render/graphics_objects.h"

int32_t fadeCounter = 0;

namespace {

// The sprite sheet's opaque white texel, stretched by fillRect.
constexpr int kWhiteTexelX = 1;
constexpr int kWhiteTexelY = 129;

}  // namespace

void clearFrame() {
    if (!graphicsDevice) return;
    graphicsDevice->clear(0, nullptr, plat::gfx::clearFlags::Target, 0x00000000u, 1.0f, 0);
}

bool beginFrame() {
    if (!graphicsDevice) return false;
    // The batch is begun even if the scene then cannot begin; its next begin is refused.
    if (frameBatch) frameBatch->begin();
    return plat::succeeded(graphicsDevice->beginScene());
}

void endFrame() {
    if (frameBatch) frameBatch->end();
    if (graphicsDevice) graphicsDevice->endScene();
}

void presentFrame() {
    if (graphicsDevice) graphicsDevice->present();
}

void drawSprite(float x, float y, float scaleX, float scaleY, float centreX, float centreY,
                float rotation, int slot, uint32_t colour, int srcX, int srcY, int srcWidth,
                int srcHeight, bool additive) {
    if (!graphicsDevice) return;
    // Sprites land on whole pixels: truncated toward zero.
    const SpriteVector translation{std::trunc(x), std::trunc(y)};
    // Right and bottom wrap around like the 32-bit sums they are rather than overflowing.
    const plat::gfx::Rect source{
        srcX, srcY,
        static_cast<int32_t>(static_cast<uint32_t>(srcX) + static_cast<uint32_t>(srcWidth)),
        static_cast<int32_t>(static_cast<uint32_t>(srcY) + static_cast<uint32_t>(srcHeight))};
    const SpriteVector scaling{scaleX, scaleY};
    const SpriteVector centre{centreX, centreY};
    // ONE/ONE before every draw: the begun frame batch keeps these factors (additive), the idle
    // single-draw batch replaces them with its own source-alpha blend for the draw.
    graphicsDevice->setRenderState(plat::gfx::RenderState::SrcBlend, plat::gfx::blend::One);
    graphicsDevice->setRenderState(plat::gfx::RenderState::DestBlend, plat::gfx::blend::One);
    SpriteBatch* batch = additive ? frameBatch : singleDrawBatch;
    plat::gfx::Texture* texture =
        slot >= 0 && slot < kTextureSlotCount ? textureSlots[slot] : nullptr;
    if (batch) batch->draw(texture, &source, &scaling, &centre, rotation, &translation, colour);
}

void fillRect(int x, int y, int width, int height, uint32_t colour, bool additive) {
    drawSprite(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
               static_cast<float>(height), 0.0f, 0.0f, 0.0f, 0, colour, kWhiteTexelX, kWhiteTexelY,
               1, 1, additive);
}

bool fadeStep(uint32_t colour, int step, bool fadeIn) {
    // The fade's alpha replaces the colour's own.
    const uint32_t alpha = static_cast<uint32_t>(fadeIn ? 255 - fadeCounter : fadeCounter) & 0xFF;
    fillRect(0, 0, 320, 240, (alpha << 24) | (colour & 0x00FFFFFFu), false);
    fadeCounter += step;
    if (fadeCounter > 255) {
        fadeCounter = 0;
        return true;
    }
    return false;
}
