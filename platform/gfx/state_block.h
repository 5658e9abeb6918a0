#pragma once
// State blocks: a recorded set of device settings that can be captured from the device and
// applied back to it.
//
// `Device::beginStateBlock` starts recording; until `Device::endStateBlock`, every setting call
// is stored in the block instead of changing the device. `capture` then re-reads the current
// device values of exactly the recorded settings, and `apply` sets them on the device. A block
// holds references to the device and to every texture it holds. Blocks live in the default
// pool: release them before `Device::reset`.

#include <bitset>
#include <cstdint>

#include "platform/gfx/pipeline_state.h"
#include "platform/result.h"

namespace plat::gfx {

class Device;

class StateBlock : public RefCounted {
  public:
    Result capture();
    Result apply();
    Result getDevice(Device** out);

  private:
    friend class Device;
    explicit StateBlock(Device* device);
    ~StateBlock() override;

    static constexpr int kRenderStates = static_cast<int>(RenderState::Count);
    static constexpr int kStageStates = static_cast<int>(TextureStageState::Count);
    static constexpr int kSamplerStates = static_cast<int>(SamplerState::Count);
    static constexpr int kTransforms = static_cast<int>(TransformType::Count);

    // What was recorded, and the values.
    std::bitset<kRenderStates> renderSet_;
    std::bitset<kMaxStages * kStageStates> stageSet_;
    std::bitset<kMaxStages * kSamplerStates> samplerSet_;
    std::bitset<kMaxStages> textureSet_;
    std::bitset<kTransforms> transformSet_;
    bool fvfSet_ = false;
    bool viewportSet_ = false;
    PipelineState values_;  // its textures hold references

    Device* device_;  // a reference is held
};

}  // namespace plat::gfx
