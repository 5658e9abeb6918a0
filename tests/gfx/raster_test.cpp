// The pixel pipeline on its own: the fill rule, the rectangle road against the general one,
// stage-0 modulate, blending formulas, the alpha test and 16-bit targets.

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "draw_helpers.h"
#include "gfx_fixture.h"
#include "platform/gfx/rasteriser.h"

using namespace plat::gfx;
using namespace drawtest;

namespace {

class RasterTest : public GfxTest {
  protected:
    void SetUp() override {
        GfxTest::SetUp();
        createDevice();
        setDefaultPipelineState(state, 320, 240);
        state.renderStates[static_cast<int>(RenderState::CullMode)] = cull::None;
        state.viewport = Viewport{0, 0, 4096, 4096};  // the whole of any target
    }
    void TearDown() override {
        for (Texture*& t : textures) plat::releaseRef(t);
        GfxTest::TearDown();
    }
    void set(RenderState s, uint32_t v) { state.renderStates[static_cast<int>(s)] = v; }
    void stage(TextureStageState s, uint32_t v) { state.stageStates[0][static_cast<int>(s)] = v; }
    void sampler(SamplerState s, uint32_t v) { state.samplerStates[0][static_cast<int>(s)] = v; }
    void modulate() {
        stage(TextureStageState::ColorOp, textureOp::Modulate);
        stage(TextureStageState::ColorArg1, textureArg::Texture);
        stage(TextureStageState::ColorArg2, textureArg::Diffuse);
        stage(TextureStageState::AlphaOp, textureOp::Modulate);
        stage(TextureStageState::AlphaArg1, textureArg::Texture);
        stage(TextureStageState::AlphaArg2, textureArg::Diffuse);
    }
    void blending(bool on, uint32_t src = blend::One, uint32_t dest = blend::Zero,
                  uint32_t op = blendOp::Add) {
        set(RenderState::AlphaBlendEnable, on ? 1 : 0);
        set(RenderState::SrcBlend, src);
        set(RenderState::DestBlend, dest);
        set(RenderState::BlendOp, op);
    }
    Texture* texture(uint32_t w, uint32_t h,
                     const std::function<uint32_t(uint32_t, uint32_t)>& texel) {
        Texture* t = makeTexture(device, w, h, texel);
        textures.push_back(t);
        return t;
    }
    // A rasteriser with the target format, each column cleared to dst(x).
    static Rasteriser target(Format format, uint32_t (*dst)(int)) {
        Rasteriser r;
        r.resize(256, 256, format);
        for (int x = 0; x < 256; ++x) r.clear(Rect{x, 0, x + 1, 256}, dst(x));
        return r;
    }
    // A 256 x 256 quad mapping texel row j of a 1 x 256 texture onto pixel row j.
    static void drawRows(Rasteriser& r, uint32_t colour) {
        const Quad q = spriteQuad(0, 0, 0, 0, 1, 256, 1, 256, colour, 256, 1);
        const auto sv = [](const TransformedVertex& v) {
            return ScreenVertex{v.x, v.y, v.z, v.rhw, v.diffuse, v.u, v.v};
        };
        r.drawQuad(sv(q.v[0]), sv(q.v[1]), sv(q.v[2]), sv(q.v[3]));
    }

