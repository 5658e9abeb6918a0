#pragma once
// The device's pixel pipeline: triangles of screen-space vertices into a 32-bit or 16-bit
// colour buffer, with texture sampling, stage-0 combining, the alpha test and blending.
//
// Geometry is exact: vertex positions snap to 1/256 pixel, coverage is decided by integer edge
// functions at the pixel centres (whole coordinates) with the top-left fill rule, and every
// interpolated value is the exact affine value at the pixel centre, floored to its fixed-point
// step (texture coordinates 1/65536 texel, colours 1/256). So two triangles sharing an edge
// cover each pixel once, and an axis-aligned rectangle gives the same values whichever of its
// triangles, or the rectangle road, computes them. Interpolation is affine in screen space
// (1/w is not used). Vertices beyond +-16384 pixels drop their triangle.

#include <cstdint>
#include <vector>

#include "platform/gfx/format.h"
#include "platform/gfx/pipeline_state.h"
#include "platform/gfx/pixel_ops.h"
#include "platform/gfx/sampler.h"
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

    // Takes the settings the next primitives are drawn with. The stage-0 texture must stay
    // alive and unchanged until the last of them is drawn.
    void prepare(const PipelineState& state);
    void drawTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c);
    // Two triangles (a, b, c) and (a, c, d), as a fan of four draws them; an axis-aligned
    // rectangle with one colour and texture coordinates aligned with it takes a faster road to
    // the same pixels.
    void drawQuad(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                  const ScreenVertex& d);

    // For tests: with the fast road off, every quad is drawn as two triangles.
    void setFastPaths(bool on) { fastPaths_ = on; }
    // Quads that took the rectangle road.
    uint64_t rectanglesDrawn() const { return rectanglesDrawn_; }

    // A vertex in fixed point: position in 1/256 pixel; attributes s, t (texel units,
    // 1/65536) and the diffuse channels a, r, g, b (1/256).
    struct Snapped {
        int64_t x, y;
        int64_t attr[6];
        uint32_t diffuse;
    };

  private:
    bool snap(const ScreenVertex& v, Snapped& out) const;
    void rasterise(const Snapped& a, const Snapped& b, const Snapped& c);
    bool drawRectangle(const Snapped* v);
    // Bilinear or point sampling: the minification filter where texture coordinates change
    // by more than one texel per pixel, the magnification one otherwise.
    bool linearFor(bool minifies) const { return minifies ? linearMin_ : linearMag_; }
    template <class Source>
    void shadeSpan(int y, int x0, int x1, bool linear, Source& src);

    std::vector<uint8_t> pixels_;
    uint32_t width_ = 0, height_ = 0, pitch_ = 0;
    Format format_ = Format::X8R8G8B8;
    // Horizontal texture taps of each buffer column, for the rectangle road.
    std::vector<Tap> columnTap_;
    uint64_t rectanglesDrawn_ = 0;
    bool fastPaths_ = true;

    // Settings taken by `prepare`.
    Sampler sampler_;
    PixelOps ops_;
    bool linearMag_ = false, linearMin_ = false;
    uint32_t cull_ = cull::None;
    bool solid_ = true;
    int32_t clipLeft_ = 0, clipTop_ = 0, clipRight_ = 0, clipBottom_ = 0;  // right, bottom excl.
};

}  // namespace plat::gfx
