// The sprite batch on a windowed 320 x 240 device: creation and references, the begin/end
// bracket and its state blocks, refused draws, and the pixels of placed, clamped, turned and
// stretched quads.

#include "render/facility/sprite_batch.h"

#include <cmath>
#include <numbers>

#include "gfx/gfx_fixture.h"
#include "render/texture_fixture.h"

using namespace plat::gfx;
using render_test::makeTexture;
using render_test::near;

namespace {

constexpr uint32_t kBackground = 0x00102030;

// Opaque texel whose red and green tell its column and row.
uint32_t gridTexel(int x, int y) {
    return 0xFF000000u | static_cast<uint32_t>(x * 16 + 8) << 16 |
           static_cast<uint32_t>(y * 16 + 8) << 8 | 0x40u;
}

class SpriteBatchTest : public GfxTest {
  protected:
    void SetUp() override {
        GfxTest::SetUp();
        createDevice();
        ASSERT_EQ(createSpriteBatch(device, &batch), plat::kOk);
        ASSERT_EQ(device->clear(0, nullptr, clearFlags::Target, kBackground, 1.0f, 0), plat::kOk);
        ASSERT_EQ(device->beginScene(), plat::kOk);
    }
    void TearDown() override {
        plat::releaseRef(batch);
        if (device) device->setTexture(0, nullptr);  // a bound texture would keep the device
        for (Texture*& t : textures) plat::releaseRef(t);
        GfxTest::TearDown();
    }

    template <typename TexelFn>
    Texture* texture(uint32_t w, uint32_t h, TexelFn fn) {
        Texture* t = makeTexture(device, w, h, fn);
        for (Texture*& slot : textures)
            if (!slot) {
                slot = t;
                break;
            }
        return t;
    }

    uint32_t pixel(int x, int y) const { return device->backBufferPixel(x, y); }

    // The settings a game might have in force before a bracket, and a way to read them back.
    struct GameStates {
        uint32_t srcBlend, destBlend, blendEnable, cull, magFilter, addressU, colorArg2, fvf;
        Texture* texture;
        bool operator==(const GameStates&) const = default;
    };
    GameStates readStates() const {
        GameStates s{};
        device->getRenderState(RenderState::SrcBlend, s.srcBlend);
        device->getRenderState(RenderState::DestBlend, s.destBlend);
        device->getRenderState(RenderState::AlphaBlendEnable, s.blendEnable);
        device->getRenderState(RenderState::CullMode, s.cull);
        device->getSamplerState(0, SamplerState::MagFilter, s.magFilter);
        device->getSamplerState(0, SamplerState::AddressU, s.addressU);
        device->getTextureStageState(0, TextureStageState::ColorArg2, s.colorArg2);
        device->getFvf(s.fvf);
        device->getTexture(0, &s.texture);
        if (s.texture) s.texture->release();  // only its identity is compared
        return s;
    }
    void setGameStates(Texture* t) {
        device->setRenderState(RenderState::SrcBlend, blend::One);
        device->setRenderState(RenderState::DestBlend, blend::One);
        device->setRenderState(RenderState::AlphaBlendEnable, 0);
        device->setRenderState(RenderState::CullMode, cull::Clockwise);
        device->setSamplerState(0, SamplerState::MagFilter, filter::Point);
        device->setSamplerState(0, SamplerState::AddressU, address::Wrap);
        device->setTextureStageState(0, TextureStageState::ColorArg2, textureArg::Current);
        device->setFvf(fvf::Xyz | fvf::Diffuse);
        device->setTexture(0, t);
    }

