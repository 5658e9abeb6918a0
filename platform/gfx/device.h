#pragma once
// The graphics device: a software rasteriser drawing into one back buffer, presented through
// the host.
//
// Conventions: pixel centres lie at whole screen coordinates, triangles cover the centres inside
// them by the top-left fill rule, texel i of a level W wide is centred at u = (i + 0.5) / W,
// sampling reads level 0 (bilinear or point, per sampler state), stage 0 combines the texture
// and the diffuse colour, then the alpha test and blending (saturating) apply.
//
// Lost devices: a full-screen device is lost as soon as the application is in the background
// (or has been since the last reset). While lost, `testCooperativeLevel` reports kDeviceLost,
// scenes cannot begin and presents fail; once the application is active again it reports
// kDeviceNotReset until `reset` succeeds. A windowed device is never lost.

#include <cstdint>

#include "platform/gfx/graphics_system.h"
#include "platform/gfx/pipeline_state.h"
#include "platform/gfx/render_states.h"
#include "platform/gfx/result_codes.h"
#include "platform/gfx/texture.h"

namespace plat::gfx {

class StateBlock;
class Rasteriser;

class Device : public RefCounted {
  public:
    // --- Lifecycle ---
    // kOk, kDeviceLost or kDeviceNotReset.
    Result testCooperativeLevel();
    // Rebuilds the back buffer for `params` and puts every setting back to its default. Refused
    // with kInvalidCall while a default-pool texture or a state block is alive (the device then
    // needs a reset), with kDeviceLost while the device is lost.
    Result reset(PresentParams& params);
    // Hands the back buffer to the host (which waits for the retrace). kDeviceLost when lost.
    Result present();

    // --- Frame ---
    // Fills the rectangles (all of the viewport when `count` is 0) of the back buffer with
    // `colour` when `flags` has clearFlags::Target. Depth and stencil are accepted and ignored.
    Result clear(uint32_t count, const Rect* rects, uint32_t flags, uint32_t colour, float z,
                 uint32_t stencil);
    // kInvalidCall when a scene is already begun; kDeviceLost when the device is lost.
    Result beginScene();
    Result endScene();

    // --- Settings (recorded instead while a state block is being recorded) ---
    Result setRenderState(RenderState state, uint32_t value);
    Result getRenderState(RenderState state, uint32_t& value) const;
    Result setTextureStageState(uint32_t stage, TextureStageState state, uint32_t value);
    Result getTextureStageState(uint32_t stage, TextureStageState state, uint32_t& value) const;
    Result setSamplerState(uint32_t sampler, SamplerState state, uint32_t value);
    Result getSamplerState(uint32_t sampler, SamplerState state, uint32_t& value) const;
    // The device holds a reference to the texture while it is set. Null clears the stage.
    // A system-memory texture is refused.
    Result setTexture(uint32_t stage, Texture* texture);
    // Adds a reference to the texture handed out (null when none is set).
    Result getTexture(uint32_t stage, Texture** out) const;
    Result setTransform(TransformType type, const Matrix& matrix);
    Result getTransform(TransformType type, Matrix& out) const;
    Result setViewport(const Viewport& viewport);
    Result getViewport(Viewport& out) const;
    Result setFvf(uint32_t fvf);
    Result getFvf(uint32_t& fvf) const;

    // --- State blocks ---
    // kInvalidCall when already recording.
    Result beginStateBlock();
    // kInvalidCall when not recording.
    Result endStateBlock(StateBlock** out);

    // --- Drawing ---
    // Draws `primitiveCount` triangles from vertices in memory, laid out per the current
    // vertex format (fvf::XyzRhw or fvf::Xyz, with fvf::Diffuse and fvf::Tex1) at `stride`
    // bytes apart. Untransformed positions go through world x view x projection and the
    // viewport; triangles with a vertex behind the eye (w <= 0) are dropped, there is no
    // clipping against the planes. A missing diffuse colour is opaque white, missing texture
    // coordinates are (0, 0). Drawing is clipped to the viewport. kInvalidCall without a begun
    // scene, for null vertices, a zero stride or one shorter than the format, no or more than
    // kMaxPrimitivesPerDraw primitives, an unknown type or a format without exactly one of
    // fvf::Xyz and fvf::XyzRhw (or with other flags).
    static constexpr uint32_t kMaxPrimitivesPerDraw = 0xFFFFF;
    Result drawPrimitiveUp(PrimitiveType type, uint32_t primitiveCount, const void* vertices,
                           uint32_t stride);

    // --- Resources ---
    // `levels` 0 makes the full chain down to 1 x 1. Refused (kInvalidCall) for a zero or
    // too-large size, more levels than the chain has, sides that break the pow2 / square /
    // aspect-ratio capabilities, or usage::Dynamic where the device has no dynamic textures;
    // kNotAvailable for a format the device does not support; kOutOfMemory.
    Result createTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                         Format format, Pool pool, Texture** out);
    // Copies a system-memory texture into a default-pool one of the same format and level-0
    // size; `destination` may have fewer levels. kInvalidCall otherwise or while either is
    // locked.
    Result updateTexture(Texture* source, Texture* destination);

    // --- What the device is ---
    Result getDeviceCaps(DeviceCaps& out) const;
    Result getCreationParameters(CreationParameters& out) const;
    Result getDisplayMode(DisplayMode& out) const;
    // Adds a reference to the graphics system that made the device.
    Result getGraphicsSystem(GraphicsSystem** out);

    // --- For tests and tools ---
    // A back-buffer pixel as 0x00RRGGBB (16-bit pixels widened as the host does).
    uint32_t backBufferPixel(int x, int y) const;
    uint32_t backBufferWidth() const { return width_; }
    uint32_t backBufferHeight() const { return height_; }
    Format backBufferFormat() const { return backFormat_; }
    bool sceneBegun() const { return inScene_; }
    // Default-pool textures and state blocks alive.
    int defaultPoolObjects() const { return defaultPoolObjects_; }

    // --- For textures and state blocks ---
    void defaultPoolObjectCreated() { ++defaultPoolObjects_; }
    void defaultPoolObjectDestroyed() { --defaultPoolObjects_; }
    PipelineState& pipeline() { return state_; }
    // Sets a texture without recording (state blocks applying themselves).
    void bindTexture(uint32_t stage, Texture* texture);

  private:
    friend class GraphicsSystem;
    Device(GraphicsSystem* system, DeviceType type, Window* focusWindow, uint32_t behaviour);
    ~Device() override;
    // Validates `params` and (re)builds the back buffer; also switches the host's full screen.
    Result configure(PresentParams& params);
    // Whether the device is lost now (updates the lost state from the application's activity).
    bool lost();

    GraphicsSystem* system_;  // a reference is held
    CreationParameters creation_;
    PipelineState state_;
    StateBlock* recording_ = nullptr;
    Rasteriser* rasteriser_ = nullptr;
    uint32_t width_ = 0, height_ = 0;
    Format backFormat_ = Format::X8R8G8B8;
    bool windowed_ = true;
    bool inScene_ = false;
    enum class Loss : uint8_t { None, Lost, NeedsReset } loss_ = Loss::None;
    uint64_t deactivationsSeen_ = 0;
    int defaultPoolObjects_ = 0;
};

}  // namespace plat::gfx
