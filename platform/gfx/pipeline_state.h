#pragma once
// Everything a draw reads from the device: the settings state blocks record and apply.

#include <cstdint>

#include "platform/gfx/render_states.h"

namespace plat::gfx {

class Texture;

constexpr int kMaxStages = 8;  // texture stages and samplers

struct PipelineState {
    uint32_t renderStates[static_cast<int>(RenderState::Count)] = {};
    uint32_t stageStates[kMaxStages][static_cast<int>(TextureStageState::Count)] = {};
    uint32_t samplerStates[kMaxStages][static_cast<int>(SamplerState::Count)] = {};
    Texture* textures[kMaxStages] = {};  // the device holds a reference to each
    Matrix transforms[static_cast<int>(TransformType::Count)];
    uint32_t fvf = 0;
    Viewport viewport;

    uint32_t rs(RenderState s) const { return renderStates[static_cast<int>(s)]; }
    uint32_t tss(int stage, TextureStageState s) const {
        return stageStates[stage][static_cast<int>(s)];
    }
    uint32_t ss(int sampler, SamplerState s) const {
        return samplerStates[sampler][static_cast<int>(s)];
    }
};

// The device's values at creation and after a reset (viewport: the whole back buffer).
void setDefaultPipelineState(PipelineState& state, uint32_t width, uint32_t height);

}  // namespace plat::gfx
