#include "render/facility/sprite_batch.h"

#include <cmath>
#include <new>

using plat::Result;
using plat::gfx::Device;
using plat::gfx::Format;
using plat::gfx::Matrix;
using plat::gfx::Rect;
using plat::gfx::RenderState;
using plat::gfx::SamplerState;
using plat::gfx::StateBlock;
using plat::gfx::Texture;
using plat::gfx::TextureStageState;
using plat::gfx::TransformedVertex;

namespace {

static_assert(sizeof(TransformedVertex) == 28, "a screen-space vertex is 7 packed 32-bit values");

// Texture formats with an alpha channel (or a palette, which may carry one): drawing them
// always blends.
bool formatHasAlpha(Format f) {
    switch (f) {
        case Format::A8R8G8B8:
        case Format::A1R5G5B5:
        case Format::A4R4G4B4:
        case Format::A8:
        case Format::A8R3G3B2:
        case Format::A8P8:
        case Format::P8:
        case Format::A8L8:
        case Format::A4L4:
        case Format::DXT2:
        case Format::DXT3:
        case Format::DXT4:
        case Format::DXT5:
            return true;
        default:
            return false;
    }
}

}  // namespace

SpriteBatch::SpriteBatch(Device* device) : device_(device) {
    device_->addRef();
    plat::gfx::DeviceCaps caps;
    if (plat::succeeded(device_->getDeviceCaps(caps))) {
        using plat::gfx::blendCaps::bit;
        canBlendAlpha_ = (caps.srcBlendCaps & bit(plat::gfx::blend::SrcAlpha)) != 0 &&
                         (caps.destBlendCaps & bit(plat::gfx::blend::InvSrcAlpha)) != 0;
    }
}

SpriteBatch::~SpriteBatch() {
    plat::releaseRef(savedState_);
    plat::releaseRef(spriteState_);
    device_->release();
}

Result createSpriteBatch(Device* device, SpriteBatch** out) {
    if (!out) return plat::gfx::kInvalidCall;
    *out = nullptr;
    if (!device) return plat::gfx::kInvalidCall;
    auto* batch = new (std::nothrow) SpriteBatch(device);
    if (!batch) return plat::gfx::kOutOfMemory;
    *out = batch;
    return plat::kOk;
}

void SpriteBatch::setSpriteStates() {
    namespace g = plat::gfx;
    Device& d = *device_;
    d.setFvf(g::fvf::XyzRhw | g::fvf::Diffuse | g::fvf::Tex1);
    d.setRenderState(RenderState::ZEnable, 0);
    d.setRenderState(RenderState::FillMode, g::fill::Solid);
    d.setRenderState(RenderState::CullMode, g::cull::None);
    d.setRenderState(RenderState::Wrap0, 0);
    d.setRenderState(RenderState::Clipping, 1);
    d.setRenderState(RenderState::VertexBlend, 0);  // vertex blending disabled
    d.setRenderState(RenderState::ClipPlaneEnable, 0);
    d.setRenderState(RenderState::NPatchSegments, 0);  // the bits of 0.0f
    d.setRenderState(RenderState::IndexedVertexBlendEnable, 0);
    d.setRenderState(RenderState::AdaptiveTessellation, 0);
    d.setRenderState(RenderState::SrgbWriteEnable, 0);
    d.setRenderState(RenderState::ColorWriteEnable, g::colorWrite::All);
    d.setTextureStageState(0, TextureStageState::ColorOp, g::textureOp::Modulate);
    d.setTextureStageState(0, TextureStageState::ColorArg1, g::textureArg::Texture);
    d.setTextureStageState(0, TextureStageState::ColorArg2, g::textureArg::Diffuse);
    d.setTextureStageState(0, TextureStageState::AlphaOp, g::textureOp::Modulate);
    d.setTextureStageState(0, TextureStageState::AlphaArg1, g::textureArg::Texture);
    d.setTextureStageState(0, TextureStageState::AlphaArg2, g::textureArg::Diffuse);
    d.setTextureStageState(1, TextureStageState::ColorOp, g::textureOp::Disable);
    d.setTextureStageState(1, TextureStageState::AlphaOp, g::textureOp::Disable);
    d.setSamplerState(0, SamplerState::MagFilter, g::filter::Linear);
    d.setSamplerState(0, SamplerState::MinFilter, g::filter::Linear);
    d.setSamplerState(0, SamplerState::MipFilter, g::filter::None);
    d.setTextureStageState(0, TextureStageState::TexCoordIndex, 0);
    d.setSamplerState(0, SamplerState::AddressU, g::address::Clamp);
    d.setSamplerState(0, SamplerState::AddressV, g::address::Clamp);
    d.setTextureStageState(0, TextureStageState::TextureTransformFlags,
                           g::textureTransform::Disable);
    if (canBlendAlpha_) {
        d.setRenderState(RenderState::AlphaBlendEnable, 1);
        d.setRenderState(RenderState::SrcBlend, g::blend::SrcAlpha);
        d.setRenderState(RenderState::DestBlend, g::blend::InvSrcAlpha);
        d.setRenderState(RenderState::BlendOp, g::blendOp::Add);
    } else {
        d.setRenderState(RenderState::AlphaTestEnable, 1);
        d.setRenderState(RenderState::AlphaFunc, g::cmp::GreaterEqual);
        d.setRenderState(RenderState::AlphaRef, 0x7F);
    }
}

