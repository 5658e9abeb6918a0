#include "platform/gfx/state_block.h"

#include "platform/gfx/device.h"
#include "platform/gfx/result_codes.h"
#include "platform/gfx/texture.h"

namespace plat::gfx {

StateBlock::StateBlock(Device* device) : device_(device) {
    device_->addRef();
    device_->defaultPoolObjectCreated();
}

StateBlock::~StateBlock() {
    for (Texture*& t : values_.textures) releaseRef(t);
    device_->defaultPoolObjectDestroyed();
    device_->release();
}

Result StateBlock::capture() {
    const PipelineState& now = device_->pipeline();
    for (int i = 0; i < kRenderStates; ++i)
        if (renderSet_[i]) values_.renderStates[i] = now.renderStates[i];
    for (int stage = 0; stage < kMaxStages; ++stage) {
        for (int i = 0; i < kStageStates; ++i)
            if (stageSet_[stage * kStageStates + i])
                values_.stageStates[stage][i] = now.stageStates[stage][i];
        for (int i = 0; i < kSamplerStates; ++i)
            if (samplerSet_[stage * kSamplerStates + i])
                values_.samplerStates[stage][i] = now.samplerStates[stage][i];
        if (textureSet_[stage] && values_.textures[stage] != now.textures[stage]) {
            if (now.textures[stage]) now.textures[stage]->addRef();
            releaseRef(values_.textures[stage]);
            values_.textures[stage] = now.textures[stage];
        }
    }
    for (int i = 0; i < kTransforms; ++i)
        if (transformSet_[i]) values_.transforms[i] = now.transforms[i];
    if (fvfSet_) values_.fvf = now.fvf;
    if (viewportSet_) values_.viewport = now.viewport;
    return kOk;
}

Result StateBlock::apply() {
    PipelineState& now = device_->pipeline();
    for (int i = 0; i < kRenderStates; ++i)
        if (renderSet_[i]) now.renderStates[i] = values_.renderStates[i];
    for (int stage = 0; stage < kMaxStages; ++stage) {
        for (int i = 0; i < kStageStates; ++i)
            if (stageSet_[stage * kStageStates + i])
                now.stageStates[stage][i] = values_.stageStates[stage][i];
        for (int i = 0; i < kSamplerStates; ++i)
            if (samplerSet_[stage * kSamplerStates + i])
                now.samplerStates[stage][i] = values_.samplerStates[stage][i];
        if (textureSet_[stage])
            device_->bindTexture(static_cast<uint32_t>(stage), values_.textures[stage]);
    }
    for (int i = 0; i < kTransforms; ++i)
        if (transformSet_[i]) now.transforms[i] = values_.transforms[i];
    if (fvfSet_) now.fvf = values_.fvf;
    if (viewportSet_) now.viewport = values_.viewport;
    return kOk;
}

Result StateBlock::getDevice(Device** out) {
    if (!out) return kInvalidCall;
    device_->addRef();
    *out = device_;
    return kOk;
}

}  // namespace plat::gfx
