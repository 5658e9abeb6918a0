#pragma once
// Textures, states and quads for drawing tests, laid out as the sprite batch lays them out.

#include <cstring>
#include <functional>

#include "platform/gfx/device.h"

namespace drawtest {

using namespace plat::gfx;

// A managed A8R8G8B8 texture whose texel (i, j) is `texel(i, j)`.
inline Texture* makeTexture(Device* device, uint32_t w, uint32_t h,
                            const std::function<uint32_t(uint32_t, uint32_t)>& texel) {
    Texture* t = nullptr;
    if (device->createTexture(w, h, 1, 0, Format::A8R8G8B8, Pool::Managed, &t) != plat::kOk)
        return nullptr;
    LockedRect r;
    t->lockRect(0, r, nullptr, 0);
    for (uint32_t j = 0; j < h; ++j)
        for (uint32_t i = 0; i < w; ++i) {
            const uint32_t v = texel(i, j);
            std::memcpy(static_cast<uint8_t*>(r.bits) + j * r.pitch + i * 4, &v, 4);
        }
    t->unlockRect(0);
    return t;
}

// A texel pattern where every texel of a small texture differs.
inline uint32_t uniqueTexel(uint32_t i, uint32_t j) {
    return 0xFF000000u | (i * 13 + 7) << 16 | (j * 11 + 3) << 8 | ((i * 5 + j * 3) & 0xFF);
}

// The states the sprite batch draws with: modulate, linear filtering, clamp, no culling.
inline void spriteStates(Device* d, bool blend, uint32_t src, uint32_t dest) {
    d->setFvf(fvf::XyzRhw | fvf::Diffuse | fvf::Tex1);
    d->setRenderState(RenderState::CullMode, cull::None);
    d->setRenderState(RenderState::AlphaBlendEnable, blend ? 1 : 0);
    d->setRenderState(RenderState::SrcBlend, src);
    d->setRenderState(RenderState::DestBlend, dest);
    d->setTextureStageState(0, TextureStageState::ColorOp, textureOp::Modulate);
    d->setTextureStageState(0, TextureStageState::ColorArg1, textureArg::Texture);
    d->setTextureStageState(0, TextureStageState::ColorArg2, textureArg::Diffuse);
    d->setTextureStageState(0, TextureStageState::AlphaOp, textureOp::Modulate);
    d->setTextureStageState(0, TextureStageState::AlphaArg1, textureArg::Texture);
    d->setTextureStageState(0, TextureStageState::AlphaArg2, textureArg::Diffuse);
    for (SamplerState s : {SamplerState::MagFilter, SamplerState::MinFilter})
        d->setSamplerState(0, s, filter::Linear);
    d->setSamplerState(0, SamplerState::AddressU, address::Clamp);
    d->setSamplerState(0, SamplerState::AddressV, address::Clamp);
}

struct Quad {
    TransformedVertex v[4];
};

// The screen-space quad of a source rectangle (left, top, right, bottom) of a W x H texture,
// scaled by (sx, sy) and put at (tx, ty): corners (0, 0), (0, h), (w, h), (w, 0), half a pixel
// up and left.
inline Quad spriteQuad(float tx, float ty, int left, int top, int right, int bottom, uint32_t W,
                       uint32_t H, uint32_t colour, float sx = 1, float sy = 1) {
    const float w = static_cast<float>(right - left) * sx,
                h = static_cast<float>(bottom - top) * sy;
    const float u0 = static_cast<float>(left) / W, u1 = static_cast<float>(right) / W;
    const float v0 = static_cast<float>(top) / H, v1 = static_cast<float>(bottom) / H;
    Quad q;
    q.v[0] = {tx - 0.5f, ty - 0.5f, 0, 1, colour, u0, v0};
    q.v[1] = {tx - 0.5f, ty + h - 0.5f, 0, 1, colour, u0, v1};
    q.v[2] = {tx + w - 0.5f, ty + h - 0.5f, 0, 1, colour, u1, v1};
    q.v[3] = {tx + w - 0.5f, ty - 0.5f, 0, 1, colour, u1, v0};
    return q;
}

}  // namespace drawtest