    SpriteBatch* batch = nullptr;
    Texture* textures[4] = {};
};

TEST_F(SpriteBatchTest, CreationRefusalsAndReferences) {
    SpriteBatch* out = reinterpret_cast<SpriteBatch*>(this);  // must be emptied
    EXPECT_EQ(createSpriteBatch(nullptr, &out), kInvalidCall);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(createSpriteBatch(device, nullptr), kInvalidCall);

    // A batch holds one device reference until its last release.
    const uint32_t deviceRefs = device->addRef() - 1;
    device->release();
    SpriteBatch* b = nullptr;
    ASSERT_EQ(createSpriteBatch(device, &b), plat::kOk);
    EXPECT_EQ(device->addRef() - 1, deviceRefs + 1);
    device->release();
    EXPECT_EQ(b->addRef(), 2u);
    EXPECT_EQ(b->release(), 1u);
    Device* d = nullptr;
    ASSERT_EQ(b->getDevice(&d), plat::kOk);
    EXPECT_EQ(d, device);
    d->release();
    EXPECT_EQ(b->release(), 0u);
    EXPECT_EQ(device->addRef() - 1, deviceRefs);
    device->release();
}

TEST_F(SpriteBatchTest, BeginTwiceAndEndIdleAreRefusedAndChangeNothing) {
    EXPECT_EQ(batch->end(), kInvalidCall);
    EXPECT_EQ(device->defaultPoolObjects(), 0);  // nothing recorded by a refused end
    ASSERT_EQ(batch->begin(), plat::kOk);
    // The game's factors set inside the bracket survive a refused second begin.
    device->setRenderState(RenderState::SrcBlend, blend::One);
    EXPECT_EQ(batch->begin(), kInvalidCall);
    uint32_t src = 0;
    device->getRenderState(RenderState::SrcBlend, src);
    EXPECT_EQ(src, blend::One);
    EXPECT_TRUE(batch->begun());
    EXPECT_EQ(batch->end(), plat::kOk);
    EXPECT_EQ(batch->end(), kInvalidCall);
    EXPECT_FALSE(batch->begun());
}

TEST_F(SpriteBatchTest, StateBlocksAreRecordedOnceAndRestoreTheGameStates) {
    Texture* gameTexture = texture(4, 4, gridTexel);
    Texture* sprite = texture(4, 4, gridTexel);
    setGameStates(gameTexture);
    const GameStates game = readStates();
    const GameStates spriteStates{blend::SrcAlpha,
                                  blend::InvSrcAlpha,
                                  1,
                                  cull::None,
                                  filter::Linear,
                                  address::Clamp,
                                  textureArg::Diffuse,
                                  fvf::XyzRhw | fvf::Diffuse | fvf::Tex1,
                                  gameTexture};
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(batch->begin(), plat::kOk);
        EXPECT_TRUE(readStates() == spriteStates);
        EXPECT_EQ(device->defaultPoolObjects(), 2);  // two state blocks, never more
        EXPECT_EQ(batch->end(), plat::kOk);
        EXPECT_TRUE(readStates() == game);
    }
    // A draw on the idle batch brackets itself: afterwards the batch is idle and the game's
    // states, including its texture, are back.
    const Rect whole{0, 0, 4, 4};
    EXPECT_EQ(batch->draw(sprite, &whole, nullptr, nullptr, 0.0f, nullptr, 0xFFFFFFFF), plat::kOk);
    EXPECT_FALSE(batch->begun());
    EXPECT_TRUE(readStates() == game);
    EXPECT_EQ(device->defaultPoolObjects(), 2);

    // Losing the device drops the blocks (so a reset can succeed); the next begin records anew.
    EXPECT_EQ(batch->onLostDevice(), plat::kOk);
    EXPECT_EQ(device->defaultPoolObjects(), 0);
    ASSERT_EQ(batch->begin(), plat::kOk);
    EXPECT_TRUE(readStates() == spriteStates);
    EXPECT_EQ(batch->end(), plat::kOk);
    EXPECT_TRUE(readStates() == game);
}

TEST_F(SpriteBatchTest, SourceRectangleRefusalsAndClampedEdges) {
    // 8 x 8, the last column and the last row each in a colour of their own.
    Texture* t = texture(8, 8, [](int x, int y) -> uint32_t {
        if (x == 7 && y == 7) return 0xFFFFFF00;
        if (x == 7) return 0xFFFF0000;
        if (y == 7) return 0xFF00FF00;
        return 0xFF0000FF;
    });
    struct Case {
        const char* name;
        Rect source;
        bool accepted;
    };
    const Case cases[] = {
        {"left before the texture", {-1, 0, 4, 4}, false},
        {"top before the texture", {0, -1, 4, 4}, false},
        {"right before left", {4, 0, 3, 4}, false},
        {"bottom above top", {0, 4, 4, 3}, false},
        {"left beyond the width", {9, 0, 12, 4}, false},
        {"top beyond the height", {0, 9, 4, 12}, false},
        {"left on the right edge", {8, 0, 10, 4}, true},
        {"right beyond the width", {4, 0, 12, 8}, true},
        {"bottom beyond the height", {0, 4, 8, 12}, true},
    };
    const SpriteVector at{40.0f, 40.0f};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(device->clear(0, nullptr, clearFlags::Target, kBackground, 1.0f, 0), plat::kOk);
        SpriteBatch* fresh = nullptr;
        ASSERT_EQ(createSpriteBatch(device, &fresh), plat::kOk);
        const plat::Result r = fresh->draw(t, &c.source, nullptr, nullptr, 0.0f, &at, 0xFFFFFFFF);
        EXPECT_EQ(r, c.accepted ? plat::kOk : kInvalidCall);
        if (!c.accepted) {
            // Refused before anything began: no block recorded, nothing drawn.
            EXPECT_EQ(device->defaultPoolObjects(), 0);
            for (int y = 38; y < 54; ++y)
                for (int x = 38; x < 54; ++x) ASSERT_EQ(pixel(x, y), kBackground) << x << "," << y;
        }
        fresh->release();
    }
    EXPECT_EQ(batch->draw(nullptr, nullptr, nullptr, nullptr, 0.0f, nullptr, 0xFFFFFFFF),
              kInvalidCall);
    EXPECT_EQ(device->defaultPoolObjects(), 0);
}