    PipelineState state;
    std::vector<Texture*> textures;
};

uint32_t ch(uint32_t c, int shift) {
    return (c >> shift) & 0xFF;
}
// The source texel of row j and the destination of column x: every channel differs.
uint32_t rowTexel(uint32_t j) {
    return 0xFF000000u | j << 16 | (255 - j) << 8 | j / 2;
}
uint32_t columnColour(int x) {
    return static_cast<uint32_t>(x) << 16 | static_cast<uint32_t>(x / 3) << 8 |
           static_cast<uint32_t>(255 - x);
}
long nearest(double v) {
    return std::lround(std::floor(v + 0.5));
}

TEST_F(RasterTest, SharedEdgesAreCoveredOnce) {
    // Fans of triangles drawn one by one with additive blending: each pixel whose centre is
    // clearly inside gets exactly 1, clearly outside 0, and none ever 2.
    struct Case {
        const char* what;
        std::vector<std::pair<float, float>> fan;  // first point is the hub
        int exactCount;                            // -1: not checked
    };
    const Case cases[] = {
        {"rectangle on pixel centres", {{10, 10}, {10, 30}, {40, 30}, {40, 10}}, 30 * 20},
        {"rectangle on pixel edges",
         {{9.5f, 9.5f}, {9.5f, 29.5f}, {39.5f, 29.5f}, {39.5f, 9.5f}},
         30 * 20},
        {"rotated quad", {{60.2f, 5.7f}, {45.1f, 50.3f}, {90.8f, 70.1f}, {105.4f, 20.9f}}, -1},
        {"octagon on pixel centres",
         {{160, 120},
          {200, 120},
          {188, 148},
          {160, 160},
          {132, 148},
          {120, 120},
          {132, 92},
          {160, 80},
          {188, 92},
          {200, 120}},
         -1},
        {"thin fan", {{250, 200}, {300, 201}, {300, 202}, {299, 230}, {251, 231}}, -1},
    };
    set(RenderState::FillMode, fill::Solid);
    stage(TextureStageState::ColorOp, textureOp::SelectArg2);
    stage(TextureStageState::ColorArg2, textureArg::Diffuse);
    blending(true, blend::One, blend::One);
    for (const Case& c : cases) {
        Rasteriser r;
        r.resize(320, 240, Format::X8R8G8B8);
        r.prepare(state);
        const auto v = [](std::pair<float, float> p) {
            return ScreenVertex{p.first, p.second, 0, 1, 0xFF000001u, 0, 0};
        };
        for (size_t i = 1; i + 1 < c.fan.size(); ++i)
            r.drawTriangle(v(c.fan[0]), v(c.fan[i]), v(c.fan[i + 1]));
        // The outline: the hub is a corner unless the fan closes on its first rim point.
        std::vector<std::pair<float, float>> outline(c.fan.begin(), c.fan.end());
        if (c.fan[1] == c.fan.back()) {
            outline.erase(outline.begin());
            outline.pop_back();
        }
        // Inside (1), outside (-1) or within `margin` of an edge (0); the outline is convex.
        const auto inside = [&](double x, double y, double margin) {
            int sign = 0;
            for (size_t i = 0; i < outline.size(); ++i) {
                const auto& a = outline[i];
                const auto& b = outline[(i + 1) % outline.size()];
                const double ex = b.first - a.first, ey = b.second - a.second;
                const double d = (ex * (y - a.second) - ey * (x - a.first)) / std::hypot(ex, ey);
                if (std::fabs(d) < margin) return 0;
                const int s = d > 0 ? 1 : -1;
                if (sign != 0 && s != sign) return -1;
                sign = s;
            }
            return 1;
        };
        int covered = 0;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) {
                const uint32_t p = r.pixel(x, y);
                ASSERT_LE(p, 1u) << c.what << " pixel " << x << "," << y;
                covered += static_cast<int>(p);
                const int in = inside(x, y, 1e-3);
                if (in != 0) {
                    EXPECT_EQ(p, in > 0 ? 1u : 0u) << c.what << " " << x << "," << y;
                }
            }
        if (c.exactCount >= 0) {
            EXPECT_EQ(covered, c.exactCount) << c.what;
        }
        EXPECT_GT(covered, 0) << c.what;
    }
    // The top-left rule on a rectangle with corners on pixel centres: left and top edges in,
    // right and bottom out.
    Rasteriser r;
    r.resize(320, 240, Format::X8R8G8B8);
    r.prepare(state);
    const ScreenVertex a{10, 10, 0, 1, 0xFF000001u, 0, 0}, b{10, 30, 0, 1, 0xFF000001u, 0, 0},
        cc{40, 30, 0, 1, 0xFF000001u, 0, 0}, d{40, 10, 0, 1, 0xFF000001u, 0, 0};
    r.drawTriangle(a, b, cc);
    r.drawTriangle(a, cc, d);
    EXPECT_EQ(r.pixel(10, 10), 1u);
    EXPECT_EQ(r.pixel(39, 29), 1u);
    EXPECT_EQ(r.pixel(40, 20), 0u);
    EXPECT_EQ(r.pixel(20, 30), 0u);
}

