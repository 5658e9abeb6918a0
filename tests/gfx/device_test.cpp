// The device's life: losing it in full screen, the reset it then needs, resets refused while old
// objects live, scenes, and state blocks that record, capture and apply settings.
#include <gtest/gtest.h>

#include "gfx/gfx_fixture.h"
#include "platform/gfx/state_block.h"

namespace {

using namespace plat::gfx;

class DeviceTest : public GfxTest {
  protected:
    void deactivate() {
        host.setActive(false);
        pumpMessages();
    }
    void activate() {
        host.setActive(true);
        pumpMessages();
    }
    Texture* defaultPoolTexture() {
        Texture* t = nullptr;
        EXPECT_EQ(device->createTexture(16, 16, 1, 0, Format::A8R8G8B8, Pool::Default, &t),
                  plat::kOk);
        return t;
    }
};

TEST_F(DeviceTest, FullScreenDeviceIsLostInTheBackgroundUntilResetAfterReactivation) {
    openActiveWindow();
    createDevice(false);
    ASSERT_EQ(device->testCooperativeLevel(), plat::kOk);

    deactivate();
    EXPECT_EQ(device->testCooperativeLevel(), kDeviceLost);
    EXPECT_EQ(device->beginScene(), kDeviceLost);
    EXPECT_EQ(device->present(), kDeviceLost);
    PresentParams p = params(false);
    EXPECT_EQ(device->reset(p), kDeviceLost) << "a lost device cannot be reset in the background";

    activate();
    EXPECT_EQ(device->testCooperativeLevel(), kDeviceNotReset);
    EXPECT_EQ(device->beginScene(), kDeviceLost);

    // A live default-pool texture keeps the reset refused, and the device unusable.
    Texture* texture = defaultPoolTexture();
    p = params(false);
    EXPECT_EQ(device->reset(p), kInvalidCall);
    EXPECT_EQ(device->testCooperativeLevel(), kDeviceNotReset);
    plat::releaseRef(texture);

    p = params(false);
    EXPECT_EQ(device->reset(p), plat::kOk);
    EXPECT_EQ(device->testCooperativeLevel(), plat::kOk);
    EXPECT_EQ(device->beginScene(), plat::kOk);
    EXPECT_EQ(device->endScene(), plat::kOk);
    EXPECT_EQ(device->present(), plat::kOk);
}

TEST_F(DeviceTest, FullScreenDeviceIsLostByADeactivationItNeverSawWhileRunning) {
    openActiveWindow();
    createDevice(false);
    deactivate();
    activate();  // both happened between two calls of the game
    EXPECT_EQ(device->testCooperativeLevel(), kDeviceNotReset);
}

TEST_F(DeviceTest, WindowedDeviceIsNeverLostButARefusedResetLeavesItNeedingOne) {
    openActiveWindow();
    createDevice(true);
    deactivate();
    EXPECT_EQ(device->testCooperativeLevel(), plat::kOk);
    activate();

    Texture* texture = defaultPoolTexture();
    PresentParams p = params(false);
    ASSERT_EQ(device->reset(p), kInvalidCall);
    // The failed switch must show, or nobody would ever retry it.
    EXPECT_EQ(device->testCooperativeLevel(), kDeviceNotReset);
    EXPECT_EQ(device->beginScene(), kDeviceLost);
    plat::releaseRef(texture);

    p = params(false);
    EXPECT_EQ(device->reset(p), plat::kOk);
    EXPECT_EQ(device->testCooperativeLevel(), plat::kOk);
    EXPECT_EQ(device->backBufferFormat(), Format::R5G6B5);
}

TEST_F(DeviceTest, ResetGivesTheBackBufferAndPutsSettingsBack) {
    openActiveWindow();
    createDevice(true);
    ASSERT_EQ(device->setRenderState(RenderState::AlphaBlendEnable, 1), plat::kOk);
    PresentParams p = params(false);
    ASSERT_EQ(device->reset(p), plat::kOk);
    EXPECT_EQ(device->backBufferWidth(), 320u);
    EXPECT_EQ(device->backBufferHeight(), 240u);
    EXPECT_EQ(device->backBufferFormat(), Format::R5G6B5);
    uint32_t value = 1;
    ASSERT_EQ(device->getRenderState(RenderState::AlphaBlendEnable, value), plat::kOk);
    EXPECT_EQ(value, 0u);
}

TEST_F(DeviceTest, ScenesPairUp) {
    createDevice(true);
    EXPECT_EQ(device->endScene(), kInvalidCall);
    EXPECT_EQ(device->beginScene(), plat::kOk);
    EXPECT_EQ(device->beginScene(), kInvalidCall);
    EXPECT_EQ(device->present(), kInvalidCall) << "present inside a scene";
    EXPECT_EQ(device->endScene(), plat::kOk);
    EXPECT_EQ(device->present(), plat::kOk);
}

TEST_F(DeviceTest, StateBlockRecordsCapturesAndAppliesOnlyItsSettings) {
    createDevice(true);
    EXPECT_EQ(device->endStateBlock(nullptr), kInvalidCall);
    ASSERT_EQ(device->beginStateBlock(), plat::kOk);
    EXPECT_EQ(device->beginStateBlock(), kInvalidCall);
    // Recorded, not set.
    ASSERT_EQ(device->setRenderState(RenderState::SrcBlend, blend::DestColor), plat::kOk);
    ASSERT_EQ(device->setRenderState(RenderState::DestBlend, blend::SrcColor), plat::kOk);
    StateBlock* block = nullptr;
    ASSERT_EQ(device->endStateBlock(&block), plat::kOk);
    ASSERT_NE(block, nullptr);
    uint32_t src = 0, dest = 0, ref = 0;
    device->getRenderState(RenderState::SrcBlend, src);
    EXPECT_NE(src, blend::DestColor) << "recording must not change the device";

    ASSERT_EQ(block->apply(), plat::kOk);
    device->getRenderState(RenderState::SrcBlend, src);
    device->getRenderState(RenderState::DestBlend, dest);
    EXPECT_EQ(src, blend::DestColor);
    EXPECT_EQ(dest, blend::SrcColor);

    // Capture takes the current values of exactly the recorded settings.
    device->setRenderState(RenderState::SrcBlend, blend::SrcAlpha);
    device->setRenderState(RenderState::DestBlend, blend::InvSrcAlpha);
    device->setRenderState(RenderState::AlphaRef, 0x7F);
    ASSERT_EQ(block->capture(), plat::kOk);
    device->setRenderState(RenderState::SrcBlend, blend::Zero);
    device->setRenderState(RenderState::DestBlend, blend::Zero);
    device->setRenderState(RenderState::AlphaRef, 0x10);
    ASSERT_EQ(block->apply(), plat::kOk);
    device->getRenderState(RenderState::SrcBlend, src);
    device->getRenderState(RenderState::DestBlend, dest);
    device->getRenderState(RenderState::AlphaRef, ref);
    EXPECT_EQ(src, blend::SrcAlpha);
    EXPECT_EQ(dest, blend::InvSrcAlpha);
    EXPECT_EQ(ref, 0x10u) << "a setting the block never recorded is left alone";

    // A live block, like a default-pool texture, keeps a reset refused.
    PresentParams p = params(true);
    EXPECT_EQ(device->reset(p), kInvalidCall);
    plat::releaseRef(block);
    p = params(true);
    EXPECT_EQ(device->reset(p), plat::kOk);
}

}  // namespace