TEST_F(SpriteBatchTest, RightAndBottomBeyondTheTextureRepeatItsLastColumnAndRow) {
    Texture* t = texture(8, 8, [](int x, int y) -> uint32_t {
        if (x == 7 && y == 7) return 0xFFFFFF00;
        if (x == 7) return 0xFFFF0000;
        if (y == 7) return 0xFF00FF00;
        return 0xFF0000FF;
    });
    // Columns 4..11 of rows 4..11: the texture's columns 4..7 then column 7 again, likewise rows.
    const Rect source{4, 4, 12, 12};
    const SpriteVector at{100.0f, 50.0f};
    ASSERT_EQ(batch->draw(t, &source, nullptr, nullptr, 0.0f, &at, 0xFFFFFFFF), plat::kOk);
    for (int j = 0; j < 8; ++j) {
        for (int i = 0; i < 8; ++i) {
            const bool lastColumn = i >= 3, lastRow = j >= 3;
            const uint32_t want = lastColumn && lastRow ? 0xFFFF00
                                  : lastColumn          ? 0xFF0000
                                  : lastRow             ? 0x00FF00
                                                        : 0x0000FF;
            EXPECT_EQ(pixel(100 + i, 50 + j), want) << i << "," << j;
        }
    }
    EXPECT_EQ(pixel(108, 50), kBackground);
    EXPECT_EQ(pixel(100, 58), kBackground);
}

TEST_F(SpriteBatchTest, UnscaledQuadAtWholePixelsCopiesTexelForTexel) {
    // The 16 x 16 source sits in a larger texture whose other texels are white, so any blur or
    // shift shows.
    Texture* t = texture(32, 32, [](int x, int y) -> uint32_t {
        return x < 16 && y < 16 ? gridTexel(x, y) : 0xFFFFFFFF;
    });
    const Rect source{0, 0, 16, 16};
    const SpriteVector scale{1.0f, 1.0f}, at{10.0f, 20.0f};
    ASSERT_EQ(batch->draw(t, &source, &scale, nullptr, 0.0f, &at, 0xFFFFFFFF), plat::kOk);
    for (int y = 18; y < 38; ++y) {
        for (int x = 8; x < 28; ++x) {
            const bool inside = x >= 10 && x <= 25 && y >= 20 && y <= 35;
            const uint32_t want = inside ? gridTexel(x - 10, y - 20) & 0xFFFFFF : kBackground;
            EXPECT_EQ(pixel(x, y), want) << x << "," << y;
        }
    }
}

TEST_F(SpriteBatchTest, QuarterTurnAboutTheCentreStaysInItsSquareTurnedCounterClockwise) {
    Texture* t = texture(16, 16, gridTexel);
    const Rect source{0, 0, 16, 16};
    const SpriteVector centre{8.0f, 8.0f}, at{100.0f, 60.0f};
    ASSERT_EQ(
        batch->draw(t, &source, nullptr, &centre, std::numbers::pi_v<float> / 2, &at, 0xFFFFFFFF),
        plat::kOk);
    // Counter-clockwise on the screen: the texture's top row becomes the left column, read
    // upwards, so pixel (a, b) of the square shows texel (15 - b, a).
    for (int b = -1; b <= 16; ++b) {
        for (int a = -1; a <= 16; ++a) {
            const uint32_t p = pixel(100 + a, 60 + b);
            if (a < 0 || a > 15 || b < 0 || b > 15)
                EXPECT_EQ(p, kBackground) << a << "," << b;
            else
                EXPECT_TRUE(near(p, gridTexel(15 - b, a), 2)) << a << "," << b;
        }
    }
}