Result SpriteBatch::recordStateBlocks() {
    plat::releaseRef(savedState_);
    plat::releaseRef(spriteState_);
    // The same settings twice: the first block will hold the device's values from before each
    // `begin` (and the stage 0 texture), the second the batch's own values.
    for (int pass = 0; pass < 2; ++pass) {
        Result r = device_->beginStateBlock();
        if (plat::failed(r)) {
            plat::releaseRef(savedState_);
            return r;
        }
        setSpriteStates();
        if (pass == 0) device_->setTexture(0, nullptr);
        StateBlock* block = nullptr;
        r = device_->endStateBlock(&block);
        if (plat::failed(r)) {
            plat::releaseRef(savedState_);
            return r;
        }
        (pass == 0 ? savedState_ : spriteState_) = block;
    }
    return plat::kOk;
}

Result SpriteBatch::begin() {
    if (begun_) return plat::gfx::kInvalidCall;
    if (!savedState_ || !spriteState_) {
        const Result r = recordStateBlocks();
        if (plat::failed(r)) return r;
    }
    savedState_->capture();
    spriteState_->apply();
    begun_ = true;
    return plat::kOk;
}

Result SpriteBatch::end() {
    if (!begun_) return plat::gfx::kInvalidCall;
    savedState_->apply();
    begun_ = false;
    return plat::kOk;
}

Result SpriteBatch::onLostDevice() {
    if (begun_) end();
    plat::releaseRef(savedState_);
    plat::releaseRef(spriteState_);
    return plat::kOk;
}

Result SpriteBatch::getDevice(Device** out) {
    if (!out) return plat::gfx::kInvalidCall;
    device_->addRef();
    *out = device_;
    return plat::kOk;
}

Matrix spriteTransform(const SpriteVector* scaling, const SpriteVector* centre, float rotation,
                       const SpriteVector* translation) {
    const float sx = scaling ? scaling->x : 1.0f;
    const float sy = scaling ? scaling->y : 1.0f;
    const float tx = translation ? translation->x : 0.0f;
    const float ty = translation ? translation->y : 0.0f;
    Matrix m;  // identity
    m.m[0][0] = sx;
    m.m[1][1] = sy;
    m.m[3][0] = tx;
    m.m[3][1] = ty;
    if (rotation != 0.0f) {
        // q = (p * s - c) * R + c + t, with (x, y) * R = (x cos + y sin, -x sin + y cos): on a
        // screen whose y axis points down, a positive angle turns counter-clockwise.
        const float cx = centre ? centre->x : 0.0f;
        const float cy = centre ? centre->y : 0.0f;
        const float cs = std::cos(rotation);
        const float sn = std::sin(rotation);
        m.m[0][0] = sx * cs;
        m.m[0][1] = -sx * sn;
        m.m[1][0] = sy * sn;
        m.m[1][1] = sy * cs;
        m.m[3][0] = -cx * cs - cy * sn + cx + tx;
        m.m[3][1] = cx * sn - cy * cs + cy + ty;
    }
    return m;
}