TEST_F(RasterTest, ModulateMultipliesEachChannel) {
    Texture* t = texture(
        1, 256, [](uint32_t, uint32_t j) { return (rowTexel(j) & 0x00FFFFFFu) | (255 - j) << 24; });
    state.textures[0] = t;
    modulate();
    blending(false);
    const uint32_t diffuses[] = {0xFFFFFFFFu, 0xFF808080u, 0xFF0000FFu, 0x80C0A060u, 0x00000000u};
    for (uint32_t diffuse : diffuses) {
        Rasteriser r = target(Format::X8R8G8B8, columnColour);
        r.prepare(state);
        drawRows(r, diffuse);
        for (uint32_t j = 0; j < 256; ++j) {
            const uint32_t texel = rowTexel(j);
            uint32_t expected = 0;
            for (int shift = 0; shift < 24; shift += 8)
                expected |=
                    static_cast<uint32_t>(nearest(ch(texel, shift) * ch(diffuse, shift) / 255.0))
                    << shift;
            ASSERT_EQ(r.pixel(17, static_cast<int>(j)), expected)
                << std::hex << diffuse << " row " << j;
        }
    }
}

TEST_F(RasterTest, BlendingFollowsItsFormula) {
    Texture* t = texture(1, 256, [](uint32_t, uint32_t j) { return rowTexel(j); });
    state.textures[0] = t;
    modulate();
    struct Case {
        const char* what;
        uint32_t src, dest, diffuse;
        Format format;
    };
    const Case cases[] = {
        {"alpha 0x80", blend::SrcAlpha, blend::InvSrcAlpha, 0x80FFFFFFu, Format::X8R8G8B8},
        {"alpha 0x64", blend::SrcAlpha, blend::InvSrcAlpha, 0x64FFFFFFu, Format::X8R8G8B8},
        {"alpha 0", blend::SrcAlpha, blend::InvSrcAlpha, 0x00FFFFFFu, Format::X8R8G8B8},
        {"additive", blend::One, blend::One, 0xFFFFFFFFu, Format::X8R8G8B8},
        {"additive, alpha 0x80 does not scale", blend::One, blend::One, 0x80FFFFFFu,
         Format::X8R8G8B8},
        {"additive, tinted", blend::One, blend::One, 0xFF40C0FFu, Format::X8R8G8B8},
        {"alpha 0x64 on 16 bits", blend::SrcAlpha, blend::InvSrcAlpha, 0x64FFFFFFu, Format::R5G6B5},
        {"additive on 16 bits", blend::One, blend::One, 0xFFFFFFFFu, Format::R5G6B5},
        {"dest colour x zero", blend::DestColor, blend::Zero, 0xFFFFFFFFu, Format::X8R8G8B8},
    };
    for (const Case& c : cases) {
        blending(true, c.src, c.dest);
        Rasteriser r = target(c.format, columnColour);
        r.prepare(state);
        drawRows(r, c.diffuse);
        const bool r565 = c.format == Format::R5G6B5;
        const int bits[3] = {5, 6, 5};  // blue, green, red
        for (int j = 0; j < 256; ++j)
            for (int x = 0; x < 256; ++x) {
                const uint32_t texel = rowTexel(static_cast<uint32_t>(j));
                const long a = nearest(255.0 * ch(c.diffuse, 24) / 255.0);
                uint32_t expected = 0;
                for (int k = 0; k < 3; ++k) {
                    const int shift = 8 * k;
                    // 16-bit channels are stored to the nearest step and read back by
                    // repeating their top bits.
                    const auto store = [&](long v) -> long {
                        if (!r565) return v;
                        const long max = (1L << bits[k]) - 1;
                        const long q = nearest(v * max / 255.0);
                        return bits[k] == 5 ? (q << 3 | q >> 2) : (q << 2 | q >> 4);
                    };
                    const long s = nearest(ch(texel, shift) * ch(c.diffuse, shift) / 255.0);
                    const long d = store(ch(columnColour(x), shift));
                    long v;
                    if (c.src == blend::SrcAlpha)
                        v = nearest((s * a + d * (255 - a)) / 255.0);
                    else if (c.src == blend::One)
                        v = std::min(255L, s + d);
                    else
                        v = nearest(s * d / 255.0);
                    expected |= static_cast<uint32_t>(store(v)) << shift;
                }
                ASSERT_EQ(r.pixel(x, j), expected) << c.what << " at " << x << "," << j;
            }
    }
}

