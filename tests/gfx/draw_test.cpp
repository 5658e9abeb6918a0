// Drawing through the device: placement of sprite quads, stretching, clamping, the primitive
// types, the viewport and refused draws.

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <new>
#include <random>
#include <vector>

#include "draw_helpers.h"
#include "gfx_fixture.h"
#include "support/counting_new.h"

using namespace plat::gfx;
using namespace drawtest;

namespace {

constexpr uint32_t kBackground = 0x00123456u;

class DrawTest : public GfxTest {
  protected:
    void SetUp() override {
        GfxTest::SetUp();
        createDevice();
    }
    void TearDown() override {
        // The device holds a reference to its stage texture, which holds one to the device.
        if (device) device->setTexture(0, nullptr);
        plat::releaseRef(texture);
        GfxTest::TearDown();
    }
    void clearTo(uint32_t colour) {
        ASSERT_EQ(device->clear(0, nullptr, clearFlags::Target, colour, 1.0f, 0), plat::kOk);
    }
    std::vector<uint32_t> frame() const {
        std::vector<uint32_t> out;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) out.push_back(device->backBufferPixel(x, y));
        return out;
    }
    // Draws `q` as the sprite batch does (a fan of two triangles) inside a scene.
    plat::Result drawFan(const Quad& q) {
        device->beginScene();
        const plat::Result r =
            device->drawPrimitiveUp(PrimitiveType::TriangleFan, 2, q.v, sizeof(TransformedVertex));
        device->endScene();
        return r;
    }

    Texture* texture = nullptr;
};

// The matrix the sprite batch's untransformed road puts in the world transform for the whole
// 320 x 240 viewport: a pixel-grid point (x, y) lands on screen point (x - 0.5, y - 0.5).
Matrix pixelMatrix() {
    Matrix m;
    m.m[0][0] = 2.0f / 320;
    m.m[1][1] = -2.0f / 240;
    m.m[3][0] = -1.0f / 320 - 1;
    m.m[3][1] = 1.0f / 240 + 1;
    return m;
}

TEST_F(DrawTest, UnscaledSpriteCopiesTexelsOneForOne) {
    texture = makeTexture(device, 32, 32, uniqueTexel);
    ASSERT_NE(texture, nullptr);
    struct Case {
        int tx, ty, left, top, right, bottom;
    };
    const Case cases[] = {
        {10, 20, 0, 0, 16, 16},      // the 16 x 16 at (10, 20): pixels 10..25 x 20..35
        {0, 0, 4, 6, 20, 14},        // top-left corner of the buffer
        {-5, -3, 0, 0, 32, 32},      // partly beyond the left and top
        {310, 230, 1, 2, 31, 29},    // partly beyond the right and bottom
        {157, 101, 31, 31, 32, 32},  // one texel
    };
    for (bool untransformed : {false, true}) {
        for (const Case& c : cases) {
            spriteStates(device, true, blend::SrcAlpha, blend::InvSrcAlpha);
            device->setTexture(0, texture);
            clearTo(kBackground);
            Quad q = spriteQuad(static_cast<float>(c.tx), static_cast<float>(c.ty), c.left, c.top,
                                c.right, c.bottom, 32, 32, 0xFFFFFFFFu);
            if (untransformed) {
                Vertex v[4];
                for (int i = 0; i < 4; ++i)
                    v[i] = {q.v[i].x + 0.5f, q.v[i].y + 0.5f, 0,
                            q.v[i].diffuse,  q.v[i].u,        q.v[i].v};
                device->setFvf(fvf::Xyz | fvf::Diffuse | fvf::Tex1);
                device->setTransform(TransformType::World, pixelMatrix());
                device->beginScene();
                ASSERT_EQ(device->drawPrimitiveUp(PrimitiveType::TriangleFan, 2, v, sizeof v[0]),
                          plat::kOk);
                device->endScene();
            } else {
                ASSERT_EQ(drawFan(q), plat::kOk);
            }
            const int w = c.right - c.left, h = c.bottom - c.top;
            for (int y = 0; y < 240; ++y)
                for (int x = 0; x < 320; ++x) {
                    const bool inside = x >= c.tx && x < c.tx + w && y >= c.ty && y < c.ty + h;
                    const uint32_t expected =
                        inside ? uniqueTexel(c.left + x - c.tx, c.top + y - c.ty) & 0xFFFFFFu
                               : kBackground;
                    ASSERT_EQ(device->backBufferPixel(x, y), expected)
                        << "pixel " << x << "," << y << " sprite at " << c.tx << "," << c.ty
                        << (untransformed ? " untransformed" : " screen space");
                }
        }
    }
}

