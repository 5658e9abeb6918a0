#include "platform/gfx/texture.h"

#include <cstring>

#include "gfx_fixture.h"

using namespace plat::gfx;

namespace {

class TextureTest : public GfxTest {
  protected:
    void SetUp() override {
        GfxTest::SetUp();
        createDevice();
    }
};

TEST_F(TextureTest, FullChainLevelsHalveEachSide) {
    Texture* t = nullptr;
    ASSERT_EQ(device->createTexture(512, 256, 0, 0, Format::A8R8G8B8, Pool::Managed, &t),
              plat::kOk);
    EXPECT_EQ(t->levelCount(), 10u);
    LevelDesc d;
    ASSERT_EQ(t->getLevelDesc(1, d), plat::kOk);
    EXPECT_EQ(d.width, 256u);
    EXPECT_EQ(d.height, 128u);
    ASSERT_EQ(t->getLevelDesc(9, d), plat::kOk);
    EXPECT_EQ(d.width, 1u);
    EXPECT_EQ(d.height, 1u);
    EXPECT_EQ(d.pool, Pool::Managed);
    EXPECT_EQ(d.format, Format::A8R8G8B8);
    EXPECT_EQ(t->getLevelDesc(10, d), kInvalidCall);
    t->release();
}

TEST_F(TextureTest, CreationRefusals) {
    struct Case {
        uint32_t w, h, levels, usage;
        Format format;
        Pool pool;
        plat::Result expected;
    };
    const Case cases[] = {
        {0, 16, 1, 0, Format::A8R8G8B8, Pool::Managed, kInvalidCall},
        {8192, 16, 1, 0, Format::A8R8G8B8, Pool::Managed, kInvalidCall},
        {16, 16, 6, 0, Format::A8R8G8B8, Pool::Managed, kInvalidCall},  // chain has 5
        {16, 16, 1, usage::Dynamic, Format::A8R8G8B8, Pool::Managed, kInvalidCall},
        {16, 16, 1, 0, Format::R8G8B8, Pool::Managed, kNotAvailable},
        {16, 16, 1, 0, Format::DXT1, Pool::Managed, kNotAvailable},
        {16, 16, 1, 0, Format::Unknown, Pool::Default, kNotAvailable},
        {16, 16, 5, 0, Format::A1R5G5B5, Pool::SystemMemory, plat::kOk},
        {3, 5, 1, 0, Format::X8R8G8B8, Pool::Default, plat::kOk},
    };
    for (const Case& c : cases) {
        Texture* t = nullptr;
        EXPECT_EQ(device->createTexture(c.w, c.h, c.levels, c.usage, c.format, c.pool, &t),
                  c.expected)
            << c.w << "x" << c.h << " " << formatName(c.format);
        EXPECT_EQ(t != nullptr, c.expected == plat::kOk);
        plat::releaseRef(t);
    }
}

TEST_F(TextureTest, AdapterLimitsAreEnforced) {
    adapterProfile().caps.textureCaps |= textureCaps::Pow2 | textureCaps::SquareOnly;
    adapterProfile().caps.textureCaps &= ~textureCaps::MipMap;
    adapterProfile().textureFormats &= ~formatBit(Format::A1R5G5B5);
    Texture* t = nullptr;
    EXPECT_EQ(device->createTexture(24, 24, 1, 0, Format::A8R8G8B8, Pool::Managed, &t),
              kInvalidCall);
    EXPECT_EQ(device->createTexture(32, 16, 1, 0, Format::A8R8G8B8, Pool::Managed, &t),
              kInvalidCall);
    EXPECT_EQ(device->createTexture(32, 32, 2, 0, Format::A8R8G8B8, Pool::Managed, &t),
              kInvalidCall);
    EXPECT_EQ(device->createTexture(32, 32, 1, 0, Format::A1R5G5B5, Pool::Managed, &t),
              kNotAvailable);
    EXPECT_EQ(system->checkDeviceFormat(DeviceType::Hardware, Format::X8R8G8B8, 0,
                                        ResourceType::Texture, Format::A1R5G5B5),
              kNotAvailable);
    ASSERT_EQ(device->createTexture(32, 32, 1, 0, Format::A8R8G8B8, Pool::Managed, &t), plat::kOk);
    t->release();
}

TEST_F(TextureTest, LockRulesPerPoolAndLevel) {
    Texture* def = nullptr;
    Texture* dyn = nullptr;
    Texture* sys = nullptr;
    ASSERT_EQ(device->createTexture(8, 8, 2, 0, Format::A8R8G8B8, Pool::Default, &def), plat::kOk);
    ASSERT_EQ(device->createTexture(8, 8, 1, usage::Dynamic, Format::A8R8G8B8, Pool::Default, &dyn),
              plat::kOk);
    ASSERT_EQ(device->createTexture(8, 8, 2, 0, Format::A8R8G8B8, Pool::SystemMemory, &sys),
              plat::kOk);
    LockedRect lr;
    EXPECT_EQ(def->lockRect(0, lr, nullptr, 0), kInvalidCall);  // default pool, not dynamic
    EXPECT_EQ(dyn->lockRect(0, lr, nullptr, lock::Discard), plat::kOk);
    EXPECT_EQ(dyn->lockRect(0, lr, nullptr, 0), kInvalidCall);  // already locked
    EXPECT_EQ(dyn->unlockRect(0), plat::kOk);
    EXPECT_EQ(dyn->unlockRect(0), kInvalidCall);                // not locked
    EXPECT_EQ(sys->lockRect(2, lr, nullptr, 0), kInvalidCall);  // no such level
    const Rect outside{4, 4, 9, 8};
    EXPECT_EQ(sys->lockRect(0, lr, &outside, 0), kInvalidCall);
    const Rect inside{2, 3, 6, 8};
    ASSERT_EQ(sys->lockRect(0, lr, &inside, 0), plat::kOk);
    EXPECT_EQ(lr.pitch, 32);
    EXPECT_EQ(device->updateTexture(sys, def), kInvalidCall);  // source locked
    sys->unlockRect(0);
    def->release();
    dyn->release();
    sys->release();
}

// The staging road: fill a system-memory texture, upload it, and the default-pool texture holds
// the same texels on every level.
TEST_F(TextureTest, UpdateTextureCopiesEveryLevel) {
    Texture* sys = nullptr;
    Texture* def = nullptr;
    ASSERT_EQ(device->createTexture(4, 2, 0, 0, Format::A1R5G5B5, Pool::SystemMemory, &sys),
              plat::kOk);
    ASSERT_EQ(device->createTexture(4, 2, 0, 0, Format::A1R5G5B5, Pool::Default, &def), plat::kOk);
    ASSERT_EQ(sys->levelCount(), 3u);
    for (uint32_t level = 0; level < 3; ++level) {
        LockedRect lr;
        ASSERT_EQ(sys->lockRect(level, lr, nullptr, 0), plat::kOk);
        LevelDesc d;
        sys->getLevelDesc(level, d);
        for (uint32_t y = 0; y < d.height; ++y)
            for (uint32_t x = 0; x < d.width; ++x) {
                const uint16_t v = static_cast<uint16_t>(0x8000 | (level << 10) | (y << 5) | x);
                std::memcpy(static_cast<uint8_t*>(lr.bits) + y * lr.pitch + x * 2, &v, 2);
            }
        sys->unlockRect(level);
    }
    ASSERT_EQ(device->updateTexture(sys, def), plat::kOk);
    for (uint32_t level = 0; level < 3; ++level) {
        LevelDesc d;
        def->getLevelDesc(level, d);
        for (uint32_t y = 0; y < d.height; ++y)
            for (uint32_t x = 0; x < d.width; ++x) {
                uint16_t v = 0;
                std::memcpy(&v, def->levelBits(level) + y * def->levelPitch(level) + x * 2, 2);
                EXPECT_EQ(v, 0x8000 | (level << 10) | (y << 5) | x);
            }
    }
    // The sampler's copy of level 0 is the texels widened to 8 bits per channel.
    // (green 1, blue 3 in 5 bits) -> 0xFF000818.
    EXPECT_EQ(def->samplePixels()[1 * 4 + 3], 0xFF000818u);
    Texture* other = nullptr;
    ASSERT_EQ(device->createTexture(4, 2, 0, 0, Format::A8R8G8B8, Pool::Default, &other),
              plat::kOk);
    EXPECT_EQ(device->updateTexture(sys, other), kInvalidCall);  // formats differ
    EXPECT_EQ(device->updateTexture(def, sys), kInvalidCall);    // pools reversed
    other->release();
    sys->release();
    def->release();
}

}  // namespace