TEST_F(RasterTest, StageOperationsWriteMaskAndCulling) {
    constexpr uint32_t kTexel = 0x80C04020u, kDiffuse = 0x40608090u, kFactor = 0xFF0A0B0Cu;
    constexpr uint32_t kDst = 0x00112233u;
    Texture* t = texture(1, 1, [](uint32_t, uint32_t) { return kTexel; });
    struct Case {
        const char* what;
        uint32_t colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2;
        uint32_t mask, cull;
        bool textured;
        uint32_t expected;  // 0x00RRGGBB after alpha blending over kDst
    };
    // Alpha blending over kDst shows the colour and the alpha of the stage output.
    const auto over = [](uint32_t argb) {
        const uint32_t a = argb >> 24;
        uint32_t out = 0;
        for (int shift = 0; shift < 24; shift += 8)
            out |= static_cast<uint32_t>(
                       nearest((ch(argb, shift) * a + ch(kDst, shift) * (255.0 - a)) / 255.0))
                   << shift;
        return out;
    };
    const auto add = [](uint32_t a, uint32_t b) {
        uint32_t out = 0;
        for (int shift = 0; shift < 32; shift += 8)
            out |= std::min(255u, ch(a, shift) + ch(b, shift)) << shift;
        return out;
    };
    using namespace textureOp;
    constexpr uint32_t Tex = textureArg::Texture, Diffuse = textureArg::Diffuse,
                       Current = textureArg::Current, Factor = textureArg::Factor;
    const uint32_t all = colorWrite::All, none = cull::None;
    const Case cases[] = {
        {"select texture", SelectArg1, Tex, Diffuse, SelectArg1, Tex, Diffuse, all, none, true,
         over(kTexel)},
        {"select diffuse", SelectArg2, Tex, Diffuse, SelectArg2, Tex, Diffuse, all, none, true,
         over(kDiffuse)},
        {"texture colour, diffuse alpha", SelectArg1, Tex, Diffuse, SelectArg2, Tex, Current, all,
         none, true, over((kDiffuse & 0xFF000000u) | (kTexel & 0xFFFFFFu))},
        {"disabled stage passes the diffuse colour", Disable, Tex, Diffuse, SelectArg1, Tex,
         Diffuse, all, none, true, over(kDiffuse)},
        {"texture factor", SelectArg1, Factor, Diffuse, SelectArg1, Factor, Diffuse, all, none,
         true, over(kFactor)},
        {"add saturates", Add, Tex, Diffuse, Add, Tex, Diffuse, all, none, true,
         over(add(kTexel, kDiffuse))},
        {"no texture reads opaque white", SelectArg1, Tex, Diffuse, SelectArg1, Tex, Diffuse, all,
         none, false, 0xFFFFFFu},
        {"red and blue only", SelectArg1, Tex, Diffuse, SelectArg1, Tex, Diffuse,
         colorWrite::Red | colorWrite::Blue, none, true,
         (over(kTexel) & 0xFF00FFu) | (kDst & 0x00FF00u)},
        {"nothing written", SelectArg1, Tex, Diffuse, SelectArg1, Tex, Diffuse, 0, none, true,
         kDst},
        // The quad below runs counter-clockwise on the screen.
        {"clockwise culled", SelectArg1, Tex, Diffuse, SelectArg1, Tex, Diffuse, all,
         cull::Clockwise, true, over(kTexel)},
        {"counter-clockwise culled", SelectArg1, Tex, Diffuse, SelectArg1, Tex, Diffuse, all,
         cull::CounterClockwise, true, kDst},
    };
    blending(true, blend::SrcAlpha, blend::InvSrcAlpha);
    set(RenderState::TextureFactor, kFactor);
    for (const Case& c : cases) {
        state.textures[0] = c.textured ? t : nullptr;
        stage(TextureStageState::ColorOp, c.colorOp);
        stage(TextureStageState::ColorArg1, c.colorArg1);
        stage(TextureStageState::ColorArg2, c.colorArg2);
        stage(TextureStageState::AlphaOp, c.alphaOp);
        stage(TextureStageState::AlphaArg1, c.alphaArg1);
        stage(TextureStageState::AlphaArg2, c.alphaArg2);
        set(RenderState::ColorWriteEnable, c.mask);
        set(RenderState::CullMode, c.cull);
        Rasteriser r = target(Format::X8R8G8B8, [](int) { return kDst; });
        r.prepare(state);
        const ScreenVertex a{9.5f, 9.5f, 0, 1, kDiffuse, 0, 0},
            b{9.5f, 19.5f, 0, 1, kDiffuse, 0, 1}, d{29.5f, 19.5f, 0, 1, kDiffuse, 1, 1},
            e{29.5f, 9.5f, 0, 1, kDiffuse, 1, 0};
        r.drawTriangle(a, b, d);
        r.drawTriangle(a, d, e);
        EXPECT_EQ(r.pixel(10, 10), c.expected) << c.what;
        EXPECT_EQ(r.pixel(29, 19), c.expected) << c.what;
        EXPECT_EQ(r.pixel(30, 19), kDst) << c.what;
    }
}