TEST_F(DrawTest, StretchedTexelFillsItsRectangle) {
    // Texel (3, 3) inside a 3 x 3 block of one colour, so bilinear filtering anywhere within
    // half a texel of its centre gives that colour; everything else is transparent black.
    constexpr uint32_t kColour = 0xFFC08040u;
    texture = makeTexture(device, 8, 8, [](uint32_t i, uint32_t j) {
        return i >= 2 && i <= 4 && j >= 2 && j <= 4 ? kColour : 0u;
    });
    ASSERT_NE(texture, nullptr);
    struct Case {
        int x, y, w, h;
    };
    const Case cases[] = {
        {5, 7, 1, 1}, {0, 0, 320, 240}, {100, 50, 37, 3}, {20, 30, 2, 90}, {300, 200, 40, 60}};
    for (const Case& c : cases) {
        spriteStates(device, true, blend::SrcAlpha, blend::InvSrcAlpha);
        device->setTexture(0, texture);
        clearTo(kBackground);
        ASSERT_EQ(
            drawFan(spriteQuad(static_cast<float>(c.x), static_cast<float>(c.y), 3, 3, 4, 4, 8, 8,
                               0xFFFFFFFFu, static_cast<float>(c.w), static_cast<float>(c.h))),
            plat::kOk);
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) {
                const bool inside = x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
                ASSERT_EQ(device->backBufferPixel(x, y), inside ? kColour & 0xFFFFFFu : kBackground)
                    << x << "," << y << " in " << c.w << "x" << c.h << " at " << c.x << "," << c.y;
            }
    }
}

TEST_F(DrawTest, SourceBeyondTheTextureRepeatsTheLastColumnAndRow) {
    texture = makeTexture(device, 4, 4, uniqueTexel);
    ASSERT_NE(texture, nullptr);
    spriteStates(device, false, blend::One, blend::Zero);
    device->setTexture(0, texture);
    clearTo(kBackground);
    // Source (2, 1) to (7, 6) of a 4 x 4 texture at (50, 60).
    ASSERT_EQ(drawFan(spriteQuad(50, 60, 2, 1, 7, 6, 4, 4, 0xFFFFFFFFu)), plat::kOk);
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 5; ++i) {
            const uint32_t ti = std::min(2 + i, 3), tj = std::min(1 + j, 3);
            EXPECT_EQ(device->backBufferPixel(50 + i, 60 + j), uniqueTexel(ti, tj) & 0xFFFFFFu)
                << i << "," << j;
        }
    EXPECT_EQ(device->backBufferPixel(55, 60), kBackground);
    EXPECT_EQ(device->backBufferPixel(50, 65), kBackground);
}

TEST_F(DrawTest, ListStripAndFanOfOneQuadGiveTheSamePixels) {
    texture = makeTexture(device, 16, 16, uniqueTexel);
    ASSERT_NE(texture, nullptr);
    // A rotated, stretched, tinted quad, additive, so that a pixel drawn twice would show.
    const TransformedVertex a{40.3f, 30.7f, 0, 1, 0x80FFC0A0u, 0, 0};
    const TransformedVertex b{20.1f, 90.2f, 0, 1, 0x80FFC0A0u, 0, 1};
    const TransformedVertex c{95.6f, 110.4f, 0, 1, 0x80FFC0A0u, 1, 1};
    const TransformedVertex d{115.2f, 50.9f, 0, 1, 0x80FFC0A0u, 1, 0};
    const TransformedVertex fan[4] = {a, b, c, d};
    const TransformedVertex list[6] = {a, b, c, a, c, d};
    const TransformedVertex strip[4] = {b, a, c, d};  // triangles (b, a, c) and (c, a, d)
    struct Case {
        PrimitiveType type;
        const TransformedVertex* v;
    };
    const Case cases[] = {{PrimitiveType::TriangleFan, fan},
                          {PrimitiveType::TriangleList, list},
                          {PrimitiveType::TriangleStrip, strip}};
    std::vector<uint32_t> first;
    for (const Case& k : cases) {
        spriteStates(device, true, blend::One, blend::One);
        device->setTexture(0, texture);
        clearTo(kBackground);
        device->beginScene();
        ASSERT_EQ(device->drawPrimitiveUp(k.type, 2, k.v, sizeof(TransformedVertex)), plat::kOk);
        device->endScene();
        const std::vector<uint32_t> now = frame();
        if (first.empty()) {
            first = now;
            int changed = 0;
            for (uint32_t p : now) changed += p != kBackground;
            EXPECT_GT(changed, 3000);
        } else {
            EXPECT_EQ(now, first) << "primitive type " << static_cast<int>(k.type);
        }
    }
}

