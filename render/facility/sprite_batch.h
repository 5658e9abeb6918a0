#pragma once
// The sprite batch: draws a rectangle of a texture as one textured quad, scaled, turned about a
// centre, moved and tinted, through the graphics device.
//
// A batch is idle or begun. `begin` saves the device settings it is about to change and applies
// its own drawing settings (linear filtering, clamped addressing, texture x diffuse on stage 0,
// source-alpha blending, no culling); `end` puts the saved settings back. Both sets are state
// blocks recorded once per batch, at its first `begin`, so a bracket costs one capture and two
// applies however many settings there are. A `draw` on an idle batch brackets itself; a `draw` on
// a begun batch changes only the texture and the blend (or alpha-test) enable, so blend factors
// the caller set after `begin` stay in force.
//
// Vertex form: the quad is always sent as four screen-space vertices (x, y, z, 1/w, diffuse, u,
// v), already transformed and shifted by half a pixel so that texel centres land on pixel
// centres. The device clips screen-space vertices to the viewport itself, so no world, view or
// projection transform is involved and none is touched.
//
// Every operation returns a result code: kOk, or a negative failure.

#include <cstdint>

#include "platform/gfx/device.h"
#include "platform/gfx/state_block.h"

// A pair of floats: a scaling, a rotation centre or a translation.
struct SpriteVector {
    float x = 0.0f, y = 0.0f;
};

class SpriteBatch : public plat::RefCounted {
  public:
    // Applies the batch's drawing settings. kInvalidCall when already begun; a failing device
    // call's result when the state blocks cannot be recorded (the batch then stays idle).
    plat::Result begin();
    // Puts back the settings `begin` changed. kInvalidCall when idle.
    plat::Result end();

    // Draws `source` of `texture` (texels: left, top inclusive; right, bottom exclusive; null for
    // the whole texture). A point p of the rectangle, measured from its top-left corner, lands at
    // (p * scaling - centre) * R + centre + translation, where R turns by `rotation` radians
    // counter-clockwise on the screen. Null scaling is (1, 1); null centre and translation are
    // (0, 0); a rotation of exactly 0 ignores the centre. `colour` (0xAARRGGBB) multiplies every
    // texel.
    plat::Result draw(plat::gfx::Texture* texture, const plat::gfx::Rect* source,
                      const SpriteVector* scaling, const SpriteVector* centre, float rotation,
                      const SpriteVector* translation, uint32_t colour);
    // Draws `source` of `texture` with its corners (0, 0) .. (width, height) sent through
    // `transform` (row vectors; null for identity) to screen pixels. Refused with kInvalidCall,
    // drawing nothing and changing nothing, for a missing texture or a source rectangle with
    // left < 0, top < 0, right < left, bottom < top, left > texture width or top > texture
    // height. Right and bottom may lie beyond the texture: clamped addressing repeats its last
    // column and row there.
    plat::Result drawTransform(plat::gfx::Texture* texture, const plat::gfx::Rect* source,
                               const plat::gfx::Matrix* transform, uint32_t colour);

    // Releases the state blocks (ending the batch first when it is begun); the next `begin`
    // records them again.
    plat::Result onLostDevice();
    plat::Result onResetDevice() { return plat::kOk; }
    // Adds a reference to the device the batch draws on.
    plat::Result getDevice(plat::gfx::Device** out);

    bool begun() const { return begun_; }
    // Whether the device offers source-alpha / inverse-source-alpha blending; without it the
    // batch drops fragments below alpha 0x7F instead of blending.
    bool canBlendAlpha() const { return canBlendAlpha_; }

  private:
    friend plat::Result createSpriteBatch(plat::gfx::Device* device, SpriteBatch** out);
    explicit SpriteBatch(plat::gfx::Device* device);
    ~SpriteBatch() override;
    // Records `savedState_` and `spriteState_`.
    plat::Result recordStateBlocks();
    // Sets (into the block being recorded) every setting the batch draws with.
    void setSpriteStates();

    plat::gfx::Device* device_;  // a reference is held
    plat::gfx::StateBlock* savedState_ = nullptr;
    plat::gfx::StateBlock* spriteState_ = nullptr;
    bool begun_ = false;
    bool canBlendAlpha_ = false;
};

// Makes a batch on `device` (holding a reference to it) into *out, with one reference for the
// caller. kInvalidCall for a missing device or output, kOutOfMemory. Changes no device setting.
plat::Result createSpriteBatch(plat::gfx::Device* device, SpriteBatch** out);

// The transform `SpriteBatch::draw` builds from its arguments (exposed for tests and callers
// that keep a transform of their own).
plat::gfx::Matrix spriteTransform(const SpriteVector* scaling, const SpriteVector* centre,
                                  float rotation, const SpriteVector* translation);
