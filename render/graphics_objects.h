#pragma once
// The program-wide graphics objects, owned by render/graphics.cpp: created at start-up, rebuilt
// around every device reset, released at shutdown. The drawing operations read them afresh on
// every call. Every reference is either empty or owns one reference count.

#include "platform/gfx/device.h"
#include "platform/gfx/texture.h"

class SpriteBatch;
class TextFont;

// The one rendering device.
extern plat::gfx::Device* graphicsDevice;
// Never begun by the frame: each of its draws brackets itself and blends with source alpha.
extern SpriteBatch* singleDrawBatch;
// Begun and ended around every frame: its draws blend with the factors the game set (ONE/ONE).
extern SpriteBatch* frameBatch;

// Texture slot 0 holds the sprite sheet; it is the only slot.
constexpr int kTextureSlotCount = 1;
extern plat::gfx::Texture* textureSlots[kTextureSlotCount];

// The text fonts, by font size: 0 the 12-pixel font, 1 the 16-pixel bold font, 2 the 32-pixel
// font.
constexpr int kTextFontCount = 3;
extern TextFont* textFonts[kTextFontCount];