TEST_F(DrawTest, DrawingStaysInsideTheViewport) {
    spriteStates(device, false, blend::One, blend::Zero);
    device->setTextureStageState(0, TextureStageState::ColorOp, textureOp::SelectArg2);
    device->setTextureStageState(0, TextureStageState::AlphaOp, textureOp::SelectArg2);
    clearTo(kBackground);
    ASSERT_EQ(device->setViewport(Viewport{50, 40, 100, 70, 0, 1}), plat::kOk);
    ASSERT_EQ(drawFan(spriteQuad(0, 0, 0, 0, 320, 240, 320, 240, 0xFF00FF00u)), plat::kOk);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            const bool inside = x >= 50 && x < 150 && y >= 40 && y < 110;
            ASSERT_EQ(device->backBufferPixel(x, y), inside ? 0x0000FF00u : kBackground)
                << x << "," << y;
        }
}

TEST_F(DrawTest, BadDrawsAreRefusedAndDrawNothing) {
    spriteStates(device, false, blend::One, blend::Zero);
    clearTo(kBackground);
    const Quad q = spriteQuad(0, 0, 0, 0, 320, 240, 320, 240, 0xFFFFFFFFu);
    struct Case {
        const char* what;
        bool scene;
        PrimitiveType type;
        uint32_t count;
        const void* vertices;
        uint32_t stride;
        uint32_t fvf;
    };
    const uint32_t good = fvf::XyzRhw | fvf::Diffuse | fvf::Tex1;
    const uint32_t stride = sizeof(TransformedVertex);
    const auto fan = PrimitiveType::TriangleFan;
    const Case cases[] = {
        {"no scene", false, fan, 2, q.v, stride, good},
        {"null vertices", true, fan, 2, nullptr, stride, good},
        {"zero stride", true, fan, 2, q.v, 0, good},
        {"stride shorter than the format", true, fan, 2, q.v, 24, good},
        {"unknown primitive type", true, static_cast<PrimitiveType>(9), 2, q.v, stride, good},
        {"no primitives", true, fan, 0, q.v, stride, good},
        {"too many primitives", true, fan, Device::kMaxPrimitivesPerDraw + 1, q.v, stride, good},
        {"no position", true, fan, 2, q.v, stride, fvf::Diffuse | fvf::Tex1},
        {"two positions", true, fan, 2, q.v, stride, good | fvf::Xyz},
        {"unknown format flag", true, fan, 2, q.v, stride, good | 0x200},
    };
    for (const Case& c : cases) {
        device->setFvf(c.fvf);
        if (c.scene) {
            ASSERT_EQ(device->beginScene(), plat::kOk);
        }
        EXPECT_EQ(device->drawPrimitiveUp(c.type, c.count, c.vertices, c.stride), kInvalidCall)
            << c.what;
        if (c.scene) device->endScene();
        EXPECT_EQ(device->backBufferPixel(160, 120), kBackground) << c.what;
    }
}

// Vertices with wild, infinite or NaN values draw what they can and never crash or hang; the
// pixels outside the viewport stay untouched.
TEST_F(DrawTest, HostileVerticesAreSurvived) {
    texture = makeTexture(device, 8, 8, uniqueTexel);
    ASSERT_NE(texture, nullptr);
    const float specials[] = {0.0f,
                              -0.5f,
                              1e-30f,
                              1e30f,
                              -1e30f,
                              16383.9f,
                              -16384.1f,
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::max(),
                              std::numeric_limits<float>::denorm_min()};
    std::mt19937 rng(7);
    const auto value = [&](float scale) {
        if (rng() % 4 == 0) return specials[rng() % std::size(specials)];
        return std::uniform_real_distribution<float>(-scale, scale)(rng);
    };
    for (bool untransformed : {false, true}) {
        spriteStates(device, true, blend::One, blend::One);
        device->setTexture(0, texture);
        device->setSamplerState(0, SamplerState::AddressU, address::Wrap);
        device->setSamplerState(0, SamplerState::AddressV, address::Mirror);
        if (untransformed) {
            device->setFvf(fvf::Xyz | fvf::Diffuse | fvf::Tex1);
            Matrix projection;
            projection.m[2][3] = 1;  // w = z
            device->setTransform(TransformType::Projection, projection);
        }
        ASSERT_EQ(device->setViewport(Viewport{0, 0, 320, 240, 0, 1}), plat::kOk);
        clearTo(kBackground);
        ASSERT_EQ(device->setViewport(Viewport{20, 10, 200, 150, 0, 1}), plat::kOk);
        device->beginScene();
        for (int n = 0; n < 2000; ++n) {
            TransformedVertex v[6];
            for (TransformedVertex& t : v)
                t = {value(500), value(500), value(2), value(2), static_cast<uint32_t>(rng()),
                     value(4),   value(4)};
            const uint32_t stride = untransformed ? sizeof(Vertex) : sizeof(TransformedVertex);
            const auto type = static_cast<PrimitiveType>(rng() % 3);
            EXPECT_EQ(device->drawPrimitiveUp(type, type == PrimitiveType::TriangleList ? 2 : 4, v,
                                              stride),
                      plat::kOk);
        }
        device->endScene();
        int drawn = 0;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) {
                const bool inside = x >= 20 && x < 220 && y >= 10 && y < 160;
                const uint32_t p = device->backBufferPixel(x, y);
                if (!inside) {
                    ASSERT_EQ(p, kBackground) << x << "," << y;
                }
                drawn += p != kBackground;
            }
        EXPECT_GT(drawn, 1000);
    }
}

