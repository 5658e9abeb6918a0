#include "platform/gfx/rasteriser.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <new>

#include "platform/gfx/exact_step.h"
#include "platform/gfx/span_loop.h"

namespace plat::gfx {

using span::kAttrs;
using span::RectangleSource;
using span::TriangleSource;

bool Rasteriser::resize(uint32_t width, uint32_t height, Format format) {
    const uint32_t bpp = format == Format::R5G6B5 ? 2 : 4;
    try {
        pixels_.assign(static_cast<size_t>(width) * height * bpp, 0);
        columnTap_.assign(width, Tap{});
    } catch (const std::bad_alloc&) {
        return false;
    }
    width_ = width;
    height_ = height;
    pitch_ = width * bpp;
    format_ = format;
    return true;
}

uint32_t Rasteriser::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= static_cast<int>(width_) || y >= static_cast<int>(height_)) return 0;
    const uint8_t* p = pixels_.data() + static_cast<size_t>(y) * pitch_;
    if (format_ == Format::R5G6B5) return decodePixel(Format::R5G6B5, p + x * 2) & 0x00FFFFFFu;
    return decodePixel(Format::X8R8G8B8, p + x * 4) & 0x00FFFFFFu;
}

void Rasteriser::clear(const Rect& rect, uint32_t colour) {
    const int32_t l = rect.left < 0 ? 0 : rect.left;
    const int32_t t = rect.top < 0 ? 0 : rect.top;
    const int32_t r = rect.right > static_cast<int32_t>(width_) ? width_ : rect.right;
    const int32_t b = rect.bottom > static_cast<int32_t>(height_) ? height_ : rect.bottom;
    if (l >= r) return;
    const int bpp = format_ == Format::R5G6B5 ? 2 : 4;
    uint8_t encoded[4];
    encodePixel(format_, colour, encoded);
    for (int32_t y = t; y < b; ++y) {
        uint8_t* row = pixels_.data() + static_cast<size_t>(y) * pitch_;
        for (int32_t x = l; x < r; ++x) std::memcpy(row + x * bpp, encoded, bpp);
    }
}

namespace {

constexpr double kGuardPixels = 16384.0;      // vertices beyond drop their triangle
constexpr double kCoordLimit = 1073741824.0;  // 16384 texels in 1/65536 texel

Wide absWide(Wide v) {
    return v < 0 ? -v : v;
}

}  // namespace

void Rasteriser::prepare(const PipelineState& state) {
    const Texture* texture = state.textures[0];
    sampler_.texels = texture ? texture->samplePixels() : nullptr;
    if (sampler_.texels) {
        sampler_.width = static_cast<int32_t>(texture->width());
        sampler_.height = static_cast<int32_t>(texture->height());
    } else {
        sampler_.width = sampler_.height = 1;
    }
    sampler_.addressU = state.ss(0, SamplerState::AddressU);
    sampler_.addressV = state.ss(0, SamplerState::AddressV);
    sampler_.border = state.ss(0, SamplerState::BorderColor);
    linearMag_ = state.ss(0, SamplerState::MagFilter) == filter::Linear;
    linearMin_ = state.ss(0, SamplerState::MinFilter) == filter::Linear;

    ops_.configure(
        state.tss(0, TextureStageState::ColorOp), state.tss(0, TextureStageState::ColorArg1),
        state.tss(0, TextureStageState::ColorArg2), state.tss(0, TextureStageState::AlphaOp),
        state.tss(0, TextureStageState::AlphaArg1), state.tss(0, TextureStageState::AlphaArg2),
        state.rs(RenderState::TextureFactor));
    ops_.alphaTest = state.rs(RenderState::AlphaTestEnable) != 0;
    ops_.alphaFunc = state.rs(RenderState::AlphaFunc);
    ops_.alphaRef = state.rs(RenderState::AlphaRef) & 0xFF;
    ops_.configureBlend(state.rs(RenderState::AlphaBlendEnable) != 0,
                        state.rs(RenderState::SrcBlend), state.rs(RenderState::DestBlend),
                        state.rs(RenderState::BlendOp));
    ops_.configureWriteMask(state.rs(RenderState::ColorWriteEnable));
    cull_ = state.rs(RenderState::CullMode);
    solid_ = state.rs(RenderState::FillMode) == fill::Solid;

    const Viewport& vp = state.viewport;
    const int64_t right = static_cast<int64_t>(vp.x) + vp.width;
    const int64_t bottom = static_cast<int64_t>(vp.y) + vp.height;
    clipLeft_ = static_cast<int32_t>(vp.x < width_ ? vp.x : width_);
    clipTop_ = static_cast<int32_t>(vp.y < height_ ? vp.y : height_);
    clipRight_ = static_cast<int32_t>(right < width_ ? right : width_);
    clipBottom_ = static_cast<int32_t>(bottom < height_ ? bottom : height_);
}

