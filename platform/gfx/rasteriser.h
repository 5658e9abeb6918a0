#pragma once
// The device's pixel pipeline: triangles of screen-space vertices into a 32-bit or 16-bit
// colour buffer, with texture sampling, stage-0 combining, the alpha test and blending.

#include <cstdint>
#include <vector>

#include "platform/gfx/format.h"
#include "platform/gfx/pipeline_state.h"
#include "platform/gfx/texture.h"

namespace plat::gfx {

// A vertex after transformation: screen position (pixel centres at whole numbers), 1/w, the
// diffuse colour and texture coordinates.
struct ScreenVertex {
    float x, y, z, rhw;
    uint32_t diffuse;
    float u, v;
};

class Rasteriser {
  public:
    // (Re)allocates the colour buffer; X8R8G8B8 or R5G6B5. False when memory cannot be had.
    bool resize(uint32_t width, uint32_t height, Format format);
    uint32_t width() const { return width_; }
    uint32_t height() const { return height_; }
    Format format() const { return format_; }
    const void* pixels() const { return pixels_.data(); }
    int pitch() const { return static_cast<int>(pitch_); }
    // A pixel as 0x00RRGGBB.
    uint32_t pixel(int x, int y) const;

    // Fills the part of `rect` inside the buffer with `colour`.
    void clear(const Rect& rect, uint32_t colour);

    // Takes the settings the next primitives are drawn with.
    void prepare(const PipelineState& state);
    void drawTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c);
    // Two triangles (a, b, c) and (a, c, d), as a fan of four draws them; an axis-aligned
    // rectangle with one colour takes a faster road to the same pixels.
    void drawQuad(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                  const ScreenVertex& d);

    // Counters for tests: quads that took the rectangle road.
    uint64_t rectanglesDrawn() const { return rectanglesDrawn_; }

  private:
    struct Setup;
    bool drawRectangle(const ScreenVertex* v);

    std::vector<uint8_t> pixels_;
    uint32_t width_ = 0, height_ = 0, pitch_ = 0;
    Format format_ = Format::X8R8G8B8;
    // Per-column sampling positions of the rectangle road, one entry per buffer column.
    std::vector<int32_t> columnTexel_;
    std::vector<uint16_t> columnWeight_;
    uint64_t rectanglesDrawn_ = 0;

    // Settings taken by `prepare`.
    const uint32_t* texels_ = nullptr;  // level 0, 0xAARRGGBB
    int32_t texWidth_ = 0, texHeight_ = 0;
    bool textured_ = false;
    uint32_t addressU_ = 0, addressV_ = 0, border_ = 0;
    bool linear_ = true;
    uint32_t colorOp_ = 0, colorArg1_ = 0, colorArg2_ = 0;
    uint32_t alphaOp_ = 0, alphaArg1_ = 0, alphaArg2_ = 0;
    uint32_t factor_ = 0;
    bool modulateBoth_ = false;  // colour and alpha: texture x diffuse
    bool alphaTest_ = false;
    uint32_t alphaFunc_ = 0, alphaRef_ = 0;
    bool blend_ = false;
    uint32_t srcBlend_ = 0, destBlend_ = 0, blendOp_ = 0;
    uint32_t writeMask_ = 0xF;
    uint32_t cull_ = 0;
    bool solid_ = true;
    int32_t clipLeft_ = 0, clipTop_ = 0, clipRight_ = 0, clipBottom_ = 0;
    enum class BlendKind : uint8_t {
        Replace,
        AlphaBlend,
        Additive,
        General
    } blendKind_ = BlendKind::Replace;
};

}  // namespace plat::gfx