TEST_F(DrawTest, DrawingAllocatesNothing) {
    texture = makeTexture(device, 32, 32, uniqueTexel);
    ASSERT_NE(texture, nullptr);
    spriteStates(device, true, blend::SrcAlpha, blend::InvSrcAlpha);
    device->setTexture(0, texture);
    const Quad sprite = spriteQuad(10, 20, 0, 0, 16, 16, 32, 32, 0xFFFFFFFFu);
    const Quad stretched = spriteQuad(-7, 3, 1, 1, 2, 2, 32, 32, 0x80FFFFFFu, 330, 250);
    Quad turned = sprite;
    for (TransformedVertex& v : turned.v) std::swap(v.x, v.y);
    turned.v[0].x += 3.3f;
    const uint64_t before = counting_new::allocations();
    device->beginScene();
    const Quad* const quads[] = {&sprite, &stretched, &turned};
    for (const Quad* q : quads) {
        ASSERT_EQ(device->drawPrimitiveUp(PrimitiveType::TriangleFan, 2, q->v, sizeof q->v[0]),
                  plat::kOk);
        ASSERT_EQ(device->drawPrimitiveUp(PrimitiveType::TriangleStrip, 2, q->v, sizeof q->v[0]),
                  plat::kOk);
    }
    device->setFvf(fvf::Xyz | fvf::Diffuse | fvf::Tex1);
    device->setTransform(TransformType::World, pixelMatrix());
    ASSERT_EQ(device->drawPrimitiveUp(PrimitiveType::TriangleList, 1, sprite.v, sizeof(Vertex)),
              plat::kOk);
    device->endScene();
    EXPECT_EQ(counting_new::allocations(), before);
}

TEST_F(DrawTest, VerticesBehindTheEyeDropTheirTriangles) {
    spriteStates(device, false, blend::One, blend::Zero);
    device->setFvf(fvf::Xyz | fvf::Diffuse);
    clearTo(kBackground);
    Matrix projection;  // w = z
    projection.m[2][3] = 1;
    projection.m[3][3] = 0;
    device->setTransform(TransformType::Projection, projection);
    // Triangle 1 has all w = 1 and covers the left half; triangle 2 has a vertex at w = -1.
    const Vertex v[6] = {{-1, 1, 1, 0xFFFF0000u, 0, 0},  {0, 1, 1, 0xFFFF0000u, 0, 0},
                         {-1, -1, 1, 0xFFFF0000u, 0, 0}, {0.5f, 1, 1, 0xFFFF0000u, 0, 0},
                         {1, 1, -1, 0xFFFF0000u, 0, 0},  {1, -1, 1, 0xFFFF0000u, 0, 0}};
    device->beginScene();
    ASSERT_EQ(device->drawPrimitiveUp(PrimitiveType::TriangleList, 2, v, sizeof v[0]), plat::kOk);
    device->endScene();
    EXPECT_EQ(device->backBufferPixel(10, 10), 0x00FF0000u);
    int red = 0;
    for (uint32_t p : frame()) red += p == 0x00FF0000u;
    EXPECT_GT(red, 100 * 100);
    for (int y = 0; y < 240; ++y)
        for (int x = 170; x < 320; ++x) ASSERT_EQ(device->backBufferPixel(x, y), kBackground);
}

}  // namespace
