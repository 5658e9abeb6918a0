// The software device drawing what the game draws: a full-screen additive quad, rotated
// sprites and a frame of mixed sprites, each through drawPrimitiveUp as the sprite batch
// calls it.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>

#include "platform/gfx/device.h"
#include "platform/gfx/graphics_system.h"
#include "platform/headless/headless_host.h"
#include "platform/window.h"

using namespace plat::gfx;

namespace {

// A windowed 320 x 240 device on the headless host with a 256 x 256 sprite sheet whose black
// texels are transparent.
class Scene {
  public:
    explicit Scene(Format backBuffer = Format::X8R8G8B8) {
        plat::setHost(&host_);
        plat::resetWindowing();
        host_.config().printMessageBoxes = false;
        system_ = createGraphicsSystem();
        PresentParams p;
        p.backBufferWidth = 320;
        p.backBufferHeight = 240;
        p.backBufferFormat = backBuffer;
        p.backBufferCount = 1;
        p.windowed = true;
        system_->createDevice(DeviceType::Hardware, nullptr, behaviour::MixedVertexProcessing, p,
                              &device_);
        device_->createTexture(256, 256, 1, 0, Format::A8R8G8B8, Pool::Managed, &sheet_);
        LockedRect r;
        sheet_->lockRect(0, r, nullptr, 0);
        for (uint32_t y = 0; y < 256; ++y)
            for (uint32_t x = 0; x < 256; ++x) {
                const uint32_t rgb = (x * 7 + y * 3) % 5 == 0 ? 0 : (x << 16 | y << 8 | (x ^ y));
                const uint32_t v = rgb ? 0xFF000000u | rgb : 0;
                std::memcpy(static_cast<uint8_t*>(r.bits) + y * r.pitch + x * 4, &v, 4);
            }
        sheet_->unlockRect(0);
        device_->setFvf(fvf::XyzRhw | fvf::Diffuse | fvf::Tex1);
        device_->setRenderState(RenderState::CullMode, cull::None);
        device_->setTextureStageState(0, TextureStageState::ColorArg2, textureArg::Diffuse);
        device_->setTextureStageState(0, TextureStageState::AlphaOp, textureOp::Modulate);
        device_->setTextureStageState(0, TextureStageState::AlphaArg2, textureArg::Diffuse);
        device_->setSamplerState(0, SamplerState::MagFilter, filter::Linear);
        device_->setSamplerState(0, SamplerState::MinFilter, filter::Linear);
        device_->setSamplerState(0, SamplerState::AddressU, address::Clamp);
        device_->setSamplerState(0, SamplerState::AddressV, address::Clamp);
        device_->setTexture(0, sheet_);
    }
    ~Scene() {
        plat::releaseRef(sheet_);
        plat::releaseRef(device_);
        plat::releaseRef(system_);
        plat::resetWindowing();
        plat::setHost(nullptr);
    }

    void additive(bool on) {
        device_->setRenderState(RenderState::AlphaBlendEnable, 1);
        device_->setRenderState(RenderState::SrcBlend, on ? blend::One : blend::SrcAlpha);
        device_->setRenderState(RenderState::DestBlend, on ? blend::One : blend::InvSrcAlpha);
    }

    // One sprite as the batch draws it: source rectangle, scaling about its top-left corner,
    // rotation about a centre (scaled units), translation, colour.
    void sprite(int left, int top, int right, int bottom, float sx, float sy, float cx, float cy,
                float angle, float tx, float ty, uint32_t colour) {
        const float w = static_cast<float>(right - left), h = static_cast<float>(bottom - top);
        const float corners[4][2] = {{0, 0}, {0, h}, {w, h}, {w, 0}};
        const float uv[4][2] = {{left / 256.0f, top / 256.0f},
                                {left / 256.0f, bottom / 256.0f},
                                {right / 256.0f, bottom / 256.0f},
                                {right / 256.0f, top / 256.0f}};
        const float c = std::cos(angle), s = std::sin(angle);
        TransformedVertex v[4];
        for (int i = 0; i < 4; ++i) {
            float x = corners[i][0] * sx, y = corners[i][1] * sy;
            if (angle != 0.0f) {
                const float rx = x - cx, ry = y - cy;
                x = rx * c + ry * s + cx;
                y = -rx * s + ry * c + cy;
            }
            v[i] = {x + tx - 0.5f, y + ty - 0.5f, 0, 1, colour, uv[i][0], uv[i][1]};
        }
        device_->drawPrimitiveUp(PrimitiveType::TriangleFan, 2, v, sizeof v[0]);
    }

    // A rectangle made by stretching the one white texel at (1, 129).
    void fill(int x, int y, int w, int h, uint32_t colour) {
        sprite(1, 129, 2, 130, static_cast<float>(w), static_cast<float>(h), 0, 0, 0,
               static_cast<float>(x), static_cast<float>(y), colour);
    }

    void begin() {
        device_->clear(0, nullptr, clearFlags::Target, 0, 1.0f, 0);
        device_->beginScene();
    }
    void end() { device_->endScene(); }
    uint32_t pixel(int x, int y) const { return device_->backBufferPixel(x, y); }

