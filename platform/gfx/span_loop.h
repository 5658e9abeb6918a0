#pragma once
// The rasteriser's inner loops: where a span's texture coordinates and colour come from (a
// triangle's stepped values or a rectangle's taps), and the loop that shades and writes its
// pixels, one instance per blend kind and target format. Used by rasteriser.cpp only.

#include <cstdint>
#include <cstring>

#include "platform/gfx/exact_step.h"
#include "platform/gfx/pixel_ops.h"
#include "platform/gfx/sampler.h"

namespace plat::gfx::span {

constexpr int kAttrs = 6;  // s, t, a, r, g, b

inline uint32_t argbOf(const int64_t* colour) {
    uint32_t out = 0;
    for (int i = 0; i < 4; ++i) out = out << 8 | static_cast<uint32_t>((colour[i] + 128) >> 8);
    return out;
}

inline uint16_t to565(uint32_t rgb) {
    const uint32_t r = (((rgb >> 16) & 0xFF) * 31 + 127) / 255;
    const uint32_t g = (((rgb >> 8) & 0xFF) * 63 + 127) / 255;
    const uint32_t b = ((rgb & 0xFF) * 31 + 127) / 255;
    return static_cast<uint16_t>(r << 11 | g << 5 | b);
}

inline uint32_t from565(uint16_t v) {
    const uint32_t r = v >> 11, g = (v >> 5) & 0x3F, b = v & 0x1F;
    return ((r << 3) | (r >> 2)) << 16 | ((g << 2) | (g >> 4)) << 8 | ((b << 3) | (b >> 2));
}

// The attributes of one triangle, stepped along a span.
struct TriangleSource {
    ExactValue value[kAttrs];
    ExactStep step[kAttrs];
    int64_t den = 1;
    bool flat = true;
    uint32_t flatColour = 0;

    [[gnu::always_inline]] uint32_t texel(const Sampler& sampler, bool linear) const {
        return sampler.sample(value[0].q, value[1].q, linear);
    }
    uint32_t diffuse() const {
        if (flat) return flatColour;
        const int64_t c[4] = {value[2].q, value[3].q, value[4].q, value[5].q};
        return argbOf(c);
    }
    void next() {
        value[0].step(step[0], den);
        value[1].step(step[1], den);
        if (!flat)
            for (int i = 2; i < kAttrs; ++i) value[i].step(step[i], den);
    }
};

// A rectangle's row: the horizontal taps of each column, one vertical tap and one colour.
struct RectangleSource {
    const Tap* column;
    Tap row;
    uint32_t colour;
    bool flat = true;

    [[gnu::always_inline]] uint32_t texel(const Sampler& sampler, bool) const {
        return sampler.fetch(*column, row);
    }
    uint32_t diffuse() const { return colour; }
    void next() { ++column; }
};

template <BlendKind kind, bool r565, class Source>
void spanLoop(uint8_t* row, int x0, int x1, bool linear, const Sampler& sampler,
              const PixelOps& ops, Source& src) {
    // A flat opaque white diffuse colour modulates nothing.
    const bool identity = ops.modulateBoth && src.flat && src.diffuse() == 0xFFFFFFFFu;
    for (int x = x0; x <= x1; ++x, src.next()) {
        const uint32_t texel = ops.usesTexture ? src.texel(sampler, linear) : 0xFFFFFFFFu;
        const uint32_t fragment = identity ? texel : ops.combine(texel, src.diffuse());
        if (!ops.passes(fragment)) continue;
        // Fragments that leave the pixel as it is: nothing to write.
        if constexpr (kind == BlendKind::Additive)
            if ((fragment & 0x00FFFFFFu) == 0) continue;
        if constexpr (kind == BlendKind::AlphaBlend)
            if (fragment < 0x01000000u) continue;
        if constexpr (r565) {
            uint16_t old;
            std::memcpy(&old, row + x * 2, 2);
            const uint16_t out = to565(ops.blendAs<kind>(fragment, from565(old)));
            std::memcpy(row + x * 2, &out, 2);
        } else {
            uint32_t old = 0;
            if constexpr (kind != BlendKind::Replace) std::memcpy(&old, row + x * 4, 4);
            if (kind == BlendKind::Replace && ops.writeMask != 0x00FFFFFFu)
                std::memcpy(&old, row + x * 4, 4);
            const uint32_t out = ops.blendAs<kind>(fragment, old & 0x00FFFFFFu) | 0xFF000000u;
            std::memcpy(row + x * 4, &out, 4);
        }
    }
}

template <bool r565, class Source>
void spanFor(BlendKind kind, uint8_t* row, int x0, int x1, bool linear, const Sampler& sampler,
             const PixelOps& ops, Source& src) {
    switch (kind) {
        case BlendKind::Replace:
            return spanLoop<BlendKind::Replace, r565>(row, x0, x1, linear, sampler, ops, src);
        case BlendKind::Additive:
            return spanLoop<BlendKind::Additive, r565>(row, x0, x1, linear, sampler, ops, src);
        case BlendKind::AlphaBlend:
            return spanLoop<BlendKind::AlphaBlend, r565>(row, x0, x1, linear, sampler, ops, src);
        default:
            return spanLoop<BlendKind::General, r565>(row, x0, x1, linear, sampler, ops, src);
    }
}

}  // namespace plat::gfx::span