TEST_F(RasterTest, AlphaTestDropsFragments) {
    // Texel alpha = row; the colour write shows which rows passed.
    Texture* t = texture(1, 256, [](uint32_t, uint32_t j) { return j << 24 | 0x00FFFFFFu; });
    state.textures[0] = t;
    modulate();
    blending(false);
    set(RenderState::AlphaTestEnable, 1);
    struct Case {
        uint32_t func, ref;
        bool (*passes)(uint32_t alpha, uint32_t ref);
    };
    const Case cases[] = {
        {cmp::GreaterEqual, 0x7F, [](uint32_t a, uint32_t r) { return a >= r; }},
        {cmp::Greater, 0x7F, [](uint32_t a, uint32_t r) { return a > r; }},
        {cmp::Less, 0x10, [](uint32_t a, uint32_t r) { return a < r; }},
        {cmp::LessEqual, 0x10, [](uint32_t a, uint32_t r) { return a <= r; }},
        {cmp::Equal, 0xC8, [](uint32_t a, uint32_t r) { return a == r; }},
        {cmp::NotEqual, 0xC8, [](uint32_t a, uint32_t r) { return a != r; }},
        {cmp::Never, 0, [](uint32_t, uint32_t) { return false; }},
        {cmp::Always, 0, [](uint32_t, uint32_t) { return true; }},
    };
    for (const Case& c : cases) {
        set(RenderState::AlphaFunc, c.func);
        set(RenderState::AlphaRef, c.ref);
        Rasteriser r = target(Format::X8R8G8B8, [](int) { return 0u; });
        r.prepare(state);
        drawRows(r, 0xFFFFFFFFu);
        for (uint32_t j = 0; j < 256; ++j)
            ASSERT_EQ(r.pixel(100, static_cast<int>(j)), c.passes(j, c.ref) ? 0xFFFFFFu : 0u)
                << "function " << c.func << " alpha " << j;
    }
}

