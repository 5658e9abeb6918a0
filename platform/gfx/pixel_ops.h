#pragma once
// What happens to a fragment after sampling: the stage-0 combine of texture and diffuse
// colour, the alpha test, blending with the back buffer and the colour write mask.
//
// Rounding: every product of two 0..255 values divided by 255 is rounded to nearest
// (a x b / 255, half up); a blend rounds the exact sum src x Fs + dst x Fd once, then
// saturates to 0..255. So ONE/ONE is min(255, src + dst), SRCALPHA/INVSRCALPHA is
// round((src x a + dst x (255 - a)) / 255), and a modulate by 0xFF keeps the texel.

#include <cstdint>

#include "platform/gfx/render_states.h"

namespace plat::gfx {

// round(x / 255), exact for 0 <= x <= 65662 (every product of two channel values and every
// SRCALPHA/INVSRCALPHA sum).
inline uint32_t div255(uint32_t x) {
    x += 128;
    return (x + (x >> 8)) >> 8;
}
inline uint32_t channel(uint32_t argb, int shift) {
    return (argb >> shift) & 0xFF;
}

// How the back buffer is combined with a fragment.
enum class BlendKind : uint8_t {
    Replace,     // no blending (or ONE/ZERO with ADD)
    Additive,    // ONE/ONE, ADD
    AlphaBlend,  // SRCALPHA/INVSRCALPHA, ADD
    General      // any other factors and operations
};

struct PixelOps {
    // Stage 0.
    uint32_t colorOp = textureOp::Modulate, colorArg1 = textureArg::Texture,
             colorArg2 = textureArg::Diffuse;
    uint32_t alphaOp = textureOp::Modulate, alphaArg1 = textureArg::Texture,
             alphaArg2 = textureArg::Diffuse;
    uint32_t factor = 0xFFFFFFFFu;
    bool modulateBoth = true;  // colour and alpha are texture x diffuse
    bool usesTexture = true;
    // Alpha test.
    bool alphaTest = false;
    uint32_t alphaFunc = cmp::Always, alphaRef = 0;
    // Blending.
    BlendKind blendKind = BlendKind::Replace;
    uint32_t srcBlend = blend::One, destBlend = blend::Zero, blendOp = blendOp::Add;
    uint32_t writeMask = 0x00FFFFFFu;  // the channels written, as an 0x00RRGGBB mask

    void configure(uint32_t cOp, uint32_t cArg1, uint32_t cArg2, uint32_t aOp, uint32_t aArg1,
                   uint32_t aArg2, uint32_t textureFactor);
    void configureBlend(bool enable, uint32_t src, uint32_t dest, uint32_t op);
    void configureWriteMask(uint32_t mask);

    [[gnu::always_inline]] static uint32_t modulate(uint32_t a, uint32_t b) {
        return div255(channel(a, 24) * channel(b, 24)) << 24 |
               div255(channel(a, 16) * channel(b, 16)) << 16 |
               div255(channel(a, 8) * channel(b, 8)) << 8 | div255(channel(a, 0) * channel(b, 0));
    }

    // Four 8-bit channels in 16-bit lanes, and back.
    static uint64_t lanes(uint32_t c) {
        uint64_t x = c;
        x = (x | x << 16) & 0x0000FFFF0000FFFFull;
        return (x | x << 8) & 0x00FF00FF00FF00FFull;
    }
    static uint32_t packLanes(uint64_t x) {
        x &= 0x00FF00FF00FF00FFull;
        x = (x | x >> 8) & 0x0000FFFF0000FFFFull;
        return static_cast<uint32_t>(x | x >> 16);
    }
    // div255 in each lane (lanes at most 65025).
    static uint64_t div255Lanes(uint64_t x) {
        x += 0x0080008000800080ull;
        return ((x + ((x >> 8) & 0x00FF00FF00FF00FFull)) >> 8) & 0x00FF00FF00FF00FFull;
    }

    // The stage-0 result for a texel and a diffuse colour, 0xAARRGGBB.
    [[gnu::always_inline]] uint32_t combine(uint32_t texel, uint32_t diffuse) const {
        if (modulateBoth) return modulate(texel, diffuse);
        const uint32_t c = apply(colorOp, pick(colorArg1, texel, diffuse),
                                 pick(colorArg2, texel, diffuse), diffuse);
        const uint32_t a = colorOp == textureOp::Disable
                               ? diffuse
                               : apply(alphaOp, pick(alphaArg1, texel, diffuse),
                                       pick(alphaArg2, texel, diffuse), diffuse);
        return (a & 0xFF000000u) | (c & 0x00FFFFFFu);
    }

    bool passes(uint32_t argb) const {
        if (!alphaTest) return true;
        const uint32_t a = argb >> 24;
        switch (alphaFunc) {
            case cmp::Never:
                return false;
            case cmp::Less:
                return a < alphaRef;
            case cmp::Equal:
                return a == alphaRef;
            case cmp::LessEqual:
                return a <= alphaRef;
            case cmp::Greater:
                return a > alphaRef;
            case cmp::NotEqual:
                return a != alphaRef;
            case cmp::GreaterEqual:
                return a >= alphaRef;
            default:
                return true;
        }
    }

    // The new back-buffer colour (0x00RRGGBB) for fragment `src` over `dst`.
    template <BlendKind kind>
    uint32_t blendAs(uint32_t src, uint32_t dst) const {
        uint32_t out;
        if constexpr (kind == BlendKind::Replace) {
            out = src & 0x00FFFFFFu;
        } else if constexpr (kind == BlendKind::Additive) {
            const uint64_t sum = lanes(src & 0x00FFFFFFu) + lanes(dst);
            const uint64_t over = (sum >> 8) & 0x0001000100010001ull;
            out = packLanes(sum | over * 0xFF);
        } else if constexpr (kind == BlendKind::AlphaBlend) {
            const uint32_t a = src >> 24;
            out = packLanes(div255Lanes(lanes(src & 0x00FFFFFFu) * a + lanes(dst) * (255 - a)));
        } else {
            out = blendGeneral(src, dst);
        }
        return (out & writeMask) | (dst & ~writeMask & 0x00FFFFFFu);
    }
    uint32_t blendPixel(uint32_t src, uint32_t dst) const {
        switch (blendKind) {
            case BlendKind::Replace:
                return blendAs<BlendKind::Replace>(src, dst);
            case BlendKind::Additive:
                return blendAs<BlendKind::Additive>(src, dst);
            case BlendKind::AlphaBlend:
                return blendAs<BlendKind::AlphaBlend>(src, dst);
            default:
                return blendAs<BlendKind::General>(src, dst);
        }
    }

  private:
    uint32_t pick(uint32_t arg, uint32_t texel, uint32_t diffuse) const;
    uint32_t apply(uint32_t op, uint32_t a1, uint32_t a2, uint32_t diffuse) const;
    uint32_t blendGeneral(uint32_t src, uint32_t dst) const;
};

}  // namespace plat::gfx
