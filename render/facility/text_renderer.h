#pragma once
// The text renderer shared by every text font of one device: a text surface (the bitmap text is
// rasterised into), the glyph tile textures the coverage is uploaded through, a sprite batch of
// its own that draws the tiles, and two state blocks that keep depth testing off while text is
// drawn.
//
// Tiles: 64 x 16 texels of A8R8G8B8 asked for, fitted to the device (a format it lacks becomes
// the nearest one it has; sides follow its size, aspect-ratio and power-of-two limits). A device
// with dynamic textures gets one dynamic default-pool tile texture that each tile rewrites with a
// discarding lock; any other gets eight managed tile textures used in turn, so that a texture is
// not rewritten while an earlier draw from it may still be pending.
//
// One renderer exists per device: `acquire` finds it in a process-wide list or makes it, and the
// last `release` destroys it. Its default-pool objects (the dynamic tile texture and the state
// blocks) must be gone before the device is reset, i.e. every text font of the device released.

#include <cstdint>

#include "platform/gfx/device.h"
#include "platform/gfx/state_block.h"
#include "platform/text/text_surface.h"

class SpriteBatch;

class TextRenderer {
  public:
    // The device's renderer with one more reference, made on first use. Failures: kOutOfMemory
    // (surface), a failing device call's result (tile textures, batch); *out is then null.
    static plat::Result acquire(plat::gfx::Device* device, TextRenderer** out);
    void addRef() { ++refs_; }
    void release();

    plat::text::TextSurface& surface() { return surface_; }
    // Makes the surface at least `width` x `height` by growing each short side by half of
    // itself (256, 384, 576, ...); it never shrinks. False when it cannot grow that far.
    bool fitSurface(uint32_t width, uint32_t height);

    // Begins drawing: records the two state blocks on first use, begins the batch, captures the
    // first block and applies the second. `end` applies the first and ends the batch.
    plat::Result begin();
    plat::Result end();
    bool begun() const { return begun_; }

    // Uploads the surface's pixels (x, y, width, height), at most one tile, as texels
    // (coverage << 24) | 0xFFFFFF and draws them with their top-left at (left, top), tinted by
    // `colour`.
    plat::Result drawTile(int x, int y, int width, int height, float left, float top,
                          uint32_t colour);

    uint32_t tileWidth() const { return tileWidth_; }
    uint32_t tileHeight() const { return tileHeight_; }
    plat::gfx::Format tileFormat() const { return tileFormat_; }
    bool dynamicTiles() const { return dynamic_; }
    int tileTextureCount() const { return dynamic_ ? 1 : kManagedTiles; }
    plat::gfx::Device* device() const { return device_; }

    static constexpr uint32_t kInitialSurfaceSide = 256;
    static constexpr int kManagedTiles = 8;

  private:
    explicit TextRenderer(plat::gfx::Device* device);
    ~TextRenderer();
    plat::Result create();
    plat::Result recordStateBlocks();
    // Writes the texels of one tile into the current tile texture.
    plat::Result upload(plat::gfx::Texture* texture, int x, int y, int width, int height);

    TextRenderer* next_ = nullptr;  // the process-wide list of renderers
    uint32_t refs_ = 1;
    plat::gfx::Device* device_;  // a reference is held
    bool dynamic_ = false;
    uint32_t tileWidth_ = 64, tileHeight_ = 16;
    plat::gfx::Format tileFormat_ = plat::gfx::Format::A8R8G8B8;
    plat::gfx::Texture* tiles_[kManagedTiles] = {};
    int nextTile_ = 0;
    SpriteBatch* batch_ = nullptr;
    plat::gfx::StateBlock* savedState_ = nullptr;
    plat::gfx::StateBlock* textState_ = nullptr;
    bool begun_ = false;
    plat::text::TextSurface surface_;
};