Result SpriteBatch::draw(Texture* texture, const Rect* source, const SpriteVector* scaling,
                         const SpriteVector* centre, float rotation,
                         const SpriteVector* translation, uint32_t colour) {
    const Matrix m = spriteTransform(scaling, centre, rotation, translation);
    return drawTransform(texture, source, &m, colour);
}

Result SpriteBatch::drawTransform(Texture* texture, const Rect* source, const Matrix* transform,
                                  uint32_t colour) {
    if (!texture) return plat::gfx::kInvalidCall;
    plat::gfx::LevelDesc desc;
    if (plat::failed(texture->getLevelDesc(0, desc)) || desc.width == 0 || desc.height == 0)
        return plat::gfx::kInvalidCall;
    const int64_t texWidth = desc.width, texHeight = desc.height;
    const Rect r =
        source ? *source
               : Rect{0, 0, static_cast<int32_t>(desc.width), static_cast<int32_t>(desc.height)};
    if (r.left < 0 || r.right < r.left || r.left > texWidth || r.top < 0 || r.bottom < r.top ||
        r.top > texHeight)
        return plat::gfx::kInvalidCall;

    const bool alphaNeeded = (colour >> 24) != 0xFF || formatHasAlpha(desc.format);

    const bool wrapped = !begun_;
    if (wrapped) {
        const Result r0 = begin();
        if (plat::failed(r0)) return r0;
    }
    Result result = device_->setTexture(0, texture);
    if (plat::succeeded(result)) {
        device_->setRenderState(
            canBlendAlpha_ ? RenderState::AlphaBlendEnable : RenderState::AlphaTestEnable,
            alphaNeeded ? 1 : 0);

        const Matrix m = transform ? *transform : Matrix{};
        const float w = static_cast<float>(static_cast<int64_t>(r.right) - r.left);
        const float h = static_cast<float>(static_cast<int64_t>(r.bottom) - r.top);
        const float u0 = static_cast<float>(r.left) / static_cast<float>(texWidth);
        const float u1 = static_cast<float>(r.right) / static_cast<float>(texWidth);
        const float v0 = static_cast<float>(r.top) / static_cast<float>(texHeight);
        const float v1 = static_cast<float>(r.bottom) / static_cast<float>(texHeight);
        // A fan (0, 0), (0, h), (w, h), (w, 0).
        const float cornerX[4] = {0.0f, 0.0f, w, w};
        const float cornerY[4] = {0.0f, h, h, 0.0f};
        const float cornerU[4] = {u0, u0, u1, u1};
        const float cornerV[4] = {v0, v1, v1, v0};
        TransformedVertex quad[4];
        for (int i = 0; i < 4; ++i) {
            const float x = cornerX[i], y = cornerY[i];
            float sx = x * m.m[0][0] + y * m.m[1][0] + m.m[3][0];
            float sy = x * m.m[0][1] + y * m.m[1][1] + m.m[3][1];
            const float sw = x * m.m[0][3] + y * m.m[1][3] + m.m[3][3];
            if (sw != 1.0f && sw != 0.0f) {  // a projective transform; 0 would divide by zero
                sx /= sw;
                sy /= sw;
            }
            // Pixel centres lie at whole screen coordinates: shifting by half a pixel puts the
            // texel centres of an unscaled quad at whole-pixel placement onto them.
            quad[i] =
                TransformedVertex{sx - 0.5f, sy - 0.5f, 0.0f, 1.0f, colour, cornerU[i], cornerV[i]};
        }
        result = device_->drawPrimitiveUp(plat::gfx::PrimitiveType::TriangleFan, 2, quad,
                                          sizeof(TransformedVertex));
    }
    if (wrapped) {
        const Result ended = end();
        if (plat::succeeded(result)) result = ended;
    }
    return plat::failed(result) ? result : plat::kOk;
}