  private:
    plat::HeadlessHost host_;
    GraphicsSystem* system_ = nullptr;
    Device* device_ = nullptr;
    Texture* sheet_ = nullptr;
};

// A 256 x 256 picture stretched over the whole screen, added (bilinear, rectangle road).
void FullScreenAdditiveQuad(benchmark::State& st) {
    Scene scene;
    scene.additive(true);
    for (auto _ : st) {
        scene.begin();
        scene.sprite(0, 0, 256, 256, 320 / 256.0f, 240 / 256.0f, 0, 0, 0, 0, 0, 0xFFFFFFFFu);
        scene.end();
        benchmark::DoNotOptimize(scene.pixel(160, 120));
    }
    st.SetItemsProcessed(st.iterations() * 320 * 240);
}
BENCHMARK(FullScreenAdditiveQuad)->Unit(benchmark::kMicrosecond);

// One texel stretched over the whole screen with alpha 0x80: the fade overlay.
void FullScreenFade(benchmark::State& st) {
    Scene scene;
    scene.additive(false);
    for (auto _ : st) {
        scene.begin();
        scene.sprite(1, 129, 2, 130, 320, 240, 0, 0, 0, 0, 0, 0x80000000u);
        scene.end();
        benchmark::DoNotOptimize(scene.pixel(160, 120));
    }
    st.SetItemsProcessed(st.iterations() * 320 * 240);
}
BENCHMARK(FullScreenFade)->Unit(benchmark::kMicrosecond);

// 200 sprites of 30 x 30 texels, each turned by a different angle, alpha blended.
void RotatedSprites(benchmark::State& st) {
    Scene scene;
    scene.additive(false);
    for (auto _ : st) {
        scene.begin();
        for (int i = 0; i < 200; ++i)
            scene.sprite(30 * (i % 8), 30 * (i / 8 % 8), 30 * (i % 8) + 30, 30 * (i / 8 % 8) + 30,
                         1, 1, 15, 15, 0.1f + 0.031f * i, static_cast<float>(i * 37 % 300),
                         static_cast<float>(i * 53 % 220), 0xFFFFFFFFu);
        scene.end();
        benchmark::DoNotOptimize(scene.pixel(160, 120));
    }
    st.SetItemsProcessed(st.iterations() * 200);
}
BENCHMARK(RotatedSprites)->Unit(benchmark::kMicrosecond);

// About what a busy play frame draws: scenery tiles, fish turned and scaled, torpedoes,
// additive bubbles and explosions, the gauge, and a fade over it all (151 sprites).
void GameFrame(benchmark::State& st, Format backBuffer) {
    Scene scene(backBuffer);
    for (auto _ : st) {
        scene.begin();
        scene.additive(false);
        for (int i = 0; i < 60; ++i)  // scenery: whole-pixel tiles, one texel per pixel
            scene.sprite(32 * (i % 8), 128, 32 * (i % 8) + 32, 160, 1, 1, 0, 0, 0,
                         static_cast<float>(32 * (i % 10) - 7), static_cast<float>(32 * (i / 10)),
                         0xFFFFFFFFu);
        for (int i = 0; i < 40; ++i) {  // piranhas: scaled, mirrored, turned, fading
            const float scale = 0.5f + 0.04f * i;
            scene.sprite(0, 0, 32, 24, i % 2 ? scale : -scale, scale, 16 * scale, 12 * scale,
                         0.05f * (i % 7) - 0.15f, static_cast<float>(i * 41 % 300),
                         static_cast<float>(i * 29 % 200), (0xFF - 3 * i) << 24 | 0xFFFFFFu);
        }
        for (int i = 0; i < 10; ++i)  // torpedoes
            scene.sprite(64, 0, 80, 4, 1, 1, 8, 2, 0.2f * i, static_cast<float>(20 + 28 * i),
                         static_cast<float>(60 + 9 * i), 0xFFFFFFFFu);
        for (int i = 0; i < 5; ++i)  // energy gauge: stretched single texels
            scene.fill(8 + 2 * i, 8, 100 - 15 * i, 6, 0xC0FF0000u | (40u * i) << 8);
        scene.additive(true);
        for (int i = 0; i < 20; ++i)  // bubbles
            scene.sprite(96, 0, 104, 8, 1, 1, 0, 0, 0, static_cast<float>(i * 71 % 310),
                         static_cast<float>(i * 43 % 230), 0xFFFFFFFFu);
        for (int i = 0; i < 15; ++i) {  // explosions: growing, additive
            const float scale = 1.0f + 0.1f * i;
            scene.sprite(128, 0, 160, 32, scale, scale, 0, 0, 0, static_cast<float>(i * 59 % 290),
                         static_cast<float>(i * 37 % 210), 0xFFFFFFFFu);
        }
        scene.additive(false);
        scene.fill(0, 0, 320, 240, 0x40000000u);  // fade
        scene.end();
        benchmark::DoNotOptimize(scene.pixel(160, 120));
    }
    st.SetItemsProcessed(st.iterations() * 151);
}
BENCHMARK_CAPTURE(GameFrame, x8r8g8b8, Format::X8R8G8B8)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(GameFrame, r5g6b5, Format::R5G6B5)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
