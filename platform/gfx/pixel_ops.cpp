#include "platform/gfx/pixel_ops.h"

namespace plat::gfx {
namespace {

bool knownOp(uint32_t op) {
    return op == textureOp::Disable || op == textureOp::SelectArg1 || op == textureOp::SelectArg2 ||
           op == textureOp::Modulate || op == textureOp::Add;
}

bool readsTexture(uint32_t op, uint32_t arg1, uint32_t arg2) {
    switch (op) {
        case textureOp::SelectArg1:
            return arg1 == textureArg::Texture;
        case textureOp::SelectArg2:
            return arg2 == textureArg::Texture;
        case textureOp::Modulate:
        case textureOp::Add:
            return arg1 == textureArg::Texture || arg2 == textureArg::Texture;
        default:
            return false;
    }
}

// A blend factor for one channel: `src`, `dst` are the channel values, `srcAlpha` the
// fragment's alpha. The back buffer has no alpha channel, so its alpha reads as 255.
uint32_t factorOf(uint32_t kind, uint32_t src, uint32_t dst, uint32_t srcAlpha) {
    switch (kind) {
        case blend::Zero:
            return 0;
        case blend::One:
            return 255;
        case blend::SrcColor:
            return src;
        case blend::InvSrcColor:
            return 255 - src;
        case blend::SrcAlpha:
            return srcAlpha;
        case blend::InvSrcAlpha:
            return 255 - srcAlpha;
        case blend::DestAlpha:
            return 255;
        case blend::InvDestAlpha:
            return 0;
        case blend::DestColor:
            return dst;
        case blend::InvDestColor:
            return 255 - dst;
        default:
            return 0;
    }
}

}  // namespace

void PixelOps::configure(uint32_t cOp, uint32_t cArg1, uint32_t cArg2, uint32_t aOp, uint32_t aArg1,
                         uint32_t aArg2, uint32_t textureFactor) {
    // Unknown operations pass the diffuse colour through, as a disabled stage does.
    colorOp = knownOp(cOp) ? cOp : textureOp::Disable;
    alphaOp = knownOp(aOp) ? aOp : textureOp::Disable;
    colorArg1 = cArg1;
    colorArg2 = cArg2;
    alphaArg1 = aArg1;
    alphaArg2 = aArg2;
    factor = textureFactor;
    auto isModulate = [](uint32_t op, uint32_t a1, uint32_t a2) {
        return op == textureOp::Modulate &&
               ((a1 == textureArg::Texture &&
                 (a2 == textureArg::Diffuse || a2 == textureArg::Current)) ||
                (a2 == textureArg::Texture &&
                 (a1 == textureArg::Diffuse || a1 == textureArg::Current)));
    };
    modulateBoth =
        isModulate(colorOp, colorArg1, colorArg2) && isModulate(alphaOp, alphaArg1, alphaArg2);
    usesTexture = colorOp != textureOp::Disable && (readsTexture(colorOp, colorArg1, colorArg2) ||
                                                    readsTexture(alphaOp, alphaArg1, alphaArg2));
}

void PixelOps::configureBlend(bool enable, uint32_t src, uint32_t dest, uint32_t op) {
    srcBlend = src;
    destBlend = dest;
    blendOp = op;
    if (!enable || (src == blend::One && dest == blend::Zero && op == blendOp::Add))
        blendKind = BlendKind::Replace;
    else if (src == blend::One && dest == blend::One && op == blendOp::Add)
        blendKind = BlendKind::Additive;
    else if (src == blend::SrcAlpha && dest == blend::InvSrcAlpha && op == blendOp::Add)
        blendKind = BlendKind::AlphaBlend;
    else
        blendKind = BlendKind::General;
}

void PixelOps::configureWriteMask(uint32_t mask) {
    writeMask = (mask & colorWrite::Red ? 0x00FF0000u : 0) |
                (mask & colorWrite::Green ? 0x0000FF00u : 0) |
                (mask & colorWrite::Blue ? 0x000000FFu : 0);
}

uint32_t PixelOps::pick(uint32_t arg, uint32_t texel, uint32_t diffuse) const {
    switch (arg) {
        case textureArg::Texture:
            return texel;
        case textureArg::Factor:
            return factor;
        default:
            return diffuse;  // diffuse, and the current colour, which stage 0 starts with
    }
}

uint32_t PixelOps::apply(uint32_t op, uint32_t a1, uint32_t a2, uint32_t diffuse) const {
    switch (op) {
        case textureOp::SelectArg1:
            return a1;
        case textureOp::SelectArg2:
            return a2;
        case textureOp::Modulate:
            return modulate(a1, a2);
        case textureOp::Add: {
            uint32_t out = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const uint32_t v = channel(a1, shift) + channel(a2, shift);
                out |= (v > 255 ? 255 : v) << shift;
            }
            return out;
        }
        default:
            return diffuse;
    }
}

uint32_t PixelOps::blendGeneral(uint32_t src, uint32_t dst) const {
    const uint32_t a = src >> 24;
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t s = channel(src, shift), d = channel(dst, shift);
        uint32_t v;
        switch (blendOp) {
            case blendOp::Min:
                v = s < d ? s : d;
                break;
            case blendOp::Max:
                v = s > d ? s : d;
                break;
            default: {
                const int32_t ts = static_cast<int32_t>(s * factorOf(srcBlend, s, d, a));
                const int32_t td = static_cast<int32_t>(d * factorOf(destBlend, s, d, a));
                int32_t sum = blendOp == blendOp::Subtract      ? ts - td
                              : blendOp == blendOp::RevSubtract ? td - ts
                                                                : ts + td;
                // At 255 x 255 and beyond the result saturates.
                sum = sum < 0 ? 0 : (sum > 65025 ? 65025 : sum);
                v = div255(static_cast<uint32_t>(sum));
                break;
            }
        }
        out |= v << shift;
    }
    return out;
}

}  // namespace plat::gfx