TEST_F(SpriteBatchTest, RotationZeroIgnoresTheCentre) {
    Texture* t = texture(16, 16, gridTexel);
    const Rect source{0, 0, 16, 16};
    const SpriteVector centre{8.0f, 3.0f}, at{30.0f, 30.0f};
    ASSERT_EQ(batch->draw(t, &source, nullptr, &centre, 0.0f, &at, 0xFFFFFFFF), plat::kOk);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(pixel(30 + x, 30 + y), gridTexel(x, y) & 0xFFFFFF) << x << "," << y;
}

TEST_F(SpriteBatchTest, OneTexelStretchedFillsTheArea) {
    // Texel (1, 1) is the one drawn; its neighbours are either the same colour (then every pixel
    // shows it) or dark (then the border blends towards them and only the middle is exact).
    struct Case {
        float w, h;
        bool sameNeighbours;
    };
    const Case cases[] = {
        {5, 3, true}, {40, 17, true}, {320, 240, true}, {9, 7, false}, {33, 21, false}};
    const uint32_t colour = 0xFFC08040;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.w << "x" << c.h << (c.sameNeighbours ? "" : " dark"));
        Texture* t = makeTexture(device, 4, 4, [&](int x, int y) -> uint32_t {
            if (x == 1 && y == 1) return colour;
            return c.sameNeighbours ? colour : 0xFF000000u;
        });
        ASSERT_EQ(device->clear(0, nullptr, clearFlags::Target, kBackground, 1.0f, 0), plat::kOk);
        const Rect source{1, 1, 2, 2};
        const SpriteVector scale{c.w, c.h};
        ASSERT_EQ(batch->draw(t, &source, &scale, nullptr, 0.0f, nullptr, 0xFFFFFFFF), plat::kOk);
        const int w = static_cast<int>(c.w), h = static_cast<int>(c.h);
        if (c.sameNeighbours) {
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(pixel(x, y), colour & 0xFFFFFF) << x << "," << y;
        } else {
            EXPECT_EQ(pixel(w / 2, h / 2), colour & 0xFFFFFF);
            // The corner blends in the dark neighbours: darker than the texel, not black.
            const uint32_t corner = pixel(0, 0);
            EXPECT_LT(render_test::channel(corner, 16), 0xC0);
            EXPECT_GT(render_test::channel(corner, 16), 0);
        }
        if (w < 320) {
            EXPECT_EQ(pixel(w, 0), kBackground);
        }
        if (h < 240) {
            EXPECT_EQ(pixel(0, h), kBackground);
        }
        t->release();
    }
}

// Without source-alpha blending the batch tests alpha instead: below 0x7F nothing is drawn, the
// rest replaces the picture.
class SpriteBatchNoBlendTest : public GfxTest {
  protected:
    void SetUp() override {
        GfxTest::SetUp();
        adapterProfile().caps.srcBlendCaps &= ~blendCaps::bit(blend::SrcAlpha);
        createDevice();
    }
};

TEST_F(SpriteBatchNoBlendTest, FragmentsBelowTheAlphaReferenceAreDropped) {
    struct Case {
        uint32_t colour;
        bool drawn;
    };
    const Case cases[] = {
        {0xFFFFFFFF, true}, {0x80FFFFFF, true}, {0x7EFFFFFF, false}, {0x20FFFFFF, false}};
    SpriteBatch* b = nullptr;
    ASSERT_EQ(createSpriteBatch(device, &b), plat::kOk);
    EXPECT_FALSE(b->canBlendAlpha());
    Texture* t = makeTexture(device, 4, 4, [](int, int) { return 0xFF80C040u; });
    ASSERT_EQ(device->beginScene(), plat::kOk);
    const SpriteVector at{20.0f, 20.0f};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.colour);
        device->clear(0, nullptr, clearFlags::Target, kBackground, 1.0f, 0);
        EXPECT_EQ(b->draw(t, nullptr, nullptr, nullptr, 0.0f, &at, c.colour), plat::kOk);
        EXPECT_EQ(device->backBufferPixel(21, 21), c.drawn ? 0x80C040u : kBackground);
    }
    device->endScene();
    t->release();
    b->release();
}

}  // namespace
