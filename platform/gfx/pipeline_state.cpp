#include "platform/gfx/pipeline_state.h"

namespace plat::gfx {

void setDefaultPipelineState(PipelineState& s, uint32_t width, uint32_t height) {
    auto rs = [&](RenderState state, uint32_t value) {
        s.renderStates[static_cast<int>(state)] = value;
    };
    for (uint32_t& v : s.renderStates) v = 0;
    rs(RenderState::ZEnable, 1);
    rs(RenderState::FillMode, fill::Solid);
    rs(RenderState::CullMode, cull::CounterClockwise);
    rs(RenderState::ZWriteEnable, 1);
    rs(RenderState::AlphaTestEnable, 0);
    rs(RenderState::AlphaRef, 0);
    rs(RenderState::AlphaFunc, cmp::Always);
    rs(RenderState::AlphaBlendEnable, 0);
    rs(RenderState::SrcBlend, blend::One);
    rs(RenderState::DestBlend, blend::Zero);
    rs(RenderState::BlendOp, blendOp::Add);
    rs(RenderState::ColorWriteEnable, colorWrite::All);
    rs(RenderState::TextureFactor, 0xFFFFFFFFu);
    rs(RenderState::Clipping, 1);
    rs(RenderState::Lighting, 1);
    rs(RenderState::DiffuseMaterialSource, materialSource::Color1);
    for (int stage = 0; stage < kMaxStages; ++stage) {
        uint32_t* t = s.stageStates[stage];
        auto tss = [&](TextureStageState state, uint32_t value) {
            t[static_cast<int>(state)] = value;
        };
        tss(TextureStageState::ColorOp, stage == 0 ? textureOp::Modulate : textureOp::Disable);
        tss(TextureStageState::ColorArg1, textureArg::Texture);
        tss(TextureStageState::ColorArg2, textureArg::Current);
        tss(TextureStageState::AlphaOp, stage == 0 ? textureOp::SelectArg1 : textureOp::Disable);
        tss(TextureStageState::AlphaArg1, textureArg::Texture);
        tss(TextureStageState::AlphaArg2, textureArg::Current);
        tss(TextureStageState::TexCoordIndex, static_cast<uint32_t>(stage));
        tss(TextureStageState::TextureTransformFlags, textureTransform::Disable);
        uint32_t* p = s.samplerStates[stage];
        auto ss = [&](SamplerState state, uint32_t value) { p[static_cast<int>(state)] = value; };
        ss(SamplerState::AddressU, address::Wrap);
        ss(SamplerState::AddressV, address::Wrap);
        ss(SamplerState::BorderColor, 0);
        ss(SamplerState::MagFilter, filter::Point);
        ss(SamplerState::MinFilter, filter::Point);
        ss(SamplerState::MipFilter, filter::None);
    }
    for (Matrix& m : s.transforms) m = Matrix{};
    s.fvf = 0;
    s.viewport = Viewport{0, 0, width, height, 0.0f, 1.0f};
}

}  // namespace plat::gfx