TEST_F(RasterTest, BilinearWeightsFollowTheDistanceToTexelCentres) {
    // A 2 x 2 texture stretched over 16 x 16 pixels (and over 12 x 20): pixel centre x lies at
    // texel position (x + 0.5) * 2 / 16 - 0.5, clamped at the edges; weights are that position
    // to the nearest 1/256 texel.
    const uint32_t texels[4] = {0xFF102030u, 0x80F0E0D0u, 0x00405060u, 0xC0A0B0C0u};
    Texture* t = texture(2, 2, [&](uint32_t i, uint32_t j) { return texels[j * 2 + i]; });
    state.textures[0] = t;
    stage(TextureStageState::ColorOp, textureOp::SelectArg1);
    stage(TextureStageState::ColorArg1, textureArg::Texture);
    stage(TextureStageState::AlphaOp, textureOp::SelectArg1);
    stage(TextureStageState::AlphaArg1, textureArg::Texture);
    sampler(SamplerState::MagFilter, filter::Linear);
    sampler(SamplerState::AddressU, address::Clamp);
    sampler(SamplerState::AddressV, address::Clamp);
    blending(false);
    struct Case {
        int w, h;
    };
    for (const Case c : {Case{16, 16}, Case{12, 20}}) {
        Rasteriser r = target(Format::X8R8G8B8, [](int) { return 0u; });
        r.prepare(state);
        const ScreenVertex a{-0.5f, -0.5f, 0, 1, 0xFFFFFFFFu, 0, 0};
        const ScreenVertex b{-0.5f, c.h - 0.5f, 0, 1, 0xFFFFFFFFu, 0, 1};
        const ScreenVertex d{c.w - 0.5f, c.h - 0.5f, 0, 1, 0xFFFFFFFFu, 1, 1};
        const ScreenVertex e{c.w - 0.5f, -0.5f, 0, 1, 0xFFFFFFFFu, 1, 0};
        r.drawQuad(a, b, d, e);
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) {
                const auto weight = [](double p) {
                    return std::floor(std::clamp(p, 0.0, 1.0) * 256 + 0.5) / 256;
                };
                const double sx = weight((x + 0.5) * 2 / c.w - 0.5);
                const double sy = weight((y + 0.5) * 2 / c.h - 0.5);
                uint32_t expected = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    const double top = ch(texels[0], shift) * (1 - sx) + ch(texels[1], shift) * sx;
                    const double bottom =
                        ch(texels[2], shift) * (1 - sx) + ch(texels[3], shift) * sx;
                    expected |= static_cast<uint32_t>(nearest(top * (1 - sy) + bottom * sy))
                                << shift;
                }
                ASSERT_EQ(r.pixel(x, y), expected) << c.w << "x" << c.h << " at " << x << "," << y;
            }
    }
}