bool Rasteriser::snap(const ScreenVertex& v, Snapped& out) const {
    if (!(std::fabs(v.x) <= kGuardPixels && std::fabs(v.y) <= kGuardPixels)) return false;
    out.x = std::llround(static_cast<double>(v.x) * 256.0);
    out.y = std::llround(static_cast<double>(v.y) * 256.0);
    auto coord = [](float c, int32_t size) -> int64_t {
        double d = static_cast<double>(c) * size * 65536.0;
        if (std::isnan(d)) return 0;
        if (d > kCoordLimit) d = kCoordLimit;
        if (d < -kCoordLimit) d = -kCoordLimit;
        return std::llround(d);
    };
    out.attr[0] = coord(v.u, sampler_.width);
    out.attr[1] = coord(v.v, sampler_.height);
    for (int i = 0; i < 4; ++i) out.attr[2 + i] = ((v.diffuse >> (24 - 8 * i)) & 0xFF) * 256;
    out.diffuse = v.diffuse;
    return true;
}

void Rasteriser::drawTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c) {
    if (!solid_) return;
    Snapped sa, sb, sc;
    if (!snap(a, sa) || !snap(b, sb) || !snap(c, sc)) return;
    rasterise(sa, sb, sc);
}

void Rasteriser::drawQuad(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                          const ScreenVertex& d) {
    if (!solid_) return;
    Snapped s[4];
    const bool ok[4] = {snap(a, s[0]), snap(b, s[1]), snap(c, s[2]), snap(d, s[3])};
    if (fastPaths_ && ok[0] && ok[1] && ok[2] && ok[3] && drawRectangle(s)) {
        ++rectanglesDrawn_;
        return;
    }
    if (ok[0] && ok[1] && ok[2]) rasterise(s[0], s[1], s[2]);
    if (ok[0] && ok[2] && ok[3]) rasterise(s[0], s[2], s[3]);
}

void Rasteriser::rasterise(const Snapped& p0, const Snapped& p1, const Snapped& p2) {
    int64_t area = (p1.x - p0.x) * (p2.y - p0.y) - (p2.x - p0.x) * (p1.y - p0.y);
    if (area == 0) return;
    // A positive area is clockwise on the screen (y pointing down).
    if ((cull_ == cull::Clockwise && area > 0) || (cull_ == cull::CounterClockwise && area < 0))
        return;
    const Snapped* v[3] = {&p0, &p1, &p2};
    if (area < 0) {
        v[1] = &p2;
        v[2] = &p1;
        area = -area;
    }

    // Edge i -> j holds the pixel centres where c + px * stepX >= 0 on row py, with c taking
    // one off for edges that are neither top nor left, so that their centres stay outside.
    struct Edge {
        int64_t dx, dy, xi, yi, bias;
    } edges[3];
    for (int i = 0; i < 3; ++i) {
        const Snapped& from = *v[i];
        const Snapped& to = *v[(i + 1) % 3];
        Edge& e = edges[i];
        e.dx = to.x - from.x;
        e.dy = to.y - from.y;
        e.xi = from.x;
        e.yi = from.y;
        const bool topLeft = e.dy < 0 || (e.dy == 0 && e.dx > 0);
        e.bias = topLeft ? 0 : 1;
    }

    int64_t minX = v[0]->x, maxX = minX, minY = v[0]->y, maxY = minY;
    for (int i = 1; i < 3; ++i) {
        minX = std::min(minX, v[i]->x);
        maxX = std::max(maxX, v[i]->x);
        minY = std::min(minY, v[i]->y);
        maxY = std::max(maxY, v[i]->y);
    }
    const int64_t colMin = std::max<int64_t>(ceilDiv64(minX, 256), clipLeft_);
    const int64_t colMax = std::min<int64_t>(floorDiv64(maxX, 256), clipRight_ - 1);
    const int64_t rowMin = std::max<int64_t>(ceilDiv64(minY, 256), clipTop_);
    const int64_t rowMax = std::min<int64_t>(floorDiv64(maxY, 256), clipBottom_ - 1);
    if (colMin > colMax || rowMin > rowMax) return;

    // Attribute k at (X, Y) is N / area with N = a0 * area + gx * (X - x0) + gy * (Y - y0).
    Wide gx[kAttrs], gy[kAttrs];
    TriangleSource src;
    src.den = area;
    src.flat = v[0]->diffuse == v[1]->diffuse && v[0]->diffuse == v[2]->diffuse;
    src.flatColour = v[0]->diffuse;
    const int attrs = src.flat ? 2 : kAttrs;
    for (int k = 0; k < attrs; ++k) {
        const Wide a0 = v[0]->attr[k], a1 = v[1]->attr[k], a2 = v[2]->attr[k];
        gx[k] = (a0 - a2) * (v[1]->y - v[2]->y) + (a1 - a2) * (v[2]->y - v[0]->y);
        gy[k] = (a0 - a2) * (v[2]->x - v[1]->x) + (a1 - a2) * (v[0]->x - v[2]->x);
        src.step[k] = exactStep(gx[k] * 256, area);
    }
    // Minification: some texture coordinate changes by more than a texel per pixel.
    const Wide texelPerPixel = static_cast<Wide>(area) * 256;
    const bool minifies = absWide(gx[0]) > texelPerPixel || absWide(gy[0]) > texelPerPixel ||
                          absWide(gx[1]) > texelPerPixel || absWide(gy[1]) > texelPerPixel;
    const bool linear = linearFor(minifies);

    for (int64_t py = rowMin; py <= rowMax; ++py) {
        const int64_t y = py * 256;
        int64_t left = colMin, right = colMax;
        for (const Edge& e : edges) {
            const int64_t c = e.dx * (y - e.yi) + e.dy * e.xi - e.bias;
            const int64_t stepX = -e.dy * 256;
            if (stepX > 0)
                left = std::max(left, ceilDiv64(-c, stepX));
            else if (stepX < 0)
                right = std::min(right, floorDiv64(c, -stepX));
            else if (c < 0)
                right = left - 1;
        }
        if (left > right) continue;
        for (int k = 0; k < attrs; ++k) {
            const Wide n = static_cast<Wide>(v[0]->attr[k]) * area +
                           gx[k] * (left * 256 - v[0]->x) + gy[k] * (y - v[0]->y);
            src.value[k] = exactValue(n, area);
        }
        shadeSpan(static_cast<int>(py), static_cast<int>(left), static_cast<int>(right), linear,
                  src);
    }
}