// Random rectangles drawn by the rectangle road and as two triangles give the same pixels.
TEST_F(RasterTest, RectangleRoadMatchesTheTriangles) {
    std::mt19937 rng(20261211);
    const auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng);
    };
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
    const uint32_t sizes[][2] = {{1, 1}, {4, 4}, {16, 8}, {32, 32}, {3, 5}};
    std::vector<Texture*> pool;
    for (const auto& s : sizes)
        pool.push_back(texture(s[0], s[1], [&](uint32_t, uint32_t) {
            const uint32_t v = rng();
            return (v & 3) == 0 ? 0u : v;  // some transparent black
        }));
    const uint32_t blends[][3] = {{blend::One, blend::Zero, blendOp::Add},
                                  {blend::One, blend::One, blendOp::Add},
                                  {blend::SrcAlpha, blend::InvSrcAlpha, blendOp::Add},
                                  {blend::DestColor, blend::SrcColor, blendOp::Subtract},
                                  {blend::InvDestColor, blend::One, blendOp::Max}};
    const uint32_t addresses[] = {address::Clamp, address::Wrap, address::Mirror, address::Border};
    for (int n = 0; n < 600; ++n) {
        const Format format = pick(3) == 0 ? Format::R5G6B5 : Format::X8R8G8B8;
        Rasteriser fast, general;
        fast.resize(160, 120, format);
        general.resize(160, 120, format);
        general.setFastPaths(false);
        for (int by = 0; by < 120; by += 8)
            for (int bx = 0; bx < 160; bx += 8) {
                const uint32_t c = rng();
                fast.clear(Rect{bx, by, bx + 8, by + 8}, c);
                general.clear(Rect{bx, by, bx + 8, by + 8}, c);
            }
        setDefaultPipelineState(state, 160, 120);
        modulate();
        Texture* t = pool[pick(static_cast<int>(pool.size()))];
        state.textures[0] = pick(8) == 0 ? nullptr : t;
        sampler(SamplerState::MagFilter, pick(4) ? filter::Linear : filter::Point);
        sampler(SamplerState::MinFilter, pick(2) ? filter::Linear : filter::Point);
        sampler(SamplerState::AddressU, addresses[pick(4)]);
        sampler(SamplerState::AddressV, addresses[pick(4)]);
        sampler(SamplerState::BorderColor, rng());
        const auto& b = blends[pick(5)];
        blending(pick(5) != 0, b[0], b[1], b[2]);
        set(RenderState::AlphaTestEnable, pick(3) == 0);
        set(RenderState::AlphaFunc, cmp::Greater);
        set(RenderState::AlphaRef, rng() & 0xFF);
        set(RenderState::CullMode, pick(3) == 0 ? cull::Clockwise : cull::None);
        if (pick(4) == 0)
            state.viewport =
                Viewport{static_cast<uint32_t>(pick(40)), static_cast<uint32_t>(pick(30)), 100, 80};
        // The rectangle: whole pixels (as sprites are placed), 1/256 steps or anything.
        const int kind = pick(3);
        const auto coord = [&](double lo, double hi) {
            const double v = uniform(lo, hi);
            if (kind == 0) return std::floor(v) - 0.5;
            if (kind == 1) return std::floor(v * 256) / 256;
            return v;
        };
        const double x0 = coord(-30, 170), y0 = coord(-30, 130);
        const double w = pick(6) == 0 ? std::floor(uniform(0, 3)) : coord(0, 120);
        const double h = pick(6) == 0 ? std::floor(uniform(0, 3)) : coord(0, 90);
        const uint32_t tw = state.textures[0] ? state.textures[0]->width() : 1;
        const uint32_t th = state.textures[0] ? state.textures[0]->height() : 1;
        // Texture coordinates: one texel per pixel (a sprite) or anything.
        double u0, u1, v0, v1;
        if (pick(2) == 0) {
            u0 = pick(static_cast<int>(tw)) / static_cast<double>(tw);
            v0 = pick(static_cast<int>(th)) / static_cast<double>(th);
            u1 = u0 + w / tw;
            v1 = v0 + h / th;
        } else {
            u0 = uniform(-1, 2), u1 = uniform(-1, 2), v0 = uniform(-1, 2), v1 = uniform(-1, 2);
        }
        const uint32_t colour = pick(3) == 0 ? 0xFFFFFFFFu : rng();
        const auto fx = [](double v) { return static_cast<float>(v); };
        ScreenVertex corners[4] = {{fx(x0), fx(y0), 0, 1, colour, fx(u0), fx(v0)},
                                   {fx(x0), fx(y0 + h), 0, 1, colour, fx(u0), fx(v1)},
                                   {fx(x0 + w), fx(y0 + h), 0, 1, colour, fx(u1), fx(v1)},
                                   {fx(x0 + w), fx(y0), 0, 1, colour, fx(u1), fx(v0)}};
        // Any starting corner, either direction around.
        const int start = pick(4), dir = pick(2) ? 1 : 3;
        ScreenVertex q[4];
        for (int i = 0; i < 4; ++i) q[i] = corners[(start + i * dir) % 4];
        fast.prepare(state);
        general.prepare(state);
        fast.drawQuad(q[0], q[1], q[2], q[3]);
        general.drawQuad(q[0], q[1], q[2], q[3]);
        ASSERT_EQ(fast.rectanglesDrawn(), 1u) << "case " << n;
        ASSERT_EQ(general.rectanglesDrawn(), 0u);
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x)
                ASSERT_EQ(fast.pixel(x, y), general.pixel(x, y))
                    << "case " << n << " pixel " << x << "," << y << " rect " << x0 << "," << y0
                    << " " << w << "x" << h;
    }
}

}  // namespace