bool Rasteriser::drawRectangle(const Snapped* v) {
    const Snapped &a = v[0], &b = v[1], &c = v[2], &d = v[3];
    if (a.diffuse != b.diffuse || a.diffuse != c.diffuse || a.diffuse != d.diffuse) return false;
    // s must follow x alone and t y alone: corners sharing x share s, sharing y share t.
    const bool sideFirst = a.x == b.x && b.y == c.y && c.x == d.x && d.y == a.y &&
                           a.attr[0] == b.attr[0] && c.attr[0] == d.attr[0] &&
                           b.attr[1] == c.attr[1] && d.attr[1] == a.attr[1];
    const bool topFirst = a.y == b.y && b.x == c.x && c.y == d.y && d.x == a.x &&
                          a.attr[1] == b.attr[1] && c.attr[1] == d.attr[1] &&
                          b.attr[0] == c.attr[0] && d.attr[0] == a.attr[0];
    if (!sideFirst && !topFirst) return false;
    if (a.x == c.x || a.y == c.y) return true;  // no area: nothing to draw
    const int64_t area = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
    if ((cull_ == cull::Clockwise && area > 0) || (cull_ == cull::CounterClockwise && area < 0))
        return true;

    // a and c are opposite corners.
    const bool aLeft = a.x < c.x, aTop = a.y < c.y;
    const int64_t xl = aLeft ? a.x : c.x, xr = aLeft ? c.x : a.x;
    const int64_t yt = aTop ? a.y : c.y, yb = aTop ? c.y : a.y;
    const int64_t sl = aLeft ? a.attr[0] : c.attr[0], sr = aLeft ? c.attr[0] : a.attr[0];
    const int64_t tt = aTop ? a.attr[1] : c.attr[1], tb = aTop ? c.attr[1] : a.attr[1];

    // Left and top edges hold their centres, right and bottom ones do not.
    const int64_t colMin = std::max<int64_t>(ceilDiv64(xl, 256), clipLeft_);
    const int64_t colMax = std::min<int64_t>(ceilDiv64(xr, 256) - 1, clipRight_ - 1);
    const int64_t rowMin = std::max<int64_t>(ceilDiv64(yt, 256), clipTop_);
    const int64_t rowMax = std::min<int64_t>(ceilDiv64(yb, 256) - 1, clipBottom_ - 1);
    if (colMin > colMax || rowMin > rowMax) return true;

    const int64_t w = xr - xl, h = yb - yt;
    const bool minifies = absWide(static_cast<Wide>(sr) - sl) > static_cast<Wide>(w) * 256 ||
                          absWide(static_cast<Wide>(tb) - tt) > static_cast<Wide>(h) * 256;
    const bool linear = linearFor(minifies);
    // s and t at each pixel centre: the same exact affine values the triangles interpolate.
    for (int64_t px = colMin; px <= colMax; ++px)
        columnTap_[px] = sampler_.tapU(
            floorDiv(static_cast<Wide>(sl) * w + static_cast<Wide>(sr - sl) * (px * 256 - xl), w),
            linear);
    for (int64_t py = rowMin; py <= rowMax; ++py) {
        const int64_t t =
            floorDiv(static_cast<Wide>(tt) * h + static_cast<Wide>(tb - tt) * (py * 256 - yt), h);
        RectangleSource src{columnTap_.data() + colMin, sampler_.tapV(t, linear), a.diffuse};
        shadeSpan(static_cast<int>(py), static_cast<int>(colMin), static_cast<int>(colMax), linear,
                  src);
    }
    return true;
}

template <class Source>
void Rasteriser::shadeSpan(int y, int x0, int x1, bool linear, Source& src) {
    uint8_t* row = pixels_.data() + static_cast<size_t>(y) * pitch_;
    if (format_ == Format::R5G6B5)
        span::spanFor<true>(ops_.blendKind, row, x0, x1, linear, sampler_, ops_, src);
    else
        span::spanFor<false>(ops_.blendKind, row, x0, x1, linear, sampler_, ops_, src);
}

}  // namespace plat::gfx
